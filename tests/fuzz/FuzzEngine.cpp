// The engine on one input: a main source, then optionally a CPU table and an
// include file, separated by lines of "=====". Each input is assembled by the
// fast path and by the plain algorithms, which must write the same files. The
// parts become main.asm, t.tbl and i.inc in a directory of their own, which
// the source names as written (CPU "t.tbl", INCL "i.inc"); the run happens
// from inside that directory so that relative names resolve there only.
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <unistd.h>

#include "FuzzTargets.h"
#include "Tarn.h"

namespace fs = std::filesystem;

namespace {

// Back to the previous working directory however the run ends.
class TWorkingDir {
 public:
  explicit TWorkingDir(const std::string& dir) {
    if (getcwd(Previous, sizeof Previous)) Entered = chdir(dir.c_str()) == 0;
  }
  ~TWorkingDir() {
    if (Entered) FUZZ_CHECK(chdir(Previous) == 0);
  }
  bool Entered = false;

 private:
  char Previous[4096] = "";
};

// Every record of a text object file holds together: an Intel record carries
// its data length and sums to 0, a Motorola record carries its byte count and
// sums to FF. Raw binary output (which any of the BIN formats may have mixed
// in) could look like anything, so a file with a line of another shape is not
// looked at.
void CheckObjectRecords(const std::string& text) {
  std::vector<std::pair<char, std::vector<uint8_t>>> records;  // kind, bytes
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) return;
    std::string_view line(text.data() + at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() < 2 || (line[0] != ':' && line[0] != 'S')) return;
    size_t from = line[0] == ':' ? 1 : 2;
    if (from == 2 && (line[1] < '0' || line[1] > '9')) return;
    if ((line.size() - from) % 2 != 0) return;
    auto& [kind, bytes] = records.emplace_back(line[0], std::vector<uint8_t>());
    for (size_t i = from; i < line.size(); i += 2) {
      int high = HexDigit(line[i]), low = HexDigit(line[i + 1]);
      if (high < 0 || low < 0) return;
      bytes.push_back(uint8_t(high * 16 + low));
    }
  }
  for (const auto& [kind, bytes] : records) {
    unsigned sum = 0;
    for (uint8_t b : bytes) sum += b;
    if (kind == ':') FUZZ_CHECK(bytes.size() >= 5 && bytes[0] == bytes.size() - 5 && sum % 256 == 0);
    else FUZZ_CHECK(bytes.size() >= 2 && bytes[0] == bytes.size() - 1 && sum % 256 == 0xFF);
  }
}

bool MentionsBinaryFormat(std::string_view input) {
  for (size_t i = 0; i + 3 <= input.size(); ++i)
    if ((input[i] | 0x20) == 'b' && (input[i + 1] | 0x20) == 'i' && (input[i + 2] | 0x20) == 'n') return true;
  return false;
}

}  // namespace

int FuzzEngineOne(const uint8_t* data, size_t size) {
  // The listing's date line stays the same from run to run.
  [[maybe_unused]] static const bool dateFixed = setenv("SOURCE_DATE_EPOCH", "0", 1) == 0;
  std::vector<std::string_view> parts = SplitAtMarkers(AsText(data, size), 3);

  TRunDir dir;
  if (dir.Path.empty()) return 0;  // no room for a run: nothing to learn from this input
  static const char* const Names[] = {"main.asm", "t.tbl", "i.inc"};
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string path = dir.Path + "/" + Names[i];
    if (!WriteFile(path, parts[i])) return 0;
    // Half the inputs as files in use (an hour old: later passes know their
    // lines by place), half as files just written (known by their text).
    std::error_code ec;
    if (size % 2 == 0) fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(1), ec);
  }
  TWorkingDir inside(dir.Path);
  if (!inside.Entered) return 0;

  // The files of the fast path first, then of the plain algorithms (no
  // caches, no compiled table, every pass's output produced): they must agree.
  static const char* const Outputs[] = {"out.lst", "out.hex", "out.err"};
  std::string files[2][3];
  uint16_t errorCounts[2] = {};
  int passCounts[2] = {};
  for (int plain = 0; plain < 2; ++plain) {
    std::error_code ec;
    for (const char* output : Outputs) fs::remove(dir.Path + "/" + output, ec);
    auto tarn = std::make_unique<TTarn>();
    tarn->PlainAlgorithms = plain == 1;
    size_t reported = 0;         // errors of the pass under way, as the caller hears of them
    bool missedTheFile = false;  // an error came while no error file was open
    tarn->OnError = [&](const TDiagnostic& d) {
      if (d.Number == 0) {
        reported = 0;
        missedTheFile = false;
        return;
      }
      FUZZ_CHECK(d.Number > 0 && d.Number < MessageCount);
      ++reported;
      if (!tarn->ErrorFile.IsFile) missedTheFile = true;
    };
    uint16_t errors = tarn->Assemble("main.asm", Outputs[0], Outputs[1], Outputs[2]);
    int passes = tarn->PassesRun();
    tarn.reset();  // closes whatever the run left open before the files are read

    // The count returned is the last pass's, stopping at 65535 rather than wrapping.
    FUZZ_CHECK(errors == (reported < 65535 ? reported : 65535));
    FUZZ_CHECK(passes >= 1 && passes <= 5);
    for (int k = 0; k < 3; ++k) files[plain][k] = ReadFile(dir.Path + "/" + Outputs[k]);
    errorCounts[plain] = errors;
    passCounts[plain] = passes;
    // Every error of the last pass is one line of the error file.
    if (plain == 0 && !missedTheFile && reported < 65535) {
      const std::string& text = files[0][2];
      FUZZ_CHECK(text.empty() || text.back() == '\n');
      size_t lines = 0;
      ForEachLine(text, [&](std::string_view line) {
        FUZZ_CHECK(line.find("): Error ") != std::string_view::npos);
        ++lines;
      });
      FUZZ_CHECK(lines == reported);
    }
  }
  for (int k = 0; k < 3; ++k) FUZZ_CHECK(files[0][k] == files[1][k]);
  FUZZ_CHECK(errorCounts[0] == errorCounts[1]);
  FUZZ_CHECK(passCounts[0] == passCounts[1]);
  if (!MentionsBinaryFormat(AsText(data, size)))
    CheckObjectRecords(files[0][1]);
  return 0;
}
