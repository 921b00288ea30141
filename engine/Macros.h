// Conditional blocks, macros and text replacement: the steps of the line
// reader and the line processor that change which text the assembler sees.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TTarn;
struct TSymbol;

// One stored source line of a macro definition (raw text with its newline).
struct TMacroLine {
  TMacroLine* Next = nullptr;
  std::string Text;
};

// Where the line being processed came from.
enum class TLineSource : int16_t {
  File,       // a source file (or the substitute END line)
  Body,       // a macro body line, not the last of its expansion
  LastOfBody  // the last stored line of an expansion, normally its ENDM
};

// What the macro mechanism keeps in the engine state beyond the macro state word.
struct TMacroData {
  TSymbol* Defining = nullptr;     // the macro symbol being defined
  TMacroLine* Tail = nullptr;      // last stored line while defining; none for a nameless definition
  TMacroLine* NextLine = nullptr;  // next stored line to replay while expanding
  std::string Formals;             // normalized formal parameter list of the running expansion
  std::string Actuals;             // normalized argument list of the running expansion
  int16_t ExpansionPass = 0;       // the pass the running expansion began in
  uint32_t Chained = 0;            // expansions begun one from the body of the other, in a row
  TLineSource Pending = TLineSource::File;  // set by the line reader for the line it is reading
  TLineSource Source = TLineSource::File;   // of the line being processed
  bool SubstituteEnd = false;      // the line being read is the END put in place of the end of file
  // Every stored line, freed with the engine state. A macro symbol's value is
  // the position of its MACRO line here plus one (0 = no stored line).
  std::vector<std::unique_ptr<TMacroLine>> Owned;
};

// Supplies the next line of a running expansion into the raw line; false when none.
bool ExpandMacroLine(TTarn& t);
// Rewrites the raw line with every text replacement, newest first.
void ApplyReplacements(TTarn& t);
// Appends the raw line to the macro being defined.
void RecordMacroLine(TTarn& t);
// Starts replaying the macro named by the line's opcode.
void BeginExpansion(TTarn& t);
// The main file has ended: the substitute END line must end the pass.
void EndOfMainFile(TTarn& t);
// Directive handlers.
void DoIf(TTarn& t);
void DoElse(TTarn& t);
void DoEndi(TTarn& t);
void DoMacro(TTarn& t);
void DoEndm(TTarn& t);
void DoRptxt(TTarn& t);
