// How a saved file takes its place: a link is followed only where a planted one cannot steer the
// save, the new contents are never open to more readers than the final file will be, a kill leaves
// nothing behind, the old file's access list and attributes carry over, and a replacement is on
// the disk before and after its rename. Each rule holds both where unnamed files can be had and
// where the file system has none (made so here by refusing them to the library).
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/file_outputs.h"
#include "support/render_harness.h"
#include "support/tool_runs.h"
#include "varnel32.h"

namespace varnel {
namespace {

// The system calls that the rules are about, watched and bent from inside the process.
std::atomic<bool> unnamedFilesRefused{false};
std::atomic<bool> accessListsRefused{false};
std::atomic<int> flushes{0};
std::atomic<bool> watchingWrites{false};
std::atomic<mode_t> widestModeWritten{0};  // of the regular files written to while watching

constexpr char kAccessAcl[] = "system.posix_acl_access";

}  // namespace
}  // namespace varnel

extern "C" int openat(int folder, const char* path, int flags, ...) {
  const bool unnamed = (flags & O_TMPFILE) == O_TMPFILE;
  int mode = 0;
  if ((flags & O_CREAT) != 0 || unnamed) {
    va_list arguments;
    va_start(arguments, flags);
    mode = va_arg(arguments, int);
    va_end(arguments);
  }
  if (varnel::unnamedFilesRefused && unnamed) {
    errno = EOPNOTSUPP;
    return -1;
  }
  return static_cast<int>(syscall(SYS_openat, folder, path, flags, mode));
}

extern "C" int fsync(int fd) {
  ++varnel::flushes;
  return static_cast<int>(syscall(SYS_fsync, fd));
}

extern "C" int fdatasync(int fd) {
  ++varnel::flushes;
  return static_cast<int>(syscall(SYS_fdatasync, fd));
}

extern "C" ssize_t write(int fd, const void* data, size_t size) {
  struct stat status;
  if (varnel::watchingWrites && fstat(fd, &status) == 0 && S_ISREG(status.st_mode))
    varnel::widestModeWritten |= status.st_mode & 0777;
  return syscall(SYS_write, fd, data, size);
}

extern "C" int fsetxattr(int fd, const char* name, const void* value, size_t size, int flags) {
  if (varnel::accessListsRefused && std::strcmp(name, varnel::kAccessAcl) == 0) {
    errno = EOPNOTSUPP;
    return -1;
  }
  return static_cast<int>(syscall(SYS_fsetxattr, fd, name, value, size, flags));
}

namespace varnel {
namespace {

using testing::FileOutput;
using testing::kFileOutputs;

constexpr uid_t kNobody = 65534;

struct stat LinkStatus(const std::string& path) {
  struct stat status {};
  lstat(path.c_str(), &status);
  return status;
}

std::size_t EntryCount(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

const std::vector<std::uint8_t> kOldBytes{'o', 'l', 'd'};

// The parameter: whether the library may have unnamed files.
class FileReplacement : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    unnamedFilesRefused = !GetParam();
    testing::ResetLibrary();
  }
  void TearDown() override {
    unnamedFilesRefused = false;
    accessListsRefused = false;
    watchingWrites = false;
  }
};

INSTANTIATE_TEST_SUITE_P(, FileReplacement, ::testing::Bool(), [](const ::testing::TestParamInfo<bool>& parameter) {
  return parameter.param ? "UnnamedFiles" : "NamedTemporaries";
});

// In a sticky folder open to everyone, a link that another user planted there is not followed:
// the save is refused and the file it points at keeps its bytes, whether it exists or not. A link
// of the caller's own, or of the folder's owner, is followed, and stays a link. The tool keeps the
// same rule.
TEST_P(FileReplacement, OnlyLinksNobodyElseCouldHavePlantedAreFollowed) {
  if (geteuid() != 0) GTEST_SKIP() << "planting another user's link takes root";
  for (const FileOutput& output : testing::FileOutputsAndTool()) {
    testing::TempDir home, shared;
    ASSERT_EQ(chmod(shared.path().c_str(), 01777), 0);
    const std::string victim = home.File("victim"), absent = home.File("absent");
    testing::WriteFileBytes(victim, kOldBytes);
    const std::string planted = shared.File("planted"), plantedDangling = shared.File("dangling");
    std::filesystem::create_symlink(victim, planted);
    std::filesystem::create_symlink(absent, plantedDangling);
    for (const std::string& link : {planted, plantedDangling}) ASSERT_EQ(lchown(link.c_str(), kNobody, kNobody), 0);

    EXPECT_EQ(output.save(planted.c_str()), 0) << output.name;
    EXPECT_EQ(output.save(plantedDangling.c_str()), 0) << output.name;
    EXPECT_EQ(testing::ReadFileBytes(victim), kOldBytes) << output.name;
    EXPECT_FALSE(std::filesystem::exists(absent)) << output.name;
    EXPECT_TRUE(S_ISLNK(LinkStatus(planted).st_mode)) << output.name;

    // The caller's own links, a live one and a dangling one.
    const std::string own = shared.File("own"), ownDangling = shared.File("own-dangling");
    std::filesystem::create_symlink(victim, own);
    std::filesystem::create_symlink(absent, ownDangling);
    ASSERT_EQ(output.save(own.c_str()), 1) << output.name;
    ASSERT_EQ(output.save(ownDangling.c_str()), 1) << output.name;
    EXPECT_NE(testing::ReadFileBytes(victim), kOldBytes) << output.name;
    EXPECT_EQ(testing::ReadFileBytes(absent), testing::ReadFileBytes(victim)) << output.name;
    EXPECT_TRUE(S_ISLNK(LinkStatus(own).st_mode) && S_ISLNK(LinkStatus(ownDangling).st_mode)) << output.name;

    // The folder's owner's link: the folder is nobody's, and so is the link.
    ASSERT_EQ(chown(shared.path().c_str(), kNobody, kNobody), 0);
    testing::WriteFileBytes(victim, kOldBytes);
    EXPECT_EQ(output.save(planted.c_str()), 1) << output.name;
    EXPECT_NE(testing::ReadFileBytes(victim), kOldBytes) << output.name;
    EXPECT_EQ(EntryCount(shared.path()), 4u) << output.name << ": nothing but the links";
  }
}

// A private file's new contents are written where no one else can read them: the file being
// written is never more open than the file it becomes, new or replacing an old one.
TEST_P(FileReplacement, NewContentsAreNeverOpenToMoreReadersThanTheFinalFile) {
  const mode_t mask = umask(0022);
  for (const FileOutput& output : kFileOutputs) {
    testing::TempDir folder;
    const std::string replaced = folder.File("private"), created = folder.File("new");
    testing::WriteFileBytes(replaced, kOldBytes);
    ASSERT_EQ(chmod(replaced.c_str(), 0600), 0);
    for (const auto& [path, finalMode] : {std::pair{replaced, mode_t{0600}}, std::pair{created, mode_t{0644}}}) {
      widestModeWritten = 0;
      watchingWrites = true;
      const VnBool saved = output.save(path.c_str());
      watchingWrites = false;
      ASSERT_EQ(saved, 1) << output.name;
      EXPECT_NE(widestModeWritten, 0u) << output.name << ": the write was seen";
      EXPECT_EQ(widestModeWritten & ~finalMode, 0u) << output.name << " " << path << std::oct
                                                    << ": written while " << widestModeWritten;
    }
  }
  umask(mask);
}

// A file's whole name, up to the system's limit, is saved and replaced; nothing is left beside.
TEST_P(FileReplacement, NamesAsLongAsTheSystemAllowsAreSavedAndReplaced) {
  testing::TempDir folder;
  const long longest = pathconf(folder.path().c_str(), _PC_NAME_MAX);
  ASSERT_GT(longest, 0);
  const std::string path = folder.File(std::string(static_cast<std::size_t>(longest), 'n'));
  for (int save = 0; save < 2; ++save) ASSERT_EQ(VnSaveAsBMP(path.c_str()), 1) << "save " << save;
  EXPECT_GT(testing::ReadFileBytes(path).size(), 0u);
  EXPECT_EQ(EntryCount(folder.path()), 1u);
}

// A replacement is flushed twice: the new file before its rename, so that a power cut cannot leave
// an empty file in the old one's place, and the folder after, so that the rename itself lasts. A
// new file has no old contents to lose and is not flushed.
TEST_P(FileReplacement, AReplacementIsFlushedBeforeAndAfterItsRenameANewFileNever) {
  for (const FileOutput& output : kFileOutputs) {
    testing::TempDir folder;
    const std::string path = folder.File("picture");
    const int beforeNew = flushes;
    ASSERT_EQ(output.save(path.c_str()), 1) << output.name;
    EXPECT_EQ(flushes - beforeNew, 0) << output.name << ": new file";
    const int beforeReplacing = flushes;
    ASSERT_EQ(output.save(path.c_str()), 1) << output.name;
    EXPECT_EQ(flushes - beforeReplacing, 2) << output.name << ": replacement";
  }
}

// An access list of the POSIX kind as Linux stores it: version 2, then entries of tag, permissions
// and id, in the order of their tags. Owner rw, "nobody" r, the owning group nothing, mask r.
std::vector<std::uint8_t> RestrictingAccessList() {
  std::vector<std::uint8_t> list{2, 0, 0, 0};
  const auto entry = [&](std::uint16_t tag, std::uint16_t permissions, std::uint32_t id) {
    for (const std::uint32_t field : {std::uint32_t{tag} | std::uint32_t{permissions} << 16, id})
      for (int shift = 0; shift < 32; shift += 8) list.push_back(static_cast<std::uint8_t>(field >> shift));
  };
  constexpr std::uint32_t kNoId = 0xFFFFFFFF;
  entry(0x01, 6, kNoId);    // the owner
  entry(0x02, 4, kNobody);  // a named user
  entry(0x04, 0, kNoId);    // the owning group
  entry(0x10, 4, kNoId);    // the mask, which the group permissions of the mode show
  entry(0x20, 0, kNoId);    // everyone else
  return list;
}

std::vector<std::uint8_t> AttributeOf(const std::string& path, const char* name) {
  std::vector<std::uint8_t> value(4096);
  const ssize_t size = getxattr(path.c_str(), name, value.data(), value.size());
  value.resize(size < 0 ? 0 : static_cast<std::size_t>(size));
  return value;
}

mode_t ModeOf(const std::string& path) {
  struct stat status {};
  stat(path.c_str(), &status);
  return status.st_mode & 07777;
}

// The old file's access list and its other attributes go to the new file. Where the list cannot be
// set, the owning group must not gain through the mode what the list denied it: the mode's group
// permissions were the list's mask, and narrow to what the list gave that group.
TEST_P(FileReplacement, AnAccessListAndAttributesCarryOverOrTheFileIsNoMoreOpen) {
  const std::vector<std::uint8_t> list = RestrictingAccessList();
  constexpr char kComment[] = "shelf labels";
  for (const FileOutput& output : kFileOutputs) {
    testing::TempDir folder;
    const std::string path = folder.File("restricted");
    testing::WriteFileBytes(path, kOldBytes);
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    if (setxattr(path.c_str(), kAccessAcl, list.data(), list.size(), 0) != 0)
      GTEST_SKIP() << "no access lists here: " << std::strerror(errno);
    const bool comments = setxattr(path.c_str(), "user.comment", kComment, sizeof kComment, 0) == 0;

    ASSERT_EQ(output.save(path.c_str()), 1) << output.name;
    EXPECT_NE(testing::ReadFileBytes(path), kOldBytes) << output.name;
    EXPECT_EQ(AttributeOf(path, kAccessAcl), list) << output.name;
    EXPECT_EQ(ModeOf(path), 0640u) << output.name;
    if (comments) {
      EXPECT_EQ(AttributeOf(path, "user.comment").size(), sizeof kComment) << output.name;
    }

    accessListsRefused = true;
    ASSERT_EQ(output.save(path.c_str()), 1) << output.name;
    accessListsRefused = false;
    EXPECT_TRUE(AttributeOf(path, kAccessAcl).empty()) << output.name;
    EXPECT_EQ(ModeOf(path), 0600u) << output.name << ": the owning group had nothing";
  }
}

// A save killed at any moment leaves the folder with whole files under their own names. Saves run
// in a child that is killed after a random while, again and again, saving new files in one round
// and replacing a private file in the next. No call links a file over an existing name, so a
// replacement is linked under a temporary name for the instant before its rename, and a kill just
// then may leave that copy: it must be whole, and no more open than the file it was to replace.
TEST(FileReplacementKilled, AKilledSaveLeavesNothingButWholeFilesBehind) {
  testing::ResetLibrary();
  testing::TempDir folder;
  const std::string replaced = folder.File("label.bmp");
  ASSERT_EQ(VnSaveAsBMP(replaced.c_str()), 1);
  const std::size_t wholeSize = testing::ReadFileBytes(replaced).size();

  std::minstd_rand random(2026);
  std::uniform_int_distribution<int> wait(0, 2000);
  int stranded = 0, copies = 0, kills = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
  for (int round = 0; std::chrono::steady_clock::now() < deadline; ++round, ++kills) {
    const bool replacing = round % 2 == 1;
    ASSERT_EQ(chmod(replaced.c_str(), 0600), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) {
        VnSaveAsBMP(replacing ? replaced.c_str() : folder.File(std::to_string(round) + "-" + std::to_string(i) + ".bmp").c_str());
      }
    }
    usleep(static_cast<useconds_t>(wait(random)));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      const std::string name = entry.path().filename().string();
      const bool whole = entry.file_size() == wholeSize;
      if (entry.path() == replaced) {
        EXPECT_TRUE(whole && ModeOf(replaced) == 0600) << "round " << round;
        continue;
      }
      const bool saved = name.size() > 4 && name.substr(name.size() - 4) == ".bmp";
      if (replacing && !saved) {
        ++copies;
        EXPECT_TRUE(whole && (ModeOf(entry.path()) & 077) == 0) << "round " << round << ": " << name;
      } else if (!saved || !whole) {
        ++stranded;
      }
      std::filesystem::remove(entry.path());
    }
  }
  EXPECT_EQ(stranded, 0) << "after " << kills << " kills";
  RecordProperty("copiesLeftByKilledReplacements", copies);
}

}  // namespace
}  // namespace varnel
