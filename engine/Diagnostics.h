// Numbered messages and every text form in which an error is written.
#pragma once
#include <cstdint>
#include <string>

constexpr int MessageCount = 56;

// The fixed message text of an error number ("" outside 0..55).
const char* MessageText(int number);

// One counted error, as the error file and the command line show it.
struct TDiagnostic {
  std::string FullPath;   // upper case, as the error file carries it
  std::string Name;       // the file name as written
  uint32_t Line = 0;      // 1-based; 0 for an error before any line or after the last pass
  uint16_t Column = 1;
  int Number = 0;
};

// "%s(%lu,%u): Error %u - %s\n": the error file's and the listing's line form.
std::string FormatErrorLine(const TDiagnostic& d);
// "FILE:LINE:COLUMN: error: TEXT [N]": the form compilers write, which editors,
// build tools and CI annotators read and jump to.
std::string FormatEditorLine(const TDiagnostic& d);
