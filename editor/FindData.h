// Search settings of one editor, in the shape the system's find and replace
// dialogs exchange them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr std::uint32_t FR_DOWN = 1;
inline constexpr std::uint32_t FR_WHOLEWORD = 2;
inline constexpr std::uint32_t FR_MATCHCASE = 4;
inline constexpr std::uint32_t FR_FINDNEXT = 8;
inline constexpr std::uint32_t FR_REPLACE = 16;
inline constexpr std::uint32_t FR_REPLACEALL = 32;
inline constexpr std::uint32_t FR_DIALOGTERM = 64;

struct TFindData {
  // The dialogs' text fields hold at most this many characters (80 plus the
  // terminator); the dialog enforces it, the search works on any length.
  static constexpr std::size_t BufferSize = 81;

  std::uint32_t Flags = FR_DOWN;
  std::string FindWhat;
  std::string ReplaceWith;
};
