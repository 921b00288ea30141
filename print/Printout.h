// The printout of an editor window: it makes the window paint one page at a
// time into a printer's device context, in logical units that are screen
// pixels, so a page looks like the screen at the same physical size.
#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QTransform>

class QPainter;
class TTarnEditFile;
class TTarnPrinter;

class TVuzPrintout {
public:
  TVuzPrintout(TTarnPrinter& printer, const QString& title, TTarnEditFile* window, bool scale = true);

  const QString& Title() const { return PrintTitle; }
  // The device context the pages go to (none for measuring only), its page
  // size in device pixels and its pixels per inch.
  void SetPrintParams(QPainter* dc, QSize pageSize, QSizeF deviceDpi);

  // Measures the font on the page and sets the set-up's page bounds: page 1
  // to the number of pages the text fills now (what the print dialog offers).
  void BeginPrinting();
  // The page's client rectangle in logical units; with scaling the device
  // context maps them onto the whole page.
  QRect BeginPage();
  void EndPage();
  // Page PAGE, the whole page, through the window's paint routine.
  void PrintPage(int page);
  bool HasPage(int page) const;

  // Lines per page at the last begin printing.
  int LinesPerPage() const { return PerPage; }

private:
  TTarnPrinter& Printer;
  QString PrintTitle;
  QPointer<TTarnEditFile> Window;
  bool Scale;
  QPainter* DC = nullptr;
  QSize PageSizePx;
  QSizeF DeviceDpi{96, 96};
  int PerPage = 1;
  // The device context's mapping before BeginPage, restored by EndPage.
  QTransform PreviousTransform;
  bool InPage = false;
};
