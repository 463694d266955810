// The main window's stand-in for the modes that show no window (--dump, --json): the same
// creation sequence fills an in-memory tree and status text; messages go to standard error.
#pragma once

#include <memory>
#include <string>

#include "app/CreationSequence.h"
#include "app/ReminderOutline.h"
#include "data/Connection.h"
#include "data/Query.h"

namespace vandrel {

class TOutlineWindow : public IMainWindow {
 public:
  explicit TOutlineWindow(std::string exeFileName);

  // Runs the creation sequence; returns false when it failed or closed the window, after writing
  // the failure's message to standard error.
  bool Create();

  void SetSkinFile(const std::string& fileName) override { m_skinFile = fileName; }
  void ClearTree() override { m_tree.Clear(); }
  IReminderTree& Tree() override { return m_tree; }
  void SetStatusText(const std::string& text) override { m_statusText = text; }
  void ShowMessage(const std::string& text) override;
  void Close() override { m_closed = true; }
  IAutostartBox& AutostartBox() override { return m_autostart; }

  const TReminderOutline& Outline() const { return m_tree; }
  const std::string& StatusText() const { return m_statusText; }
  const std::string& SkinFile() const { return m_skinFile; }
  bool Closed() const { return m_closed; }
  bool AutostartChecked() const { return m_autostart.Checked(); }

  // The status text on the first line, then the tree (see TReminderOutline::Dump).
  std::string Dump() const;
  std::string ToJson() const;

 private:
  TConnection m_connection;
  TQuery m_query1{m_connection};
  TQuery m_query2{m_connection};
  TReminderOutline m_tree;
  TAutostartToggle m_autostart;
  TCreationSequence m_sequence;
  std::string m_statusText = "test";  // the status panel's design-time text
  std::string m_skinFile;
  bool m_closed = false;
};

}  // namespace vandrel
