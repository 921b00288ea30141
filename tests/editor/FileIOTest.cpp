// Loading and saving: line-end handling, the round trip, and saves that
// cannot be written.
#include "EditTestSupport.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct TLoadCase {
  const char* Name;
  std::string Bytes;
  std::vector<std::string> Lines;
  std::string Saved;
};

void PrintTo(const TLoadCase& c, std::ostream* out) { *out << c.Name; }

class TLoadSaveTest : public TTempDirTest, public ::testing::WithParamInterface<TLoadCase> {};

TEST_P(TLoadSaveTest, LoadsLinesAndSavesThemWithCRLF) {
  const TLoadCase& c = GetParam();
  Editor.FileName = PathOf("source.asm");
  WriteBytes(Editor.FileName, c.Bytes);
  ASSERT_TRUE(Editor.LoadFile());
  std::vector<std::string> lines;
  for (std::int64_t i = 0; i < Editor.Lines.Count(); ++i)
    lines.push_back(Editor.Lines[i]);
  EXPECT_EQ(lines, c.Lines);
  EXPECT_FALSE(Editor.Modified);
  EXPECT_TRUE(View.Messages.empty());
  ASSERT_TRUE(Editor.Save());
  EXPECT_EQ(ReadBytes(Editor.FileName), c.Saved);
  // Saved text loads back to the same lines.
  ASSERT_TRUE(Editor.LoadFile());
  EXPECT_EQ(Editor.Lines.Count(), static_cast<std::int64_t>(c.Lines.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Files, TLoadSaveTest,
    ::testing::Values(
        TLoadCase{"Empty", "", {""}, "\r\n"},
        TLoadCase{"NoFinalLineEnd", "abc", {"abc"}, "abc\r\n"},
        TLoadCase{"FinalLineEnd", "abc\n", {"abc"}, "abc\r\n"},
        TLoadCase{"TwoFinalLineEnds", "abc\n\n", {"abc", ""}, "abc\r\n\r\n"},
        TLoadCase{"OnlyLineEnds", "\n\n\n", {"", "", ""}, "\r\n\r\n\r\n"},
        TLoadCase{"LoneCRDisappears", "a\r\nb\rc", {"a", "bc"}, "a\r\nbc\r\n"},
        TLoadCase{"CtrlZEndsTheFile", "a\n\x1a" "b\nc", {"a"}, "a\r\n"},
        TLoadCase{"CtrlZInLine", "ab\x1a" "cd", {"ab"}, "ab\r\n"},
        TLoadCase{"LeadingBlanksAndTabsStay", "\t  MOV A\n  \tNOP", {"\t  MOV A", "  \tNOP"}, "\t  MOV A\r\n  \tNOP\r\n"},
        TLoadCase{"NulBytesStayInTheLine", std::string("a\0b\n\0", 5), {std::string("a\0b", 3), std::string(1, '\0')}, std::string("a\0b\r\n\0\r\n", 8)},
        TLoadCase{"HighBytes", "\xff\xfe\x80\n", {"\xff\xfe\x80"}, "\xff\xfe\x80\r\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TTempDirTest, LoadReplacesTextAndResetsState) {
  Editor.FileName = PathOf("a.asm");
  WriteBytes(Editor.FileName, "one\ntwo\n");
  SetText(Editor, "old\ntext\nhere");
  Editor.Caret.Set(2, 3);
  Editor.TypeChar('x');
  ASSERT_TRUE(Editor.LoadFile());
  EXPECT_EQ(GetText(Editor), "one\ntwo");
  EXPECT_EQ(At(Editor.Caret), (TPlace{0, 0}));
  EXPECT_FALSE(Editor.CanUndo());
  EXPECT_FALSE(Editor.Modified);
}

TEST_F(TTempDirTest, MissingFileLoadsAsOneEmptyLineWithAMessage) {
  Editor.FileName = PathOf("absent.asm");
  EXPECT_FALSE(Editor.LoadFile());
  EXPECT_EQ(Editor.Lines.Count(), 1);
  EXPECT_EQ(Editor.Lines[0], "");
  ASSERT_EQ(View.Messages.size(), 1u);
  EXPECT_EQ(View.Messages[0].Text, "File I/O Error. Part file loaded.");
  EXPECT_EQ(View.Messages[0].Caption, "Tarnex Meta-Assembler");
  EXPECT_FALSE(Editor.Modified);
}

TEST_F(TTempDirTest, DirectoryLoadsAsAReadError) {
  Editor.FileName = Dir.string();
  EXPECT_FALSE(Editor.LoadFile());
  EXPECT_EQ(Editor.Lines.Count(), 1);
  ASSERT_EQ(View.Messages.size(), 1u);
  EXPECT_EQ(View.Messages[0].Text, "File I/O Error. Part file loaded.");
}

TEST_F(TTempDirTest, LineLimitStopsTheLoadWithWhatWasRead) {
  Editor.FileName = PathOf("long.asm");
  WriteBytes(Editor.FileName, "1\n2\n3\n4\n5\n");
  Editor.LoadLimit = 3;
  EXPECT_FALSE(Editor.LoadFile());
  EXPECT_EQ(GetText(Editor), "1\n2\n3");
  ASSERT_EQ(View.Messages.size(), 1u);
  EXPECT_EQ(View.Messages[0].Text, "Too many lines. Part file loaded.");
  EXPECT_FALSE(Editor.Modified);
}

TEST_F(TTempDirTest, SaveClearsModifiedAndJournal) {
  Editor.FileName = PathOf("s.asm");
  Editor.TypeChar('a');
  ASSERT_TRUE(Editor.CanUndo());
  ASSERT_TRUE(Editor.Save());
  EXPECT_FALSE(Editor.Modified);
  EXPECT_FALSE(Editor.CanUndo());
  EXPECT_EQ(ReadBytes(Editor.FileName), "a\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1)
      << "no temporary file is left behind";
}

TEST_F(TTempDirTest, SaveKeepsThePermissionsOfTheFileItReplaces) {
  Editor.FileName = PathOf("p.asm");
  WriteBytes(Editor.FileName, "old\n");
  fs::permissions(Editor.FileName, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  Editor.TypeChar('n');
  ASSERT_TRUE(Editor.Save());
  EXPECT_EQ(fs::status(Editor.FileName).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(TTempDirTest, SaveThroughASymbolicLinkWritesTheFileItNames) {
  std::string real = PathOf("real.asm");
  WriteBytes(real, "old\n");
  Editor.FileName = PathOf("link.asm");
  fs::create_symlink(real, Editor.FileName);
  Editor.TypeChar('n');
  ASSERT_TRUE(Editor.Save());
  EXPECT_TRUE(fs::is_symlink(Editor.FileName));
  EXPECT_EQ(ReadBytes(real), "n\r\n");
}

// The save goes into the file itself when it has another name, so both names
// keep showing the same text (the ways of writing are tested in SafeWriteTest).
TEST_F(TTempDirTest, SaveOfAHardLinkedFileKeepsBothNamesTogether) {
  Editor.FileName = PathOf("a.asm");
  WriteBytes(Editor.FileName, "old\n");
  fs::create_hard_link(Editor.FileName, Dir / "b.asm");
  Editor.TypeChar('n');
  ASSERT_TRUE(Editor.Save());
  EXPECT_EQ(ReadBytes(PathOf("b.asm")), "n\r\n");
  EXPECT_EQ(fs::hard_link_count(Editor.FileName), 2u);
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 2)
      << "no backup is left behind";
}

// A save that fails keeps the text modified and undoable, tells the window,
// and leaves what was on disk untouched.
void ExpectFailedSave(TTarnEditText& editor, TRecordingView& view) {
  EXPECT_FALSE(editor.Save());
  EXPECT_TRUE(editor.Modified);
  EXPECT_TRUE(editor.CanUndo());
  ASSERT_EQ(view.Messages.size(), 1u);
  EXPECT_EQ(view.Messages[0].Caption, "Save Error");
  EXPECT_EQ(view.Messages[0].Icon, TMessageIcon::Stop);
  EXPECT_NE(view.Messages[0].Text.find(editor.FileName), std::string::npos);
}

TEST_F(TTempDirTest, SaveIntoAMissingDirectoryFails) {
  Editor.FileName = PathOf("no/such/dir/x.asm");
  Editor.TypeChar('a');
  ExpectFailedSave(Editor, View);
  EXPECT_FALSE(fs::exists(Dir / "no"));
}

TEST_F(TTempDirTest, SaveOverADirectoryFails) {
  fs::create_directory(Dir / "sub");
  Editor.FileName = PathOf("sub");
  Editor.TypeChar('a');
  ExpectFailedSave(Editor, View);
  EXPECT_TRUE(fs::is_directory(Dir / "sub"));
}

TEST_F(TTempDirTest, PipeIsNeitherReadNorWrittenAndNothingWaits) {
  Editor.FileName = PathOf("pipe");
  ASSERT_EQ(mkfifo(Editor.FileName.c_str(), 0600), 0);
  EXPECT_FALSE(Editor.LoadFile());
  View.Messages.clear();
  Editor.TypeChar('a');
  ExpectFailedSave(Editor, View);
}

TEST_F(TTempDirTest, SaveWithoutPermissionFails) {
  if (geteuid() == 0)
    GTEST_SKIP() << "file permissions do not bind the superuser";
  Editor.FileName = PathOf("ro.asm");
  WriteBytes(Editor.FileName, "keep\n");
  fs::permissions(Editor.FileName, fs::perms::owner_read);
  Editor.TypeChar('a');
  ExpectFailedSave(Editor, View);
  EXPECT_EQ(ReadBytes(Editor.FileName), "keep\n");

  // A directory the user may not write into.
  View.Messages.clear();
  fs::create_directory(Dir / "locked");
  fs::permissions(Dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  Editor.FileName = PathOf("locked/new.asm");
  ExpectFailedSave(Editor, View);
}

// A write that runs out of space, made with a file size limit: the old file
// must survive whole and no temporary file may remain.
TEST_F(TTempDirTest, SaveThatRunsOutOfSpaceLeavesTheOldFileWhole) {
  Editor.FileName = PathOf("big.asm");
  std::string old = "original content\n";
  WriteBytes(Editor.FileName, old);
  SetText(Editor, std::string(200000, 'x'));
  Editor.Caret.Set(0, 0);
  Editor.TypeChar('y');

  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool saved_ok = Editor.Save();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(saved_ok);
  EXPECT_TRUE(Editor.Modified);
  EXPECT_TRUE(Editor.CanUndo());
  EXPECT_EQ(View.Messages.size(), 1u);
  EXPECT_EQ(ReadBytes(Editor.FileName), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
  // With room again the same text saves.
  View.Messages.clear();
  EXPECT_TRUE(Editor.Save());
  EXPECT_EQ(ReadBytes(Editor.FileName).size(), 200001u + 2u);
}

TEST_F(TEditorTest, SaveWithoutAFileNameWritesNothing) {
  Editor.TypeChar('a');
  EXPECT_FALSE(Editor.Save());
  EXPECT_TRUE(Editor.Modified);
}

}  // namespace
