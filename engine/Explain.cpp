// The explanation of how one source line's instruction is matched: for people
// writing a CPU table, who need to see which candidate stopped where and why.
#include <cstdio>
#include <cstring>

#include "Tarn.h"

namespace {

std::string TextOf(const char* s) {
  const char* end = s;
  while (*end && *end != '\n') ++end;
  return std::string(s, end);
}

std::string CharacterText(int c, const char* end) {
  if (c == '\n' || c == 0) return end;
  char text[16];
  if (c < 32 || c >= 127) std::snprintf(text, sizeof text, "character %02XH", c);
  else std::snprintf(text, sizeof text, "\"%c\"", char(c));
  return text;
}

std::string Bytes(const uint8_t* code, int count) {
  std::string text;
  char byte[4];
  for (int i = 0; i < count; ++i) {
    std::snprintf(byte, sizeof byte, i ? " %02X" : "%02X", code[i]);
    text += byte;
  }
  return text.empty() ? "none" : text;
}

}  // namespace

void TTarn::Explain(const std::string& text) {
  if (ExplainFn) ExplainFn(Pass, text);
}

void TTarn::ExplainStart() {
  Explain("line " + std::to_string(ExplainLine) + " in pass " + std::to_string(Pass) + ": " + TextOf(NormalizedLine));
  ComparedAt = nullptr;
}

void TTarn::ExplainRecord(const std::string& what, TSymbol* record, int codeCount) {
  Explain(what + ": " + TextOf(record->Name) + " ^" + Bytes(record->Code(), codeCount));
  ComparedAt = nullptr;
}

void TTarn::ExplainOutcome(const char* indent) {
  std::string text = indent;
  if (Matched) {
    text += "matched";
  } else if (LineErrorNumber) {
    text += "stopped by error " + std::to_string(LineErrorNumber) + " \"" + MessageText(LineErrorNumber) +
            "\" at column " + std::to_string(ErrorColumn);
  } else if (ComparedAt) {
    text += "stopped at column " + std::to_string(ComparedAt - NormalizedLine + 1) + ": the line has " +
            CharacterText(ComparedSource, "its end") + " where the pattern has " +
            CharacterText(ComparedPattern, "its end");
  } else {
    text += "did not match";
  }
  Explain(text);
}

void TTarn::ExplainField(int32_t number, bool nameField, bool nameFound, int32_t lo, int32_t hi) {
  std::string text = "        field {" + std::to_string(number) + "}: ";
  if (nameField && !nameFound) {
    text += "no name of its list stands here";
  } else {
    text += (nameField ? "name number " : "operand ") + std::to_string(OperandValue) + ", allowed " +
            std::to_string(lo) + " to " + std::to_string(hi);
    if (OperandValue < lo || hi < OperandValue) text += ": out of range";
  }
  Explain(text);
}

void TTarn::ExplainResult() {
  if (Matched) Explain("result: " + Bytes(Code, ByteCount));
  else if (LineErrorNumber)
    Explain("result: error " + std::to_string(LineErrorNumber) + " \"" + MessageText(LineErrorNumber) +
            "\" at column " + std::to_string(ErrorColumn));
}
