// Times the text model on a generated source file of 1,000,000 lines
// (about 30 MB): load, save, typing and undoing one character in the middle,
// pasting a 100,000-line text in the middle and undoing it, deleting a
// 100,000-line selection and the whole text, and undoing those deletions.
//
// Usage: bench-editor [directory for the generated file]
#include "EditText.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

template <typename F>
double Time(F&& work) {
  TClock::time_point start = TClock::now();
  work();
  return MillisecondsSince(start);
}

// Lines shaped like assembler source: label, mnemonic, operands, comment.
std::string SourceLine(int i) {
  char line[64];
  static const char* const Mnemonics[] = {"MOV", "ADD", "SUBB", "ANL", "ORL", "XRL", "CJNE", "DJNZ"};
  std::snprintf(line, sizeof line, "L%06d:\t%s\tA,#%03d\t; step %d", i, Mnemonics[i % 8], i % 256,
                i % 1000);
  return line;
}

void Report(const char* what, double ms, const char* target) {
  std::printf("| %-44s | %10.3f ms | %-9s |\n", what, ms, target);
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const int LineCount = 1000000;
  const int PasteLines = 100000;
  fs::path dir = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
  fs::path file = dir / "bench-editor-source.asm";

  {
    std::string text;
    for (int i = 0; i < LineCount; ++i)
      text += SourceLine(i) + "\r\n";
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out || std::fwrite(text.data(), 1, text.size(), out) != text.size()) {
      std::fprintf(stderr, "cannot write %s\n", file.c_str());
      return 1;
    }
    std::fclose(out);
  }

  TFixedPitchView view(8, 16, 8);
  TTarnEditText editor(&view);
  editor.FileName = file.string();
  std::printf("File: %lld lines, %.1f MB\n\n", static_cast<long long>(LineCount),
              static_cast<double>(fs::file_size(file)) / 1e6);
  std::printf("| %-44s | %13s | %-9s |\n", "operation", "time", "target");
  std::printf("|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(15, '-').c_str(),
              std::string(11, '-').c_str());

  Report("load", Time([&] { editor.LoadFile(); }), "< 1 s");
  if (editor.Lines.Count() != LineCount) {
    std::fprintf(stderr, "loaded %lld lines\n", static_cast<long long>(editor.Lines.Count()));
    return 1;
  }
  editor.Modified = true;
  Report("save", Time([&] { editor.Save(); }), "< 1 s");

  // One character typed in the middle, and its undo: the slowest of 1000.
  double typeMax = 0;
  double undoMax = 0;
  for (int i = 0; i < 1000; ++i) {
    editor.Caret.Set(LineCount / 2 + i, 10);
    editor.SelStart = editor.SelEnd = editor.Caret;
    typeMax = std::max(typeMax, Time([&] { editor.TypeChar('x'); }));
    undoMax = std::max(undoMax, Time([&] { editor.Undo(); }));
  }
  Report("type one character (slowest of 1000)", typeMax, "< 1 ms");
  Report("undo one character (slowest of 1000)", undoMax, "< 1 ms");

  editor.Caret.Set(LineCount / 2, 10);
  editor.SelStart = editor.SelEnd = editor.Caret;
  Report("Enter in the middle (line split)", Time([&] { editor.TypeChar('\r'); }), "");
  Report("undo the line split", Time([&] { editor.Undo(); }), "");

  std::string paste;
  for (int i = 0; i < PasteLines; ++i)
    paste += SourceLine(i) + "\r\n";
  editor.Caret.Set(LineCount / 2, 10);
  editor.SelStart = editor.SelEnd = editor.Caret;
  Report("paste 100,000 lines in the middle", Time([&] { editor.Paste(paste); }), "< 0.5 s");
  if (editor.Lines.Count() != LineCount + PasteLines)
    return 1;
  Report("undo the paste", Time([&] { editor.Undo(); }), "< 0.5 s");
  if (editor.Lines.Count() != LineCount)
    return 1;

  editor.Caret.Set(LineCount / 2, 0);
  editor.SelStart = editor.Caret;
  editor.SelEnd.Set(LineCount / 2 + PasteLines, 0);
  Report("delete a 100,000-line selection", Time([&] { editor.Delete(); }), "");
  Report("undo the deletion", Time([&] { editor.Undo(); }), "");

  editor.Caret.Set(0, 0);
  editor.SelStart = editor.SelEnd = editor.Caret;
  Report("search the whole text for a missing word", Time([&] {
           editor.Find(true, false, false, "NOSUCHWORD");
         }),
         "");

  fs::remove(file);

  // The whole text, as Select All and Delete leave it: 955 chained records,
  // all of them restored at the start of the text.
  editor.SelectAll();
  Report("delete the whole text", Time([&] { editor.Delete(); }), "");
  if (editor.Lines.Count() != 1)
    return 1;
  Report("undo deletion of the whole file", Time([&] { editor.Undo(); }), "< 0.5 s");
  if (editor.Lines.Count() != LineCount)
    return 1;
  for (int i = 0; i < LineCount; ++i)
    if (editor.Lines[i] != SourceLine(i)) {
      std::fprintf(stderr, "line %d differs after the undo\n", i + 1);
      return 1;
    }
  return 0;
}
