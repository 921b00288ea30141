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

}  // namespace

int main(int argc, char* argv[]) {
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
