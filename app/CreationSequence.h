// The sequence that fills the main window, at creation and at every refresh: write the skin file
// and the calendar page beside the executable (in the user's data folder when the executable's
// folder cannot be written, as for an installed program), point the skin engine at the skin, find
// and open data.mdb, rebuild the six reminder sections, write the status line and set up
// autostart. The first failure raises and ends the run; what was built so far stays in the window.
#pragma once

#include <string>

#include <vector>

#include "app/Autostart.h"
#include "app/ReminderQueries.h"
#include "app/ReminderTree.h"

namespace vandrel {

class TConnection;
class TQuery;
class TStream;

// What the sequence needs of the main window.
class IMainWindow {
 public:
  virtual ~IMainWindow() = default;
  virtual void SetSkinFile(const std::string& fileName) = 0;
  // The skin straight from memory, for the runs that write no files.
  virtual void LoadSkin(TStream& skin) = 0;
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
  // Only the steps that read the data: find and open data.mdb, rebuild the six sections for
  // today and write the status line. For a new day, which nobody asked for: a missing data.mdb
  // raises like any other read error and leaves the window open, since the file may be back in
  // a moment (the sibling application replacing it) and closing would end an always-on program.
  void RunDataSteps();

  // The program logon starts; set by every run that finds the database.
  const std::string& AutostartPath() const { return m_autostartPath; }
  // Where the last run wrote "mskn.mskn" and "TheCal.htm", ending with '/'.
  const std::string& FilesDirectory() const { return m_filesDirectory; }

 private:
  // The executable's folder when this process may write there, else <data home>/vandrel/,
  // created when missing (unless the run leaves no traces).
  std::string ChooseFilesDirectory() const;
  void WriteResource(const char* type, const char* fileName);
  // Looks beside the executable, then beside the sibling application named by the registry,
  // then in the data folder. False when data.mdb is in none of them; dataDirectory is then the
  // sibling's folder as the registry names it (empty without the value).
  bool FindDataDirectory(std::string& dataDirectory);
  // The data steps once data.mdb was found in dataDirectory.
  void ReadData(const std::string& dataDirectory);

  IMainWindow& m_window;
  TConnection& m_connection;
  TQuery& m_query1;
  TQuery& m_query2;
  TSideEffects m_sideEffects;
  std::string m_exeFileName;
  std::string m_exeDirectory;
  std::string m_filesDirectory;
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
