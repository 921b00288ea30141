// Reading a CPU table: operand name lists, operand fields, sub-patterns and
// instructions, each line one record in its section's table.
#include <cstring>
#include <new>

#include "Tarn.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void TTarn::LoadCpuTable() {
  DefineLabel();
  NextToken(Line);
  if (!TokenIs(0x20000)) {
    KeepBestError();
    LineError(28, TokenStart);
    return;
  }
  std::string name = Token->Name;
  if (TableLoaded) {
    // Later passes assemble the table's source section again, as an include would.
    if (TableSourceLine && name == TableName && OpenSourceFile(name)) {
      char skip[LineSize];
      while (Current().LineCount < TableSourceLine && Current().Reader.ReadLine(skip, LineSize - 1) > 0)
        ++Current().LineCount;
    }
    return;
  }
  if (!OpenSourceFile(name)) return;
  TableLoaded = On;
  TableName = name;
  if (ReadTableLines()) CloseSourceFile();
  CompileTable();
}

// Returns true when the file ended (it is then closed by the caller), false when
// a fourth "*" line left it open as source, or a fatal error stopped the reading.
bool TTarn::ReadTableLines() {
  int section = 0;
  while (Current().Reader.ReadLine(RawTableLine, LineSize - 1) > 0) {
    NormalizeLine(NormalizedTableLine, RawTableLine, true);
    --TotalLines;  // a table's lines count in its own file only
    TScan t;
    t.Reset(NormalizedTableLine);
    t.SkipBlanks();
    if (t.Peek() == '*') {
      if (++section == 4) {
        TableSourceLine = Current().LineCount;
        return false;
      }
      continue;
    }
    if (t.AtEnd()) continue;
    if (section > 3) continue;

    uint8_t code[256];
    int count = 0;
    if (section >= 2) {
      char* caret = std::strchr(t.Cur, '^');
      char* colon = caret ? std::strchr(caret, ':') : nullptr;
      if (!caret || !colon) {
        FatalError(6);
        return false;
      }
      *caret = '\0';
      for (const char* p = caret + 1; *p != ':'; p += 2) {
        int high = HexValue(p[0]), low = p[1] == ':' ? -1 : HexValue(p[1]);
        // An odd digit, a non-digit or more than 255 bytes is a malformed table.
        if (high < 0 || low < 0 || count == 255) {
          FatalError(6);
          return false;
        }
        code[count++] = uint8_t(high * 16 + low);
      }
    }
    int32_t key = 0, value = 0;
    if (section <= 2) {
      key = Evaluate(t);
      t.SkipBlanks();
    }
    if (section == 1) {
      int32_t position = Evaluate(t);
      t.SkipBlanks();
      int32_t width = Evaluate(t);
      t.SkipBlanks();
      value = (position & 0xFF) * 256 + (width & 0xFF);
    }
    // Lists and fields keep their newline: the cursors that read them need it.
    std::string_view text(t.Cur, std::strlen(t.Cur));
    TSymbol* record = nullptr;
    try {
      record = Arena.Allocate(text, uint32_t(count));
    } catch (const std::bad_alloc&) {
      FatalError(9);
      return false;
    }
    record->Type = 0x20000000u + uint32_t(count);
    std::memcpy(record->Code(), code, size_t(count));
    if (section == 3) {
      AppendSymbol(record);
    } else {
      record->Value = int32_t(uint32_t(value) + uint32_t(key) * 65536u);
      CpuTables[section].Append(unsigned(key) & 255, record);
    }
  }
  return true;
}

// The first record of a numbered section whose number is the one asked for;
// a list is the first of its bucket, whatever its full number.
TSymbol* TTarn::NumberedRecord(int table, int32_t number) {
  TSymbol* s = CpuTables[table].Heads[unsigned(number) & 255];
  if (table == 0) return s;
  for (; s; s = s->Next)
    if ((s->Value >> 16) == (number & 0xFFFF) || (s->Value >> 16) == number) return s;
  return nullptr;
}
