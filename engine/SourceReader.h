// Reads source lines the way the line reader of a C runtime does with a fixed
// limit: a longer line arrives in pieces. Buffered in large blocks for speed.
#pragma once
#include <cstdio>
#include <memory>
#include <string>

class TSourceReader {
 public:
  TSourceReader() = default;
  ~TSourceReader() { Close(); }
  TSourceReader(const TSourceReader&) = delete;
  TSourceReader& operator=(const TSourceReader&) = delete;

  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return Stream != nullptr; }
  void Rewind();
  // Reads at most limit - 1 bytes, up to and including a newline, into line,
  // terminated by a zero. Returns the number of bytes read, 0 at end of file.
  int ReadLine(char* line, int limit);

 private:
  bool Fill();
  FILE* Stream = nullptr;
  std::unique_ptr<char[]> Buffer;
  size_t Pos = 0, End = 0;
};
