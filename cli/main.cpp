// tarn: the command-line assembler, for scripts, build systems and editors.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <new>
#include <string>
#include <unistd.h>
#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#endif
#include <vector>

#include "DependencyFile.h"
#include "LabelFile.h"
#include "ReplaceFile.h"
#include "Tarn.h"

namespace {

// A run of tarn is short and touches most of the memory it takes once, a
// large source tens of megabytes of it (what is kept of each line between
// passes, the symbol index as it doubles). Page by page that is thousands of
// page faults, a tenth of the run. So the heap grows by one large step first,
// what is freed stays in it for reuse, and the kernel is asked to back it with
// huge pages where it offers them on request. Nothing depends on it: where a
// call is refused or a limit on the process's memory leaves no room for the
// step, memory is handed out page by page as before.
void PrepareHeap() {
#if defined(__linux__) && defined(__GLIBC__)
  constexpr size_t Step = size_t(64) << 20, Huge = size_t(2) << 20;
  // mallopt answers 1 when the C library's own allocator took the setting
  // (not so under a sanitizer's allocator, whose heap lies elsewhere).
  if (mallopt(M_MMAP_THRESHOLD, 32 << 20) != 1) return;  // large blocks from the heap too (32 MB is the most glibc takes)
  mallopt(M_TRIM_THRESHOLD, int(4 * Step));  // freed memory kept for reuse
  mallopt(M_TOP_PAD, int(Step));
  char* grow = static_cast<char*>(std::malloc(Huge));
  mallopt(M_TOP_PAD, 128 * 1024);  // later growth by the usual steps
  if (!grow) return;
  uintptr_t start = (reinterpret_cast<uintptr_t>(grow) + Huge - 1) & ~uintptr_t(Huge - 1);
  uintptr_t end = reinterpret_cast<uintptr_t>(sbrk(0)) & ~uintptr_t(Huge - 1);
  size_t gap = start - reinterpret_cast<uintptr_t>(grow);
  std::free(grow);
  if (end <= start || madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE) != 0) return;
  // Only whole aligned huge pages can be backed so: what lies before the
  // first is set aside, never touched, so that what follows comes from there.
  [[maybe_unused]] static void* volatile setAside;
  if (gap > 4096) setAside = std::malloc(gap - 2 * sizeof(size_t));
#endif
}

const char Usage[] =
    "usage: tarn [options] SOURCE\n"
    "Assembles SOURCE and writes its listing, object and error files beside it\n"
    "(base name with .LST, .HEX and .ERR).\n"
    "\n"
    "  -l FILE         write the listing to FILE\n"
    "  -o FILE         write the object file to FILE\n"
    "  -e FILE         write the error file to FILE\n"
    "  --no-listing    write no listing\n"
    "  --no-object     write no object file\n"
    "  --no-errors     write no error file (error lines go to standard output)\n"
    "  -I DIR          look for CPU tables and included files also in DIR\n"
    "  -D NAME[=VALUE] define NAME before the first line of every pass, as NAME EQU VALUE\n"
    "                  would (VALUE an expression, 1 when left out); repeatable\n"
    "  -f, --format F  start every pass with object format F (BIN8, INT8, INHX8M, MOT8,\n"
    "                  BIN16, INT16, MOT16, BIN32, MOT32; any letter case); HOF in the\n"
    "                  source still switches from there. Default INT16\n"
    "  -MD             also write a make dependency file: the object file as target, the\n"
    "                  source, CPU table and INCL files as prerequisites\n"
    "  -MF FILE        write it to FILE (default: the object file's name with .d)\n"
    "  -MT TARGET      name the rule's target TARGET, written as given (default: the\n"
    "                  object file; needed with --no-object); repeatable\n"
    "  -MP             add an empty rule for each included file and CPU table, so make\n"
    "                  goes on when one of them is removed\n"
    "  --labels FILE   write every label and its value to FILE, sorted by value\n"
    "  --label-format F\n"
    "                  the label file's form: equ (NAME EQU $XXXX lines that INCL reads\n"
    "                  back; the default), vice (al C:XXXX .NAME for the VICE monitor)\n"
    "                  or json (name, value, file and line of each label)\n"
    "  -q              no progress line and no summary\n"
    "  --explain LINE  show how the instruction on LINE of SOURCE is matched against the\n"
    "                  CPU table: each candidate and sub-pattern, where and why it stopped\n"
    "  --help          show this help\n"
    "  --version       show the version\n"
    "\n"
    "Errors are also printed on standard error as FILE:LINE:COLUMN: error: TEXT [N].\n"
    "The dependency and label files are written after the last pass, errors or not.\n"
    "Exit status: 0 without errors, 1 with errors (also when the dependency or label\n"
    "file cannot be written), 2 for a usage error (also when an output file would be\n"
    "the source file itself, or the dependency or label file another output), 3 when\n"
    "memory ran out (the files being written may be incomplete).\n";

// The output names derived from the source: same directory, base name
// without its extension, upper-case extensions.
std::string Beside(const std::string& source, const char* extension) {
  size_t slash = source.find_last_of('/');
  size_t dot = source.find_last_of('.');
  std::string base = (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ? source.substr(0, dot)
                                                                                               : source;
  return base + extension;
}

struct TProgressLine {
  bool Live = false;
  std::string Fields[8];
  std::chrono::steady_clock::time_point LastPaint{};
  bool Painted = false;

  void Update(const char* text, int field) {
    if (field < FieldPass || field > FieldChecksum) return;
    Fields[field - FieldPass] = text;
    if (!Live || Fields[0].empty()) return;
    auto now = std::chrono::steady_clock::now();
    if (Painted && now - LastPaint < std::chrono::milliseconds(100) && field != FieldPass) return;
    LastPaint = now;
    Painted = true;
    std::string file = Fields[FieldCurrentFile - FieldPass];
    size_t slash = file.find_last_of('/');
    if (slash != std::string::npos) file = file.substr(slash + 1);
    std::fprintf(stderr, "\rpass %s  %s  lines %s  errors %s\033[K", Trim(Fields[0]).c_str(), file.c_str(),
                 Trim(Fields[FieldTotalLines - FieldPass]).c_str(), Trim(Fields[FieldTotalErrors - FieldPass]).c_str());
    std::fflush(stderr);
  }
  void Clear() {
    if (Live && Painted) std::fputs("\r\033[K", stderr);
  }
  static std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a);
  }
};

// One error of the last pass, kept small: a program with millions of faulty
// lines must not need gigabytes to report them.
struct TCompactError {
  uint32_t File;  // index into the file names
  uint32_t Line;
  uint16_t Column;
  uint8_t Number;
};

class TErrorList {
 public:
  void Clear() {
    Errors.clear();
    Errors.shrink_to_fit();
  }
  void Add(const TDiagnostic& d) {
    if (Files.empty() || Files[LastFile].first != d.FullPath || Files[LastFile].second != d.Name) {
      LastFile = Files.size();
      for (size_t i = 0; i < Files.size(); ++i)
        if (Files[i].first == d.FullPath && Files[i].second == d.Name) LastFile = i;
      if (LastFile == Files.size()) Files.emplace_back(d.FullPath, d.Name);
    }
    Errors.push_back(TCompactError{uint32_t(LastFile), d.Line, d.Column, uint8_t(d.Number)});
  }
  // With show set (a terminal), each error is followed by its source line and
  // a caret under the column, as compilers show them; in colour unless
  // NO_COLOR is set. Tabs in the line are shown at the default width of 8.
  void Print(FILE* out, bool show, bool colour) const {
    for (const TCompactError& e : Errors) {
      TDiagnostic d;
      d.FullPath = Files[e.File].first;
      d.Name = Files[e.File].second;
      d.Line = e.Line;
      d.Column = e.Column;
      d.Number = e.Number;
      std::string text = FormatEditorLine(d);
      if (!show) {
        std::fprintf(out, "%s\n", text.c_str());
        continue;
      }
      size_t at = text.find(": error: ");
      if (colour && at != std::string::npos)
        std::fprintf(out, "\033[1m%s: \033[1;31merror:\033[0m %s\n", text.substr(0, at).c_str(),
                     text.substr(at + 9).c_str());
      else
        std::fprintf(out, "%s\n", text.c_str());
      std::string line;
      if (!SourceLine(d.Name, d.Line, line)) continue;
      std::fprintf(out, "  %s\n  %s%*s^%s\n", line.c_str(), colour ? "\033[1;32m" : "", int(std::min<size_t>(e.Column - 1, line.size())), "",
                   colour ? "\033[0m" : "");
    }
  }

 private:
  // The line of a file, tabs expanded at 8; false when it cannot be read.
  bool SourceLine(const std::string& name, uint32_t number, std::string& line) const {
    if (number == 0) return false;
    std::vector<std::string>& lines = Sources[name];
    if (lines.empty()) {
      // A pipe or device gave its text once; opened again it could wait forever.
      if (KindOfPath(name) != TPathKind::Regular) return false;
      FILE* f = std::fopen(name.c_str(), "rb");
      if (!f) return false;
      std::string current;
      for (int c; (c = std::fgetc(f)) != EOF;) {
        if (c == '\n') {
          if (!current.empty() && current.back() == '\r') current.pop_back();
          lines.push_back(current);
          current.clear();
        } else {
          current += char(c);
        }
      }
      lines.push_back(current);
      std::fclose(f);
    }
    if (number > lines.size()) return false;
    line.clear();
    for (char c : lines[number - 1]) {
      if (c == '\t') line.append(8 - line.size() % 8, ' ');
      else line += (c >= 0 && c < 32) ? ' ' : c;
    }
    return true;
  }

  mutable std::map<std::string, std::vector<std::string>> Sources;
  std::vector<std::pair<std::string, std::string>> Files;  // full path, name as written
  size_t LastFile = 0;
  std::vector<TCompactError> Errors;
};

std::string Join(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& w : words) text += (text.empty() ? "" : " ") + w;
  return text;
}

int UsageError(const char* text) {
  std::fprintf(stderr, "tarn: %s\n%s", text, "Try 'tarn --help'.\n");
  return 2;
}

// A name derived from another by its extension, never the other itself
// ("x.d" as object file gives "x.d.d", not "x.d").
std::string DerivedName(const std::string& from, const char* extension) {
  std::string name = Beside(from, extension);
  return name == from ? from + extension : name;
}

// Whether two output names lead to the same file: the same file when both
// exist, else the same path once "." and ".." and links are resolved.
bool SameFile(const std::string& a, const std::string& b) {
  TFileIdentity ia = IdentityOf(a), ib = IdentityOf(b);
  if (ia.Known && ib.Known) return ia == ib;
  std::error_code ea, eb;
  auto pa = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ea), ea);
  auto pb = std::filesystem::weakly_canonical(std::filesystem::absolute(b, eb), eb);
  return !ea && !eb && pa == pb;
}

// The prerequisites of the dependency file: the files the run opened, less
// pipes and devices, whose times tell a build tool nothing. The main source
// is named as given when it did not open, so that the rule still names it.
std::vector<std::string> Prerequisites(const TTarn& tarn, const std::string& source) {
  std::vector<std::string> names;
  for (const std::string& name : tarn.OpenedFiles)
    if (KindOfPath(name) != TPathKind::Stream) names.push_back(name);
  if (tarn.OpenedFiles.empty() && KindOfPath(source) != TPathKind::Stream) names.push_back(source);
  // Make cannot read a name with a line break in it.
  for (auto at = names.begin(); at != names.end();) {
    if (at->find_first_of("\n\r") == std::string::npos) {
      ++at;
      continue;
    }
    std::fprintf(stderr, "tarn: a file name with a line break cannot stand in a dependency file; left out\n");
    at = names.erase(at);
  }
  return names;
}

bool WriteSideFile(const char* what, const std::string& path, const std::string& text) {
  std::string reason;
  if (ReplaceFile(path, text, reason)) return true;
  std::fprintf(stderr, "tarn: cannot write the %s '%s': %s\n", what, path.c_str(), reason.c_str());
  return false;
}

}  // namespace

static int Run(int argc, char** argv) {
  std::string source, listing, object, errors;
  bool listingSet = false, objectSet = false, errorsSet = false, quiet = false;
  unsigned long explainLine = 0;
  bool formatGiven = false;
  std::vector<std::pair<std::string, std::string>> defines;
  TObjectFormat format = TObjectFormat::Int16;
  std::vector<std::string> includes;
  // The dependency file (-MD and its companions) and the label file.
  bool dependencies = false, phonyRules = false;
  std::string dependencyFile, dependencyOptionAlone, labels, labelFormatName;
  std::vector<std::string> targets;
  TLabelFormat labelFormat = TLabelFormat::Equ;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& target, bool& set) {
      if (i + 1 >= argc) return false;
      target = argv[++i];
      set = true;
      return !target.empty();
    };
    if (a == "--help" || a == "-h") {
      std::fputs(Usage, stdout);
      return 0;
    } else if (a == "--version") {
      std::printf("tarn %s\n", TARN_VERSION);
      return 0;
    } else if (a == "-l") {
      if (!value(listing, listingSet)) return UsageError("-l needs a file name");
    } else if (a == "-o") {
      if (!value(object, objectSet)) return UsageError("-o needs a file name");
    } else if (a == "-e") {
      if (!value(errors, errorsSet)) return UsageError("-e needs a file name");
    } else if (a == "-I") {
      if (i + 1 >= argc || !*argv[i + 1]) return UsageError("-I needs a directory");
      includes.push_back(argv[++i]);
    } else if (a.size() > 2 && a.compare(0, 2, "-I") == 0) {
      includes.push_back(a.substr(2));
    } else if (a == "--no-listing") {
      listing.clear(); listingSet = true;
    } else if (a == "--no-object") {
      object.clear(); objectSet = true;
    } else if (a == "--no-errors") {
      errors.clear(); errorsSet = true;
    } else if (a == "-D" || (a.size() > 2 && a.compare(0, 2, "-D") == 0)) {
      std::string definition;
      if (a == "-D") {
        if (i + 1 >= argc) return UsageError("-D needs NAME or NAME=VALUE");
        definition = argv[++i];
      } else {
        definition = a.substr(2);
      }
      size_t eq = definition.find('=');
      std::string name = definition.substr(0, eq), value = eq == std::string::npos ? "1" : definition.substr(eq + 1);
      if (!TTarn::ValidDefineName(name))
        return UsageError(("-D " + definition + ": '" + name + "' is not a label name").c_str());
      if (!TTarn::ValidDefineValue(value))
        return UsageError(("-D " + definition + ": '" + value + "' is not an expression").c_str());
      defines.emplace_back(name, value);
    } else if (a == "-f" || a == "--format") {
      if (i + 1 >= argc || !ObjectFormatByName(argv[i + 1], format))
        return UsageError((a + " needs one of the object formats " + ObjectFormatNames()).c_str());
      formatGiven = true;
      ++i;
    } else if (a == "-MD") {
      dependencies = true;
    } else if (a == "-MP") {
      phonyRules = true;
      if (dependencyOptionAlone.empty()) dependencyOptionAlone = a;
    } else if (a == "-MF" || a == "-MT" || (a.size() > 3 && (a.compare(0, 3, "-MF") == 0 || a.compare(0, 3, "-MT") == 0))) {
      std::string option = a.substr(0, 3);
      std::string name = a.size() > 3 ? a.substr(3) : i + 1 < argc ? argv[++i] : "";
      if (name.empty())
        return UsageError((option + (option == "-MF" ? " needs a file name" : " needs a target name")).c_str());
      if (option == "-MF") dependencyFile = name;
      else targets.push_back(name);
      if (dependencyOptionAlone.empty()) dependencyOptionAlone = option;
    } else if (a == "--labels") {
      if (i + 1 >= argc || !*argv[i + 1]) return UsageError("--labels needs a file name");
      labels = argv[++i];
    } else if (a == "--label-format") {
      if (i + 1 >= argc || !LabelFormatByName(argv[i + 1], labelFormat))
        return UsageError("--label-format needs one of equ, vice, json");
      labelFormatName = argv[++i];
    } else if (a == "--explain") {
      char* end = nullptr;
      if (i + 1 >= argc || (explainLine = std::strtoul(argv[i + 1], &end, 10)) == 0 || *end || explainLine > UINT32_MAX)
        return UsageError("--explain needs a line number (1 or more)");
      ++i;
    } else if (a == "-q" || a == "--quiet") {
      quiet = true;
    } else if (a == "--") {
      if (i + 1 < argc && source.empty()) source = argv[++i];
      if (i + 1 < argc) return UsageError("only one source file can be assembled");
    } else if (!a.empty() && a[0] == '-') {
      return UsageError(("unknown option " + a).c_str());
    } else if (!source.empty()) {
      return UsageError("only one source file can be assembled");
    } else {
      source = a;
    }
  }
  if (source.empty()) return UsageError("no source file given");
  if (!listingSet) listing = Beside(source, ".LST");
  if (!objectSet) object = Beside(source, ".HEX");
  if (!errorsSet) errors = Beside(source, ".ERR");
  if (!dependencies && !dependencyOptionAlone.empty())
    return UsageError((dependencyOptionAlone + " has no effect without -MD").c_str());
  if (labels.empty() && !labelFormatName.empty()) return UsageError("--label-format has no effect without --labels");
  if (dependencies) {
    // The rule is the object file's; without one the target must be named.
    if (object.empty() && targets.empty()) return UsageError("-MD with --no-object needs -MT TARGET");
    if (dependencyFile.empty()) dependencyFile = DerivedName(object.empty() ? source : object, ".d");
  }

  TProgressLine progress;
  progress.Live = !quiet && isatty(STDERR_FILENO);
  TErrorList lastPass;
  int passes = 0;
  uint32_t lines = 0, checksum = 0;
  uint16_t count;
  bool sideFilesFailed = false;
  {
    TTarn tarn;
    tarn.SearchPaths = includes;
    tarn.Defines = defines;
    tarn.StartFormatGiven = formatGiven;
    tarn.StartFormat = format;
    // Last, the bundled tables: beside the binary in a build, under share/ when installed.
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
      std::string dir(self, size_t(n));
      dir = dir.substr(0, dir.find_last_of('/'));
      tarn.SearchPaths.push_back(dir + "/tables");
      tarn.SearchPaths.push_back(dir + "/../share/tarn/tables");
    }
    // An output that is the source would destroy it: refuse the run before
    // anything is opened, comparing files, not names.
    TFileIdentity sourceId = tarn.MainSourceIdentity(source);
    const std::pair<const char*, const std::string*> outputs[] = {
        {"listing", &listing},           {"object file", &object}, {"error file", &errors},
        {"dependency file", &dependencyFile}, {"label file", &labels}};
    for (const auto& [what, path] : outputs) {
      if (sourceId.Known && !path->empty() && IdentityOf(*path) == sourceId) {
        std::fprintf(stderr, "tarn: the %s '%s' is the source file '%s'; nothing was assembled\n", what,
                     path->c_str(), source.c_str());
        return 2;
      }
    }
    // The dependency and label files replace whatever their names lead to:
    // never another output of the run. A device (/dev/null) is written, not
    // replaced, and may take several.
    for (size_t late = 3; late < std::size(outputs); ++late) {
      for (size_t other = 0; other < late; ++other) {
        const std::string &a = *outputs[late].second, &b = *outputs[other].second;
        if (a.empty() || b.empty() || KindOfPath(a) == TPathKind::Stream || !SameFile(a, b)) continue;
        std::fprintf(stderr, "tarn: the %s '%s' is also the %s; nothing was assembled\n", outputs[late].first,
                     a.c_str(), outputs[other].first);
        return 2;
      }
    }
    if (progress.Live)
      tarn.ShowProgressFn = [&](const char* text, int field) { progress.Update(text, field); };
    // The explanation of the last pass that met the line is the one printed.
    std::vector<std::string> explanation;
    int explainedPass = 0;
    if (explainLine) {
      tarn.ExplainLine = uint32_t(explainLine);
      tarn.ExplainFn = [&](int pass, const std::string& text) {
        if (pass != explainedPass) explanation.clear();
        explainedPass = pass;
        explanation.push_back(text);
      };
    }
    tarn.OnError = [&](const TDiagnostic& d) {
      if (d.Number == 0) lastPass.Clear();
      else lastPass.Add(d);
    };
    TLabelOrigins origins;
    if (!labels.empty() && labelFormat == TLabelFormat::Json)
      tarn.OnLabelDefined = [&](const TSymbol& label, const std::string& file, uint32_t line) {
        origins.Record(label, file, line);
      };
    count = tarn.Assemble(source, listing, object, errors);
    // Written after the last pass whatever its errors, so that the build
    // tool still learns which files to watch.
    if (dependencies) {
      std::string rule = DependencyRule(targets.empty() ? EscapeForMake(object) : Join(targets),
                                        Prerequisites(tarn, source), phonyRules, source);
      sideFilesFailed |= !WriteSideFile("dependency file", dependencyFile, rule);
    }
    if (!labels.empty()) {
      std::vector<std::string> leftOut;
      std::string text = FormatLabels(CollectLabels(tarn, labelFormat == TLabelFormat::Json ? &origins : nullptr),
                                      labelFormat, leftOut);
      for (const std::string& why : leftOut)
        std::fprintf(stderr, "tarn: label %s; left out of '%s'\n", why.c_str(), labels.c_str());
      sideFilesFailed |= !WriteSideFile("label file", labels, text);
    }
    if (explainLine) {
      if (explanation.empty())
        std::printf("line %lu: no instruction was matched there in pass 2 or later\n", explainLine);
      for (const std::string& text : explanation) std::printf("%s\n", text.c_str());
    }
    passes = tarn.PassesRun();
    lines = tarn.TotalLinesOfLastPass();
    checksum = tarn.Checksum();
  }
  progress.Clear();
  std::fflush(stdout);
  const char* noColour = std::getenv("NO_COLOR");
  lastPass.Print(stderr, isatty(STDERR_FILENO), !(noColour && *noColour));
  if (!quiet) {
    std::fprintf(stderr, "tarn: %d pass%s, %lu lines, %u error%s, checksum %lu\n", passes, passes == 1 ? "" : "es",
                 (unsigned long)lines, unsigned(count), count == 1 ? "" : "s", (unsigned long)checksum);
  }
  return count == 0 && !sideFilesFailed ? 0 : 1;
}

int main(int argc, char** argv) {
  PrepareHeap();
  try {
    return Run(argc, argv);
  } catch (const std::bad_alloc&) {
    // The engine stops a run with an error of its own where memory runs out
    // for a symbol, a table or a macro line; anywhere else the run stops here.
    std::fflush(stdout);
    std::fputs("tarn: out of memory; the run was stopped and the files it was writing may be incomplete\n", stderr);
    return 3;
  }
}
