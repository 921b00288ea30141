// Remembered shapes: an instruction line matched as an earlier line of the
// same shape was, when its values pass the same range checks.
#include <algorithm>
#include <cstring>

#include "Tarn.h"
#include "TextHash.h"

// The shape of the line's instruction text: from the mnemonic on, each number
// ("12", "0FFH", "$1C") and each label after the mnemonic replaced by a mark.
// False when the line has no shape worth keeping (too many tokens, a number
// with a digit outside its base).
bool TTarn::ReadShape() {
  ShapeTokenCount = 0;
  char* key = ShapeKey;
  size_t n = 0;
  const char* p = OpcodeStart;
  while (IsFieldChar(*p)) key[n++] = *p++;
  while (*p != '\n' && *p != '\0') {
    char c = *p;
    bool number = IsDigit(c) || (c == '$' && IsHexDigit(p[1]));
    bool name = IsNameStart(c);
    if (!(number || name) || IsTokenChar(p[-1]) || p[-1] == '$') {
      if (c == '"') {
        // A quoted text stays as it is written.
        do key[n++] = *p++;
        while (*p != '"' && *p != '\n' && *p != '\0');
        if (*p == '"') key[n++] = *p++;
      } else {
        key[n++] = c;
        ++p;
      }
      continue;
    }
    const char* end = p;
    uint32_t value = 0;
    if (number) {
      if (!ReadNumberToken(p, end, value)) return false;
    } else {
      while (IsTokenChar(*end)) ++end;
    }
    const TSymbol* label = nullptr;
    // In the first pass a name not defined yet reads as the counter, a
    // forward reference; later it is an error, which the full match raises.
    bool forward = false;
    if (name) {
      std::string_view text(p, size_t(end - p));
      bool asText = IsTextName(text);
      if (!asText) {
        label = LookupOperand(text);
        forward = !label && Pass == 1 && !Compiled.IsWord(text);
        asText = !forward && (!label || label->ClassBits() == ClassOperator);
        if (asText && !label) NoteTextName(text);
      }
      if (asText) {
        // Not a label: a register, say, which the patterns compare as text.
        while (p < end) key[n++] = *p++;
        continue;
      }
    }
    if (ShapeTokenCount == int(MaxShapeTokens)) return false;
    TShapeToken& token = ShapeTokens[ShapeTokenCount++];
    token.Start = uint16_t(p - NormalizedLine);
    token.End = uint16_t(end - NormalizedLine);
    token.Label = label;
    token.Forward = forward;
    token.Value = number ? int32_t(value) : forward ? ProgramCounter : 0;
    token.KeyAt = uint16_t(n);
    key[n++] = number ? '\x01' : forward ? '\x03' : '\x02';
    p = end;
  }
  // What else decides how the text matches: the candidates, and whether
  // names compare in their letter case.
  std::memcpy(key + n, &FoundSymbol, sizeof FoundSymbol);
  n += sizeof FoundSymbol;
  key[n++] = CaseFlag == On ? 'c' : 'C';
  ShapeKeyLength = n;
  ShapeHash = HashText(key, n, 0);
  return true;
}

// The columns of the line's tokens, for the full match that records its
// shape; those of the line marked before are cleared first.
void TTarn::MarkShapeTokens() {
  for (int i = 0; i < MarkedCount; ++i)
    FillShort(ShapeTokenAt + MarkedTokens[i].Start, 0, size_t(MarkedTokens[i].End - MarkedTokens[i].Start));
  MarkedCount = ShapeTokenCount;
  for (int i = 0; i < ShapeTokenCount; ++i) {
    const TShapeToken& token = ShapeTokens[i];
    MarkedTokens[i] = {token.Start, token.End};
    FillShort(ShapeTokenAt + token.Start, uint8_t(i + 1), size_t(token.End - token.Start));
  }
}

// The slot a name of at most 8 characters is kept in, with its characters
// as one number.
TTarn::TTextName* TTarn::TextNameHome(std::string_view name, uint64_t& text) {
  if (!ShortText(name, text)) return nullptr;
  return &TextNames[MixBits(text ^ name.size()) & (std::size(TextNames) - 1)];
}

bool TTarn::IsTextName(std::string_view name) {
  uint64_t text;
  const TTextName* slot = TextNameHome(name, text);
  return slot && slot->Length == name.size() && slot->Text == text;
}

void TTarn::NoteTextName(std::string_view name) {
  uint64_t text;
  if (TTextName* slot = TextNameHome(name, text)) *slot = TTextName{text, name.size()};
}

void TTarn::ForgetTextName(const TSymbol* symbol) {
  std::string_view word = FirstWord(std::string_view(symbol->Name, symbol->NameLength));
  uint64_t text;
  if (IsTextName(word)) *TextNameHome(word, text) = TTextName{};
}

void TTarn::ForgetTextNames() { std::fill(std::begin(TextNames), std::end(TextNames), TTextName{}); }

// The entry of the line's shape; with add, made when there is none yet (and
// room for it).
TTarn::TShapeEntry* TTarn::FindShape(bool add) {
  size_t mask = ShapeSlots.size() - 1;
  for (size_t i = size_t(ShapeHash) & mask;; i = (i + 1) & mask) {
    TShapeSlot& slot = ShapeSlots[i];
    // The key's 64-bit hash stands for the key, as a line's check stands for its text.
    if (slot.Hash == ShapeHash) return &Shapes[slot.Entry];
    if (slot.Hash != 0) continue;
    if (!add || Shapes.size() >= MaxShapes) return nullptr;
    slot.Hash = ShapeHash;
    slot.Entry = uint32_t(Shapes.size());
    Shapes.emplace_back();
    if (Shapes.size() * 2 > ShapeSlots.size()) {
      // Twice the slots, each entry placed again by its key's hash.
      std::vector<TShapeSlot> slots(ShapeSlots.size() * 2);
      size_t bigger = slots.size() - 1;
      for (const TShapeSlot& old : ShapeSlots) {
        if (old.Hash == 0) continue;
        size_t j = size_t(old.Hash) & bigger;
        while (slots[j].Hash != 0) j = (j + 1) & bigger;
        slots[j] = old;
      }
      ShapeSlots.swap(slots);
    }
    return &Shapes.back();
  }
}

// A value token read from the line while an operand is evaluated: the shape
// holds when it is exactly one of the shape's tokens, whose value the steps of
// the operand then take. The operand is that token when it is its first.
void TTarn::NoteShapeValueToken(const char* start, const char* end) {
  if (!InShapeToken(start)) {
    ShapeBroken = true;
    return;
  }
  int index = ShapeTokenAt[start - NormalizedLine] - 1;
  const TShapeToken& token = ShapeTokens[index];
  if (NormalizedLine + token.Start != start || NormalizedLine + token.End != end) {
    ShapeBroken = true;
    return;
  }
  ValueSource = TTraceOp::Token;
  ValueToken = index;
  if (ShapeEvalTokens == 1) ShapeEvalToken = index;
}

// The operand value of a step without a token of its own: its steps' over
// the tokens' values, or the constant; ok turns false when the steps would
// raise an error.
int32_t TTarn::ShapeOperand(const TShapeVariant& variant, const TShapeStep& step, const int32_t* values, bool& ok) {
  if (step.OperandSteps == 0) return step.Constant;
  int32_t value = 0;
  ShapeValues = values;
  if (!ReplayTrace(variant.Operands.data() + step.OperandAt, step.OperandSteps, value)) ok = false;
  ShapeValues = nullptr;
  return value;
}

// The step of a range check or a field insertion, with the operand as it was read.
TTarn::TShapeStep TTarn::OperandStep(bool lowFailed, bool highFailed, const TSymbol* field, const TFieldShape* shape) {
  TShapeStep step;
  step.Token = OperandToken;
  if (OperandToken < 0 && OperandSteps > 0) {
    step.OperandSteps = OperandSteps;
    step.OperandAt = OperandAt;
  } else if (OperandToken < 0) {
    step.Constant = OperandValue;
  }
  step.LowFailed = lowFailed;
  step.HighFailed = highFailed;
  step.Bytes = uint16_t(ByteCount);
  step.Field = field;
  step.Shape = shape;
  if (shape && step.Token >= 0 && shape->Kind[1] == TFieldShape::Constant && shape->Kind[2] == TFieldShape::Constant &&
      !(shape->Kind[0] == TFieldShape::Traced && shape->CanFail[0])) {
    step.Plain = true;
    step.Low = shape->Value[1];
    step.High = shape->Value[2];
  }
  return step;
}

// One part of a field's descriptor for a step, with the step's operand; false
// when it would raise an error.
inline bool TTarn::ShapePart(const TShapeStep& step, int part, int32_t& value) {
  switch (step.Shape->Kind[part]) {
    case TFieldShape::Constant: value = step.Shape->Value[part]; return true;
    case TFieldShape::OperandAlone: value = OperandValue; return true;
    case TFieldShape::Traced: return TracedPart(*step.Shape, part, value);
    default: return false;
  }
}

// The text of a token compared with the pattern's character: the shape then
// holds only for a token whose text compares the same there. A comparison
// that agrees on a token's last character takes the match on past the token,
// where only a token of the same length leaves it as it was.
void TTarn::NoteTokenText(const char* at, char p, bool anyCase) {
  constexpr size_t MaxTextChecks = 64;
  int index = ShapeTokenAt[at - NormalizedLine] - 1;
  const TShapeToken& token = ShapeTokens[index];
  int offset = int(at - NormalizedLine) - token.Start, length = token.End - token.Start;
  bool equal = anyCase ? ToUpper(*at) == ToUpper(p) : *at == p;
  auto note = [&](const TTextCheck& check) {
    std::vector<TTextCheck>& texts = ShapeRecord.Texts;
    if (std::find(texts.begin(), texts.end(), check) != texts.end()) return;
    if (texts.size() == MaxTextChecks) ShapeBroken = true;
    else texts.push_back(check);
  };
  using K = TTextCheck;
  note({anyCase ? (equal ? K::EqualAnyCase : K::UnequalAnyCase) : (equal ? K::Equal : K::Unequal), int8_t(index),
        uint8_t(offset), p});
  if (equal && offset + 1 == length) note({K::Length, int8_t(index), uint8_t(length), 0});
}

bool TTarn::TextsHold(const std::vector<TTextCheck>& checks, const std::string_view* texts) {
  if (!texts) return false;
  for (const TTextCheck& check : checks) {
    std::string_view text = texts[check.Token];
    if (check.Kind == TTextCheck::Length) {
      if (text.size() != check.Offset) return false;
      continue;
    }
    if (check.Offset >= text.size()) return false;
    char a = text[check.Offset];
    bool anyCase = check.Kind == TTextCheck::EqualAnyCase || check.Kind == TTextCheck::UnequalAnyCase;
    bool equal = anyCase ? ToUpper(a) == ToUpper(check.Char) : a == check.Char;
    if (equal != (check.Kind == TTextCheck::Equal || check.Kind == TTextCheck::EqualAnyCase)) return false;
  }
  return true;
}

// Matches the line from the first remembered variant of its shape whose
// checks come out as before with these values and token texts, its code
// built with their fields inserted; false when none holds, and nothing has
// changed then.
bool TTarn::ApplyShape(const TShapeEntry& entry, const int32_t* values, const std::string_view* texts) {
  int savedByteCount = ByteCount;
  int32_t savedOperand = OperandValue;
  const TShapeVariant* chosen = nullptr;
  bool readsCounter = false;
  for (int v = 0; v < entry.Count && !chosen; ++v) {
    const TShapeVariant& variant = entry.Variants[v];
    if (!variant.Texts.empty() && !TextsHold(variant.Texts, texts)) continue;
    RecordReadsCounter = false;
    bool holds = true;
    for (const TShapeStep& step : variant.Checks) {
      if (step.Plain) {
        OperandValue = values[step.Token];
        if ((OperandValue < step.Low) != step.LowFailed || (step.High < OperandValue) != step.HighFailed) {
          holds = false;
          break;
        }
        continue;
      }
      ByteCount = step.Bytes;  // before the operand, whose steps may read it
      bool ok = true;
      OperandValue = step.Token >= 0 ? values[step.Token] : ShapeOperand(variant, step, values, ok);
      if (!ok) {
        holds = false;
        break;
      }
      // The value itself is not needed here, only whether it could be had.
      int32_t value, lo, hi;
      bool valueFails = step.Shape->Kind[0] == TFieldShape::Traced && step.Shape->CanFail[0] && !ShapePart(step, 0, value);
      if (valueFails || !ShapePart(step, 1, lo) || !ShapePart(step, 2, hi) ||
          (OperandValue < lo) != step.LowFailed || (hi < OperandValue) != step.HighFailed) {
        holds = false;
        break;
      }
    }
    if (holds) {
      chosen = &variant;
      readsCounter = RecordReadsCounter;
    }
  }
  if (!chosen) {
    ByteCount = savedByteCount;
    OperandValue = savedOperand;
    return false;
  }
  int count = int(chosen->Base.size());
  CopyShort(Code, chosen->Base.data(), chosen->Base.size());  // an alternative may have no code bytes
  RecordReadsCounter = readsCounter;
  for (const TShapeStep& step : chosen->Inserts) {
    if (step.Shape) {
      ByteCount = step.Bytes;
      bool ok = true;  // the operand's steps cannot fail: such an operand has no shape
      OperandValue = step.Token >= 0 ? values[step.Token] : ShapeOperand(*chosen, step, values, ok);
      ShapePart(step, 0, FieldValue);  // it passed with the checks
    } else {
      FieldValue = step.Constant;
    }
    InsertField(step.Field);
  }
  ByteCount = count;
  Matched = true;
  Mismatch = 0;
  return true;
}

bool TTarn::ReplayShape(TLineMemo& memo) {
  const TShapeEntry* found = FindShape(false);
  if (!found) return false;
  int32_t values[MaxShapeTokens];
  for (int i = 0; i < ShapeTokenCount; ++i) {
    const TShapeToken& token = ShapeTokens[i];
    values[i] = token.Label ? token.Label->Value : token.Value;
    ShapeTexts[i] = std::string_view(NormalizedLine + token.Start, size_t(token.End - token.Start));
  }
  if (!ApplyShape(*found, values, ShapeTexts)) return false;
  // The line is remembered as a full match would have it.
  RecordBroken = false;
  RecordReadCount = 0;
  for (int i = 0; i < ShapeTokenCount; ++i)
    if (ShapeTokens[i].Label) NoteRead(ShapeTokens[i].Label);
    else if (ShapeTokens[i].Forward) RecordBroken = true;  // as reading an undefined name does
  Recording = false;
  memo.SetCheck(0);
  if (!RecordBroken) {
    Store(memo, Code, ByteCount, false);
    LinkShape(memo, found);
  } else if (Pass == 1) {
    RememberForward(memo);
  }
  if (Pass < 2) FillShort(Code, 0, size_t(ByteCount));
  return true;
}

// A remembered line whose shape is one label (with what it reads besides
// the counter) keeps its shape: when the label or the counter changes, the
// line is matched from the shape without being read again.
void TTarn::LinkShape(TLineMemo& memo, const TShapeEntry* entry) {
  memo.Shape = 0;
  if (entry && ShapeTokenCount == 1 && ShapeTokens[0].Label && memo.ReadCount == 1)
    memo.Shape = uint32_t(entry - Shapes.data()) + 1;
}

// The line's remembered outcome no longer holds, its text being the same:
// matched again from its shape with the label's new value, when it has one.
bool TTarn::RelinkShape(TLineMemo& memo) {
  if (!memo.Shape) return false;
  TSymbol* label;
  std::string_view texts[1];  // the label's name, as the line writes it
  if (memo.NameRead) {
    // Read as a full reading would read it now: an operator or a name still
    // not defined takes that reading.
    texts[0] = std::string_view(MemoNames.c_str() + memo.Read);
    label = LookupOperand(texts[0]);
    if (!label || label->ClassBits() == ClassOperator) return false;
  } else {
    uint32_t serial = memo.Inputs() == 1 ? memo.Read : MemoReads[memo.Read + (memo.ReadsCounter ? 1 : 0)].Label;
    label = Symbols.At(serial);
    texts[0] = std::string_view(label->Name, label->NameLength);
  }
  int32_t values[1] = {label->Value};
  uint32_t shape = memo.Shape;
  if (!ApplyShape(Shapes[shape - 1], values, texts)) return false;
  RecordBroken = false;
  RecordReadCount = 0;
  NoteRead(label);
  Store(memo, Code, ByteCount, false);
  memo.Shape = shape;
  StoredSlot = nullptr;  // kept from a line that is not read in full
  return true;
}

// A first-pass line whose one token is a name not defined yet is kept with
// that name, linked to the shape it has once the name is a label, so that the
// next pass matches it from there without reading it. A name the shape holds
// as text (a register, say) may be a label by then; that does not matter: a
// shape is kept only from a match that never read such a name for its value,
// so the match goes the same way whatever the name has become.
void TTarn::RememberForward(TLineMemo& memo) {
  if (ShapeTokenCount != 1 || !ShapeTokens[0].Forward) return;
  size_t at = ShapeTokens[0].KeyAt;
  uint64_t hash = ShapeHash;
  ShapeKey[at] = '\x02';
  ShapeHash = HashText(ShapeKey, ShapeKeyLength, 0);
  TShapeEntry* entry = FindShape(true);
  ShapeKey[at] = '\x03';
  ShapeHash = hash;
  if (!entry) return;
  uint32_t shape = uint32_t(entry - Shapes.data()) + 1;
  RecordReadCount = 0;
  Store(memo, Code, ByteCount, false);
  memo.Read = uint32_t(MemoNames.size());
  memo.NameRead = 1;
  memo.Shape = shape;
  const TShapeToken& token = ShapeTokens[0];
  MemoNames.append(NormalizedLine + token.Start, size_t(token.End - token.Start));
  MemoNames.push_back('\0');
}

// Keeps the full match just made under the line's shape, when it matched
// and nothing in it depended on the text of a token.
void TTarn::StoreShape() {
  ShapeRecording = false;
  if (!Matched || ShapeBroken) return;
  TShapeEntry* found = FindShape(true);
  if (!found) return;
  TShapeEntry& entry = *found;
  TShapeVariant& variant = entry.Variants[entry.Next];
  entry.Next = uint8_t((entry.Next + 1) % std::size(entry.Variants));
  if (entry.Count < std::size(entry.Variants)) ++entry.Count;
  int count = MainCount > SubCount ? MainCount : SubCount;
  ShapeStored = &entry;
  variant.Checks = ShapeRecord.Checks;
  variant.Inserts = ShapeRecord.Inserts;
  variant.Texts = ShapeRecord.Texts;
  variant.Operands = ShapeRecord.Operands;
  variant.Base.resize(size_t(count));
  for (int i = 0; i < count; ++i)
    variant.Base[size_t(i)] = MatchedByte(i);
}
