// Reading a source file into the line store and writing it back.
//
// Files are read as text: reading ends at the first Ctrl-Z, CR bytes are
// dropped wherever they stand and LF ends a line. They are written with CR LF
// after every line, the last one included.
#include "EditText.h"
#include "SafeWrite.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t IoBlock = 1 << 20;

// Reads the whole file; false on a read error (what was read stays in data).
bool ReadAll(const std::string& name, std::string& data) {
  // Opening a pipe or device would wait for a writer or read without end.
  std::error_code ec;
  if (!fs::is_regular_file(name, ec))
    return false;
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (!file)
    return false;
  bool ok = true;
  std::vector<char> block(IoBlock);
  for (;;) {
    std::size_t got = std::fread(block.data(), 1, block.size(), file);
    data.append(block.data(), got);
    if (got < block.size()) {
      ok = !std::ferror(file);
      break;
    }
  }
  std::fclose(file);
  return ok;
}

}  // namespace

bool TTarnEditText::LoadFile() {
  std::string data;
  bool readError = !ReadAll(FileName, data);
  std::string_view text = data;
  if (std::size_t end = text.find('\x1a'); end != std::string_view::npos)
    text = text.substr(0, end);

  std::vector<std::string> lines;
  lines.reserve(std::max<std::size_t>(10001, static_cast<std::size_t>(
                                                 std::count(text.begin(), text.end(), '\n') + 1)));
  bool tooMany = false;
  for (std::size_t from = 0;;) {
    std::size_t lf = text.find('\n', from);
    std::string_view piece = text.substr(from, lf == std::string_view::npos ? text.npos : lf - from);
    std::string& line = lines.emplace_back(piece);
    if (line.find('\r') != std::string::npos)
      std::erase(line, '\r');
    if (static_cast<TIndex>(lines.size()) >= LoadLimit) {
      tooMany = true;
      break;
    }
    if (lf == std::string_view::npos)
      break;
    from = lf + 1;
  }
  // The empty piece after a final LF is not a line of the file.
  if (lines.size() > 1 && lines.back().empty())
    lines.pop_back();

  Lines.Assign(std::move(lines));
  Caret.Set(0, 0);
  SelStart.Set(0, 0);
  SelEnd.Set(0, 0);
  ClearJournal();
  Modified = false;
  View->SetScrollRanges(HorzScrollRange, Lines.Count() - 1);
  if (tooMany) {
    Message("Too many lines. Part file loaded.", AppName, TMessageIcon::None);
    return false;
  }
  if (readError) {
    Message("File I/O Error. Part file loaded.", AppName, TMessageIcon::None);
    return false;
  }
  return true;
}

void TTarnEditText::SaveFailed(const std::string& reason, const std::string& keptIn) {
  std::string outcome = keptIn.empty()
                            ? "The file on disk is unchanged."
                            : "The file on disk may be damaged; its previous text is kept in \"" + keptIn + "\".";
  Message("Cannot save \"" + FileName + "\": " + reason + ". " + outcome, "Save Error", TMessageIcon::Stop);
}

// The file keeps its links, owner and mode (see SafeWrite.h); a failed save
// leaves its old text in place, or in a backup the message names.
bool TTarnEditText::Save() {
  if (FileName.empty())
    return false;
  std::string text;
  std::size_t length = 0;
  for (TIndex i = 0; i < Lines.Count(); ++i)
    length += Lines[i].size() + 2;
  text.reserve(length);
  for (TIndex i = 0; i < Lines.Count(); ++i) {
    text += Lines[i];
    text += "\r\n";
  }
  TSafeWriteResult written = WriteFileKeepingIdentity(FileName, text);
  if (!written.Ok) {
    SaveFailed(written.Error, written.OriginalIntact ? std::string() : written.Backup);
    return false;
  }
  Modified = false;
  ClearJournal();
  return true;
}
