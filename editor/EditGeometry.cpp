// Where positions stand on the screen. The view supplies the font metrics and
// the scroll origin; the arithmetic lives here so that every window places
// the caret the same way.
#include "EditText.h"

#include <algorithm>

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

TEditPoint TTarnEditText::PosToPoint(const TBufferPos& pos) {
  TBufferPos p = pos;
  p.Clamp();
  const std::int64_t charWidth = std::max(1, View->CharWidth());
  std::string_view line = Lines[p.Line()];
  std::int64_t x = View->TextWidth(line.substr(0, static_cast<std::size_t>(p.Col())));
  if (pos == Caret)
    View->SetStatusText(std::to_string(Caret.Line() + 1) + ":" + std::to_string(x / charWidth + 1));
  return {x - View->XPos() * charWidth, (p.Line() - View->YPos()) * View->LineHeight()};
}

TBufferPos TTarnEditText::PointToPos(std::int64_t x, std::int64_t y) const {
  const std::int64_t lineHeight = std::max(1, View->LineHeight());
  const std::int64_t charWidth = std::max(1, View->CharWidth());
  std::int64_t line = FloorDiv(y, lineHeight) + View->YPos();
  TBufferPos pos(Lines);
  if (line < 0)
    return pos;
  if (line > Lines.LastLine()) {
    pos.ToLineEnd(true);
    return pos;
  }
  // The smallest column whose left edge, moved right by half a character,
  // reaches x: a click in a character's left part lands before it, in its
  // right part after it. Widths grow with the column, so bisect.
  std::string_view s = Lines[line];
  std::int64_t target = x + View->XPos() * charWidth;
  std::int64_t lo = 0;
  std::int64_t hi = static_cast<std::int64_t>(s.size());
  while (lo < hi) {
    std::int64_t mid = lo + (hi - lo) / 2;
    if (View->TextWidth(s.substr(0, static_cast<std::size_t>(mid))) + charWidth / 2 >= target)
      hi = mid;
    else
      lo = mid + 1;
  }
  pos.Set(line, lo);
  return pos;
}

void TTarnEditText::InvalidateToLineEnd(const TBufferPos& pos) {
  TEditPoint from = PosToPoint(pos);
  TBufferPos end = pos;
  end.Clamp();
  end.ToLineEnd();
  TEditPoint to = PosToPoint(end);
  // One cell more covers the character a deletion pulls back from the end.
  View->InvalidateRect(from, {to.X + View->CharWidth(), from.Y + View->LineHeight()}, true);
}

void TTarnEditText::MoveCaretLines(std::int64_t n) {
  // Beyond the text either way PointToPos gives its start or end, so a larger
  // jump than the text is long changes nothing.
  n = std::clamp<std::int64_t>(n, -Lines.Count() - 1, Lines.Count() + 1);
  TEditPoint p = PosToPoint(Caret);
  Caret = PointToPos(p.X, p.Y + n * View->LineHeight());
}

void TTarnEditText::GoToLineColumn(std::int64_t line, std::int64_t column) {
  line = std::clamp<std::int64_t>(line, 0, Lines.Count() + 1);
  Caret.Clamp();
  Caret.SetCol(0);
  MoveCaretLines(line - Caret.Line() - 1);
  // The reported column counts display columns with a tab stop every 8; find
  // the character displayed there. A column inside a TAB's span, other than
  // its first, means the character after the TAB.
  std::int64_t target = column - 1;
  std::int64_t shown = 0;
  std::int64_t extra = 0;
  const std::string& s = Lines[Caret.Line()];
  for (std::size_t c = static_cast<std::size_t>(Caret.Col()); shown < target && c < s.size(); ++c) {
    if (s[c] != '\t') {
      ++shown;
      continue;
    }
    for (;;) {
      ++shown;
      if (shown % 8 == 0)
        break;
      ++extra;
      if (shown >= target) {
        --extra;
        break;
      }
    }
  }
  Caret.SetCol(std::clamp<std::int64_t>(target - extra, 0, static_cast<std::int64_t>(s.size())));
  SelStart = Caret;
  SelEnd = Caret;
  SelEnd.Next();
  View->InvalidateAll(true);
  View->ScrollToCaret();
}

bool TTarnEditText::CaretScrollOrigin(std::int64_t clientWidth, std::int64_t clientHeight,
                                      TEditPoint& origin) {
  const std::int64_t charWidth = std::max(1, View->CharWidth());
  const std::int64_t lineHeight = std::max(1, View->LineHeight());
  TEditPoint p = PosToPoint(Caret);
  // The whole character cell must fit, so the box is one cell smaller.
  const std::int64_t left = 0, top = 0;
  const std::int64_t right = clientWidth - charWidth;
  const std::int64_t bottom = clientHeight - lineHeight;
  origin = {View->XPos(), View->YPos()};
  if (p.X >= left && p.X < right && p.Y >= top && p.Y < bottom)
    return false;
  if (p.X > right)
    origin.X = (p.X + View->XPos() * charWidth - (right - left)) / charWidth;
  else if (p.X < left)
    origin.X = Caret.Col();
  if (p.Y > bottom)
    origin.Y = p.Y - bottom > lineHeight ? Caret.Line() - (bottom - top) / lineHeight : origin.Y + 1;
  else if (p.Y < top)
    origin.Y = Caret.Line();
  return true;
}
