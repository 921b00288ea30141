// Matching an instruction line against the CPU table's patterns and building
// its code: candidates in table order, sub-pattern groups, operand fields,
// range checks that choose between forms, and bit insertion.
#include <algorithm>
#include <cstring>

#include "Tarn.h"
#include "TextHash.h"

namespace {
bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
}  // namespace

void TTarn::EncodeInstruction() {
  Matched = false;
  Explaining = ExplainFn && ExplainLine != 0 && IncludeDepth == 0 && Current().LineCount == ExplainLine;
  if (Explaining) ExplainStart();
  TLineMemo* memo = StartRecording();
  bool replayed = false;
  if (memo && !PlainAlgorithms && ReadShape()) {
    replayed = ReplayShape(*memo);
    if (!replayed) {
      ShapeRecording = true;
      MarkShapeTokens();
      ShapeBroken = false;
      ShapeEvalTokens = -1;
      ShapeRecord.Checks.clear();
      ShapeRecord.Inserts.clear();
      ShapeRecord.Texts.clear();
      ShapeRecord.Operands.clear();
    }
  }
  for (TSymbol* candidate = FoundSymbol; candidate && !Matched && !replayed; candidate = candidate->NextSame) {
    if (candidate->ClassBits() != ClassInstruction) continue;
    Line.Cur = OpcodeStart;  // the mnemonic is compared again as part of the pattern
    KeepBestError();
    SubCount = 0;
    Pattern.Reset(candidate->Name);
    MainRecord = candidate;
    MainPlan = nullptr;
    MainNext = 0;
    if (!PlainAlgorithms && !Explaining) MainPlan = Compiled.PlanOf(candidate);
    MainBytes = candidate->Code();
    MainCount = int(candidate->Type & 0xFF);
    FillShort(Code, 0, size_t(MainCount));
    ShapeRecord.Inserts.clear();  // the cells they went to are cleared
    ByteCount = MainCount;
    if (Explaining) ExplainRecord("candidate", candidate, MainCount);
    ComparePattern();
    if (Explaining) ExplainOutcome("  ");
  }
  if (memo && !replayed) Remember(*memo);
  if (ShapeRecording) {
    ShapeStored = nullptr;
    StoreShape();
    if (memo && memo->CheckValue() != 0) LinkShape(*memo, ShapeStored);
  }
  DefineLabel();
  if (memo) RememberLabel(*memo);
  if (replayed) {
    // The code is the shape's, with the line's own fields.
  } else if (Matched) {
    int count = MainCount > SubCount ? MainCount : SubCount;
    if (Pass >= 2) {
      for (int i = 0; i < count; ++i) Code[i] |= MatchedByte(i);
    }
    ByteCount = count;
  } else {
    if (BestError > LineErrorNumber) {
      LineErrorNumber = BestError;
      ErrorColumn = BestColumn;
    }
    if (LineErrorNumber == 0) LineError(33, Line.Cur - 2 > NormalizedLine ? Line.Cur - 2 : NormalizedLine);
    // The byte count stays that of the last alternative tried, its cells
    // cleared of any field already inserted: a branch that misses its target
    // in pass 2 only because a label still moves keeps its length, so the
    // addresses behind it settle in the next pass instead of shifting from
    // pass to pass until the passes run out.
    FillShort(Code, 0, size_t(std::clamp<int>(ByteCount, 0, int(CodeCapacity))));
  }
  if (Explaining) ExplainResult();
  Explaining = false;
  Separator = ',';
  ConsumeLine();
}

// A group or field number of a pattern. Plain decimal digits, as tables write
// them, are read directly; anything else goes through the tokenizer, which
// gives the same value for plain digits, so both read alike.
int32_t TTarn::TableNumber(TScan& cursor) {
  cursor.SkipBlanks();
  const char* p = cursor.Cur;
  if (!TokenPushback && p[0] >= '1' && p[0] <= '9' && !IsDigit(Separator)) {
    int32_t value = 0;
    int n = 0;
    while (IsDigit(p[n]) && n < 9) value = value * 10 + (p[n++] - '0');
    if (!IsNameChar(p[n]) && p[n] != '.') {
      cursor.Cur += n;
      NoteTableNumber(value);
      return value;
    }
  }
  return NextToken(cursor)->Value;
}

void TTarn::ComparePattern() {
  TokenPushback = 0;
  // The mnemonic that found the record starts its pattern: when the line
  // holds it as written, comparing it character by character would agree.
  if (MainPlan) {
    int n = 0;
    while (n < MainPlan->WordLength && Line.Cur[n] == Pattern.Cur[n]) ++n;
    if (n == MainPlan->WordLength) {
      Line.Cur += n;
      Pattern.Cur += n;
    }
  }
  do {
    Pattern.SkipBlanks();
    Line.SkipBlanks();
    char c = Pattern.GetChar();
    if (c == '|') {
      MatchGroup();
      continue;
    }
    Pattern.UngetChar(c);
    if (Matched) break;
    if (Pattern.AtEnd() && Mismatch == 0 && LineErrorNumber == 0 && Line.AtEnd()) {
      Matched = true;
    } else {
      const char* at = Line.Cur;
      int s = uint8_t(Line.GetChar());
      int p = uint8_t(Pattern.GetChar());
      Mismatch = int16_t(s - p);
      if (Mismatch == 0 && Pattern.AtEnd() && s == 0) Mismatch = 1;  // both texts ended without a match
      NoteShapeComparison(at, char(p));
      // A group after a disagreement would go on from inside the token.
      if (Mismatch != 0 && ShapeRecording && InShapeToken(at) && Pattern.Peek() == '|' && SubCount > 0) ShapeBroken = true;
      if (Explaining) NoteComparison(at, s, p);
    }
  } while (!Matched && (Mismatch == 0 || (Pattern.Peek() == '|' && SubCount > 0)));
}

void TTarn::MatchGroup() {
  char* remembered = Line.Cur;
  TokenPushback = 0;
  int32_t n, m;
  const TPlanRef* ref = MainPlan && !IsDigit(Separator) ? Compiled.RefAt(MainPlan, MainNext, MainRecord, Pattern.Cur) : nullptr;
  if (ref) {
    NoteTableNumber(ref->Last);  // as reading "n-m" would leave it
    Pattern.Cur = const_cast<char*>(MainRecord->Name) + ref->End;
    n = ref->First;
    m = ref->Last;
  } else {
    n = TableNumber(Pattern);
    m = n;
    if (Pattern.Peek() == '-') {
      Pattern.GetChar();
      m = TableNumber(Pattern);
    }
  }
  // A group that names no sub-pattern never matches.
  Mismatch = 1;
  for (; !Matched && n <= m; ++n) {
    KeepBestError();
    SubPlan = nullptr;
    SubNext = 0;
    if (ref) {
      const TGroupEntry& entry = Compiled.Groups[ref->Index + uint32_t(n - ref->First)];
      SubRecord = entry.Record;
      if (entry.Plan >= 0) SubPlan = &Compiled.Patterns[size_t(entry.Plan)];
    } else {
      SubRecord = NumberedRecord(2, n);
    }
    if (!SubRecord) {
      Mismatch = 1;
      if (n == INT32_MAX) break;
      continue;
    }
    SubPattern.Reset(SubRecord->Name);
    SubBytes = SubRecord->Code();
    SubCount = int(SubRecord->Type & 0xFF);
    if (Explaining) ExplainRecord("    sub-pattern " + std::to_string(n), SubRecord, SubCount);
    int count = MainCount > SubCount ? MainCount : SubCount;
    FillShort(Code, 0, size_t(count));
    ShapeRecord.Inserts.clear();
    ByteCount = count;
    do {
      char c = SubPattern.GetChar();
      if (c == '{') {
        OperandField();
        continue;
      }
      SubPattern.UngetChar(c);
      if (Matched) break;
      Line.SkipBlanks();
      if (SubPattern.AtEnd() && Line.AtEnd() && Mismatch == 0 && LineErrorNumber == 0) {
        Matched = true;
      } else {
        const char* at = Line.Cur;
        int s = uint8_t(Line.GetChar());
        int p = uint8_t(SubPattern.GetChar());
        Mismatch = int16_t(s - p);
        if (Mismatch == 0 && SubPattern.AtEnd() && s == 0) Mismatch = 1;
        NoteShapeComparison(at, char(p));
        if (Explaining) NoteComparison(at, s, p);
      }
    } while (!Matched && Mismatch == 0);
    if (Explaining) ExplainOutcome("      ");
    if (!Matched) Line.Cur = remembered;
    if (n == INT32_MAX) break;
  }
}

// Compares the names of the list, in order, with the source text at its
// position; on agreement the source moves past the name and index is its place.
bool TTarn::MatchListName(int& index) {
  Line.SkipBlanks();
  index = -1;
  for (;;) {
    TSymbol* t = NextToken(NameList);
    if ((t->Type & 0xF0000) == 0x50000) return false;
    ++index;
    if ((t->Type & 0xF0000) == 0x20000) {
      size_t length = size_t(StringLength < LineSize ? StringLength : LineSize);
      bool agree = true;
      for (size_t i = 0; i < length && agree; ++i) {
        char a = Line.Cur[i], b = t->Name[i];
        if (ShapeRecording && InShapeToken(Line.Cur + i)) NoteTokenText(Line.Cur + i, b, CaseFlag != On);
        if (a == '\n' || a == '\0') agree = false;
        else if (CaseFlag == On ? a != b : ToUpper(a) != ToUpper(b)) agree = false;
      }
      if (agree) {
        char after = Line.Cur[length];
        // Inside a token the name is cut short, unless the separator is a
        // character a token holds; either way the token's text decides.
        if (ShapeRecording && InShapeToken(Line.Cur + length) && Separator != '{') {
          if (IsTokenChar(Separator) || Separator == '$') ShapeBroken = true;
          else NoteTokenText(Line.Cur + length, '\n', false);  // a token never holds a newline: "it is still inside"
        }
        agree = IsWhite(after) || after == ',' || after == Separator || Separator == '{';
      }
      if (agree) {
        Line.Cur += length;
        NextToken(NameList);  // the comma, or the end of the list
        return true;
      }
    }
    if ((NextToken(NameList)->Type & 0xF0000) == 0x50000) return false;
  }
}

void TTarn::OperandField() {
  TokenPushback = 0;
  const TPlanRef* ref = SubPlan && !IsDigit(Separator) ? Compiled.RefAt(SubPlan, SubNext, SubRecord, SubPattern.Cur) : nullptr;
  const TFieldPlan* plan = ref ? &Compiled.Fields[ref->Index] : nullptr;
  int32_t k;
  if (ref) {
    k = ref->First;
    NoteTableNumber(k);
    SubPattern.Cur = SubRecord->Name + ref->End;
  } else {
    k = TableNumber(SubPattern);
    SubPattern.GetChar();  // the "}"
  }
  char after = SubPattern.Peek();
  Separator = after;
  // A separator that a token could hold would cut it where its text says.
  if (ShapeRecording && (IsTokenChar(after) || after == '$')) ShapeBroken = true;
  TSymbol* field = plan ? plan->Record : NumberedRecord(1, k);
  if (!field) {
    if (Explaining) Explain("        field {" + std::to_string(k) + "}: not defined by the table");
    Mismatch = 1;
    Separator = ',';
    return;
  }
  Descriptor.Reset(field->Name);
  bool nameField = Descriptor.Peek() == '@';
  bool nameFound = true;
  const TFieldShape* shape = plan && plan->Shaped ? &plan->Shape : nullptr;
  InDescriptor = On;
  if (nameField) {
    Descriptor.GetChar();
    bool set = Descriptor.Peek() == '&';
    if (set) Descriptor.GetChar();
    OperandValue = 0;
    int32_t list = Evaluate(Descriptor);
    TSymbol* names = NumberedRecord(0, list);
    char* remembered = Line.Cur;
    for (;;) {
      int index = 0;
      bool agreed = false;
      if (names) {
        NameList.Reset(names->Name);
        char* before = Line.Cur;
        agreed = MatchListName(index);
        if (agreed && Line.Cur == before && set) agreed = false;  // an empty name would repeat forever
      }
      if (!set) {
        OperandValue = index;
        if (!agreed) {
          Mismatch = 1;
          nameFound = false;
        }
        break;
      }
      if (!agreed) {
        Line.Cur = remembered;
        Mismatch = 0;
        break;
      }
      if (index >= 0 && index < 32) OperandValue = int32_t(uint32_t(OperandValue) | (1u << index));
      remembered = Line.Cur;
      Line.SkipBlanks();
      if (Line.Peek() == ',') Line.GetChar();
      Line.SkipBlanks();
      if (Line.Peek() == Separator || Line.AtEnd()) break;
    }
    FieldValue = OperandValue;
  } else {
    InDescriptor = Off;
    EvaluateOperand();
    if (ForwardReference && !(plan ? plan->KeepsForward : std::strchr(field->Name, '$') != nullptr)) {
      // The value no longer comes from the operand's token.
      OperandValue = 0;
      OperandToken = -1;
      OperandSteps = 0;
    }
    if (Separator != '\0' && Line.Cur > Line.Start) --Line.Cur;
    Separator = ',';
    InDescriptor = On;
    FieldValue = DescriptorPart(field, shape, 0);
    if (ShapeRecording && (ExpressionError || !shape)) ShapeBroken = true;
  }
  // The lowest and highest operand value, each compared as it is read.
  int32_t lo = nameField ? Evaluate(Descriptor) : DescriptorPart(field, shape, 1);
  bool lowFailed = OperandValue < lo;
  if (ShapeRecording && ExpressionError) ShapeBroken = true;
  if (lowFailed) LineError(36, Line.Cur - 1 > NormalizedLine ? Line.Cur - 1 : NormalizedLine);
  int32_t hi = nameField ? Evaluate(Descriptor) : DescriptorPart(field, shape, 2);
  bool highFailed = hi < OperandValue;
  if (ShapeRecording && ExpressionError) ShapeBroken = true;
  if (highFailed) LineError(36, Line.Cur - 1 > NormalizedLine ? Line.Cur - 1 : NormalizedLine);
  if (ShapeRecording && !nameField && shape) {
    for (int part = 0; part < 3; ++part)
      if (shape->Kind[part] == TFieldShape::General) ShapeBroken = true;
    ShapeRecord.Checks.push_back(OperandStep(lowFailed, highFailed, field, shape));
  }
  if (Explaining) ExplainField(k, nameField, nameFound, lo, hi);
  // A name field may end with a fourth part: the value to insert, computed
  // from "#", the name's place in its list (or the set's mask). Registers
  // whose number is not their place in the list, or whose bits lie apart in
  // the code (a little-endian word, a split field), need it.
  if (nameField) {
    Descriptor.SkipBlanks();
    if (!Descriptor.AtEnd()) {
      // The part runs to the end of the descriptor: the character that ends
      // the operand in the source ("}" in "{1}}") plays no part in it.
      char separator = Separator;
      Separator = ',';
      FieldValue = Evaluate(Descriptor);
      Separator = separator;
    }
  }
  InDescriptor = Off;
  if ((Pass >= 2 || Recording) && Mismatch == 0 && LineErrorNumber == 0) {
    InsertField(field);
    if (ShapeRecording) {
      if (nameField) {
        TShapeStep step;
        step.Constant = FieldValue;
        step.Field = field;
        ShapeRecord.Inserts.push_back(step);
      } else {
        ShapeRecord.Inserts.push_back(OperandStep(false, false, field, shape));
      }
    }
  }
  if (nameFound) {
    Line.SkipBlanks();
    if (SubPattern.AtEnd() && Line.AtEnd() && Mismatch == 0 && LineErrorNumber == 0) {
      Matched = true;
    } else if (!nameField || after != '{') {
      const char* at = Line.Cur;
      int s = uint8_t(Line.GetChar());
      int p = uint8_t(SubPattern.GetChar());
      Mismatch = int16_t(s - p);
      if (Mismatch == 0 && SubPattern.AtEnd() && s == 0) Mismatch = 1;
      NoteShapeComparison(at, char(p));
      if (Explaining) NoteComparison(at, s, p);
    }
  }
  Separator = ',';
}

// A part the field's shape cannot give in line: replayed from its recorded
// steps, or read from the text (from where the shape says it starts, or,
// without a shape, from where the previous part ended).
int32_t TTarn::ReadDescriptorPart(const TSymbol* field, const TFieldShape* shape, int part) {
  if (shape) {
    if (shape->Kind[part] == TFieldShape::Traced) {
      int32_t value = 0;
      if (TracedPart(*shape, part, value)) {
        TokenStart = Line.Cur;
        ExpressionError = 0;
        return value;
      }
      // A step would raise its error: the text is read to raise it.
    }
    Descriptor.Cur = const_cast<char*>(field->Name) + shape->Offset[part];
  }
  return Evaluate(Descriptor);
}

// The operand of an expression field. The alternatives of a line read the same
// operand text again and again; a reading that raised no error is remembered.
void TTarn::EvaluateOperand() {
  if (PlainAlgorithms) {
    ForwardReference = 0;
    OperandValue = Evaluate(Line);
    return;
  }
  TOperandMemo* slot = nullptr;
  for (TOperandMemo& m : OperandMemo) {
    if (m.Serial == LineSerial && m.Start == Line.Cur && m.Separator == Separator &&
        (m.ByteCount < 0 || m.ByteCount == ByteCount)) {
      Line.Cur = const_cast<char*>(m.End);
      TokenStart = m.TokenStart;
      OperandValue = m.Value;
      ForwardReference = m.ForwardReference;
      OperandToken = m.ShapeToken;
      OperandSteps = m.ShapeSteps;
      OperandAt = m.ShapeAt;
      ExpressionError = 0;
      return;
    }
    if (!slot || m.Serial != LineSerial) slot = &m;
  }
  const char* start = Line.Cur;
  int16_t errorBefore = LineErrorNumber;
  ForwardReference = 0;
  InputsRead = 0;
  ShapeEvalTokens = 0;
  ShapeEvalToken = -1;
  // For a shape, the operand's steps are recorded: one of several tokens is
  // worked out from their values.
  bool tracing = ShapeRecording && !Tracing;
  if (tracing) {
    Tracing = true;
    TraceOverflow = false;
    TraceLength = 0;
  }
  OperandValue = Evaluate(Line);
  if (tracing) Tracing = false;
  ShapeEvalTokens = -1;
  // An expression that raised an error is 0 whatever its token.
  OperandToken = int8_t(ExpressionError ? -1 : ShapeEvalToken);
  OperandSteps = 0;
  if (tracing && !ExpressionError && !(TraceLength == 1 && Trace[0].Kind == TTraceOp::Token)) {
    bool tokens = false, usable = !TraceOverflow && !TraceCanFail(Trace, TraceLength);
    for (int i = 0; i < TraceLength; ++i) {
      tokens |= Trace[i].Kind == TTraceOp::Token;
      // "#" and "$" in the line's own text: not worked out again
      usable &= Trace[i].Kind != TTraceOp::Operand && Trace[i].Kind != TTraceOp::ProgramCounter;
    }
    if (tokens && (!usable || ShapeRecord.Operands.size() + size_t(TraceLength) > 1024)) {
      ShapeBroken = true;
    } else if (tokens) {
      OperandToken = -1;
      OperandAt = uint16_t(ShapeRecord.Operands.size());
      OperandSteps = uint8_t(TraceLength);
      ShapeRecord.Operands.insert(ShapeRecord.Operands.end(), Trace, Trace + TraceLength);
    }
  }
  int bytes = (InputsRead & ReadsByteCount) ? ByteCount : -1;
  if (!ExpressionError && LineErrorNumber == errorBefore)
    *slot = TOperandMemo{LineSerial, start, Separator, bytes, Line.Cur, TokenStart, OperandValue, ForwardReference,
                         OperandToken, OperandSteps, OperandAt};
}

// Inserts the field value at its bit position, counted from the top bit of the
// first code byte, most significant bit first; by OR into cleared cells.
void TTarn::InsertField(const TSymbol* field) {
  unsigned position = (uint32_t(field->Value) >> 8) & 0xFF;
  unsigned width = uint32_t(field->Value) & 0xFF;
  uint32_t x = uint32_t(FieldValue);
  unsigned shift = (32u - (width % 32u)) % 32u;
  x <<= shift;
  unsigned b = position / 8, r = position % 8;
  if (r > 0) {
    Code[b + 4] |= uint8_t((x << (8 - r)) & 0xFF);
    x >>= r;
  }
  Code[b] |= uint8_t(x >> 24);
  Code[b + 1] |= uint8_t(x >> 16);
  Code[b + 2] |= uint8_t(x >> 8);
  Code[b + 3] |= uint8_t(x);
}
