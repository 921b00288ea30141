// Conditional blocks, macros and text replacement: the steps of the line
// reader and the line processor that change which text the assembler sees.
#pragma once

class TTarn;

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
