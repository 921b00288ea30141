// The symbol record and the tables that hold every name the assembler knows.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// Type code bit groups.
constexpr uint32_t ClassMask = 0x70000000;
constexpr uint32_t ClassDirective = 0x10000000;
constexpr uint32_t ClassInstruction = 0x20000000;
constexpr uint32_t ClassMacro = 0x30000000;
constexpr uint32_t ClassLabel = 0x40000000;
constexpr uint32_t ClassOperator = 0x50000000;
constexpr uint32_t FlagsMask = 0x0F000000;
constexpr uint32_t TypeLabel = 0x40010000;
constexpr uint32_t TypeVariable = 0x42010000;  // SETL symbols and macro-local labels
constexpr uint32_t TypeMacro = 0x30000000;

// One record of any engine table. The name is stored in the same allocation,
// followed by its terminator and, for CPU table records, the code bytes.
struct TSymbol {
  TSymbol* Next;      // insertion order over the whole table (or its bucket)
  TSymbol* NextSame;  // next record whose name starts with the same word
  uint32_t Type;
  int32_t Value;
  uint32_t NameLength;
  uint32_t Serial;    // insertion order: which of two records is the older
  char Name[1];

  uint8_t* Code() { return reinterpret_cast<uint8_t*>(Name + NameLength + 1); }
  uint32_t ClassBits() const { return Type & ClassMask; }
};

// Owns the memory of all records of one run; nothing is freed until the run ends.
class TSymbolArena {
 public:
  // Returns a zero-filled record with room for the name and extra bytes; throws std::bad_alloc.
  TSymbol* Allocate(std::string_view name, uint32_t extra);

 private:
  std::vector<std::unique_ptr<char[]>> Blocks;
  size_t Used = 0, Capacity = 0;
};

// The first word of a record name: what a lookup key is compared with. A CPU
// table record carries its whole pattern; only the mnemonic names it.
std::string_view FirstWord(std::string_view name);

// 0 when the key names the record: equal texts, or the key ends where the
// record's name goes on with a blank, "|" or "^".
int MatchName(std::string_view key, const char* name);

// The symbol table. Lookups find the oldest matching record, as a chained
// table in insertion order would, but through an index on the first word so
// that their cost does not grow with the number of symbols.
//
// Labels local to a macro expansion are kept apart from the chain of their
// word, ordered by expansion: a macro that invokes itself makes a copy of each
// of its labels per expansion, and a lookup must find the copy of the current
// expansion without walking all the others.
class TSymbolTable {
 public:
  // expansion: the macro expansion a label is local to; 0 for every other record.
  void Append(TSymbol* s, uint32_t expansion = 0);
  // What the table holds for one first word, found with one probe.
  struct TWord {
    TSymbol* First = nullptr;  // the oldest record that is not local to an expansion, followed through NextSame
    uint32_t LocalList = 0;    // its local labels, if any
  };
  TWord Lookup(std::string_view word) const;
  TSymbol* FirstWithWord(std::string_view word) const { return Lookup(word).First; }
  // The oldest local label of the word, of any expansion or of the one given.
  TSymbol* FirstLocal(const TWord& word) const;
  TSymbol* LocalOf(const TWord& word, uint32_t expansion) const;
  TSymbol* First() const { return Head; }
  // The record of a place in insertion order (its Serial).
  TSymbol* At(uint32_t serial) const { return Records[serial]; }
  // Counts the instruction and directive records appended, from 1: what an
  // opcode lookup found holds while it stays the same.
  uint32_t OpcodeGeneration() const { return Opcodes; }

 private:
  // Open addressing with linear probing: one probe is usually one cache line,
  // which matters with a hundred thousand labels.
  // WordLength: the length of the first word of the slot's names, kept so that
  // a probe compares without scanning the stored name again.
  struct TSlot {
    uint64_t Hash;
    TSymbol* First;      // chain of records that are not local labels; may be empty
    TSymbol* Last;
    uint32_t WordLength;
    uint32_t LocalList;  // 1 + index into LocalLists, 0 = no local labels
  };
  struct TLocal { uint32_t Expansion; TSymbol* Symbol; };
  struct TLocalList {
    TSymbol* Oldest;            // the first copy appended
    std::vector<TLocal> Items;  // ordered by expansion, then age
  };
  TSlot* Find(std::string_view word, uint64_t hash) const;
  void Grow();
  std::vector<TSlot> Slots = std::vector<TSlot>(1024);
  std::vector<TLocalList> LocalLists;
  std::vector<TSymbol*> Records;  // by serial
  size_t Used = 0;
  uint32_t Serial = 0;
  uint32_t Opcodes = 1;
  TSymbol* Head = nullptr;
  TSymbol* Tail = nullptr;
};

// A CPU table section: 256 buckets selected by number modulo 256, file order kept.
struct TNumberedTable {
  TSymbol* Heads[256] = {};
  TSymbol* Tails[256] = {};
  void Append(unsigned bucket, TSymbol* s);
};
