// Runs the engine on source text in a temporary directory and reads back what it wrote.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "Diagnostics.h"

struct TRunResult {
  std::string Listing, Object, Errors;  // file contents; the directory shows as "$DIR"
  uint16_t ErrorCount = 0;
  int Passes = 0;
  uint32_t Checksum = 0;
  std::vector<TDiagnostic> LastPass;    // errors of the last pass as the engine reported them
  std::vector<std::string> Progress;    // "field:text" in call order
};

class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  const std::string& Path() const { return Dir; }
  void Write(const std::string& name, const std::string& content) const;  // dated an hour back
  std::string Read(const std::string& name) const;

 private:
  std::string Dir;
};

// Assembles main.asm (the source) with the extra files beside it, from inside
// the temporary directory; outputs are main.LST, main.HEX and main.ERR.
TRunResult AssembleText(const std::string& source, const std::map<std::string, std::string>& files = {});
// The same in an existing directory, with chosen output names ("" = not wanted).
// plainMatching: match instructions without the engine's caches.
TRunResult AssembleIn(const TTempDir& dir, const std::string& main, const std::string& listing,
                      const std::string& object, const std::string& errors, bool plainMatching = false,
                      const std::function<void(int field, const char* text)>& progress = {});

// A source and what its run must give; parts left unset are not checked.
struct TSourceCase {
  std::string Source;
  const char* Bytes = nullptr;   // the binary image as Hex() shows it
  int Error = 0;                 // the first error of the last pass, 0 = none
  int Column = 0;                // that error's column
  int Passes = 0;
  const char* Errors = nullptr;  // every error of the last pass, "number:line" each; then Error is not read
  std::map<std::string, std::string> Files = {};  // beside main.asm
};
void PrintTo(const TSourceCase& c, std::ostream* os);
// Assembles HEAD and the case's source with FILES and the case's own beside it.
TRunResult ExpectRun(const TSourceCase& c, const std::string& head = "\tHOF \"BIN8\"\n",
                     const std::map<std::string, std::string>& files = {});

// A CPU table for an imaginary processor with every kind of field, group and name list.
extern const char ImaginaryTable[];

std::string ReadFile(const std::string& path);
std::string Hex(const std::string& bytes);  // "01 02 0A"
