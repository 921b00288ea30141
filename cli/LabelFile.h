// Label files for debuggers and emulators: every label of the run with its
// value, as EQU lines INCL reads back, as VICE monitor commands, or as JSON.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TTarn;
struct TSymbol;

enum class TLabelFormat { Equ, Vice, Json };
// The form of a name as --label-format takes it (any letter case); false for none.
bool LabelFormatByName(std::string_view name, TLabelFormat& format);

struct TLabel {
  std::string Name;
  int32_t Value = 0;
  bool Variable = false;  // a SETL name, which a source may set again
  std::string File;       // where its last definition stood; empty for a -D name
  uint32_t Line = 0;
};

// Where each label last took its value, kept from TTarn::OnLabelDefined when
// the label file wants it; file names are kept once each. Entries are keyed
// by the label's record: every record is reported when it is made, so when
// the engine starts a run afresh, an entry left from the first run is always
// overwritten before a new record at the same address is looked up.
class TLabelOrigins {
 public:
  void Record(const TSymbol& label, const std::string& file, uint32_t line);
  void Fill(const TSymbol& label, TLabel& into) const;

 private:
  struct TOrigin { uint32_t File; uint32_t Line; };
  std::unordered_map<const TSymbol*, TOrigin> Origins;
  std::vector<std::string> Files;
  uint32_t LastFile = 0;
};

// The labels the source and -D defined, with their values after the last
// pass, sorted by value (as 32-bit unsigned, the order of the hex digits
// shown) then name. Built-in names and the copies a macro expansion makes of
// its labels are left out.
std::vector<TLabel> CollectLabels(const TTarn& tarn, const TLabelOrigins* origins);

// The file's text. A label the form cannot hold is left out and described
// in leftOut.
std::string FormatLabels(const std::vector<TLabel>& labels, TLabelFormat format, std::vector<std::string>& leftOut);
