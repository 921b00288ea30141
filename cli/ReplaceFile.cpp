#include "ReplaceFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

bool Fail(std::string& reason) {
  reason = std::strerror(errno);
  return false;
}

}  // namespace

bool ReplaceFile(const std::string& path, const std::string& text, std::string& reason) {
  struct stat st;
  bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    reason = std::strerror(EISDIR);
    return false;
  }
  if (exists && !S_ISREG(st.st_mode)) {
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return Fail(reason);
    bool ok = WriteAll(fd, text);
    int error = errno;
    if (::close(fd) != 0 && ok) return Fail(reason);
    errno = error;
    return ok || Fail(reason);
  }
  // A link is replaced by way of the file it names, so that it stays a link.
  std::string target = path;
  struct stat link;
  if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode) && exists) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved)) target = resolved;
  }
  size_t slash = target.find_last_of('/');
  std::string dir = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temporary = dir + "." + base + ".XXXXXX";
  int fd = ::mkstemp(temporary.data());
  if (fd < 0) return Fail(reason);
  // mkstemp makes the file private; the finished file gets the mode a new
  // file would get, or keeps the one the old file had.
  mode_t mode;
  if (exists) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, text);
  int error = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  // No sync to the disk: the next run writes the file again; what matters is
  // that make, ninja or a debugger never reads half of one.
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    errno = error;
    return Fail(reason);
  }
  return true;
}
