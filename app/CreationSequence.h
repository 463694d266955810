// The sequence that fills the main window, at creation and at every refresh: write the skin file
// and the calendar page beside the executable, point the skin engine at the skin, find and open
// data.mdb, rebuild the six reminder sections, write the status line and set up autostart.
// The first failure raises and ends the run; what was built so far stays in the window.
#pragma once

#include <string>

#include <vector>

#include "app/Autostart.h"
#include "app/ReminderQueries.h"
#include "app/ReminderTree.h"

namespace vandrel {

class TConnection;
class TQuery;

// What the sequence needs of the main window.
class IMainWindow {
 public:
  virtual ~IMainWindow() = default;
  virtual void SetSkinFile(const std::string& fileName) = 0;
  virtual void ClearTree() = 0;
  virtual IReminderTree& Tree() = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void ShowMessage(const std::string& text) = 0;
  // Closing the main window ends the program.
  virtual void Close() = 0;
  virtual IAutostartBox& AutostartBox() = 0;
  // Around opening the database, which can take seconds for a large or slow file: the window
  // says that it reads and keeps painting, and EndReading undoes what BeginReading changed.
  virtual void BeginReading() = 0;
  virtual void EndReading() = 0;
};

// Whether a run leaves traces outside the window: the skin file and the calendar page beside the
// executable, the copy of the executable beside the sibling application, the autostart setting
// and the logon entry. The modes that only print or save the window leave none; they show the
// check box as the start-up logic would leave it.
enum class TSideEffects { Write, None };

inline constexpr const char* kConnectionStringHead =
    "Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=qelvondar;Persist Security Info=False;Data Source=";

class TCreationSequence {
 public:
  // exeFileName is the running executable's full path.
  TCreationSequence(IMainWindow& window, TConnection& connection, TQuery& query1, TQuery& query2,
                    std::string exeFileName, TSideEffects sideEffects = TSideEffects::Write);

  // Returns false when data.mdb was not found: the message was shown and the window closed.
  bool Run();

  // The executable as it lies in the data directory; set by every run that finds the database.
  const std::string& AutostartPath() const { return m_autostartPath; }
  const std::string& ExeDirectory() const { return m_exeDirectory; }

 private:
  void WriteResource(const char* type, const char* fileName);
  // False when data.mdb is neither beside the executable nor beside the sibling application;
  // dataDirectory is then the last directory looked in.
  bool FindDataDirectory(std::string& dataDirectory);

  IMainWindow& m_window;
  TConnection& m_connection;
  TQuery& m_query1;
  TQuery& m_query2;
  TSideEffects m_sideEffects;
  std::string m_exeFileName;
  std::string m_exeDirectory;
  std::string m_autostartPath;
};

// The six sections of the tree for a day, in their order.
std::vector<TReminderSection> ReminderSections(TDateTime today);

// The directory part of a path, ending with its separator; empty when there is none.
std::string ExtractFilePath(const std::string& path);
std::string ExtractFileName(const std::string& path);
// False also when the path cannot be examined.
bool FileExists(const std::string& path);

}  // namespace vandrel
