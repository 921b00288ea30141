// Reading a source file into the line store and writing it back.
//
// Files are read as text: reading ends at the first Ctrl-Z, CR bytes are
// dropped wherever they stand and LF ends a line. They are written with CR LF
// after every line, the last one included.
#include "EditText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
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

std::string ErrorText(int error, const char* fallback) {
  return error ? std::strerror(error) : fallback;
}

// An open temporary file that is removed unless it was renamed into place.
class TTempFile {
public:
  ~TTempFile() {
    Close();
    if (!Path.empty()) {
      std::error_code ignored;
      fs::remove(Path, ignored);
    }
  }
  // Creates a fresh file beside target; never opens an existing one.
  bool Create(const fs::path& target, std::string& error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      fs::path candidate = target;
      candidate += ".~tarn" + std::to_string(attempt);
      errno = 0;
      File = std::fopen(candidate.c_str(), "wbx");
      if (File) {
        Path = candidate;
        return true;
      }
      if (errno != EEXIST) {
        error = ErrorText(errno, "cannot create a file in its directory");
        return false;
      }
    }
    error = "cannot create a temporary file in its directory";
    return false;
  }
  bool Write(const std::string& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), File) == bytes.size();
  }
  bool Close() {
    if (!File)
      return true;
    bool ok = std::fflush(File) == 0 && !std::ferror(File);
    ok = std::fclose(File) == 0 && ok;
    File = nullptr;
    return ok;
  }
  void Keep() { Path.clear(); }
  const fs::path& Name() const { return Path; }

private:
  std::FILE* File = nullptr;
  fs::path Path;
};

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

void TTarnEditText::SaveFailed(const std::string& reason) {
  Message("Cannot save \"" + FileName + "\": " + reason + ". The file on disk is unchanged.",
          "Save Error", TMessageIcon::Stop);
}

bool TTarnEditText::Save() {
  if (FileName.empty())
    return false;
  std::error_code ec;
  fs::path target = FileName;
  // Through a symbolic link the file it names is replaced, not the link.
  if (fs::is_symlink(target, ec)) {
    fs::path real = fs::weakly_canonical(target, ec);
    if (!ec)
      target = real;
  }
  const bool exists = fs::exists(target, ec);
  if (exists) {
    // Devices and pipes are not source files; opening a pipe would also wait
    // for a reader.
    if (fs::is_directory(target, ec)) {
      SaveFailed("it is a directory");
      return false;
    }
    if (!fs::is_regular_file(target, ec)) {
      SaveFailed("it is not a regular file");
      return false;
    }
    // A file the user may not write stays unwritten, although renaming over
    // it would be allowed by its directory. Opening for append changes nothing.
    errno = 0;
    std::FILE* probe = std::fopen(target.c_str(), "ab");
    if (!probe) {
      SaveFailed(ErrorText(errno, "the file cannot be written"));
      return false;
    }
    std::fclose(probe);
  }

  std::string error;
  TTempFile temp;
  if (!temp.Create(target, error)) {
    SaveFailed(error);
    return false;
  }
  std::string block;
  block.reserve(IoBlock + 4096);
  bool ok = true;
  errno = 0;
  for (TIndex i = 0; ok && i < Lines.Count(); ++i) {
    block += Lines[i];
    block += "\r\n";
    if (block.size() >= IoBlock) {
      ok = temp.Write(block);
      block.clear();
    }
  }
  ok = ok && temp.Write(block);
  ok = temp.Close() && ok;
  if (!ok) {
    SaveFailed(ErrorText(errno, "writing failed"));
    return false;
  }
  if (exists) {
    fs::permissions(temp.Name(), fs::status(target, ec).permissions(), ec);
    ec.clear();
  }
  fs::rename(temp.Name(), target, ec);
  if (ec) {
    SaveFailed(ec.message());
    return false;
  }
  temp.Keep();
  Modified = false;
  ClearJournal();
  return true;
}
