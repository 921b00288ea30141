// The editor window: paints the lines of its text model itself (tabs at the
// application's tab size, caret, selection colours, scrolling) and turns
// keys, mouse actions and editor commands into calls of the model.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QFontMetrics>
#include <QPointF>
#include <QPointer>
#include <QRawFont>
#include <QString>

#include <array>

#include "EditText.h"
#include "EditView.h"
#include "EditorHost.h"
#include "PrintPages.h"

class QPainter;
class TFindReplaceDialog;

class TTarnEditFile : public QAbstractScrollArea, public TEditView {
  Q_OBJECT
public:
  // With a non-empty FILENAME the file is loaded (a failed load is shown
  // through the host and keeps what was read); without, one empty line.
  TTarnEditFile(QWidget* parent, TEditorHost& host, const QString& fileName = QString());
  ~TTarnEditFile() override;

  TTarnEditText& Text() { return Model; }
  const TTarnEditText& Text() const { return Model; }
  QString FileName() const;
  // "Untitled" for a window without a name.
  QString Caption() const;

  void GoToLineColumn(int line, int column);
  // Recomputes the metrics from the host's font and tab size.
  void ApplyFontAndTabs();

  // File commands. Save runs SaveAs for an untitled window; both return
  // whether the text was written. CanClose asks about unsaved changes.
  bool Save();
  bool SaveAs();
  bool CanClose();

  // Editor commands (Cmd ids): whether this window handles ID, and if so
  // whether it is enabled now; Execute carries it out.
  bool Handles(int id) const;
  bool IsEnabled(int id) const;
  void Execute(int id);

  // Printing is in screen pixels, in the editor's font, a line as high as on
  // the screen (font height plus external leading). The pages the text
  // fills on a band of that height:
  int PrintPageTotal(int bandHeight) const;
  // The printing branch of painting: draws pages FromPage to ToPage of RANGE
  // into PAINTER for BAND (logical units), each line at the band's left edge
  // with TABs at the device's default stops, and sets RANGE's bounds to the
  // pages the text fills at that band height. An empty band draws nothing.
  void PaintPages(QPainter& painter, const QRect& band, TPrintPageRange& range);

  // The open find or replace dialog, if any.
  TFindReplaceDialog* FindDialog() const { return Dialog; }

  // TEditView
  int LineHeight() const override;
  int CharWidth() const override;
  std::int64_t TextWidth(std::string_view lineStart) const override;
  std::int64_t XPos() const override;
  std::int64_t YPos() const override;
  void InvalidateRect(TEditPoint topLeft, TEditPoint bottomRight, bool erase) override;
  void InvalidateAll(bool erase) override;
  void SetScrollRanges(std::int64_t horizontal, std::int64_t vertical) override;
  void ScrollToCaret() override;
  void SetStatusText(const std::string& text) override;
  void ShowMessage(const std::string& text, const std::string& caption, TMessageIcon icon) override;
  bool SetClipboardText(const std::string& text) override;
  void FocusFindDialog() override;

signals:
  // The caption changed (Save as under a new name).
  void CaptionChanged(const QString& caption);

protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

private:
  TEditorHost& Host;
  TTarnEditText Model;
  QPointer<TFindReplaceDialog> Dialog;
  // Further members are the implementation's.

  // TAB inserts a tab character; it does not move the focus.
  bool focusNextPrevChild(bool next) override;

  // Pixel width of LINE's first characters with TABs expanded; also used to
  // place each piece of text when painting, so drawing and measuring agree.
  std::int64_t LineWidth(std::string_view line) const;
  void PaintLine(QPainter& painter, std::int64_t index, int y, const TBufferPos& selFrom,
                 const TBufferPos& selTo, bool selection);
  void DrawPiece(QPainter& painter, QPointF at, std::string_view piece);
  // A command of the caret's movement keys; false for keys that are not.
  bool MoveCaret(int key, bool ctrl);
  void InsertTyped(const QString& text);
  bool SelectionNotEmpty() const;
  void UpdateScrollSteps();
  void SetHorizontalRange(std::int64_t cells);
  void OpenFindDialog(bool replace);
  void CloseFindDialog();
  void RunSearch();
  void DialogRequest();
  void DialogTerminated();

  QFont Font;
  QFontMetrics Metrics;
  // Every byte has a whole-pixel advance, as on a device that lays text out
  // in pixels: a column's x is then the plain sum of the advances before it,
  // the same whether a line is measured or drawn in pieces.
  QRawFont Glyphs;
  std::array<int, 256> Advance{};
  std::array<quint32, 256> GlyphIndex{};
  int LineHeightPx = 1;
  int CharWidthPx = 1;
  int CaretWidthPx = 2;
  int TabWidthPx = 8;
  // A mouse drag is in progress.
  bool Selecting = false;
  // Nested searches keep one wait cursor.
  int Searching = 0;
};
