#include "Replacements.h"

#include <algorithm>

#include "Scan.h"

bool ReplaceOccurrences(std::string& line, const TRpTxt& record) {
  const std::string& search = record.Search;
  if (search.empty()) return false;
  bool changed = false;
  for (size_t pos = 0; (pos = line.find(search, pos)) != std::string::npos;) {
    size_t end = pos + search.size();
    bool alone = (pos == 0 || !IsNameChar(line[pos - 1])) && (end >= line.size() || !IsNameChar(line[end]));
    if (!alone) {
      ++pos;
      continue;
    }
    line.replace(pos, search.size(), record.Replacement);
    pos += record.Replacement.size();
    changed = true;
  }
  return changed;
}

void TReplacementIndex::Add(TRpTxt* record) {
  // An empty text could never apply, and a text replaced by itself leaves
  // every line as it was (the search goes on behind it all the same).
  if (record->Search.empty() || record->Search == record->Replacement) return;
  auto [it, added] = Groups.try_emplace(record->Search);
  TGroup* group = &it->second;
  group->Ages.push_back(uint32_t(Records.size()));
  Records.push_back(record);
  if (!added) return;
  const std::string& s = record->Search;
  if (IsNameChar(s[0])) {
    size_t n = 1;
    while (n < s.size() && IsNameChar(s[n])) ++n;
    ByWord[s.substr(0, n)].push_back(group);
    WordStarts[uint8_t(s[0])] = true;
  } else {
    ByCharacter[uint8_t(s[0])].push_back(group);
  }
}

void TReplacementIndex::Queue(TGroup* group, uint32_t bound) {
  if (group->Queued) return;
  // The newest of the group's records older than bound.
  auto it = std::lower_bound(group->Ages.begin(), group->Ages.end(), bound);
  if (it == group->Ages.begin()) return;
  group->Queued = true;
  Touched.push_back(group);
  Heap.emplace_back(*(it - 1), group);
  std::push_heap(Heap.begin(), Heap.end());
}

void TReplacementIndex::QueueFrom(const std::string& line, uint32_t bound) {
  for (size_t p = 0; p < line.size();) {
    // Here no name character stands before p.
    if (IsNameChar(line[p])) {
      size_t end = p + 1;
      while (end < line.size() && IsNameChar(line[end])) ++end;
      if (WordStarts[uint8_t(line[p])]) {
        auto found = ByWord.find(std::string_view(line).substr(p, end - p));
        if (found != ByWord.end())
          for (TGroup* g : found->second) Queue(g, bound);
      }
      p = end;  // a word is always followed by a non-name character
    } else {
      for (TGroup* g : ByCharacter[uint8_t(line[p])]) Queue(g, bound);
      ++p;
    }
  }
}

bool TReplacementIndex::Apply(std::string& line, size_t maxLength) {
  if (Records.empty()) return false;
  Heap.clear();
  Touched.clear();
  QueueFrom(line, uint32_t(Records.size()));
  bool changed = false;
  while (!Heap.empty()) {
    std::pop_heap(Heap.begin(), Heap.end());
    auto [age, group] = Heap.back();
    Heap.pop_back();
    if (!ReplaceOccurrences(line, *Records[age])) {
      // The text is absent: so it stays for the older records of the group
      // until a replacement changes the line.
      group->Queued = false;
      continue;
    }
    changed = true;
    if (line.size() > maxLength) line.resize(maxLength);
    // The inserted text, and a word cut short at the end, may hold what older
    // records look for.
    QueueFrom(line, age);
    auto it = std::lower_bound(group->Ages.begin(), group->Ages.end(), age);
    if (it != group->Ages.begin()) {
      Heap.emplace_back(*(it - 1), group);
      std::push_heap(Heap.begin(), Heap.end());
    } else {
      group->Queued = false;
    }
  }
  for (TGroup* g : Touched) g->Queued = false;
  return changed;
}
