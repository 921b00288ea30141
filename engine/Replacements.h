// Text replacement (RPTXT) over every line read: the records, newest first,
// each applied to what the newer ones left.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

struct TRpTxt {
  std::string Search, Replacement;
  TRpTxt* Next = nullptr;
};

struct TTextRange {
  size_t Start = 0, End = 0;
};

// Replaces every occurrence of the record's text whose neighbours are not
// name characters; the search goes on behind the inserted text. True when
// anything was replaced; inserted, when given, receives where each inserted
// text stands in the line as it is left, in order.
bool ReplaceOccurrences(std::string& line, const TRpTxt& record, std::vector<TTextRange>* inserted = nullptr);

// Finds the records that can apply to a line without trying every one. An
// occurrence counts only where no name character stands before it, so a text
// that starts with a name character can only match where a word of the line
// equals its first word, and a text that starts with another character only
// where that character follows a non-name character (or starts the line).
// Records with the same text form a group: once a group's text is absent
// from the line, none of its records is tried again until a replacement puts
// the text back.
class TReplacementIndex {
 public:
  TReplacementIndex() = default;
  TReplacementIndex(const TReplacementIndex&) = delete;
  TReplacementIndex& operator=(const TReplacementIndex&) = delete;

  // record is the newest of all so far.
  void Add(TRpTxt* record);
  bool Empty() const { return Records.empty(); }
  // Applies every record, newest first, exactly as trying each in turn would;
  // after each record a line longer than maxLength is cut there. True when
  // anything was replaced.
  bool Apply(std::string& line, size_t maxLength);

 private:
  struct TGroup {
    std::vector<uint32_t> Ages;   // of its records, oldest first
    std::vector<uint32_t> Texts;  // with Ages: the number of each one's replacement
    // By replacement: the version of the line it was found to leave as it
    // was, and how many of them are known so for the version LeftAloneVersion.
    std::vector<uint64_t> LeftAlone;
    uint64_t LeftAloneVersion = 0;
    size_t LeftAloneCount = 0;
    bool Queued = false;
  };
  // Queues the groups whose key stands in the line at a place from "from" to
  // before "to", with their newest record older than bound.
  void QueueFrom(const std::string& line, size_t from, size_t to, uint32_t bound);
  // The same around each of Inserted: after a replacement, only there can a
  // text appear that was not in the line before.
  void QueueAround(const std::string& line, uint32_t bound);
  void Queue(TGroup* group, uint32_t bound);

  struct THash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  std::vector<TRpTxt*> Records;  // by age: index 0 is the oldest
  std::unordered_map<std::string, TGroup, THash, std::equal_to<>> Groups;
  std::unordered_map<std::string, std::vector<TGroup*>, THash, std::equal_to<>> ByWord;
  std::vector<TGroup*> ByCharacter[256];
  bool WordStarts[256] = {};  // first characters of the words in ByWord: other words need no lookup
  std::vector<std::pair<uint32_t, TGroup*>> Heap;  // newest record first
  std::vector<TGroup*> Touched;
  std::vector<TTextRange> Inserted;
  size_t LongestSearch = 0;
  std::vector<uint32_t> PlaceInGroup;  // by age: its place in its group's Ages
  std::unordered_map<std::string, uint32_t> TextNumbers;  // search and replacement: its number in the group
  // The line changes version with every replacement that changes it.
  uint64_t Version = 0;
  std::string Before;
  std::vector<TGroup*> Parked;  // their text stands in the line, but none of their replacements changes it
  // The steps taken from a line at its longest: from which of its texts,
  // by which group and replacement, to which text, and the groups found
  // around what was inserted. The texts are numbered as they are met.
  struct TStep {
    TGroup* Group = nullptr;
    uint32_t Text = 0;
    int32_t From = -1, To = -1;
    bool Same = false;
    std::vector<TGroup*> Found;
  };
  static constexpr size_t MaxSteps = 256;
  std::unordered_map<uint64_t, TStep> Steps;
  std::vector<std::string> StateTexts;
  std::unordered_map<uint64_t, int32_t> StateByHash;
  int32_t State = -1;  // the number of the line's text, -1 when not known
  int32_t StateOf(const std::string& line);  // -1 when there is no room for another
  TStep* Recording = nullptr;  // the step being taken for the first time
  void Found(TGroup* group, uint32_t bound);  // a group whose key stands where the line is scanned
};
