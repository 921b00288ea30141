#include "Symbols.h"
#include "TextHash.h"

#include <algorithm>
#include <cstring>

TSymbol* TSymbolArena::Allocate(std::string_view name, uint32_t extra) {
  size_t size = offsetof(TSymbol, Name) + name.size() + 1 + extra;
  size = (size + alignof(TSymbol) - 1) & ~(alignof(TSymbol) - 1);
  if (Used + size > Capacity) {
    size_t block = size > 65536 ? size : 65536;
    Blocks.emplace_back(new char[block]);
    Used = 0;
    Capacity = block;
  }
  char* p = Blocks.back().get() + Used;
  Used += size;
  std::memset(p, 0, size);
  auto* s = reinterpret_cast<TSymbol*>(p);
  s->NameLength = uint32_t(name.size());
  if (!name.empty()) std::memcpy(s->Name, name.data(), name.size());
  return s;
}

namespace {
// The characters that end a name's first word; a table, since every lookup
// runs this over every character of the name.
struct TStops {
  bool Stop[256] = {};
  TStops() {
    for (char c : {'\0', ' ', '\t', '\n', '\v', '\f', '\r', '|', '^'}) Stop[uint8_t(c)] = true;
  }
};
const TStops Stops;
}  // namespace

static bool IsStop(char c) { return Stops.Stop[uint8_t(c)]; }

std::string_view FirstWord(std::string_view name) {
  size_t n = 0;
  while (n < name.size() && !IsStop(name[n])) ++n;
  return name.substr(0, n);
}

int MatchName(std::string_view key, const char* name) {
  size_t i = 0;
  for (; i < key.size(); ++i) {
    if (key[i] != name[i]) return int(uint8_t(key[i])) - int(uint8_t(name[i]));
  }
  char c = name[i];
  if (c == '\0' || (c != '\0' && IsStop(c))) return 0;
  return -int(uint8_t(c));
}

namespace {
uint64_t HashWord(std::string_view word) {
  return HashText(word.data(), word.size(), 0);  // never 0, which marks an empty slot
}
}  // namespace

TSymbolTable::TSlot* TSymbolTable::Find(std::string_view word, uint64_t hash) const {
  size_t mask = Slots.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const TSlot& slot = Slots[i];
    if (slot.Hash == 0) return const_cast<TSlot*>(&slot);
    if (slot.Hash != hash || slot.WordLength != word.size()) continue;
    const char* name = slot.First ? slot.First->Name : LocalLists[slot.LocalList - 1].Oldest->Name;
    if (std::memcmp(name, word.data(), word.size()) == 0) return const_cast<TSlot*>(&slot);
  }
}

void TSymbolTable::Grow() {
  std::vector<TSlot> old(Slots.size() * 2);
  old.swap(Slots);
  size_t mask = Slots.size() - 1;
  for (const TSlot& slot : old) {
    if (slot.Hash == 0) continue;
    size_t i = slot.Hash & mask;
    while (Slots[i].Hash != 0) i = (i + 1) & mask;
    Slots[i] = slot;
  }
}

void TSymbolTable::Append(TSymbol* s, uint32_t expansion) {
  s->Next = nullptr;
  s->NextSame = nullptr;
  s->Serial = Serial++;
  if (s->ClassBits() == ClassInstruction || s->ClassBits() == ClassDirective) ++Opcodes;
  Records.push_back(s);
  if (Tail) Tail->Next = s; else Head = s;
  Tail = s;
  std::string_view word = FirstWord(std::string_view(s->Name, s->NameLength));
  uint64_t hash = HashWord(word);
  TSlot* slot = Find(word, hash);
  if (slot->Hash == 0) {
    *slot = TSlot{hash, nullptr, nullptr, uint32_t(word.size()), 0};
    ++Used;
  }
  if (expansion == 0) {
    if (slot->Last) slot->Last->NextSame = s; else slot->First = s;
    slot->Last = s;
  } else {
    if (slot->LocalList == 0) {
      LocalLists.push_back(TLocalList{s, {}});
      slot->LocalList = uint32_t(LocalLists.size());
    }
    // Expansions are numbered in the order they begin, so a new copy normally
    // goes at the end; inserting after its equals keeps the order of age.
    std::vector<TLocal>& list = LocalLists[slot->LocalList - 1].Items;
    auto at = std::upper_bound(list.begin(), list.end(), expansion,
                               [](uint32_t e, const TLocal& l) { return e < l.Expansion; });
    list.insert(at, TLocal{expansion, s});
  }
  if (Used * 2 > Slots.size()) Grow();
}

TSymbolTable::TWord TSymbolTable::Lookup(std::string_view word) const {
  const TSlot* slot = Find(word, HashWord(word));
  return slot->Hash ? TWord{slot->First, slot->LocalList} : TWord{};
}

TSymbol* TSymbolTable::FirstLocal(const TWord& word) const {
  return word.LocalList ? LocalLists[word.LocalList - 1].Oldest : nullptr;
}

TSymbol* TSymbolTable::LocalOf(const TWord& word, uint32_t expansion) const {
  if (!word.LocalList) return nullptr;
  const std::vector<TLocal>& list = LocalLists[word.LocalList - 1].Items;
  auto at = std::lower_bound(list.begin(), list.end(), expansion,
                             [](const TLocal& l, uint32_t e) { return l.Expansion < e; });
  return at != list.end() && at->Expansion == expansion ? at->Symbol : nullptr;
}

void TNumberedTable::Append(unsigned bucket, TSymbol* s) {
  bucket &= 255;
  s->Next = nullptr;
  if (Tails[bucket]) Tails[bucket]->Next = s; else Heads[bucket] = s;
  Tails[bucket] = s;
}
