// Loading and saving: line-end handling, the round trip, and loads and saves
// that cannot be done.
#include "EditTestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> LinesOf(const TTarnEditText& editor) {
  std::vector<std::string> lines;
  for (std::int64_t i = 0; i < editor.Lines.Count(); ++i)
    lines.push_back(editor.Lines[i]);
  return lines;
}

TEST_F(TTempDirTest, LoadsLinesAndSavesThemWithCRLF) {
  const struct {
    const char* Name;
    std::string Bytes;
    std::vector<std::string> Lines;
    std::string Saved;
  } cases[] = {
      {"Empty", "", {""}, "\r\n"},
      {"NoFinalLineEnd", "abc", {"abc"}, "abc\r\n"},
      {"FinalLineEnd", "abc\n", {"abc"}, "abc\r\n"},
      {"TwoFinalLineEnds", "abc\n\n", {"abc", ""}, "abc\r\n\r\n"},
      {"OnlyLineEnds", "\n\n\n", {"", "", ""}, "\r\n\r\n\r\n"},
      {"LoneCRDisappears", "a\r\nb\rc", {"a", "bc"}, "a\r\nbc\r\n"},
      {"CtrlZEndsTheFile", "a\n\x1a" "b\nc", {"a"}, "a\r\n"},
      {"CtrlZInLine", "ab\x1a" "cd", {"ab"}, "ab\r\n"},
      {"LeadingBlanksAndTabsStay", "\t  MOV A\n  \tNOP", {"\t  MOV A", "  \tNOP"}, "\t  MOV A\r\n  \tNOP\r\n"},
      {"NulBytesStayInTheLine", std::string("a\0b\n\0", 5), {std::string("a\0b", 3), std::string(1, '\0')},
       std::string("a\0b\r\n\0\r\n", 8)},
      {"HighBytes", "\xff\xfe\x80\n", {"\xff\xfe\x80"}, "\xff\xfe\x80\r\n"}};
  Editor.FileName = PathOf("source.asm");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteBytes(Editor.FileName, c.Bytes);
    ASSERT_TRUE(Editor.LoadFile());
    EXPECT_EQ(LinesOf(Editor), c.Lines);
    EXPECT_FALSE(Editor.Modified);
    EXPECT_TRUE(View.Messages.empty());
    ASSERT_TRUE(Editor.Save());
    EXPECT_EQ(ReadBytes(Editor.FileName), c.Saved);
    // Saved text loads back to the same lines.
    ASSERT_TRUE(Editor.LoadFile());
    EXPECT_EQ(LinesOf(Editor), c.Lines);
  }
}

// Every load replaces the text and starts afresh (caret at the start, nothing
// to undo, unmodified); one that stops early keeps what it read and says why.
// A pipe is never opened, so nothing waits for a writer.
TEST_F(TTempDirTest, LoadReplacesTheTextAndTellsWhyItStoppedEarly) {
  WriteBytes(PathOf("a.asm"), "one\ntwo\n");
  WriteBytes(PathOf("long.asm"), "1\n2\n3\n4\n5\n");
  ASSERT_EQ(mkfifo(PathOf("pipe").c_str(), 0600), 0);
  const std::string ioError = "File I/O Error. Part file loaded.";
  const struct {
    std::string File;
    std::int64_t Limit;
    std::vector<std::string> Lines;
    std::string Message;  // empty: the load succeeds
  } cases[] = {{PathOf("a.asm"), MaxLines, {"one", "two"}, ""},
               {PathOf("absent.asm"), MaxLines, {""}, ioError},
               {Dir.string(), MaxLines, {""}, ioError},
               {PathOf("pipe"), MaxLines, {""}, ioError},
               {PathOf("long.asm"), 3, {"1", "2", "3"}, "Too many lines. Part file loaded."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    SetText(Editor, "old\ntext\nhere");
    Editor.Caret.Set(2, 3);
    Editor.TypeChar('x');
    View.Messages.clear();
    Editor.FileName = c.File;
    Editor.LoadLimit = c.Limit;
    EXPECT_EQ(Editor.LoadFile(), c.Message.empty());
    EXPECT_EQ(LinesOf(Editor), c.Lines);
    EXPECT_EQ(At(Editor.Caret), (TPlace{0, 0}));
    EXPECT_FALSE(Editor.CanUndo());
    EXPECT_FALSE(Editor.Modified);
    if (c.Message.empty()) {
      EXPECT_TRUE(View.Messages.empty());
      continue;
    }
    ASSERT_EQ(View.Messages.size(), 1u);
    EXPECT_EQ(View.Messages[0].Text, c.Message);
    EXPECT_EQ(View.Messages[0].Caption, "Tarnex Meta-Assembler");
  }
}

// A save writes the file it names and starts afresh: nothing modified, nothing
// to undo. Without a name it writes nothing. How the file keeps its links and
// mode is SafeWriteTest's.
TEST_F(TTempDirTest, SaveWritesTheFileAndClearsModifiedAndTheJournal) {
  Editor.TypeChar('n');
  EXPECT_FALSE(Editor.Save());
  EXPECT_TRUE(Editor.Modified);
  Editor.FileName = PathOf("new.asm");
  ASSERT_TRUE(Editor.Save());
  EXPECT_FALSE(Editor.Modified);
  EXPECT_FALSE(Editor.CanUndo());
  EXPECT_EQ(ReadBytes(Editor.FileName), "n\r\n");
}

// A save that fails keeps the text modified and undoable, tells the window,
// and leaves what was on disk untouched.
void ExpectFailedSave(TTarnEditText& editor, TRecordingView& view) {
  view.Messages.clear();
  EXPECT_FALSE(editor.Save());
  EXPECT_TRUE(editor.Modified);
  EXPECT_TRUE(editor.CanUndo());
  ASSERT_EQ(view.Messages.size(), 1u);
  EXPECT_EQ(view.Messages[0].Caption, "Save Error");
  EXPECT_EQ(view.Messages[0].Icon, TMessageIcon::Stop);
  EXPECT_NE(view.Messages[0].Text.find(editor.FileName), std::string::npos);
}

TEST_F(TTempDirTest, SaveThatCannotBeWrittenFails) {
  fs::create_directory(Dir / "sub");
  ASSERT_EQ(mkfifo(PathOf("pipe").c_str(), 0600), 0);
  WriteBytes(PathOf("ro.asm"), "keep\n");
  fs::permissions(PathOf("ro.asm"), fs::perms::owner_read);
  fs::create_directory(Dir / "locked");
  fs::permissions(Dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  const struct {
    const char* Name;
    bool ByPermission;  // permissions do not bind the superuser
  } cases[] = {{"no/such/dir/x.asm", false}, {"sub", false},         {"pipe", false},
               {"ro.asm", true},             {"locked/new.asm", true}};
  Editor.TypeChar('a');
  for (const auto& c : cases) {
    if (c.ByPermission && geteuid() == 0)
      continue;
    SCOPED_TRACE(c.Name);
    Editor.FileName = PathOf(c.Name);
    ExpectFailedSave(Editor, View);
  }
  EXPECT_FALSE(fs::exists(Dir / "no"));
  EXPECT_TRUE(fs::is_directory(Dir / "sub"));
  EXPECT_EQ(ReadBytes(PathOf("ro.asm")), "keep\n");
  EXPECT_TRUE(fs::is_empty(Dir / "locked"));
}

// A write that runs out of space, made with a file size limit: the old file
// must survive whole and no temporary file may remain.
TEST_F(TTempDirTest, SaveThatRunsOutOfSpaceLeavesTheOldFileWhole) {
  Editor.FileName = PathOf("big.asm");
  const std::string old = "original content\n";
  WriteBytes(Editor.FileName, old);
  SetText(Editor, std::string(200000, 'x'));
  Editor.TypeChar('y');
  EXPECT_FALSE(WithFileSizeLimit(4096, [&] { return Editor.Save(); }));
  EXPECT_TRUE(Editor.Modified);
  EXPECT_TRUE(Editor.CanUndo());
  EXPECT_EQ(View.Messages.size(), 1u);
  EXPECT_EQ(ReadBytes(Editor.FileName), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
  // With room again the same text saves.
  EXPECT_TRUE(Editor.Save());
  EXPECT_EQ(ReadBytes(Editor.FileName).size(), 200001u + 2u);
}

}  // namespace
