// The listing: address column, source line, error line, paging and the label list.
#include <algorithm>
#include <cstring>
#include <vector>

#include "Tarn.h"

namespace {

// The two hexadecimal digits of every byte: the address column is written
// for every listed line.
const struct THexPairs {
  char Pair[256][2];
  THexPairs() {
    for (int b = 0; b < 256; ++b) {
      Pair[b][0] = "0123456789ABCDEF"[b >> 4];
      Pair[b][1] = "0123456789ABCDEF"[b & 15];
    }
  }
} Hex;

// The last 4, 5, 6 or 8 hexadecimal digits of a value ("%04lX" and so on).
void PutHexDigits(char* out, uint32_t value, int digits) {
  char* pair = out + digits;
  for (int i = 0; i < digits / 2; ++i, value >>= 8) std::memcpy(pair -= 2, Hex.Pair[value & 0xFF], 2);
  if (digits & 1) out[0] = Hex.Pair[value & 15][1];
}

}  // namespace

// Builds the 24- or 32-column address field; returns its width.
int TTarn::BuildAddressColumn(char* column) {
  // Every caller gives room for 32 columns and the terminator: the blanks go
  // in as one copy of a fixed size, which the compiler writes in place.
  static constexpr char Blanks[] = "                                ";
  static_assert(sizeof Blanks == 33);
  int width = Object.AddressDigits < 5 ? 24 : 32;
  std::memcpy(column, Blanks, 32);
  column[width] = '\0';
  if (LineFlags != 0) return width;
  uint32_t a = uint32_t(LineAddress);
  char text[48];
  int n;
  if (ValueLine) {
    n = width == 24 ? std::snprintf(text, sizeof text, " %04lX =", (unsigned long)(a & 0xFFFF))
                    : std::snprintf(text, sizeof text, " %08lX         =", (unsigned long)a);
    std::memcpy(column, text, size_t(n));
    return width;
  }
  // " %08lX ", "   %06lX ", "    %05lX " or " %04lX " of the address, then the code bytes.
  int digits = Object.AddressDigits == 8 ? 8 : Object.AddressDigits == 6 ? 6 : Object.AddressDigits == 5 ? 5 : 4;
  int lead = digits == 6 ? 3 : digits == 5 ? 4 : 1;
  PutHexDigits(column + lead, a, digits);
  n = lead + digits + 1;
  int shown = std::min(ByteCount, width == 24 ? 9 : 11);
  for (int i = 0; i < shown; ++i) std::memcpy(column + n + 2 * i, Hex.Pair[Code[i]], 2);
  return width;
}

void TTarn::WritePageHeader() {
  std::string header = "\n";
  header += Listing.Title.c_str();
  header += "    PAGE " + std::to_string(int(Listing.PageNumber)) + "    ";
  header += Listing.DateText.c_str();
  header += "\n";
  Listing.Out.Write(header);
  Listing.LinesLeft = int16_t(Listing.LinesLeft - 3);
}

void TTarn::CheckPage() {
  if (!Listing.PageEject) {
    if (Listing.PageLength == 0) return;
    Listing.LinesLeft = int16_t(Listing.LinesLeft - 1);
    if (Listing.LinesLeft != 0) return;
  }
  Listing.PageEject = 0;
  Listing.LinesLeft = int16_t(Listing.PageLength);
  Listing.Out.Write("\f");
  ++Listing.PageNumber;
  if (!Listing.Title.empty()) WritePageHeader();
}

void TTarn::ListLine() {
  Listing.InListLine = true;
  if (Listing.Out && Listing.LineFlag && !QuietOutput) {
    // The address column and the line are written in place in the file's buffer.
    char* text = Listing.Out.Reserve(40 + LineSize);
    bool written = text != nullptr;
    if (text) {
      int width = BuildAddressColumn(text);
      size_t length = std::strlen(RawLine);
      std::memcpy(text + width, RawLine, length);
      written = Listing.Out.Commit(size_t(width) + length);
    }
    CheckPage();
    if (LineErrorNumber) {
      TDiagnostic d;
      d.FullPath = Current().FullPath;
      d.Line = Current().LineCount;
      d.Column = ErrorColumn;
      d.Number = LineErrorNumber;
      std::string text = FormatErrorLine(d);
      written = Listing.Out.Write(text) && written;
      CheckPage();
    }
    if (!written || !Listing.Out.Good()) FatalError(2);
  }
  // A page eject lapses when its line is not listed.
  Listing.PageEject = 0;
  if (LineErrorNumber) ReportError();
  Listing.InListLine = false;
}

void TTarn::ListSymbols() {
  if (Listing.Out && Listing.LineFlag) {
    std::vector<TSymbol*> labels;
    for (TSymbol* s = Symbols.First(); s; s = s->Next)
      if (s->ClassBits() == ClassLabel) labels.push_back(s);
    std::stable_sort(labels.begin(), labels.end(),
                     [](const TSymbol* a, const TSymbol* b) { return std::strcmp(a->Name, b->Name) < 0; });
    int column = 0;
    std::string entry;
    for (TSymbol* s : labels) {
      // "%04lX" or "%08lX" of the value, then "  %-17s  " of the name.
      int digits = Object.AddressDigits < 5 ? 4 : 8;
      uint32_t value = uint32_t(s->Value);
      entry.assign(size_t(digits), '0');
      PutHexDigits(entry.data(), value, digits);
      entry += "  ";
      entry.append(s->Name, s->NameLength);
      if (s->NameLength < 17) entry.append(17 - s->NameLength, ' ');
      entry += "  ";
      Listing.Out.Write(entry);
      if (++column == 3) {
        column = 0;
        Listing.Out.Write("\n");
        CheckPage();
      }
      if (!Listing.Out.Good()) {
        FatalError(2);
        break;
      }
    }
    Listing.Out.Write("\n\f");
  }
  if (Listing.Out) {
    if (!Listing.Out.Close()) FatalError(2);
  }
}
