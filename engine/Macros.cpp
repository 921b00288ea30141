// Conditional assembly, macros and text replacement are not yet acted upon:
// their directives are known by name and read nothing but their line.
#include "Macros.h"

#include "Tarn.h"

bool ExpandMacroLine(TTarn&) { return false; }
void ApplyReplacements(TTarn&) {}
void RecordMacroLine(TTarn&) {}
void BeginExpansion(TTarn&) {}
void EndOfMainFile(TTarn&) {}
void DoIf(TTarn& t) { t.ConsumeLine(); }
void DoElse(TTarn& t) { t.ConsumeLine(); }
void DoEndi(TTarn& t) { t.ConsumeLine(); }
void DoMacro(TTarn& t) { t.ConsumeLine(); }
void DoEndm(TTarn& t) { t.ConsumeLine(); }
void DoRptxt(TTarn& t) { t.ConsumeLine(); }
