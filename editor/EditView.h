// What the text model needs from the window that shows it. The model decides
// what changed and where the caret goes; the window measures text in its font,
// repaints, scrolls, and talks to the user. Tests and tools use
// TFixedPitchView, which measures every character as one cell.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A point in client pixels.
struct TEditPoint {
  std::int64_t X = 0;
  std::int64_t Y = 0;
  bool operator==(const TEditPoint&) const = default;
};

enum class TMessageIcon { None, Information, Exclamation, Stop, Question };

class TEditView {
public:
  virtual ~TEditView() = default;

  // Font metrics: LineHeight is font height plus external leading, CharWidth
  // the average character width.
  virtual int LineHeight() const = 0;
  virtual int CharWidth() const = 0;
  // Pixel width of a line's first characters, with TABs expanded from the
  // start of the line as the window draws them.
  virtual std::int64_t TextWidth(std::string_view lineStart) const = 0;
  // The scroll origin: XPos in units of CharWidth, YPos in lines.
  virtual std::int64_t XPos() const = 0;
  virtual std::int64_t YPos() const = 0;

  // Repaint requests. The rectangle runs from topLeft to bottomRight (exclusive).
  virtual void InvalidateRect(TEditPoint topLeft, TEditPoint bottomRight, bool erase) = 0;
  virtual void InvalidateAll(bool erase) = 0;
  virtual void SetScrollRanges(std::int64_t horizontal, std::int64_t vertical) = 0;
  // Scroll so that the caret's character cell is visible and place the caret.
  virtual void ScrollToCaret() = 0;
  // The caret's "line:column" for the status bar.
  virtual void SetStatusText(const std::string& text) = 0;

  // A message box with only an OK button.
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           TMessageIcon icon) = 0;
  // Puts plain text on the clipboard; false when the clipboard refused it.
  virtual bool SetClipboardText(const std::string& text) = 0;
  // After a search miss the open find or replace dialog gets the focus back.
  virtual void FocusFindDialog() {}
};

// A view with a fixed-pitch font and no screen: every character is one cell,
// TABs stand every TabSize cells. Repaint and scroll requests are dropped;
// the clipboard is a string.
class TFixedPitchView : public TEditView {
public:
  explicit TFixedPitchView(int charWidth = 1, int lineHeight = 1, int tabSize = 8)
      : Width(charWidth), Height(lineHeight), TabSize(tabSize > 0 ? tabSize : 1) {}

  int LineHeight() const override { return Height; }
  int CharWidth() const override { return Width; }
  std::int64_t TextWidth(std::string_view lineStart) const override {
    std::int64_t cells = 0;
    for (char c : lineStart)
      cells = c == '\t' ? (cells / TabSize + 1) * TabSize : cells + 1;
    return cells * Width;
  }
  std::int64_t XPos() const override { return ScrollX; }
  std::int64_t YPos() const override { return ScrollY; }

  void InvalidateRect(TEditPoint, TEditPoint, bool) override {}
  void InvalidateAll(bool) override {}
  void SetScrollRanges(std::int64_t, std::int64_t) override {}
  void ScrollToCaret() override {}
  void SetStatusText(const std::string&) override {}
  void ShowMessage(const std::string&, const std::string&, TMessageIcon) override {}
  bool SetClipboardText(const std::string& text) override {
    Clipboard = text;
    return true;
  }

  std::int64_t ScrollX = 0;
  std::int64_t ScrollY = 0;
  std::string Clipboard;

private:
  int Width;
  int Height;
  int TabSize;
};
