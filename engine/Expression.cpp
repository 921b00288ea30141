// The tokenizer and the precedence-climbing evaluator behind every operand.
#include <cstring>
#include <iterator>

#include "Tarn.h"

namespace {

constexpr uint32_t KindValue = 0x10000, KindString = 0x20000, KindOperator = 0x30000, KindSeparator = 0x40000,
                   KindEnd = 0x50000, KindInvalid = 0x60000;

int Precedence(uint32_t type) { return int((type >> 20) & 0xF); }
bool CanBeBinary(uint32_t type) { return (type & 0x01000000) != 0; }
bool CanBeUnary(uint32_t type) { return (type & 0x02000000) != 0; }

// The value of each digit of the bases numbers are written in (up to 16),
// -1 for any other character.
const struct TDigitValues {
  int8_t Value[256];
  TDigitValues() {
    for (int c = 0; c < 256; ++c)
      Value[c] = int8_t(IsDigit(char(c)) ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1);
  }
} Digits;

}  // namespace

// The runtime's unsigned conversion in base 2, 8, 10 or 16: a value beyond
// 32 bits saturates. Returns where the conversion stopped.
size_t ConvertUnsigned(const char* text, size_t length, int base, uint32_t& value) {
  size_t i = 0;
  if (base == 16 && length >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && IsHexDigit(text[2]))
    i = 2;
  uint64_t v = 0;
  for (; i < length; ++i) {
    int d = Digits.Value[uint8_t(text[i])];
    if (d < 0 || d >= base) break;
    v = v * uint64_t(base) + uint64_t(d);
    if (v > 0xFFFFFFFFull) v = 0x100000000ull;
  }
  value = v > 0xFFFFFFFFull ? 0xFFFFFFFFu : uint32_t(v);
  return i;
}

bool NumberText(const char* text, size_t length, uint32_t& value) {
  char last = ToUpper(text[length - 1]);
  bool hexPrefix = length >= 2 && (text[1] == 'x' || text[1] == 'X');
  int base = 10;
  if (last == 'H') { base = 16; --length; }
  else if (last == 'O' || last == 'Q') { base = 8; --length; }
  else if (last == 'D' && !hexPrefix) { base = 10; --length; }
  else if (last == 'B' && !hexPrefix) { base = 2; --length; }
  else if (hexPrefix && text[0] == '0') base = 16;
  else if (text[0] == '0') base = 8;
  value = 0;
  return ConvertUnsigned(text, length, base, value) == length;
}

bool ReadNumberToken(const char* text, const char*& end, uint32_t& value) {
  // The commonest numbers first: "$" and up to 8 hexadecimal digits, or up to
  // 9 decimal digits without a leading zero, both ending where the name does.
  const bool hex = text[0] == '$';
  if (hex ? !(text[1] == '0' && (text[2] == 'x' || text[2] == 'X')) : text[0] != '0') {
    const char* p = text + (hex ? 1 : 0);
    uint32_t v = 0;
    int n = 0, base = hex ? 16 : 10;
    for (int8_t d; (d = Digits.Value[uint8_t(*p)]) >= 0 && d < base; ++p, ++n) v = v * uint32_t(base) + uint32_t(d);
    if (n > 0 && n <= (hex ? 8 : 9) && !IsTokenChar(*p)) {
      end = p;
      value = v;
      return true;
    }
  }
  // "$" numbers are hexadecimal whatever they end with.
  const char* digits = text + (hex ? 1 : 0);
  end = digits;
  while (IsTokenChar(*end)) ++end;
  size_t length = size_t(end - digits);
  value = 0;
  return digits != text ? ConvertUnsigned(digits, length, 16, value) == length : NumberText(digits, length, value);
}

namespace {

// The unary operators; false for one the evaluator does not know.
bool ApplyUnary(int32_t op, int32_t v, int32_t& u) {
  switch (op) {
    case '!': u = v == 0 ? 1 : 0; return true;
    case 4: u = int32_t(((uint32_t(v) & 0xFF) << 24) | ((uint32_t(v) & 0xFF00) << 8) |
                        ((uint32_t(v) >> 8) & 0xFF00) | (uint32_t(v) >> 24)); return true;
    case 5: u = v & 0xFF; return true;
    case 6: u = (v >> 8) & 0xFF; return true;
    case 7: case '~': u = ~v; return true;
    case '+': case '{': u = v; return true;
    case '-': u = int32_t(0u - uint32_t(v)); return true;
    default: u = v; return false;
  }
}

// The binary operators that cannot fail on their values; false (u unchanged)
// for a division by zero, a shift beyond 31, "}" and unknown operators, which
// the evaluator reports.
bool ApplyBinary(int32_t op, int32_t& u, int32_t v) {
  uint32_t a = uint32_t(u), b = uint32_t(v);
  switch (op) {
    case '*': u = int32_t(a * b); return true;
    case '/': case '%':
      if (v == 0) return false;
      if (u == INT32_MIN && v == -1) u = op == '/' ? INT32_MIN : 0;  // the one quotient that does not fit wraps around
      else u = op == '/' ? u / v : u % v;
      return true;
    case '+': u = int32_t(a + b); return true;
    case '-': u = int32_t(a - b); return true;
    case 0x3C3C: case 0x3E3E:
      if (v > 31) return false;
      if (op == 0x3C3C) u = int32_t(a << (b & 31));
      else u = u >> (b & 31);
      return true;
    case '<': u = u < v; return true;
    case 0x3C3D: u = u <= v; return true;
    case '>': u = u > v; return true;
    case 0x3E3D: u = u >= v; return true;
    case 0x3D3D: u = u == v; return true;
    case 0x213D: u = u != v; return true;
    case '&': u = u & v; return true;
    case '^': u = u ^ v; return true;
    case '|': u = u | v; return true;
    case 0x2626: u = (u != 0 && v != 0); return true;
    case 0x7C7C: u = (u != 0 || v != 0); return true;
    default: return false;
  }
}

}  // namespace

void TTarn::TraceStep(TTraceOp::TKind kind, int32_t value) {
  if (!Tracing) return;
  if (TraceLength >= int(std::size(Trace))) {
    TraceOverflow = true;
    return;
  }
  Trace[TraceLength++] = TTraceOp{kind, value};
}

// Evaluates a recorded expression again with the current operand value,
// program counter and byte count. False when a step would raise an error
// (division by zero, a shift beyond 31): the caller evaluates the text then.
bool TTarn::ReplayTrace(const TTraceOp* ops, int count, int32_t& result) {
  int32_t stack[TraceCapacity];
  int sp = 0;
  for (int i = 0; i < count; ++i) {
    const TTraceOp& op = ops[i];
    switch (op.Kind) {
      case TTraceOp::Constant: stack[sp++] = op.Value; break;
      case TTraceOp::Operand: stack[sp++] = OperandValue; break;
      case TTraceOp::ProgramCounter:
        stack[sp++] = ProgramCounter;
        RecordReadsCounter = true;
        break;
      case TTraceOp::ByteCount: stack[sp++] = ByteCount; break;
      case TTraceOp::Token: stack[sp++] = ShapeValues[op.Value]; break;
      case TTraceOp::Unary:
        if (sp < 1 || !ApplyUnary(op.Value, stack[sp - 1], stack[sp - 1])) return false;
        break;
      case TTraceOp::Binary:
        if (sp < 2 || !ApplyBinary(op.Value, stack[sp - 2], stack[sp - 1])) return false;
        --sp;
        break;
    }
  }
  if (sp != 1) return false;
  result = stack[0];
  return true;
}

TSymbol* TTarn::NextToken(TScan& cursor) {
  if (TokenPushback) {
    TokenPushback = 0;
    return Token;
  }
  TSymbol* t = Token;
  TokenStart = Line.Cur;
  ValueSource = TTraceOp::Constant;
  t->Type = KindInvalid;
  t->Value = 0;
  cursor.SkipBlanks();
  char c = cursor.GetChar();
  // A shape being recorded: the tokens an operand reads from the line are
  // counted, and a value read from anywhere else than one of the shape's
  // tokens breaks it (see NoteShapeValueToken).
  bool shapeLine = ShapeRecording && &cursor == &Line;
  if (shapeLine) {
    if (ShapeEvalTokens < 0) ShapeBroken = true;
    else ++ShapeEvalTokens;
  }
  auto set = [&](uint32_t type, int32_t value) { t->Type = type; t->Value = value; };
  auto second = [&](char expected) {
    if (cursor.Peek() == expected) { cursor.GetChar(); return true; }
    return false;
  };

  if (c == Separator && c != '\0' && c != '\n') {
    set(0xE40000, uint8_t(c));
  } else if (IsNameStart(c)) {
    cursor.UngetChar(c);
    const char* start = cursor.Cur;
    std::string_view name(t->Name, size_t(cursor.ReadName(t->Name, LineSize + 1, Separator)));
    TSymbol* s = LookupOperand(name);
    if (!s || s->ClassBits() != ClassOperator) {
      if (shapeLine) NoteShapeValueToken(start, cursor.Cur);
      else if (ShapeRecording) ShapeBroken = true;  // a label read by the table's text
      InputsRead |= ReadsLabel;
      if (Recording) {
        if (s) NoteRead(s);
        else RecordBroken = true;
      }
    }
    if (s) {
      set(s->Type, s->Value);
    } else {
      set(TypeLabel, ProgramCounter);
      if (Pass == 1) ForwardReference = On;
      else LineError(40, TokenStart);
    }
  } else if (IsDigit(c)) {
    cursor.UngetChar(c);
    const char* start = cursor.Cur;
    size_t length = size_t(cursor.ReadName(t->Name, LineSize + 1, Separator));
    if (shapeLine) NoteShapeValueToken(start, cursor.Cur);
    uint32_t value = 0;
    if (!NumberText(t->Name, length, value)) LineError(43, TokenStart);
    set(KindValue, int32_t(value));
  } else {
    switch (c) {
      case '\n': case '\0': set(0xE50000, 0x0A); break;
      case ',': set(0xE40000, 0x2C); break;
      case '!': if (second('=')) set(0x1630000, 0x213D); else set(0x2130000, '!'); break;
      case '~': set(0x2130000, '~'); break;
      case '%': case '*': case '/': set(0x1230000, c); break;
      case '+': case '-': set(0x3330000, c); break;
      case '<':
        if (second('<')) set(0x1430000, 0x3C3C);
        else if (second('=')) set(0x1530000, 0x3C3D);
        else set(0x1530000, '<');
        break;
      case '>':
        if (second('>')) set(0x1430000, 0x3E3E);
        else if (second('=')) set(0x1530000, 0x3E3D);
        else set(0x1530000, '>');
        break;
      case '=': if (second('=')) set(0x1630000, 0x3D3D); break;
      case '&': if (second('&')) set(0x1A30000, 0x2626); else set(0x1730000, '&'); break;
      case '^': set(0x1830000, '^'); break;
      case '|': if (second('|')) set(0x1B30000, 0x7C7C); else set(0x1930000, '|'); break;
      case '}': set(0x1C30000, '}'); break;
      case '{': set(0x2D30000, '{'); break;
      case '"': {
        uint32_t value = 0;
        int n = 0;
        for (;;) {
          char s = cursor.Peek();
          if (s == '"') { cursor.GetChar(); break; }
          if (s == '\n' || s == '\0') {
            LineError(41, cursor.Cur > cursor.Start ? cursor.Cur - 1 : cursor.Cur);
            break;
          }
          cursor.GetChar();
          if (n < LineSize) t->Name[n] = s;
          ++n;
          value = value * 256u + uint8_t(s);
        }
        t->Name[n < LineSize ? n : LineSize] = '\0';
        StringLength = int16_t(n);
        set(KindString, int32_t(value));
        break;
      }
      case '$':
        if (IsHexDigit(cursor.Peek())) {
          const char* start = cursor.Cur - 1;
          size_t length = size_t(cursor.ReadName(t->Name, LineSize + 1, Separator));
          if (shapeLine) NoteShapeValueToken(start, cursor.Cur);
          uint32_t value = 0;
          if (ConvertUnsigned(t->Name, length, 16, value) < length) LineError(43, TokenStart);
          set(KindValue, int32_t(value));
        } else {
          set(KindValue, ProgramCounter);
          InputsRead |= ReadsProgramCounter;
          RecordReadsCounter = true;
          if (ShapeRecording) ShapeBroken = true;
          ValueSource = TTraceOp::ProgramCounter;
        }
        break;
      case '`': set(KindValue, ByteCount); InputsRead |= ReadsByteCount; ValueSource = TTraceOp::ByteCount; break;
      case '#':
        if (InDescriptor) {
          set(KindValue, OperandValue);
          InputsRead |= ReadsOperand;
          ValueSource = TTraceOp::Operand;
        }
        break;
      default: break;
    }
  }
  if ((t->Type & 0xF0000) == KindInvalid) LineError(45, TokenStart);
  return t;
}

int32_t TTarn::EvalExpr(TScan& cursor, int limit) {
  int32_t u = 0;
  // Operand phase.
  for (;;) {
    TSymbol* t = NextToken(cursor);
    uint32_t kind = t->Type & 0xF0000;
    if (kind == KindValue || kind == KindString) {
      u = t->Value;
      TraceStep(ValueSource, ValueSource == TTraceOp::Token ? ValueToken : u);
      break;
    }
    if (kind == KindOperator) {
      uint32_t type = t->Type;
      int32_t op = t->Value;
      if (!CanBeUnary(type)) {
        LineError(49, TokenStart);
        continue;
      }
      int32_t v = EvalExpr(cursor, (op == '+' || op == '-') ? 1 : Precedence(type));
      if (!ApplyUnary(op, v, u)) LineError(54, TokenStart);
      TraceStep(TTraceOp::Unary, op);
      break;
    }
    if (kind == KindSeparator) {
      if (limit != 15) TokenPushback = On;
      LineError(52, TokenStart);
      return t->Value;
    }
    if (kind == KindEnd) {
      if (limit != 15) TokenPushback = On;
      LineError(47, TokenStart);
      return t->Value;
    }
    LineError(45, TokenStart);
    return t->Value;
  }
  // Operator phase.
  for (;;) {
    TSymbol* t = NextToken(cursor);
    uint32_t kind = t->Type & 0xF0000;
    if (kind == KindValue || kind == KindString) {
      LineError(44, TokenStart);
      continue;
    }
    if (kind == KindSeparator || kind == KindEnd) {
      if (limit != 15) TokenPushback = On;
      if (limit == 13) LineError(42, TokenStart);
      return u;
    }
    if (kind != KindOperator) continue;  // invalid: its error is already recorded
    uint32_t type = t->Type;
    int32_t op = t->Value;
    if (!CanBeBinary(type)) {
      LineError(50, TokenStart);
      continue;
    }
    int p = Precedence(type);
    if (p >= limit) {
      TokenPushback = On;
      return u;
    }
    int32_t v = op == '}' ? 0 : EvalExpr(cursor, p);
    if (op == '}') {
      if (limit == 13) return u;  // the end of a group: its "{" applies next
      LineError(46, TokenStart);
      continue;
    }
    if (!ApplyBinary(op, u, v)) {
      if (op == '/' || op == '%') {
        // Placed on the operator: the token that ended the divisor began just after it.
        LineError(53, TokenStart - 2 > NormalizedLine ? TokenStart - 2 : NormalizedLine);
      } else if (op == 0x3C3C || op == 0x3E3E) {
        LineError(48, TokenStart);
      } else {
        LineError(55, TokenStart);
      }
    }
    TraceStep(TTraceOp::Binary, op);
  }
}

int32_t TTarn::Evaluate(TScan& cursor) {
  ExpressionError = 0;
  int32_t v = EvalExpr(cursor, 15);
  return ExpressionError ? 0 : v;
}
