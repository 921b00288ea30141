// Whole-file writes that keep the file's identity: which files are replaced
// by rename and which are rewritten in place, that links, owner, group and
// mode survive, that no temporary file or backup is left, and that a failed
// write leaves the old text on disk or in a backup.
#include "EditTestSupport.h"
#include "SafeWrite.h"

#include <grp.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using TMethod = TSafeWriteResult::TMethod;

// The unprivileged account files are given to, and dropped to, as root.
constexpr uid_t Nobody = 65534;
constexpr gid_t NoGroup = 65534;

const std::string OldText = "old text\r\n";
const std::string NewText = "MOV A,B\r\nNOP\r\nnew text, longer than before\r\n";

struct stat StatOf(const fs::path& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st;
}

std::set<std::string> Entries(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    names.insert(entry.path().filename().string());
  return names;
}

// Backups that cannot go beside the file go to a private directory of the
// test's own, so a stray backup shows up there.
class TSafeWriteTest : public TTempDirTest {
protected:
  void SetUp() override {
    TTempDirTest::SetUp();
    Backups = Dir / "backups";
    fs::create_directory(Backups);
    Options.BackupDir = Backups;
  }
  // Nothing but the given names in the test directory, no backup anywhere.
  void ExpectNoLeftovers(const fs::path& dir, std::set<std::string> expected) {
    if (dir == Dir)
      expected.insert("backups");
    EXPECT_EQ(Entries(dir), expected) << "no temporary file or backup is left in " << dir;
    EXPECT_TRUE(Entries(Backups).empty()) << "no backup is left in the backup directory";
  }

  fs::path Backups;
  TSafeWriteOptions Options;
};

// How a file stands before it is written; Prepare may add links and owners.
struct TIdentityCase {
  const char* Name;
  fs::perms Mode;
  bool NeedsRoot;
  void (*Prepare)(const fs::path& dir, const fs::path& file);
  TMethod Method;
  // The name written to, when it is not the file itself.
  const char* WrittenName = nullptr;
};

void Plain(const fs::path&, const fs::path&) {}
void HardLinked(const fs::path& dir, const fs::path& file) { fs::create_hard_link(file, dir / "other-name.asm"); }
void OwnedByNobody(const fs::path&, const fs::path& file) { ASSERT_EQ(::chown(file.c_str(), Nobody, NoGroup), 0); }
void OtherGroup(const fs::path&, const fs::path& file) { ASSERT_EQ(::chown(file.c_str(), 0, NoGroup), 0); }
// A directory that passes its group on: a new file there gets the same group
// as the file has, so replacing it keeps the group.
void GroupFromDirectory(const fs::path& dir, const fs::path& file) {
  ASSERT_EQ(::chown(dir.c_str(), ::geteuid(), NoGroup), 0);
  ASSERT_EQ(::chmod(dir.c_str(), 02755), 0);
  ASSERT_EQ(::chown(file.c_str(), ::geteuid(), NoGroup), 0);
}
void SymbolicLink(const fs::path& dir, const fs::path& file) { fs::create_symlink(file.filename(), dir / "link.asm"); }
void SymbolicLinkToLinked(const fs::path& dir, const fs::path& file) { SymbolicLink(dir, file); HardLinked(dir, file); }

class TIdentityTest : public TSafeWriteTest, public ::testing::WithParamInterface<TIdentityCase> {};

TEST_P(TIdentityTest, WritesTheTextAndKeepsTheFile) {
  const TIdentityCase& c = GetParam();
  if (c.NeedsRoot && ::geteuid() != 0)
    GTEST_SKIP() << "giving a file to another owner or group needs the superuser";
  fs::path file = Dir / "file.asm";
  WriteBytes(file, OldText);
  fs::permissions(file, c.Mode);
  c.Prepare(Dir, file);
  if (HasFatalFailure())
    return;
  struct stat before = StatOf(file);
  std::set<std::string> names = Entries(Dir);
  names.erase("backups");

  fs::path written = c.WrittenName ? Dir / c.WrittenName : file;
  TSafeWriteResult result = WriteFileKeepingIdentity(written.string(), NewText, Options);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(result.Method, c.Method);
  EXPECT_EQ(ReadBytes(file), NewText);
  struct stat after = StatOf(file);
  EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_EQ(after.st_nlink, before.st_nlink);
  if (c.Method == TMethod::InPlace) {
    EXPECT_EQ(after.st_ino, before.st_ino) << "written in place, the file stays the same file";
  }
  if (fs::exists(Dir / "other-name.asm")) {
    EXPECT_EQ(ReadBytes(Dir / "other-name.asm"), NewText) << "every name of the file sees the new text";
  }
  if (c.WrittenName) {
    EXPECT_TRUE(fs::is_symlink(written)) << "the link stays a link";
  }
  ExpectNoLeftovers(Dir, names);
}

constexpr fs::perms Mode0644{0644}, Mode0640{0640}, Mode0755{0755};

INSTANTIATE_TEST_SUITE_P(
    Files, TIdentityTest,
    ::testing::Values(
        TIdentityCase{"OwnFileIsReplaced", Mode0644, false, Plain, TMethod::Replaced},
        TIdentityCase{"Mode0640Kept", Mode0640, false, Plain, TMethod::Replaced},
        TIdentityCase{"Mode0755Kept", Mode0755, false, Plain, TMethod::Replaced},
        TIdentityCase{"HardLinkedFileIsWrittenInPlace", Mode0644, false, HardLinked, TMethod::InPlace},
        TIdentityCase{"HardLinkedKeeps0640", Mode0640, false, HardLinked, TMethod::InPlace},
        TIdentityCase{"HardLinkedKeeps0755", Mode0755, false, HardLinked, TMethod::InPlace},
        TIdentityCase{"OtherOwnerKept", Mode0640, true, OwnedByNobody, TMethod::InPlace},
        TIdentityCase{"OtherGroupKept", Mode0640, true, OtherGroup, TMethod::InPlace},
        TIdentityCase{"GroupOfASetGroupDirectory", Mode0640, true, GroupFromDirectory, TMethod::Replaced},
        TIdentityCase{"ThroughASymbolicLink", Mode0644, false, SymbolicLink, TMethod::Replaced, "link.asm"},
        TIdentityCase{"ThroughASymbolicLinkToALinkedFile", Mode0644, false, SymbolicLinkToLinked, TMethod::InPlace,
                      "link.asm"}),
    CaseName);

TEST_F(TSafeWriteTest, NewFileGetsTheUsualMode) {
  mode_t saved = ::umask(022);
  fs::path file = Dir / "new.asm";
  TSafeWriteResult result = WriteFileKeepingIdentity(file.string(), NewText, Options);
  ::umask(saved);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(ReadBytes(file), NewText);
  EXPECT_EQ(StatOf(file).st_mode & 07777, 0644u);
  ExpectNoLeftovers(Dir, {"new.asm"});
}

// Failures made at each step, for both ways of writing: the old text stays
// in the file (or, when even putting it back fails, in a backup that is kept
// and named), and nothing else is left behind.
struct TFailureCase {
  const char* Name;
  bool Linked;  // a second name makes the write go in place
  std::set<TSafeWriteStep> Failing;
  bool OriginalIntact;
  const char* ErrorStart;
};

class TFailureTest : public TSafeWriteTest, public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(TFailureTest, OldTextSurvives) {
  const TFailureCase& c = GetParam();
  fs::path file = Dir / "file.asm";
  WriteBytes(file, OldText);
  fs::permissions(file, Mode0640);
  if (c.Linked)
    HardLinked(Dir, file);
  struct stat before = StatOf(file);
  Options.Fault = [&](TSafeWriteStep step) { return c.Failing.count(step) ? EIO : 0; };

  TSafeWriteResult result = WriteFileKeepingIdentity(file.string(), NewText, Options);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Method, c.Linked ? TMethod::InPlace : TMethod::Replaced);
  EXPECT_EQ(result.Error.rfind(c.ErrorStart, 0), 0u) << result.Error;
  EXPECT_EQ(result.OriginalIntact, c.OriginalIntact);
  struct stat after = StatOf(file);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);

  std::set<std::string> names = {"file.asm"};
  if (c.Linked)
    names.insert("other-name.asm");
  EXPECT_EQ(result.Backup.empty(), c.OriginalIntact);
  if (!c.OriginalIntact) {
    EXPECT_EQ(fs::path(result.Backup).parent_path(), Dir) << "a writable directory holds the backup";
    names.insert(fs::path(result.Backup).filename().string());
  }
  EXPECT_EQ(ReadBytes(c.OriginalIntact ? file : fs::path(result.Backup)), OldText);
  ExpectNoLeftovers(Dir, names);
}

using S = TSafeWriteStep;
INSTANTIATE_TEST_SUITE_P(
    Steps, TFailureTest,
    ::testing::Values(
        TFailureCase{"ReplacedWriteFails", false, {S::WriteText}, true, "Input/output error"},
        TFailureCase{"ReplacedSyncFails", false, {S::SyncText}, true, "Input/output error"},
        TFailureCase{"BackupFails", true, {S::Backup}, true, "no backup of the old text can be made"},
        TFailureCase{"InPlaceWriteFailsAndIsUndone", true, {S::WriteText}, true, "Input/output error"},
        TFailureCase{"InPlaceSyncFailsAndIsUndone", true, {S::SyncText}, true, "Input/output error"},
        TFailureCase{"RestoreFailsTooAndTheBackupStays", true, {S::WriteText, S::Restore}, false,
                     "Input/output error"}),
    CaseName);

// A real failure rather than a made one: the file size limit stops the write
// part way, after the file has been partly overwritten.
TEST_F(TSafeWriteTest, InPlaceWriteStoppedBySizeLimitPutsTheOldTextBack) {
  fs::path file = Dir / "file.asm";
  WriteBytes(file, OldText);
  HardLinked(Dir, file);
  TSafeWriteResult result =
      WithFileSizeLimit(4096, [&] { return WriteFileKeepingIdentity(file.string(), std::string(100000, 'x'), Options); });
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Method, TMethod::InPlace);
  EXPECT_TRUE(result.OriginalIntact);
  EXPECT_EQ(ReadBytes(file), OldText);
  EXPECT_EQ(ReadBytes(Dir / "other-name.asm"), OldText);
  ExpectNoLeftovers(Dir, {"file.asm", "other-name.asm"});
}

// A name too long for a temporary name beside it: neither the copy for the
// rename nor a backup fits in the directory, so the file is written in place
// with its backup in the backup directory, which is where it stays when the
// old text cannot be put back.
TEST_F(TSafeWriteTest, BackupGoesToTheBackupDirectoryWhenTheFileDirectoryTakesNone) {
  fs::path file = Dir / std::string(250, 'n');
  WriteBytes(file, OldText);
  TSafeWriteResult result = WriteFileKeepingIdentity(file.string(), NewText, Options);
  ASSERT_TRUE(result.Ok) << result.Error;
  EXPECT_EQ(result.Method, TMethod::InPlace);
  EXPECT_EQ(ReadBytes(file), NewText);
  ExpectNoLeftovers(Dir, {file.filename().string()});

  Options.Fault = [](TSafeWriteStep step) { return step == S::WriteText || step == S::Restore ? EIO : 0; };
  result = WriteFileKeepingIdentity(file.string(), OldText, Options);
  EXPECT_FALSE(result.Ok);
  EXPECT_FALSE(result.OriginalIntact);
  EXPECT_EQ(fs::path(result.Backup).parent_path(), Backups);
  EXPECT_EQ(ReadBytes(result.Backup), NewText);
}

// Writes file as the unprivileged account (as root, in a child that drops to
// it); the exit status says how it went: 0 written in place, 77 the account
// could not be taken, anything else a failed or wrong write.
int WriteAs(bool dropPrivileges, const fs::path& file, const TSafeWriteOptions& options) {
  pid_t child = ::fork();
  if (child < 0)
    return -1;
  if (child == 0) {
    if (dropPrivileges && (::setgroups(0, nullptr) != 0 || ::setresgid(NoGroup, NoGroup, NoGroup) != 0 ||
                           ::setresuid(Nobody, Nobody, Nobody) != 0))
      ::_exit(77);
    TSafeWriteResult result = WriteFileKeepingIdentity(file.string(), NewText, options);
    ::_exit(!result.Ok ? 1 : result.Method != TMethod::InPlace ? 2 : 0);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0)
    if (errno != EINTR)
      return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A file its user may write in a directory the user may not: the rename is
// impossible, a plain write is not, and the backup goes to the backup
// directory.
TEST_F(TSafeWriteTest, WritableFileInAReadOnlyDirectoryIsWrittenInPlace) {
  const bool root = ::geteuid() == 0;
  fs::path locked = Dir / "locked";
  fs::create_directory(locked);
  fs::path file = locked / "file.asm";
  WriteBytes(file, OldText);
  if (root) {
    // The unprivileged account reaches the test directory, owns the file and
    // the backup directory, and cannot write into the locked directory.
    fs::permissions(Dir, Mode0755);
    ASSERT_EQ(::chown(file.c_str(), Nobody, NoGroup), 0);
    ASSERT_EQ(::chown(Backups.c_str(), Nobody, NoGroup), 0);
  }
  fs::permissions(locked, fs::perms(0555));
  struct stat before = StatOf(file);

  int status = WriteAs(root, file, Options);
  if (status == 77)
    GTEST_SKIP() << "the superuser cannot take on uid/gid " << Nobody << " here to meet a read-only directory";
  EXPECT_EQ(status, 0) << "1: the write failed, 2: it was not written in place";
  EXPECT_EQ(ReadBytes(file), NewText);
  struct stat after = StatOf(file);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
  ExpectNoLeftovers(locked, {"file.asm"});
}

}  // namespace
