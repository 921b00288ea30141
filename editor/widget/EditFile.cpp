// The editor window's drawing, metrics, caret, scrolling and input. The text
// model decides what changes and where the caret goes; this file measures in
// the editor font, paints, and turns events into calls of the model.
#include "EditFile.h"

#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QGlyphRun>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStringDecoder>

#include <algorithm>
#include <climits>
#include <utility>

#include "FindDialog.h"

namespace {

// Lines are bytes; the window shows one character per byte so that columns,
// widths and the caret agree with the model's byte positions.
QString Shown(const char* bytes, std::size_t n) {
  return QString::fromLatin1(bytes, static_cast<qsizetype>(n));
}

int ToScrollValue(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, 0, INT_MAX));
}

// Long runs of text are drawn in pieces, so that a very long line costs only
// its visible part to draw.
constexpr std::size_t PaintPiece = 256;

}  // namespace

TTarnEditFile::TTarnEditFile(QWidget* parent, TEditorHost& host, const QString& fileName)
    : QAbstractScrollArea(parent), Host(host), Model(nullptr), Metrics(QFont()) {
  Model.SetView(this);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setCursor(Qt::IBeamCursor);
  if (!fileName.isEmpty()) {
    Model.FileName = QFile::encodeName(fileName).toStdString();
    Model.LoadFile();
  }
  ApplyFontAndTabs();
}

TTarnEditFile::~TTarnEditFile() {
  if (Dialog) {
    Dialog->Detach();
    delete Dialog.data();
  }
  // Nothing the model does from here on may reach a half-destroyed window.
  Model.SetView(nullptr);
}

QString TTarnEditFile::FileName() const { return QFile::decodeName(QByteArray::fromStdString(Model.FileName)); }

QString TTarnEditFile::Caption() const {
  return Model.FileName.empty() ? QStringLiteral("Untitled") : FileName();
}

void TTarnEditFile::GoToLineColumn(int line, int column) { Model.GoToLineColumn(line, column); }

void TTarnEditFile::ApplyFontAndTabs() {
  Font = Host.EditorFont();
  Metrics = QFontMetrics(Font, viewport());
  Glyphs = QRawFont::fromFont(Font);
  LineHeightPx = std::max(1, Metrics.height() + std::max(0, Metrics.leading()));
  CharWidthPx = std::max(1, Metrics.averageCharWidth());
  CaretWidthPx = 2;
  for (int b = 0; b < 256; ++b) {
    const QString ch(QChar(static_cast<char16_t>(b)));
    // A character without a width (a control code) still takes a cell, so
    // the caret moves visibly across it.
    Advance[b] = Metrics.horizontalAdvance(ch);
    if (Advance[b] <= 0)
      Advance[b] = CharWidthPx;
    const QList<quint32> index = Glyphs.isValid() ? Glyphs.glyphIndexesForString(ch) : QList<quint32>();
    GlyphIndex[b] = index.isEmpty() ? 0 : index.front();
  }
  TabWidthPx = std::clamp(Host.TabSize(), 1, 64) * CharWidthPx;
  viewport()->setCursor(Qt::IBeamCursor);

  // The horizontal range is at least the customary 100 character widths and
  // wide enough for the widest line, so that no text is out of reach.
  const int tabCells = std::clamp(Host.TabSize(), 1, 64);
  std::int64_t widest = 0;
  for (TTarnEditText::TIndex i = 0; i < Model.Lines.Count(); ++i) {
    std::int64_t cells = 0;
    for (char c : Model.Lines[i])
      cells = c == '\t' ? (cells / tabCells + 1) * tabCells : cells + 1;
    widest = std::max(widest, cells);
  }
  horizontalScrollBar()->setRange(0, 0);
  SetHorizontalRange(std::max(HorzScrollRange, widest));
  verticalScrollBar()->setRange(0, ToScrollValue(Model.Lines.Count()));
  UpdateScrollSteps();
  viewport()->update();
}

void TTarnEditFile::UpdateScrollSteps() {
  horizontalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setPageStep(std::max(1, viewport()->width() / CharWidthPx));
  verticalScrollBar()->setPageStep(std::max(1, viewport()->height() / LineHeightPx));
}

void TTarnEditFile::SetHorizontalRange(std::int64_t cells) {
  // The range only grows: text once reachable stays reachable.
  const int wanted = ToScrollValue(cells);
  if (wanted > horizontalScrollBar()->maximum())
    horizontalScrollBar()->setRange(0, wanted);
}

// --- TEditView ---

int TTarnEditFile::LineHeight() const { return LineHeightPx; }
int TTarnEditFile::CharWidth() const { return CharWidthPx; }

std::int64_t TTarnEditFile::LineWidth(std::string_view line) const {
  // TABs stand every TabWidthPx pixels from the start of the line; a TAB at a
  // stop advances to the next one.
  std::int64_t x = 0;
  std::size_t c = 0;
  while (c < line.size()) {
    if (line[c] == '\t') {
      x = (x / TabWidthPx + 1) * TabWidthPx;
      ++c;
      continue;
    }
    x += Advance[static_cast<unsigned char>(line[c])];
    ++c;
  }
  return x;
}

std::int64_t TTarnEditFile::TextWidth(std::string_view lineStart) const { return LineWidth(lineStart); }

std::int64_t TTarnEditFile::XPos() const { return horizontalScrollBar()->value(); }
std::int64_t TTarnEditFile::YPos() const { return verticalScrollBar()->value(); }

void TTarnEditFile::InvalidateRect(TEditPoint topLeft, TEditPoint bottomRight, bool) {
  // Every paint draws the whole client area, so erasing needs nothing extra.
  const QRect area = viewport()->rect();
  const auto clampX = [&](std::int64_t x) { return static_cast<int>(std::clamp<std::int64_t>(x, -1, area.width() + 1)); };
  const auto clampY = [&](std::int64_t y) { return static_cast<int>(std::clamp<std::int64_t>(y, -1, area.height() + 1)); };
  QRect rect(QPoint(clampX(topLeft.X), clampY(topLeft.Y)), QPoint(clampX(bottomRight.X), clampY(bottomRight.Y)));
  if (rect.isValid())
    viewport()->update(rect);
}

void TTarnEditFile::InvalidateAll(bool) { viewport()->update(); }

void TTarnEditFile::SetScrollRanges(std::int64_t horizontal, std::int64_t vertical) {
  SetHorizontalRange(horizontal);
  verticalScrollBar()->setRange(0, ToScrollValue(vertical));
}

void TTarnEditFile::ScrollToCaret() {
  TEditPoint origin;
  if (Model.CaretScrollOrigin(viewport()->width(), viewport()->height(), origin)) {
    // A caret beyond the horizontal range widens it rather than staying
    // out of sight.
    SetHorizontalRange(origin.X);
    horizontalScrollBar()->setValue(ToScrollValue(origin.X));
    verticalScrollBar()->setValue(ToScrollValue(origin.Y));
  }
  Model.PosToPoint(Model.Caret);  // the status text follows the caret
  viewport()->update();
}

void TTarnEditFile::SetStatusText(const std::string& text) { Host.SetPositionText(QString::fromStdString(text)); }

void TTarnEditFile::ShowMessage(const std::string& text, const std::string& caption, TMessageIcon icon) {
  // Messages carry file names (UTF-8) and search texts (bytes of the text).
  const auto decode = [](const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString result = utf8(QByteArray::fromStdString(bytes));
    return utf8.hasError() ? Shown(bytes.data(), bytes.size()) : result;
  };
  // A search keeps the wait cursor up; the user answers with the normal one.
  if (Searching > 0)
    QApplication::restoreOverrideCursor();
  Host.Ask(this, decode(text), decode(caption), icon, TButtons::Ok);
  if (Searching > 0)
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

// --- Painting ---

void TTarnEditFile::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.setFont(Font);
  const QPalette& colours = viewport()->palette();
  painter.fillRect(viewport()->rect(), colours.color(QPalette::Base));

  TBufferPos from = Model.SelStart;
  TBufferPos to = Model.SelEnd;
  from.Clamp();
  to.Clamp();
  if (to.Before(from))
    std::swap(from, to);
  const bool selection = !(from == to);

  const std::int64_t first = YPos();
  const std::int64_t last = std::min<std::int64_t>(viewport()->height() / LineHeightPx + first + 1, Model.Lines.LastLine());
  for (std::int64_t i = first; i <= last; ++i)
    PaintLine(painter, i, static_cast<int>((i - first) * LineHeightPx), from, to, selection);

  if (hasFocus()) {
    const TEditPoint p = Model.PosToPoint(Model.Caret);
    const int width = Model.Overwrite ? CharWidthPx : CaretWidthPx;
    // Inverted like a system caret, so it shows on text and on selection.
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.fillRect(QRectF(static_cast<qreal>(p.X), static_cast<qreal>(p.Y), width, LineHeightPx), Qt::white);
  }
}

void TTarnEditFile::PaintLine(QPainter& painter, std::int64_t index, int y, const TBufferPos& selFrom,
                              const TBufferPos& selTo, bool selection) {
  const std::string& line = Model.Lines[index];
  const std::size_t n = line.size();
  // The highlighted columns [a, b) of this line.
  std::size_t a = 0;
  std::size_t b = 0;
  if (selection && selFrom.Line() <= index && index <= selTo.Line()) {
    a = index == selFrom.Line() ? static_cast<std::size_t>(selFrom.Col()) : 0;
    b = index == selTo.Line() ? static_cast<std::size_t>(selTo.Col()) : n;
  }
  const QPalette& colours = viewport()->palette();
  const QColor highlight = colours.color(QPalette::Highlight);
  const QPen normalPen(colours.color(QPalette::Text));
  const QPen highlightPen(colours.color(QPalette::HighlightedText));
  const std::int64_t origin = -XPos() * CharWidthPx;
  const std::int64_t clientWidth = viewport()->width();
  const int baseline = y + Metrics.ascent();

  std::int64_t x = 0;
  std::size_t c = 0;
  while (c < n && origin + x < clientWidth) {
    const bool lit = c >= a && c < b;
    if (line[c] == '\t') {
      const std::int64_t next = (x / TabWidthPx + 1) * TabWidthPx;
      if (lit)
        painter.fillRect(QRectF(static_cast<qreal>(origin + x), y, static_cast<qreal>(next - x), LineHeightPx), highlight);
      x = next;
      ++c;
      continue;
    }
    // A piece ends at a TAB, where the colours change, or at the piece limit.
    std::size_t end = c + 1;
    while (end < n && end - c < PaintPiece && line[end] != '\t' && end != a && end != b)
      ++end;
    int width = 0;
    for (std::size_t i = c; i < end; ++i)
      width += Advance[static_cast<unsigned char>(line[i])];
    if (origin + x + width > 0) {
      const QPointF at(static_cast<qreal>(origin + x), baseline);
      if (lit)
        painter.fillRect(QRectF(at.x(), y, width, LineHeightPx), highlight);
      painter.setPen(lit ? highlightPen : normalPen);
      DrawPiece(painter, at, std::string_view(line).substr(c, end - c));
    }
    x += width;
    c = end;
  }
  // The blank after the line is in the normal colours: the background
  // already is.
}

void TTarnEditFile::DrawPiece(QPainter& painter, QPointF at, std::string_view piece) {
  // Each glyph stands at the sum of the whole-pixel advances before it.
  if (!Glyphs.isValid()) {
    qreal x = at.x();
    for (char ch : piece) {
      painter.drawText(QPointF(x, at.y()), QString(QChar(static_cast<char16_t>(static_cast<unsigned char>(ch)))));
      x += Advance[static_cast<unsigned char>(ch)];
    }
    return;
  }
  QList<quint32> indexes;
  QList<QPointF> positions;
  indexes.reserve(static_cast<qsizetype>(piece.size()));
  positions.reserve(static_cast<qsizetype>(piece.size()));
  int x = 0;
  for (char ch : piece) {
    const auto b = static_cast<unsigned char>(ch);
    indexes.push_back(GlyphIndex[b]);
    positions.push_back(QPointF(x, 0));
    x += Advance[b];
  }
  QGlyphRun run;
  run.setRawFont(Glyphs);
  run.setGlyphIndexes(indexes);
  run.setPositions(positions);
  painter.drawGlyphRun(at, run);
}

// --- Keyboard ---

bool TTarnEditFile::focusNextPrevChild(bool) { return false; }

bool TTarnEditFile::MoveCaret(int key, bool ctrl) {
  const std::int64_t page = viewport()->height() / LineHeightPx;
  switch (key) {
    case Qt::Key_PageUp: Model.MoveCaretLines(-page); return true;
    case Qt::Key_PageDown: Model.MoveCaretLines(page); return true;
    case Qt::Key_Home: Model.Caret.Clamp(); Model.Caret.ToLineStart(ctrl); return true;
    case Qt::Key_End: Model.Caret.Clamp(); Model.Caret.ToLineEnd(ctrl); return true;
    case Qt::Key_Left: Model.Caret.Clamp(); Model.Caret.Retreat(1); return true;
    case Qt::Key_Right: Model.Caret.Clamp(); Model.Caret.Advance(1); return true;
    case Qt::Key_Up: Model.MoveCaretLines(-1); return true;
    case Qt::Key_Down: Model.MoveCaretLines(1); return true;
    default: return false;
  }
}

void TTarnEditFile::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  const bool shift = modifiers & Qt::ShiftModifier;
  const bool ctrl = modifiers & Qt::ControlModifier;
  const bool alt = modifiers & Qt::AltModifier;
  const int key = event->key();
  event->accept();
  switch (key) {
    case Qt::Key_Backspace:
      Model.Backspace();
      ScrollToCaret();
      return;
    case Qt::Key_Insert:
      // The caret's width shows the mode.
      Model.Overwrite = !Model.Overwrite;
      ScrollToCaret();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      InsertTyped(QStringLiteral("\r"));
      return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      InsertTyped(QStringLiteral("\t"));
      return;
    case Qt::Key_Delete:
      // Delete is the Edit menu's accelerator; it arrives as a command.
      event->ignore();
      return;
    default:
      break;
  }
  const TBufferPos before = Model.Caret;
  if (MoveCaret(key, ctrl)) {
    Model.TrackSelection(before, shift);
    ScrollToCaret();
    return;
  }
  // Ctrl and Alt combinations are commands and menu keys, not typing; both
  // together are how some keyboards type their third-level characters.
  const QString text = event->text();
  if (!text.isEmpty() && ctrl == alt) {
    InsertTyped(text);
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void TTarnEditFile::InsertTyped(const QString& text) {
  bool typed = false;
  for (QChar ch : text) {
    const char16_t code = ch.unicode();
    // Only what a line can hold as one byte; DEL is no text either.
    if (code > 0xFF || code == 0x7F)
      continue;
    Model.TypeChar(static_cast<char>(code));
    typed = true;
  }
  if (typed)
    ScrollToCaret();
}

void TTarnEditFile::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty())
    InsertTyped(event->commitString());
  event->accept();
}

// --- Mouse ---

bool TTarnEditFile::SelectionNotEmpty() const {
  TBufferPos from = Model.SelStart;
  TBufferPos to = Model.SelEnd;
  from.Clamp();
  to.Clamp();
  return !(from == to);
}

void TTarnEditFile::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  const bool hadSelection = SelectionNotEmpty();
  const QPoint at = event->position().toPoint();
  Selecting = true;
  // The caret stays until the button is released.
  Model.SelStart = Model.SelEnd = Model.PointToPos(at.x(), at.y());
  if (hadSelection)
    viewport()->update();
}

void TTarnEditFile::mouseMoveEvent(QMouseEvent* event) {
  if (!Selecting)
    return;
  const QPoint at = event->position().toPoint();
  Model.SelEnd = Model.PointToPos(at.x(), at.y());
  viewport()->update();
}

void TTarnEditFile::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !Selecting)
    return;
  Selecting = false;
  const QPoint at = event->position().toPoint();
  Model.InvalidateToLineEnd(Model.Caret);
  Model.Caret = Model.PointToPos(at.x(), at.y());
  Model.SelEnd = Model.Caret;
  Model.PosToPoint(Model.Caret);
  Model.OrderSelection();
  viewport()->update();
}

void TTarnEditFile::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton)
    return;
  // The first click of the pair has placed the caret; the word around it is
  // selected.
  Model.SelectWord();
  Model.PosToPoint(Model.Caret);
  Selecting = false;
  viewport()->update();
}

// --- Focus and scrolling ---

void TTarnEditFile::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  Model.PosToPoint(Model.Caret);
  viewport()->update();
}

void TTarnEditFile::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

void TTarnEditFile::scrollContentsBy(int, int) {
  // The caret keeps its text position; only the view moves.
  Model.PosToPoint(Model.Caret);
  viewport()->update();
}

void TTarnEditFile::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollSteps();
}
