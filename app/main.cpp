// tarnw: the workbench.
#include <QApplication>
#include <QFile>

#include <cstdio>
#include <cstring>

#include "App.h"
#include "Frame.h"
#include "PrintFile.h"

namespace {

// tarnw --print-to-pdf OUT FILE: FILE printed to OUT without a window, for
// scripts. Returns the exit status.
int PrintToPdf(int argc, char* argv[]) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: tarnw --print-to-pdf OUT.pdf FILE\n");
    return 1;
  }
  // No window shows, so no display is needed either.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QString error;
  const QFont font = TTarnApp::MakeEditorFont(QString(), 0, 0, 0);
  if (!PrintFileToPdf(QFile::decodeName(argv[3]), QFile::decodeName(argv[2]), font, error)) {
    std::fprintf(stderr, "tarnw: %s\n", error.toLocal8Bit().constData());
    return 1;
  }
  return 0;
}

const char Usage[] =
    "usage: tarnw [FILE...]\n"
    "       tarnw --print-to-pdf OUT.pdf FILE\n"
    "\n"
    "The Tarnex workbench: an editor for assembly sources that assembles the main file\n"
    "with F9 and steps through its errors with Alt+F7 and Alt+F8.\n"
    "\n"
    "  FILE...                     open each file in an editor window\n"
    "  --print-to-pdf OUT.pdf FILE print FILE as the Print command does, with the default\n"
    "                              page set-up, to OUT.pdf, without a window; status 0,\n"
    "                              or 1 with a message when FILE or OUT.pdf fails\n"
    "  -h, --help                  show this text\n"
    "  --version                   show the version\n";

}  // namespace

int main(int argc, char* argv[]) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(Usage, stdout);
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("tarnw %s\n", TARN_VERSION);
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--print-to-pdf") == 0)
    return PrintToPdf(argc, argv);
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(TTarnApp::Name));
  // The help window may still be open when the frame closes; the frame's
  // close ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  TTarnApp app;
  QStringList args = QApplication::arguments();
  args.removeFirst();
  app.Start(args);
  QObject::connect(app.Frame(), &TTarnFrame::Closed, &application, &QCoreApplication::quit);
  return application.exec();
}
