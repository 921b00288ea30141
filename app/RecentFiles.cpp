#include "RecentFiles.h"
#include "TextCompare.h"

#include <algorithm>
#include <cctype>

namespace {

const char* const Section = "MRU";

std::string KeyOf(int index) { return "MRU" + std::to_string(index); }


// Paths on this system may be far longer than the 259 characters of the old menu buffer;
// a cut path would open some other file.
constexpr size_t PathBuffer = 4096;

}  // namespace

TRecentFiles::TRecentFiles(std::string iniPath, int maxEntries)
    : Profile(std::move(iniPath)), Max(std::clamp(maxEntries, 0, Limit)) {
  Profile.WriteInt(Section, "Count", Max);
}

int TRecentFiles::MaxEntries() const { return Max; }

int TRecentFiles::StoredCount() const { return std::clamp(Profile.GetInt(Section, "Count", Max), 0, Limit); }

std::string TRecentFiles::Entry(int index) const {
  if (index < 0 || index >= StoredCount()) return "";
  return Profile.GetString(Section, KeyOf(index), "", PathBuffer);
}

std::vector<std::string> TRecentFiles::Entries() const {
  std::vector<std::string> list;
  int count = StoredCount();
  for (int i = 0; i < count; ++i) list.push_back(Profile.GetString(Section, KeyOf(i), "", PathBuffer));
  return list;
}

std::string TRecentFiles::EntryForCommand(int id) const { return Entry(id - FirstCommandId); }

void TRecentFiles::Push(const std::string& path) {
  // A line break cannot be stored in the settings file's line form.
  if (path.empty() || path.find_first_of("\r\n") != std::string::npos) return;
  std::vector<std::string> list = Entries();
  if (list.empty()) return;
  auto found = std::find_if(list.begin(), list.end(), [&](const std::string& e) { return SameTextIgnoringCase(e, path); });
  if (found != list.end()) {
    list.erase(found);
    list.push_back("");
  }
  list.pop_back();
  list.insert(list.begin(), path);
  Profile.BeginGroup();
  for (size_t i = 0; i < list.size(); ++i) Profile.WriteString(Section, KeyOf(int(i)), list[i]);
  Profile.CommitGroup();
}
