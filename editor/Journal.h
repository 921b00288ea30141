// The undo journal: one plain record per elementary change, newest on top.
// An entry says what happened and where; reversing it goes through the
// editor's own editing operations, unjournaled.
#pragma once

#include "BufferPos.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class TTarnEditText;

// The most characters one deletion record holds; larger deletions are split
// into chained records, which Undo joins again to restore them in one step.
inline constexpr std::size_t DeleteChunk = 32759;

class JournalEntry {
public:
  JournalEntry(const TBufferPos& where, bool chained) : Where(where), Chained(chained) {}
  virtual ~JournalEntry() = default;
  virtual void Undo(TTarnEditText&) {}

  TBufferPos Where;
  // After undoing this entry, the next older entry is undone too: it belongs
  // to the same user action.
  bool Chained;
};

// Count characters were inserted at Where; each line break counts as one.
class JEInsert : public JournalEntry {
public:
  JEInsert(const TBufferPos& where, std::int64_t count, bool chained)
      : JournalEntry(where, chained), Count(count) {}
  void Undo(TTarnEditText& editor) override;

  std::int64_t Count;
};

// Text was deleted at Where; each deleted line end is an LF in Text.
class JEDelete : public JournalEntry {
public:
  JEDelete(const TBufferPos& where, std::string text, bool chained)
      : JournalEntry(where, chained), Text(std::move(text)) {}
  void Undo(TTarnEditText& editor) override;

  std::string Text;
};

// Last in, first out; owns its entries and has no size limit.
class TJournal {
public:
  bool Empty() const { return Entries.empty(); }
  std::size_t Size() const { return Entries.size(); }
  void Push(std::unique_ptr<JournalEntry> entry) { Entries.push_back(std::move(entry)); }
  std::unique_ptr<JournalEntry> Pop() {
    std::unique_ptr<JournalEntry> top = std::move(Entries.back());
    Entries.pop_back();
    return top;
  }
  const JournalEntry& Top() const { return *Entries.back(); }
  // Entry i counted from the oldest, for inspection.
  const JournalEntry& operator[](std::size_t i) const { return *Entries[i]; }
  void Clear() { Entries.clear(); }

private:
  std::vector<std::unique_ptr<JournalEntry>> Entries;
};
