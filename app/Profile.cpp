#include "Profile.h"
#include "SafeWrite.h"
#include "TextCompare.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Blanks around names and values do not count; nor does a stray carriage
// return, which a file edited on another system may carry before its line end.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool HasLineBreak(const std::string& s) {
  return s.find_first_of("\r\n") != std::string::npos;
}

// Names are stored trimmed, as they are read back trimmed.
bool ValidSection(const std::string& s) {
  return !HasLineBreak(s) && s.find(']') == std::string::npos && Trim(s) == s;
}
bool ValidKey(const std::string& k) {
  return !k.empty() && !HasLineBreak(k) && k.find('=') == std::string::npos && Trim(k) == k && k[0] != '[' &&
         k[0] != ';';
}

using TSections = std::vector<TProfile::TSection>;

TProfile::TSection* FindSection(TSections& sections, const std::string& name) {
  for (auto& s : sections)
    if (s.HasHeader && SameTextIgnoringCase(s.Name, name)) return &s;
  return nullptr;
}
const TProfile::TSection* FindSection(const TSections& sections, const std::string& name) {
  return FindSection(const_cast<TSections&>(sections), name);
}

TProfile::TLine* FindKey(TProfile::TSection& section, const std::string& key) {
  for (auto& l : section.Lines)
    if (!l.Key.empty() && SameTextIgnoringCase(l.Key, key)) return &l;
  return nullptr;
}

bool SectionEmpty(const TProfile::TSection& s) {
  for (const auto& l : s.Lines)
    if (!l.Key.empty()) return false;
  return true;
}

}  // namespace

TProfile::TProfile(std::string path) : FilePath(std::move(path)) {}

const std::string& TProfile::Path() const { return FilePath; }

std::vector<TProfile::TSection> TProfile::Load() const {
  TSections sections;
  std::ifstream in(FilePath, std::ios::binary);
  if (!in) return sections;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string t = Trim(line);
    if (!t.empty() && t[0] == '[') {
      size_t close = t.find(']');
      if (close != std::string::npos) {
        sections.push_back(TSection{Trim(t.substr(1, close - 1)), true, {}});
        continue;
      }
    }
    if (sections.empty()) sections.push_back(TSection{"", false, {}});
    TLine l;
    l.Raw = line;
    size_t eq = t.find('=');
    if (!t.empty() && t[0] != ';' && eq != std::string::npos && eq > 0) {
      l.Key = Trim(t.substr(0, eq));
      l.Value = Trim(t.substr(eq + 1));
    }
    sections.back().Lines.push_back(std::move(l));
  }
  return sections;
}

bool TProfile::Store(const TSections& sections) const {
  std::error_code ec;
  bool empty = true;
  for (const auto& s : sections)
    if (s.HasHeader || !SectionEmpty(s)) empty = false;
  fs::path target(FilePath);
  // Remove or write the file a link points at, not the link.
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::canonical(target, ec);
    if (!ec) target = resolved;
  }
  if (empty) {
    fs::remove(target, ec);
    return !ec;
  }

  std::string text;
  for (const auto& s : sections) {
    if (s.HasHeader) text += "[" + s.Name + "]\n";
    for (const auto& l : s.Lines) text += (l.Key.empty() ? l.Raw : l.Key + "=" + l.Value) + "\n";
  }

  // The settings file keeps its links, owner and mode, and a failed write
  // leaves the previous settings in it.
  return WriteFileKeepingIdentity(target.string(), text).Ok;
}

namespace {
// The value of SECTION/KEY, or nullptr when the file lacks it.
const std::string* Lookup(const TSections& sections, const std::string& section, const std::string& key) {
  const TProfile::TSection* s = FindSection(sections, section);
  if (!s) return nullptr;
  const TProfile::TLine* l = FindKey(const_cast<TProfile::TSection&>(*s), key);
  return l ? &l->Value : nullptr;
}
}  // namespace

int TProfile::GetInt(const std::string& section, const std::string& key, int def) const {
  const TSections loaded = GroupDepth > 0 ? TSections() : Load();
  const std::string* text = Lookup(GroupDepth > 0 ? GroupSections : loaded, section, key);
  if (!text) return def;
  const std::string& t = *text;
  size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
  // Saturate rather than overflow on absurdly long digit runs.
  long long value = 0;
  for (; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i)
    value = std::min(value * 10 + (t[i] - '0'), static_cast<long long>(INT_MAX) + 1);
  if (negative) value = -value;
  return static_cast<int>(std::min(value, static_cast<long long>(INT_MAX)));
}

std::string TProfile::GetString(const std::string& section, const std::string& key, const std::string& def,
                                size_t size, bool* delivered) const {
  const TSections loaded = GroupDepth > 0 ? TSections() : Load();
  const std::string* text = Lookup(GroupDepth > 0 ? GroupSections : loaded, section, key);
  std::string result = text ? *text : def;
  if (size == 0)
    result.clear();
  else if (result.size() > size - 1)
    result.resize(size - 1);
  if (delivered) *delivered = !result.empty();
  return result;
}

std::vector<TProfile::TSection>& TProfile::Working() {
  if (GroupDepth > 0) return GroupSections;
  Scratch = Load();
  return Scratch;
}

bool TProfile::Finish(bool ok) {
  if (GroupDepth > 0) {
    if (!ok) GroupOk = false;
    GroupDirty = true;
    return ok;
  }
  return ok && Store(Scratch);
}

bool TProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (!ValidSection(section) || !ValidKey(key) || HasLineBreak(value)) return Finish(false);
  TSections& sections = Working();
  TSection* s = FindSection(sections, section);
  if (!s) {
    sections.push_back(TSection{section, true, {}});
    s = &sections.back();
  }
  // Blanks around a value do not survive a read, as with the platform's own
  // service; stored trimmed, a value reads the same inside a group and after it.
  const std::string stored = Trim(value);
  if (TLine* l = FindKey(*s, key)) {
    l->Value = stored;
  } else {
    // New keys go after the section's last entry, ahead of any trailing blank lines.
    auto at = s->Lines.end();
    while (at != s->Lines.begin() && (at - 1)->Key.empty() && Trim((at - 1)->Raw).empty()) --at;
    s->Lines.insert(at, TLine{key, stored, ""});
  }
  return Finish(true);
}

bool TProfile::WriteInt(const std::string& section, const std::string& key, int value) {
  return WriteString(section, key, std::to_string(value));
}

void TProfile::BeginGroup() {
  if (GroupDepth++ == 0) {
    GroupSections = Load();
    GroupOk = true;
    GroupDirty = false;
  }
}

bool TProfile::CommitGroup() {
  if (GroupDepth == 0) return false;
  if (--GroupDepth > 0) return GroupOk;
  bool ok = GroupOk;
  if (GroupDirty) ok = Store(GroupSections) && ok;
  GroupSections.clear();
  return ok;
}

bool TProfile::DeleteSection(const std::string& section) {
  TSections& sections = Working();
  bool found = false;
  for (auto it = sections.begin(); it != sections.end();) {
    if (it->HasHeader && SameTextIgnoringCase(it->Name, section)) {
      it = sections.erase(it);
      found = true;
    } else {
      ++it;
    }
  }
  return found ? Finish(true) : true;
}

bool TProfile::DeleteKey(const std::string& section, const std::string& key) {
  TSections& sections = Working();
  TSection* s = FindSection(sections, section);
  if (!s || !FindKey(*s, key)) return true;
  std::erase_if(s->Lines, [&](const TLine& l) { return !l.Key.empty() && SameTextIgnoringCase(l.Key, key); });
  return Finish(true);
}

bool TProfile::HasSection(const std::string& section) const {
  const TSections loaded = GroupDepth > 0 ? TSections() : Load();
  return FindSection(GroupDepth > 0 ? GroupSections : loaded, section) != nullptr;
}

std::vector<std::string> TProfile::Sections() const {
  const TSections loaded = GroupDepth > 0 ? TSections() : Load();
  std::vector<std::string> names;
  for (const auto& s : GroupDepth > 0 ? GroupSections : loaded)
    if (s.HasHeader) names.push_back(s.Name);
  return names;
}
