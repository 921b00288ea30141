// The built-in directives: dispatch and the handlers of data, origin, symbols,
// storage, fill, alignment, word length, object format, listing and includes.
#include <cstdint>
#include <cstring>
#include <strings.h>

#include "FloatFormat.h"
#include "Macros.h"
#include "Tarn.h"

namespace {
enum TDirective {
  dALGN, dCPU, dDFB, dDWL, dDWM, dDFL, dDLL, dALIAS, dEND, dDFS, dEQU, dFILL, dHEX, dHOF, dINCL, dLIST,
  dORG, dPAGE, dTITL, dWDLN, dSETL, dIF, dELSE, dENDI, dMACRO, dENDM, dDFF, dDFDF, dDFLDF, dCASE, dRPTXT, dTAB
};

struct TFormatName { const char* Name; TObjectFormat Format; };
const TFormatName FormatNames[] = {
    {"BIN8", TObjectFormat::Bin8},   {"INT8", TObjectFormat::Int8},   {"INHX8M", TObjectFormat::Inhx8m},
    {"MOT8", TObjectFormat::Mot8},   {"BIN16", TObjectFormat::Bin16}, {"INT16", TObjectFormat::Int16},
    {"MOT16", TObjectFormat::Mot16}, {"BIN32", TObjectFormat::Bin32}, {"MOT32", TObjectFormat::Mot32},
};
}  // namespace

bool ObjectFormatByName(std::string_view name, TObjectFormat& format) {
  for (const TFormatName& f : FormatNames) {
    if (name.size() == std::strlen(f.Name) && strncasecmp(name.data(), f.Name, name.size()) == 0) {
      format = f.Format;
      return true;
    }
  }
  return false;
}

std::string ObjectFormatNames() {
  std::string names;
  for (const TFormatName& f : FormatNames) {
    if (!names.empty()) names += ", ";
    names += f.Name;
  }
  return names;
}

// Reads the operand as a character string (the token's text). When keepBest is
// set, error 28 replaces whatever reading the operand raised.
bool TTarn::ReadStringOperand(bool keepBest, const char* position) {
  NextToken(Line);
  if (TokenIs(0x20000)) return true;
  if (keepBest) KeepBestError();
  LineError(28, position ? position : TokenStart);
  return false;
}

// 1 for "ON", 0 for "OFF" (any case), -1 (error 34) for other text, -2 (error 28) for no string.
int TTarn::ReadOnOff() {
  if (!ReadStringOperand(true)) return -2;
  if (strcasecmp(Token->Name, "ON") == 0) return 1;
  if (strcasecmp(Token->Name, "OFF") == 0) return 0;
  LineError(34, TokenStart);
  return -1;
}

namespace {
// Bytes and words take signed and unsigned values; 4-byte items any value.
bool DataItemFits(int directive, int32_t value) {
  switch (directive) {
    case dDFB: return value >= -128 && value <= 255;
    case dDWL: case dDWM: return value >= -32768 && value <= 65535;
    default: return true;
  }
}
}  // namespace

// One item of a data list, in the directive's size and byte order.
void TTarn::AppendDataItem(int directive, uint32_t value) {
  switch (directive) {
    case dDFB: AppendCode(uint8_t(value)); break;
    case dDWL: AppendCode(uint8_t(value)); AppendCode(uint8_t(value >> 8)); break;
    case dDWM: AppendCode(uint8_t(value >> 8)); AppendCode(uint8_t(value)); break;
    default:
      for (int k = 0; k < 4; ++k) AppendCode(uint8_t(value >> (directive == dDFL ? 24 - 8 * k : 8 * k)));
      break;
  }
}

// A list of numbers and labels, the commonest data line, read without the
// expression reader: the same values, the same labels noted as read, the line
// left where the reader leaves it. Anything else (an operator, a string, an
// empty item, a name not defined, a value out of range) is left to the
// expression reader, with nothing done here.
bool TTarn::DataItemsAtOnce(int directive) {
  if (PlainAlgorithms || Separator != ',' || TokenPushback || Tracing || ShapeRecording || LineErrorNumber) return false;
  constexpr int MaxItems = 64;
  int32_t values[MaxItems];
  TSymbol* labels[MaxItems];
  int count = 0;
  const char* p = Line.Cur;
  for (;; ++p) {
    while (*p == ' ' || *p == '\t') ++p;
    char c = *p;
    const char* end = p;
    TSymbol* label = nullptr;
    int32_t value;
    if (IsDigit(c) || (c == '$' && IsHexDigit(p[1]))) {
      uint32_t number;
      if (!ReadNumberToken(p, end, number)) return false;
      value = int32_t(number);
    } else if (IsNameStart(c)) {
      while (IsTokenChar(*end)) ++end;
      label = LookupOperand(std::string_view(p, size_t(end - p)));
      if (!label || label->ClassBits() == ClassOperator || (label->Type & 0xF0000) != 0x10000) return false;  // not a value
      value = label->Value;
    } else {
      return false;
    }
    if (!DataItemFits(directive, value) || count == MaxItems) return false;
    values[count] = value;
    labels[count++] = label;
    for (p = end; *p == ' ' || *p == '\t'; ++p) {}
    if (*p == '\n' || *p == '\0') break;
    if (*p != ',') return false;
  }
  for (int i = 0; i < count; ++i) {
    if (labels[i]) {
      InputsRead |= ReadsLabel;
      if (Recording) NoteRead(labels[i]);
    }
    AppendDataItem(directive, uint32_t(values[i]));
  }
  ExpressionError = 0;
  Line.Cur = const_cast<char*>(p);
  NextToken(Line);  // the end of the line, as the list reader leaves it
  return true;
}

void TTarn::DataList(int directive) {
  DefineLabel();
  StringLength = 0;
  if (DataItemsAtOnce(directive)) return;
  int before = ByteCount;
  for (;;) {
    NextToken(Line);
    if (TokenIs(0x50000)) break;
    int32_t v = 0;
    if (!TokenIs(0x40000)) {
      if (directive == dDFB && TokenIs(0x20000)) {
        for (int i = 0; i < StringLength && i < LineSize; ++i) AppendCode(uint8_t(Token->Name[i]));
        NextToken(Line);  // the comma after a string may be left out
        if (!TokenIs(0x40000)) TokenPushback = On;
        continue;
      }
      TokenPushback = On;
      v = Evaluate(Line);
    }
    if (LineErrorNumber == 0 && !DataItemFits(directive, v)) LineError(36, TokenStart - 1);
    if ((directive == dDFL || directive == dDLL) && StringLength > 4) LineError(51, TokenStart);
    AppendDataItem(directive, uint32_t(v));
  }
  if (ByteCount == before) LineError(26, TokenStart - 1);
}

void TTarn::FloatList(int directive) {
  DefineLabel();
  TFloatKind kind = directive == dDFF ? TFloatKind::Single : directive == dDFDF ? TFloatKind::Double
                                                                                 : TFloatKind::Extended;
  for (;;) {
    uint8_t bytes[10];
    Line.Cur = const_cast<char*>(ReadDecimalFloat(Line.Cur, kind, bytes));
    for (int i = 0; i < int(kind); ++i) AppendCode(bytes[i]);
    NextToken(Line);
    if (TokenIs(0x50000)) break;
  }
}

void TTarn::Dispatch() {
  switch (FoundSymbol->Value) {
    case dALGN: case dWDLN: case dTAB: {
      DefineLabel();
      int32_t v = Evaluate(Line);
      if (LineErrorNumber) break;
      int lo = FoundSymbol->Value == dTAB ? 2 : 1, hi = FoundSymbol->Value == dTAB ? 40 : 16;
      if (v < lo || v > hi) { LineError(36, TokenStart - 1); break; }
      if (FoundSymbol->Value == dALGN) Alignment = int16_t(v);
      else if (FoundSymbol->Value == dWDLN) WordLength = int16_t(v);
      else TabWidth = int16_t(v);
      break;
    }
    case dCPU: LoadCpuTable(); break;
    case dDFB: case dDWL: case dDWM: case dDFL: case dDLL: case dDFF: case dDFDF: case dDFLDF: {
      TLineMemo* memo = StartRecording();
      int directive = FoundSymbol->Value;
      if (directive == dDFF || directive == dDFDF || directive == dDFLDF) FloatList(directive);
      else DataList(directive);
      if (memo) RememberData(*memo);
      break;
    }
    case dALIAS: {
      if (CaseFlag == Off) for (char* p = Line.Cur; *p && *p != '\n'; ++p) *p = ToUpper(*p);
      if (!ReadStringOperand(false, nullptr)) break;
      if (Label[0] == '\0') { LineError(29, NormalizedLine); break; }
      TSymbol* d = LookupSymbol(Token->Name, ClassDirective);
      if (!d) { LineError(33, TokenStart - 1); break; }
      // An alias met again in a later pass is already there.
      if (!LookupSymbol(Label, ClassDirective)) AddSymbol(Label, d->Type, d->Value);
      break;
    }
    case dEND: {
      DefineLabel();
      Listing.PageEject = On;
      EndOfPass = On;
      if (Pass >= 2) {
        NextToken(Line);
        int32_t v = 0;
        if (!TokenIs(0x50000)) {
          TokenPushback = On;
          v = Evaluate(Line);
        }
        LineAddress = v;
        EndMet = On;
        SetObjectAddress(uint32_t(v));
      } else {
        ConsumeLine();
      }
      if (ConditionalDepth > 0) LineError(38, TokenStart);
      break;
    }
    case dDFS: {
      DefineLabel();
      int32_t n = Evaluate(Line);
      if (LineErrorNumber) break;
      if (n < 1) { LineError(36, TokenStart - 1); break; }
      ProgramCounter = int32_t(uint32_t(ProgramCounter) + uint32_t(n));  // addresses wrap at 32 bits
      if (Pass >= 2) {
        Object.StorageFillRequest = On;
        SetObjectAddress(uint32_t(ProgramCounter));
      }
      break;
    }
    case dEQU: case dSETL: {
      ValueLine = On;
      LineAddress = Evaluate(Line);
      if (Label[0] == '\0') { LineError(29, NormalizedLine); break; }
      TSymbol* s = LookupSymbol(Label, ClassLabel);
      bool variable = FoundSymbol->Value == dSETL;
      if (!s) {
        NoteLabelDefined(AddSymbol(Label, variable ? TypeVariable : TypeLabel, LineAddress));
        break;
      }
      if (s->Value != LineAddress && (!variable || (s->Type & FlagsMask) != 0x02000000))
        LineError(32, NormalizedLine);
      s->Value = LineAddress;
      NoteLabelDefined(s);
      break;
    }
    case dFILL: {
      DefineLabel();
      Object.GapFill = On;
      int16_t v = int16_t(Evaluate(Line));
      if (v < -128 || v > 255) { Object.FillByte = 0xFF; LineError(36, TokenStart); }
      else Object.FillByte = int16_t(v & 0xFF);
      break;
    }
    case dHEX: {
      DefineLabel();
      int v = ReadOnOff();
      if (v == 0) {
        if (Pass >= 2) SetObjectAddress(uint32_t(ProgramCounter));
        NextLineFlags |= 1;
      } else if (v == 1) {
        LineFlags &= ~1;
        NextLineFlags &= ~1;
        if (Pass >= 2) SetObjectAddress(uint32_t(ProgramCounter));
      }
      break;
    }
    case dHOF: {
      DefineLabel();
      if (!ReadStringOperand(false)) break;
      const TFormatName* found = nullptr;
      for (const TFormatName& f : FormatNames) if (strcasecmp(Token->Name, f.Name) == 0) found = &f;
      if (!found) { LineError(30, TokenStart); break; }
      // Bytes already buffered leave in the format they were assembled for.
      while (Object.RecordCount > 0) WriteObjectRecord(false);
      SelectObjectFormat(found->Format);
      break;
    }
    case dINCL: {
      DefineLabel();
      if (!ReadStringOperand(true)) break;
      OpenSourceFile(Token->Name);
      break;
    }
    case dLIST: {
      DefineLabel();
      int v = ReadOnOff();
      if (v == 0) Listing.Enabled = Off;
      else if (v == 1) Listing.Enabled = Listing.LineFlag = On;
      break;
    }
    case dCASE: {
      DefineLabel();
      int v = ReadOnOff();
      if (v >= 0) CaseFlag = v ? On : Off;
      break;
    }
    case dORG: {
      int32_t v = Evaluate(Line);
      if (!ExpressionError) {
        LineAddress = ProgramCounter = v;
        if (Pass >= 2) SetObjectAddress(uint32_t(v));
      }
      DefineLabel();
      break;
    }
    case dPAGE: {
      DefineLabel();
      NextToken(Line);
      if (TokenIs(0x50000)) { Listing.PageEject = On; break; }
      TokenPushback = On;
      uint16_t length = uint16_t(Evaluate(Line));
      if (length == 1 || length == 2) { Listing.PageLength = 0; LineError(36, TokenStart); }
      else Listing.PageLength = length;
      break;
    }
    case dTITL: {
      DefineLabel();
      NextToken(Line);
      if (TokenIs(0x50000)) { Listing.Title.clear(); break; }
      TokenPushback = On;
      if (!ReadStringOperand(true)) break;
      Listing.Title.assign(Token->Name, std::min<size_t>(std::strlen(Token->Name), 254));
      break;
    }
    case dIF: DoIf(*this); break;
    case dELSE: DoElse(*this); break;
    case dENDI: DoEndi(*this); break;
    case dMACRO: DoMacro(*this); break;
    case dENDM: DoEndm(*this); break;
    case dRPTXT: DoRptxt(*this); break;
    default: ConsumeLine(); break;
  }
}
