// A position in a line store: 0-based line and column, where the column may
// equal the line's length (the line end, before the line break). Position
// arithmetic treats the text as one stream in which every line end counts as
// exactly one character.
#pragma once

#include "LineStore.h"

#include <string_view>

// The 25 characters that end a word for double-click selection and
// whole-word search. The space is listed twice; the count of 25 is kept.
inline constexpr std::string_view WordDelimiters = "\"\\\t +-=/~!(){}[]<>'?.,;: ";

class TBufferPos {
public:
  using TIndex = TLineStore::TIndex;

  explicit TBufferPos(const TLineStore& store) : Store(&store) {}
  TBufferPos(const TLineStore& store, TIndex line, TIndex col)
      : Store(&store), LineNo(line), ColNo(col) {}
  TBufferPos(const TBufferPos&) = default;
  // A position belongs to one store for life; assignment copies the place only.
  TBufferPos& operator=(const TBufferPos& other) {
    assert(Store == other.Store);
    LineNo = other.LineNo;
    ColNo = other.ColNo;
    return *this;
  }

  // Callers pass valid values; Normalize or Clamp repair anything else.
  void Set(TIndex line, TIndex col) {
    LineNo = line;
    ColNo = col;
  }
  void SetCol(TIndex col) { ColNo = col; }

  TIndex Line() const { return LineNo; }
  TIndex Col() const { return ColNo; }
  const TLineStore& Lines() const { return *Store; }

  bool operator==(const TBufferPos& other) const {
    return LineNo == other.LineNo && ColNo == other.ColNo;
  }
  bool Before(const TBufferPos& other) const {
    return LineNo < other.LineNo || (LineNo == other.LineNo && ColNo < other.ColNo);
  }

  void ToLineStart(bool alsoFirstLine = false);
  void ToLineEnd(bool alsoLastLine = false);
  bool AtLineEnd() const { return ColNo == Store->Length(LineNo); }
  bool AtTextStart() const { return LineNo == 0 && ColNo == 0; }
  bool AtTextEnd() const { return LineNo == Store->LastLine() && AtLineEnd(); }

  void Next() { Advance(1); }
  void Prev() { Retreat(1); }
  void Advance(TIndex n);
  void Retreat(TIndex n);
  // Carries a column below 0 or beyond the line end across line ends; stops
  // at (0, 0) and at the end of the last line.
  void Normalize();
  // Brings a position that later edits left behind back into the text: a line
  // beyond the last one becomes the end of the text, a column beyond its line
  // the line end. Unlike Normalize it keeps the position on its line, so a
  // stale selection anchor stays where the user left it.
  void Clamp();
  bool Valid() const {
    return LineNo >= 0 && LineNo < Store->Count() && ColNo >= 0 && ColNo <= Store->Length(LineNo);
  }

  // Column of the first delimiter at or after the position, else the line end.
  void ToDelimiter(std::string_view delimiters);
  // Column just after the nearest delimiter at or before the position.
  void ToWordStart(std::string_view delimiters);

  // Text search within single lines; on success the position moves to the
  // start of the match. Forward: matches starting at or after the position.
  // Backward: matches lying wholly before the position.
  bool SearchForward(std::string_view text, bool matchCase, bool wholeWord,
                     std::string_view delimiters = WordDelimiters);
  bool SearchBackward(std::string_view text, bool matchCase, bool wholeWord,
                      std::string_view delimiters = WordDelimiters);
  static bool IsWholeWord(std::string_view line, TIndex col, TIndex length,
                          std::string_view delimiters = WordDelimiters);

private:
  const TLineStore* Store;
  TIndex LineNo = 0;
  TIndex ColNo = 0;
};
