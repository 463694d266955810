#include "app/ReminderOutline.h"

#include <cstdio>

namespace vandrel {

IReminderTree::Node TReminderOutline::AddChild(Node parent, const std::string& text) {
  const Node node = Node(m_nodes.size());
  TNode& added = m_nodes.emplace_back();
  added.Text = text;
  added.Parent = parent;
  if (parent == kTopLevel) m_topLevel.push_back(node);
  else At(parent).Children.push_back(node);
  return node;
}

void TReminderOutline::SetImageIndexes(Node node, int image, int state, int selected) {
  TNode& n = At(node);
  n.ImageIndex = image;
  n.StateIndex = state;
  n.SelectedIndex = selected;
}

void TReminderOutline::Expand(Node node) {
  TNode& n = At(node);
  if (n.Children.empty() || n.Expanded) return;
  n.Expanded = true;
  if (OnExpanded) OnExpanded(node);
}

void TReminderOutline::Collapse(Node node) {
  TNode& n = At(node);
  if (n.Children.empty() || !n.Expanded) return;
  n.Expanded = false;
  if (OnCollapsed) OnCollapsed(node);
}

void TReminderOutline::Clear() {
  m_nodes.clear();
  m_topLevel.clear();
}

std::string TReminderOutline::Dump() const {
  std::string out;
  std::function<void(Node, int)> write = [&](Node node, int depth) {
    const TNode& n = At(node);
    out.append(size_t(depth) * 2, ' ');
    out += n.Children.empty() ? "    " : n.Expanded ? "[-] " : "[+] ";
    out += n.Text;
    out += '\n';
    for (Node child : n.Children) write(child, depth + 1);
  };
  for (Node node : m_topLevel) write(node, 0);
  return out;
}

std::string JsonQuote(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out += char(c);
        }
    }
  }
  return out + "\"";
}

std::string TReminderOutline::ToJson() const {
  std::function<std::string(Node)> write = [&](Node node) {
    const TNode& n = At(node);
    std::string out = "{\"text\":" + JsonQuote(n.Text) + ",\"expanded\":" + (n.Expanded ? "true" : "false") +
                      ",\"image\":" + std::to_string(n.ImageIndex) + ",\"selected\":" + std::to_string(n.SelectedIndex) +
                      ",\"state\":" + std::to_string(n.StateIndex) + ",\"children\":[";
    for (size_t i = 0; i < n.Children.size(); ++i) out += (i ? "," : "") + write(n.Children[i]);
    return out + "]}";
  };
  std::string out = "[";
  for (size_t i = 0; i < m_topLevel.size(); ++i) out += (i ? "," : "") + write(m_topLevel[i]);
  return out + "]";
}

}  // namespace vandrel
