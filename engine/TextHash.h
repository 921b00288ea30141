// Short texts and byte strings, the size of most of what a line holds: a
// fast 64-bit hash (source lines, line shapes), where two different texts
// giving the same value is as likely as guessing a 64-bit number, so a value
// that agrees stands for the text it was taken from; and loads, copies and
// fills of a few bytes without a library call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

inline uint64_t MixBits(uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return h;
}

// 1 to 3 bytes in place by three loads that may repeat a byte.
inline uint64_t TinyBytes(const char* text, size_t length) {
  size_t middle = length / 2, last = length - 1;
  return uint64_t(uint8_t(text[0])) | uint64_t(uint8_t(text[middle])) << (8 * middle) |
         uint64_t(uint8_t(text[last])) << (8 * last);
}

// Copies and fills of a few bytes, the usual size here, by at most two
// overlapping loads or stores: a library call costs more than the bytes.
inline uint64_t LoadShort(const char* text, size_t length) {  // length at most 8
  uint32_t first = 0, last = 0;
  if (length >= 4) {
    std::memcpy(&first, text, 4);
    std::memcpy(&last, text + length - 4, 4);
    return uint64_t(first) | uint64_t(last) << (8 * (length - 4));
  }
  return length > 0 ? TinyBytes(text, length) : 0;
}

inline void FillShort(uint8_t* at, uint8_t value, size_t count) {
  if (count > 16) {
    std::memset(at, value, count);
  } else if (count >= 8) {
    uint64_t word = 0x0101010101010101ull * value;
    std::memcpy(at, &word, 8);
    std::memcpy(at + count - 8, &word, 8);
  } else if (count >= 4) {
    uint32_t word = 0x01010101u * value;
    std::memcpy(at, &word, 4);
    std::memcpy(at + count - 4, &word, 4);
  } else if (count > 0) {
    at[0] = at[count / 2] = at[count - 1] = value;
  }
}

// The first and the last word of count bytes, which may overlap: all of them
// when count is between one and two words.
template <typename TWord>
inline void CopyEnds(uint8_t* to, const uint8_t* from, size_t count) {
  TWord head, tail;
  std::memcpy(&head, from, sizeof head);
  std::memcpy(&tail, from + count - sizeof tail, sizeof tail);
  std::memcpy(to, &head, sizeof head);
  std::memcpy(to + count - sizeof tail, &tail, sizeof tail);
}

inline void CopyShort(void* to, const void* from, size_t count) {
  auto* t = static_cast<uint8_t*>(to);
  auto* f = static_cast<const uint8_t*>(from);
  if (count > 16) {
    std::memcpy(t, f, count);
  } else if (count >= 8) {
    CopyEnds<uint64_t>(t, f, count);
  } else if (count >= 4) {
    CopyEnds<uint32_t>(t, f, count);
  } else if (count > 0) {
    uint8_t first = f[0], middle = f[count / 2], last = f[count - 1];
    t[0] = first;
    t[count / 2] = middle;
    t[count - 1] = last;
  }
}

// The characters of a name of 1 to 8 characters as one number (the rest
// zero); false for any other name.
inline bool ShortText(std::string_view name, uint64_t& text) {
  if (name.empty() || name.size() > 8) return false;
  text = LoadShort(name.data(), name.size());
  return true;
}

// Never 0, so that 0 can stand for "nothing".
inline uint64_t HashText(const char* text, size_t length, uint64_t seed) {
  uint64_t h = seed ^ (uint64_t(length) * 0x9E3779B97F4A7C15ull);
  size_t i = 0;
  for (; i + 8 <= length; i += 8) {
    uint64_t word;
    std::memcpy(&word, text + i, 8);
    h = (h ^ word) * 0x9E3779B97F4A7C15ull;
    h ^= h >> 29;
  }
  size_t rest = length - i;
  if (rest > 0) {
    // The last 1 to 7 bytes: two 4-byte reads that may overlap (the length,
    // mixed in above, tells them apart), or the bytes in place.
    uint64_t word = 0;
    if (rest >= 4) {
      uint32_t first, last;
      std::memcpy(&first, text + i, 4);
      std::memcpy(&last, text + length - 4, 4);
      word = uint64_t(first) | uint64_t(last) << 32;
    } else {
      word = TinyBytes(text + i, rest);
    }
    h = (h ^ word) * 0x9E3779B97F4A7C15ull;
  }
  return MixBits(h) | 1;
}
