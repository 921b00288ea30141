#include "Diagnostics.h"

#include <cstdint>
#include <cstdio>

#include "Tarn.h"

namespace {
const char* const Messages[MessageCount] = {
    "Not an Error",
    "Source file did not open",
    "Disk or directory full",
    "Too many include files",
    "Too many conditional blocks",
    "No source file specified",
    "Illegal CPU table format",
    "Hex file did not open",
    "List file did not open",
    "Insufficient memory while loading table",
    "Insufficient memory while loading symbol",
    "Insufficient memory while loading macro",
    "Interrupted by user",
    "Too many nested macro expansions",
    "", "", "", "", "", "", "", "", "", "", "", "",
    "Missing operand",
    "Illegal line number",
    "A \"Character string\" is required",
    "Missing or illegal label",
    "Illegal hexadecimal format",
    "Unexpected characters at end of line",
    "Phase error, value of label changes",
    "Instruction not found",
    "File control must be ON or OFF",
    "Symbol not found",
    "Operand not in specified range",
    "Instruction starts with invalid character",
    "Violation of conditional block (IF-ELSE-ENDI)",
    "Decreasing Program Counter In 'HEX' File",
    "Undefined label",
    "Missing \" at end of character string",
    "Missing right script bracket }",
    "Digit is not valid for declared base",
    "Unexpected second value",
    "Undefined operator",
    "Unexpected right script bracket }",
    "Unexpected end of line",
    "Shift must be less than 32",
    "Unexpected binary operator",
    "Unexpected unary operator",
    "String exceeds 4 characters",
    "Unexpected expression separator",
    "Division by zero attempted",
    "Assembler Trap!  Undefined unary operator",
    "Assembler Trap!  Undefined binary operator",
};
}  // namespace

const char* MessageText(int number) {
  return number >= 0 && number < MessageCount ? Messages[number] : "";
}

std::string FormatErrorLine(const TDiagnostic& d) {
  char head[64];
  std::snprintf(head, sizeof head, "(%lu,%u): Error %u - ", (unsigned long)d.Line, unsigned(d.Column),
                unsigned(d.Number));
  return d.FullPath + head + MessageText(d.Number) + "\n";
}

std::string FormatEditorLine(const TDiagnostic& d) {
  char head[64];
  std::snprintf(head, sizeof head, ":%lu:%u: error: ", (unsigned long)d.Line, unsigned(d.Column));
  return d.Name + head + MessageText(d.Number) + " [" + std::to_string(d.Number) + "]";
}

// ---- error recording on the engine state

void TTarn::LineError(int number, const char* position) {
  if (LineFlags & 6) return;
  if (number == 32) {
    PhaseFlag = On;
    // Another pass follows (only a fatal error could stop it): what this
    // one would still write is thrown away, so it is not produced.
    if (Pass >= 2 && Pass < 5 && !PlainAlgorithms) QuietOutput = SkippedOutput = true;
  }
  if (number >= 40) ExpressionError = On;
  if (LineErrorNumber == 0) {
    LineErrorNumber = int16_t(number);
    // A position in another text (a field descriptor of the CPU table, a
    // table line) tells nothing of the line: the error stands where the line
    // was being read, or at its start.
    auto inLine = [this](const char* p) {
      uintptr_t at = reinterpret_cast<uintptr_t>(p), line = reinterpret_cast<uintptr_t>(NormalizedLine);
      return p && at >= line && at < line + LineSize;
    };
    if (!inLine(position)) position = inLine(TokenStart) ? TokenStart : nullptr;
    long column = position ? long(position - NormalizedLine) + 1 : 1;
    if (column < 1) column = 1;
    ErrorColumn = uint16_t(column);
  }
}

void TTarn::KeepBestError() {
  if (ErrorColumn > BestColumn) {
    BestError = LineErrorNumber;
    BestColumn = ErrorColumn;
  }
  LineErrorNumber = 0;
  Mismatch = 0;
  ExpressionError = 0;
}

void TTarn::FatalError(int number) {
  if (SkippedOutput) RunAgain = true;
  EndOfPass = On;
  Continue = Off;
  ErrorColumn = 1;
  LineErrorNumber = int16_t(number);
  if (AfterPasses) {
    // No line is processed any more: the error still counts and reaches the
    // error file (while it is open) and the caller, never a silent success.
    ReportError();
    LineErrorNumber = 0;
    return;
  }
  if (Pass < 2 && !Listing.InListLine) ListLine();
}

void TTarn::CountError() {
  // The counts are 16 bits wide; they stop at the top rather than wrap, or
  // 65536 errors would be returned as a run without errors.
  if (TotalErrors < UINT16_MAX) ++TotalErrors;
  TSourceFile& file = Current();
  if (file.ErrorCount < UINT16_MAX) ++file.ErrorCount;
}

void TTarn::ReportError() {
  CountError();
  if (QuietOutput) return;
  TSourceFile& file = Current();
  TDiagnostic d;
  d.FullPath = file.FullPath;
  d.Name = file.Name;
  d.Line = AfterPasses ? 0 : file.LineCount;
  d.Column = ErrorColumn;
  d.Number = LineErrorNumber;
  std::string text = FormatErrorLine(d);
  if (ErrorFile.Stream) {
    if (!ErrorFile.IsFile) {
      char column[40];
      int n = BuildAddressColumn(column);
      std::fwrite(column, 1, size_t(n), ErrorFile.Stream);
      std::fputs(RawLine, ErrorFile.Stream);
    }
    std::fwrite(text.data(), 1, text.size(), ErrorFile.Stream);
  }
  if (OnError) OnError(d);
}
