// Conditional blocks (IF, ELSE, ENDI), macro definition and expansion (MACRO,
// ENDM, invocation by name) and text replacement (RPTXT): the steps of the
// line reader and of the line processor that change which text is assembled.
#include "Macros.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "Tarn.h"

namespace {

// A raw line holds 254 characters, its newline and the terminator.
constexpr size_t MaxLineText = LineSize - 2;
// An expansion begun from a body line reads no new source line, so only a
// chain of such expansions (a macro that invokes itself, or macros that invoke
// each other) can run without end. A chain this long is taken to be one: a
// recursion that an IF ends can go no deeper than the seven open blocks
// allowed, since each level abandons its ENDI, so no useful chain comes near.
#ifdef TARN_FUZZ_CHAIN_LIMIT
constexpr uint32_t MaxChainedExpansions = TARN_FUZZ_CHAIN_LIMIT;  // fuzzing build only: seconds per input otherwise
#else
constexpr uint32_t MaxChainedExpansions = 4096;
#endif
constexpr int MaxConditionalDepth = 7;
constexpr uint32_t KindString = 0x20000, KindSeparator = 0x40000;

// The text of a line up to, not including, its newline.
std::string TextOfLine(const char* line) {
  const char* end = std::strchr(line, '\n');
  return end ? std::string(line, end) : std::string(line);
}

// Stores a working text as a line: cut at the buffer, newline, terminator.
void PutLine(char* destination, const std::string& text) {
  size_t n = std::min(text.size(), MaxLineText);
  std::memcpy(destination, text.data(), n);
  destination[n] = '\n';
  destination[n + 1] = '\0';
}

// Walks a formal or argument list: elements are split at every comma, leading
// blanks skipped and trailing white space removed.
struct TListCursor {
  const std::string& Text;
  size_t Pos = 0;

  bool Blank() const { return Text.find_first_not_of(" \t") == std::string::npos; }
  // Takes the next element; true when it ended with a comma (another follows).
  bool Take(std::string& element) {
    while (Pos < Text.size() && (Text[Pos] == ' ' || Text[Pos] == '\t')) ++Pos;
    size_t end = Text.find(',', Pos);
    bool comma = end != std::string::npos;
    if (!comma) end = Text.size();
    element = Text.substr(Pos, end - Pos);
    while (!element.empty() && (element.back() == ' ' || element.back() == '\t')) element.pop_back();
    Pos = comma ? end + 1 : end;
    return comma;
  }
};

bool SameText(const char* text, const std::string& name, bool exact) {
  for (size_t i = 0; i < name.size(); ++i) {
    char a = text[i], b = name[i];
    if (exact ? a != b : ToUpper(a) != ToUpper(b)) return false;
  }
  return true;
}

// Replaces every occurrence of a formal name, also inside names, strings and
// comments. The scan resumes right behind the inserted argument, so a formal
// name that follows an argument directly is substituted too; the argument's
// own text is never scanned again, so substitution always ends.
void Substitute(std::string& line, const std::string& formal, const std::string& argument, bool exact) {
  size_t pos = 0;
  // Text beyond the line buffer is cut afterwards: no need to look there.
  while (pos < MaxLineText && pos + formal.size() <= line.size()) {
    if (SameText(line.data() + pos, formal, exact)) {
      line.replace(pos, formal.size(), argument);
      pos += argument.size();
    } else {
      ++pos;
    }
  }
  if (line.size() > MaxLineText) line.resize(MaxLineText);
}

// The formal parameter list of a stored MACRO line: what follows its label and
// opcode fields once the line is normalised. Such a line always has both,
// since a MACRO line without a label is never stored; a line number in front
// of the label or a label ending with a colon is passed over as the line
// processor does.
std::string FormalList(TTarn& t, const std::string& macroLine) {
  char normalized[LineSize];
  t.NormalizeLine(normalized, macroLine.c_str(), false);
  const char* p = normalized;
  auto blanks = [&] { while (*p == ' ') ++p; };
  blanks();
  if (IsDigit(*p)) {
    while (IsNameChar(*p) || *p == '.') ++p;
    blanks();
  }
  for (int field = 0; field < 2; ++field) {
    while (IsFieldChar(*p)) ++p;
    blanks();
  }
  return TextOfLine(p);
}

TMacroLine* FirstStoredLine(TTarn& t, const TSymbol* macro) {
  if (!macro || macro->Value <= 0) return nullptr;
  size_t index = size_t(macro->Value) - 1;
  return index < t.Macro.Owned.size() ? t.Macro.Owned[index].get() : nullptr;
}

// Stores the raw line, after the tail or as the start of a new list.
TMacroLine* StoreLine(TTarn& t, bool startList) {
  TMacroData& m = t.Macro;
  TMacroLine* line = nullptr;
  try {
    auto record = std::make_unique<TMacroLine>();
    record->Text = t.RawLine;
    line = record.get();
    m.Owned.push_back(std::move(record));
  } catch (const std::bad_alloc&) {
    m.Tail = nullptr;
    t.FatalError(11);
    return nullptr;
  }
  if (!startList && m.Tail) m.Tail->Next = line;
  m.Tail = line;
  return line;
}

void EndDefinition(TTarn& t) {
  t.MacroState = 0;
  t.Macro.Defining = nullptr;
  t.Macro.Tail = nullptr;
}

// The line belongs to an expansion (its replayed text), whatever the macro state.
bool Replayed(const TTarn& t) { return t.Macro.Source != TLineSource::File; }

}  // namespace

// ---- the line reader's steps

bool ExpandMacroLine(TTarn& t) {
  TMacroData& m = t.Macro;
  // An expansion cut short by END (or a fatal error) is not taken up again by
  // the next pass: its stored lines belong to the pass it began in.
  if (!m.NextLine || m.ExpansionPass != t.Pass) {
    t.MacroState = 0;
    m.NextLine = nullptr;
    return false;
  }
  std::string line = TextOfLine(m.NextLine->Text.c_str());
  bool exact = t.CaseFlag == On;
  TListCursor formals{m.Formals}, actuals{m.Actuals};
  // An empty argument list gives no argument at all; "1," gives two, the second empty.
  bool argumentFollows = !actuals.Blank();
  while (argumentFollows) {
    std::string formal, argument;
    bool formalFollows = formals.Take(formal);
    argumentFollows = actuals.Take(argument);
    if (!formal.empty()) Substitute(line, formal, argument, exact);
    if (!formalFollows) break;
  }
  m.NextLine = m.NextLine->Next;
  if (!m.NextLine) t.MacroState = 0;
  m.Pending = t.MacroState == 0 ? TLineSource::LastOfBody : TLineSource::Body;
  PutLine(t.RawLine, line);
  return true;
}

void ApplyReplacements(TTarn& t) {
  TMacroData& m = t.Macro;
  m.Source = m.Pending;
  m.Pending = TLineSource::File;
  bool substitute = m.SubstituteEnd;
  m.SubstituteEnd = false;
  // The line reader counts the last line of an expansion as a source line;
  // taking the count back here, before it is made, keeps every line of an
  // expansion, its last included, at the number of the invocation line, even
  // when that last line is skipped or is not an ENDM. The pass total keeps it.
  if (m.Source == TLineSource::LastOfBody) --t.Current().LineCount;
  // The END that stands for the end of the main file must stay END, or the
  // pass could not end.
  if (!t.Replacements || substitute) return;
  std::string line = TextOfLine(t.RawLine);
  if (t.ReplacementIndex.Apply(line, MaxLineText)) PutLine(t.RawLine, line);
}

void EndOfMainFile(TTarn& t) {
  TMacroData& m = t.Macro;
  m.SubstituteEnd = true;
  // Whatever the substitute line turns out to do, the pass ends with it.
  t.EndOfPass = On;
  if (t.MacroState == 2) {
    // A definition still open would swallow the END line: it ends here, and
    // the END line reports it (its flags are 0, as the line reader set them).
    EndDefinition(t);
    t.LineFlags = 0;
    t.LineError(38, t.NormalizedLine);
  }
  t.MacroState = 0;
  m.NextLine = nullptr;
}

// ---- macro definition and invocation

void RecordMacroLine(TTarn& t) {
  // Lines of a definition without a name have no list to go to.
  if (t.Macro.Tail) StoreLine(t, false);
}

void DoMacro(TTarn& t) {
  // A MACRO line replayed from a body (the end of a definition cut short by
  // another MACRO line) is neither listed nor starts a definition: the source
  // lines after the invocation are assembled, not swallowed.
  if (t.MacroState == 3 || Replayed(t)) {
    t.Listing.LineFlag = Off;
    t.ConsumeLine();
    return;
  }
  bool named = t.Label[0] != '\0';
  // Raised before the line becomes part of a definition, whose errors are silent.
  if (!named) t.LineError(29, t.NormalizedLine);
  t.MacroState = 2;
  t.LineFlags = int16_t(t.LineFlags | 2);
  t.NextLineFlags = int16_t(t.NextLineFlags | 2);
  // A MACRO line met while defining ends the list before it (it was stored there).
  t.Macro.Defining = nullptr;
  t.Macro.Tail = nullptr;
  if (named && t.Pass == 1) {
    TSymbol* macro = t.AddSymbol(t.Label, TypeMacro, 0);
    if (macro) {
      t.Macro.Defining = macro;
      if (StoreLine(t, true)) macro->Value = int32_t(t.Macro.Owned.size());
    }
  }
  t.ConsumeLine();
}

void DoEndm(TTarn& t) {
  t.NextLineFlags = int16_t(t.LineFlags & ~2);
  if (t.MacroState == 2) {
    EndDefinition(t);
    return;
  }
  // The last line of an expansion: its line count was taken back as it was read.
  if (t.Macro.Source == TLineSource::LastOfBody) return;
  // Neither ending a definition nor an expansion: reported, the count untouched.
  t.LineError(38, t.Line.Cur);
}

void BeginExpansion(TTarn& t) {
  TMacroData& m = t.Macro;
  TMacroLine* first = FirstStoredLine(t, t.FoundSymbol);
  if (!first) return;
  // A body line skipped by a false block is not expanded: taking over would
  // abandon the rest of the body, the ENDI that ends the block included, and
  // an IF could never stop a macro that invokes itself.
  if ((t.LineFlags & 4) && Replayed(t)) return;
  m.Chained = Replayed(t) ? m.Chained + 1 : 1;
  if (m.Chained > MaxChainedExpansions) {
    t.MacroState = 0;
    m.NextLine = nullptr;
    m.Chained = 0;
    t.FatalError(13);
    return;
  }
  // A running expansion is abandoned: there is no stack of expansions.
  t.MacroState = 3;
  ++t.ExpansionCounter;
  m.ExpansionPass = t.Pass;
  m.Formals = FormalList(t, first->Text);
  t.Line.SkipBlanks();
  m.Actuals = TextOfLine(t.Line.Cur);
  m.NextLine = first->Next;
}

// ---- conditional blocks

void DoIf(TTarn& t) {
  if (t.ConditionalDepth >= MaxConditionalDepth) {
    t.FatalError(4);
    t.ConsumeLine();
    return;
  }
  ++t.ConditionalDepth;
  if (t.Label[0]) t.LineError(29, t.NormalizedLine);
  int32_t value = t.Evaluate(t.Line);
  if (t.ExpressionError) {
    // An undefined name keeps its error 40; error 32 still asks for another pass.
    t.LineError(32, t.NormalizedLine);
    value = 0;
  }
  t.ValueLine = On;
  t.LineAddress = value;
  t.ConditionalStack[t.ConditionalDepth] = t.LineFlags;
  t.NextLineFlags = t.LineFlags;
  if (!(t.LineFlags & 4) && value == 0) t.NextLineFlags = int16_t(t.NextLineFlags | 4);
}

void DoElse(TTarn& t) {
  if (t.Label[0]) t.LineError(29, t.NormalizedLine);
  t.NextLineFlags = t.LineFlags;
  if (t.ConditionalDepth == 0) {
    t.LineError(38, t.Line.Cur);
  } else if (!(t.ConditionalStack[t.ConditionalDepth] & 4)) {
    // Only a block whose IF stood in assembled text switches at its ELSE.
    t.NextLineFlags = int16_t(t.NextLineFlags ^ 4);
  }
  t.LineFlags = 127;
}

void DoEndi(TTarn& t) {
  int16_t restored = -1;
  if (t.ConditionalDepth == 0) {
    t.LineError(38, t.Line.Cur);
  } else {
    restored = t.ConditionalStack[t.ConditionalDepth--];
    t.NextLineFlags = restored;
  }
  if (t.Label[0]) t.LineError(29, t.NormalizedLine);
  if (t.Pass >= 2 && restored == 0 && (t.LineFlags & 1)) {
    // Output comes back on as HEX "ON" would bring it: at the program
    // counter, so the code that follows lands at its own address.
    t.LineFlags = 0;
    t.SetObjectAddress(uint32_t(t.ProgramCounter));
  }
  t.LineFlags = 127;
}

// ---- text replacement

void DoRptxt(TTarn& t) {
  t.DefineLabel();
  if (t.CaseFlag == Off)
    for (char* p = t.Line.Cur; *p && *p != '\n'; ++p) *p = ToUpper(*p);
  auto text = [&] { return std::string(t.Token->Name, size_t(std::clamp<int>(t.StringLength, 0, LineSize))); };
  t.NextToken(t.Line);
  if (!t.TokenIs(KindString)) {
    t.LineError(28, t.TokenStart - 1);
    return;
  }
  std::string search = text();
  t.NextToken(t.Line);
  if (!t.TokenIs(KindSeparator)) t.TokenPushback = On;
  t.NextToken(t.Line);
  if (!t.TokenIs(KindString)) {
    t.LineError(28, t.TokenStart - 1);
    return;
  }
  // An empty text to find would match everywhere: it is not kept. It is not
  // an error either, since later passes rewrite this very line, and a
  // replacement by empty text leaves an empty first string here.
  if (t.Pass != 1 || search.empty()) return;
  try {
    t.Replacements = new TRpTxt{search, text(), t.Replacements};
    t.ReplacementIndex.Add(t.Replacements);
  } catch (const std::bad_alloc&) {
    t.FatalError(10);
  }
}
