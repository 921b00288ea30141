// The run: construction, the pass loop, reading and acting on source lines.
#include "Tarn.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "Macros.h"

namespace {

// The C runtime's standard date form, 24 characters and a newline, with English
// names whatever the locale. SOURCE_DATE_EPOCH, when set, fixes the time (in UTC)
// so that two runs give identical listings.
std::string MakeDateText() {
  static const char* const Days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  char* end = nullptr;
  long long fixed = epoch ? std::strtoll(epoch, &end, 10) : 0;
  if (epoch && *epoch && end && *end == '\0') {
    std::time_t t = std::time_t(fixed);
    gmtime_r(&t, &tm);
  } else {
    localtime_r(&now, &tm);
  }
  char text[64];
  std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %d\n", Days[tm.tm_wday % 7], Months[tm.tm_mon % 12],
                tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_year + 1900);
  return text;
}

std::string UpperCase(std::string s) {
  for (char& c : s) c = ToUpper(c);
  return s;
}

struct TBuiltin { const char* Name; uint32_t Type; int32_t Value; };
const TBuiltin Builtins[] = {
    {"ALGN", 0x10000000, 0},  {"CPU", 0x10000000, 1},    {"DFB", 0x10000000, 2},   {"DWL", 0x10000000, 3},
    {"DWM", 0x10000000, 4},   {"DFL", 0x10000000, 5},    {"DLL", 0x10000000, 6},   {"ALIAS", 0x10000000, 7},
    {"END", 0x10000000, 8},   {"DFS", 0x10000000, 9},    {"EQU", 0x10000000, 10},  {"FILL", 0x10000000, 11},
    {"HEX", 0x10000000, 12},  {"HOF", 0x10000000, 13},   {"INCL", 0x10000000, 14}, {"LIST", 0x10000000, 15},
    {"ORG", 0x10000000, 16},  {"PAGE", 0x10000000, 17},  {"TITL", 0x10000000, 18}, {"WDLN", 0x10000000, 19},
    {"SETL", 0x10000000, 20}, {"IF", 0x11000000, 21},    {"ELSE", 0x11000000, 22}, {"ENDI", 0x11000000, 23},
    {"MACRO", 0x12000000, 24}, {"ENDM", 0x12000000, 25}, {"DFF", 0x10000000, 26},  {"DFDF", 0x10000000, 27},
    {"DFLDF", 0x10000000, 28}, {"CASE", 0x10000000, 29}, {"RPTXT", 0x10000000, 30}, {"TAB", 0x10000000, 31},
    {"INV", 0x52130000, 4},   {"LOW", 0x52130000, 5},    {"HIGH", 0x52130000, 6},  {"NOT", 0x52130000, 7},
};

}  // namespace

TFileIdentity IdentityOf(const std::string& path) {
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) return {};
  return TFileIdentity{true, uint64_t(st.st_dev), uint64_t(st.st_ino)};
}

// The listing and the object file are written a line at a time: a large
// buffer turns a million small writes into a few hundred system calls.
bool TOutput::Open(const std::string& path, const char* mode) {
  Close();
  Failed = false;
  Stream = std::fopen(path.c_str(), mode);
  if (!Stream) return false;
  std::setvbuf(Stream, nullptr, _IONBF, 0);  // the blocks are already large
  if (!Buffer) Buffer = std::make_unique_for_overwrite<char[]>(Capacity);
  return true;
}

bool TOutput::Flush() {
  if (Used > 0 && !Failed && std::fwrite(Buffer.get(), 1, Used, Stream) != Used) Failed = true;
  Used = 0;
  return !Failed;
}

bool TOutput::WriteBlock(const void* data, size_t length) {
  if (!Stream || !Flush()) return false;
  if (length < Capacity) {
    std::memcpy(Buffer.get(), data, length);
    Used = length;
  } else if (std::fwrite(data, 1, length, Stream) != length) {
    Failed = true;
  }
  return !Failed;
}

bool TOutput::Close() {
  if (!Stream) return true;
  bool good = Flush() && !std::ferror(Stream);
  good = std::fclose(Stream) == 0 && good;
  Stream = nullptr;
  return good;
}

TFileIdentity TTarn::MainSourceIdentity(const std::string& name) const {
  for (const std::string& candidate : SourceCandidates(name)) {
    TPathKind kind = KindOfPath(candidate);
    if (kind == TPathKind::Regular || kind == TPathKind::Stream) return IdentityOf(candidate);
  }
  return {};
}

TTarn::TTarn() { Listing.DateText = MakeDateText(); }

TTarn::~TTarn() {
  for (TRpTxt* r = Replacements; r;) {
    TRpTxt* next = r->Next;
    delete r;
    r = next;
  }
  if (ErrorFile.IsFile && ErrorFile.Stream) std::fclose(ErrorFile.Stream);
}

void TTarn::ShowProgress(const char* text, int fieldId) {
  if (ShowProgressFn) ShowProgressFn(text, fieldId);
}

uint16_t TTarn::Assemble(const std::string& mainSource, const std::string& listing, const std::string& object,
                         const std::string& errors) {
  uint16_t result = AssembleOnce(mainSource, listing, object, errors);
  if (!RunAgain) return result;
  // A fatal error ended a pass whose output had been skipped: start afresh
  // with what the caller set and what cannot be read twice (the texts of
  // pipes), and produce every pass's output this time. The object is
  // rebuilt in place so that the caller's references to it stay valid.
  TAssembleSettings settings = std::move(static_cast<TAssembleSettings&>(*this));
  auto keptTexts = std::move(KeptTexts);
  std::string dateText = std::move(Listing.DateText);
  this->~TTarn();
  new (this) TTarn();
  static_cast<TAssembleSettings&>(*this) = std::move(settings);
  KeptTexts = std::move(keptTexts);
  Listing.DateText = std::move(dateText);
  PlainAlgorithms = true;
  return AssembleOnce(mainSource, listing, object, errors);
}

uint16_t TTarn::AssembleOnce(const std::string& mainSource, const std::string& listing, const std::string& object,
                             const std::string& errors) {
  Listing.Path = listing;
  Object.Path = object;
  ErrorFile.Path = errors;
  // No output may replace the main source, whatever name leads to it (a
  // derived name equal to the source's, a link, another spelling of the path).
  TFileIdentity source = MainSourceIdentity(mainSource);
  auto isSource = [&](const std::string& output) { return source.Known && IdentityOf(output) == source; };
  // An error file that would be the source is not opened, as one that cannot
  // be created: the errors go to the standard output.
  if (!errors.empty() && !isSource(errors)) {
    if (FILE* f = std::fopen(errors.c_str(), "w")) {
      ErrorFile.Stream = f;
      ErrorFile.IsFile = true;
    }
  }
  // The scratch token holds up to 256 characters of a name, string or number.
  Token = Arena.Allocate(std::string_view(), LineSize + 1);
  OpenSourceFile(mainSource);
  ShowProgress(Current().FullPath.c_str(), FieldMainFile);
  // The listing and object file are written even when the source did not
  // open, so that no output of an earlier run passes for this one's.
  if (!listing.empty()) {
    if (!isSource(listing)) Listing.Out.Open(listing, "w");
    if (!Listing.Out) FatalError(8);
  }
  if (!object.empty()) {
    if (!isSource(object)) Object.Out.Open(object, "wb");
    if (!Object.Out) FatalError(7);
  }
  if (Continue == On) EnterBuiltins();

  for (;;) {
    ++Pass;
    if (Pass > 5 || (PhaseFlag == 0 && Pass > 2) || Continue != On) break;
    RunPass();
  }

  char text[32];
  std::snprintf(text, sizeof text, "%9lu", (unsigned long)Object.Checksum);
  ShowProgress(text, FieldChecksum);

  AfterPasses = true;
  ListSymbols();
  if (Object.Out) FinishObjectFile();
  if (ErrorFile.IsFile) {
    bool failed = std::ferror(ErrorFile.Stream) != 0;
    failed = (std::fclose(ErrorFile.Stream) != 0) || failed;
    ErrorFile.Stream = nullptr;
    ErrorFile.IsFile = false;
    if (failed) FatalError(2);
  }
  // The main file's entry has no stream when it did not open; closing skips it.
  while (IncludeDepth >= 0) {
    IncludeStack[IncludeDepth].Reader.Close();
    --IncludeDepth;
  }
  return TotalErrors;
}

void TTarn::RunPass() {
  if (Pass >= 2) {
    if (Listing.Out) {
      if (!Listing.Out.Close()) FatalError(2);
      if (!Listing.Out.Open(Listing.Path, "w")) FatalError(8);
      Listing.LinesLeft = int16_t(Listing.PageLength);
      Listing.PageNumber = 1;
      if (Listing.Out && !Listing.Title.empty()) WritePageHeader();
    }
    if (Object.Out) {
      // What the previous pass wrote is discarded, pending record included.
      if (!Object.Out.Close()) FatalError(2);
      if (!Object.Out.Open(Object.Path, "wb")) FatalError(7);
    }
    Object.RecordCount = 0;
    Object.OutputAddress = 0;
    if (ErrorFile.IsFile) {
      if (std::fflush(ErrorFile.Stream) != 0 || std::ferror(ErrorFile.Stream)) FatalError(2);
      FILE* again = std::freopen(ErrorFile.Path.c_str(), "w", ErrorFile.Stream);
      if (!again) {
        ErrorFile.Stream = stdout;
        ErrorFile.IsFile = false;
      }
    }
    if (Continue != On) return;  // a fatal error while starting the pass ends the run
  }
  QuietOutput = false;
  SkippedOutput = false;
  ForgetTextNames();  // a name read as text in one pass may be a forward reference in another
  EndOfPass = 0; PhaseFlag = 0; ConditionalDepth = 0; TotalErrors = 0; TotalLines = 0;
  NextLineFlags = 0; LineFlags = 0; ConditionalStack[0] = 0; ExpansionCounter = 0;
  ProgramCounter = 0; Object.Checksum = 0; Listing.Enabled = On; Listing.LineFlag = On; Object.CurrentSegment = 0xB0000;
  EndMet = Off; Object.StorageFillRequest = Off;
  if (StartFormatGiven) SelectObjectFormat(StartFormat);
  DefineCommandLineNames();
  IncludeStack[0].Reader.Rewind();
  NoteTextVersion(IncludeStack[0]);  // the main file is read again, not opened again
  IncludeStack[0].LineCount = 0;
  IncludeStack[0].ErrorCount = 0;
  if (OnError) OnError(TDiagnostic{});  // number 0: a new pass begins

  char text[32];
  std::snprintf(text, sizeof text, Pass <= 2 ? "%u" : "%u  Phase Error!", unsigned(Pass));
  ShowProgress(text, FieldPass);

  while (EndOfPass == 0) {
    ValueLine = 0; ErrorColumn = 0; BestColumn = 0; LineErrorNumber = 0; BestError = 0;
    ReadSourceLine();
    ProcessLine();
  }
  ShowLineCounts();
  while (IncludeDepth > 0) CloseSourceFile();
}

std::vector<std::string> TTarn::SourceCandidates(const std::string& name) const {
  std::vector<std::string> paths{name};
  if (!name.empty() && name[0] != '/')
    for (const std::string& dir : SearchPaths)
      paths.push_back(dir.empty() ? name : dir + (dir.back() == '/' ? "" : "/") + name);
  return paths;
}

bool TTarn::OpenFileOrKeptText(TSourceReader& reader, const std::string& path) {
  auto kept = KeptTexts.find(path);
  if (kept != KeptTexts.end()) {
    reader.OpenText(kept->second);
    return true;
  }
  switch (KindOfPath(path)) {
    case TPathKind::Regular:
      return reader.Open(path);
    case TPathKind::Stream: {
      // A pipe or device gives its text once: it is kept for the later passes.
      auto text = std::make_shared<std::string>();
      if (!ReadWholeStream(path, MaxStreamBytes, *text)) return false;
      KeptTexts.emplace(path, text);
      reader.OpenText(std::move(text));
      return true;
    }
    default:
      return false;
  }
}

void TTarn::EnterBuiltins() {
  for (const TBuiltin& b : Builtins) AddSymbol(b.Name, b.Type, b.Value);
}

void TTarn::DefineCommandLineNames() {
  for (const auto& [name, value] : Defines) {
    char text[LineSize];
    TScan cursor;
    int32_t v = EvaluateText(value, text, cursor);
    std::string key = CaseFlag == On ? name : UpperCase(name);
    // Like EQU: a source that defines the name again changes its value, which
    // is a phase error from the second pass on.
    TSymbol* s = LookupSymbol(key, ClassLabel);
    if (s) s->Value = v;
    else s = AddSymbol(key, TypeLabel, v);
    NoteLabelDefined(s, false);
  }
  // What evaluating raised belongs to no line.
  LineErrorNumber = 0;
  ErrorColumn = 0;
  ExpressionError = 0;
}

int32_t TTarn::EvaluateText(const std::string& value, char* text, TScan& cursor) {
  std::string line = value.substr(0, LineSize - 3);
  line += '\n';
  NormalizeLine(text, line.c_str(), false);
  cursor.Reset(text);
  return Evaluate(cursor);
}

bool TTarn::ValidDefineName(const std::string& name) {
  if (name.empty() || name.size() > LineSize - 3) return false;
  if (!(IsLetter(name[0]) || name[0] == '_' || name[0] == '?' || name[0] == '.')) return false;
  for (char c : name)
    if (!IsNameChar(c) && c != '.') return false;
  return true;
}

bool TTarn::ValidDefineValue(const std::string& value) {
  if (value.empty() || value.size() > LineSize - 3 || value.find_first_of("\n;") != std::string::npos) return false;
  TTarn probe;
  probe.Token = probe.Arena.Allocate(std::string_view(), LineSize + 1);
  probe.EnterBuiltins();
  probe.Pass = 2;  // names read as defined or not, never as forward references
  char text[LineSize];
  TScan cursor;
  probe.EvaluateText(value, text, cursor);
  cursor.SkipBlanks();
  bool clean = probe.LineErrorNumber == 0 || probe.LineErrorNumber == 40;
  return clean && cursor.AtEnd();
}

bool TTarn::OpenSourceFile(const std::string& name) {
  if (IncludeDepth >= 4) {
    FatalError(3);
    return false;
  }
  std::string full = name;
  if (name.empty() || name[0] != '/') {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) full = std::string(cwd) + (std::strcmp(cwd, "/") == 0 ? "" : "/") + name;
  }
  ++IncludeDepth;
  TSourceFile& entry = IncludeStack[IncludeDepth];
  entry.FullPath = UpperCase(full);
  entry.Name = name;
  entry.LineCount = 0;
  entry.ErrorCount = 0;
  // The name is opened as written (this file system tells case apart), then
  // in each search directory.
  bool opened = false;
  for (const std::string& candidate : name.empty() ? std::vector<std::string>() : SourceCandidates(name)) {
    if (!OpenFileOrKeptText(entry.Reader, candidate)) continue;
    opened = true;
    entry.Memo = &MemoFiles[candidate];
    NoteTextVersion(entry);
    if (std::find(OpenedFiles.begin(), OpenedFiles.end(), candidate) == OpenedFiles.end())
      OpenedFiles.push_back(candidate);
    if (candidate != name) {
      entry.Name = candidate;
      entry.FullPath = UpperCase(candidate[0] == '/' ? candidate : full.substr(0, full.size() - name.size()) + candidate);
    }
    break;
  }
  if (!opened) {
    if (IncludeDepth > 0) --IncludeDepth;
    FatalError(1);
    return false;
  }
  ShowProgress(entry.FullPath.c_str(), FieldCurrentFile);
  return true;
}

// Each opening of a file, and each pass that reads the main file again,
// tells what is remembered of its lines which version of its text it reads.
void TTarn::NoteTextVersion(TSourceFile& file) {
  if (!file.Memo) return;
  TTextVersion version;
  bool known = file.Reader.Version(version);
  file.Memo->Opened(known, version);
}

void TTarn::CloseSourceFile() {
  if (IncludeDepth < 0) return;
  IncludeStack[IncludeDepth].Reader.Close();
  --IncludeDepth;
  if (IncludeDepth >= 0) {
    ShowProgress(Current().FullPath.c_str(), FieldCurrentFile);
    ShowLineCounts();
  }
}

void TTarn::ShowLineCounts() {
  if (!ShowProgressFn) return;
  char text[32];
  std::snprintf(text, sizeof text, "%6lu", (unsigned long)Current().LineCount);
  ShowProgress(text, FieldFileLines);
  std::snprintf(text, sizeof text, "%6lu", (unsigned long)TotalLines);
  ShowProgress(text, FieldTotalLines);
  std::snprintf(text, sizeof text, "%6u", unsigned(Current().ErrorCount));
  ShowProgress(text, FieldFileErrors);
  std::snprintf(text, sizeof text, "%6u", unsigned(TotalErrors));
  ShowProgress(text, FieldTotalErrors);
}

void TTarn::ReadSourceLine() {
  TokenPushback = 0;
  RepeatRefused = false;
  if (MacroState == 0 && ReadRememberedLine()) {
    Line.Reset(NormalizedLine);
    return;
  }
  Line.Reset(NormalizedLine);
  bool fromMacro = false;
  size_t rawLength = 0;  // of a line read from a file
  if (MacroState == 3) {
    fromMacro = ExpandMacroLine(*this);
  }
  if (!fromMacro) {
    for (;;) {
      // Most lines lie whole in the reader's block as the reading below
      // would give them: they are taken from there.
      size_t length = 0;
      if (const char* text = Current().Reader.PeekLine(LineSize - 2, length)) {
        TakePeekedLine(Current().Reader, text, length);
        rawLength = length;
        break;
      }
      int n = Current().Reader.ReadLine(RawLine, LineSize - 1);
      if (n > 0) {
        // A zero byte ends the line as it would for the C runtime; the line
        // always ends with a newline so that the listing keeps one line per line.
        const void* zero = std::memchr(RawLine, '\0', size_t(n));
        size_t len = zero ? size_t(static_cast<const char*>(zero) - RawLine) : size_t(n);
        if (len == 0 || RawLine[len - 1] != '\n') {
          RawLine[len] = '\n';
          RawLine[len + 1] = '\0';
          ++len;
        }
        rawLength = len;
        break;
      }
      if (IncludeDepth > 0) {
        CloseSourceFile();
        continue;
      }
      std::strcpy(RawLine, "\tEND\n");
      rawLength = 5;
      NextLineFlags = 0;
      EndOfMainFile(*this);
      break;
    }
  }
  ApplyReplacements(*this);
  if (!FindLineMemo(fromMacro, Replacements ? std::strlen(RawLine) : rawLength))
    NormalizeLine(NormalizedLine, RawLine, MacroState != 3 || !fromMacro);
  Line.Reset(NormalizedLine);
}

namespace {
// How the line normaliser treats each byte: copied (0), end of the line (1),
// a semicolon (2), a quote (3), a TAB (4), another control code (5).
struct TNormalTables {
  uint8_t Class[256];
  char Upper[256], Same[256];
  TNormalTables() {
    for (int c = 0; c < 256; ++c) {
      Class[c] = (c == 0 || c == '\n') ? 1 : c == ';' ? 2 : c == '"' ? 3 : c == '\t' ? 4 : (c < 32 || c == 127) ? 5 : 0;
      Upper[c] = ToUpper(char(c));
      Same[c] = char(c);
    }
  }
};
const TNormalTables NormalTables;

const char Blanks[16] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
}  // namespace

void TTarn::NormalizeLine(char* destination, const char* source, bool countLine) {
  // Room for 254 characters, the newline and the terminator: tab expansion
  // that would go beyond is cut there.
  constexpr int Max = LineSize - 2;
  const uint8_t* cls = NormalTables.Class;
  const char* convert = CaseFlag == On ? NormalTables.Same : NormalTables.Upper;
  const int width = TabWidth > 0 ? TabWidth : 1;
  int out = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(source);; ++p) {
    unsigned char c = *p;
    uint8_t k = cls[c];
    if (k == 0) {
      // A run of plain characters, the bulk of every line.
      while (out < Max) {
        destination[out++] = convert[c];
        if (cls[p[1]] != 0) break;
        c = *++p;
      }
      if (out >= Max)
        while (cls[p[1]] == 0) ++p;  // the rest of the run does not fit
    } else if (k == 1 || k == 2) {
      break;
    } else if (k == 3) {
      // A quoted text is copied as it stands, up to its closing quote.
      if (out < Max) destination[out++] = '"';
      for (++p; *p != '"' && *p != '\0' && *p != '\n'; ++p)
        if (out < Max) destination[out++] = char(*p);
      if (*p != '"') break;
      if (out < Max) destination[out++] = '"';
    } else if (k == 4) {
      // At least one blank, then blanks up to the next tab stop.
      // The usual widths are powers of two: the next stop without a division.
      int stop = std::min((width & (width - 1)) == 0 ? (out & -width) + width : (out / width + 1) * width, Max);
      if (out < Max) destination[out++] = ' ';
      if (stop - out <= int(sizeof Blanks) && out + int(sizeof Blanks) <= LineSize) {
        std::memcpy(destination + out, Blanks, sizeof Blanks);  // what lies past the stop is written over or never read
        out = std::max(out, stop);
      }
      while (out < stop) destination[out++] = ' ';
    } else {
      if (out < Max) destination[out++] = ' ';
    }
  }
  destination[out] = '\n';
  destination[out + 1] = '\0';
  if (countLine) {
    ++Current().LineCount;
    ++TotalLines;
  }
}

// The label, the opcode and what the opcode does with the rest of the line.
void TTarn::ReadLineFields() {
  Line.SkipBlanks();
  char c = Line.GetChar();
  if (IsDigit(c)) {
    char digits[LineSize];
    Line.UngetChar(c);
    Line.ReadName(digits, sizeof digits, '\0');
    unsigned long number = std::strtoul(digits, nullptr, 10);
    if (number == 0) LineError(27, Line.Cur);
    Line.SkipBlanks();
    c = Line.GetChar();
  }
  if (!(IsLetter(c) || c == '_' || c == '.' || c == '?' || c == '\n')) {
    LineError(37, Line.Cur - 1);
  } else {
    OpcodeStart = Line.Cur - (c == '\n' ? 0 : 1);
    const char* firstStart = OpcodeStart;
    const char* field = nullptr;
    int fieldLength = 0;
    char t = Line.ReadField(c, field, fieldLength);
    while (t == ' ') t = Line.GetChar();
    if (MacroState == 2 && Pass == 1) RecordMacroLine(*this);
    bool isLabel = fieldLength > 0 && (firstStart == NormalizedLine || field[fieldLength - 1] == ':');
    if (isLabel) {
      const char* colon = static_cast<const char*>(std::memchr(field, ':', size_t(fieldLength)));
      if (colon) fieldLength = int(colon - field);
      std::memcpy(Label, field, size_t(fieldLength));
      Label[fieldLength] = '\0';
      LabelStart = firstStart;
      OpcodeStart = Line.Cur - (t == '\n' ? 0 : 1);
      t = Line.ReadField(t, field, fieldLength);
      if (fieldLength == 0) {
        DefineLabel();
        // Text after a label that cannot start an opcode would otherwise be
        // dropped without a word.
        if (t != '\n') LineError(37, Line.Cur - 1);
      }
    }
    Line.UngetChar(t);
    if (fieldLength == 0) {
      if (Label[0] == '\0') LineFlags = 127;
    } else {
      std::string_view opcode(field, size_t(fieldLength));
      if (MacroState == 2) {
        TSymbol* d = LookupSymbol(opcode, ClassDirective);
        if (d && (d->Type & 0x02000000)) {
          FoundSymbol = d;
          Dispatch();
        }
        ConsumeLine();
      } else {
        if ((FoundSymbol = LookupOpcode(opcode, ClassInstruction))) {
          EncodeInstruction();
        } else if ((FoundSymbol = LookupOpcode(opcode, ClassDirective))) {
          if ((FoundSymbol->Type & 0x01000000) || (LineFlags & 0xFFFE) == 0) Dispatch();
          else ConsumeLine();
        } else if ((FoundSymbol = LookupSymbol(opcode, ClassMacro))) {
          DefineLabel();
          BeginExpansion(*this);
          ConsumeLine();
        } else {
          LineError(35, Line.Cur);
        }
        Line.SkipBlanks();
        if (!Line.AtEnd()) LineError(31, Line.Cur);
      }
    }
  }
  EndOfLineMemo();
}

void TTarn::ProcessLine() {
  ++LineSerial;
  LineAddress = ProgramCounter;
  ByteCount = 0;
  ExpressionError = 0;
  Listing.PageEject = 0;
  Listing.LineFlag = Listing.Enabled;
  LineFlags = NextLineFlags;
  Label[0] = '\0';
  LabelStart = nullptr;
  Token->Name[0] = '\0';

  if (ReplaySlot) {
    ReplayLine(*ReplaySlot);
    ReplaySlot = nullptr;
  } else {
    ReadLineFields();
  }

  if (LineFlags == 0 || LineFlags == 1) {
    // Alignment and word length are 1 but for a few tables: no division then.
    if (Alignment > 1) {
      while (ByteCount % Alignment != 0) {
        if (!AppendCode(uint8_t(Object.FillByte))) break;
      }
    }
    // Addresses wrap at 32 bits.
    int words = WordLength > 1 ? ByteCount / WordLength : ByteCount;
    ProgramCounter = int32_t(uint32_t(ProgramCounter) + uint32_t(words));
    if (LineFlags == 0 && Pass >= 2) EmitLineCode();
  }
  if (Current().LineCount % 65 == 1) ShowLineCounts();
  if (Pass >= 2) ListLine();
}
