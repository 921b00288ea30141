#include "Replacements.h"

#include <algorithm>

#include "Scan.h"
#include "TextHash.h"

bool ReplaceOccurrences(std::string& line, const TRpTxt& record, std::vector<TTextRange>* inserted) {
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
    // Replacements go left to right, so a range noted here keeps its place.
    if (inserted) inserted->push_back({pos, pos + record.Replacement.size()});
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
  // Records of a group with the same replacement share a number of the
  // group's own. Most groups hold one record: the numbers are looked up by
  // text only from a group's second record on.
  auto numberOf = [&](const TRpTxt& r) {
    std::string key = std::to_string(r.Search.size()) + ':' + r.Search + r.Replacement;
    auto [text, newText] = TextNumbers.try_emplace(std::move(key), uint32_t(group->LeftAlone.size()));
    if (newText) group->LeftAlone.push_back(0);
    return text->second;
  };
  if (group->Ages.size() == 1) {
    group->LeftAlone.clear();
    numberOf(*Records[group->Ages[0]]);
  }
  uint32_t text = 0;
  if (group->Ages.empty()) group->LeftAlone.push_back(0);
  else text = numberOf(*record);
  PlaceInGroup.push_back(uint32_t(group->Ages.size()));
  group->Ages.push_back(uint32_t(Records.size()));
  group->Texts.push_back(text);
  Records.push_back(record);
  LongestSearch = std::max(LongestSearch, record->Search.size());
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

int32_t TReplacementIndex::StateOf(const std::string& line) {
  uint64_t hash = HashText(line.data(), line.size(), 0);
  auto known = StateByHash.find(hash);
  if (known != StateByHash.end()) return StateTexts[size_t(known->second)] == line ? known->second : -1;
  if (StateTexts.size() >= MaxSteps) return -1;
  StateByHash.emplace(hash, int32_t(StateTexts.size()));
  StateTexts.push_back(line);
  return int32_t(StateTexts.size() - 1);
}

void TReplacementIndex::Found(TGroup* group, uint32_t bound) {
  if (Recording) Recording->Found.push_back(group);
  Queue(group, bound);
}

void TReplacementIndex::QueueFrom(const std::string& line, size_t from, size_t to, uint32_t bound) {
  // Start where no name character stands before, as an occurrence must.
  size_t p = std::min(from, line.size());
  while (p > 0 && IsNameChar(line[p - 1])) --p;
  to = std::min(to, line.size());
  while (p < to) {
    // Here no name character stands before p.
    if (IsNameChar(line[p])) {
      size_t end = p + 1;
      while (end < line.size() && IsNameChar(line[end])) ++end;
      if (WordStarts[uint8_t(line[p])]) {
        auto found = ByWord.find(std::string_view(line).substr(p, end - p));
        if (found != ByWord.end())
          for (TGroup* g : found->second) Found(g, bound);
      }
      p = end;  // a word is always followed by a non-name character
    } else {
      for (TGroup* g : ByCharacter[uint8_t(line[p])]) Found(g, bound);
      ++p;
    }
  }
}

void TReplacementIndex::QueueAround(const std::string& line, uint32_t bound) {
  // A text an older record looks for can only be new where it overlaps or
  // touches an inserted text (a neighbour that was a name character may be
  // gone): it starts at most LongestSearch characters before one, and no
  // later than just after it. Overlapping windows are scanned once.
  size_t scanned = 0;
  for (const TTextRange& r : Inserted) {
    // A range is clamped to the line, which may have been cut behind it.
    size_t start = std::min(r.Start, line.size()), end = std::min(r.End, line.size());
    size_t from = std::max(scanned, start > LongestSearch ? start - LongestSearch : 0);
    size_t to = end + 1;
    if (from < to) QueueFrom(line, from, to, bound);
    scanned = std::max(scanned, to);
  }
}

bool TReplacementIndex::Apply(std::string& line, size_t maxLength) {
  if (Records.empty()) return false;
  Heap.clear();
  Touched.clear();
  Parked.clear();
  Steps.clear();
  StateTexts.clear();
  StateByHash.clear();
  State = -1;
  ++Version;  // a new line: nothing is known to leave it alone
  QueueFrom(line, 0, line.size(), uint32_t(Records.size()));
  bool changed = false;
  while (!Heap.empty()) {
    std::pop_heap(Heap.begin(), Heap.end());
    auto [age, group] = Heap.back();
    Heap.pop_back();
    // A record whose replacement is known to leave the line as it stands
    // (a line at its longest, cut again where it was) is passed over; when
    // every replacement of the group is known so, the group waits for the
    // line to change.
    if (group->LeftAloneVersion == Version && group->LeftAloneCount == group->LeftAlone.size()) {
      group->Queued = false;
      Parked.push_back(group);
      continue;
    }
    size_t k = PlaceInGroup[age];
    while (group->LeftAlone[group->Texts[k]] == Version && k > 0) --k;
    if (k != PlaceInGroup[age]) {
      if (group->LeftAlone[group->Texts[k]] == Version) {
        group->Queued = false;  // every older record leaves the line alone
        Parked.push_back(group);
      } else {
        // Newer records of other groups still come first.
        Heap.emplace_back(group->Ages[k], group);
        std::push_heap(Heap.begin(), Heap.end());
      }
      continue;
    }
    uint32_t text = group->Texts[k];
    // At its longest a line can come back to a text it had, the records of a
    // group turning it from one text to another and back: each step from a
    // text met before is taken as it was the first time.
    TStep* step = nullptr;
    bool first = false;  // the step is being taken for the first time
    uint64_t key = 0;
    if (line.size() == maxLength) {
      if (State < 0) State = StateOf(line);
      if (State >= 0) {
        key = MixBits(uint64_t(State) << 32 ^ text ^ reinterpret_cast<uintptr_t>(group) * 0x9E3779B97F4A7C15ull);
        auto known = Steps.find(key);
        if (known != Steps.end() && known->second.Group == group && known->second.Text == text &&
            known->second.From == State) {
          step = &known->second;
        } else if (Steps.size() < MaxSteps) {
          step = &Steps[key];
          step->Group = group;
          step->Text = text;
          step->From = State;
          step->To = -1;
          step->Same = false;
          step->Found.clear();
          first = true;
        }
      }
    }
    bool same;
    if (step && !first) {
      changed = true;
      same = step->Same;
      if (!same) {
        line = StateTexts[size_t(step->To)];
        State = step->To;
        ++Version;
        for (TGroup* g : step->Found) Queue(g, age);
        for (TGroup* g : Parked) Queue(g, age);
        Parked.clear();
      }
    } else {
      Before = line;
      Inserted.clear();
      if (!ReplaceOccurrences(line, *Records[age], &Inserted)) {
        // The text is absent: so it stays for the older records of the group
        // until a replacement changes the line.
        if (first) Steps.erase(key);
        group->Queued = false;
        continue;
      }
      changed = true;
      if (line.size() > maxLength) {
        line.resize(maxLength);
        Inserted.push_back({maxLength, maxLength});
      }
      same = line == Before;
      if (!same) {
        ++Version;
        State = -1;
        // The inserted texts, and a word cut short at the end, may hold what
        // older records look for; a waiting group may now change the line.
        Recording = first ? step : nullptr;
        QueueAround(line, age);
        Recording = nullptr;
        for (TGroup* g : Parked) Queue(g, age);
        Parked.clear();
      }
      if (first) {
        step->Same = same;
        if (!same) State = StateOf(line);
        step->To = State;
        if (State < 0) Steps.erase(key);  // no room for the text it leads to
      }
    }
    if (same) {
      if (group->LeftAloneVersion != Version) {
        group->LeftAloneVersion = Version;
        group->LeftAloneCount = 0;
      }
      group->LeftAlone[text] = Version;
      ++group->LeftAloneCount;
    }
    if (k > 0) {
      Heap.emplace_back(group->Ages[k - 1], group);
      std::push_heap(Heap.begin(), Heap.end());
    } else {
      group->Queued = false;
    }
  }
  for (TGroup* g : Touched) g->Queued = false;
  return changed;
}
