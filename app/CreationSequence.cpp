#include "app/CreationSequence.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "app/ReminderBuilder.h"
#include "app/ReminderQueries.h"
#include "app/Settings.h"
#include "app/StatusLine.h"
#include "calendar/Lunar.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "platform/core/Text.h"
#include "platform/os/Resources.h"
#include "platform/os/UserDirectories.h"

namespace vandrel {
namespace fs = std::filesystem;

std::string ExtractFilePath(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

std::string ExtractFileName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

TCreationSequence::TCreationSequence(IMainWindow& window, TConnection& connection, TQuery& query1, TQuery& query2,
                                     std::string exeFileName, TSideEffects sideEffects)
    : m_window(window),
      m_connection(connection),
      m_query1(query1),
      m_query2(query2),
      m_sideEffects(sideEffects),
      m_exeFileName(std::move(exeFileName)),
      m_exeDirectory(ExtractFilePath(m_exeFileName)) {}

namespace {

// This user's data folder of the program, ending with '/'.
std::string DataFolder() { return JoinPath(DataHomeDirectory(), "vandrel") + "/"; }

}  // namespace

std::string TCreationSequence::ChooseFilesDirectory() const {
  if (CanWriteDirectory(m_exeDirectory)) return m_exeDirectory;
  const std::string folder = DataFolder();
  if (m_sideEffects == TSideEffects::None) return folder;
  if (!MakeDirectories(folder.substr(0, folder.size() - 1), 0700))
    throw EOSError("Cannot create the folder \"" + folder + "\": " + SystemMessage(errno));
  return folder;
}

void TCreationSequence::WriteResource(const char* type, const char* fileName) {
  if (m_sideEffects == TSideEffects::None) return;
  TResourceStream resource("DAT", type);
  TFileStream file(m_filesDirectory + fileName, fmCreate);
  if (resource.Size() > 0) file.CopyFrom(resource, 0);
}

bool TCreationSequence::FindDataDirectory(std::string& dataDirectory) {
  dataDirectory = m_exeDirectory;
  if (FileExists(dataDirectory + "data.mdb")) return true;
  // A value read from a Wine prefix arrives as a path through the prefix's drives.
  dataDirectory = ExtractFilePath(ReadRegString("ExeFileName", "\\SOFTWARE\\tarvo\\"));
  if (FileExists(dataDirectory + "data.mdb")) {
    // Put a copy of ourselves beside the sibling application, so that autostart runs from there.
    // Copying a file onto itself would truncate it, so a data directory that is our own folder
    // under another name is left alone.
    const std::string copy = dataDirectory + ExtractFileName(m_exeFileName);
    std::error_code error;
    if (m_sideEffects == TSideEffects::None) return true;
    if (FileExists(copy) && fs::equivalent(copy, m_exeFileName, error)) return true;
    // Copy beside the target and rename over it: an older copy that is running cannot be
    // overwritten in place, but it can be replaced.
    const std::string temporary = copy + ".new";
    fs::copy_file(m_exeFileName, temporary, fs::copy_options::overwrite_existing, error);
    if (!error) fs::rename(temporary, copy, error);
    if (error) {
      std::error_code ignored;
      fs::remove(temporary, ignored);
      throw EOSError("Cannot copy \"" + m_exeFileName + "\" to \"" + copy + "\". " + error.message());
    }
    return true;
  }
  // The user's own copy of the database, for a machine without the sibling application.
  if (!FileExists(DataFolder() + "data.mdb")) return false;
  dataDirectory = DataFolder();
  return true;
}

std::vector<TReminderSection> ReminderSections(TDateTime today) {
  int year, month, day;
  DecodeDate(today, year, month, day);
  return {
      {"本日提示", today, true},
      {"明日提示", today + 1, true},
      {"后天提示", today + 2, true},
      {"昨天提示", today - 1, true},
      {"本月提示", EncodeDate(year, month, 1), false},
      {"下月提示", FirstDayOfNextMonth(today), false},
  };
}

bool TCreationSequence::Run() {
  m_filesDirectory = ChooseFilesDirectory();
  if (m_sideEffects == TSideEffects::Write) {
    WriteResource("MSKN", "mskn.mskn");
    m_window.SetSkinFile(Trim(m_filesDirectory) + "mskn.mskn");
  } else {
    // What a run that writes would load: the skin the program carries.
    TResourceStream skin("DAT", "MSKN");
    if (skin.Size() > 0) m_window.LoadSkin(skin);
  }
  std::string dataDirectory;
  if (!FindDataDirectory(dataDirectory)) {
    m_window.ShowMessage(dataDirectory + "data.mdb 不存在！");
    m_window.Close();
    return false;
  }
  ReadData(dataDirectory);
  WriteResource("DATA", "TheCal.htm");
  if (m_sideEffects == TSideEffects::Write) {
    AutostartStartUp(m_window.AutostartBox(), m_autostartPath);
  } else {
    m_window.AutostartBox().SetChecked(AutostartCheckedAfterStartUp());
  }
  return true;
}

void TCreationSequence::RunDataSteps() {
  std::string dataDirectory;
  if (!FindDataDirectory(dataDirectory)) throw Exception(dataDirectory + "data.mdb 不存在！");
  ReadData(dataDirectory);
}

void TCreationSequence::ReadData(const std::string& dataDirectory) {
  // The program itself beside its database, or the copy beside the sibling's; the user's own
  // database holds no copy.
  m_autostartPath =
      dataDirectory == DataFolder() ? m_exeFileName : dataDirectory + ExtractFileName(m_exeFileName);

  m_connection.Close();
  m_connection.SetConnectionString(kConnectionStringHead + dataDirectory + "data.mdb");
  {
    m_window.BeginReading();
    struct TEnd {
      IMainWindow& window;
      ~TEnd() { window.EndReading(); }
    } end{m_window};
    m_connection.Open();
  }

  m_window.ClearTree();
  // Most of the sections' queries do not depend on each other: run them ahead on other threads.
  std::vector<std::string> texts;
  for (const TReminderSection& section : ReminderSections(Date()))
    for (std::string& text : ReminderQueries::All(section, Now())) texts.push_back(std::move(text));
  const TConnection::TPrefetchScope prefetch = m_connection.Prefetch(texts);
  TReminderBuilder builder(m_window.Tree(), m_query1, m_query2);
  for (const TReminderSection& section : ReminderSections(Date()))
    builder.AddReminderSection(section.Title, section.Date, section.DayMode);

  m_window.SetStatusText(StatusLineText(Now()));
}

}  // namespace vandrel
