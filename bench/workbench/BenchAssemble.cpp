// One assembly in the workbench's "Assembling" dialog against the same
// assembly without a progress display, as the command line runs it with -q:
// the dialog's painting must not make a run much slower.
//   bench-workbench SOURCE [RUNS]   (on the offscreen platform unless a display is set)
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "AssembleDialog.h"
#include "Tarn.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench-workbench SOURCE [RUNS]\n");
    return 2;
  }
  if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  const std::string source = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const TOutputNames names = OutputNames(source);
  double dialogBest = 1e9, plainBest = 1e9;
  for (int run = 0; run < runs; ++run) {
    {
      TTarnDialog dialog(nullptr, source);
      dialog.show();
      QElapsedTimer timer;
      timer.start();
      dialog.AssembleButton()->click();
      dialogBest = std::min(dialogBest, timer.nsecsElapsed() / 1e9);
    }
    {
      QElapsedTimer timer;
      timer.start();
      TTarn tarn;
      tarn.Assemble(source, names.Listing, names.Object, names.Errors);
      plainBest = std::min(plainBest, timer.nsecsElapsed() / 1e9);
    }
  }
  std::printf("in the Assembling dialog  %.3f s\nwithout progress display  %.3f s\nratio                     %.2f\n",
              dialogBest, plainBest, dialogBest / plainBest);
  return 0;
}
