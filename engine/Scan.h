// Cursors over engine texts. Every text a cursor reads ends with a newline
// followed by a terminating zero, and a cursor never moves past that newline.
#pragma once

inline bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '?';
}
inline bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
inline bool IsFieldChar(char c) { return IsNameChar(c) || c == ':' || c == '.'; }
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

  // Copies the given first character (when it belongs to a field) and the
  // following field characters; returns the character after the field, consumed.
  char ReadField(char* buffer, int size, char first) {
    int n = 0;
    char c = first;
    while (IsFieldChar(c)) {
      if (n < size - 1) buffer[n++] = c;
      c = GetChar();
    }
    buffer[n] = '\0';
    return c;
  }
};
