// Position arithmetic across line ends, word boundaries and text search.
#include "EditTestSupport.h"

namespace {

constexpr std::int64_t Huge = std::numeric_limits<std::int64_t>::max();

TEST(TBufferPosTest, AdvanceAndRetreatCountLineEndsAsOneCharacter) {
  const struct {
    const char* Text;
    TPlace From;
    std::int64_t Steps;  // negative: Retreat
    TPlace Expected;
  } cases[] = {{"ab\ncd", {0, 0}, 3, {1, 0}},         {"ab\ncd", {0, 0}, 4, {1, 1}},
               {"ab\ncd", {0, 2}, 1, {1, 0}},         {"ab\ncd", {1, 0}, -1, {0, 2}},
               {"ab\ncd", {0, 0}, -1, {0, 0}},        {"ab\ncd", {1, 2}, 1, {1, 2}},
               {"ab\ncd", {1, 1}, -100, {0, 0}},      {"ab\ncd", {0, 1}, 1000000, {1, 2}},
               {"a\n\n\nb", {0, 1}, 3, {3, 0}},       {"a\n\n\nb", {3, 0}, -2, {1, 0}},
               {"", {0, 0}, 5, {0, 0}},               {"ab", {0, 1}, Huge, {0, 2}},
               {"ab", {0, 1}, -Huge, {0, 0}}};
  for (const auto& c : cases) {
    TTarnEditText editor;
    SetText(editor, c.Text);
    TBufferPos pos(editor.Lines, c.From.Line, c.From.Col);
    if (c.Steps >= 0)
      pos.Advance(c.Steps);
    else
      pos.Retreat(-c.Steps);
    EXPECT_EQ(At(pos), c.Expected) << c.Text << " " << c.From << " " << c.Steps;
    EXPECT_TRUE(pos.Valid());
  }
}

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

TEST(TBufferPosTest, FindsWordBoundaries) {
  const struct {
    const char* Line;
    std::int64_t Col;
    std::int64_t WordStart;
    std::int64_t Delimiter;
  } cases[] = {{"\tMOV A", 2, 1, 4},  {"\tMOV A", 6, 6, 6}, {"MOV A,B", 1, 0, 3}, {"MOV A,B", 5, 6, 5},
               {"MOV A,B", 0, 0, 3}, {"", 0, 0, 0},        {"x(y)", 2, 2, 3}};
  for (const auto& c : cases) {
    TTarnEditText editor;
    SetText(editor, c.Line);
    TBufferPos start(editor.Lines, 0, c.Col);
    start.ToWordStart(WordDelimiters);
    EXPECT_EQ(start.Col(), c.WordStart) << c.Line << " @" << c.Col;
    TBufferPos end(editor.Lines, 0, c.Col);
    end.ToDelimiter(WordDelimiters);
    EXPECT_EQ(end.Col(), c.Delimiter) << c.Line << " @" << c.Col;
  }
}

TEST(TBufferPosTest, SearchFindsTheNearestAcceptableCandidate) {
  const struct {
    const char* Text;
    TPlace From;
    const char* Find;
    bool Forward;
    bool MatchCase;
    bool WholeWord;
    bool Found;
    TPlace Match;
  } cases[] = {
      // forward: at or after the caret, then later lines
      {"abab\nx", {0, 0}, "ab", true, true, false, true, {0, 0}},
      {"abab\nx", {0, 1}, "ab", true, true, false, true, {0, 2}},
      {"abab\nab", {0, 3}, "ab", true, true, false, true, {1, 0}},
      {"abab\nx", {0, 3}, "ab", true, true, false, false, {}},
      {"a\nb", {0, 0}, "a\nb", true, true, false, false, {}},  // never across a line end
      {"MOV", {0, 0}, "mov", true, false, false, true, {0, 0}},
      {"MOV", {0, 0}, "mov", true, true, false, false, {}},
      {"MOVX MOV", {0, 0}, "MOV", true, true, true, true, {0, 5}},
      {"aaa a", {0, 0}, "a", true, true, true, true, {0, 4}},
      {"x,MOV,y", {0, 0}, "mov", true, false, true, true, {0, 2}},
      {"\xC4MOV", {0, 0}, "mov", true, false, true, false, {}},
      // backward: wholly before the caret, right to left, then earlier lines
      {"abab", {0, 4}, "ab", false, true, false, true, {0, 2}},
      {"abab", {0, 3}, "ab", false, true, false, true, {0, 0}},
      {"abab", {0, 1}, "ab", false, true, false, false, {}},
      {"ab\nxab", {1, 2}, "ab", false, true, false, true, {0, 0}},
      {"MOV MOVX", {0, 8}, "MOV", false, true, true, true, {0, 0}},
      {"mov Mov", {0, 7}, "MOV", false, false, false, true, {0, 4}},
      {"abc", {0, 3}, "", true, true, false, false, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Text << " " << c.From << " " << c.Find << (c.Forward ? " down" : " up"));
    TTarnEditText editor;
    SetText(editor, c.Text);
    TBufferPos pos(editor.Lines, c.From.Line, c.From.Col);
    bool found = c.Forward ? pos.SearchForward(c.Find, c.MatchCase, c.WholeWord)
                           : pos.SearchBackward(c.Find, c.MatchCase, c.WholeWord);
    EXPECT_EQ(found, c.Found);
    EXPECT_EQ(At(pos), c.Found ? c.Match : c.From);
  }
}

}  // namespace
