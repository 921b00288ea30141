// The editor's line store: the text of one source file as an ordered list of
// lines. A line holds no line-end byte (LF or CR); every other byte value,
// TAB and NUL included, is kept as it is. The store never becomes empty: an
// empty text is one empty line.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Loading stops at this many lines: ((2^30 - 1) div 1000 - 1) * 1000.
inline constexpr std::int64_t MaxLines = 1073740000;

class TLineStore {
public:
  using TIndex = std::int64_t;

  // Room for the first 10001 lines is taken at once, so that typical source
  // files never reallocate the line index while they are loaded or edited.
  TLineStore() {
    Lines.reserve(10001);
    Lines.emplace_back();
  }
  TLineStore(const TLineStore&) = delete;
  TLineStore& operator=(const TLineStore&) = delete;

  TIndex Count() const { return static_cast<TIndex>(Lines.size()); }
  TIndex LastLine() const { return Count() - 1; }
  TIndex Length(TIndex i) const { return static_cast<TIndex>(At(i).size()); }

  const std::string& operator[](TIndex i) const { return At(i); }
  std::string& operator[](TIndex i) { return const_cast<std::string&>(At(i)); }

  void Append(std::string line) { Lines.push_back(std::move(line)); }

  // Inserts before index i; i == Count() appends.
  void Insert(TIndex i, std::string line) {
    assert(i >= 0 && i <= Count());
    Lines.insert(Lines.begin() + i, std::move(line));
  }

  // Inserts many lines before index i with one move of the later lines.
  void InsertRange(TIndex i, std::vector<std::string>&& lines) {
    assert(i >= 0 && i <= Count());
    Lines.insert(Lines.begin() + i, std::make_move_iterator(lines.begin()),
                 std::make_move_iterator(lines.end()));
  }

  // Removes lines [first, first + n). The last remaining line is never removed.
  void Remove(TIndex first, TIndex n = 1) {
    assert(first >= 0 && n >= 0 && first + n <= Count());
    if (n >= Count()) {
      Reset();
      return;
    }
    Lines.erase(Lines.begin() + first, Lines.begin() + first + n);
  }

  // Drops every line; the store then holds one empty line.
  void Reset() {
    Lines.clear();
    Lines.emplace_back();
  }

  // Takes over a whole text at once (loading); an empty list becomes one empty line.
  void Assign(std::vector<std::string>&& lines) {
    Lines = std::move(lines);
    if (Lines.empty())
      Lines.emplace_back();
  }

private:
  const std::string& At(TIndex i) const {
    assert(i >= 0 && i < Count());
    return Lines[static_cast<std::size_t>(i)];
  }

  std::vector<std::string> Lines;
};
