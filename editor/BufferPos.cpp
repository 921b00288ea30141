#include "BufferPos.h"

#include <algorithm>
#include <limits>

namespace {

using TIndex = TBufferPos::TIndex;

// Adds without overflow, so that Advance and Retreat with any count stop at
// the ends of the text instead of wrapping.
TIndex SaturatingAdd(TIndex a, TIndex b) {
  constexpr TIndex Max = std::numeric_limits<TIndex>::max();
  constexpr TIndex Min = std::numeric_limits<TIndex>::min();
  if (b > 0 && a > Max - b)
    return Max;
  if (b < 0 && a < Min - b)
    return Min;
  return a + b;
}

bool IsDelimiter(char c, std::string_view delimiters) {
  return delimiters.find(c) != std::string_view::npos;
}

// Letters compare without regard to case in plain ASCII; other bytes, those
// of national characters included, must be equal.
char FoldCase(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool MatchesAt(std::string_view line, TIndex col, std::string_view text, bool matchCase) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char a = line[static_cast<std::size_t>(col) + i];
    char b = text[i];
    if (matchCase ? a != b : FoldCase(a) != FoldCase(b))
      return false;
  }
  return true;
}

bool Accept(std::string_view line, TIndex col, std::string_view text, bool matchCase,
            bool wholeWord, std::string_view delimiters) {
  return MatchesAt(line, col, text, matchCase) &&
         (!wholeWord ||
          TBufferPos::IsWholeWord(line, col, static_cast<TIndex>(text.size()), delimiters));
}

}  // namespace

void TBufferPos::ToLineStart(bool alsoFirstLine) {
  ColNo = 0;
  if (alsoFirstLine)
    LineNo = 0;
}

void TBufferPos::ToLineEnd(bool alsoLastLine) {
  if (alsoLastLine)
    LineNo = Store->LastLine();
  ColNo = Store->Length(LineNo);
}

void TBufferPos::Advance(TIndex n) {
  ColNo = SaturatingAdd(ColNo, n);
  Normalize();
}

void TBufferPos::Retreat(TIndex n) {
  ColNo = SaturatingAdd(ColNo, n == std::numeric_limits<TIndex>::min()
                                       ? std::numeric_limits<TIndex>::max()
                                       : -n);
  Normalize();
}

void TBufferPos::Normalize() {
  while (ColNo < 0) {
    if (LineNo == 0) {
      ColNo = 0;
      return;
    }
    --LineNo;
    ColNo += Store->Length(LineNo) + 1;
  }
  for (;;) {
    TIndex length = Store->Length(LineNo);
    if (ColNo <= length)
      return;
    if (LineNo == Store->LastLine()) {
      ColNo = length;
      return;
    }
    ColNo -= length + 1;
    ++LineNo;
  }
}

void TBufferPos::Clamp() {
  if (LineNo < 0) {
    LineNo = 0;
    ColNo = 0;
  } else if (LineNo > Store->LastLine()) {
    ToLineEnd(true);
  }
  ColNo = std::clamp<TIndex>(ColNo, 0, Store->Length(LineNo));
}

void TBufferPos::ToDelimiter(std::string_view delimiters) {
  const std::string& s = (*Store)[LineNo];
  TIndex n = static_cast<TIndex>(s.size());
  while (ColNo < n && !IsDelimiter(s[static_cast<std::size_t>(ColNo)], delimiters))
    ++ColNo;
  ColNo = std::min(ColNo, n);
}

void TBufferPos::ToWordStart(std::string_view delimiters) {
  const std::string& s = (*Store)[LineNo];
  TIndex n = static_cast<TIndex>(s.size());
  if (ColNo >= n || ColNo <= 0)
    return;
  for (TIndex k = ColNo; k >= 0; --k) {
    if (IsDelimiter(s[static_cast<std::size_t>(k)], delimiters)) {
      ColNo = k + 1;
      return;
    }
  }
  ColNo = 0;
}

bool TBufferPos::IsWholeWord(std::string_view line, TIndex col, TIndex length,
                             std::string_view delimiters) {
  TIndex n = static_cast<TIndex>(line.size());
  bool startOk = col == 0 || IsDelimiter(line[static_cast<std::size_t>(col - 1)], delimiters);
  bool endOk = col + length >= n || IsDelimiter(line[static_cast<std::size_t>(col + length)], delimiters);
  return startOk && endOk;
}

bool TBufferPos::SearchForward(std::string_view text, bool matchCase, bool wholeWord,
                               std::string_view delimiters) {
  if (text.empty())
    return false;
  TIndex m = static_cast<TIndex>(text.size());
  TIndex from = ColNo;
  for (TIndex line = LineNo; line < Store->Count(); ++line, from = 0) {
    std::string_view s = (*Store)[line];
    for (TIndex c = from; c + m <= static_cast<TIndex>(s.size()); ++c) {
      if (Accept(s, c, text, matchCase, wholeWord, delimiters)) {
        Set(line, c);
        return true;
      }
    }
  }
  return false;
}

bool TBufferPos::SearchBackward(std::string_view text, bool matchCase, bool wholeWord,
                                std::string_view delimiters) {
  if (text.empty())
    return false;
  TIndex m = static_cast<TIndex>(text.size());
  for (TIndex line = LineNo; line >= 0; --line) {
    std::string_view s = (*Store)[line];
    TIndex end = line == LineNo ? std::min<TIndex>(ColNo, static_cast<TIndex>(s.size()))
                                : static_cast<TIndex>(s.size());
    for (TIndex c = end - m; c >= 0; --c) {
      if (Accept(s, c, text, matchCase, wholeWord, delimiters)) {
        Set(line, c);
        return true;
      }
    }
  }
  return false;
}
