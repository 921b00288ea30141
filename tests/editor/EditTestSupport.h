// Shared helpers of the text-model tests: an editor with a recording view,
// text set and read as one string with LF line breaks, files read and written
// whole, and a temporary directory per test.
#pragma once

#include "EditText.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
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
  bool SetClipboardText(const std::string& text) override {
    if (RefuseClipboard)
      return false;
    return TFixedPitchView::SetClipboardText(text);
  }

  std::vector<TShownMessage> Messages;
  std::string Status;
  bool RefuseClipboard = false;
};

inline void SetText(TTarnEditText& editor, std::string_view text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t lf; (lf = text.find('\n', from)) != std::string_view::npos; from = lf + 1)
    lines.emplace_back(text.substr(from, lf - from));
  lines.emplace_back(text.substr(from));
  editor.Lines.Assign(std::move(lines));
  for (TBufferPos* pos : {&editor.Caret, &editor.SelStart, &editor.SelEnd})
    pos->Set(0, 0);
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

// A parameterized case is named, and printed, by its Name.
inline constexpr auto CaseName = [](const auto& info) { return std::string(info.param.Name); };
namespace {
template <class T>
  requires requires(const T& c) { std::string_view(c.Name); }
std::ostream& operator<<(std::ostream& out, const T& c) {
  return out << c.Name;
}
}  // namespace

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs write with files limited to `limit` bytes, as a full disk would stop
// it part way.
template <class F> auto WithFileSizeLimit(rlim_t limit, F write) {
  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = limit;
  EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  auto result = write();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  return result;
}

class TTempDirTest : public TEditorTest {
protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnedit-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    Dir = pattern;
  }
  // Directories a test locked must open again to be removed.
  void TearDown() override {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(Dir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
      if (it->is_directory(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(Dir, ec);
  }
  std::string PathOf(const std::string& name) const { return (Dir / name).string(); }
  std::filesystem::path Dir;
};
