// Caret placement through the view's metrics, and the key and mouse helpers.
#include "EditTestSupport.h"

namespace {

TEST_F(TEditorTest, GoToSelectsTheCharacterShownAtTheDisplayColumn) {
  constexpr std::int64_t Huge = std::numeric_limits<std::int64_t>::max();
  const struct {
    const char* Name;
    std::int64_t Line;
    std::int64_t Column;
    TPlace SelStart;
    TPlace SelEnd;
  } cases[] = {{"AfterTab", 3, 9, {2, 1}, {2, 2}},
               {"InsideTabSpan", 3, 5, {2, 1}, {2, 2}},
               {"OnTab", 3, 1, {2, 0}, {2, 1}},
               {"SecondLetter", 3, 10, {2, 2}, {2, 3}},
               {"BeyondLineEndSelectsLineEnd", 2, 40, {1, 6}, {2, 0}},
               {"PlainColumn", 1, 3, {0, 2}, {0, 3}},
               {"BeyondLastLine", 99, 1, {3, 0}, {3, 1}},
               {"LineZero", 0, 1, {0, 0}, {0, 1}},
               {"ColumnZero", 2, 0, {1, 0}, {1, 1}},
               {"HugeNumbers", Huge, Huge, {3, 1}, {3, 1}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SetText(Editor, "first\nsecond\n\tABC\nx");
    Editor.Caret.Set(3, 1);
    Editor.GoToLineColumn(c.Line, c.Column);
    EXPECT_EQ(At(Editor.SelStart), c.SelStart);
    EXPECT_EQ(At(Editor.SelEnd), c.SelEnd);
    EXPECT_EQ(At(Editor.Caret), c.SelStart);
  }
}

class TPixelTest : public TEditorTest {
protected:
  // 10 by 20 pixel cells, tabs every 4 cells.
  TFixedPitchView Wide{10, 20, 4};
  void SetUp() override { Editor.SetView(&Wide); }
};

TEST_F(TPixelTest, PointToPosSplitsCharactersAtHalfTheirWidth) {
  SetText(Editor, "\tab\nxyz");
  struct {
    std::int64_t X, Y;
    TPlace Expected;
  } cases[] = {{0, 0, {0, 0}},   {5, 5, {0, 0}},   {6, 5, {0, 1}},   {45, 19, {0, 1}},
               {46, 19, {0, 2}}, {999, 0, {0, 3}}, {-50, 0, {0, 0}}, {15, 20, {1, 1}},
               {16, 20, {1, 2}}, {0, -1, {0, 0}},  {7, 40, {1, 3}},  {0, 900, {1, 3}}};
  for (const auto& c : cases)
    EXPECT_EQ(At(Editor.PointToPos(c.X, c.Y)), c.Expected) << c.X << "," << c.Y;
}

TEST_F(TPixelTest, PosToPointAppliesTheScrollOrigin) {
  SetText(Editor, "\tab\nxyz");
  Wide.ScrollX = 2;
  Wide.ScrollY = 1;
  EXPECT_EQ(Editor.PosToPoint(TBufferPos(Editor.Lines, 0, 2)), (TEditPoint{30, -20}));
  EXPECT_EQ(At(Editor.PointToPos(30, -20)), (TPlace{0, 2}));
}

TEST_F(TPixelTest, MoveCaretLinesKeepsThePixelColumn) {
  SetText(Editor, "abcdef\n\tx\nab");
  Editor.Caret.Set(0, 5);
  Editor.MoveCaretLines(1);  // x = 50 lies in the TAB's span, right of its middle
  EXPECT_EQ(At(Editor.Caret), (TPlace{1, 2}));
  Editor.MoveCaretLines(1);
  EXPECT_EQ(At(Editor.Caret), (TPlace{2, 2}));
  Editor.MoveCaretLines(5);
  EXPECT_EQ(At(Editor.Caret), (TPlace{2, 2}));
  Editor.Caret.Set(1, 1);
  Editor.MoveCaretLines(-7);
  EXPECT_EQ(At(Editor.Caret), (TPlace{0, 0}));
}

TEST_F(TPixelTest, CaretScrollOriginBringsTheCaretCellIntoView) {
  std::string text;
  for (int i = 0; i < 100; ++i)
    text += std::string(200, 'x') + "\n";
  SetText(Editor, text);
  TEditPoint origin;
  Editor.Caret.Set(3, 5);
  EXPECT_FALSE(Editor.CaretScrollOrigin(400, 200, origin));  // 40 by 10 cells
  Editor.Caret.Set(3, 150);
  ASSERT_TRUE(Editor.CaretScrollOrigin(400, 200, origin));
  EXPECT_EQ(origin, (TEditPoint{111, 0}));  // caret at the right edge
  Editor.Caret.Set(50, 0);
  ASSERT_TRUE(Editor.CaretScrollOrigin(400, 200, origin));
  EXPECT_EQ(origin, (TEditPoint{0, 41}));  // caret on the last whole line
  Wide.ScrollY = 41;
  Editor.Caret.Set(51, 0);
  ASSERT_TRUE(Editor.CaretScrollOrigin(400, 200, origin));
  EXPECT_EQ(origin, (TEditPoint{0, 42}));  // one line below: scroll by one
  Editor.Caret.Set(10, 0);
  ASSERT_TRUE(Editor.CaretScrollOrigin(400, 200, origin));
  EXPECT_EQ(origin, (TEditPoint{0, 10}));  // above: caret line at the top
}

TEST_F(TEditorTest, StatusTextShowsDisplayColumnOfTheCaret) {
  SetText(Editor, "x\n\tab");
  Editor.Caret.Set(1, 3);
  Editor.PosToPoint(Editor.Caret);
  EXPECT_EQ(View.Status, "2:11");
}

TEST_F(TEditorTest, ShiftMovementExtendsFromTheAnchor) {
  SetText(Editor, "abcdef");
  Editor.Caret.Set(0, 2);
  Editor.SelStart.Set(0, 2);
  Editor.SelEnd.Set(0, 2);
  auto move = [&](int steps, bool shift) {
    TBufferPos before = Editor.Caret;
    steps > 0 ? Editor.Caret.Advance(steps) : Editor.Caret.Retreat(-steps);
    Editor.TrackSelection(before, shift);
  };
  move(1, true);
  EXPECT_EQ(At(Editor.SelEnd), (TPlace{0, 3}));
  move(-1, true);
  EXPECT_EQ(At(Editor.SelStart), At(Editor.SelEnd));
  move(-1, true);
  EXPECT_EQ(At(Editor.SelStart), (TPlace{0, 1}));
  EXPECT_EQ(At(Editor.SelEnd), (TPlace{0, 2}));
  EXPECT_TRUE(Editor.TrackSelection(Editor.Caret, false));
  EXPECT_FALSE(Editor.TrackSelection(Editor.Caret, false));
}

TEST_F(TEditorTest, DoubleClickSelectsWordOrDelimiter) {
  SetText(Editor, "MOV A,B");
  struct {
    std::int64_t Col;
    TPlace From, To;
  } cases[] = {{1, {0, 0}, {0, 3}}, {5, {0, 5}, {0, 6}}, {7, {0, 7}, {0, 7}}, {6, {0, 6}, {0, 7}}};
  for (const auto& c : cases) {
    Editor.Caret.Set(0, c.Col);
    Editor.SelectWord();
    EXPECT_EQ(At(Editor.SelStart), c.From) << c.Col;
    EXPECT_EQ(At(Editor.SelEnd), c.To) << c.Col;
  }
}

TEST_F(TEditorTest, BackspaceAtTheStartDoesNothingEvenWithASelection) {
  SetText(Editor, "ab\ncd");
  Editor.SelStart.Set(0, 1);
  Editor.SelEnd.Set(1, 1);
  Editor.Caret.Set(0, 0);
  Editor.Backspace();
  EXPECT_EQ(GetText(Editor), "ab\ncd");
  EXPECT_FALSE(Editor.Modified);
  Editor.Caret.Set(1, 1);
  Editor.Backspace();  // with a selection the selection goes
  EXPECT_EQ(GetText(Editor), "ad");
}

TEST_F(TEditorTest, TypingIgnoresControlCodesAndTurnsCRIntoALineBreak) {
  SetText(Editor, "");
  for (char c : std::string("a\x01\x1b\t\r\x7f"))
    Editor.TypeChar(c);
  Editor.TypeChar('z', 3);
  EXPECT_EQ(GetText(Editor), "a\t\n\x7fzzz");
}

}  // namespace
