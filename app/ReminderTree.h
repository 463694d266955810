// The tree the reminder builder fills: sections, categories and lines, each a node with a text
// and image indexes. The main window's tree view implements it; so does TReminderOutline, an
// in-memory tree for printing and tests.
#pragma once

#include <string>

namespace vandrel {

class IReminderTree {
 public:
  using Node = int;
  static constexpr Node kTopLevel = -1;

  virtual ~IReminderTree() = default;
  // Adds a node after the existing children of parent (kTopLevel for a section).
  virtual Node AddChild(Node parent, const std::string& text) = 0;
  virtual void SetImageIndexes(Node node, int image, int state, int selected) = 0;
  // Expands a node with children (which fires the tree's expanded handler); does nothing to a
  // node without children.
  virtual void Expand(Node node) = 0;
};

}  // namespace vandrel
