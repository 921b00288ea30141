// The object file: one record writer for the nine formats, the output address
// that follows the program counter, gap filling, end records and the checksum.
#include <cstring>

#include "Tarn.h"

namespace {

enum class TKind { Binary, Intel, Motorola };

struct TFormatInfo {
  TKind Kind;
  int16_t AddressDigits;
  bool GapFill;
  int AddressBytes;  // in records
  char DataType, EndType;  // Motorola record digits
  bool Swap;          // bytes written in swapped pairs
  bool Segments;      // extended segment address records
};

const TFormatInfo& Info(TObjectFormat f) {
  static const TFormatInfo Table[] = {
      /* Bin8   */ {TKind::Binary, 4, true, 0, 0, 0, false, false},
      /* Int8   */ {TKind::Intel, 4, false, 2, 0, 0, false, false},
      /* Inhx8m */ {TKind::Intel, 4, false, 2, 0, 0, true, false},
      /* Mot8   */ {TKind::Motorola, 4, false, 2, '1', '9', false, false},
      /* Bin16  */ {TKind::Binary, 6, true, 0, 0, 0, false, false},
      /* Int16  */ {TKind::Intel, 5, false, 2, 0, 0, false, true},
      /* Mot16  */ {TKind::Motorola, 6, false, 3, '2', '8', false, false},
      /* Bin32  */ {TKind::Binary, 8, true, 0, 0, 0, false, false},
      /* Mot32  */ {TKind::Motorola, 8, false, 4, '3', '7', false, false},
  };
  return Table[int(f)];
}

// Appends bytes as upper-case hexadecimal digits, keeping the running sum.
struct TRecordText {
  char Text[80];
  int Length = 0;
  uint32_t Sum = 0;
  void Put(char c) { Text[Length++] = c; }
  void Byte(uint8_t b) {
    static const char Hex[] = "0123456789ABCDEF";
    // Both digits before the length moves: a store to the text could be a
    // store to the length as far as the compiler knows.
    char high = Hex[b >> 4], low = Hex[b & 15];
    int at = Length;
    Text[at] = high;
    Text[at + 1] = low;
    Length = at + 2;
    Sum += b;
  }
  void End() { Put('\r'); Put('\n'); }
};

}  // namespace

void TTarn::SelectObjectFormat(TObjectFormat format) {
  Object.Format = format;
  Object.AddressDigits = Info(format).AddressDigits;
  Object.GapFill = Info(format).GapFill ? On : Off;
}

void TTarn::PutObject(const char* text, size_t length) {
  if (!Object.Out.Write(text, length)) FatalError(2);
}

void TTarn::EmitLineCode() {
  // Nothing of a pass known not to be the last is written (should a fatal
  // error end it after all, the run starts again): the code only moves the
  // end of what the records hold, as their flushing would have moved it.
  if (QuietOutput) {
    Object.OutputAddress += uint32_t(Object.RecordCount) + uint32_t(ByteCount);
    Object.RecordCount = 0;
    return;
  }
  for (int i = 0; i < ByteCount; ++i) {
    Object.Checksum += Code[i];
    Object.RecordBuffer[Object.RecordCount++] = Code[i];
    while (Object.RecordCount >= 16) WriteObjectRecord(false);
  }
}

void TTarn::SetObjectAddress(uint32_t address) {
  if (!Object.Out || LineFlags != 0) return;
  address *= uint32_t(WordLength);
  if (Object.GapFill && !EndMet) {
    uint32_t end = Object.OutputAddress + Object.RecordCount;
    if (address < end) {
      LineError(39, NormalizedLine);
    } else if (end != 0 || Object.StorageFillRequest) {
      Object.StorageFillRequest = Off;
#ifdef TARN_FUZZ_GAP_LIMIT
      // Fuzzing build only: a gap of gigabytes is correct output but would
      // stall the fuzzer, so a long gap is left unfilled there.
      if (address - end > uint32_t(TARN_FUZZ_GAP_LIMIT)) {
        while (Object.RecordCount > 0) WriteObjectRecord(false);
        Object.OutputAddress = address;
      }
#endif
      while (Object.OutputAddress + Object.RecordCount != address) {
        Object.Checksum += uint8_t(Object.FillByte);
        Object.RecordBuffer[Object.RecordCount++] = uint8_t(Object.FillByte);
        while (Object.RecordCount >= 16) WriteObjectRecord(false);
      }
    }
  }
  while (Object.RecordCount > 0) WriteObjectRecord(false);
  Object.OutputAddress = address;
}

void TTarn::WriteObjectRecord(bool final) {
  uint16_t n = final ? 0 : Object.RecordCount;
  if (!Object.Out || QuietOutput) {
    Object.OutputAddress += n;
    Object.RecordCount = 0;
    return;
  }
  const TFormatInfo& f = Info(Object.Format);
  uint32_t a = Object.OutputAddress;
  TRecordText r;
  switch (f.Kind) {
    case TKind::Binary:
      if (n) PutObject(reinterpret_cast<const char*>(Object.RecordBuffer), n);
      break;
    case TKind::Intel:
      if (!final && f.Segments && (a & 0xF0000) != Object.CurrentSegment) {
        Object.CurrentSegment = a & 0xF0000;
        r.Put(':');
        r.Byte(2); r.Byte(0); r.Byte(0); r.Byte(2);
        r.Byte(uint8_t(Object.CurrentSegment >> 12)); r.Byte(0);
        r.Byte(uint8_t(0u - r.Sum));
        r.End();
        PutObject(r.Text, size_t(r.Length));
        return;  // nothing of the buffer is consumed: the next call writes the data
      }
      r.Put(':');
      r.Byte(uint8_t(n));
      r.Byte(uint8_t(a >> 8));
      r.Byte(uint8_t(a));
      r.Byte(final ? 1 : 0);
      if (!f.Swap) {
        for (int i = 0; i < n; ++i) r.Byte(Object.RecordBuffer[i]);
      } else {
        // Pairs swapped; an unpaired last byte is written as it stands.
        for (int i = 0; i < n; ++i) r.Byte(Object.RecordBuffer[(i ^ 1) < n ? (i ^ 1) : i]);
      }
      r.Byte(uint8_t(0u - r.Sum));
      r.End();
      PutObject(r.Text, size_t(r.Length));
      break;
    case TKind::Motorola:
      r.Put('S');
      r.Put(final ? f.EndType : f.DataType);
      r.Byte(uint8_t(n + f.AddressBytes + 1));
      for (int i = f.AddressBytes - 1; i >= 0; --i) r.Byte(uint8_t(a >> (8 * i)));
      for (int i = 0; i < n; ++i) r.Byte(Object.RecordBuffer[i]);
      r.Byte(uint8_t(~r.Sum));
      r.End();
      PutObject(r.Text, size_t(r.Length));
      break;
  }
  Object.OutputAddress += n;
  Object.RecordCount = uint16_t(Object.RecordCount - n);
  if (Object.RecordCount) std::memmove(Object.RecordBuffer, Object.RecordBuffer + n, Object.RecordCount);
}

void TTarn::FinishObjectFile() {
  while (Object.RecordCount > 0) WriteObjectRecord(false);
  WriteObjectRecord(true);
  if (!Object.Out.Close()) FatalError(2);
}
