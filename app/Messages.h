// Output file names of a run and navigation over the error file the engine writes.
#pragma once
#include <cstdint>
#include <string>

// The three output names beside the main file: directory + base name + ".LST", ".HEX", ".ERR".
// The extension is what follows the last '.' of the file name itself; a name that starts with
// its only dot (".hidden") has no extension. An empty main file gives empty names.
struct TOutputNames {
  std::string Listing, Object, Errors;
};
TOutputNames OutputNames(const std::string& mainFile);

// One step of Next error (+1) / Previous error (-1): updates INDEX, reads the error file and
// fills OUT from the line whose number is the index (the last line when the file is shorter,
// the index then following it). Returns false when the file cannot be opened (the index keeps
// its new value) or holds no line at all.
struct TMessage {
  bool HasText = false;    // a ')' was found: StatusText and HelpContext are valid
  std::string StatusText;  // "Message #%d: %s.  <Ctrl+F1> for Help"
  int HelpContext = 0;     // error number + 100
  bool HasFile = false;    // a '(' was found
  std::string FileName;    // as written in the error file (upper-cased full path)
  uint32_t Line = 1, Column = 1;  // as the error file carries them (the editor's lines go past 65535)
};
bool StepMessage(const std::string& errorFile, uint16_t& index, int direction, TMessage& out);

// Parses one line of the error file (without or with its line end) as message number INDEX.
TMessage ParseMessageLine(const std::string& line, int index);

// The error file carries upper-cased full paths; on this case-sensitive file system resolve
// such a path to the existing file by matching each directory and the file name without
// regard to case (exact match preferred at each step). Returns PATH unchanged when nothing
// matches.
std::string ResolvePathIgnoringCase(const std::string& path);
