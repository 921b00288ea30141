// Whole-file writes that keep the file's identity and never lose its text.
//
// Renaming a finished copy over the file is the safest way to replace it, but
// the copy is a new file: another name linked to the old one keeps the old
// text, the copy belongs to whoever writes it, and the directory must accept
// a new entry. So the rename is used only where none of that matters, and
// everywhere else the file itself is rewritten, with a backup of its old text
// taken first and used to put it back should the write fail.
#include "SafeWrite.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

using TMethod = TSafeWriteResult::TMethod;

constexpr std::size_t CopyBlock = 1 << 16;

std::string ErrorText(int error, const char* fallback) {
  return error ? std::strerror(error) : fallback;
}

// A file descriptor closed when it goes out of scope.
class TFd {
public:
  TFd() = default;
  explicit TFd(int fd) : Fd(fd) {}
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  TFd& operator=(TFd&& other) noexcept {
    if (this != &other) {
      Close();
      Fd = std::exchange(other.Fd, -1);
    }
    return *this;
  }
  ~TFd() { Close(); }
  int Get() const { return Fd; }
  explicit operator bool() const { return Fd >= 0; }
  // Closes now; a network file system may report a failed write only here.
  int Close() {
    int fd = std::exchange(Fd, -1);
    return fd < 0 || ::close(fd) == 0 ? 0 : errno;
  }

private:
  int Fd = -1;
};

// A file this module created, removed again unless it is kept.
class TOwnFile {
public:
  ~TOwnFile() {
    if (!Path.empty())
      ::unlink(Path.c_str());
  }
  void Set(const std::string& path) { Path = path; }
  void Keep() { Path.clear(); }
  const std::string& Name() const { return Path; }

private:
  std::string Path;
};

// Creates a file that did not exist: base + suffix + a number. Never opens
// an existing file or follows a link planted under the name.
int CreateExclusive(const std::string& base, const char* suffix, mode_t mode, TFd& fd, TOwnFile& made) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = base + suffix + std::to_string(attempt);
    int handle = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (handle >= 0) {
      fd = TFd(handle);
      made.Set(candidate);
      return 0;
    }
    if (errno != EEXIST)
      return errno;
  }
  return EEXIST;
}

// Writes all of bytes at offset, through interrupted and partial writes.
int WriteAt(int fd, std::string_view bytes, off_t offset) {
  while (!bytes.empty()) {
    ssize_t done = ::pwrite(fd, bytes.data(), bytes.size(), offset);
    if (done < 0) {
      if (errno == EINTR)
        continue;
      return errno;
    }
    // A write that takes nothing would be retried for ever.
    if (done == 0)
      return EIO;
    bytes.remove_prefix(static_cast<std::size_t>(done));
    offset += done;
  }
  return 0;
}

int SyncFile(int fd) {
  while (::fsync(fd) != 0)
    if (errno != EINTR)
      return errno;
  return 0;
}

// Copies everything from one open file into another from offset 0 on and
// cuts the destination to that length.
int CopyContents(int from, int to) {
  std::vector<char> block(CopyBlock);
  off_t size = 0;
  for (;;) {
    ssize_t got = ::pread(from, block.data(), block.size(), size);
    if (got < 0) {
      if (errno == EINTR)
        continue;
      return errno;
    }
    if (got == 0)
      break;
    if (int error = WriteAt(to, std::string_view(block.data(), static_cast<std::size_t>(got)), size))
      return error;
    size += got;
  }
  return ::ftruncate(to, size) == 0 ? 0 : errno;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The group a file created in dir gets: the directory's own where it passes
// its group on, else ours.
gid_t NewFileGroup(const fs::path& dir) {
  struct stat st;
  if (::stat(dir.c_str(), &st) == 0 && (st.st_mode & S_ISGID))
    return st.st_gid;
  return ::getegid();
}

// Makes a rename or a new entry in dir last through a crash; a failure here
// loses nothing that was written, so it is not reported.
void SyncDirectory(const fs::path& dir) {
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

class TWriter {
public:
  TWriter(std::string_view bytes, const TSafeWriteOptions& options, TSafeWriteResult& result)
      : Bytes(bytes), Options(options), Result(result) {}

  TSafeWriteResult& Write(const std::string& path);

private:
  enum class TOutcome { Done, Failed, NeedsInPlace };

  int Injected(TSafeWriteStep step) const { return Options.Fault ? Options.Fault(step) : 0; }
  void Fail(int error, const char* fallback) {
    Result.Ok = false;
    Result.Error = ErrorText(error, fallback);
  }
  int WriteText(int fd);
  TOutcome ReplaceByRename(const struct stat* before);
  void WriteInPlace(TFd& file, const struct stat& before);
  int MakeBackup(const struct stat& before, TOwnFile& backup);
  bool Restore(int fd, const std::string& backup);
  void KeepMode(const struct stat& before);

  std::string_view Bytes;
  const TSafeWriteOptions& Options;
  TSafeWriteResult& Result;
  fs::path Target;
  fs::path Dir;
};

// Writes the new text from offset 0 and cuts the file to its length. An
// existing file is overwritten before it is cut, so its blocks are reused and
// a full disk is met less often than after truncating first.
int TWriter::WriteText(int fd) {
  std::string_view bytes = Bytes;
  if (int error = Injected(TSafeWriteStep::WriteText)) {
    WriteAt(fd, bytes.substr(0, bytes.size() / 2), 0);
    return error;
  }
  if (int error = WriteAt(fd, bytes, 0))
    return error;
  if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
    return errno;
  if (int error = Injected(TSafeWriteStep::SyncText))
    return error;
  return SyncFile(fd);
}

TSafeWriteResult& TWriter::Write(const std::string& path) {
  if (path.empty()) {
    Fail(0, "the file has no name");
    return Result;
  }
  Target = path;
  std::error_code ec;
  // Through a symbolic link the file it names is written, not the link.
  if (fs::is_symlink(Target, ec)) {
    fs::path real = fs::weakly_canonical(Target, ec);
    if (!ec)
      Target = real;
  }
  Dir = Target.parent_path();
  if (Dir.empty())
    Dir = ".";

  struct stat before;
  if (::stat(Target.c_str(), &before) != 0) {
    if (errno != ENOENT) {
      Fail(errno, "the file cannot be examined");
      return Result;
    }
    Result.Method = TMethod::Replaced;
    ReplaceByRename(nullptr);
    return Result;
  }
  // Devices and pipes are not text files, and opening a pipe would wait.
  if (S_ISDIR(before.st_mode)) {
    Fail(0, "it is a directory");
    return Result;
  }
  if (!S_ISREG(before.st_mode)) {
    Fail(0, "it is not a regular file");
    return Result;
  }
  // A file we may not write stays unwritten, although its directory might
  // allow renaming over it. Opening it for writing changes nothing yet.
  TFd file(::open(Target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file) {
    Fail(errno, "the file cannot be written");
    return Result;
  }
  // What was opened is what will be written; the path may have changed.
  if (::fstat(file.Get(), &before) != 0 || !S_ISREG(before.st_mode)) {
    Fail(0, "it is not a regular file");
    return Result;
  }
  ::fcntl(file.Get(), F_SETFL, 0);

  const bool ours = before.st_nlink == 1 && before.st_uid == ::geteuid() && before.st_gid == NewFileGroup(Dir);
  if (ours) {
    Result.Method = TMethod::Replaced;
    if (ReplaceByRename(&before) != TOutcome::NeedsInPlace)
      return Result;
  }
  Result.Method = TMethod::InPlace;
  WriteInPlace(file, before);
  return Result;
}

// Writes a new file beside the target and renames it over the target. Gives
// up in favour of the in-place write, leaving the target alone, when the
// directory refuses the new file or the copy cannot get the target's owner,
// group and mode.
TWriter::TOutcome TWriter::ReplaceByRename(const struct stat* before) {
  TFd fd;
  TOwnFile temp;
  // Until it has its final mode the copy is readable only by us.
  if (int error = CreateExclusive(Target.string(), ".~tarn", before ? 0600 : 0666, fd, temp)) {
    if (before && (error == EACCES || error == EPERM || error == EROFS || error == ENAMETOOLONG))
      return TOutcome::NeedsInPlace;
    Fail(error, "cannot create a file in its directory");
    return TOutcome::Failed;
  }
  if (before) {
    struct stat made;
    if (::fstat(fd.Get(), &made) != 0)
      return TOutcome::NeedsInPlace;
    if ((made.st_uid != before->st_uid || made.st_gid != before->st_gid) &&
        ::fchown(fd.Get(), before->st_uid, before->st_gid) != 0)
      return TOutcome::NeedsInPlace;
  }
  if (int error = WriteText(fd.Get())) {
    Fail(error, "writing failed");
    return TOutcome::Failed;
  }
  // The mode is set after the owner and the text, both of which may clear
  // the set-user and set-group bits.
  if (before && ::fchmod(fd.Get(), before->st_mode & 07777) != 0)
    return TOutcome::NeedsInPlace;
  if (int error = fd.Close()) {
    Fail(error, "writing failed");
    return TOutcome::Failed;
  }
  if (::rename(temp.Name().c_str(), Target.c_str()) != 0) {
    Fail(errno, "the new text cannot take the file's place");
    return TOutcome::Failed;
  }
  temp.Keep();
  SyncDirectory(Dir);
  Result.Ok = true;
  return TOutcome::Done;
}

// Copies the old text to a new file beside the target or, when its directory
// takes no new file, in the backup directory; the copy is on the disk before
// the target is touched.
int TWriter::MakeBackup(const struct stat& before, TOwnFile& backup) {
  TFd source(::open(Target.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!source)
    return errno;
  struct stat now;
  if (::fstat(source.Get(), &now) != 0)
    return errno;
  if (!SameFile(now, before))
    return EBUSY;

  TFd copy;
  if (CreateExclusive(Target.string(), ".~tarnbak", 0600, copy, backup) != 0) {
    std::error_code ec;
    fs::path dir = Options.BackupDir.empty() ? fs::temp_directory_path(ec) : Options.BackupDir;
    if (ec)
      return ec.value();
    // The file's name leads, so the user recognises a backup that was kept.
    std::string name = Target.filename().string().substr(0, 160) + "." + std::to_string(::getpid());
    if (int error = CreateExclusive((dir / name).string(), ".~tarnbak", 0600, copy, backup))
      return error;
  }
  if (int error = Injected(TSafeWriteStep::Backup))
    return error;
  if (int error = CopyContents(source.Get(), copy.Get()))
    return error;
  if (int error = SyncFile(copy.Get()))
    return error;
  if (int error = copy.Close())
    return error;
  // A backup beside the target must outlast a crash as a directory entry too.
  SyncDirectory(fs::path(backup.Name()).parent_path());
  return 0;
}

// Puts the old text back from the backup; true when the file holds it again.
bool TWriter::Restore(int fd, const std::string& backup) {
  if (Injected(TSafeWriteStep::Restore))
    return false;
  TFd source(::open(backup.c_str(), O_RDONLY | O_CLOEXEC));
  if (!source)
    return false;
  return CopyContents(source.Get(), fd) == 0 && SyncFile(fd) == 0;
}

// Writing as someone other than the owner clears the set-user and set-group
// bits; they are put back where we may.
void TWriter::KeepMode(const struct stat& before) {
  struct stat after;
  if (::stat(Target.c_str(), &after) == 0 && SameFile(after, before) &&
      (after.st_mode & 07777) != (before.st_mode & 07777))
    ::chmod(Target.c_str(), before.st_mode & 07777);
}

// Rewrites the file itself, so its links, owner, group, mode and everything
// else about it stay; only its text changes.
void TWriter::WriteInPlace(TFd& file, const struct stat& before) {
  TOwnFile backup;
  if (int error = MakeBackup(before, backup)) {
    Result.Error = "no backup of the old text can be made (" + ErrorText(error, "unknown cause") + ")";
    return;
  }

  int error = WriteText(file.Get());
  if (error == 0)
    error = file.Close();
  if (error == 0) {
    KeepMode(before);
    Result.Ok = true;
    return;
  }

  Fail(error, "writing failed");
  // The descriptor is gone after a failed close; open the file again, but
  // only if it is still the same file.
  int fd = file.Get();
  TFd reopened(fd < 0 ? ::open(Target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC) : -1);
  struct stat now;
  if (reopened && ::fstat(reopened.Get(), &now) == 0 && SameFile(now, before))
    fd = reopened.Get();
  if (fd >= 0 && Restore(fd, backup.Name())) {
    KeepMode(before);
    return;
  }
  // The old text now lives only in the backup, which therefore stays.
  Result.OriginalIntact = false;
  Result.Backup = backup.Name();
  backup.Keep();
}

}  // namespace

TSafeWriteResult WriteFileKeepingIdentity(const std::string& path, std::string_view bytes,
                                          const TSafeWriteOptions& options) {
  TSafeWriteResult result;
  TWriter(bytes, options, result).Write(path);
  return result;
}
