// The undo journal: what each user action records, and that one Undo
// reverses exactly one user action.
#include "EditTestSupport.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Modified stays set while older changes remain; Undo of an empty journal
// changes nothing.
TEST_F(TEditorTest, ActionsAreUndoneOneAtATime) {
  SetText(Editor, "abc");
  Editor.Caret.Set(0, 3);
  Editor.TypeChar('d');
  Editor.TypeChar('e');
  Editor.Caret.Set(0, 0);
  Editor.Delete();
  ASSERT_EQ(Editor.Journal.Size(), 3u);
  for (const char* text : {"abcde", "abcd", "abc", "abc"}) {
    Editor.Undo();
    EXPECT_EQ(GetText(Editor), text);
    EXPECT_EQ(Editor.Modified, Editor.CanUndo()) << text;
  }
}

struct TActionCase {
  const char* Name;
  const char* Before;
  TPlace SelStart;
  TPlace SelEnd;
  bool Overwrite;
  void (*Act)(TTarnEditText&);
  const char* After;
  std::size_t Entries;  // journal entries the action pushes
  TPlace CaretAfterUndo;
};

class TUndoActionTest : public TEditorTest, public ::testing::WithParamInterface<TActionCase> {};

TEST_P(TUndoActionTest, OneUndoRestoresTheTextBeforeTheAction) {
  const TActionCase& c = GetParam();
  SetText(Editor, c.Before);
  Select(Editor, c.SelStart, c.SelEnd);
  Editor.Overwrite = c.Overwrite;
  c.Act(Editor);
  EXPECT_EQ(GetText(Editor), c.After);
  EXPECT_EQ(Editor.Journal.Size(), c.Entries);
  if (c.Entries > 0) {
    EXPECT_FALSE(Editor.Journal[0].Chained);
  }
  for (std::size_t i = 1; i < c.Entries; ++i)
    EXPECT_TRUE(Editor.Journal[i].Chained) << "entry " << i;
  Editor.Undo();
  EXPECT_EQ(GetText(Editor), c.Before);
  EXPECT_EQ(At(Editor.Caret), c.CaretAfterUndo);
  EXPECT_FALSE(Editor.CanUndo());
  if (c.Entries > 0) {  // with nothing journaled, Undo leaves Modified and the selection as they are
    EXPECT_FALSE(Editor.Modified);
    EXPECT_EQ(At(Editor.SelStart), c.CaretAfterUndo);
    EXPECT_EQ(At(Editor.SelEnd), c.CaretAfterUndo);
  }
  EXPECT_EQ(Editor.Overwrite, c.Overwrite);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, TUndoActionTest,
    ::testing::Values(
        TActionCase{"TypeOverTwoLines", "ab\ncd\nef", {0, 0}, {2, 0}, false, [](TTarnEditText& e) { e.TypeChar('x'); }, "xef", 2, {0, 0}},
        TActionCase{"TypeInOverwrite", "abc", {0, 1}, {0, 1}, true, [](TTarnEditText& e) { e.TypeChar('x'); }, "axc", 2, {0, 1}},
        TActionCase{"EnterInOverwritePushesNothing", "abc\nd", {0, 1}, {0, 1}, true, [](TTarnEditText& e) { e.TypeChar('\r'); }, "abc\nd", 0, {1, 0}},
        TActionCase{"PasteThreeLines", "ab", {0, 1}, {0, 1}, false, [](TTarnEditText& e) { e.Paste("1\r\n2\r\n3"); }, "a1\n2\n3b", 1, {0, 1}},
        TActionCase{"PasteOverSelection", "abcd", {0, 1}, {0, 3}, false, [](TTarnEditText& e) { e.Paste("X\nY"); }, "aX\nYd", 2, {0, 1}},
        TActionCase{"CutTwoLines", "ab\ncd", {0, 1}, {1, 1}, false, [](TTarnEditText& e) { e.Cut(); }, "ad", 1, {0, 1}},
        TActionCase{"BackspaceJoinsLines", "ab\ncd", {1, 0}, {1, 0}, false, [](TTarnEditText& e) { e.Backspace(); }, "abcd", 1, {0, 2}},
        TActionCase{"DeleteAtTextEndPushesNothing", "ab", {0, 2}, {0, 2}, false, [](TTarnEditText& e) { e.Delete(); }, "ab", 0, {0, 2}},
        TActionCase{"ReplaceOverLinesWithLines", "one two\nthree", {0, 4}, {1, 3}, false, [](TTarnEditText& e) { e.InsertText("2\n3\n", true); }, "one 2\n3\nee", 2, {0, 4}},
        TActionCase{"ReplaceWithEmptyText", "abcd", {0, 1}, {0, 3}, false, [](TTarnEditText& e) { e.ReplaceSelection(""); }, "ad", 2, {0, 1}},
        TActionCase{"PasteEmptyText", "ab", {0, 1}, {0, 1}, false, [](TTarnEditText& e) { e.Paste("\r"); }, "ab", 1, {0, 1}}),
    CaseName);

// --- Large deletions: a chain of pieces undone as one insertion ---

// Lines of `width` characters (the line number, then 'a' + line % 26), each
// followed by a line end.
std::string NumberedLines(int count, std::size_t width) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    std::string line = std::to_string(i);
    line.resize(width, static_cast<char>('a' + i % 26));
    text += line + "\n";
  }
  return text;
}

TPlace TextEnd(const std::string& text) {
  std::size_t lf = text.rfind('\n');
  std::int64_t lines = static_cast<std::int64_t>(std::count(text.begin(), text.end(), '\n'));
  return {lines, static_cast<std::int64_t>(lf == std::string::npos ? text.size() : text.size() - lf - 1)};
}

std::size_t Offset(const std::string& text, TPlace place) {
  std::size_t offset = 0;
  for (std::int64_t line = 0; line < place.Line; ++line)
    offset = text.find('\n', offset) + 1;
  return offset + static_cast<std::size_t>(place.Col);
}

struct TPiece {
  std::string Text;
  bool Chained;
  TPlace Where;
  bool operator==(const TPiece&) const = default;
};

std::vector<TPiece> Pieces(const TTarnEditText& editor) {
  std::vector<TPiece> pieces;
  for (std::size_t i = 0; i < editor.Journal.Size(); ++i) {
    const auto* entry = dynamic_cast<const JEDelete*>(&editor.Journal[i]);
    pieces.push_back({entry ? entry->Text : "<insert>", editor.Journal[i].Chained,
                      At(editor.Journal[i].Where)});
  }
  return pieces;
}

struct TBigDeletionCase {
  const char* Name;
  std::string Text;
  TPlace From;  // selection anchor
  TPlace To;    // caret end; before From for a reversed selection
  void (*Act)(TTarnEditText&);
  const char* Inserted;  // what Act leaves at the place of the deletion
  std::size_t Pieces;    // deletion records Act pushes
};

void DeleteIt(TTarnEditText& e) { e.Delete(); }
void TypeX(TTarnEditText& e) { e.TypeChar('x'); }
void PasteTwoLines(TTarnEditText& e) { e.Paste("P\r\nQ"); }

// Lines of 40 characters and their line ends are 41 apiece, and 799 of them
// make exactly one piece (32759 = 799 * 41): a deletion from a line start has
// a line end as the last character of its first piece, one from the end of
// a line has a line end as the first character of its second piece. 1,000
// lines of 69 and their line ends are 70,000 characters: two full pieces and
// a rest.
const std::string Lines40 = NumberedLines(3000, 40);
const std::string Lines69 = NumberedLines(1000, 69) + "tail";
const std::string OneChunk(DeleteChunk, 'z');
const std::string Lines40NoLastEnd = Lines40.substr(0, Lines40.size() - 1);
const std::string LongLines = NumberedLines(3, 100000);
const std::string OnlyLineEnds(70000, '\n');

class TBigDeletionUndoTest : public TEditorTest,
                             public ::testing::WithParamInterface<TBigDeletionCase> {};

TEST_P(TBigDeletionUndoTest, UndoRestoresTheTextAndPositionsAndDeletingAgainJournalsTheSame) {
  const TBigDeletionCase& c = GetParam();
  TPlace start = c.To.Line < c.From.Line || (c.To.Line == c.From.Line && c.To.Col < c.From.Col)
                     ? c.To
                     : c.From;
  // An older action the undo must leave alone: a deleted character after the
  // text, journaled like the pieces but in a record of its own.
  SetText(Editor, c.Text + "!");
  Select(Editor, TextEnd(c.Text), TextEnd(c.Text));
  Editor.Delete();
  std::string before = GetText(Editor);
  ASSERT_EQ(before, c.Text);
  Select(Editor, c.From, c.To);
  c.Act(Editor);
  std::string after = GetText(Editor);
  std::vector<TPiece> journaled = Pieces(Editor);
  ASSERT_EQ(journaled.size(), 1 + c.Pieces + (c.Act == DeleteIt ? 0 : 1));
  std::string deleted;
  for (std::size_t i = 1; i <= c.Pieces; ++i) {
    EXPECT_EQ(journaled[i].Text.size() == DeleteChunk, i < c.Pieces) << "all pieces but the last are full";
    EXPECT_EQ(journaled[i].Chained, i > 1) << "piece " << i;
    EXPECT_EQ(journaled[i].Where, start) << "piece " << i;
    deleted += journaled[i].Text;
  }
  std::size_t offset = Offset(before, start);
  EXPECT_EQ(after, before.substr(0, offset) + c.Inserted + before.substr(offset + deleted.size()));

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "first undo" : "after deleting again");
    Editor.Undo();
    EXPECT_EQ(GetText(Editor), before);
    EXPECT_EQ(At(Editor.Caret), start);
    EXPECT_EQ(At(Editor.SelStart), start);
    EXPECT_EQ(At(Editor.SelEnd), start);
    ASSERT_EQ(Editor.Journal.Size(), 1u);  // the older action is still there
    EXPECT_TRUE(Editor.Modified);
    // The same action on the restored text leaves the same text and journal.
    Select(Editor, c.From, c.To);
    c.Act(Editor);
    EXPECT_EQ(GetText(Editor), after);
    EXPECT_EQ(Pieces(Editor), journaled);
  }
  Editor.Undo();
  Editor.Undo();
  EXPECT_EQ(GetText(Editor), c.Text + "!");
  EXPECT_FALSE(Editor.CanUndo());
  EXPECT_FALSE(Editor.Modified);
}

INSTANTIATE_TEST_SUITE_P(
    Deletions, TBigDeletionUndoTest,
    ::testing::Values(
        TBigDeletionCase{"WholeTextEndingInALineEnd", Lines40, {0, 0}, TextEnd(Lines40), DeleteIt, "", 4},
        TBigDeletionCase{"WholeTextWithoutALastLineEnd", Lines40NoLastEnd, {0, 0}, TextEnd(Lines40NoLastEnd), DeleteIt, "", 4},
        TBigDeletionCase{"LineEndFirstInTheSecondPiece", Lines40, {0, 40}, {2999, 40}, DeleteIt, "", 4},
        TBigDeletionCase{"MiddleOfTheText", Lines40, {5, 7}, {2500, 13}, DeleteIt, "", 4},
        TBigDeletionCase{"ReversedSelection", Lines40, {2500, 13}, {5, 7}, DeleteIt, "", 4},
        TBigDeletionCase{"ExactlyOnePieceEndsWithAnEmptyOne", OneChunk, {0, 0}, TextEnd(OneChunk), DeleteIt, "", 2},
        TBigDeletionCase{"ExactlyTwoPiecesEndsWithAnEmptyOne", Lines40, {1, 0}, {1599, 0}, DeleteIt, "", 3},
        TBigDeletionCase{"TwoFullPiecesAndARest", Lines69, {0, 0}, {1000, 0}, DeleteIt, "", 3},
        TBigDeletionCase{"LinesLongerThanAPiece", LongLines, {0, 50000}, {2, 70000}, DeleteIt, "", 7},
        TBigDeletionCase{"OnlyLineEnds", OnlyLineEnds, {0, 0}, {70000, 0}, DeleteIt, "", 3},
        TBigDeletionCase{"TypedOverTheWholeText", Lines40, {0, 0}, TextEnd(Lines40), TypeX, "x", 4},
        TBigDeletionCase{"PastedOverTheMiddle", Lines40, {5, 7}, {2500, 13}, PasteTwoLines, "P\nQ", 4}),
    CaseName);

TEST_F(TEditorTest, TwoLargeDeletionsAtTheSamePlaceAreUndoneOneAtATime) {
  SetText(Editor, Lines40 + "tail");
  Select(Editor, {0, 0}, {1500, 0});
  Editor.Delete();
  std::string afterFirst = GetText(Editor);
  ASSERT_EQ(afterFirst, Lines40.substr(1500 * 41) + "tail");
  Select(Editor, {0, 0}, {1500, 0});
  Editor.Delete();
  ASSERT_EQ(GetText(Editor), "tail");
  Editor.Undo();
  EXPECT_EQ(GetText(Editor), afterFirst);
  EXPECT_TRUE(Editor.CanUndo());
  EXPECT_TRUE(Editor.Modified);
  Editor.Undo();
  EXPECT_EQ(GetText(Editor), Lines40 + "tail");
  EXPECT_FALSE(Editor.CanUndo());
}

// Undoes the newest action one journal entry at a time: what undoing a
// chain means, and the reference for a chain whose place went stale.
void UndoEntryByEntry(TTarnEditText& editor) {
  bool chained;
  do {
    std::unique_ptr<JournalEntry> entry = editor.Journal.Pop();
    entry->Undo(editor);
    chained = entry->Chained;
  } while (chained && !editor.Journal.Empty());
  if (editor.Journal.Empty())
    editor.Modified = false;
}

// Text changed behind the journal's back (no editing operation does this)
// leaves the place of a deletion outside the text: each piece is then
// clamped to the text as the pieces before it left it.
TEST(TStaleDeletionUndoTest, ChainOutsideTheTextIsUndoneAsPieceByPiece) {
  const struct {
    const char* Name;
    TPlace From;
    TPlace To;
    const char* TextAtUndo;  // put in unjournaled before the undo
  } cases[] = {{"LineBeyondTheText", {40, 3}, {2000, 0}, "ab\ncd"},
               {"ColumnBeyondTheLine", {0, 30}, {2000, 0}, "abc"},
               {"StillInsideTheText", {0, 2}, {2000, 0}, "abc"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTarnEditText source;
    SetText(source, Lines40);
    Select(source, c.From, c.To);
    source.Delete();
    TRecordingView views[2];
    TTarnEditText joined(&views[0]);
    TTarnEditText byEntry(&views[1]);
    for (TTarnEditText* e : {&joined, &byEntry}) {
      SetText(*e, c.TextAtUndo);
      e->Modified = true;
      for (std::size_t i = 0; i < source.Journal.Size(); ++i) {
        const auto& piece = dynamic_cast<const JEDelete&>(source.Journal[i]);
        TBufferPos where(e->Lines, piece.Where.Line(), piece.Where.Col());
        e->Journal.Push(std::make_unique<JEDelete>(where, piece.Text, piece.Chained));
      }
    }
    ASSERT_GT(joined.Journal.Size(), 2u);
    joined.Undo();
    UndoEntryByEntry(byEntry);
    EXPECT_EQ(GetText(joined), GetText(byEntry));
    EXPECT_EQ(At(joined.Caret), At(byEntry.Caret));
    EXPECT_EQ(At(joined.SelStart), At(byEntry.SelStart));
    EXPECT_EQ(At(joined.SelEnd), At(byEntry.SelEnd));
    EXPECT_EQ(joined.Modified, byEntry.Modified);
    EXPECT_FALSE(joined.CanUndo());
  }
}

}  // namespace
