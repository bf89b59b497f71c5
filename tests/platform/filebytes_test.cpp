#include "platform/filebytes.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/tempdir.h"

namespace vortan::platform {
namespace {

using test::ReadFile;

TEST(FileBytes, ReplacingWritesThroughALinkAndKeepsIt) {
  test::TTempDir dir;
  const std::string target = dir.Write("real.f", "OLD");
  const std::string link = dir / "link.f";
  ASSERT_EQ(::symlink("real.f", link.c_str()), 0);
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(link, "NEW", error)) << error;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFile(target), "NEW");
}

TEST(FileBytes, ANewFileGetsItsModeLessTheUmaskAndAnOldOneKeepsItsOwn) {
  struct TCase {
    const char* what;
    std::optional<mode_t> existing;       // the file's mode before the write; none: a new file
    std::optional<unsigned> newFileMode;  // none: the default
    mode_t expected;
  } const cases[] = {
      {"new, usual permissions", std::nullopt, std::nullopt, 0644},
      {"new, executable", std::nullopt, 0755, 0755},
      {"new, private", std::nullopt, 0600, 0600},
      {"new, umask applies to the given mode", std::nullopt, 0777, 0755},
      {"existing private file", 0600, 0644, 0600},
      {"existing executable", 0750, std::nullopt, 0750},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    test::TTempDir dir;
    const std::string file = dir / "file";
    if (c.existing) {
      dir.Write("file", "OLD");
      ASSERT_EQ(::chmod(file.c_str(), *c.existing), 0);
    }
    const mode_t mask = ::umask(022);
    std::string error;
    const bool written = c.newFileMode ? WriteFileReplacing(file, "X", error, *c.newFileMode)
                                       : WriteFileReplacing(file, "X", error);
    ::umask(mask);
    ASSERT_TRUE(written) << error;
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, c.expected);
    EXPECT_EQ(ReadFile(file), "X");
  }
}

TEST(FileBytes, ReadingADirectoryFails) {
  test::TTempDir dir;
  std::string bytes = "unchanged", error;
  EXPECT_FALSE(ReadFileBytes(dir.Path(), bytes, error));
  EXPECT_EQ(bytes, "unchanged");
  EXPECT_EQ(error, "Is a directory");
}

// The names in the folder, sorted.
std::vector<std::string> Entries(const test::TTempDir& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

uid_t NobodyUid() {
  const passwd* pw = ::getpwnam("nobody");
  return pw ? pw->pw_uid : 65534;
}

TEST(FileBytes, AFileTheUserMayNotWriteIsNeverReplaced) {
  struct TCase {
    const char* what;
    mode_t mode;
    bool otherOwner;
  };
  // Decided by the file's own write bits and owner, so it holds for root as well.
  const TCase cases[] = {
      {"made read-only by its owner", 0444, false},
      {"another user's file in a folder the user may write", 0644, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    test::TTempDir dir;
    const std::string file = dir.Write("prog.f", "OLD\n");
    ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
    // Only root can give a file away.
    if (c.otherOwner && ::chown(file.c_str(), NobodyUid(), NobodyUid()) != 0)
      GTEST_SKIP() << "cannot give a file to another user here";
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    std::string error;
    EXPECT_FALSE(WriteFileReplacing(file, "NEW\n", error));
    EXPECT_EQ(error, std::strerror(EACCES));
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
    EXPECT_EQ(ReadFile(file), "OLD\n");
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"prog.f"});
  }
}

TEST(FileBytes, LeftoversOfDeadSavesGoAtTheNextSaveOrOpen) {
  test::TTempDir dir;
  const std::string file = dir.Write("prog.f", "OLD\n");
  const std::string dead = dir.Write(".prog.f.vortan-AbC123", "half");
  const std::string alive = dir.Write(".prog.f.vortan-XyZ789", "being written");
  const std::string otherFile = dir.Write(".main.f.vortan-AbC123", "another file's");
  const std::string notOurs = dir.Write(".prog.f.vortan-AbC1234", "another pattern");
  // A save in progress holds a lock on its new file.
  const int held = ::open(alive.c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  RemoveStaleSaveFiles(file);
  EXPECT_EQ(Entries(dir),
            (std::vector<std::string>{".main.f.vortan-AbC123", ".prog.f.vortan-AbC1234",
                                      ".prog.f.vortan-XyZ789", "prog.f"}));
  ::close(held);

  dir.Write(".prog.f.vortan-AbC123", "half again");
  std::string error;
  ASSERT_TRUE(WriteFileReplacing(file, "NEW\n", error)) << error;
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{".main.f.vortan-AbC123",
                                                    ".prog.f.vortan-AbC1234", "prog.f"}));
  EXPECT_EQ(ReadFile(file), "NEW\n");
}

// Writes past a small size limit fail as on a full disk (EFBIG instead of ENOSPC).
class TFullDisk {
 public:
  explicit TFullDisk(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim = old_;
    lim.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lim);
  }
  ~TFullDisk() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST(FileBytes, BackupIsWrittenBesideAndKeptWhenTheDiskIsFull) {
  test::TTempDir dir;
  const std::string big(64 * 1024, 'x');
  const std::string file = dir.Write("prog.f", big);
  const std::string backup = dir.Write("prog.~f", "GOOD OLD BACKUP\n");
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  std::string error;
  {
    TFullDisk full(1024);
    EXPECT_FALSE(WriteBackupCopy(file, backup, error));
  }
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadFile(backup), "GOOD OLD BACKUP\n");
  EXPECT_EQ(Entries(dir), (std::vector<std::string>{"prog.f", "prog.~f"}));

  ASSERT_TRUE(WriteBackupCopy(file, backup, error)) << error;
  EXPECT_EQ(ReadFile(backup), big);
  struct stat st {};
  ASSERT_EQ(::stat(backup.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u) << "a private file keeps a private backup";
}

}  // namespace
}  // namespace vortan::platform
