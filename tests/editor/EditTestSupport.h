// Shared helpers of the text-model tests: an editor with a recording view,
// text set and read as one string with LF line breaks, and a temporary
// directory per test.
#pragma once

#include "EditText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

struct TShownMessage {
  std::string Text;
  std::string Caption;
  TMessageIcon Icon;
};

// A fixed-pitch view (one pixel per character, one per line, tabs every 8)
// that remembers what the model asked of it.
class TRecordingView : public TFixedPitchView {
public:
  TRecordingView() : TFixedPitchView(1, 1, 8) {}
  void ShowMessage(const std::string& text, const std::string& caption, TMessageIcon icon) override {
    Messages.push_back({text, caption, icon});
  }
  void SetStatusText(const std::string& text) override { Status = text; }
  void InvalidateAll(bool) override { ++FullRepaints; }
  void SetScrollRanges(std::int64_t h, std::int64_t v) override {
    HorzRange = h;
    VertRange = v;
  }
  bool SetClipboardText(const std::string& text) override {
    if (RefuseClipboard)
      return false;
    return TFixedPitchView::SetClipboardText(text);
  }

  std::vector<TShownMessage> Messages;
  std::string Status;
  int FullRepaints = 0;
  std::int64_t HorzRange = -1;
  std::int64_t VertRange = -1;
  bool RefuseClipboard = false;
};

inline void SetText(TTarnEditText& editor, std::string_view text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t lf; (lf = text.find('\n', from)) != std::string_view::npos; from = lf + 1)
    lines.emplace_back(text.substr(from, lf - from));
  lines.emplace_back(text.substr(from));
  editor.Lines.Assign(std::move(lines));
  editor.Caret.Set(0, 0);
  editor.SelStart.Set(0, 0);
  editor.SelEnd.Set(0, 0);
  editor.ClearJournal();
  editor.Modified = false;
}

inline std::string GetText(const TTarnEditText& editor) {
  std::string text;
  for (std::int64_t i = 0; i < editor.Lines.Count(); ++i) {
    if (i)
      text += '\n';
    text += editor.Lines[i];
  }
  return text;
}

struct TPlace {
  std::int64_t Line;
  std::int64_t Col;
  bool operator==(const TPlace&) const = default;
};
inline TPlace At(const TBufferPos& pos) { return {pos.Line(), pos.Col()}; }
inline std::ostream& operator<<(std::ostream& out, const TPlace& p) {
  return out << "(" << p.Line << ", " << p.Col << ")";
}

inline void Select(TTarnEditText& editor, TPlace from, TPlace to) {
  editor.SelStart.Set(from.Line, from.Col);
  editor.SelEnd.Set(to.Line, to.Col);
  editor.Caret.Set(to.Line, to.Col);
}

class TEditorTest : public ::testing::Test {
protected:
  TRecordingView View;
  TTarnEditText Editor{&View};
};

class TTempDirTest : public TEditorTest {
protected:
  void SetUp() override {
    std::string name = std::string("tarnedit-") +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name)
      if (c == '/')
        c = '_';
    name += '-';
    name += std::to_string(std::random_device{}());
    Dir = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::permissions(Dir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(Dir, ignored);
  }
  std::string PathOf(const std::string& name) const { return (Dir / name).string(); }
  static void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::filesystem::path Dir;
};
