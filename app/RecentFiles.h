// The recent-file list: section "MRU" of the settings file, MRU0 the most recent.
#pragma once
#include <string>
#include <vector>

#include "Profile.h"

class TRecentFiles {
 public:
  // The first command id of the recent-file menu entries; entry i has id FirstCommandId + i.
  static constexpr int FirstCommandId = 31990;
  static constexpr int Limit = 10;

  TRecentFiles(std::string iniPath, int maxEntries);  // writes Count at once; max limited to 10
  int MaxEntries() const;
  // Moves PATH to the top (MRU0), removing an entry that names it in any letter case;
  // the last entry falls off when the list is full. An empty path, or one holding a line
  // break, is not recorded.
  void Push(const std::string& path);
  std::string Entry(int index) const;        // "" when missing
  std::vector<std::string> Entries() const;  // index order, empty entries included (size = max)
  std::string EntryForCommand(int id) const;  // id - 31990
  const std::string& IniPath() const { return Profile.Path(); }

 private:
  // "Count" as the file holds it now, kept within 0..10.
  int StoredCount() const;

  TProfile Profile;
  int Max;
};
