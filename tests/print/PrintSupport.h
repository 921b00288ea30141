// What the printing tests share: print dialogs answered by the test, and
// PDF files read back with poppler-utils' pdfinfo and pdftotext.
#pragma once

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#include "EditFile.h"
#include "FindDialog.h"  // EditFile.h holds a QPointer to it
#include "Printer.h"
#include "Printout.h"
#include "TestHost.h"

// The print dialog answers with a page range (0 for all pages) or Cancel;
// every "Print Error" text is kept.
class TScriptedPrintDialogs : public TPrintDialogs {
public:
  TScriptedPrintDialogs() { SetPrintDialogs(this); }
  ~TScriptedPrintDialogs() override { SetPrintDialogs(nullptr); }
  bool PrintDialog(QWidget*, QPrinter& printer, int minPage, int maxPage) override {
    ++PrintDialogs;
    DialogBounds = {minPage, maxPage};
    OutputFile = printer.outputFileName();
    if (FromPage > 0) {
      printer.setPrintRange(QPrinter::PageRange);
      printer.setFromTo(FromPage, ToPage);
    }
    return Accept;
  }
  bool PageSetupDialog(QWidget*, QPrinter&) override {
    ++PageSetups;
    return true;
  }
  void PrintError(QWidget*, const QString& text) override { Errors << text; }
  bool ShowPrintingBox() const override { return Box; }

  bool Accept = true;
  int FromPage = 0;
  int ToPage = 0;
  bool Box = false;
  int PrintDialogs = 0;
  int PageSetups = 0;
  QPair<int, int> DialogBounds;
  QString OutputFile;
  QStringList Errors;
};

// The lines per page of PRINTER's page in WINDOW's font.
inline int LinesPerPage(TTarnPrinter& printer, TTarnEditFile& window) {
  TVuzPrintout printout(printer, QStringLiteral("measure"), &window);
  printout.SetPrintParams(nullptr, QSize(printer.Device().width(), printer.Device().height()),
                          QSizeF(printer.Device().logicalDpiX(), printer.Device().logicalDpiY()));
  printout.BeginPrinting();
  return printout.LinesPerPage();
}

// The PDF readers the tests need; scripts/install-deps installs them.
inline bool HavePdfTools() {
  return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() &&
         !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

inline QString RunTool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(20000) || process.exitCode() != 0)
    return QString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

inline int PdfPages(const QString& pdf) {
  const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
  const QRegularExpressionMatch match = pages.match(RunTool(QStringLiteral("pdfinfo"), {pdf}));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The text of every page, in order.
inline QStringList PdfPageTexts(const QString& pdf) {
  QStringList pages = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                          .split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
    pages.removeLast();
  return pages;
}

// The left edge of WORD on the first page, in points; -1 when it is not there.
inline double PdfWordLeft(const QString& pdf, const QString& word) {
  const QString html = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  const QRegularExpression entry(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>%1</word>")
                                     .arg(QRegularExpression::escape(word)));
  const QRegularExpressionMatch match = entry.match(html);
  return match.hasMatch() ? match.captured(1).toDouble() : -1;
}

inline void WriteLines(const QString& path, int count, const QString& pattern = QStringLiteral("line %1")) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  for (int i = 1; i <= count; ++i)
    file.write(pattern.arg(i, 4, 10, QLatin1Char('0')).toLatin1() + "\n");
}
