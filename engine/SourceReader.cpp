#include "SourceReader.h"

#include <cstring>
#include <sys/stat.h>

namespace { constexpr size_t BlockSize = 1 << 16; }

bool TSourceReader::Open(const std::string& path) {
  Close();
  // A directory opens as a stream on this system but never reads: refuse it here.
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  Stream = std::fopen(path.c_str(), "rb");
  if (!Stream) return false;
  if (!Buffer) Buffer.reset(new char[BlockSize]);
  Pos = End = 0;
  return true;
}

void TSourceReader::Close() {
  if (Stream) std::fclose(Stream);
  Stream = nullptr;
  Pos = End = 0;
}

void TSourceReader::Rewind() {
  if (!Stream) return;
  std::rewind(Stream);
  Pos = End = 0;
}

bool TSourceReader::Fill() {
  if (!Stream) return false;
  End = std::fread(Buffer.get(), 1, BlockSize, Stream);
  Pos = 0;
  return End > 0;
}

int TSourceReader::ReadLine(char* line, int limit) {
  int n = 0;
  while (n < limit - 1) {
    if (Pos == End && !Fill()) break;
    const char* start = Buffer.get() + Pos;
    size_t avail = End - Pos;
    size_t room = size_t(limit - 1 - n);
    size_t take = avail < room ? avail : room;
    const void* nl = std::memchr(start, '\n', take);
    if (nl) take = size_t(static_cast<const char*>(nl) - start) + 1;
    std::memcpy(line + n, start, take);
    n += int(take);
    Pos += take;
    if (nl) break;
  }
  line[n] = '\0';
  return n;
}
