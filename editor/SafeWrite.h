// Writing a whole file so that a failure never loses what was there, and
// success leaves the file the same file: same links, owner, group and mode.
//
// A file that is ours alone (one link, our owner and group, a directory we
// may write) is replaced by a finished copy renamed over it, which is atomic.
// Any other file is written in place after its old text has been copied to a
// backup; should the write fail, the old text is put back from the backup.
// Plain POSIX and C++; the editor and the settings file both write through it.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// The steps a test can make fail (see TSafeWriteOptions::Fault).
enum class TSafeWriteStep {
  Backup,      // copying the old text aside
  WriteText,   // writing the new text (after half of it has been written)
  SyncText,    // flushing the new text to the disk
  Restore,     // putting the old text back after a failed write
};

struct TSafeWriteOptions {
  // Where a backup goes when the file's own directory cannot hold one; empty
  // means the system's temporary directory.
  std::filesystem::path BackupDir;
  // Test seam: asked before each step; a nonzero errno makes the step fail
  // with it, as if the system had refused.
  std::function<int(TSafeWriteStep)> Fault;
};

struct TSafeWriteResult {
  enum class TMethod { None, Replaced, InPlace };

  bool Ok = false;
  // How the text was (or would have been) written.
  TMethod Method = TMethod::None;
  // Why the write failed, in words for the user.
  std::string Error;
  // After a failure: false only when the file's old text could not be put
  // back; it is then kept whole in Backup.
  bool OriginalIntact = true;
  std::string Backup;
};

// Writes bytes as the whole contents of path, creating the file when it does
// not exist. A symbolic link is followed: the file it names is written and
// the link stays. Directories, devices and pipes are refused untouched.
TSafeWriteResult WriteFileKeepingIdentity(const std::string& path, std::string_view bytes,
                                          const TSafeWriteOptions& options = {});
