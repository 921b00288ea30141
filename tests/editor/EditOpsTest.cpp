// The four editing operations and Paste on one and several lines, overwrite
// mode, and selections left stale or reversed.
#include "EditTestSupport.h"

namespace {

enum class TOp { DeleteChar, DeleteSelection, InsertChar, InsertText, Paste };

struct TEditCase {
  const char* Name;
  const char* Before;
  TPlace SelStart;
  TPlace SelEnd;
  TPlace Caret;
  bool Overwrite;
  TOp Op;
  const char* Argument;  // the character or text inserted
  const char* After;
  TPlace CaretAfter;
  bool ModifiedAfter;
};

class TEditOpTest : public TEditorTest, public ::testing::WithParamInterface<TEditCase> {};

TEST_P(TEditOpTest, ChangesTextCaretAndModified) {
  const TEditCase& c = GetParam();
  SetText(Editor, c.Before);
  Editor.SelStart.Set(c.SelStart.Line, c.SelStart.Col);
  Editor.SelEnd.Set(c.SelEnd.Line, c.SelEnd.Col);
  Editor.Caret.Set(c.Caret.Line, c.Caret.Col);
  Editor.Overwrite = c.Overwrite;
  switch (c.Op) {
  case TOp::DeleteChar: Editor.DeleteChar(); break;
  case TOp::DeleteSelection: Editor.DeleteSelection(true); break;
  case TOp::InsertChar: Editor.InsertChar(c.Argument[0], true); break;
  case TOp::InsertText: Editor.InsertText(c.Argument, true); break;
  case TOp::Paste: Editor.Paste(c.Argument); break;
  }
  EXPECT_EQ(GetText(Editor), c.After);
  EXPECT_EQ(At(Editor.Caret), c.CaretAfter);
  EXPECT_EQ(Editor.Modified, c.ModifiedAfter);
  EXPECT_EQ(Editor.Overwrite, c.Overwrite);
  EXPECT_TRUE(Editor.Caret.Valid() && Editor.SelStart.Valid() && Editor.SelEnd.Valid());
}

INSTANTIATE_TEST_SUITE_P(
    Edits, TEditOpTest,
    ::testing::Values(
        TEditCase{"DeleteCharAtTextEndChangesNothing", "ab\ncd", {}, {}, {1, 2}, false, TOp::DeleteChar, "", "ab\ncd", {1, 2}, false},
        TEditCase{"DeleteCharJoinsLines", "ab\ncd", {}, {}, {0, 2}, false, TOp::DeleteChar, "", "abcd", {0, 2}, true},
        TEditCase{"DeleteCharInLine", "abc", {}, {}, {0, 1}, false, TOp::DeleteChar, "", "ac", {0, 1}, true},
        TEditCase{"DeleteEmptySelectionDeletesAtCaret", "abc", {0, 0}, {0, 0}, {0, 2}, false, TOp::DeleteSelection, "", "ab", {0, 2}, true},
        TEditCase{"DeleteSelectionInOneLine", "abcdef", {0, 1}, {0, 4}, {0, 4}, false, TOp::DeleteSelection, "", "aef", {0, 1}, true},
        TEditCase{"DeleteSelectionOverThreeLines", "abc\ndef\nghi", {0, 1}, {2, 1}, {2, 1}, false, TOp::DeleteSelection, "", "ahi", {0, 1}, true},
        TEditCase{"DeleteSelectionOfWholeLines", "ab\ncd\nef", {0, 0}, {2, 0}, {2, 0}, false, TOp::DeleteSelection, "", "ef", {0, 0}, true},
        TEditCase{"DeleteSelectionOfEverything", "ab\ncd", {0, 0}, {1, 2}, {1, 2}, false, TOp::DeleteSelection, "", "", {0, 0}, true},
        TEditCase{"DeleteReversedSelection", "abc\ndef\nghi", {2, 1}, {0, 1}, {0, 1}, false, TOp::DeleteSelection, "", "ahi", {0, 1}, true},
        TEditCase{"InsertCharInLine", "ac", {}, {}, {0, 1}, false, TOp::InsertChar, "b", "abc", {0, 2}, true},
        TEditCase{"InsertCharReplacesSelection", "abc\ndef", {0, 1}, {1, 2}, {1, 2}, false, TOp::InsertChar, "x", "axf", {0, 2}, true},
        TEditCase{"EnterSplitsLine", "abc", {}, {}, {0, 1}, false, TOp::InsertChar, "\n", "a\nbc", {1, 0}, true},
        TEditCase{"EnterAtLineEnd", "abc", {}, {}, {0, 3}, false, TOp::InsertChar, "\n", "abc\n", {1, 0}, true},
        TEditCase{"OverwriteReplacesCharacter", "abc", {}, {}, {0, 1}, true, TOp::InsertChar, "x", "axc", {0, 2}, true},
        TEditCase{"OverwriteAtLineEndAppends", "abc\nd", {}, {}, {0, 3}, true, TOp::InsertChar, "x", "abcx\nd", {0, 4}, true},
        TEditCase{"OverwriteEnterOnlyMovesCaret", "abc\ndef", {}, {}, {0, 1}, true, TOp::InsertChar, "\n", "abc\ndef", {1, 0}, true},
        TEditCase{"OverwriteEnterOnLastLine", "abc", {}, {}, {0, 1}, true, TOp::InsertChar, "\n", "abc", {0, 3}, true},
        TEditCase{"InsertTextWithinLine", "ab", {}, {}, {0, 1}, false, TOp::InsertText, "xy", "axyb", {0, 3}, true},
        TEditCase{"InsertTextOfThreeLines", "ab", {}, {}, {0, 1}, false, TOp::InsertText, "1\n2\n3", "a1\n2\n3b", {2, 1}, true},
        TEditCase{"InsertTextEndingInLineBreak", "ab", {}, {}, {0, 1}, false, TOp::InsertText, "1\n2\n", "a1\n2\nb", {2, 0}, true},
        TEditCase{"InsertTextNeverOverwrites", "abc", {}, {}, {0, 1}, true, TOp::InsertText, "xy", "axybc", {0, 3}, true},
        TEditCase{"InsertTextReplacesSelection", "abc\ndef", {0, 2}, {1, 1}, {1, 1}, false, TOp::InsertText, "X\nY", "abX\nYef", {1, 1}, true},
        TEditCase{"InsertTextDropsCR", "ab", {}, {}, {0, 1}, false, TOp::InsertText, "1\r\n2", "a1\n2b", {1, 1}, true},
        TEditCase{"PasteOfCRLFTextInsertsLineBreaksOnly", "xy", {}, {}, {0, 1}, false, TOp::Paste, "1\r\n2\r\n", "x1\n2\ny", {2, 0}, true},
        TEditCase{"InsertEmptyTextChangesNothing", "ab", {}, {}, {0, 1}, false, TOp::InsertText, "", "ab", {0, 1}, false},
        TEditCase{"InsertCharCRIsIgnored", "ab", {}, {}, {0, 1}, false, TOp::InsertChar, "\r", "ab", {0, 1}, false}),
    CaseName);

TEST_F(TEditorTest, NulBytesAreOrdinaryCharacters) {
  SetText(Editor, std::string("a\0b", 3));
  Editor.Caret.Set(0, 1);
  Editor.InsertText(std::string_view("\0\n\0", 3), true);
  ASSERT_EQ(Editor.Lines.Count(), 2);
  EXPECT_EQ(Editor.Lines[0], std::string("a\0", 2));
  EXPECT_EQ(Editor.Lines[1], std::string("\0\0b", 3));
  Editor.Undo();
  EXPECT_EQ(GetText(Editor), std::string("a\0b", 3));
}

struct TStaleCase {
  const char* Name;
  TPlace SelStart;
  TPlace SelEnd;
  const char* Copied;
  const char* AfterTyping;
};

class TStaleSelectionTest : public TEditorTest, public ::testing::WithParamInterface<TStaleCase> {};

// Typing and deleting move only the caret, so a selection end can be left
// beyond its shortened line or beyond the last line. Every operation brings
// it back into the text (and in order) first; the result is undoable.
TEST_P(TStaleSelectionTest, IsBroughtBackIntoTheTextBeforeUse) {
  const TStaleCase& c = GetParam();
  SetText(Editor, "abc\nxyz");
  Editor.SelStart.Set(c.SelStart.Line, c.SelStart.Col);
  Editor.SelEnd.Set(c.SelEnd.Line, c.SelEnd.Col);
  Editor.Caret.Set(0, 0);
  std::string copied;
  ASSERT_TRUE(Editor.SelectionText(copied));
  EXPECT_EQ(copied, c.Copied);
  EXPECT_TRUE(Editor.SelStart.Valid() && Editor.SelEnd.Valid());
  Editor.SelStart.Set(c.SelStart.Line, c.SelStart.Col);
  Editor.SelEnd.Set(c.SelEnd.Line, c.SelEnd.Col);
  Editor.InsertChar('Q', true);
  EXPECT_EQ(GetText(Editor), c.AfterTyping);
  EXPECT_TRUE(Editor.Caret.Valid());
  Editor.Undo();
  EXPECT_EQ(GetText(Editor), "abc\nxyz");
  EXPECT_FALSE(Editor.Modified);
}

INSTANTIATE_TEST_SUITE_P(
    Stale, TStaleSelectionTest,
    ::testing::Values(TStaleCase{"BeyondLineEnd", {0, 1}, {0, 6}, "bc", "aQ\nxyz"},
                      TStaleCase{"BeyondLastLine", {0, 1}, {9, 9}, "bc\r\nxyz", "aQ"},
                      TStaleCase{"ReversedAndBeyond", {5, 0}, {1, 1}, "yz", "abc\nxQ"},
                      TStaleCase{"NegativeLine", {-3, 2}, {0, 2}, "ab", "Qc\nxyz"}),
    CaseName);

}  // namespace
