// Names that the workbench compares without regard to letter case: settings
// sections and keys, recent-file paths, paths from the error file.
#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

inline bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}
