// Remembered lines: an instruction or data line whose inputs have not changed since
// its last full reading takes its code from that reading.
#include <algorithm>
#include <cstring>

#include "Tarn.h"
#include "TextHash.h"

// Called for every line read, after RPTXT: finds the line's slot when it can
// be remembered (a line of a source file, outside macros and skipped blocks).
// True when the slot's outcome holds for it, so that it need not be
// normalized; the line is counted as normalizing would count it.
bool TTarn::FindLineMemo(bool fromMacro, size_t length) {
  ReplaySlot = nullptr;
  RecordMemos = nullptr;
  if (fromMacro || MacroState != 0 || NextLineFlags != 0 || PlainAlgorithms || (ExplainFn && ExplainLine)) return false;
  TSourceFile& file = Current();
  if (!file.Memo) return false;
  TLineMemo* slot = file.Memo->Find(file.LineCount);  // the line about to be counted
  // The line's check is worked out when it is needed: to compare, or once
  // the line turns out to be one that is kept.
  RecordLength = length;
  RecordSeed = LineSeed();
  RecordCheck = 0;
  RecordVerbatim = !Replacements && file.Memo->SameText;
  if (slot && slot->CheckValue() != 0 && !RepeatRefused && Repeats(*slot, RawLine, length)) {
    RepeatLine(*slot);
    return true;
  }
  RecordMemos = file.Memo;
  RecordIndex = file.LineCount;
  return false;
}

// The same for the next line of a source file when nothing can stand
// between the file's text and the line (no RPTXT record, no macro, no END in
// place of the end of the file) and it lies whole in the reader's block:
// a line whose outcome holds is taken from there without the general
// reading. False, with nothing read, for any other line.
bool TTarn::ReadRememberedLine() {
  TSourceFile& file = Current();
  // Most lines of the first pass have no outcome yet: that is asked first.
  TLineMemo* slot = file.Memo ? file.Memo->Find(file.LineCount) : nullptr;
  if (!slot || slot->CheckValue() == 0 || Replacements || NextLineFlags != 0 || PlainAlgorithms ||
      (ExplainFn && ExplainLine) || Macro.Pending != TLineSource::File || Macro.SubstituteEnd)
    return false;
  size_t length = 0;
  const char* text = file.Reader.PeekLine(LineSize - 2, length);
  if (!text) return false;
  RecordVerbatim = file.Memo->SameText;
  if (!Repeats(*slot, text, length)) {
    // The general reading gets this very text: its outcome would not hold there either.
    RepeatRefused = RecordCheck == slot->CheckValue();
    return false;
  }
  TakePeekedLine(file.Reader, text, length);
  Macro.Source = TLineSource::File;
  RecordMemos = nullptr;
  RepeatLine(*slot);
  return true;
}

// A line peeked in the reader's block becomes the raw line, and is read.
void TTarn::TakePeekedLine(TSourceReader& reader, const char* text, size_t length) {
  CopyShort(RawLine, text, length);
  RawLine[length] = '\0';
  reader.Skip(length);
}

// Whether the line's text, with the settings it is read with, is the slot's
// and the slot's outcome holds (as remembered, or matched again from its
// shape). The check stays for what the line's outcome is kept with.
bool TTarn::Repeats(TLineMemo& slot, const char* text, size_t length) {
  RecordLength = length;
  RecordSeed = LineSeed();
  RecordCheck = LineCheck(text, length);
  return RecordCheck == slot.CheckValue() && (MemoHolds(slot) || RelinkShape(slot));
}

// The line repeats the slot's outcome: it is counted as normalizing would
// count it, and nothing reads its normalized text.
void TTarn::RepeatLine(TLineMemo& slot) {
  ReplaySlot = &slot;
  ++Current().LineCount;
  ++TotalLines;
  NormalizedLine[0] = '\n';
  NormalizedLine[1] = '\0';
}

uint64_t TTarn::LineCheck(const char* text, size_t length) const {
  return RecordVerbatim ? (RecordSeed + 1) << 1 : HashText(text, length, RecordSeed) | 1;
}

bool TTarn::MemoHolds(const TLineMemo& memo) const {
  if (memo.NameRead) return false;
  switch (memo.Inputs()) {
    case 0: return true;
    case 1: return memo.ReadsCounter ? memo.Value == ProgramCounter : Symbols.At(memo.Read)->Value == memo.Value;
    default: break;
  }
  const TMemoRead* input = &MemoReads[memo.Read];
  if (memo.ReadsCounter && (input++)->Value != ProgramCounter) return false;
  for (int i = 0; i < memo.ReadCount; ++i, ++input)
    if (Symbols.At(input->Label)->Value != input->Value) return false;
  return true;
}

// The slot the line being read is remembered in, when its reading starts
// clean (an error already on it would stand in the place of what follows);
// from here the labels and the counter read are noted.
TLineMemo* TTarn::StartRecording() {
  TLineMemos* memos = RecordMemos;
  RecordMemos = nullptr;
  if (!memos || Explaining || Separator != ',' || LineErrorNumber || ErrorColumn || BestColumn || InDescriptor)
    return nullptr;
  TLineMemo* memo = memos->Find(RecordIndex);
  // The raw line and the settings it was read with have not changed since.
  if (RecordCheck == 0) RecordCheck = LineCheck(RawLine, RecordLength);
  if (!memo) {
    MemoScratch = TLineMemo{};
    ScratchMemos = memos;
    ScratchIndex = RecordIndex;
    memo = &MemoScratch;
  }
  Recording = true;
  RecordBroken = RecordReadsCounter = false;
  RecordReadCount = 0;
  return memo;
}

// Keeps the outcome of the full match just made, when it can be checked
// again: it matched, and read no undefined name and no more labels than are
// noted. In the first pass the fields were inserted for this only: the cells
// are cleared again as that pass leaves them.
void TTarn::Remember(TLineMemo& memo) {
  Recording = false;
  memo.SetCheck(0);
  int count = std::clamp(MainCount > SubCount ? MainCount : SubCount, 0, CodeCapacity);
  if (Matched && !RecordBroken) {
    uint8_t code[CodeCapacity];
    for (int i = 0; i < count; ++i)
      code[i] = uint8_t(Code[i] | MatchedByte(i));
    Store(memo, code, count, false);
  }
  if (Pass < 2 && Matched) FillShort(Code, 0, size_t(count));
}

// The same for a data line, read without an error. Its label is defined
// before its values are read: a line that reads its own label is not kept,
// since the check of its inputs comes before the label takes its value.
void TTarn::RememberData(TLineMemo& memo) {
  Recording = false;
  memo.SetCheck(0);
  if (RecordBroken || LineErrorNumber != 0) return;
  for (int i = 0; i < RecordReadCount; ++i)
    if (RecordReads[i] == DefinedLabel) return;
  Store(memo, Code, ByteCount, true);
  RememberLabel(memo);
}

void TTarn::Store(TLineMemo& memo, const uint8_t* code, int count, bool dataLine) {
  // A line met again (a file included twice, a later pass) keeps the places
  // its earlier outcome held in the pools when they are big enough.
  int inputs = RecordReadCount + (RecordReadsCounter ? 1 : 0);
  if (inputs == 1) {
    if (RecordReadsCounter) {
      memo.Value = ProgramCounter;
    } else {
      memo.Read = RecordReads[0]->Serial;
      memo.Value = RecordReads[0]->Value;
    }
  } else if (inputs > 1) {
    if (memo.Inputs() < inputs) {
      memo.Read = uint32_t(MemoReads.size());
      MemoReads.resize(MemoReads.size() + size_t(inputs));
    }
    TMemoRead* input = &MemoReads[memo.Read];
    if (RecordReadsCounter) *input++ = {0, ProgramCounter};
    for (int i = 0; i < RecordReadCount; ++i) *input++ = {RecordReads[i]->Serial, RecordReads[i]->Value};
  }
  memo.ReadCount = uint32_t(RecordReadCount);
  memo.ReadsCounter = RecordReadsCounter;
  memo.DataLine = dataLine;
  memo.Shape = 0;
  memo.NameRead = 0;
  if (count <= 4) {
    // Zeros past the code: a replay copies all four bytes.
    uint32_t word = uint32_t(LoadShort(reinterpret_cast<const char*>(code), size_t(count)));
    std::memcpy(memo.Code, &word, 4);
  } else {
    if (memo.CodeCount <= 4 || memo.CodeCount < count) {
      memo.CodeAt = uint32_t(MemoBytes.size());
      MemoBytes.resize(MemoBytes.size() + size_t(count));
    }
    std::memcpy(&MemoBytes[memo.CodeAt], code, size_t(count));
  }
  memo.CodeCount = uint32_t(count);
  memo.SetCheck(RecordCheck);
  StoredSlot = &memo;
}

// After the line's label is defined: which record it was. A label whose line
// was skipped in the first pass has none, and the line is not remembered.
void TTarn::RememberLabel(TLineMemo& memo) {
  if (Label[0] == '\0') memo.Label = 0;
  else if (DefinedLabel) memo.Label = DefinedLabel->Serial + 1;
  else memo.SetCheck(0);
}

// What reading the line in full would do: the code (of an instruction,
// cleared cells in the first pass), the label defined, the line consumed.
void TTarn::ReplayLine(const TLineMemo& memo) {
  Matched = true;
  Mismatch = 0;
  ByteCount = memo.CodeCount;
  if (memo.CodeCount <= 4) {
    // Four bytes at once; those past the code are zero in the slot, as
    // they are in a line's cleared cells.
    if (Pass >= 2 || memo.DataLine) std::memcpy(Code, memo.Code, 4);
    else std::memset(Code, 0, 4);
  } else if (Pass >= 2 || memo.DataLine) {
    std::memcpy(Code, &MemoBytes[memo.CodeAt], memo.CodeCount);
  } else {
    std::memset(Code, 0, memo.CodeCount);
  }
  // The first pass gives a label its record once; the record is found again
  // and left alone when the line is met again in that pass.
  if (memo.Label && Pass >= 2) GiveLabelValue(Symbols.At(memo.Label - 1));
  Separator = ',';
}
