// The editor's text model on a script of edits, checked after every step
// against a plain string that undergoes the same edits, with the undo history
// kept beside it as ranges replaced. At the end everything is undone, which
// must give back the text the script started from.
//
// Input: the initial text, a line "=====", then one command per line (no
// marker: the whole input is commands on an empty text). A command is a
// letter and its arguments, separated by blanks; numbers are decimal, TEXT is
// the rest of the line with \n \r \t \0 \\ and \xHH escapes.
//   c P          caret at offset P, no selection  (offsets wrap at the text length)
//   s A B        select from offset A to B, caret at B (B < A: a reversed selection)
//   S L C L C L C  selection start, end and caret as raw line/column, also stale ones
//   t TEXT       insert text (replacing the selection)      p TEXT  paste TEXT
//   n TEXT       InsertChar for each character              k N TEXT  type each character N times
//   x            Delete      b  Backspace      u  Undo       j  forget the history (a save)
//   X  Cut       C  Copy     P  paste the clipboard          K  the clipboard starts/stops refusing
//   a  Select all            w  select the word at the caret o  Overwrite on/off
//   f FLAGS TEXT find        F TEXT  find what               R TEXT  replace with
//   r FLAGS      replace all with F and R                    N FLAGS  carry out FindData with FLAGS
//   g L C  go to line and column   m N  caret N lines down   q X Y  caret to the point X,Y
//   v W H  scroll origin for a client area   e N SHIFT  caret N characters on, then track the selection
//   V TAB W H X Y  measure with another view (tab size, character width, line height, scroll origin)
#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <memory>
#include <string>
#include <utility>

#include "EditText.h"
#include "FuzzTargets.h"

namespace {

using TIndex = TBufferPos::TIndex;

// The text grows no further than this; a command that would pass it is skipped.
constexpr size_t MaxText = 100000;
// A replace all that would replace more often than this is skipped.
constexpr size_t MaxReplacements = 1000;

// A view whose clipboard can refuse, as a busy system clipboard does.
class TFuzzView : public TFixedPitchView {
 public:
  TFuzzView(int tab, int width, int height) : TFixedPitchView(width, height, tab) {}
  bool SetClipboardText(const std::string& text) override { return !Refuse && TFixedPitchView::SetClipboardText(text); }
  bool Refuse = false;
};

// One command line's arguments.
class TArgs {
 public:
  explicit TArgs(std::string_view rest) : Rest(rest) {}
  int64_t Number() {
    while (Rest.starts_with(' ')) Rest.remove_prefix(1);
    bool negative = Rest.starts_with('-');
    if (negative) Rest.remove_prefix(1);
    int64_t value = 0;
    for (; !Rest.empty() && Rest[0] >= '0' && Rest[0] <= '9'; Rest.remove_prefix(1))
      value = value > (INT64_MAX - (Rest[0] - '0')) / 10 ? INT64_MAX : value * 10 + (Rest[0] - '0');
    return negative ? -value : value;
  }
  int64_t Bounded(int64_t low, int64_t high) { return std::clamp(Number(), low, high); }
  std::string Text() {
    if (Rest.starts_with(' ')) Rest.remove_prefix(1);
    return Unescape(std::exchange(Rest, {}));
  }

 private:
  std::string_view Rest;
};

std::string WithoutCR(std::string_view text) {
  std::string out(text);
  std::erase(out, '\r');
  return out;
}

char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// The text as one string with LF line breaks, and the undo history as the
// ranges each user action replaced.
struct TModel {
  std::string Text;
  struct TStep { size_t At; std::string Removed; size_t Inserted; };
  std::vector<TStep> Steps;

  size_t LineStart(size_t offset) const {
    size_t lf = offset == 0 ? std::string::npos : Text.rfind('\n', offset - 1);
    return lf == std::string::npos ? 0 : lf + 1;
  }
  size_t LineEnd(size_t offset) const {
    size_t lf = Text.find('\n', offset);
    return lf == std::string::npos ? Text.size() : lf;
  }
  // Where a line/column position lands once brought back into the text.
  size_t Clamped(TIndex line, TIndex col) const {
    if (line < 0) return 0;
    size_t start = 0;
    for (TIndex l = 0; l < line; ++l) {
      size_t lf = Text.find('\n', start);
      if (lf == std::string::npos) return Text.size();  // beyond the last line: the end
      start = lf + 1;
    }
    size_t length = LineEnd(start) - start;
    return start + size_t(std::clamp<TIndex>(col, 0, TIndex(length)));
  }
  TIndex LineCount() const { return TIndex(std::count(Text.begin(), Text.end(), '\n')) + 1; }

  // One user action: the text at AT, LENGTH long, becomes WITH.
  void Replace(size_t at, size_t length, std::string_view with) {
    Steps.push_back({at, Text.substr(at, length), with.size()});
    Text.replace(at, length, with);
  }
  void Undo() {
    Text.replace(Steps.back().At, Steps.back().Inserted, Steps.back().Removed);
    Steps.pop_back();
  }

  bool MatchesAt(size_t i, std::string_view what, bool matchCase, bool wholeWord) const {
    size_t m = what.size();
    auto same = [&](char a, char b) { return matchCase ? a == b : FoldCase(a) == FoldCase(b); };
    if (i + m > Text.size() || !std::equal(what.begin(), what.end(), Text.begin() + std::ptrdiff_t(i), same)) return false;
    if (!wholeWord) return true;
    auto delimiter = [](char c) { return c == '\n' || WordDelimiters.find(c) != std::string_view::npos; };
    return (i == 0 || delimiter(Text[i - 1])) && (i + m == Text.size() || delimiter(Text[i + m]));
  }
  // A match starting at or after FROM (down), or lying wholly before it (up).
  // Lines hold no LF, so a text with one never matches.
  size_t Find(size_t from, bool down, std::string_view what, bool matchCase, bool wholeWord) const {
    size_t m = what.size();
    if (m == 0 || what.find('\n') != std::string_view::npos) return std::string::npos;
    if (down) {
      for (size_t i = from; i + m <= Text.size(); ++i)
        if (MatchesAt(i, what, matchCase, wholeWord)) return i;
    } else if (from >= m) {
      for (size_t i = from - m + 1; i-- > 0;)
        if (MatchesAt(i, what, matchCase, wholeWord)) return i;
    }
    return std::string::npos;
  }
};

class TEditorRun {
 public:
  TEditorRun() { Views.push_back(std::make_unique<TFuzzView>(8, 1, 1)); Editor.SetView(Views.back().get()); }

  void Start(std::string_view text) {
    Baseline = Model.Text = WithoutCR(text);
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t lf; (lf = Model.Text.find('\n', from)) != std::string::npos; from = lf + 1)
      lines.push_back(Model.Text.substr(from, lf - from));
    lines.push_back(Model.Text.substr(from));
    Editor.Lines.Assign(std::move(lines));
    for (TBufferPos* pos : Positions()) pos->Set(0, 0);
  }

  void Command(std::string_view line) {
    if (line.empty()) return;
    char op = line[0];
    TArgs args(line.substr(1));
    // Where the command finds the caret and the selection, brought into the text.
    size_t caret = Place(Editor.Caret), selA = Place(Editor.SelStart), selB = Place(Editor.SelEnd);
    size_t selFrom = std::min(selA, selB), selTo = std::max(selA, selB);
    bool selection = selFrom < selTo;
    View().Refuse = Refuse;
    switch (op) {
      case 'c':
      case 's': {
        size_t a = Offset(args.Number()), b = op == 'c' ? a : Offset(args.Number());
        SetAt(Editor.SelStart, a);
        SetAt(Editor.SelEnd, b);
        SetAt(Editor.Caret, b);
        break;
      }
      case 'S':
        // Stale positions lie a little beyond the text, as edits leave them.
        for (TBufferPos* p : Positions()) {
          TIndex line = Wrap(args.Number(), Editor.Lines.Count() + 8) - 4;
          p->Set(line, Wrap(args.Number(), 300) - 4);
        }
        break;
      case 't':
      case 'p':
      case 'P': {
        std::string text = op == 'P' ? View().Clipboard : args.Text();
        std::string kept = WithoutCR(text);
        if (Model.Text.size() + kept.size() > MaxText) break;
        op == 't' ? Editor.InsertText(text, true) : Editor.Paste(text);
        ExpectInsertion(kept, selection, selFrom, selTo, caret);
        break;
      }
      case 'n':
      case 'k': {
        int64_t repeat = op == 'k' ? args.Bounded(-2, 64) : 1;
        std::string text = args.Text();
        if (Model.Text.size() + text.size() * size_t(std::max<int64_t>(repeat, 0)) > MaxText) break;
        for (char ch : text) {
          int64_t times = 1;
          if (op == 'n') {
            Editor.InsertChar(ch, true);
            if (ch == '\r') continue;  // never part of a line: ignored
          } else {
            Editor.TypeChar(ch, int(repeat));
            uint8_t code = uint8_t(ch);
            if ((code <= 27 && ch != '\t' && ch != '\r') || repeat <= 0) continue;  // ignored keys
            if (ch == '\r') ch = '\n';
            times = repeat;
          }
          for (int64_t i = 0; i < times; ++i) {
            ExpectChar(ch, selection, selFrom, selTo, caret);
            selection = false;  // a typed character leaves no selection behind
          }
          CheckCaret(caret);
        }
        break;
      }
      case 'x':
      case 'b': {
        op == 'x' ? Editor.Delete() : Editor.Backspace();
        if (op == 'b' && caret == 0) break;  // at the start nothing happens, selection or not
        // The selection goes, else the character after (x) or before (b) the caret.
        size_t at = selection ? selFrom : op == 'x' ? caret : caret - 1;
        size_t length = selection ? selTo - selFrom : op == 'b' || caret < Model.Text.size() ? 1 : 0;
        if (length > 0) Model.Replace(at, length, "");
        CheckCaret(at);
        break;
      }
      case 'u':
        FUZZ_CHECK(Editor.CanUndo() == !Model.Steps.empty());
        Editor.Undo();
        if (!Model.Steps.empty()) Model.Undo();
        break;
      case 'j':
        Editor.ClearJournal();
        Model.Steps.clear();
        Baseline = Model.Text;
        break;
      case 'X':
      case 'C': {
        // A refused or empty copy leaves the clipboard as it was.
        bool taken = selection && !Refuse;
        std::string expected = taken ? std::string() : View().Clipboard;
        op == 'X' ? Editor.Cut() : Editor.Copy();
        for (size_t i = selFrom; taken && i < selTo; ++i)
          expected += Model.Text[i] == '\n' ? "\r\n" : std::string(1, Model.Text[i]);
        FUZZ_CHECK(View().Clipboard == expected);
        if (op == 'X' && taken) {
          Model.Replace(selFrom, selTo - selFrom, "");
          CheckCaret(selFrom);
        }
        break;
      }
      case 'K': Refuse = !Refuse; break;
      case 'o': Editor.Overwrite = !Editor.Overwrite; break;
      case 'a':
        Editor.SelectAll();
        FUZZ_CHECK(Editor.SelStart.Line() == 0 && Editor.SelStart.Col() == 0);
        CheckCaret(Model.Text.size());
        break;
      case 'w':
        Editor.SelectWord();
        FUZZ_CHECK(Editor.SelStart.Valid() && Editor.SelEnd.Valid() && !Editor.SelEnd.Before(Editor.SelStart));
        break;
      case 'f': {
        uint32_t flags = uint32_t(args.Bounded(0, 255));
        std::string what = args.Text();
        ExpectFind(Editor.Find(flags & FR_DOWN, flags & FR_MATCHCASE, flags & FR_WHOLEWORD, what), flags, what, caret);
        break;
      }
      case 'F':
      case 'R':
        (op == 'F' ? Editor.FindData.FindWhat : Editor.FindData.ReplaceWith) = args.Text();
        break;
      case 'r':
      case 'N': {
        uint32_t flags = uint32_t(args.Bounded(0, 255));
        Editor.FindData.Flags = flags;
        if (op == 'N' && (flags & FR_FINDNEXT)) {
          Editor.ProcessFindData();
          ExpectFind(std::nullopt, flags, Editor.FindData.FindWhat, caret);
        } else if (op == 'N' && (flags & FR_REPLACE)) {
          std::string kept = WithoutCR(Editor.FindData.ReplaceWith);
          if (Model.Text.size() + kept.size() > MaxText) break;
          Editor.ProcessFindData();
          if (selection) ExpectInsertion(kept, selection, selFrom, selTo, caret);
        } else if (op == 'r' || (flags & FR_REPLACEALL)) {
          ReplaceAll(flags, caret);
        } else {
          Editor.ProcessFindData();  // nothing asked for: nothing happens
        }
        break;
      }
      case 'g':
      case 'm':
      case 'q': {
        int64_t a = op == 'q' ? args.Bounded(INT32_MIN, INT32_MAX) : args.Number();
        if (op == 'g') Editor.GoToLineColumn(a, args.Number());
        else if (op == 'm') Editor.MoveCaretLines(a);
        else Editor.Caret = Editor.PointToPos(a, args.Bounded(INT32_MIN, INT32_MAX));
        FUZZ_CHECK(Editor.Caret.Valid());
        break;
      }
      case 'v': {
        int64_t w = args.Bounded(0, 100000), h = args.Bounded(0, 100000);
        TEditPoint origin;
        Editor.CaretScrollOrigin(w, h, origin);
        break;
      }
      case 'e': {
        int64_t n = args.Bounded(-1000000, 1000000);
        bool shift = args.Number() & 1;
        Editor.ValidatePositions();  // the window moves only a caret that lies in the text
        TBufferPos before = Editor.Caret;
        if (n >= 0) Editor.Caret.Advance(n);
        else Editor.Caret.Retreat(-n);
        Editor.TrackSelection(before, shift);
        FUZZ_CHECK(Editor.Caret.Valid() && Editor.SelStart.Valid() && Editor.SelEnd.Valid());
        break;
      }
      case 'V': {
        // Fonts have a size: a line height or character width of 0 is no view's.
        int tab = int(args.Bounded(-1, 32)), width = int(args.Bounded(1, 4)), height = int(args.Bounded(1, 4));
        auto view = std::make_unique<TFuzzView>(tab, width, height);
        view->ScrollX = args.Bounded(-1000000, 1000000);
        view->ScrollY = args.Bounded(-1000000, 1000000);
        view->Clipboard = View().Clipboard;
        Views.push_back(std::move(view));
        Editor.SetView(Views.back().get());
        break;
      }
      default:
        break;  // not a command
    }
    // The caret is checked by the commands that place it: others may leave a
    // stale one as it was.
    CheckText();
    CheckJournal();
    if (Trace)
      std::fprintf(stderr, "%.*s -> %zu characters, %zu steps, caret %lld:%lld\n", int(line.size()), line.data(),
                   Model.Text.size(), Model.Steps.size(), (long long)Editor.Caret.Line(), (long long)Editor.Caret.Col());
  }

  void Finish() {
    bool undone = false;
    while (!Model.Steps.empty()) {
      FUZZ_CHECK(Editor.CanUndo());
      Editor.Undo();
      Model.Undo();
      undone = true;
      CheckText();
      CheckJournal();
    }
    FUZZ_CHECK(!Editor.CanUndo());
    FUZZ_CHECK(Model.Text == Baseline);
    Budget = 1;
    CheckText();
    if (undone) FUZZ_CHECK(!Editor.Modified);
  }

 private:
  TFuzzView& View() { return *Views.back(); }
  std::array<TBufferPos*, 3> Positions() { return {&Editor.SelStart, &Editor.SelEnd, &Editor.Caret}; }
  size_t Place(const TBufferPos& pos) const { return Model.Clamped(pos.Line(), pos.Col()); }
  static TIndex Wrap(int64_t n, TIndex range) { return TIndex(((n % range) + range) % range); }
  size_t Offset(int64_t n) const { return size_t(Wrap(n, TIndex(Model.Text.size()) + 1)); }
  void SetAt(TBufferPos& pos, size_t offset) {
    size_t start = Model.LineStart(offset);
    pos.Set(TIndex(std::count(Model.Text.begin(), Model.Text.begin() + std::ptrdiff_t(start), '\n')),
            TIndex(offset - start));
  }
  size_t OffsetOf(const TBufferPos& pos) {
    FUZZ_CHECK(pos.Valid());
    return Place(pos);
  }
  void CheckCaret(size_t expected) { FUZZ_CHECK(OffsetOf(Editor.Caret) == expected); }

  // Inserted text replaces the selection, else goes in at the caret; either
  // way it is one step to undo, and the caret ends up after it.
  void ExpectInsertion(const std::string& kept, bool selection, size_t selFrom, size_t selTo, size_t caret) {
    if (selection) Model.Replace(selFrom, selTo - selFrom, kept);
    else Model.Replace(caret, 0, kept);
    CheckCaret((selection ? selFrom : caret) + kept.size());
  }

  // One character as InsertChar puts it in; CARET follows it.
  void ExpectChar(char ch, bool selection, size_t selFrom, size_t selTo, size_t& caret) {
    size_t at = selection ? selFrom : caret;
    size_t removed = selection ? selTo - selFrom
                               : Editor.Overwrite && ch != '\n' && caret < Model.Text.size() && Model.Text[caret] != '\n';
    if (ch == '\n' && Editor.Overwrite) {
      // Enter in overwrite mode only moves to the next line's start (the end
      // of the text from the last line), after taking out any selection.
      if (removed) Model.Replace(at, removed, "");
      size_t end = Model.LineEnd(at);
      caret = end < Model.Text.size() ? end + 1 : end;
      return;
    }
    Model.Replace(at, removed, std::string(1, ch));
    caret = at + 1;
  }

  // FOUND is what Find returned, when the command shows it. A match is
  // selected; a search that finds none leaves the caret and an empty selection
  // there; one with nothing to look for or no text left that way does nothing.
  void ExpectFind(std::optional<bool> found, uint32_t flags, const std::string& what, size_t caret) {
    bool down = flags & FR_DOWN;
    bool looked = !what.empty() && (down ? caret < Model.Text.size() : caret > 0);
    size_t i = looked ? Model.Find(caret, down, what, flags & FR_MATCHCASE, flags & FR_WHOLEWORD) : std::string::npos;
    FUZZ_CHECK(found != (i == std::string::npos));
    if (!looked) return;
    size_t from = i == std::string::npos ? caret : i, to = i == std::string::npos ? caret : i + what.size();
    FUZZ_CHECK(OffsetOf(Editor.SelStart) == from && OffsetOf(Editor.SelEnd) == to);
    CheckCaret(down ? to : from);
  }

  void ReplaceAll(uint32_t flags, size_t caret) {
    const std::string what = Editor.FindData.FindWhat;
    const std::string with = WithoutCR(Editor.FindData.ReplaceWith);
    const bool down = flags & FR_DOWN;
    // Worked out on a copy first: a command that would grow the text too far
    // or replace too often is skipped.
    TModel trial{Model.Text, {}};
    size_t from = caret, count = 0;
    for (size_t i; (i = trial.Find(from, down, what, flags & FR_MATCHCASE, flags & FR_WHOLEWORD)) != std::string::npos;) {
      if (++count > MaxReplacements) return;
      trial.Replace(i, what.size(), with);
      if (trial.Text.size() > MaxText) return;
      from = down ? i + with.size() : i;
    }
    Editor.ReplaceAll();
    for (auto& step : trial.Steps) Model.Steps.push_back(std::move(step));
    Model.Text = std::move(trial.Text);
  }

  // The text is compared after every step while that stays cheap; long runs
  // on a large text compare at the end only.
  void CheckText() {
    if (Budget <= 0) return;
    Budget -= int64_t(Model.Text.size()) + 1;
    FUZZ_CHECK(Editor.Lines.Count() == Model.LineCount());
    size_t at = 0;
    for (TIndex i = 0; i < Editor.Lines.Count(); ++i) {
      const std::string& line = Editor.Lines[i];
      FUZZ_CHECK(Model.Text.compare(at, line.size(), line) == 0);
      at += line.size();
      FUZZ_CHECK(at == Model.Text.size() ? i == Editor.Lines.Count() - 1 : Model.Text[at] == '\n');
      ++at;
    }
  }

  // One journal step per user action: an entry that starts a step is not
  // chained to the one below it, and the oldest entry starts one.
  void CheckJournal() {
    size_t size = Editor.Journal.Size();
    if (StepStarts.size() > size + 1) StepStarts.resize(size + 1);
    for (size_t i = StepStarts.size() - 1; i < size; ++i)
      StepStarts.push_back(StepStarts.back() + (Editor.Journal[i].Chained ? 0 : 1));
    FUZZ_CHECK(size == 0 || !Editor.Journal[0].Chained);
    FUZZ_CHECK(StepStarts[size] == Model.Steps.size());
  }

  std::vector<std::unique_ptr<TFuzzView>> Views;
  TTarnEditText Editor;
  TModel Model;
  std::string Baseline;
  std::vector<size_t> StepStarts{0};  // StepStarts[n]: steps among the oldest n journal entries
  bool Refuse = false;
  // TARN_FUZZ_TRACE=1 shows each command's outcome, to read a reproducer by.
  bool Trace = std::getenv("TARN_FUZZ_TRACE") != nullptr;
  int64_t Budget = 8 << 20;
};

}  // namespace

int FuzzEditorOne(const uint8_t* data, size_t size) {
  std::vector<std::string_view> parts = SplitAtMarkers(AsText(data, size), 2);
  std::string_view text = parts.size() == 2 ? parts[0] : std::string_view();
  std::string_view script = parts.back();
  if (parts.size() == 2 && !text.empty() && text.back() == '\n') text.remove_suffix(1);  // the marker's own line break
  TEditorRun run;
  run.Start(text);
  ForEachLine(script, [&](std::string_view line) { run.Command(line); });
  run.Finish();
  return 0;
}
