#include "SourceReader.h"

#include <cstring>
#include <ctime>
#include <sys/stat.h>

namespace { constexpr size_t BlockSize = 1 << 16; }

TPathKind KindOfPath(const std::string& path) {
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) return TPathKind::Missing;
  if (S_ISDIR(st.st_mode)) return TPathKind::Directory;
  return S_ISREG(st.st_mode) ? TPathKind::Regular : TPathKind::Stream;
}

bool ReadWholeStream(const std::string& path, size_t maxBytes, std::string& text) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  text.clear();
  std::unique_ptr<char[]> block(new char[BlockSize]);
  bool ok = true;
  for (;;) {
    size_t got = std::fread(block.get(), 1, BlockSize, f);
    if (text.size() + got > maxBytes) {
      ok = false;
      break;
    }
    text.append(block.get(), got);
    if (got < BlockSize) {
      ok = !std::ferror(f);
      break;
    }
  }
  std::fclose(f);
  return ok;
}

bool TSourceReader::Open(const std::string& path) {
  Close();
  Stream = std::fopen(path.c_str(), "rb");
  if (!Stream) return false;
  if (!Buffer) Buffer.reset(new char[BlockSize + 1]);
  Data = Buffer.get();
  Pos = End = 0;
  return true;
}

void TSourceReader::OpenText(std::shared_ptr<const std::string> text) {
  Close();
  Text = std::move(text);
  TextServed = false;
}

bool TSourceReader::Version(TTextVersion& version) const {
  version = TTextVersion{};
  if (Text) {
    version.Text = Text.get();
    version.Settled = true;
    return true;
  }
  struct stat st;
  if (!Stream || fstat(fileno(Stream), &st) != 0) return false;
  version.Device = uint64_t(st.st_dev);
  version.Inode = uint64_t(st.st_ino);
  version.Size = uint64_t(st.st_size);
  version.Modified = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  version.Changed = int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  // Two seconds cover the coarsest common grain (FAT's).
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  version.Settled = version.Modified < (int64_t(now.tv_sec) - 2) * 1000000000 + now.tv_nsec;
  return true;
}

void TSourceReader::Close() {
  if (Stream) std::fclose(Stream);
  Stream = nullptr;
  Text.reset();
  Pos = End = 0;
}

void TSourceReader::Rewind() {
  if (Stream) std::rewind(Stream);
  TextServed = false;
  Pos = End = 0;
}

bool TSourceReader::Fill() {
  Pos = 0;
  if (Text) {
    // The whole text is one block.
    End = TextServed ? 0 : Text->size();
    Data = Text->data();
    TextServed = true;
    return End > 0;
  }
  if (!Stream) return false;
  End = std::fread(Buffer.get(), 1, BlockSize, Stream);
  Buffer[End] = '\0';
  return End > 0;
}

int TSourceReader::ReadLine(char* line, int limit) {
  int n = 0;
  while (n < limit - 1) {
    if (Pos == End && !Fill()) break;
    const char* start = Data + Pos;
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
  // A CR before the LF belongs to the line end, as when a text file is read on
  // a system whose lines end in CR LF: the line and its columns are those of
  // the same text with LF alone.
  if (n >= 1 && line[n - 1] == '\r') {
    if (Pos == End) Fill();
    if (Pos < End && Data[Pos] == '\n') {
      ++Pos;
      line[n - 1] = '\n';
    }
  } else if (n >= 2 && line[n - 1] == '\n' && line[n - 2] == '\r') {
    line[n - 2] = '\n';
    --n;
  }
  line[n] = '\0';
  return n;
}
