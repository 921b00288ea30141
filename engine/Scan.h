// Cursors over engine texts. Every text a cursor reads ends with a newline
// followed by a terminating zero, and a cursor never moves past that newline.
#pragma once

#include <cstdint>

// The classes of characters, by table: every character of every line is
// classed, most of them more than once.
enum : uint8_t { CharLetter = 1, CharDigit = 2, CharNameMark = 4, CharFieldMark = 8, CharHexLetter = 16 };
struct TCharClasses {
  uint8_t Of[256] = {};
  constexpr TCharClasses() {
    for (int c = 'A'; c <= 'Z'; ++c) Of[c] = Of[c + 32] = CharLetter;
    for (int c = 'A'; c <= 'F'; ++c) Of[c] = Of[c + 32] = CharLetter | CharHexLetter;
    for (int c = '0'; c <= '9'; ++c) Of[c] = CharDigit;
    Of[int('_')] = Of[int('?')] = CharNameMark;
    Of[int(':')] = Of[int('.')] = CharFieldMark;
  }
};
inline constexpr TCharClasses CharClasses;
inline uint8_t ClassOf(char c) { return CharClasses.Of[uint8_t(c)]; }

inline bool IsNameChar(char c) { return (ClassOf(c) & (CharLetter | CharDigit | CharNameMark)) != 0; }
inline bool IsLetter(char c) { return (ClassOf(c) & CharLetter) != 0; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsHexDigit(char c) { return (ClassOf(c) & (CharDigit | CharHexLetter)) != 0; }
inline bool IsFieldChar(char c) { return ClassOf(c) != 0; }
// What starts a name, and what a name or number token goes on with.
inline bool IsNameStart(char c) { return IsLetter(c) || c == '_' || c == '.' || c == '?'; }
inline bool IsTokenChar(char c) { return IsNameChar(c) || c == '.'; }
inline char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

struct TScan {
  char* Start = nullptr;
  char* Cur = nullptr;

  void Reset(char* text) { Start = Cur = text; }

  // The newline (or a stray terminator) is returned without advancing.
  char GetChar() {
    char c = *Cur;
    if (c != '\n' && c != '\0') ++Cur;
    return c;
  }
  void UngetChar(char c) {
    if (c != '\n' && c != '\0' && Cur > Start) --Cur;
  }
  char Peek() const { return *Cur; }
  void SkipBlanks() {
    while (*Cur == ' ' || *Cur == '\t') ++Cur;
  }
  bool AtEnd() const { return *Cur == '\n' || *Cur == '\0'; }

  // Copies a name (letters, digits, "_", "?", ".") that does not contain the
  // separator character. The buffer holds at most size - 1 characters.
  // Returns the length copied.
  int ReadName(char* buffer, int size, char separator) {
    SkipBlanks();
    int n = 0;
    while ((IsNameChar(*Cur) || *Cur == '.') && *Cur != separator) {
      if (n < size - 1) buffer[n++] = *Cur;
      ++Cur;
    }
    buffer[n] = '\0';
    return n;
  }

  // The field that begins with first, the character just read (a field
  // character is never the newline, which is not consumed): where it starts
  // and its length, in the text itself; returns the character after it,
  // consumed. An empty field when first does not belong to one.
  char ReadField(char first, const char*& start, int& length) {
    start = Cur;
    length = 0;
    if (!IsFieldChar(first)) return first;
    start = Cur - 1;
    while (IsFieldChar(*Cur)) ++Cur;
    length = int(Cur - start);
    return GetChar();
  }
};
