#include "Symbols.h"

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
  std::memcpy(s->Name, name.data(), name.size());
  return s;
}

static bool IsStop(char c) {
  return c == '\0' || c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '|' ||
         c == '^';
}

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

void TSymbolTable::Append(TSymbol* s) {
  s->Next = nullptr;
  s->NextSame = nullptr;
  if (Tail) Tail->Next = s; else Head = s;
  Tail = s;
  auto [it, added] = Index.try_emplace(FirstWord(std::string_view(s->Name, s->NameLength)), Chain{s, s});
  if (!added) {
    it->second.Last->NextSame = s;
    it->second.Last = s;
  }
}

TSymbol* TSymbolTable::FirstWithWord(std::string_view word) const {
  auto it = Index.find(word);
  return it == Index.end() ? nullptr : it->second.First;
}

void TNumberedTable::Append(unsigned bucket, TSymbol* s) {
  bucket &= 255;
  s->Next = nullptr;
  if (Tails[bucket]) Tails[bucket]->Next = s; else Heads[bucket] = s;
  Tails[bucket] = s;
}
