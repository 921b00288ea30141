// tarnw: the workbench.
#include <QApplication>

#include "App.h"
#include "Frame.h"

int main(int argc, char* argv[]) {
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
