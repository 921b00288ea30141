// Reads source lines the way the line reader of a C runtime does with a fixed
// limit: a longer line arrives in pieces. Buffered in large blocks for speed.
// Lines may end in LF or CR LF; either way a line arrives ending in LF alone.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

// What tells one version of an open text from another: a file's place on
// its device with its size and times of change, or a kept text's place in
// memory. Two openings with the same version read the same text, provided
// the version is settled: a file changed within the last seconds may change
// again within the grain of its file system's clock and keep its times.
struct TTextVersion {
  uint64_t Device = 0, Inode = 0, Size = 0;
  int64_t Modified = 0, Changed = 0;  // nanoseconds
  const void* Text = nullptr;
  bool Settled = false;
  bool operator==(const TTextVersion&) const = default;
};

class TSourceReader {
 public:
  TSourceReader() = default;
  ~TSourceReader() { Close(); }
  TSourceReader(const TSourceReader&) = delete;
  TSourceReader& operator=(const TSourceReader&) = delete;

  // Opens a regular file (the caller has found it one: a directory opens as a
  // stream on this system but never reads), to be read from the disk in every pass.
  bool Open(const std::string& path);
  // Reads from a text kept in memory: the text of a pipe or device, which can
  // be read only once.
  void OpenText(std::shared_ptr<const std::string> text);
  void Close();
  bool IsOpen() const { return Stream != nullptr || Text != nullptr; }
  void Rewind();
  // Reads at most limit - 1 bytes, up to and including a newline, into line,
  // terminated by a zero. Returns the number of bytes read, 0 at end of file.
  int ReadLine(char* line, int limit);
  // The next line, newline included, when it lies whole in the block read,
  // is at most limit bytes long and is what ReadLine would give: no zero
  // byte in it, no CR before its newline. Null otherwise. It stays unread
  // until Skip is given its length.
  const char* PeekLine(size_t limit, size_t& length) const {
    if (Pos >= End) return nullptr;
    // The block ends in a zero: one search finds the newline, a zero in the
    // line, or the end of the block.
    const char* end = strchrnul(Data + Pos, '\n');
    length = size_t(end - (Data + Pos)) + 1;
    if (*end != '\n' || length > limit || (length >= 2 && end[-1] == '\r')) return nullptr;
    return Data + Pos;
  }
  void Skip(size_t length) { Pos += length; }
  // The version of the text opened; false when it cannot be told.
  bool Version(TTextVersion& version) const;

 private:
  bool Fill();
  FILE* Stream = nullptr;
  std::unique_ptr<char[]> Buffer;
  std::shared_ptr<const std::string> Text;
  bool TextServed = false;
  const char* Data = nullptr;  // the block, followed by a zero
  size_t Pos = 0, End = 0;
};

// What kind of file a path names, so that a pipe or device is read once and
// kept, and a directory is refused.
enum class TPathKind { Missing, Directory, Regular, Stream };
TPathKind KindOfPath(const std::string& path);
// Reads a pipe or device to its end. False when it cannot be opened or read,
// or holds more than maxBytes (a device such as /dev/zero never ends).
bool ReadWholeStream(const std::string& path, size_t maxBytes, std::string& text);
