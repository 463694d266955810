#include "platform/os/NamedMutex.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/os/Shell.h"
#include "tests/os/TestFiles.h"

namespace vandrel {
namespace {

// A process that takes the mutex and holds it until it is killed.
pid_t StartHolder(const std::string& name) {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  pid_t child = fork();
  if (child == 0) {
    close(ready[0]);
    TNamedMutex mutex(name);
    char held = mutex.Held() ? 'y' : 'n';
    if (write(ready[1], &held, 1) != 1) _exit(1);
    for (;;) pause();
  }
  close(ready[1]);
  char held = 'n';
  if (read(ready[0], &held, 1) != 1 || held != 'y') {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    child = -1;
  }
  close(ready[0]);
  return child;
}

class NamedMutexTest : public ::testing::Test {
 protected:
  test::TTempFolder m_temp;
  test::TEnvironmentOverride m_runtime{"XDG_RUNTIME_DIR", m_temp.Path()};
};

TEST_F(NamedMutexTest, SecondInstanceFailsWhileTheFirstLivesAndSucceedsAfterItIsKilled) {
  pid_t first = StartHolder("OrvenHint");
  ASSERT_GT(first, 0);
  struct stat before {};
  stat((m_temp / "OrvenHint.lock").c_str(), &before);
  {
    TNamedMutex second("OrvenHint");
    EXPECT_TRUE(second.AlreadyExists());
    EXPECT_FALSE(second.Held());
  }
  struct stat after {};
  stat((m_temp / "OrvenHint.lock").c_str(), &after);
  EXPECT_EQ(before.st_ino, after.st_ino) << "the running instance's lock file was left alone";

  kill(first, SIGKILL);
  waitpid(first, nullptr, 0);
  TNamedMutex third("OrvenHint");
  EXPECT_FALSE(third.AlreadyExists());
  EXPECT_TRUE(third.Held());
  EXPECT_EQ(third.FileName(), m_temp / "OrvenHint.lock");

  TNamedMutex sameProcess("OrvenHint");
  EXPECT_TRUE(sameProcess.AlreadyExists());
  TNamedMutex otherName("Other/Name");
  EXPECT_TRUE(otherName.Held());
}

TEST_F(NamedMutexTest, ProgramsWeStartDoNotInheritTheLock) {
  // An opener that outlives the instance that started it.
  std::string opener = m_temp / "slow-opener";
  test::WriteFile(opener, "#!/bin/sh\nexec sleep 3 </dev/null >/dev/null 2>&1\n");
  chmod(opener.c_str(), 0755);
  {
    TNamedMutex mutex("OrvenHint");
    ASSERT_TRUE(mutex.Held());
    ASSERT_TRUE(ShellOpen("/tmp/page.htm", opener));
  }
  TNamedMutex next("OrvenHint");
  EXPECT_TRUE(next.Held());
}

TEST_F(NamedMutexTest, WithoutARuntimeFolderAPrivateOneIsMade) {
  test::TEnvironmentOverride noRuntime("XDG_RUNTIME_DIR", std::nullopt);
  test::TEnvironmentOverride temp("TMPDIR", m_temp.Path());
  std::string folder = m_temp / ("vandrel-" + std::to_string(getuid()));
  std::filesystem::create_directories(folder);
  chmod(folder.c_str(), 0777);  // left too open by someone: tightened before use
  TNamedMutex mutex("OrvenHint");
  EXPECT_TRUE(mutex.Held());
  EXPECT_EQ(mutex.FileName(), folder + "/OrvenHint.lock");
  struct stat info {};
  stat(folder.c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  // A planted link is not a folder of ours: no lock, and the program goes on.
  std::filesystem::remove_all(folder);
  std::filesystem::create_directory_symlink(m_temp.Path(), folder);
  TNamedMutex refused("OrvenHint");
  EXPECT_FALSE(refused.Held());
  EXPECT_FALSE(refused.AlreadyExists());
  EXPECT_FALSE(refused.Failure().empty());
}

}  // namespace
}  // namespace vandrel
