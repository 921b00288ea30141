// Position arithmetic across line ends, word boundaries and text search.
#include "EditTestSupport.h"

namespace {

struct TStepCase {
  const char* Text;
  TPlace From;
  std::int64_t Steps;  // negative: Retreat
  TPlace Expected;
};

void PrintTo(const TStepCase& c, std::ostream* out) { *out << c.Text << " " << c.From << " " << c.Steps; }

class TStepTest : public ::testing::TestWithParam<TStepCase> {};

TEST_P(TStepTest, AdvanceAndRetreatCountLineEndsAsOneCharacter) {
  const TStepCase& c = GetParam();
  TTarnEditText editor;
  SetText(editor, c.Text);
  TBufferPos pos(editor.Lines, c.From.Line, c.From.Col);
  if (c.Steps >= 0)
    pos.Advance(c.Steps);
  else
    pos.Retreat(-c.Steps);
  EXPECT_EQ(At(pos), c.Expected);
  EXPECT_TRUE(pos.Valid());
}

INSTANTIATE_TEST_SUITE_P(
    Positions, TStepTest,
    ::testing::Values(TStepCase{"ab\ncd", {0, 0}, 3, {1, 0}}, TStepCase{"ab\ncd", {0, 0}, 4, {1, 1}},
                      TStepCase{"ab\ncd", {0, 2}, 1, {1, 0}}, TStepCase{"ab\ncd", {1, 0}, -1, {0, 2}},
                      TStepCase{"ab\ncd", {0, 0}, -1, {0, 0}}, TStepCase{"ab\ncd", {1, 2}, 1, {1, 2}},
                      TStepCase{"ab\ncd", {1, 1}, -100, {0, 0}},
                      TStepCase{"ab\ncd", {0, 1}, 1000000, {1, 2}},
                      TStepCase{"a\n\n\nb", {0, 1}, 3, {3, 0}}, TStepCase{"a\n\n\nb", {3, 0}, -2, {1, 0}},
                      TStepCase{"", {0, 0}, 5, {0, 0}},
                      TStepCase{"ab", {0, 1}, std::numeric_limits<std::int64_t>::max(), {0, 2}},
                      TStepCase{"ab", {0, 1}, -std::numeric_limits<std::int64_t>::max(), {0, 0}}));

TEST(TBufferPosTest, ExtremeCountsAndStalePositionsStayInTheText) {
  TTarnEditText editor;
  SetText(editor, "abc\nd");
  TBufferPos beyondLines(editor.Lines, 7, 3);
  beyondLines.Clamp();
  EXPECT_EQ(At(beyondLines), (TPlace{1, 1}));
  TBufferPos beyondColumn(editor.Lines, 0, 5);
  beyondColumn.Clamp();
  EXPECT_EQ(At(beyondColumn), (TPlace{0, 3}));
  TBufferPos far(editor.Lines, 1, 0);
  far.Advance(std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(At(far), (TPlace{0, 0}));
  far.Retreat(std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(At(far), (TPlace{1, 1}));
  TBufferPos negative(editor.Lines, -2, 4);
  negative.Clamp();
  EXPECT_EQ(At(negative), (TPlace{0, 0}));
}

struct TWordCase {
  const char* Line;
  std::int64_t Col;
  std::int64_t WordStart;
  std::int64_t Delimiter;
};

void PrintTo(const TWordCase& c, std::ostream* out) { *out << c.Line << " @" << c.Col; }

class TWordTest : public ::testing::TestWithParam<TWordCase> {};

TEST_P(TWordTest, FindsWordBoundaries) {
  const TWordCase& c = GetParam();
  TTarnEditText editor;
  SetText(editor, c.Line);
  TBufferPos start(editor.Lines, 0, c.Col);
  start.ToWordStart(WordDelimiters);
  EXPECT_EQ(start.Col(), c.WordStart);
  TBufferPos end(editor.Lines, 0, c.Col);
  end.ToDelimiter(WordDelimiters);
  EXPECT_EQ(end.Col(), c.Delimiter);
}

INSTANTIATE_TEST_SUITE_P(Words, TWordTest,
                         ::testing::Values(TWordCase{"\tMOV A", 2, 1, 4}, TWordCase{"\tMOV A", 6, 6, 6},
                                           TWordCase{"MOV A,B", 1, 0, 3}, TWordCase{"MOV A,B", 5, 6, 5},
                                           TWordCase{"MOV A,B", 0, 0, 3}, TWordCase{"", 0, 0, 0},
                                           TWordCase{"x(y)", 2, 2, 3}));

struct TSearchCase {
  const char* Text;
  TPlace From;
  const char* Find;
  bool Forward;
  bool MatchCase;
  bool WholeWord;
  bool Found;
  TPlace Match;
};

void PrintTo(const TSearchCase& c, std::ostream* out) { *out << c.Text << " " << c.From << " " << c.Find << (c.Forward ? " down" : " up"); }

class TSearchTest : public ::testing::TestWithParam<TSearchCase> {};

TEST_P(TSearchTest, FindsTheNearestAcceptableCandidate) {
  const TSearchCase& c = GetParam();
  TTarnEditText editor;
  SetText(editor, c.Text);
  TBufferPos pos(editor.Lines, c.From.Line, c.From.Col);
  bool found = c.Forward ? pos.SearchForward(c.Find, c.MatchCase, c.WholeWord)
                         : pos.SearchBackward(c.Find, c.MatchCase, c.WholeWord);
  ASSERT_EQ(found, c.Found);
  EXPECT_EQ(At(pos), c.Found ? c.Match : c.From);
}

INSTANTIATE_TEST_SUITE_P(
    Search, TSearchTest,
    ::testing::Values(
        // forward: at or after the caret, then later lines
        TSearchCase{"abab\nx", {0, 0}, "ab", true, true, false, true, {0, 0}},
        TSearchCase{"abab\nx", {0, 1}, "ab", true, true, false, true, {0, 2}},
        TSearchCase{"abab\nab", {0, 3}, "ab", true, true, false, true, {1, 0}},
        TSearchCase{"abab\nx", {0, 3}, "ab", true, true, false, false, {}},
        TSearchCase{"a\nb", {0, 0}, "a\nb", true, true, false, false, {}},  // never across a line end
        TSearchCase{"MOV", {0, 0}, "mov", true, false, false, true, {0, 0}},
        TSearchCase{"MOV", {0, 0}, "mov", true, true, false, false, {}},
        TSearchCase{"MOVX MOV", {0, 0}, "MOV", true, true, true, true, {0, 5}},
        TSearchCase{"aaa a", {0, 0}, "a", true, true, true, true, {0, 4}},
        TSearchCase{"x,MOV,y", {0, 0}, "mov", true, false, true, true, {0, 2}},
        TSearchCase{"\xC4MOV", {0, 0}, "mov", true, false, true, false, {}},
        // backward: wholly before the caret, right to left, then earlier lines
        TSearchCase{"abab", {0, 4}, "ab", false, true, false, true, {0, 2}},
        TSearchCase{"abab", {0, 3}, "ab", false, true, false, true, {0, 0}},
        TSearchCase{"abab", {0, 1}, "ab", false, true, false, false, {}},
        TSearchCase{"ab\nxab", {1, 2}, "ab", false, true, false, true, {0, 0}},
        TSearchCase{"MOV MOVX", {0, 8}, "MOV", false, true, true, true, {0, 0}},
        TSearchCase{"mov Mov", {0, 7}, "MOV", false, false, false, true, {0, 4}},
        TSearchCase{"abc", {0, 3}, "", true, true, false, false, {}}));

}  // namespace
