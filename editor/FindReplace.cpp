// Find, replace and the clipboard commands. Text changes go through the
// journaled editing operations, so each replacement, cut or paste is one
// Undo step.
#include "EditText.h"

namespace {

constexpr std::string_view TooLargeText = "The selected text is too large for the clipboard";

}  // namespace

bool TTarnEditText::Find(bool down, bool matchCase, bool wholeWord, std::string_view text) {
  ValidatePositions();
  // An empty text would match at the caret without moving it, and Replace
  // All would never end.
  if (text.empty())
    return false;
  if (down ? Caret.AtTextEnd() : Caret.AtTextStart())
    return false;
  TBufferPos match = Caret;
  bool found = down ? match.SearchForward(text, matchCase, wholeWord)
                    : match.SearchBackward(text, matchCase, wholeWord);
  if (!found) {
    SelStart = SelEnd = Caret;
    Message("Cannot find \"" + std::string(text) + "\"", down ? "End of File" : "Start of File",
            TMessageIcon::Information);
    View->FocusFindDialog();
    return false;
  }
  SelStart = SelEnd = Caret = match;
  SelEnd.Advance(static_cast<TIndex>(text.size()));
  // Downward the caret goes after the match, so Find again finds the next
  // one; upward it stays at the start, so the next search lies before it.
  if (down)
    Caret = SelEnd;
  View->ScrollToCaret();
  View->InvalidateAll(false);
  return true;
}

void TTarnEditText::ReplaceSelection(std::string_view text) {
  if (!HasSelection())
    return;
  InsertText(text, true);
}

void TTarnEditText::ReplaceAll() {
  const std::uint32_t flags = FindData.Flags;
  const bool down = flags & FR_DOWN;
  const bool matchCase = flags & FR_MATCHCASE;
  const bool wholeWord = flags & FR_WHOLEWORD;
  ValidatePositions();
  SelStart = SelEnd = Caret;
  while (Find(down, matchCase, wholeWord, FindData.FindWhat)) {
    TBufferPos replaced = SelStart;
    ReplaceSelection(FindData.ReplaceWith);
    // Upward, the next search starts before the text just put in; from after
    // it, a replacement that contains the search text would be found again
    // and again.
    if (!down)
      Caret = replaced;
  }
}

void TTarnEditText::ProcessFindData() {
  const std::uint32_t flags = FindData.Flags;
  if (flags & FR_FINDNEXT)
    Find(flags & FR_DOWN, flags & FR_MATCHCASE, flags & FR_WHOLEWORD, FindData.FindWhat);
  else if (flags & FR_REPLACE)
    ReplaceSelection(FindData.ReplaceWith);
  else if (flags & FR_REPLACEALL)
    ReplaceAll();
}

void TTarnEditText::FindNext() {
  FindData.Flags |= FR_FINDNEXT;
  ProcessFindData();
}

bool TTarnEditText::SelectionText(std::string& text) {
  ValidatePositions();
  OrderSelection();
  text.clear();
  const std::string& first = Lines[SelStart.Line()];
  const std::size_t startCol = static_cast<std::size_t>(SelStart.Col());
  const std::size_t endCol = static_cast<std::size_t>(SelEnd.Col());
  if (SelStart.Line() == SelEnd.Line()) {
    text.assign(first, startCol, endCol - startCol);
    return true;
  }
  text.assign(first, startCol);
  text += "\r\n";
  for (TIndex line = SelStart.Line() + 1; line < SelEnd.Line(); ++line) {
    text += Lines[line];
    text += "\r\n";
    if (static_cast<std::int64_t>(text.size()) >= MaxClipboardText) {
      text.clear();
      return false;
    }
  }
  text.append(Lines[SelEnd.Line()], 0, endCol);
  return true;
}

bool TTarnEditText::CopyToClipboard() {
  std::string text;
  if (!SelectionText(text)) {
    Message(std::string(TooLargeText), "Space Error", TMessageIcon::Stop);
    return false;
  }
  return View->SetClipboardText(text);
}

void TTarnEditText::Cut() {
  if (!HasSelection() || !CopyToClipboard())
    return;
  DeleteSelection(true);
  View->ScrollToCaret();
}

void TTarnEditText::Copy() {
  if (HasSelection())
    CopyToClipboard();
}

void TTarnEditText::Paste(std::string_view clipboardText) {
  // InsertText leaves out the CR of CR LF line ends.
  InsertText(clipboardText, true);
  View->ScrollToCaret();
}

void TTarnEditText::Delete() {
  DeleteSelection(true);
  View->ScrollToCaret();
}

void TTarnEditText::SelectAll() {
  SelStart.Set(0, 0);
  SelEnd.ToLineEnd(true);
  Caret = SelEnd;
  View->InvalidateAll(true);
  View->ScrollToCaret();
}
