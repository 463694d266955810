// An in-memory reminder tree with the tree view's expand/collapse behaviour and events, used to
// print the tree (--dump, --json) and by tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/ReminderTree.h"

namespace vandrel {

class TReminderOutline : public IReminderTree {
 public:
  struct TNode {
    std::string Text;
    int ImageIndex = 0;
    int StateIndex = -1;
    int SelectedIndex = 0;
    bool Expanded = false;
    Node Parent = kTopLevel;
    std::vector<Node> Children;
  };

  Node AddChild(Node parent, const std::string& text) override;
  void SetImageIndexes(Node node, int image, int state, int selected) override;
  void Expand(Node node) override;
  void Collapse(Node node);
  void Clear();

  const TNode& At(Node node) const { return m_nodes.at(size_t(node)); }
  TNode& At(Node node) { return m_nodes.at(size_t(node)); }
  const std::vector<Node>& TopLevel() const { return m_topLevel; }
  size_t Count() const { return m_nodes.size(); }

  // One node per line, two blanks of indent per level, "[-] " expanded, "[+] " collapsed with
  // children, four blanks without children.
  std::string Dump() const;
  // {"text":..,"expanded":..,"image":..,"selected":..,"state":..,"children":[..]} per node.
  std::string ToJson() const;

  std::function<void(Node)> OnExpanded;
  std::function<void(Node)> OnCollapsed;

 private:
  std::vector<TNode> m_nodes;
  std::vector<Node> m_topLevel;
};

// JSON string literal of UTF-8 text.
std::string JsonQuote(const std::string& text);

}  // namespace vandrel
