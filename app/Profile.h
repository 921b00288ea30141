// A private-profile file of [Section] and key=value lines, read and written one value at a time.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Section and key names compare without regard to case; the file keeps the order of sections
// and keys as they were first written; a write of an existing key replaces its value in place;
// writes go through a temporary file in the same directory and a rename (never a half-written
// file); reads of a missing file or key give the default. Integers are written as signed
// decimal and read like the platform's GetPrivateProfileInt (leading blanks, optional sign,
// leading digits; no digits = 0).
class TProfile {
 public:
  explicit TProfile(std::string path);  // e.g. "TarnW4.INI" in the current directory
  const std::string& Path() const;

  int GetInt(const std::string& section, const std::string& key, int def) const;
  // Reads into a buffer of SIZE characters including the terminator: a longer value is cut
  // to SIZE-1 characters. *delivered (if given) is set to whether any text came back.
  std::string GetString(const std::string& section, const std::string& key, const std::string& def,
                        size_t size = 260, bool* delivered = nullptr) const;
  // A value holding a line break, a key holding '=' or a line break, an empty key or a section
  // holding ']' or a line break cannot be stored in this line form: such writes fail.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInt(const std::string& section, const std::string& key, int value);

  // Several writes in one go (the desktop is one group): Begin..Commit writes the file once.
  // Groups nest; only the outermost Commit writes. Commit reports false when any write of the
  // group was refused or the file could not be replaced.
  void BeginGroup();
  bool CommitGroup();

  // Removes a whole section or one key; true when the file no longer holds it. A file left
  // without any section or key is deleted.
  bool DeleteSection(const std::string& section);
  bool DeleteKey(const std::string& section, const std::string& key);
  bool HasSection(const std::string& section) const;
  // Section names in file order.
  std::vector<std::string> Sections() const;

  // One line of the file; Key is empty for lines kept as they were (blank lines, comments).
  struct TLine {
    std::string Key, Value, Raw;
  };
  struct TSection {
    std::string Name;
    bool HasHeader = true;  // false for lines ahead of the first section header
    std::vector<TLine> Lines;
  };

 private:
  std::vector<TSection> Load() const;
  bool Store(const std::vector<TSection>& sections) const;
  // The sections to work on: the group's copy inside a group, else a fresh load.
  std::vector<TSection>& Working();
  bool Finish(bool ok);

  std::string FilePath;
  int GroupDepth = 0;
  bool GroupOk = true;
  bool GroupDirty = false;
  std::vector<TSection> GroupSections;
  std::vector<TSection> Scratch;
};
