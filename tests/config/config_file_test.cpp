#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "config/config_file.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "qh-config-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
  }
  std::string File(const char* name) const { return (path_ / name).string(); }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Get(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs `body` as an unprivileged user when the tests run as root, so that
// the permissions of files and folders apply to it; its result comes back
// as the exit status.
bool AsOrdinaryUser(const std::function<bool()>& body) {
  if (geteuid() != 0) return body();
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    _exit(body() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << "status " << status;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(ConfigFile, ProgramDirectoryAndPath) {
  SetProgramDirectoryOverride("/some/where");
  EXPECT_EQ(ProgramDirectory(), "/some/where");
  EXPECT_EQ(ConfigPath(), "/some/where/config.ini");
  SetProgramDirectoryOverride(std::nullopt);
}

TEST(ConfigFile, ExistsAndRead) {
  TempFolder folder;
  const std::string file = folder.File("config.ini");
  EXPECT_FALSE(EntryExists(file));
  EXPECT_EQ(ReadWholeFile(file), "");

  const std::string bytes("a\0b\r\n\xC5\xE4", 7);
  Put(file, bytes);
  EXPECT_TRUE(EntryExists(file));
  EXPECT_EQ(ReadWholeFile(file), bytes);

  const std::string directory = folder.File("dir.ini");
  fs::create_directory(directory);
  EXPECT_TRUE(EntryExists(directory));
  EXPECT_EQ(ReadWholeFile(directory), "");

  const std::string broken = folder.File("broken.ini");
  fs::create_symlink(folder.File("nothing"), broken);
  EXPECT_TRUE(EntryExists(broken));
  EXPECT_EQ(ReadWholeFile(broken), "");
}

TEST(ConfigFile, WriteReplacesTheWholeFileAndKeepsItsPermissions) {
  TempFolder folder;
  const std::string file = folder.File("config.ini");
  ASSERT_TRUE(WriteWholeFile(file, "new file"));
  EXPECT_EQ(Get(file), "new file");

  Put(file, std::string(1000, 'x'));
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const std::string bytes("short\0\r\n", 8);
  ASSERT_TRUE(WriteWholeFile(file, bytes));
  EXPECT_EQ(Get(file), bytes);
  EXPECT_EQ(fs::status(file).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(WriteWholeFile(file, ""));
  EXPECT_EQ(Get(file), "");
  // Nothing else is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 1);
}

TEST(ConfigFile, UnwritableTargetsKeepTheirBytes) {
  const std::string old = "old content\r\n";
  {
    SCOPED_TRACE("a read-only file, also for the administrator");
    TempFolder folder;
    const std::string file = folder.File("config.ini");
    Put(file, old);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(WriteWholeFile(file, "new"));
    EXPECT_EQ(Get(file), old);
  }
  {
    SCOPED_TRACE("a directory in its place");
    TempFolder folder;
    const std::string file = folder.File("config.ini");
    fs::create_directory(file);
    Put(file + "/inside", old);
    EXPECT_FALSE(WriteWholeFile(file, "new"));
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_EQ(Get(file + "/inside"), old);
  }
  {
    SCOPED_TRACE("a folder and a file without write access for the user");
    TempFolder folder;
    const std::string file = folder.File("config.ini");
    Put(file, old);
    fs::permissions(file, fs::perms::owner_all | fs::perms::others_read);
    fs::permissions(folder.Path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    EXPECT_FALSE(AsOrdinaryUser([&] { return WriteWholeFile(file, "new"); }));
    EXPECT_EQ(Get(file), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 1);
  }
}

TEST(ConfigFile, WritableFileInAFolderThatAllowsNoNewFileIsWrittenInPlace) {
  TempFolder folder;
  const std::string file = folder.File("config.ini");
  Put(file, "old");
  fs::permissions(file, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_write);
  fs::permissions(folder.Path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_TRUE(AsOrdinaryUser([&] { return WriteWholeFile(file, "new content"); }));
  EXPECT_EQ(Get(file), "new content");
}

// True when the process holds a file of `folder` open, that is, when it is
// in the middle of a save.
bool HasFileOpenIn(pid_t process, const fs::path& folder) {
  std::error_code error;
  for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(process) + "/fd", error)) {
    const std::string target = fs::read_symlink(fd.path(), error).string();
    if (!error && target.rfind(folder.string() + "/", 0) == 0) return true;
  }
  return false;
}

// A save killed at any moment leaves the old or the new file, never a part.
TEST(ConfigFile, KilledSaveLeavesOldOrNewFile) {
  TempFolder folder;
  const std::string file = folder.File("config.ini");
  const std::size_t size = 1 << 20;
  const std::string a(size, 'A'), b(size, 'B');
  std::mt19937 random(20240601);
  int partial = 0, interrupted = 0;
  const auto began = std::chrono::steady_clock::now();
  for (int round = 0; round < 12; ++round) {
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t child = fork();
    if (child == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      dup2(out[1], STDOUT_FILENO);
      execl(QH_SAVE_LOOP, QH_SAVE_LOOP, file.c_str(), std::to_string(size).c_str(), nullptr);
      _exit(127);
    }
    close(out[1]);
    char ready[6] = {};
    const bool started = read(out[0], ready, 5) == 5;
    close(out[0]);
    if (started) std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
    if (HasFileOpenIn(child, folder.Path())) ++interrupted;
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(started) << "the saving process did not start";
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended by itself: " << status;

    const std::string left = Get(file);
    const bool whole = left == a || left == b;
    EXPECT_TRUE(whole) << "round " << round << ": " << left.size() << " bytes";
    if (!whole) ++partial;
    // Temporary files of killed saves are not config.ini; clear them.
    for (const auto& entry : fs::directory_iterator(folder.Path()))
      if (entry.path() != fs::path(file)) fs::remove(entry.path());
  }
  EXPECT_EQ(partial, 0);
  // Most kills land in the middle of a save, else the test proves nothing.
  EXPECT_GE(interrupted, 1);
  std::cout << interrupted << " of 12 processes killed in the middle of a save, "
            << std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began).count()
            << " ms\n";
}

}  // namespace
