// Lookup, insertion and the label definition rules that detect phase errors.
#include <new>

#include "Tarn.h"

bool TTarn::Visible(const TSymbol* s) const {
  // Labels made inside another macro expansion are invisible in this one.
  if (s->ClassBits() != ClassLabel || MacroState != 3) return true;
  uint32_t expansion = s->Type & 0xFFFF;
  return expansion == 0 || expansion == ExpansionCounter;
}

TSymbol* TTarn::LookupSymbol(std::string_view name, uint32_t classBits) {
  for (TSymbol* s = Symbols.FirstWithWord(FirstWord(name)); s; s = s->NextSame)
    if (s->ClassBits() == classBits && MatchName(name, s->Name) == 0 && Visible(s)) return s;
  return nullptr;
}

// An operator name first, else a label: one walk of the chain instead of two.
TSymbol* TTarn::LookupOperand(std::string_view name) {
  TSymbol* label = nullptr;
  for (TSymbol* s = Symbols.FirstWithWord(FirstWord(name)); s; s = s->NextSame) {
    if (MatchName(name, s->Name) != 0) continue;
    if (s->ClassBits() == ClassOperator) return s;
    if (!label && s->ClassBits() == ClassLabel && Visible(s)) label = s;
  }
  return label;
}

TSymbol* TTarn::AddSymbol(std::string_view name, uint32_t type, int32_t value, uint32_t extra) {
  TSymbol* s = nullptr;
  try {
    s = Arena.Allocate(name, extra);
  } catch (const std::bad_alloc&) {
    FatalError(10);
    return nullptr;
  }
  s->Type = type;
  s->Value = value;
  Symbols.Append(s);
  return s;
}

void TTarn::DefineLabel() {
  if (LineFlags > 1 || Label[0] == '\0') return;
  TSymbol* r = LookupSymbol(Label, ClassLabel);
  if (Pass == 1) {
    if (r) return;
    uint32_t type = TypeLabel;
    if (MacroState == 3) type |= 0x02000000 | ExpansionCounter;
    AddSymbol(Label, type, ProgramCounter);
    return;
  }
  if (!r) {
    LineError(40, TokenStart ? TokenStart : NormalizedLine);
    return;
  }
  if (r->Value != ProgramCounter && (r->Type & FlagsMask) != 0x02000000) LineError(32, NormalizedLine);
  r->Value = ProgramCounter;
}
