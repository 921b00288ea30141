// Runs the tarn command on a source with the bundled CPU tables on its search
// path, and reads back the object file, the reported errors and the passes.
#pragma once
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "../cli/CliSupport.h"

struct TTableError {
  int Line = 0, Number = 0;
};

struct TTableRun {
  int Status = -1;
  int Passes = 0;
  std::string Object;                   // the object file as written (a binary image under "BIN8")
  std::vector<TTableError> Errors = {};  // errors of the last pass, in report order
  std::string Stderr;
};

// Assembles SOURCE (a path) with its outputs in DIR: out.LST, out.BIN, out.ERR.
// OPTIONS go before the source, for example a further "-I".
inline TTableRun RunTarnOn(const TTempDir& dir, const std::string& source, const std::string& options = "") {
  TCommand c = RunTarn(dir, "-I '" TARN_TABLES_DIR "' " + options + " -l out.LST -o out.BIN -e out.ERR '" + source + "'");
  TTableRun r{.Status = c.Status, .Object = dir.Read("out.BIN"), .Stderr = c.Err};
  static const std::regex errorLine(R"(:(\d+):\d+: error: .*\[(\d+)\]$)");
  static const std::regex summary(R"(^tarn: (\d+) pass)");
  std::istringstream lines(r.Stderr);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_search(line, m, summary)) r.Passes = std::stoi(m[1]);
    else if (std::regex_search(line, m, errorLine)) r.Errors.push_back({std::stoi(m[1]), std::stoi(m[2])});
  }
  return r;
}

// Assembles TEXT written to DIR/main.asm.
inline TTableRun RunTarnOnText(const TTempDir& dir, const std::string& text) {
  dir.Write("main.asm", text);
  return RunTarnOn(dir, "main.asm");
}
