// The four editing operations, the undo journal and the key helpers. A
// multi-character edit changes the line store in one step, but leaves the
// same text, positions, journal entries and Modified flag as the sequence of
// single-character edits it stands for.
#include "EditText.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

TTarnEditText::TTarnEditText(TEditView* view) : View(view ? view : &NoView) {}

void TTarnEditText::Message(const std::string& text, std::string_view caption,
                            TMessageIcon icon) {
  View->ShowMessage(text, std::string(caption), icon);
}

void TTarnEditText::ValidatePositions() {
  Caret.Clamp();
  SelStart.Clamp();
  SelEnd.Clamp();
}

void TTarnEditText::OrderSelection() {
  if (SelEnd.Before(SelStart))
    std::swap(SelStart, SelEnd);
}

bool TTarnEditText::HasSelection() {
  ValidatePositions();
  OrderSelection();
  return !(SelStart == SelEnd);
}

void TTarnEditText::DeleteChar() {
  Caret.Clamp();
  TIndex line = Caret.Line();
  if (Caret.AtLineEnd()) {
    if (line == Lines.LastLine())
      return;  // the end of the text: nothing to delete, nothing changes
    std::string next = std::move(Lines[line + 1]);
    Lines[line] += next;
    Lines.Remove(line + 1);
    View->SetScrollRanges(HorzScrollRange, Lines.Count() - 1);
    View->InvalidateAll(true);
  } else {
    InvalidateToLineEnd(Caret);
    Lines[line].erase(static_cast<std::size_t>(Caret.Col()), 1);
  }
  Modified = true;
}

// Journals the text DeleteSelection is about to remove, in pieces of at most
// DeleteChunk characters. All pieces but the first are chained, so one Undo
// restores the whole deletion.
void TTarnEditText::RecordDeletion() {
  if (SelStart == SelEnd) {
    if (Caret.AtTextEnd())
      return;
    char c = Caret.AtLineEnd() ? '\n' : Lines[Caret.Line()][static_cast<std::size_t>(Caret.Col())];
    Journal.Push(std::make_unique<JEDelete>(Caret, std::string(1, c), false));
    return;
  }
  std::string chunk;
  bool chained = false;
  auto collect = [&](std::string_view piece) {
    while (!piece.empty()) {
      std::size_t take = std::min(DeleteChunk - chunk.size(), piece.size());
      chunk.append(piece.substr(0, take));
      piece.remove_prefix(take);
      if (chunk.size() == DeleteChunk) {
        Journal.Push(std::make_unique<JEDelete>(Caret, std::move(chunk), chained));
        chunk = std::string();
        chained = true;
      }
    }
  };
  for (TIndex line = SelStart.Line(); line <= SelEnd.Line(); ++line) {
    std::string_view s = Lines[line];
    std::size_t from = line == SelStart.Line() ? static_cast<std::size_t>(SelStart.Col()) : 0;
    std::size_t to = line == SelEnd.Line() ? static_cast<std::size_t>(SelEnd.Col()) : s.size();
    collect(s.substr(from, to - from));
    if (line != SelEnd.Line())
      collect("\n");
  }
  // The remainder goes in even when it is empty, as the last piece.
  Journal.Push(std::make_unique<JEDelete>(Caret, std::move(chunk), chained));
}

void TTarnEditText::DeleteSelection(bool record) {
  ValidatePositions();
  OrderSelection();
  bool selection = !(SelStart == SelEnd);
  if (selection)
    Caret = SelStart;
  if (record)
    RecordDeletion();
  if (!selection) {
    DeleteChar();
    return;
  }
  TIndex first = SelStart.Line();
  TIndex last = SelEnd.Line();
  if (first == last) {
    InvalidateToLineEnd(SelStart);
    Lines[first].erase(static_cast<std::size_t>(SelStart.Col()),
                       static_cast<std::size_t>(SelEnd.Col() - SelStart.Col()));
  } else {
    std::string rest = Lines[last].substr(static_cast<std::size_t>(SelEnd.Col()));
    std::string& head = Lines[first];
    head.resize(static_cast<std::size_t>(SelStart.Col()));
    head += rest;
    Lines.Remove(first + 1, last - first);
    View->SetScrollRanges(HorzScrollRange, Lines.Count() - 1);
    View->InvalidateAll(true);
  }
  SelEnd = SelStart;
  Caret = SelStart;
  Modified = true;
}

void TTarnEditText::InsertChar(char ch, bool record) {
  if (ch == '\r')
    return;  // a line never holds a line-end byte; LF is the line break
  ValidatePositions();
  OrderSelection();
  bool deleted = false;
  if (!(SelStart == SelEnd) || (Overwrite && !Caret.AtLineEnd() && ch != '\n')) {
    DeleteSelection(record);
    deleted = true;
  }
  bool caretMoveOnly = ch == '\n' && Overwrite;
  if (record && !caretMoveOnly)
    Journal.Push(std::make_unique<JEInsert>(Caret, 1, deleted));
  Modified = true;
  TIndex line = Caret.Line();
  TIndex col = Caret.Col();
  if (ch != '\n') {
    Lines[line].insert(static_cast<std::size_t>(col), 1, ch);
    InvalidateToLineEnd(Caret);
    Caret.SetCol(col + 1);
  } else if (Overwrite) {
    Caret.SetCol(0);
    MoveCaretLines(1);
  } else {
    std::string tail = Lines[line].substr(static_cast<std::size_t>(col));
    Lines[line].resize(static_cast<std::size_t>(col));
    Lines.Insert(line + 1, std::move(tail));
    View->SetScrollRanges(HorzScrollRange, Lines.Count() - 1);
    Caret.Set(line + 1, 0);
    View->InvalidateAll(true);
  }
}

void TTarnEditText::InsertText(std::string_view text, bool record) {
  std::string withoutCR;
  if (text.find('\r') != std::string_view::npos) {
    for (char c : text)
      if (c != '\r')
        withoutCR += c;
    text = withoutCR;
  }
  bool savedOverwrite = Overwrite;
  Overwrite = false;  // inserted text never overwrites
  ValidatePositions();
  OrderSelection();
  bool deleted = false;
  if (!(SelStart == SelEnd)) {
    DeleteSelection(record);
    deleted = true;
  }
  if (record)
    Journal.Push(std::make_unique<JEInsert>(Caret, static_cast<std::int64_t>(text.size()), deleted));
  if (!text.empty()) {
    TIndex line = Caret.Line();
    std::size_t col = static_cast<std::size_t>(Caret.Col());
    std::size_t firstBreak = text.find('\n');
    if (firstBreak == std::string_view::npos) {
      Lines[line].insert(col, text);
      InvalidateToLineEnd(Caret);
      Caret.SetCol(static_cast<TIndex>(col + text.size()));
    } else {
      std::string& start = Lines[line];
      std::string tail = start.substr(col);
      start.resize(col);
      start.append(text.substr(0, firstBreak));
      std::vector<std::string> added;
      std::size_t from = firstBreak + 1;
      for (std::size_t lf; (lf = text.find('\n', from)) != std::string_view::npos; from = lf + 1)
        added.emplace_back(text.substr(from, lf - from));
      std::string last(text.substr(from));
      TIndex caretCol = static_cast<TIndex>(last.size());
      last += tail;
      added.push_back(std::move(last));
      TIndex caretLine = line + static_cast<TIndex>(added.size());
      Lines.InsertRange(line + 1, std::move(added));
      Caret.Set(caretLine, caretCol);
      View->InvalidateAll(true);
    }
    Modified = true;
  }
  View->SetScrollRanges(HorzScrollRange, Lines.Count() - 1);
  Overwrite = savedOverwrite;
}

void JEInsert::Undo(TTarnEditText& editor) {
  TBufferPos where = Where;
  where.Clamp();
  editor.Caret = editor.SelStart = editor.SelEnd = where;
  editor.SelEnd.Advance(Count);
  // An empty insertion (an empty paste or replacement text) has nothing to
  // take back; an empty selection would make DeleteSelection remove the
  // character after it.
  if (!(editor.SelStart == editor.SelEnd))
    editor.DeleteSelection(false);
  editor.Caret = where;
  editor.GetView().ScrollToCaret();
}

void JEDelete::Undo(TTarnEditText& editor) {
  TBufferPos where = Where;
  where.Clamp();
  editor.Caret = editor.SelStart = editor.SelEnd = where;
  bool overwrite = editor.Overwrite;
  editor.Overwrite = false;
  editor.InsertText(Text, false);
  editor.Overwrite = overwrite;
  editor.Caret = editor.SelStart = editor.SelEnd = where;
  editor.GetView().ScrollToCaret();
}

// A large deletion is journaled as a chain of pieces that all start at the
// same place, and undoing them one by one would insert every piece in front
// of the text restored so far, moving that text again each time: the cost
// would grow with the square of the deletion. So the rest of the chain is
// taken off the journal here and its text joined, oldest piece first, into
// the newest piece, which then restores the whole deletion in one insertion.
// Inserting text at a valid place leaves that place valid and where it was,
// so the one insertion gives the same text, caret, selection and Modified
// flag as the pieces one at a time. A place that is no longer valid would
// be clamped anew for every piece, so such a chain is left as it is. The
// newest piece takes over the Chained flag of the oldest piece joined.
void TTarnEditText::JoinDeletionChain(JEDelete& newest) {
  if (!newest.Chained || !newest.Where.Valid())
    return;
  std::vector<std::unique_ptr<JournalEntry>> older;  // newest first
  std::size_t size = newest.Text.size();
  bool chained = true;
  while (chained && !Journal.Empty()) {
    const auto* piece = dynamic_cast<const JEDelete*>(&Journal.Top());
    if (!piece || !(piece->Where == newest.Where))
      break;
    size += piece->Text.size();
    chained = piece->Chained;
    older.push_back(Journal.Pop());
  }
  if (older.empty())
    return;
  std::string text;
  text.reserve(size);
  for (auto it = older.rbegin(); it != older.rend(); ++it) {
    std::string& piece = static_cast<JEDelete&>(**it).Text;
    text += piece;
    std::string().swap(piece);  // the pieces' memory goes as the joined text grows
  }
  text += newest.Text;
  newest.Text = std::move(text);
  newest.Chained = chained;
}

void TTarnEditText::Undo() {
  if (Journal.Empty())
    return;
  bool chained;
  do {
    std::unique_ptr<JournalEntry> entry = Journal.Pop();
    if (auto* deletion = dynamic_cast<JEDelete*>(entry.get()))
      JoinDeletionChain(*deletion);
    entry->Undo(*this);
    chained = entry->Chained;
  } while (chained && !Journal.Empty());
  // The journal starts empty at every load and save, so an empty journal
  // means the text is back to what is on disk.
  if (Journal.Empty())
    Modified = false;
}

void TTarnEditText::Backspace() {
  ValidatePositions();
  if (Caret.AtTextStart())
    return;
  Caret.Retreat(1);
  DeleteSelection(true);
}

void TTarnEditText::TypeChar(char ch, int repeat) {
  unsigned char code = static_cast<unsigned char>(ch);
  if (code <= 27 && code != '\t' && code != '\r')
    return;
  if (code == '\r')
    ch = '\n';
  for (int i = 0; i < repeat; ++i)
    InsertChar(ch, true);
}

bool TTarnEditText::TrackSelection(const TBufferPos& caretBefore, bool shift) {
  ValidatePositions();
  if (shift) {
    if (caretBefore == SelEnd)
      SelEnd = Caret;
    else
      SelStart = Caret;
    OrderSelection();
    View->InvalidateAll(false);
    return true;
  }
  bool hadSelection = !(SelStart == SelEnd);
  SelStart = SelEnd = Caret;
  if (hadSelection)
    View->InvalidateAll(false);
  return hadSelection;
}

void TTarnEditText::SelectWord() {
  ValidatePositions();
  SelStart = Caret;
  SelStart.ToWordStart(WordDelimiters);
  SelEnd = Caret;
  SelEnd.ToDelimiter(WordDelimiters);
  Caret = SelEnd;
  // On a delimiter the two ends cross: the delimiter alone is selected.
  OrderSelection();
  View->InvalidateAll(false);
}
