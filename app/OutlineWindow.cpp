#include "app/OutlineWindow.h"

#include <cstdio>

#include "app/ReminderBuilder.h"
#include "platform/core/Exception.h"

namespace vandrel {

TOutlineWindow::TOutlineWindow(std::string exeFileName)
    : m_sequence(*this, m_connection, m_query1, m_query2, std::move(exeFileName)) {
  m_tree.OnExpanded = [this](IReminderTree::Node node) { m_tree.At(node).ImageIndex = riOpenFolder; };
  m_tree.OnCollapsed = [this](IReminderTree::Node node) { m_tree.At(node).ImageIndex = riClosedFolder; };
  m_autostart.OnClick = [this] { AutostartClick(m_autostart.Checked(), m_sequence.AutostartPath()); };
}

bool TOutlineWindow::Create() {
  try {
    return m_sequence.Run();
  } catch (const Exception& e) {
    ShowMessage(e.Message());
  } catch (const std::exception& e) {
    ShowMessage(e.what());
  }
  return false;
}

void TOutlineWindow::ShowMessage(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

std::string TOutlineWindow::Dump() const { return m_statusText + "\n" + m_tree.Dump(); }

std::string TOutlineWindow::ToJson() const {
  return "{\"status\":" + JsonQuote(m_statusText) + ",\"tree\":" + m_tree.ToJson() + "}\n";
}

}  // namespace vandrel
