// The assembler engine: one run's whole state and its single entry, Assemble.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "Diagnostics.h"
#include "Macros.h"
#include "Replacements.h"
#include "Scan.h"
#include "SourceReader.h"
#include "Symbols.h"

// Progress field ids the caller's display shows.
enum : int {
  FieldPass = 208, FieldMainFile = 209, FieldCurrentFile = 210, FieldFileLines = 211,
  FieldTotalLines = 212, FieldFileErrors = 213, FieldTotalErrors = 214, FieldChecksum = 215
};

using TProgressFn = std::function<void(const char* text, int fieldId)>;
// Receives every error of every pass as it is counted; a new pass starts the
// list again, so what a caller holds at the end is the last pass's errors.
using TErrorFn = std::function<void(const TDiagnostic& error)>;

constexpr int LineSize = 256;        // raw and normalized lines: 254 characters, newline, terminator
constexpr int CodeCapacity = 2048;   // the longest data line of 254 characters stays well inside
constexpr int16_t On = 127, Off = 0;

enum class TObjectFormat : int16_t { Bin8, Int8, Inhx8m, Mot8, Bin16, Int16, Mot16, Bin32, Mot32 };
// The object format of a name as HOF takes it (any letter case); false for none.
bool ObjectFormatByName(std::string_view name, TObjectFormat& format);

// The runtime's unsigned conversion of digits in a base (a value beyond 32
// bits saturates); returns how many characters it took.
size_t ConvertUnsigned(const char* text, size_t length, int base, uint32_t& value);
// The value of a number's text as the tokenizer reads it, its base from a
// suffix (H, O or Q, D, B) or a prefix (0x, 0); false when a digit does not
// belong to the base (the value is then that of the digits before it).
bool NumberText(const char* text, size_t length, uint32_t& value);
// A number token at text (a digit, or "$" and a hexadecimal digit): where it
// ends, and its value; false when a digit does not belong to its base, which
// the tokenizer reports as an error.
bool ReadNumberToken(const char* text, const char*& end, uint32_t& value);
std::string ObjectFormatNames();  // "BIN8, INT8, ..." for messages

// A run's listing or object file. It is written by the one thread that runs
// the assembly, a line at a time: the lines gather in a buffer of our own and
// go to the system in blocks, without the stream's work for every line. A
// write that fails is known when its block goes out, and from then on.
class TOutput {
 public:
  TOutput() = default;
  TOutput(const TOutput&) = delete;
  TOutput& operator=(const TOutput&) = delete;
  ~TOutput() { Close(); }
  explicit operator bool() const { return Stream != nullptr; }
  // Opens the file anew (mode "w" or "wb"); false when it does not open.
  bool Open(const std::string& path, const char* mode);
  // False when this or an earlier write failed.
  bool Write(const void* data, size_t length) {
    if (length > Capacity - Used) return WriteBlock(data, length);
    std::memcpy(Buffer.get() + Used, data, length);
    Used += length;
    return !Failed;
  }
  bool Write(std::string_view text) { return Write(text.data(), text.size()); }
  // Room for length bytes (at most 256 KB) to be written in place, then kept
  // with Commit; null once a write has failed.
  char* Reserve(size_t length) {
    if (length > Capacity - Used && !Flush()) return nullptr;
    return Failed ? nullptr : Buffer.get() + Used;
  }
  bool Commit(size_t length) {
    Used += length;
    return !Failed;
  }
  bool Good() const { return !Failed; }
  // Writes what is left and closes the file: false when any write failed.
  bool Close();

 private:
  bool Flush();
  bool WriteBlock(const void* data, size_t length);
  static constexpr size_t Capacity = size_t(1) << 18;
  FILE* Stream = nullptr;
  std::unique_ptr<char[]> Buffer;
  size_t Used = 0;
  bool Failed = false;
};

// Which file a path names: device and inode, so that links and other
// spellings of the same path compare equal.
struct TFileIdentity {
  bool Known = false;
  uint64_t Device = 0, Inode = 0;
  bool operator==(const TFileIdentity&) const = default;
};
TFileIdentity IdentityOf(const std::string& path);

class TLineMemos;

struct TSourceFile {
  TSourceReader Reader;
  TLineMemos* Memo = nullptr;  // what is remembered of this file's lines
  uint32_t LineCount = 0;
  uint16_t ErrorCount = 0;
  std::string FullPath;  // upper case, for messages and the error file
  std::string Name;      // as written, for editors that jump to errors
};

// What a caller sets before Assemble. Kept apart from the run's own state,
// so that a run that must start again (see QuietOutput) keeps all of it.
struct TAssembleSettings {
  // Explains how the instructions of one line of the main source (its
  // number, 1 and up; 0 = none) are matched, in every pass from the second:
  // each candidate and sub-pattern tried, where and why it stopped, and the
  // result. The text comes a line at a time with the pass number.
  uint32_t ExplainLine = 0;
  std::function<void(int pass, const std::string& text)> ExplainFn;

  // Names defined before the first line of every pass, as if by NAME EQU
  // VALUE (the command line's -D).
  std::vector<std::pair<std::string, std::string>> Defines;

  // The object format every pass starts with (a HOF line still switches from
  // there); without it the first pass starts with INT16 and each later pass
  // with the format the pass before ended with.
  bool StartFormatGiven = false;
  TObjectFormat StartFormat = TObjectFormat::Int16;

  // The plain algorithms, which the fast path must always agree with:
  // matching from the table's text without the compiled table or the
  // remembered operand readings, and every pass from the second writing its
  // output in full.
  bool PlainAlgorithms = false;

  TProgressFn ShowProgressFn;
  TErrorFn OnError;
  // Called, when set, each time a label takes a value: with the file (its
  // name as written) and line that gave it, or no file and line 0 for a -D
  // name. The engine keeps no such record of its own; a caller that wants to
  // tell where labels are defined keeps the last call for each.
  std::function<void(const TSymbol& label, const std::string& file, uint32_t line)> OnLabelDefined;
  // Directories tried, in order, for a CPU or INCL file that does not open as named.
  std::vector<std::string> SearchPaths;
};

// What the last full reading of one instruction line of a source file gave,
// with the inputs it depended on: the line's text (as a check value), the
// labels it read and, when it read "$", the program counter. Labels are
// named by their place in the symbol table.
// Kept for every line of every file, so it is kept small: 28 bytes.
struct TLineMemo {
  uint32_t Check[2] = {};  // 0: nothing remembered
  uint32_t Label = 0;   // 1 + the place of the label the line defines; 0 for none
  uint32_t Read = 0;    // the label read, when it is the only input; else where the inputs start in MemoReads
  int32_t Value = 0;    // its value then, or the counter when that is the only input
  union {
    uint8_t Code[4];    // the code, when it is at most 4 bytes long
    uint32_t CodeAt;    // else where it starts in MemoBytes
  };
  uint32_t CodeCount : 12 = 0;
  uint32_t ReadCount : 4 = 0;
  uint32_t ReadsCounter : 1 = 0;
  uint32_t DataLine : 1 = 0;  // a DFB-like line: its code stands in every pass, the first included
  uint32_t Shape : 13 = 0;    // 1 + the line's shape, when it is one label; 0 for none
  // The one label of the shape was not defined when the line was read: Read
  // is where its name starts in MemoNames, and the outcome never holds as it
  // stands, the line being matched from its shape once the name is a label.
  uint32_t NameRead : 1 = 0;
  int Inputs() const { return NameRead ? 0 : ReadCount + (ReadsCounter ? 1 : 0); }
  uint64_t CheckValue() const { return uint64_t(Check[1]) << 32 | Check[0]; }
  void SetCheck(uint64_t check) {
    Check[0] = uint32_t(check);
    Check[1] = uint32_t(check >> 32);
  }
};
static_assert(sizeof(TLineMemo) == 28);

// The remembered lines of one file, by line number from 0, in blocks: a
// million-line file grows without copying or doubling what it holds, and a
// block is made only when one of its lines is remembered.
class TLineMemos {
 public:
  TLineMemo* Find(size_t index) const {
    size_t block = index / BlockSize;
    return block < Blocks.size() && Blocks[block] ? &Blocks[block][index % BlockSize] : nullptr;
  }
  TLineMemo& At(size_t index) {
    size_t block = index / BlockSize;
    if (block >= Blocks.size()) Blocks.resize(block + 1);
    if (!Blocks[block]) Blocks[block] = std::make_unique<TLineMemo[]>(BlockSize);
    return Blocks[block][index % BlockSize];
  }
  // Each opening of the file: while every one has had the same settled
  // version, a line's place in the file stands for its text.
  void Opened(bool known, const TTextVersion& version) {
    if (!known || !version.Settled || (Seen && version != Version)) SameText = false;
    Seen = true;
    Version = version;
  }
  bool SameText = true;

 private:
  bool Seen = false;
  TTextVersion Version;
  static constexpr size_t BlockSize = 4096;
  std::vector<std::unique_ptr<TLineMemo[]>> Blocks;
};

class TTarn : public TAssembleSettings {
 public:
  TTarn();
  ~TTarn();
  TTarn(const TTarn&) = delete;
  TTarn& operator=(const TTarn&) = delete;

  // Assembles the main source; an empty output path means that output is not wanted.
  // Returns the number of errors of the last pass.
  uint16_t Assemble(const std::string& mainSource, const std::string& listing, const std::string& object,
                    const std::string& errors);

  // Whether a -D name is a label name and its value an expression that reads
  // without an error (undefined names aside: they may be defined later).
  static bool ValidDefineName(const std::string& name);
  static bool ValidDefineValue(const std::string& value);
  // Every file opened as main source, CPU table or INCL file, under the name
  // it opened with (relative when it was given so), once each, in the order
  // first opened: the files a build tool watches to know when to assemble again.
  std::vector<std::string> OpenedFiles;

  int PassesRun() const { return Pass > 0 ? Pass - 1 : 0; }
  uint32_t TotalLinesOfLastPass() const { return TotalLines; }
  uint32_t Checksum() const { return Object.Checksum; }

  // ---- driver (Tarn.cpp)
  void ShowProgress(const char* text, int fieldId);
  void RunPass();
  void ReadSourceLine();
  void NormalizeLine(char* destination, const char* source, bool countLine);
  void ProcessLine();
  void ReadLineFields();
  bool OpenSourceFile(const std::string& name);
  // The paths tried for a source, table or included file, in order.
  std::vector<std::string> SourceCandidates(const std::string& name) const;
  bool OpenFileOrKeptText(TSourceReader& reader, const std::string& path);
  TFileIdentity MainSourceIdentity(const std::string& name) const;
  void NoteTextVersion(TSourceFile& file);
  void CloseSourceFile();
  void ShowLineCounts();
  void EnterBuiltins();
  void DefineCommandLineNames();
  // Normalizes value into text (LineSize bytes) as a source line and evaluates it there.
  int32_t EvaluateText(const std::string& value, char* text, TScan& cursor);
  void ConsumeLine() { while (!Line.AtEnd()) Line.GetChar(); }

  // ---- errors (Diagnostics.cpp)
  void FatalError(int number);
  void LineError(int number, const char* position);
  void KeepBestError();
  void ReportError();  // counts the line's error and writes it to the error file

  // ---- symbols (SymbolTable.cpp)
  TSymbol* LookupSymbol(std::string_view name, uint32_t classBits);
  TSymbol* LookupOperand(std::string_view name);
  // LookupSymbol for the opcode field, as instruction or directive.
  TSymbol* LookupOpcode(std::string_view name, uint32_t classBits);
  struct TOpcodeEntry {
    uint64_t Text = 0;
    uint32_t Length = 0, Class = 0;
    uint32_t Generation = 0;  // 0: empty
    TSymbol* Symbol = nullptr;
  };
  TOpcodeEntry OpcodeCache[256];
  TSymbol* LookupLabel(std::string_view name, const TSymbolTable::TWord& word);
  // expansion: the macro expansion a label is local to (0 = none).
  TSymbol* AddSymbol(std::string_view name, uint32_t type, int32_t value, uint32_t extra = 0,
                     uint32_t expansion = 0);
  // Every record enters the symbol table here: a name kept as text is
  // looked up again once a symbol has it.
  void AppendSymbol(TSymbol* s, uint32_t expansion = 0);
  void DefineLabel();
  void GiveLabelValue(TSymbol* label);  // from the second pass: the label takes the program counter
  const TSymbol* DefinedLabel = nullptr;  // the record the last DefineLabel gave its value, or found
  void NoteLabelDefined(const TSymbol* label, bool fromLine = true);

  // ---- expressions (Expression.cpp)
  TSymbol* NextToken(TScan& cursor);
  int32_t EvalExpr(TScan& cursor, int limit);
  int32_t Evaluate(TScan& cursor);
  bool TokenIs(uint32_t kind) const { return (Token->Type & 0xF0000) == kind; }

  // ---- directives (Directives.cpp)
  void Dispatch();
  bool ReadStringOperand(bool keepBest, const char* position = nullptr);
  int ReadOnOff();
  void DataList(int directive);
  bool DataItemsAtOnce(int directive);
  void AppendDataItem(int directive, uint32_t value);
  void FloatList(int directive);

  // ---- CPU table (CpuTable.cpp) and instructions (Encoder.cpp)
  void LoadCpuTable();
  bool ReadTableLines();
  void EncodeInstruction();
  void ComparePattern();
  void MatchGroup();
  void OperandField();
  int32_t TableNumber(TScan& cursor);
  void EvaluateOperand();
  bool MatchListName(int& index);
  void InsertField(const TSymbol* field);

  // ---- the explanation of one line's matching (Explain.cpp)
  bool Explaining = false;
  const char* ComparedAt = nullptr;  // the last source and pattern characters compared
  int ComparedSource = 0, ComparedPattern = 0;
  void Explain(const std::string& text);
  void ExplainStart();
  void ExplainRecord(const std::string& what, TSymbol* record, int codeCount);
  void NoteComparison(const char* at, int source, int pattern) {
    ComparedAt = at;
    ComparedSource = source;
    ComparedPattern = pattern;
  }
  void ExplainOutcome(const char* indent);
  void ExplainField(int32_t number, bool nameField, bool nameFound, int32_t lo, int32_t hi);
  void ExplainResult();
  TSymbol* NumberedRecord(int table, int32_t number);

  // ---- listing (Listing.cpp)
  void ListLine();
  void CheckPage();
  void ListSymbols();
  void WritePageHeader();
  int BuildAddressColumn(char* column);

  // ---- object output (ObjectWriter.cpp)
  void EmitLineCode();
  void SetObjectAddress(uint32_t address);
  void WriteObjectRecord(bool final);
  void FinishObjectFile();
  void SelectObjectFormat(TObjectFormat format);
  void PutObject(const char* text, size_t length);
  bool AppendCode(uint8_t byte) {
    if (ByteCount >= CodeCapacity) return false;
    Code[ByteCount++] = byte;
    return true;
  }

  // ---- state of the run, by subsystem
  // source reading: the files open, the line read and its normalized text, and what changes that text
  TSourceFile IncludeStack[5];
  int16_t IncludeDepth = -1;
  char RawLine[LineSize] = "\n";
  char NormalizedLine[LineSize] = "\n";
  TScan Line;
  int16_t TabWidth = 8;
  int16_t CaseFlag = Off;
  TRpTxt* Replacements = nullptr;  // newest first
  TReplacementIndex ReplacementIndex;
  uint32_t TotalLines = 0;
  // the pass: its number, where it stands and how it ends
  int16_t Pass = 0;
  int16_t EndOfPass = 0;
  int16_t PhaseFlag = 0;
  int16_t Continue = On;
  int32_t ProgramCounter = 0;
  int16_t WordLength = 1;
  int16_t Alignment = 1;
  int16_t ConditionalDepth = 0;
  int16_t ConditionalStack[8] = {};
  int16_t EndMet = Off;
  int16_t MacroState = 0;
  uint32_t ExpansionCounter = 0;  // expansions begun in this pass
  int16_t TableLoaded = 0;
  // the line being processed: its fields, flags and code
  int16_t LineFlags = 0;
  int16_t NextLineFlags = 0;
  char Label[LineSize] = "";
  const char* LabelStart = nullptr;  // where the line's label stands in the normalized line
  char* OpcodeStart = nullptr;
  TSymbol* FoundSymbol = nullptr;
  int32_t LineAddress = 0;
  uint8_t Code[CodeCapacity] = {};
  int ByteCount = 0;
  int16_t ValueLine = 0;
  // expressions: the tokenizer and the last value read
  TSymbol* Token = nullptr;
  const char* TokenStart = nullptr;
  int16_t TokenPushback = 0;
  int16_t StringLength = 0;
  int16_t ForwardReference = 0;
  int16_t ExpressionError = 0;
  int32_t OperandValue = 0;
  int32_t FieldValue = 0;
  int16_t InDescriptor = 0;  // "#" is the operand value only inside a table field descriptor
  char Separator = ',';
  int16_t Mismatch = 0;
  // errors: the line's error and the best of its candidates, and the pass's count
  int16_t LineErrorNumber = 0;
  uint16_t ErrorColumn = 0;
  int16_t BestError = 0;
  uint16_t BestColumn = 0;
  uint16_t TotalErrors = 0;

  // The listing: the file, its pages and whether lines are listed.
  struct TListing {
    TOutput Out;
    std::string Path;
    int16_t Enabled = On;   // LIST ON or OFF
    int16_t LineFlag = On;  // the line being read is listed
    int16_t PageEject = 0;
    uint16_t PageLength = 0;
    uint16_t PageNumber = 0;
    int16_t LinesLeft = 0;
    std::string Title;
    std::string DateText;
    bool InListLine = false;
  } Listing;
  // The object file: its format, the record being filled and where output
  // stands, gap filling, and the checksum of every byte emitted.
  struct TObject {
    TOutput Out;
    std::string Path;
    TObjectFormat Format = TObjectFormat::Int16;
    int16_t AddressDigits = 5;  // of the listing's address column, which the format decides
    uint8_t RecordBuffer[16] = {};
    uint16_t RecordCount = 0;
    uint32_t OutputAddress = 0;
    uint32_t CurrentSegment = 0xB0000;
    int16_t GapFill = Off;
    int16_t StorageFillRequest = Off;
    int16_t FillByte = 255;
    uint32_t Checksum = 0;
  } Object;
  // Where errors go: the error file, or the standard output without one.
  struct TErrorFile {
    FILE* Stream = stdout;
    bool IsFile = false;
    std::string Path;
  } ErrorFile;
  // Texts of pipes and devices read as sources, by path, for the later passes.
  std::map<std::string, std::shared_ptr<const std::string>> KeptTexts;
  static constexpr size_t MaxStreamBytes = size_t(256) << 20;
  bool AfterPasses = false;  // fatal errors from the closing steps have no line of their own
  // Once a phase error is recorded in pass 2, 3 or 4, another pass follows
  // and writes every output afresh, so the rest of this pass's output is not
  // produced (its errors are still counted). Only a fatal error could make
  // such a pass the last after all; the run is then done again from the
  // start with every pass's output produced, so that the files are exactly
  // those the plain algorithm writes.
  bool QuietOutput = false;   // the rest of this pass's output is skipped
  bool SkippedOutput = false; // output of this pass (or the one just ended) was skipped
  bool RunAgain = false;      // a fatal error met skipped output
  uint16_t AssembleOnce(const std::string& mainSource, const std::string& listing, const std::string& object,
                        const std::string& errors);
  void CountError();

  TMacroData Macro;
  // Instruction matching: the cursors over the candidate's texts and its code bytes.
  TScan Pattern, SubPattern, Descriptor, NameList;
  const uint8_t* MainBytes = nullptr;
  const uint8_t* SubBytes = nullptr;
  int MainCount = 0, SubCount = 0;
  bool Matched = false;
  TSymbol* SubRecord = nullptr;
  // A code byte of the matched alternative, before its fields: its
  // instruction's and its sub-pattern's bytes ORed.
  uint8_t MatchedByte(int i) const {
    return uint8_t((i < MainCount ? MainBytes[i] : 0) | (i < SubCount ? SubBytes[i] : 0));
  }
  // Matching tries one operand against many alternatives: within one line the
  // same operand text always evaluates alike, so a reading that raised no
  // error is remembered for the line.
  struct TOperandMemo {
    uint64_t Serial = 0;
    const char* Start = nullptr;
    char Separator = 0;
    int ByteCount = -1;  // when "`" was read: it differs between alternatives
    const char* End = nullptr;
    const char* TokenStart = nullptr;
    int32_t Value = 0;
    int16_t ForwardReference = 0;
    int8_t ShapeToken = -1;  // see OperandToken
    uint8_t ShapeSteps = 0;
    uint16_t ShapeAt = 0;
  };

  // What an expression read besides numbers and operators; a descriptor part
  // that reads none of these is a constant of the table.
  enum : uint8_t { ReadsOperand = 1, ReadsProgramCounter = 2, ReadsByteCount = 4, ReadsLabel = 8 };
  uint8_t InputsRead = 0;
  // An expression that reads no label is the same computation every time; its
  // steps, recorded once, are replayed without reading its text again.
  static constexpr int TraceCapacity = 128;
  struct TTraceOp {
    // Token: the value of a token of the line's shape (an operand's steps only).
    enum TKind : uint8_t { Constant, Operand, ProgramCounter, ByteCount, Unary, Binary, Token } Kind = Constant;
    int32_t Value = 0;
  };
  TTraceOp::TKind ValueSource = TTraceOp::Constant;  // of the last value token read
  bool Tracing = false, TraceOverflow = false;
  int TraceLength = 0;
  TTraceOp Trace[TraceCapacity];
  void TraceStep(TTraceOp::TKind kind, int32_t value);
  bool ReplayTrace(const TTraceOp* ops, int count, int32_t& result);
  static bool TraceCanFail(const TTraceOp* ops, int count);
  // Steps that only add, subtract, negate and multiply by constants come to
  // a sum of the operand, the counter and the byte count, each so many times,
  // and a constant: the same value, wrapped at 32 bits, in one step.
  struct TLinearSteps {
    bool Valid = false;
    bool ReadsCounter = false;
    uint32_t Constant = 0, Operand = 0, Counter = 0, Bytes = 0;
  };
  static TLinearSteps LinearStepsOf(const TTraceOp* ops, int count);
  // The three parts of a field descriptor (value, lowest, highest operand),
  // read once when the table is loaded: a constant needs no work again, a
  // part that reads no label is replayed from its recorded steps, any other
  // part is evaluated from where it starts.
  struct TFieldShape {
    enum TKind : uint8_t { Constant, OperandAlone, Traced, General } Kind[3] = {};
    int32_t Value[3] = {};
    uint16_t Offset[3] = {};
    bool CanFail[3] = {};  // a traced part with a step that can raise an error (a division, say)
    std::vector<TTraceOp> Trace[3];
    TLinearSteps Linear[3];  // of a traced part, when its steps are such
  };
  // A traced part of a field shape: false when a step would raise an error.
  bool TracedPart(const TFieldShape& shape, int part, int32_t& value) {
    const TLinearSteps& linear = shape.Linear[part];
    if (!linear.Valid) return ReplayTrace(shape.Trace[part].data(), int(shape.Trace[part].size()), value);
    if (linear.ReadsCounter) RecordReadsCounter = true;
    value = int32_t(linear.Constant + linear.Operand * uint32_t(OperandValue) +
                    linear.Counter * uint32_t(ProgramCounter) + linear.Bytes * uint32_t(ByteCount));
    return true;
  }
  // One part of an expression field's descriptor: from the field's shape
  // when it has one (the two commonest kinds here, in line), else read from
  // the text where the previous part ended.
  int32_t DescriptorPart(const TSymbol* field, const TFieldShape* shape, int part) {
    if (shape && shape->Kind[part] <= TFieldShape::OperandAlone) {
      TokenStart = Line.Cur;
      ExpressionError = 0;
      return shape->Kind[part] == TFieldShape::Constant ? shape->Value[part] : OperandValue;
    }
    return ReadDescriptorPart(field, shape, part);
  }
  int32_t ReadDescriptorPart(const TSymbol* field, const TFieldShape* shape, int part);
  // What reading a plain table number leaves in the token, for a number
  // the compiled table has already read.
  void NoteTableNumber(int32_t value) {
    TokenStart = Line.Cur;
    Token->Type = 0x10000;
    Token->Value = value;
  }
  // Reads a field's three descriptor parts once, as matching would, into a
  // shape; false when they cannot be read cleanly without an operand.
  bool ShapeOfField(TSymbol* field, TFieldShape& shape);

  // The CPU table read once more after loading into what matching needs
  // from it on every line: the numbers of groups and fields already read
  // from the pattern texts, the sub-pattern and field records already found,
  // and each field's descriptor shape. Matching still walks a pattern's text
  // character by character (the comparison rules are the text's) but never
  // reads a number or looks a record up again. A pattern whose numbers are
  // not plain digits has no plan and is read as text.
  struct TPlanRef {        // "|n", "|n-m" or "{k}"
    uint16_t Offset = 0;   // of the character after "|" or "{"
    uint16_t End = 0;      // where the text goes on after it
    int32_t First = 0, Last = 0;
    uint32_t Index = 0;    // groups: first of Groups; fields: Fields
  };
  struct TPatternPlan {
    uint16_t WordLength = 0;  // the mnemonic at the start of an instruction pattern
    uint32_t FirstRef = 0, RefCount = 0;
  };
  struct TGroupEntry {
    TSymbol* Record = nullptr;  // the sub-pattern of that number, if the table has one
    int32_t Plan = -1;          // its plan
  };
  struct TFieldPlan {
    TSymbol* Record = nullptr;
    bool KeepsForward = false;  // the descriptor names "$"
    bool Shaped = false;
    TFieldShape Shape;
  };
  struct TCompiledTable {
    std::vector<TPlanRef> Refs;
    std::vector<TPatternPlan> Patterns;
    std::vector<TGroupEntry> Groups;
    std::vector<TFieldPlan> Fields;
    // An instruction record's plan, by its place in the symbol table: the
    // table's instructions are entered one after the other when it is loaded.
    uint32_t FirstInstructionSerial = 0;
    std::vector<int32_t> Instructions;  // -1: no plan
    // Every word of the table's patterns and name lists (registers, say), in
    // upper case: in the first pass an undefined name of the source that is
    // one of them is compared as text, not taken for a forward reference.
    struct TWordHash {
      using is_transparent = void;
      size_t operator()(std::string_view s) const;
    };
    std::unordered_set<std::string, TWordHash, std::equal_to<>> Words;
    bool IsWord(std::string_view name) const;
    const TPatternPlan* PlanOf(const TSymbol* instruction) const {
      uint32_t i = instruction->Serial - FirstInstructionSerial;
      if (i >= Instructions.size() || Instructions[i] < 0) return nullptr;
      return &Patterns[size_t(Instructions[i])];
    }
    // The reference at the cursor's place in the plan's text, if any; next
    // walks the references in order, since a cursor only moves forward.
    const TPlanRef* RefAt(const TPatternPlan* plan, uint32_t& next, const TSymbol* record, const char* at) const;
  };
  TCompiledTable Compiled;
  void CompileTable();
  bool PlanPattern(TSymbol* record, bool instruction, TPatternPlan& plan);
  const TPatternPlan* MainPlan = nullptr;  // of the candidate being compared, when it has one
  const TPatternPlan* SubPlan = nullptr;   // of the sub-pattern being compared
  const TSymbol* MainRecord = nullptr;
  uint32_t MainNext = 0, SubNext = 0;
  uint64_t LineSerial = 0;  // counts processed lines, so memo entries never outlive their line
  TOperandMemo OperandMemo[4];

  // ---- remembered lines (LineMemo.cpp)
  // An instruction or data line is read alike in every pass while its text
  // (after RPTXT, with the CASE and TAB settings), the labels it reads and
  // (when it reads "$") the program counter stay the same. A line of a
  // source file, not of a macro expansion, whose last full reading raised no
  // error but a phase error and read no undefined name keeps its code and
  // the label it defines by file and line; met again with the same inputs,
  // it is neither normalized nor matched. The first pass computes an
  // instruction's code as a later one would, only to remember it.
  bool Recording = false;       // a full match whose inputs are being noted
  bool RecordBroken = false;    // it read something that cannot be checked again
  bool RecordReadsCounter = false;
  static constexpr int MaxMemoReads = 8;
  int RecordReadCount = 0;
  const TSymbol* RecordReads[MaxMemoReads] = {};
  TLineMemos* RecordMemos = nullptr;  // with RecordIndex: where the line being read is remembered, if it can be
  size_t RecordIndex = 0;
  // A line whose block does not exist yet is remembered here first; the
  // block is made when the line's reading ends with an outcome to keep.
  TLineMemo MemoScratch;
  TLineMemos* ScratchMemos = nullptr;
  size_t ScratchIndex = 0;
  TLineMemo* ReplaySlot = nullptr;  // what the line being read repeats, if anything
  uint64_t RecordCheck = 0;  // 0 until worked out
  size_t RecordLength = 0;
  uint64_t RecordSeed = 0;
  bool RecordVerbatim = false;  // the line is read as it stands in a file whose text has not changed
  // The check value a line is remembered and met again with. A line read as
  // it stands in an unchanged file is known by its place, which its slot
  // stands for: only its settings count, and its text is not hashed. Any
  // other line is known by a hash of its text. The two kinds never meet:
  // the first is even, the second odd.
  uint64_t LineCheck(const char* text, size_t length) const;
  std::map<std::string, TLineMemos> MemoFiles;  // by the path each file opened with
  struct TMemoRead { uint32_t Label; int32_t Value; };
  std::vector<TMemoRead> MemoReads;
  std::string MemoNames;  // names of lines kept before their label was defined, each ending in a zero
  std::vector<uint8_t> MemoBytes;
  void NoteRead(const TSymbol* label) {
    for (int i = 0; i < RecordReadCount; ++i)
      if (RecordReads[i] == label) return;
    if (RecordReadCount == MaxMemoReads) RecordBroken = true;
    else RecordReads[RecordReadCount++] = label;
  }
  TLineMemo* StoredSlot = nullptr;  // remembered from the line being read, while it may still raise an error
  bool FindLineMemo(bool fromMacro, size_t length);
  bool ReadRememberedLine();
  void TakePeekedLine(TSourceReader& reader, const char* text, size_t length);
  bool RepeatRefused = false;  // the line's text is its slot's, but the outcome did not hold
  bool Repeats(TLineMemo& slot, const char* text, size_t length);
  void RepeatLine(TLineMemo& slot);
  // The settings besides its text that decide how a line reads; among them
  // whether the CPU table is in yet, since its instructions come before the
  // directives of the same name, also on lines that come before the CPU line
  // and are read again in a later pass.
  uint64_t LineSeed() const {
    return uint64_t(TableLoaded != 0) << 17 | uint64_t(uint16_t(TabWidth)) << 1 | uint64_t(CaseFlag == On);
  }
  bool MemoHolds(const TLineMemo& memo) const;
  TLineMemo* StartRecording();
  void Remember(TLineMemo& memo);
  void RememberData(TLineMemo& memo);
  void RememberLabel(TLineMemo& memo);
  void Store(TLineMemo& memo, const uint8_t* code, int count, bool dataLine);
  void ReplayLine(const TLineMemo& memo);
  void EndOfLineMemo() {
    // An error after the outcome was kept (text left at the end of the line)
    // would not be raised again by a repeat.
    if (StoredSlot && LineErrorNumber != 0 && LineErrorNumber != 32) StoredSlot->SetCheck(0);
    StoredSlot = nullptr;
    if (ScratchMemos) {
      if (MemoScratch.CheckValue() != 0) ScratchMemos->At(ScratchIndex) = MemoScratch;
      ScratchMemos = nullptr;
    }
  }

  // ---- remembered shapes of instruction lines (ShapeMemo.cpp)
  // Lines that differ only in their operands' numbers and labels ("ORA $0E"
  // and "ORA $54") are matched alike as long as every check of a value
  // against a field's range comes out the same. A full match whose operands
  // are single numbers or labels, and whose text comparisons never looked
  // inside one, keeps its checks, its field insertions and its code under
  // the line's shape (the text with each number and each defined label
  // replaced by a mark; other names, registers say, stay as written). A line of the same shape makes the checks again with its own
  // values and, when each comes out as before, takes the code with its
  // fields inserted, without walking the table's patterns.
  struct TShapeToken {
    uint16_t Start = 0, End = 0;  // in the normalized line
    const TSymbol* Label = nullptr;  // the label a name stands for; null for a number
    bool Forward = false;            // a name not defined yet (first pass only)
    int32_t Value = 0;               // of a number; the counter for a forward reference
    uint16_t KeyAt = 0;              // where its mark stands in the shape's key
  };
  struct TShapeStep {  // a range check, or a field insertion of the matched alternative
    int8_t Token = -1;        // the operand's token, or -1 when its value is Constant or worked out
    uint8_t OperandSteps = 0; // an operand of several tokens: its steps, from OperandAt in the variant's Operands
    uint16_t OperandAt = 0;
    bool LowFailed = false, HighFailed = false;
    uint16_t Bytes = 0;       // the byte count then, which "`" reads
    int32_t Constant = 0;     // the operand value without a token; for a name field, the value inserted
    const TSymbol* Field = nullptr;
    const TFieldShape* Shape = nullptr;  // null: insert Constant as it stands
    // A check of a token's value against constant bounds, the usual check:
    // compared directly, without the descriptor's parts.
    bool Plain = false;
    int32_t Low = 0, High = 0;
  };
  // A comparison of the pattern's text with a token's text: the token, where
  // in it, the character compared and how that came out; or, when the match
  // went on past the token's end, the token's length.
  struct TTextCheck {
    enum TKind : uint8_t { Equal, Unequal, EqualAnyCase, UnequalAnyCase, Length } Kind = Equal;
    int8_t Token = 0;
    uint8_t Offset = 0;
    char Char = 0;
    bool operator==(const TTextCheck&) const = default;
  };
  struct TShapeVariant {
    std::vector<TShapeStep> Checks, Inserts;
    std::vector<TTextCheck> Texts;  // all must come out the same for the variant to hold
    std::vector<TTraceOp> Operands;  // the steps of operands of several tokens
    std::vector<uint8_t> Base;  // the code bytes of the matched alternative, before its fields
  };
  struct TShapeEntry {
    TShapeVariant Variants[3];
    uint8_t Count = 0, Next = 0;  // variants held; the one replaced next
  };
  // Open addressing on the hash of the shape: one probe is usually enough.
  struct TShapeSlot {
    uint64_t Hash = 0;  // 0: free
    uint32_t Entry = 0;
  };
  static constexpr size_t MaxShapeTokens = 8, MaxShapes = (1 << 13) - 1;  // a line keeps its shape in 13 bits
  TShapeToken ShapeTokens[MaxShapeTokens];
  std::string_view ShapeTexts[MaxShapeTokens];  // the tokens' texts, for a replay of the shape
  int ShapeTokenCount = 0;
  // While a full match records the line's shape: 1 + the token at each
  // column, 0 outside tokens. The columns marked last are kept to be cleared.
  uint8_t ShapeTokenAt[LineSize] = {};
  struct TColumns { uint16_t Start, End; };
  TColumns MarkedTokens[MaxShapeTokens];
  int MarkedCount = 0;
  void MarkShapeTokens();
  char ShapeKey[LineSize + 16] = {};
  size_t ShapeKeyLength = 0;
  uint64_t ShapeHash = 0;
  bool ShapeRecording = false, ShapeBroken = false;
  int ShapeEvalTokens = -1;  // tokens read by the operand being evaluated; -1 outside one
  int ShapeEvalToken = -1;
  int8_t OperandToken = -1;  // the token whose value the last operand read is, or -1
  // An operand of several tokens: where its steps start in ShapeRecord.Operands, how many.
  uint16_t OperandAt = 0;
  uint8_t OperandSteps = 0;
  int ValueToken = -1;                   // the shape token a value just read from the line is
  const int32_t* ShapeValues = nullptr;  // the tokens' values while a shape is applied
  int32_t ShapeOperand(const TShapeVariant& variant, const TShapeStep& step, const int32_t* values, bool& ok);
  TShapeStep OperandStep(bool lowFailed, bool highFailed, const TSymbol* field, const TFieldShape* shape);
  TShapeVariant ShapeRecord;
  std::vector<TShapeSlot> ShapeSlots = std::vector<TShapeSlot>(1024);
  std::vector<TShapeEntry> Shapes;
  TShapeEntry* FindShape(bool add);
  bool ReadShape();
  // Names no symbol has as its first word that the shape holds as text (in
  // the first pass, words of the table such as registers): read as text
  // again without looking them up. An entry goes when a symbol of that word
  // is added; all go when a pass begins or a table is compiled.
  struct TTextName {
    uint64_t Text = 0;
    size_t Length = 0;  // 0: empty
  };
  TTextName TextNames[64];
  TTextName* TextNameHome(std::string_view name, uint64_t& text);  // null for a name too long to keep
  bool IsTextName(std::string_view name);
  void NoteTextName(std::string_view name);
  void ForgetTextName(const TSymbol* symbol);
  void ForgetTextNames();
  bool ReplayShape(TLineMemo& memo);
  bool ApplyShape(const TShapeEntry& entry, const int32_t* values, const std::string_view* texts);
  // Whether the token texts pass every check (of which there is at least one).
  static bool TextsHold(const std::vector<TTextCheck>& checks, const std::string_view* texts);
  void NoteTokenText(const char* at, char p, bool anyCase);
  void LinkShape(TLineMemo& memo, const TShapeEntry* entry);
  bool RelinkShape(TLineMemo& memo);
  void RememberForward(TLineMemo& memo);
  const TShapeEntry* ShapeStored = nullptr;  // where the last full match's shape went
  bool ShapePart(const TShapeStep& step, int part, int32_t& value);
  void StoreShape();
  bool InShapeToken(const char* at) const {
    size_t column = size_t(at - NormalizedLine);
    return column < LineSize && ShapeTokenAt[column] != 0;
  }
  // A text comparison at a character of a token depends on the token's text
  // (and is kept with the shape), unless the pattern's character could never
  // stand there in a token of its kind: a number starts with a digit or "$",
  // a label with a letter, "_", "." or "?", and goes on with letters, digits,
  // "_", "?" and ".".
  void NoteShapeComparison(const char* at, char p) {
    if (!ShapeRecording || !InShapeToken(at)) return;
    const TShapeToken& token = ShapeTokens[ShapeTokenAt[at - NormalizedLine] - 1];
    bool possible = NormalizedLine + token.Start != at ? IsTokenChar(p)
                    : token.Label || token.Forward ? IsNameStart(p)
                                  : IsDigit(p) || p == '$';
    if (possible) NoteTokenText(at, p, false);
  }
  void NoteShapeValueToken(const char* start, const char* end);

  // The CPU table's own source lines after its fourth "*" line, replayed every pass.
  std::string TableName;
  uint32_t TableSourceLine = 0;  // 0 = the table has no source section
  char NormalizedTableLine[LineSize] = "\n";
  char RawTableLine[LineSize] = "\n";

  TSymbolArena Arena;
  TSymbolTable Symbols;
  TNumberedTable CpuTables[3];  // name lists, operand fields, sub-patterns

  TSourceFile& Current() { return IncludeStack[IncludeDepth < 0 ? 0 : IncludeDepth]; }
};
