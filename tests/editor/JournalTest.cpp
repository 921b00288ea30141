// The undo journal: what each user action records, and that one Undo
// reverses exactly one user action.
#include "EditTestSupport.h"

namespace {

class TJournalTest : public TEditorTest {};

TEST_F(TJournalTest, TypedCharactersAreUndoneOneAtATime) {
  SetText(Editor, "");
  Editor.TypeChar('a');
  Editor.TypeChar('b');
  Editor.TypeChar('c');
  ASSERT_EQ(Editor.Journal.Size(), 3u);
  const char* expected[] = {"ab", "a", ""};
  for (const char* text : expected) {
    EXPECT_TRUE(Editor.Modified);
    Editor.Undo();
    EXPECT_EQ(GetText(Editor), text);
  }
  EXPECT_FALSE(Editor.Modified);
  EXPECT_FALSE(Editor.CanUndo());
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

void PrintTo(const TActionCase& c, std::ostream* out) { *out << c.Name; }

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
  if (c.Entries > 0) {  // with nothing journaled, Undo leaves Modified as it is
    EXPECT_FALSE(Editor.Modified);
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
        TActionCase{"ReplaceWithEmptyText", "abcd", {0, 1}, {0, 3}, false, [](TTarnEditText& e) { e.ReplaceSelection(""); }, "ad", 2, {0, 1}},
        TActionCase{"PasteEmptyText", "ab", {0, 1}, {0, 1}, false, [](TTarnEditText& e) { e.Paste("\r"); }, "ab", 1, {0, 1}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TJournalTest, LargeDeletionIsRecordedInChunksAndRestoredInOrder) {
  // 70,000 characters over 1,000 lines of 69 characters and their line ends.
  std::string text;
  for (int i = 0; i < 1000; ++i) {
    std::string line = std::to_string(i);
    line.resize(69, static_cast<char>('a' + i % 26));
    text += line + "\n";
  }
  text += "tail";
  SetText(Editor, text);
  Select(Editor, {0, 0}, {1000, 0});
  Editor.Delete();
  EXPECT_EQ(GetText(Editor), "tail");
  ASSERT_EQ(Editor.Journal.Size(), 3u);
  const std::size_t sizes[] = {32759, 32759, 4482};
  std::string recorded;
  for (std::size_t i = 0; i < 3; ++i) {
    const auto& entry = dynamic_cast<const JEDelete&>(Editor.Journal[i]);
    EXPECT_EQ(entry.Text.size(), sizes[i]);
    EXPECT_EQ(entry.Chained, i > 0);
    EXPECT_EQ(At(entry.Where), (TPlace{0, 0}));
    recorded += entry.Text;
  }
  EXPECT_EQ(recorded, text.substr(0, 70000));
  Editor.Undo();
  EXPECT_EQ(GetText(Editor), text);
  EXPECT_FALSE(Editor.CanUndo());
  EXPECT_FALSE(Editor.Modified);
}

TEST_F(TJournalTest, DeletionOfExactlyOneChunkEndsWithAnEmptyChainedPiece) {
  SetText(Editor, std::string(DeleteChunk, 'z') + "!");
  Select(Editor, {0, 0}, {0, static_cast<std::int64_t>(DeleteChunk)});
  Editor.Delete();
  ASSERT_EQ(Editor.Journal.Size(), 2u);
  EXPECT_TRUE(dynamic_cast<const JEDelete&>(Editor.Journal[1]).Text.empty());
  Editor.Undo();
  EXPECT_EQ(GetText(Editor), std::string(DeleteChunk, 'z') + "!");
}

TEST_F(TJournalTest, ModifiedStaysSetWhileOlderChangesRemain) {
  SetText(Editor, "abc");
  Editor.Caret.Set(0, 3);
  Editor.TypeChar('d');
  Editor.Caret.Set(0, 0);
  Editor.Delete();
  Editor.Undo();
  EXPECT_EQ(GetText(Editor), "abcd");
  EXPECT_TRUE(Editor.Modified);
  Editor.Undo();
  EXPECT_EQ(GetText(Editor), "abc");
  EXPECT_FALSE(Editor.Modified);
  Editor.Undo();  // empty journal: nothing happens
  EXPECT_EQ(GetText(Editor), "abc");
}

TEST_F(TJournalTest, UndoOfAReplacementThatSpansLinesRestoresBoth) {
  SetText(Editor, "one two\nthree");
  Select(Editor, {0, 4}, {1, 3});
  Editor.InsertText("2\n3\n", true);
  EXPECT_EQ(GetText(Editor), "one 2\n3\nee");
  Editor.TypeChar('x');
  Editor.Undo();
  Editor.Undo();
  EXPECT_EQ(GetText(Editor), "one two\nthree");
  EXPECT_EQ(At(Editor.Caret), (TPlace{0, 4}));
  EXPECT_EQ(At(Editor.SelStart), (TPlace{0, 4}));
  EXPECT_EQ(At(Editor.SelEnd), (TPlace{0, 4}));
}

}  // namespace
