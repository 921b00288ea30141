// Lookup, insertion and the label definition rules that detect phase errors.
#include <iterator>
#include <new>

#include "Tarn.h"
#include "TextHash.h"

// A label as the lookup rules see it. Outside an expansion every label is
// visible and the oldest wins; inside one, labels local to other expansions
// are invisible, so the older of the first global label and the first copy
// local to this expansion wins.
TSymbol* TTarn::LookupLabel(std::string_view name, const TSymbolTable::TWord& word) {
  TSymbol* global = nullptr;
  for (TSymbol* s = word.First; s; s = s->NextSame)
    if (s->ClassBits() == ClassLabel && MatchName(name, s->Name) == 0) {
      global = s;
      break;
    }
  TSymbol* local = MacroState == 3 ? Symbols.LocalOf(word, ExpansionCounter) : Symbols.FirstLocal(word);
  if (local && MatchName(name, local->Name) != 0) local = nullptr;
  if (!global) return local;
  return local && local->Serial < global->Serial ? local : global;
}

TSymbol* TTarn::LookupSymbol(std::string_view name, uint32_t classBits) {
  TSymbolTable::TWord word = Symbols.Lookup(FirstWord(name));
  if (classBits == ClassLabel) return LookupLabel(name, word);
  for (TSymbol* s = word.First; s; s = s->NextSame)
    if (s->ClassBits() == classBits && MatchName(name, s->Name) == 0) return s;
  return nullptr;
}

TSymbol* TTarn::LookupOpcode(std::string_view name, uint32_t classBits) {
  // Most lines name one of a few mnemonics: the answer for a short name is
  // kept until an instruction or directive record is added.
  uint64_t text;
  if (PlainAlgorithms || !ShortText(name, text)) return LookupSymbol(name, classBits);
  uint64_t key = text ^ (uint64_t(name.size()) << 59) ^ classBits;
  TOpcodeEntry& entry = OpcodeCache[MixBits(key) & (std::size(OpcodeCache) - 1)];
  uint32_t generation = Symbols.OpcodeGeneration();
  if (entry.Generation != generation || entry.Text != text || entry.Length != name.size() || entry.Class != classBits) {
    entry = TOpcodeEntry{text, uint32_t(name.size()), classBits, generation, LookupSymbol(name, classBits)};
  }
  return entry.Symbol;
}

// An operator name first, else a label.
TSymbol* TTarn::LookupOperand(std::string_view name) {
  TSymbolTable::TWord word = Symbols.Lookup(FirstWord(name));
  for (TSymbol* s = word.First; s; s = s->NextSame)
    if (s->ClassBits() == ClassOperator && MatchName(name, s->Name) == 0) return s;
  return LookupLabel(name, word);
}

TSymbol* TTarn::AddSymbol(std::string_view name, uint32_t type, int32_t value, uint32_t extra, uint32_t expansion) {
  TSymbol* s = nullptr;
  try {
    s = Arena.Allocate(name, extra);
  } catch (const std::bad_alloc&) {
    FatalError(10);
    return nullptr;
  }
  s->Type = type;
  s->Value = value;
  AppendSymbol(s, expansion);
  return s;
}

void TTarn::AppendSymbol(TSymbol* s, uint32_t expansion) {
  Symbols.Append(s, expansion);
  ForgetTextName(s);
}

void TTarn::DefineLabel() {
  DefinedLabel = nullptr;
  if (LineFlags > 1 || Label[0] == '\0') return;
  TSymbol* r = LookupSymbol(Label, ClassLabel);
  if (Pass == 1) {
    if (r) {
      DefinedLabel = r;
      return;
    }
    uint32_t type = TypeLabel;
    uint32_t expansion = 0;
    if (MacroState == 3) {
      // The type keeps the low 16 bits of the expansion number; the table
      // keeps all of it, so copies never mix however many expansions run.
      expansion = ExpansionCounter;
      type |= 0x02000000 | (expansion & 0xFFFF);
    }
    DefinedLabel = AddSymbol(Label, type, ProgramCounter, 0, expansion);
    NoteLabelDefined(DefinedLabel);
    return;
  }
  if (!r) {
    // The label's line was skipped in pass 1: the error stands at the label.
    LineError(40, LabelStart ? LabelStart : NormalizedLine);
    return;
  }
  GiveLabelValue(r);
}

void TTarn::GiveLabelValue(TSymbol* r) {
  DefinedLabel = r;
  if (r->Value != ProgramCounter && (r->Type & FlagsMask) != 0x02000000) LineError(32, NormalizedLine);
  r->Value = ProgramCounter;
  NoteLabelDefined(r);
}

void TTarn::NoteLabelDefined(const TSymbol* label, bool fromLine) {
  if (!OnLabelDefined || !label) return;
  if (fromLine) OnLabelDefined(*label, Current().Name, Current().LineCount);
  else OnLabelDefined(*label, std::string(), 0);
}
