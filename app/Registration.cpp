#include "Registration.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "Profile.h"

namespace fs = std::filesystem;

namespace {

const char* const DefaultValue = "@";
const char* const ApplicationIcon = "Tarn.Application\\DefaultIcon";
const char* const DocumentIcon = "Tarn.Document.1\\DefaultIcon";

}  // namespace

std::string RegistrationStorePath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  fs::path base;
  // Relative values are to be ignored, as the base directory convention asks.
  if (xdg && *xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) return "";
    base = fs::path(home) / ".config";
  }
  return (base / "tarnex" / "registry.ini").string();
}

bool WriteRegistration(const std::string& exePath) {
  std::string store = RegistrationStorePath();
  if (store.empty()) return false;
  std::error_code ec;
  fs::create_directories(fs::path(store).parent_path(), ec);
  if (ec) return false;
  TProfile profile(store);
  profile.BeginGroup();
  profile.WriteString(ApplicationIcon, DefaultValue, exePath);
  profile.WriteString(DocumentIcon, DefaultValue, exePath + ",1");
  profile.WriteString(".txt", DefaultValue, "Tarn.Document.1");
  return profile.CommitGroup();
}

bool RemoveRegistration() {
  std::string store = RegistrationStorePath();
  if (store.empty()) return false;
  std::error_code ec;
  if (!fs::exists(store, ec)) return !ec;
  TProfile profile(store);
  profile.BeginGroup();
  for (const char* key : {ApplicationIcon, DocumentIcon, "Tarn.Application", "Tarn.Document.1", ".txt"})
    profile.DeleteSection(key);
  return profile.CommitGroup();
}

bool WantsUnregister(const std::vector<std::string>& args) {
  static const std::string Option = "unregister";
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  for (const std::string& word : args) {
    size_t i = 0, n = word.size();
    while (i < n) {
      while (i < n && blank(word[i])) ++i;
      if (i >= n) break;
      if (word[i] != '-' && word[i] != '/') {
        // A plain word (a file name) runs to the next blank.
        while (i < n && !blank(word[i])) ++i;
        continue;
      }
      // One or more options; an option may follow the previous one's name directly ("/a/b").
      while (i < n && (word[i] == '-' || word[i] == '/')) {
        size_t start = ++i;
        while (i < n && word[i] != '=' && word[i] != '/' && !blank(word[i])) ++i;
        size_t length = i - start;
        bool same = length <= Option.size();
        for (size_t k = 0; same && k < length; ++k)
          same = std::tolower(static_cast<unsigned char>(word[start + k])) == Option[k];
        if (same) return true;
        if (i < n && word[i] == '=') {
          // The option's value runs to the next blank; it is never an option itself.
          while (i < n && !blank(word[i])) ++i;
        }
      }
    }
  }
  return false;
}
