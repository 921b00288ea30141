#include "Printout.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "EditFile.h"
#include "FindDialog.h"  // EditFile.h holds a QPointer to it
#include "Printer.h"

namespace {

QSizeF ScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen)
    return QSizeF(96, 96);
  return QSizeF(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

}  // namespace

TVuzPrintout::TVuzPrintout(TTarnPrinter& printer, const QString& title, TTarnEditFile* window, bool scale)
    : Printer(printer), PrintTitle(title), Window(window), Scale(scale) {}

void TVuzPrintout::SetPrintParams(QPainter* dc, QSize pageSize, QSizeF deviceDpi) {
  DC = dc;
  PageSizePx = pageSize;
  DeviceDpi = deviceDpi.width() > 0 && deviceDpi.height() > 0 ? deviceDpi : QSizeF(96, 96);
}

QRect TVuzPrintout::BeginPage() {
  const QSizeF screen = ScreenDpi();
  QRect client(QPoint(0, 0), PageSizePx);
  if (Scale) {
    client.setSize(QSize(qRound(PageSizePx.width() * screen.width() / DeviceDpi.width()),
                         qRound(PageSizePx.height() * screen.height() / DeviceDpi.height())));
    if (DC && !InPage) {
      // Anisotropic: each axis has its own factor from logical to device units.
      PreviousTransform = DC->worldTransform();
      const qreal sx = client.width() > 0 ? qreal(PageSizePx.width()) / client.width() : 1;
      const qreal sy = client.height() > 0 ? qreal(PageSizePx.height()) / client.height() : 1;
      DC->setWorldTransform(QTransform::fromScale(sx, sy), true);
      InPage = true;
    }
  }
  return client;
}

void TVuzPrintout::EndPage() {
  if (DC && InPage)
    DC->setWorldTransform(PreviousTransform);
  InPage = false;
}

void TVuzPrintout::BeginPrinting() {
  const QRect client = BeginPage();
  TPrintSetup& setup = Printer.Setup();
  setup.MinPage = 1;
  // The window knows its text, so the bound is the true count at once rather
  // than a guess for the first painted page to correct.
  PerPage = PrintLinesPerPage(client.height(), Window ? Window->LineHeight() : 10);
  setup.MaxPage = Window ? Window->PrintPageTotal(client.height()) : 1;
  EndPage();
}

void TVuzPrintout::PrintPage(int page) {
  // The page in logical units: with scaling, the device context maps it onto the whole page.
  const QRect band = BeginPage();
  TPrintSetup& setup = Printer.Setup();
  const int from = setup.FromPage;
  const int to = setup.ToPage;
  setup.FromPage = setup.ToPage = page;
  if (Window && DC)
    Window->PaintPages(*DC, band, setup);
  setup.FromPage = from;
  setup.ToPage = to;
  EndPage();
}

bool TVuzPrintout::HasPage(int page) const {
  const TPrintSetup& setup = Printer.Setup();
  return setup.MinPage <= page && page <= setup.MaxPage;
}
