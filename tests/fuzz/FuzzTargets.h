// The fuzz targets, each one input in and checks that abort on a fault. The
// libFuzzer programs and the corpus test in the ordinary build call the same
// functions, so a saved reproducer fails there exactly as it did here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// The engine on a main source, optionally a CPU table (t.tbl) and an include
// file (i.inc): the parts are separated by lines of "=====".
int FuzzEngineOne(const uint8_t* data, size_t size);
// The editor's text model on an initial text and a script of edits.
int FuzzEditorOne(const uint8_t* data, size_t size);
// The settings file on arbitrary file contents and a script of reads and writes.
int FuzzProfileOne(const uint8_t* data, size_t size);

// A broken invariant: say which and where, then abort so that libFuzzer keeps
// the input (and the corpus test fails on it).
[[noreturn]] inline void FuzzFailure(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}
#define FUZZ_CHECK(condition) \
  do { if (!(condition)) FuzzFailure(__FILE__, __LINE__, #condition); } while (0)

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Splits an input at lines that hold exactly "=====" (the marker lines are
// dropped; a part keeps the line break that ended its last line).
inline std::vector<std::string_view> SplitAtMarkers(std::string_view input, size_t maxParts) {
  std::vector<std::string_view> parts;
  size_t partStart = 0, lineStart = 0;
  while (lineStart <= input.size() && parts.size() + 1 < maxParts) {
    size_t lineEnd = input.find('\n', lineStart);
    std::string_view line =
        input.substr(lineStart, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd - lineStart);
    if (line == "=====" || line == "=====\r") {
      parts.push_back(input.substr(partStart, lineStart - partStart));
      partStart = lineEnd == std::string_view::npos ? input.size() : lineEnd + 1;
    }
    if (lineEnd == std::string_view::npos) break;
    lineStart = lineEnd + 1;
  }
  parts.push_back(input.substr(partStart));
  return parts;
}

// Calls run on each line of a script, without its line break.
template <class F> void ForEachLine(std::string_view script, F run) {
  for (size_t from = 0; from < script.size();) {
    size_t lf = script.find('\n', from);
    if (lf == std::string_view::npos) lf = script.size();
    run(script.substr(from, lf - from));
    from = lf + 1;
  }
}

inline int HexDigit(char c) {
  return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Script text with \n \r \t \0 \\ and \xHH escapes, so that a command line
// can carry any byte.
inline std::string Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\\' || i + 1 == text.size()) {
      out += c;
      continue;
    }
    char e = text[++i];
    if (e == 'x' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      out += char(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else out += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e == '0' ? '\0' : e;
  }
  return out;
}

inline bool WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  return out.write(bytes.data(), std::streamsize(bytes.size())).flush().good();
}

// The file's bytes; "" when it cannot be opened (then *exists is false).
inline std::string ReadFile(const std::string& path, bool* exists = nullptr) {
  std::ifstream in(path, std::ios::binary);
  if (exists) *exists = in.is_open();
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh directory under TMPDIR per input, removed afterwards whatever was
// left in it. Path is empty when none could be made.
class TRunDir {
 public:
  TRunDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tarn-fuzz-XXXXXX";
    if (mkdtemp(pattern.data())) Path = pattern;
  }
  ~TRunDir() {
    if (Path.empty()) return;
    std::error_code ec;
    std::filesystem::permissions(Path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(Path, ec);
  }
  std::string Path;
};
