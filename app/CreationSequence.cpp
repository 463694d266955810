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
                                     std::string exeFileName)
    : m_window(window),
      m_connection(connection),
      m_query1(query1),
      m_query2(query2),
      m_exeFileName(std::move(exeFileName)),
      m_exeDirectory(ExtractFilePath(m_exeFileName)) {}

namespace {

// This user's data folder of the program, ending with '/'.
std::string DataFolder() { return JoinPath(DataHomeDirectory(), "vandrel") + "/"; }

}  // namespace

std::string TCreationSequence::ChooseFilesDirectory() const {
  if (CanWriteDirectory(m_exeDirectory)) return m_exeDirectory;
  const std::string folder = DataFolder();
  if (!MakeDirectories(folder.substr(0, folder.size() - 1), 0700))
    throw EOSError("Cannot create the folder \"" + folder + "\": " + SystemMessage(errno));
  return folder;
}

void TCreationSequence::WriteResource(const char* type, const char* fileName) {
  TResourceStream resource("DAT", type);
  TFileStream file(m_filesDirectory + fileName, fmCreate);
  if (resource.Size() > 0) file.CopyFrom(resource, 0);
}

bool TCreationSequence::FindDataDirectory(std::string& dataDirectory) {
  dataDirectory = m_exeDirectory;
  if (FileExists(dataDirectory + "data.mdb")) return true;
  // A value read from a Wine prefix arrives as a path through the prefix's drives.
  dataDirectory = ExtractFilePath(ReadRegString("ExeFileName", "\\SOFTWARE\\tarvo\\"));
  if (FileExists(dataDirectory + "data.mdb")) return true;
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
  WriteResource("MSKN", "mskn.mskn");
  m_window.SetSkinFile(Trim(m_filesDirectory) + "mskn.mskn");
  if (!RunDataSteps()) return false;
  WriteResource("DATA", "TheCal.htm");
  AutostartStartUp(m_window.AutostartBox(), m_autostartPath);
  return true;
}

bool TCreationSequence::RunDataSteps() {
  std::string dataDirectory;
  if (!FindDataDirectory(dataDirectory)) {
    m_window.ShowMessage(dataDirectory + "data.mdb 不存在！");
    m_window.Close();
    return false;
  }
  // The program itself, wherever the database lies: a copy of it beside the sibling's database
  // would be a write into another program's folder, and a copy that package updates never reach.
  m_autostartPath = m_exeFileName;

  m_connection.Close();
  m_connection.SetConnectionString(kConnectionStringHead + dataDirectory + "data.mdb");
  m_connection.Open();

  m_window.ClearTree();
  // Most of the sections' queries do not depend on each other: run them ahead on other threads.
  std::vector<std::string> texts;
  for (const TReminderSection& section : ReminderSections(Date()))
    for (std::string& text : ReminderQueries::All(section, Now())) texts.push_back(std::move(text));
  m_connection.Prefetch(texts);
  TReminderBuilder builder(m_window.Tree(), m_query1, m_query2);
  for (const TReminderSection& section : ReminderSections(Date()))
    builder.AddReminderSection(section.Title, section.Date, section.DayMode);

  m_window.SetStatusText(StatusLineText(Now()));
  return true;
}

}  // namespace vandrel
