#include "LabelFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "Tarn.h"

bool LabelFormatByName(std::string_view name, TLabelFormat& format) {
  static const std::pair<const char*, TLabelFormat> Names[] = {
      {"equ", TLabelFormat::Equ}, {"vice", TLabelFormat::Vice}, {"json", TLabelFormat::Json}};
  for (const auto& [text, value] : Names) {
    if (name.size() == std::strlen(text) && strncasecmp(name.data(), text, name.size()) == 0) {
      format = value;
      return true;
    }
  }
  return false;
}

void TLabelOrigins::Record(const TSymbol& label, const std::string& file, uint32_t line) {
  // Definitions come file after file, so the last file's index is nearly
  // always the one; a label may be defined a million times over five passes.
  if (Files.empty() || Files[LastFile] != file) {
    auto at = std::find(Files.begin(), Files.end(), file);
    LastFile = uint32_t(at - Files.begin());
    if (at == Files.end()) Files.push_back(file);
  }
  Origins[&label] = TOrigin{LastFile, line};
}

void TLabelOrigins::Fill(const TSymbol& label, TLabel& into) const {
  auto at = Origins.find(&label);
  if (at == Origins.end()) return;
  into.File = Files[at->second.File];
  into.Line = at->second.Line;
}

std::vector<TLabel> CollectLabels(const TTarn& tarn, const TLabelOrigins* origins) {
  std::vector<TLabel> labels;
  for (const TSymbol* s = tarn.Symbols.First(); s; s = s->Next) {
    if (s->ClassBits() != ClassLabel) continue;
    std::string_view name(s->Name, s->NameLength);
    // A copy made by a macro expansion is kept apart from its word's chain;
    // its type alone cannot tell it from a SETL name once expansions number
    // past 65535.
    bool global = false;
    for (const TSymbol* g = tarn.Symbols.FirstWithWord(FirstWord(name)); g && !global; g = g->NextSame)
      global = g == s;
    if (!global) continue;
    TLabel label;
    label.Name = name;
    label.Value = s->Value;
    label.Variable = (s->Type & FlagsMask) != 0;
    if (origins) origins->Fill(*s, label);
    labels.push_back(std::move(label));
  }
  std::sort(labels.begin(), labels.end(), [](const TLabel& a, const TLabel& b) {
    if (a.Value != b.Value) return uint32_t(a.Value) < uint32_t(b.Value);
    return a.Name < b.Name;
  });
  return labels;
}

namespace {

// At least 4 digits, more when the value needs them; a negative value shows
// its 32 bits, which the expression reader takes back as the same value.
std::string HexDigits(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%04lX", (unsigned long)uint32_t(value));
  return text;
}

// A source line holds 253 characters before its newline, and a TAB stop may
// lie up to 40 columns on (TAB 40 in the source that reads the file back):
// names that could push the value past the end are written with single
// blanks, and a name too long even for that cannot be read back at all.
constexpr size_t LineCharacters = LineSize - 3;
constexpr size_t WidestTab = 40;

bool EquLine(const TLabel& label, std::string& out) {
  const char* directive = label.Variable ? "SETL" : "EQU";
  std::string value = '$' + HexDigits(label.Value);
  size_t plain = label.Name.size() + 1 + std::strlen(directive) + 1 + value.size();
  if (plain - 2 + 2 * WidestTab <= LineCharacters) {
    out += label.Name + "\t" + directive + "\t" + value + "\n";
  } else if (plain <= LineCharacters) {
    out += label.Name + " " + directive + " " + value + "\n";
  } else {
    return false;
  }
  return true;
}

// The VICE monitor's addresses are 16 bits and its label names letters,
// digits, "_", "?", "@" and ":", after the dot that marks them.
bool ViceLine(const TLabel& label, std::string& out, std::string& why) {
  if (label.Value < 0 || label.Value > 0xFFFF) {
    why = "its value $";
    why += HexDigits(label.Value) + " is not an address from $0000 to $FFFF";
    return false;
  }
  if (label.Name.find('.') != std::string::npos) {
    why = "the VICE monitor reads no '.' in a label name";
    return false;
  }
  out += "al C:" + HexDigits(label.Value) + " ." + label.Name + "\n";
  return true;
}

// A JSON string: quotes, backslashes and control characters escaped, and a
// byte that is not part of valid UTF-8 (a file name is any bytes) replaced by
// U+FFFD, so that every JSON reader accepts the file.
std::string JsonString(const std::string& text) {
  std::string out = "\"";
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  size_t n = text.size();
  for (size_t i = 0; i < n;) {
    unsigned char c = p[i];
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
      ++i;
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
      ++i;
    } else if (c < 0x80) {
      out += char(c);
      ++i;
    } else {
      size_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
      bool valid = length > 0 && i + length <= n;
      for (size_t k = 1; valid && k < length; ++k) valid = (p[i + k] & 0xC0) == 0x80;
      // No overlong forms, surrogates or code points past U+10FFFF.
      if (valid && length == 3)
        valid = !(c == 0xE0 && p[i + 1] < 0xA0) && !(c == 0xED && p[i + 1] >= 0xA0);
      if (valid && length == 4)
        valid = !(c == 0xF0 && p[i + 1] < 0x90) && !(c == 0xF4 && p[i + 1] >= 0x90);
      if (valid) {
        out.append(text, i, length);
        i += length;
      } else {
        out += "\\ufffd";
        ++i;
      }
    }
  }
  return out + "\"";
}

}  // namespace

std::string FormatLabels(const std::vector<TLabel>& labels, TLabelFormat format, std::vector<std::string>& leftOut) {
  std::string out;
  if (format == TLabelFormat::Json) {
    out = "[";
    for (size_t i = 0; i < labels.size(); ++i) {
      const TLabel& l = labels[i];
      out += i == 0 ? "\n  " : ",\n  ";
      out += "{\"name\": " + JsonString(l.Name) + ", \"value\": " + std::to_string(l.Value) + ", \"file\": ";
      // A -D name was defined by no file.
      out += l.File.empty() ? "null, \"line\": null}" : JsonString(l.File) + ", \"line\": " + std::to_string(l.Line) + "}";
    }
    out += labels.empty() ? "]\n" : "\n]\n";
    return out;
  }
  for (const TLabel& l : labels) {
    std::string why = "the name is too long for a source line";
    bool written = format == TLabelFormat::Equ ? EquLine(l, out) : ViceLine(l, out, why);
    if (!written) leftOut.push_back(l.Name + ": " + why);
  }
  return out;
}
