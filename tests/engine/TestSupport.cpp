#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "Tarn.h"

namespace fs = std::filesystem;

TTempDir::TTempDir() {
  std::string pattern = (fs::temp_directory_path() / "tarn-test-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  Dir = mkdtemp(buffer.data());
}

TTempDir::~TTempDir() {
  std::error_code ec;
  fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(Dir, ec);
}

void TTempDir::Write(const std::string& name, const std::string& content) const {
  fs::path p = fs::path(Dir) / name;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << content;
  // Dated an hour back, as files in use are: an assembly then knows their
  // lines by place. A file changed in the last seconds is read by its text.
  std::error_code ec;
  fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(1), ec);
}

std::string TTempDir::Read(const std::string& name) const {
  fs::path p = fs::path(Dir) / name;
  return fs::is_regular_file(p) ? ReadFile(p.string()) : std::string();  // never a device such as /dev/full
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char t[4];
  for (unsigned char c : bytes) {
    std::snprintf(t, sizeof t, "%02X", c);
    if (!out.empty()) out += ' ';
    out += t;
  }
  return out;
}

static std::string Replace(std::string s, const std::string& from, const std::string& to) {
  if (from.empty()) return s;
  // Built anew: replacing in place would copy a large listing once per hit.
  std::string out;
  size_t done = 0;
  for (size_t p = 0; (p = s.find(from, done)) != std::string::npos; done = p + from.size())
    out.append(s, done, p - done).append(to);
  return out.append(s, done, std::string::npos);
}

TRunResult AssembleIn(const TTempDir& dir, const std::string& main, const std::string& listing,
                      const std::string& object, const std::string& errors, bool plainMatching,
                      const std::function<void(int, const char*)>& progress) {
  setenv("SOURCE_DATE_EPOCH", "0", 1);
  char previous[4096];
  if (!getcwd(previous, sizeof previous)) previous[0] = '\0';
  if (chdir(dir.Path().c_str()) != 0) return {};
  TRunResult r;
  {
    TTarn tarn;
    tarn.PlainAlgorithms = plainMatching;
    tarn.ShowProgressFn = [&](const char* text, int field) {
      r.Progress.push_back(std::to_string(field) + ":" + text);
      if (progress) progress(field, text);
    };
    tarn.OnError = [&](const TDiagnostic& d) {
      if (d.Number == 0) r.LastPass.clear();
      else r.LastPass.push_back(d);
    };
    r.ErrorCount = tarn.Assemble(main, listing, object, errors);
    r.Passes = tarn.PassesRun();
    r.Checksum = tarn.Checksum();
  }
  if (previous[0] && chdir(previous) != 0) return r;
  std::string upperDir = dir.Path();
  for (char& c : upperDir) c = char(std::toupper(static_cast<unsigned char>(c)));
  auto read = [&](const std::string& name) {
    return name.empty() ? std::string() : Replace(dir.Read(name), upperDir, "$DIR");
  };
  r.Listing = read(listing);
  r.Object = dir.Read(object.empty() ? "-" : object);
  r.Errors = read(errors);
  for (TDiagnostic& d : r.LastPass) d.FullPath = Replace(d.FullPath, upperDir, "$DIR");
  return r;
}

TRunResult AssembleText(const std::string& source, const std::map<std::string, std::string>& files) {
  TTempDir dir;
  dir.Write("main.asm", source);
  for (const auto& [name, text] : files) dir.Write(name, text);
  return AssembleIn(dir, "main.asm", "main.LST", "main.HEX", "main.ERR");
}

void PrintTo(const TSourceCase& c, std::ostream* os) { *os << c.Source; }

TRunResult ExpectRun(const TSourceCase& c, const std::string& head, const std::map<std::string, std::string>& files) {
  std::map<std::string, std::string> all = files;
  all.insert(c.Files.begin(), c.Files.end());
  TRunResult r = AssembleText(head + c.Source, all);
  const std::string& what = c.Source;
  if (c.Bytes) {
    EXPECT_EQ(Hex(r.Object), c.Bytes) << what << "\n" << r.Listing;
  }
  if (c.Passes) {
    EXPECT_EQ(r.Passes, c.Passes) << what;
  }
  if (c.Errors) {
    std::string errors;
    for (const TDiagnostic& d : r.LastPass)
      errors += (errors.empty() ? "" : " ") + std::to_string(d.Number) + ":" + std::to_string(d.Line);
    EXPECT_EQ(errors, c.Errors) << what << "\n" << r.Errors;
  } else {
    EXPECT_EQ(r.LastPass.empty() ? 0 : r.LastPass[0].Number, c.Error) << what << "\n" << r.Errors;
  }
  if (c.Column && !r.LastPass.empty()) {
    EXPECT_EQ(r.LastPass[0].Column, c.Column) << what;
  }
  EXPECT_EQ(r.ErrorCount, std::min<size_t>(r.LastPass.size(), 65535)) << what;
  return r;
}

// Name list 0 holds four registers; fields: a byte, a 16-bit address, a branch
// offset from the end of a 2-byte instruction, a register in bits 6-7 of byte 0,
// and a register set; a short (0..255) form before a long one for JP.
const char ImaginaryTable[] =
    "; an imaginary processor\n"
    "0,\"A\",\"B\",\"C\",\"D\"\n"
    "*\n"
    "1,8,8,#,-128,255\n"
    "2,8,16,#,0,65535\n"
    "3,8,8,#-$-2,$-126,$+129\n"
    "4,6,2,@0,0,3\n"
    "5,8,8,@&0,1,15\n"
    "6,8,8,#,0,255\n"
    "7,12,8,#,0,255   ; a field that straddles two bytes\n"
    "8,8,16,INV # >> 16,0,65535  ; little-endian address\n"
    "*\n"
    "1,#{1}^0000:\n2,{2}^010000:\n3,{4},{1}^0000:\n4,{3}^0000:\n5,{5}^0000:\n6,{6}^0000:\n7,{2}^020000:\n"
    "8,{7}^000000:\n9,({8})^000000:\n10,{9}^0000:\n11,{1} ^0000:\n"
    "*\n"
    "NOP^00:\nLD|1-2^10:\nMOV|3^40:\nBR|4^20:\nPUSH|5^30:\nJP|6-7^C0:\nST|8^E0:\nJMPI|9^D0:\nUNDEF|10^F0:\n"
    "BLANK|11^F1:\nNOP A^01:\nLDX|12^F2:\nTWO X,Y^0203:\nnopl^ab:\n";
