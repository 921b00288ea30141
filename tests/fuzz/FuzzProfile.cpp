// The settings file on arbitrary contents and a script of reads and writes.
// What the file held at the start is learnt by reading it; from then on every
// read must give what the script wrote or deleted, inside a group of writes
// and after it, and a refused write must leave the file as it was.
//
// Input: the file's bytes, a line "=====", then one command per line (no
// marker: the whole input is the file, and a short fixed script runs on it).
// Fields are separated by "|" and take the escapes \n \r \t \0 \\ \xHH.
//   w SECTION|KEY|VALUE   write a string        i SECTION|KEY|NUMBER  write an integer
//   r SECTION|KEY|SIZE    read (SIZE: the buffer, 260 when left out)
//   k SECTION|KEY         delete a key          s SECTION  delete a section
//   h SECTION             does the file have it  l  list the sections
//   b                     begin a group         c  commit a group
#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "FuzzTargets.h"
#include "Profile.h"

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

std::string Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// The integer a value reads as: leading blanks, a sign, the digits that
// follow; none = 0; beyond the range of int the nearest end of it.
int IntOf(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  long long v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) v = std::min(v * 10 + (s[i] - '0'), 1LL << 32);
  if (negative) return v > -(long long)INT_MIN ? INT_MIN : int(-v);
  return v > INT_MAX ? INT_MAX : int(v);
}

class TProfileRun {
 public:
  explicit TProfileRun(const std::string& path) : Path(path), Profile(path) {}

  void Command(std::string_view line) {
    if (line.empty()) return;
    char op = line[0];
    std::string_view rest = line.substr(1);
    if (!rest.empty() && rest[0] == ' ') rest.remove_prefix(1);
    std::vector<std::string> f;
    for (size_t from = 0, bar = 0; bar != std::string_view::npos; from = bar + 1) {
      bar = rest.find('|', from);
      f.push_back(Unescape(rest.substr(from, bar - from)));  // to the line's end when no "|" follows
    }
    while (f.size() < 3) f.emplace_back();
    switch (op) {
      case 'w': Write(f[0], f[1], f[2], false); break;
      case 'i': Write(f[0], f[1], std::to_string(IntOf(f[2])), true); break;
      case 'r': Read(Profile, f[0], f[1], f[2].empty() ? 260 : size_t(std::clamp(IntOf(f[2]), 0, 100000))); break;
      case 'k':
        FUZZ_CHECK(Profile.DeleteKey(f[0], f[1]));
        Values[{Lower(f[0]), Lower(f[1])}] = std::nullopt;
        break;
      case 's': {
        FUZZ_CHECK(Profile.DeleteSection(f[0]));
        std::string section = Lower(f[0]);
        for (auto& [name, value] : Values)
          if (name.first == section) value = std::nullopt;
        Deleted.insert(section);
        Sections[section] = false;
        FUZZ_CHECK(!Profile.HasSection(f[0]));
        break;
      }
      case 'h': HasSection(Profile, f[0]); break;
      case 'l': ListSections(Profile); break;
      case 'b':
        Profile.BeginGroup();
        if (Depth++ == 0) GroupOk = true;
        break;
      case 'c': Commit(); break;
      default: break;
    }
  }

  // Closes any group the script left open, then reads everything known
  // through a second reader of the same file: the writes reached the disk.
  void Finish() {
    while (Depth > 0) Commit();
    TProfile fresh(Path);
    for (const auto& [name, value] : Values) Read(fresh, name.first, name.second, 1 << 20);
    for (const auto& [name, present] : Sections) FUZZ_CHECK(fresh.HasSection(name) == present);
    ListSections(fresh);
  }

 private:
  void Write(const std::string& section, const std::string& key, const std::string& value, bool isInt) {
    // What this line form cannot hold: line breaks anywhere, "=" in or an empty
    // key, "]" in a section; nor names whose blanks or leading "[" or ";" a read
    // would lose.
    bool refused = HasLineBreak(section) || section.find(']') != std::string::npos || Trim(section) != section ||
                   key.empty() || HasLineBreak(key) || key.find('=') != std::string::npos || Trim(key) != key ||
                   key[0] == '[' || key[0] == ';' || HasLineBreak(value);
    bool before = false;
    std::string bytes = Depth == 0 ? ReadFile(Path, &before) : std::string();
    bool ok = isInt ? Profile.WriteInt(section, key, IntOf(value)) : Profile.WriteString(section, key, value);
    FUZZ_CHECK(ok == !refused);
    if (refused) {
      if (Depth > 0) {
        GroupOk = false;
      } else {
        bool after = false;
        FUZZ_CHECK(ReadFile(Path, &after) == bytes && after == before);
      }
      return;
    }
    Values[{Lower(section), Lower(key)}] = Trim(value);
    Sections[Lower(section)] = true;
    Read(Profile, section, key, 1 << 20);
    if (isInt) FUZZ_CHECK(Profile.GetInt(section, key, -7) == IntOf(value));
  }

  // A read gives the known value, or learns it when the file had it from the start.
  void Read(const TProfile& profile, const std::string& section, const std::string& key, size_t size) {
    // Two different defaults tell a missing key from one whose value is the default.
    bool deliveredA = false, deliveredB = false;
    std::string a = profile.GetString(section, key, "\x01?", 1 << 20, &deliveredA);
    std::string b = profile.GetString(section, key, "\x02!", 1 << 20, &deliveredB);
    std::optional<std::string> read;
    if (a == b) read = a;
    else FUZZ_CHECK(a == "\x01?" && b == "\x02!" && deliveredA && deliveredB);
    FUZZ_CHECK(!read || deliveredA == !read->empty());
    auto name = std::make_pair(Lower(section), Lower(key));
    auto known = Values.find(name);
    if (known != Values.end()) FUZZ_CHECK(read == known->second);
    else if (Deleted.count(name.first)) FUZZ_CHECK(!read);
    else Values[name] = read;  // learnt from the file as it was

    // A smaller buffer cuts the value; an integer read agrees with the text.
    bool delivered = true;
    std::string cut = profile.GetString(section, key, "\x03", size, &delivered);
    std::string whole = read ? *read : std::string("\x03");
    FUZZ_CHECK(cut == (size == 0 ? std::string() : whole.substr(0, size - 1)));
    FUZZ_CHECK(delivered == !cut.empty());
    FUZZ_CHECK(profile.GetInt(section, key, -7) == (read ? IntOf(*read) : -7));
  }

  void HasSection(const TProfile& profile, const std::string& section) {
    bool has = profile.HasSection(section);
    auto known = Sections.find(Lower(section));
    if (known != Sections.end()) FUZZ_CHECK(has == known->second);
    else Sections[Lower(section)] = has;
  }

  void ListSections(const TProfile& profile) {
    std::set<std::string> listed;
    for (const std::string& name : profile.Sections()) {
      // A name comes from a header line: it ends at the first "]" and holds no LF
      // (a CR the file had in a header stays).
      FUZZ_CHECK(name.find('\n') == std::string::npos && name.find(']') == std::string::npos);
      listed.insert(Lower(name));
    }
    for (const std::string& name : listed) HasSection(profile, name);
    for (const auto& [name, present] : Sections) FUZZ_CHECK(listed.count(name) == (present ? 1u : 0u));
  }

  void Commit() {
    bool ok = Profile.CommitGroup();
    if (Depth == 0) {
      FUZZ_CHECK(!ok);  // nothing to commit
      return;
    }
    --Depth;
    FUZZ_CHECK(ok == GroupOk);
  }

  std::string Path;
  TProfile Profile;
  // (section, key) in lower case -> the value, or nullopt for a missing key.
  std::map<std::pair<std::string, std::string>, std::optional<std::string>> Values;
  std::map<std::string, bool> Sections;  // known to be there or not
  std::set<std::string> Deleted;         // sections deleted: none of their old keys are left
  int Depth = 0;
  bool GroupOk = true;
};

}  // namespace

int FuzzProfileOne(const uint8_t* data, size_t size) {
  std::vector<std::string_view> parts = SplitAtMarkers(AsText(data, size), 2);
  std::string_view script = parts.size() == 2 ? parts[1] : "l\nw Fuzz|Key|Value\nr Fuzz|Key\nk Fuzz|Key\ns Fuzz\nl\n";
  TRunDir dir;
  std::string path = dir.Path + "/t.ini";
  if (dir.Path.empty() || !WriteFile(path, parts[0])) return 0;
  TProfileRun run(path);
  ForEachLine(script, [&](std::string_view line) { run.Command(line); });
  run.Finish();
  return 0;
}
