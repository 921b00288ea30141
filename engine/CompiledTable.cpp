// The CPU table's patterns read once after loading: group and field numbers,
// the records they name, each field descriptor's shape, and the words the
// patterns hold. Matching uses them instead of reading the same numbers and
// descriptors on every line.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "Tarn.h"
#include "TextHash.h"

namespace {

// Where a plain table number at text + at ends, as the matcher's own reading
// of table numbers takes it without the tokenizer (a digit 1 to 9 first, at
// most nine digits, no name character or "." after them); -1 when the
// number is not of that kind and must be read as the text says.
int PlainNumberEnd(const char* text, int at, int32_t& value) {
  while (text[at] == ' ' || text[at] == '\t') ++at;
  const char* p = text + at;
  if (p[0] < '1' || p[0] > '9') return -1;
  value = 0;
  int n = 0;
  while (IsDigit(p[n]) && n < 9) value = value * 10 + (p[n++] - '0');
  if (IsNameChar(p[n]) || p[n] == '.') return -1;
  return at + n;
}

constexpr int32_t MaxPlannedGroup = 1024;  // numbers in one "|n-m"; wider ranges are read as text

}  // namespace

void TTarn::CompileTable() {
  ForgetTextNames();  // the table's words change
  Compiled = TCompiledTable{};
  if (PlainAlgorithms) return;
  // Sub-patterns first: the groups of instruction patterns point at their plans.
  std::unordered_map<const TSymbol*, int32_t> subPlans;
  for (TSymbol* head : CpuTables[2].Heads)
    for (TSymbol* s = head; s; s = s->Next) {
      TPatternPlan plan;
      if (PlanPattern(s, false, plan)) {
        subPlans[s] = int32_t(Compiled.Patterns.size());
        Compiled.Patterns.push_back(plan);
      }
    }
  bool first = true;
  for (TSymbol* s = Symbols.First(); s; s = s->Next) {
    if (s->ClassBits() != ClassInstruction) continue;
    if (first) Compiled.FirstInstructionSerial = s->Serial;
    first = false;
    uint32_t place = s->Serial - Compiled.FirstInstructionSerial;
    if (place >= Compiled.Instructions.size()) Compiled.Instructions.resize(size_t(place) + 1, -1);
    size_t refsBefore = Compiled.Refs.size();
    TPatternPlan plan;
    if (!PlanPattern(s, true, plan)) continue;
    for (size_t i = refsBefore; i < Compiled.Refs.size(); ++i) {
      TPlanRef& ref = Compiled.Refs[i];
      ref.Index = uint32_t(Compiled.Groups.size());
      for (int32_t n = ref.First; n <= ref.Last; ++n) {
        TGroupEntry entry;
        entry.Record = NumberedRecord(2, n);
        auto sub = subPlans.find(entry.Record);
        if (sub != subPlans.end()) entry.Plan = sub->second;
        Compiled.Groups.push_back(entry);
      }
    }
    Compiled.Instructions[place] = int32_t(Compiled.Patterns.size());
    Compiled.Patterns.push_back(plan);
  }
  std::vector<std::string> words;
  auto addWords = [&](const char* text) {
    for (const char* p = text; *p;) {
      if (!IsNameStart(*p)) {
        ++p;
        continue;
      }
      std::string word;
      while (IsTokenChar(*p)) word += ToUpper(*p++);
      words.push_back(std::move(word));
    }
  };
  for (int table : {0, 2})
    for (TSymbol* head : CpuTables[table].Heads)
      for (TSymbol* s = head; s; s = s->Next) addWords(s->Name);
  for (TSymbol* s = Symbols.First(); s; s = s->Next)
    if (s->ClassBits() == ClassInstruction) addWords(s->Name);
  Compiled.Words.clear();
  for (std::string& word : words) Compiled.Words.insert(std::move(word));
}

size_t TTarn::TCompiledTable::TWordHash::operator()(std::string_view s) const {
  return size_t(HashText(s.data(), s.size(), 0));
}

bool TTarn::TCompiledTable::IsWord(std::string_view name) const {
  char upper[LineSize];
  size_t n = std::min(name.size(), sizeof upper);
  for (size_t i = 0; i < n; ++i) upper[i] = ToUpper(name[i]);
  return Words.find(std::string_view(upper, n)) != Words.end();
}

// Walks a pattern as the matcher does and notes each group ("|", instruction
// patterns) or field ("{", sub-patterns) with its numbers. False when one of
// them is not a plain number: the whole pattern is then read as text.
bool TTarn::PlanPattern(TSymbol* record, bool instruction, TPatternPlan& plan) {
  const char* text = record->Name;
  int length = int(record->NameLength);
  if (length > UINT16_MAX - 2) return false;
  size_t refsBefore = Compiled.Refs.size();
  auto fail = [&] {
    Compiled.Refs.resize(refsBefore);
    return false;
  };
  plan = TPatternPlan{};
  plan.FirstRef = uint32_t(refsBefore);
  if (instruction) {
    int word = 0;
    while (word < length && IsFieldChar(text[word])) ++word;
    plan.WordLength = uint16_t(word);
  }
  int at = 0;
  for (;;) {
    if (instruction)
      while (text[at] == ' ' || text[at] == '\t') ++at;  // the pattern's blanks are skipped
    char c = text[at];
    if (c == '\0' || c == '\n') break;
    ++at;
    if (instruction && c == '|') {
      TPlanRef ref;
      ref.Offset = uint16_t(at);
      int end = PlainNumberEnd(text, at, ref.First);
      if (end < 0) return fail();
      ref.Last = ref.First;
      if (text[end] == '-') {
        end = PlainNumberEnd(text, end + 1, ref.Last);
        if (end < 0) return fail();
      }
      if (ref.Last >= ref.First && ref.Last - ref.First >= MaxPlannedGroup) return fail();
      ref.End = uint16_t(end);
      Compiled.Refs.push_back(ref);  // its sub-patterns are found once every plan exists
      at = end;
    } else if (!instruction && c == '{') {
      TPlanRef ref;
      ref.Offset = uint16_t(at);
      int end = PlainNumberEnd(text, at, ref.First);
      if (end < 0) return fail();
      ref.Last = ref.First;
      if (text[end] != '\0' && text[end] != '\n') ++end;  // the "}" (or whatever stands there)
      ref.End = uint16_t(end);
      ref.Index = uint32_t(Compiled.Fields.size());
      TFieldPlan field;
      field.Record = NumberedRecord(1, ref.First);
      if (field.Record) {
        field.KeepsForward = std::strchr(field.Record->Name, '$') != nullptr;
        field.Shaped = field.Record->Name[0] != '@' && ShapeOfField(field.Record, field.Shape);
      }
      Compiled.Fields.push_back(field);
      Compiled.Refs.push_back(ref);
      at = end;
    }
  }
  plan.RefCount = uint32_t(Compiled.Refs.size() - refsBefore);
  return true;
}

const TTarn::TPlanRef* TTarn::TCompiledTable::RefAt(const TPatternPlan* plan, uint32_t& next, const TSymbol* record,
                                                    const char* at) const {
  long offset = at - record->Name;
  while (next < plan->RefCount && Refs[plan->FirstRef + next].Offset < offset) ++next;
  if (next < plan->RefCount && Refs[plan->FirstRef + next].Offset == offset) return &Refs[plan->FirstRef + next];
  return nullptr;
}

// Whether replaying the steps could raise an error, whatever the operand: a
// division or remainder, a shift by anything but a constant below 32, or an
// operator the evaluator would report.
bool TTarn::TraceCanFail(const TTraceOp* ops, int count) {
  for (int i = 0; i < count; ++i) {
    const TTarn::TTraceOp& op = ops[i];
    if (op.Kind == TTarn::TTraceOp::Unary) {
      switch (op.Value) {
        case '!': case 4: case 5: case 6: case 7: case '~': case '+': case '{': case '-': break;
        default: return true;
      }
    } else if (op.Kind == TTarn::TTraceOp::Binary) {
      switch (op.Value) {
        case '*': case '+': case '-': case '<': case 0x3C3D: case '>': case 0x3E3D: case 0x3D3D: case 0x213D:
        case '&': case '^': case '|': case 0x2626: case 0x7C7C: break;
        case 0x3C3C: case 0x3E3E:
          // The shift's count is the value pushed just before it.
          if (i == 0 || ops[i - 1].Kind != TTarn::TTraceOp::Constant || uint32_t(ops[i - 1].Value) > 31) return true;
          break;
        default: return true;
      }
    }
  }
  return false;
}

TTarn::TLinearSteps TTarn::LinearStepsOf(const TTraceOp* ops, int count) {
  TLinearSteps stack[TraceCapacity];
  int sp = 0;
  bool readsCounter = false;
  auto isConstant = [](const TLinearSteps& s) { return s.Operand == 0 && s.Counter == 0 && s.Bytes == 0; };
  for (int i = 0; i < count; ++i) {
    const TTraceOp& op = ops[i];
    TLinearSteps term;
    switch (op.Kind) {
      case TTraceOp::Constant: term.Constant = uint32_t(op.Value); break;
      case TTraceOp::Operand: term.Operand = 1; break;
      case TTraceOp::ProgramCounter: term.Counter = 1; readsCounter = true; break;
      case TTraceOp::ByteCount: term.Bytes = 1; break;
      case TTraceOp::Unary:
        if (sp < 1) return {};
        if (op.Value == '-') {
          TLinearSteps& t = stack[sp - 1];
          t = {false, false, 0u - t.Constant, 0u - t.Operand, 0u - t.Counter, 0u - t.Bytes};
        } else if (op.Value != '+' && op.Value != '{') {
          return {};
        }
        continue;
      case TTraceOp::Binary: {
        if (sp < 2) return {};
        TLinearSteps& a = stack[sp - 2];
        const TLinearSteps& b = stack[sp - 1];
        if (op.Value == '+' || op.Value == '-') {
          uint32_t sign = op.Value == '+' ? 1u : 0u - 1u;
          a = {false, false, a.Constant + sign * b.Constant, a.Operand + sign * b.Operand,
               a.Counter + sign * b.Counter, a.Bytes + sign * b.Bytes};
        } else if (op.Value == '*' && (isConstant(a) || isConstant(b))) {
          uint32_t k = isConstant(a) ? a.Constant : b.Constant;
          const TLinearSteps& t = isConstant(a) ? b : a;
          a = {false, false, t.Constant * k, t.Operand * k, t.Counter * k, t.Bytes * k};
        } else {
          return {};
        }
        --sp;
        continue;
      }
      default: return {};  // a token of a line's shape: not in a field's steps
    }
    if (sp == TraceCapacity) return {};
    stack[sp++] = term;
  }
  if (sp != 1) return {};
  TLinearSteps result = stack[0];
  result.Valid = true;
  result.ReadsCounter = readsCounter;
  return result;
}

// Evaluates the three parts of an expression field's descriptor as matching
// does, with "#" as 0, recording what each reads; nothing of the line being
// assembled (the CPU line) is changed. A part that raises an error with that
// operand leaves the field without a shape: it is then always read as text.
bool TTarn::ShapeOfField(TSymbol* field, TFieldShape& shape) {
  // What evaluating changes besides the trace.
  int16_t pushback = TokenPushback, stringLength = StringLength, forward = ForwardReference;
  int16_t lineError = LineErrorNumber, expressionError = ExpressionError, inDescriptor = InDescriptor;
  uint16_t errorColumn = ErrorColumn;
  const char* tokenStart = TokenStart;
  uint32_t tokenType = Token->Type;
  int32_t tokenValue = Token->Value, operand = OperandValue;
  char separator = Separator;
  std::string tokenName(Token->Name);
  TScan descriptor = Descriptor;

  TokenPushback = 0;
  LineErrorNumber = 0;
  ErrorColumn = 0;
  InDescriptor = On;
  OperandValue = 0;
  Separator = ',';
  Descriptor.Reset(field->Name);
  bool clean = true;
  for (int part = 0; part < 3 && clean; ++part) {
    const char* start = Descriptor.Cur;
    InputsRead = 0;
    Tracing = true;
    TraceOverflow = false;
    TraceLength = 0;
    int32_t value = Evaluate(Descriptor);
    Tracing = false;
    clean = !ExpressionError && LineErrorNumber == 0;
    shape.Offset[part] = uint16_t(start - field->Name);
    shape.Value[part] = value;
    if (InputsRead == 0) {
      shape.Kind[part] = TFieldShape::Constant;
    } else if (InputsRead == ReadsOperand && TraceLength == 1 && Trace[0].Kind == TTraceOp::Operand) {
      shape.Kind[part] = TFieldShape::OperandAlone;
    } else if (!(InputsRead & ReadsLabel) && !TraceOverflow && TraceLength > 0) {
      shape.Kind[part] = TFieldShape::Traced;
      shape.Trace[part].assign(Trace, Trace + TraceLength);
      shape.CanFail[part] = TraceCanFail(Trace, TraceLength);
      shape.Linear[part] = LinearStepsOf(Trace, TraceLength);
    } else {
      shape.Kind[part] = TFieldShape::General;
    }
  }

  TokenPushback = pushback;
  StringLength = stringLength;
  ForwardReference = forward;
  LineErrorNumber = lineError;
  ExpressionError = expressionError;
  InDescriptor = inDescriptor;
  ErrorColumn = errorColumn;
  TokenStart = tokenStart;
  Token->Type = tokenType;
  Token->Value = tokenValue;
  std::memcpy(Token->Name, tokenName.c_str(), tokenName.size() + 1);
  OperandValue = operand;
  Separator = separator;
  Descriptor = descriptor;
  return clean;
}
