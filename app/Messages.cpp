#include "Messages.h"
#include "TextCompare.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

TOutputNames OutputNames(const std::string& mainFile) {
  if (mainFile.empty()) return {};
  size_t nameStart = mainFile.rfind('/');
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  size_t dot = mainFile.rfind('.');
  std::string stem = dot != std::string::npos && dot > nameStart ? mainFile.substr(0, dot) : mainFile;
  return {stem + ".LST", stem + ".HEX", stem + ".ERR"};
}

namespace {

// Longer lines are read to their end and counted as one line; only this much of one is kept,
// which is far beyond any path and message the engine writes.
constexpr size_t KeptLine = 4096;

// Reads one line (without its line end) into LINE; false at the end of the file.
bool ReadLine(std::FILE* f, std::string& line) {
  line.clear();
  int c;
  bool any = false;
  while ((c = std::fgetc(f)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (line.size() < KeptLine) line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return any;
}

// The editor addresses lines and columns with int: larger numbers stop there.
constexpr unsigned long MaxPosition = 2147483647ul;

// Digits at S[I..], at most MAX of them; DEF when there are none.
unsigned long Decimal(const std::string& s, size_t i, size_t max, unsigned long def) {
  unsigned long value = 0;
  size_t digits = 0;
  for (; i < s.size() && digits < max && std::isdigit(static_cast<unsigned char>(s[i])); ++i, ++digits)
    value = std::min(value * 10 + unsigned(s[i] - '0'), MaxPosition);
  return digits ? value : def;
}

uint32_t Position(unsigned long value) {
  // Lines and columns count from 1; a fatal error before any line names line 0.
  if (value == 0) return 1;
  return static_cast<uint32_t>(std::min(value, MaxPosition));
}

}  // namespace

TMessage ParseMessageLine(const std::string& text, int index) {
  std::string line = text;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  TMessage m;
  size_t close = line.find(')');
  if (close != std::string::npos) {
    // What follows "): " is the message, e.g. "Error 36 - Operand not in specified range".
    std::string part = close + 3 <= line.size() ? line.substr(close + 3) : std::string();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "Message #%d: ", index);
    m.StatusText = buffer + part + ".  <Ctrl+F1> for Help";
    // The two characters after "Error " hold the number; "7 " reads as 7.
    m.HelpContext = int(Decimal(part, 6, 2, 0)) + 100;
    m.HasText = true;
  }
  size_t open = line.find('(');
  if (open != std::string::npos) {
    m.HasFile = true;
    m.FileName = line.substr(0, open);
    m.Line = Position(Decimal(line, open + 1, 12, 1));
    size_t comma = line.find(',', open + 1);
    m.Column = comma == std::string::npos ? 1 : Position(Decimal(line, comma + 1, 12, 1));
  }
  return m;
}

bool StepMessage(const std::string& errorFile, uint16_t& index, int direction, TMessage& out) {
  if (direction > 0) {
    if (index < 65535) ++index;
  } else if (direction < 0) {
    if (index > 1) --index;
  }
  // Before the first message there is nothing to go back to: show message 1.
  if (index == 0) index = 1;
  out = TMessage();
  std::FILE* f = std::fopen(errorFile.c_str(), "r");
  if (!f) return false;
  std::string line, last;
  uint16_t count = 0;
  while (count < index && ReadLine(f, line)) {
    ++count;
    last.swap(line);
  }
  std::fclose(f);
  if (count == 0) {
    index = 0;
    return false;
  }
  // Past the end: the last line stands, under its own number.
  index = count;
  out = ParseMessageLine(last, index);
  return true;
}

namespace {

// Resolves COMPONENTS[from..] below DIR; the matched path in RESULT.
bool ResolveBelow(const fs::path& dir, const std::vector<std::string>& components, size_t from, fs::path& result,
                  int depth) {
  if (from == components.size()) {
    result = dir;
    return true;
  }
  if (depth > 256) return false;
  const std::string& name = components[from];
  bool last = from + 1 == components.size();
  std::error_code ec;
  auto usable = [&](const fs::path& p) {
    std::error_code e;
    return last ? fs::exists(p, e) : fs::is_directory(p, e);
  };
  if (name == "." || name == "..") return ResolveBelow(dir / name, components, from + 1, result, depth + 1);
  fs::path exact = dir / name;
  if (usable(exact) && ResolveBelow(exact, components, from + 1, result, depth + 1)) return true;
  std::vector<std::string> candidates;
  fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (entry != name && SameTextIgnoringCase(entry, name)) candidates.push_back(entry);
  }
  std::sort(candidates.begin(), candidates.end());
  for (const std::string& c : candidates) {
    fs::path p = dir / c;
    if (usable(p) && ResolveBelow(p, components, from + 1, result, depth + 1)) return true;
  }
  return false;
}

}  // namespace

std::string ResolvePathIgnoringCase(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  if (fs::exists(path, ec)) return path;
  std::vector<std::string> components;
  size_t i = path[0] == '/' ? 1 : 0;
  while (i <= path.size()) {
    size_t slash = path.find('/', i);
    if (slash == std::string::npos) slash = path.size();
    if (slash > i) components.push_back(path.substr(i, slash - i));
    i = slash + 1;
  }
  if (components.empty()) return path;
  fs::path result;
  if (!ResolveBelow(path[0] == '/' ? fs::path("/") : fs::path(), components, 0, result, 0)) return path;
  return result.string();
}
