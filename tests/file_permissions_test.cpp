// The files the exports write, as the system sees them: a new file gets the permissions an ordinary
// create in the process gives it (the umask applies), a replaced file keeps its own and its owner,
// and saving leaves the process's umask alone.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/file_outputs.h"
#include "support/render_harness.h"
#include "support/tool_runs.h"
#include "varnel32.h"

namespace varnel {
namespace {

// Every umask call of the process (see the last test).
std::atomic<int> umaskCalls{0};

}  // namespace
}  // namespace varnel

extern "C" mode_t umask(mode_t mask) noexcept {
  ++varnel::umaskCalls;
  return static_cast<mode_t>(syscall(SYS_umask, mask));
}

namespace varnel {
namespace {

using testing::FileOutput;
using testing::kFileOutputs;

mode_t PermissionsOf(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 07777;
}

// Sets the process's umask for the life of the object.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : old_(umask(mask)) {}
  ~ScopedUmask() { umask(old_); }
  ScopedUmask(const ScopedUmask&) = delete;
  ScopedUmask& operator=(const ScopedUmask&) = delete;

 private:
  mode_t old_;
};

TEST(FilePermissions, ANewFileGetsWhatTheUmaskAllows) {
  for (const mode_t mask : {0022, 0077, 0002, 0}) {
    const ScopedUmask umaskForTheTest(mask);
    for (const FileOutput& output : kFileOutputs) {
      testing::ResetLibrary();
      testing::TempDir folder;
      const std::string path = folder.File("new");
      ASSERT_EQ(output.save(path.c_str()), 1) << output.name;
      EXPECT_EQ(PermissionsOf(path), 0666 & ~mask) << output.name << " with umask " << std::oct << mask;
    }
  }
}

TEST(FilePermissions, AReplacedFileKeepsItsOwn) {
  const ScopedUmask umaskForTheTest(0022);
  for (const mode_t own : {0600, 0640, 0666, 0444}) {
    for (const FileOutput& output : kFileOutputs) {
      testing::ResetLibrary();
      testing::TempDir folder;
      const std::string path = folder.File("old");
      testing::WriteFileBytes(path, std::vector<std::uint8_t>{1, 2, 3});
      ASSERT_EQ(chmod(path.c_str(), own), 0);
      ASSERT_EQ(output.save(path.c_str()), 1) << output.name;
      EXPECT_EQ(PermissionsOf(path), own) << output.name;
      EXPECT_GT(testing::ReadFileBytes(path).size(), 3u) << output.name << ": the file was replaced";
    }
  }
}

struct stat StatusOf(const std::string& path) {
  struct stat status {};
  stat(path.c_str(), &status);
  return status;
}

// Replacing a file is writing it over: it stays its owner's and its group's, with its permissions,
// whether the library or the tool replaces it. As root every file can be given back; a user can
// give back the group of a file they share with it.
TEST(FilePermissions, AReplacedFileKeepsItsOwnerAndGroup) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can make files of other owners to replace";
  constexpr uid_t kNobody = 65534;
  constexpr gid_t kSharedGroup = 54321;  // any group: membership is given to the child below
  for (const FileOutput& output : testing::FileOutputsAndTool()) {
    testing::ResetLibrary();
    testing::TempDir folder;
    ASSERT_EQ(chmod(folder.path().c_str(), 0777), 0);
    const std::string usersFile = folder.File("users"), groupsFile = folder.File("groups");
    for (const std::string& path : {usersFile, groupsFile}) testing::WriteFileBytes(path, std::vector<std::uint8_t>{1});
    ASSERT_EQ(chown(usersFile.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chmod(usersFile.c_str(), 0640), 0);
    ASSERT_EQ(chown(groupsFile.c_str(), 0, kSharedGroup), 0);
    ASSERT_EQ(chmod(groupsFile.c_str(), 0664), 0);

    ASSERT_EQ(output.save(usersFile.c_str()), 1) << output.name;
    EXPECT_EQ(StatusOf(usersFile).st_uid, kNobody) << output.name;
    EXPECT_EQ(StatusOf(usersFile).st_gid, kNobody) << output.name;
    EXPECT_EQ(StatusOf(usersFile).st_mode & 07777, 0640u) << output.name;

    const int saved = testing::ExitStatusInChild([&] {
      const gid_t groups[] = {kNobody, kSharedGroup};
      if (setgroups(2, groups) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) return 77;
      return static_cast<int>(output.save(groupsFile.c_str()));
    });
    ASSERT_EQ(saved, 1) << output.name;
    EXPECT_EQ(StatusOf(groupsFile).st_uid, kNobody) << output.name << ": root's own cannot be given back";
    EXPECT_EQ(StatusOf(groupsFile).st_gid, kSharedGroup) << output.name;
    EXPECT_EQ(StatusOf(groupsFile).st_mode & 07777, 0664u) << output.name;
    EXPECT_GT(testing::ReadFileBytes(groupsFile).size(), 1u) << output.name << ": the file was replaced";
  }
}

// The umask is shared by every thread of the host, and there is no reading it without setting it:
// were a save to lift it for a moment, a file that another thread creates meanwhile would be open
// to everyone. So a save must not call umask at all, whether its file is new, replaced or named
// through a link.
TEST(FilePermissions, SavingNeverSetsTheUmask) {
  const ScopedUmask umaskForTheTest(0022);
  for (const FileOutput& output : kFileOutputs) {
    testing::ResetLibrary();
    testing::TempDir folder;
    const std::string file = folder.File("picture"), link = folder.File("link");
    std::filesystem::create_symlink(folder.File("linked"), link);
    for (const std::string& path : {file, file, link, link}) {  // new, then replaced
      const int callsBefore = umaskCalls;
      ASSERT_EQ(output.save(path.c_str()), 1) << output.name << " " << path;
      EXPECT_EQ(umaskCalls, callsBefore) << output.name << " " << path;
    }
  }
}

}  // namespace
}  // namespace varnel
