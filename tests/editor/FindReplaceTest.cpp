// Find in both directions, replace, Replace All, and the clipboard text.
#include "EditTestSupport.h"

namespace {

class TFindTest : public TEditorTest {
protected:
  void Search(std::uint32_t flags, const char* what, const char* with = "") {
    Editor.FindData.Flags = flags;
    Editor.FindData.FindWhat = what;
    Editor.FindData.ReplaceWith = with;
  }
};

TEST_F(TFindTest, DownwardFindSelectsEachMatchThenReportsTheEnd) {
  SetText(Editor, "abab\nx");
  Search(FR_DOWN, "ab");
  const TPlace expected[][3] = {{{0, 0}, {0, 2}, {0, 2}}, {{0, 2}, {0, 4}, {0, 4}}, {{0, 4}, {0, 4}, {0, 4}}};
  for (const auto& [selStart, selEnd, caret] : expected) {
    Editor.FindNext();
    EXPECT_EQ(At(Editor.SelStart), selStart);
    EXPECT_EQ(At(Editor.SelEnd), selEnd);
    EXPECT_EQ(At(Editor.Caret), caret);
  }
  ASSERT_EQ(View.Messages.size(), 1u);
  EXPECT_EQ(View.Messages[0].Text, "Cannot find \"ab\"");
  EXPECT_EQ(View.Messages[0].Caption, "End of File");
  EXPECT_EQ(View.Messages[0].Icon, TMessageIcon::Information);
}

TEST_F(TFindTest, FindAtTheEndOfTheTextDoesNothing) {
  SetText(Editor, "abab");
  Editor.Caret.Set(0, 4);
  EXPECT_FALSE(Editor.Find(true, true, false, "ab"));
  Editor.Caret.Set(0, 0);
  EXPECT_FALSE(Editor.Find(false, true, false, "ab"));
  EXPECT_TRUE(View.Messages.empty());
}

TEST_F(TFindTest, UpwardFindSelectsEachEarlierMatchWithTheCaretAtItsStart) {
  SetText(Editor, "a.a\naa");
  Editor.Caret.Set(1, 2);
  Search(0, "a");
  std::vector<TPlace> found;
  for (int i = 0; i < 5; ++i) {
    Editor.FindNext();
    found.push_back(At(Editor.Caret));
  }
  std::vector<TPlace> expected = {{1, 1}, {1, 0}, {0, 2}, {0, 0}, {0, 0}};
  EXPECT_EQ(found, expected);
  EXPECT_TRUE(View.Messages.empty());  // stops at (0, 0) without a message
  Editor.Caret.Set(1, 0);
  EXPECT_FALSE(Editor.Find(false, true, true, "aa"));
  ASSERT_EQ(View.Messages.size(), 1u);
  EXPECT_EQ(View.Messages[0].Caption, "Start of File");
}

TEST_F(TFindTest, FindNextWinsOverReplaceFlags) {
  SetText(Editor, "ab ab");
  Search(FR_DOWN | FR_REPLACE, "ab", "X");
  Editor.FindNext();
  Editor.FindNext();  // FR_FINDNEXT stays set: another find, not a replace
  EXPECT_EQ(GetText(Editor), "ab ab");
  EXPECT_EQ(At(Editor.SelStart), (TPlace{0, 3}));
}

TEST_F(TFindTest, ReplaceNeedsASelectionAndLeavesTheCaretAfterTheNewText) {
  SetText(Editor, "mov a");
  Search(FR_REPLACE, "mov", "LD");
  Editor.ProcessFindData();
  EXPECT_EQ(GetText(Editor), "mov a");
  EXPECT_FALSE(Editor.CanUndo());
  Select(Editor, {0, 0}, {0, 3});
  Editor.ProcessFindData();
  EXPECT_EQ(GetText(Editor), "LD a");
  EXPECT_EQ(At(Editor.Caret), (TPlace{0, 2}));
}

struct TReplaceAllCase {
  const char* Name;
  const char* Before;
  TPlace Caret;
  std::uint32_t Flags;
  const char* Find;
  const char* Replace;
  const char* After;
};

class TReplaceAllTest : public TFindTest, public ::testing::WithParamInterface<TReplaceAllCase> {};

TEST_P(TReplaceAllTest, ReplacesEveryMatchInTheSearchDirectionAndEnds) {
  const TReplaceAllCase& c = GetParam();
  SetText(Editor, c.Before);
  Editor.Caret.Set(c.Caret.Line, c.Caret.Col);
  Search(c.Flags | FR_REPLACEALL, c.Find, c.Replace);
  Editor.ProcessFindData();
  EXPECT_EQ(GetText(Editor), c.After);
  // Each replacement is one Undo step; undoing them all restores the text.
  while (Editor.CanUndo())
    Editor.Undo();
  EXPECT_EQ(GetText(Editor), c.Before);
  EXPECT_FALSE(Editor.Modified);
}

INSTANTIATE_TEST_SUITE_P(
    ReplaceAll, TReplaceAllTest,
    ::testing::Values(
        TReplaceAllCase{"Down", "ab x ab\nab", {0, 0}, FR_DOWN | FR_MATCHCASE, "ab", "Q", "Q x Q\nQ"},
        TReplaceAllCase{"DownFromCaret", "ab x ab", {0, 1}, FR_DOWN, "ab", "Q", "ab x Q"},
        TReplaceAllCase{"DownReplacementContainsText", "a a\na", {0, 0}, FR_DOWN, "a", "aa", "aa aa\naa"},
        TReplaceAllCase{"DownIgnoringCase", "Mov mOV", {0, 0}, FR_DOWN, "mov", "LD", "LD LD"},
        TReplaceAllCase{"DownWholeWord", "MOVX MOV\nMOV", {0, 0}, FR_DOWN | FR_WHOLEWORD, "MOV", "LD", "MOVX LD\nLD"},
        TReplaceAllCase{"Up", "ab x ab\nab", {1, 2}, FR_MATCHCASE, "ab", "Q", "Q x Q\nQ"},
        TReplaceAllCase{"UpFromCaret", "ab x ab", {0, 6}, 0, "ab", "Q", "Q x ab"},
        TReplaceAllCase{"UpReplacementContainsText", "a a\na", {1, 1}, 0, "a", "aa", "aa aa\naa"},
        TReplaceAllCase{"UpReplacementWrapsText", "xay", {0, 3}, 0, "a", "bab", "xbaby"},
        TReplaceAllCase{"UpWholeWord", "MOV MOVX\nMOV", {1, 3}, FR_WHOLEWORD, "MOV", "MOV MOV", "MOV MOV MOVX\nMOV MOV"},
        TReplaceAllCase{"UpToEmpty", "aXbXc", {0, 5}, 0, "x", "", "abc"},
        TReplaceAllCase{"EmptySearchText", "abc", {0, 0}, FR_DOWN, "", "z", "abc"}),
    CaseName);

struct TCopyCase {
  const char* Name;
  const char* Text;
  TPlace From;
  TPlace To;
  const char* Clipboard;
};

class TCopyTest : public TEditorTest, public ::testing::WithParamInterface<TCopyCase> {};

TEST_P(TCopyTest, BuildsClipboardTextWithCRLF) {
  const TCopyCase& c = GetParam();
  SetText(Editor, c.Text);
  Select(Editor, c.From, c.To);
  Editor.Copy();
  EXPECT_EQ(View.Clipboard, c.Clipboard);
  EXPECT_EQ(GetText(Editor), c.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Copy, TCopyTest,
    ::testing::Values(TCopyCase{"OneLine", "abcdef", {0, 1}, {0, 4}, "bcd"},
                      TCopyCase{"TwoLines", "abc\ndef", {0, 1}, {1, 2}, "bc\r\nde"},
                      TCopyCase{"EndsAtColumnZero", "abc\ndef", {0, 0}, {1, 0}, "abc\r\n"},
                      TCopyCase{"WholeLinesBetween", "a\nbb\n\ncc\nd", {0, 1}, {4, 1}, "\r\nbb\r\n\r\ncc\r\nd"},
                      TCopyCase{"Reversed", "abc\ndef", {1, 2}, {0, 1}, "bc\r\nde"},
                      TCopyCase{"Empty", "abc", {0, 1}, {0, 1}, ""}),
    CaseName);

TEST_F(TEditorTest, CutThatTheClipboardRefusesDeletesNothing) {
  SetText(Editor, "abc");
  Select(Editor, {0, 0}, {0, 2});
  View.RefuseClipboard = true;
  Editor.Cut();
  EXPECT_EQ(GetText(Editor), "abc");
  EXPECT_FALSE(Editor.CanUndo());
  View.RefuseClipboard = false;
  Editor.Cut();
  EXPECT_EQ(GetText(Editor), "c");
  EXPECT_EQ(View.Clipboard, "ab");
}

}  // namespace
