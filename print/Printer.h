// The printer object: the platform's printer with the set-up record the
// printout and the editor read and write (page bounds and the pages to
// print), the print loop with its "Printing" box, and the dialogs behind a
// seam so that tests and the command line can answer them.
#pragma once

#include <QString>
#include <memory>

#include "PrintPages.h"

class QPrinter;
class QWidget;
class TVuzPrintout;

// The print set-up record: page bounds, the pages being printed, and the
// error of the last set-up (0 for none).
struct TPrintSetup : TPrintPageRange {
  int Error = 0;
};

// The dialogs and boxes of printing. The default shows Qt's print and
// page set-up dialogs and a message box.
class TPrintDialogs {
public:
  virtual ~TPrintDialogs() = default;
  // The print dialog on PRINTER with page bounds MINPAGE to MAXPAGE and no
  // "selection" choice. On Ok PRINTER carries the user's choices: a page
  // range as its print range with from and to pages.
  virtual bool PrintDialog(QWidget* parent, QPrinter& printer, int minPage, int maxPage);
  virtual bool PageSetupDialog(QWidget* parent, QPrinter& printer);
  // The failure of a print job: "Print Error", the stop icon, TEXT.
  virtual void PrintError(QWidget* parent, const QString& text);
  // Whether the "Printing" box shows while a job runs.
  virtual bool ShowPrintingBox() const { return true; }
};

TPrintDialogs& PrintDialogs();
// Installs DIALOGS (not owned); nullptr goes back to Qt's.
void SetPrintDialogs(TPrintDialogs* dialogs);

// The name of the system's default printer, empty when it has none.
// SetDefaultPrinterSource replaces the lookup (tests); nullptr restores it.
QString DefaultPrinterName();
void SetDefaultPrinterSource(QString (*source)());

class TTarnPrinter {
public:
  static constexpr const char* ErrorCaption = "Print Error";
  // Why a job failed, as the "Print Error" box words it.
  static constexpr const char* OutOfMemory = "Out of memory";
  static constexpr const char* OutOfDisk = "Out of disk space";
  static constexpr const char* Cancelled = "Printing canceled";
  static constexpr const char* AbortedOutside = "Printing aborted in Print Manager";
  static constexpr const char* GeneralError = "Error encountered during print";

  // For the system's default printer; a system without one prints to a PDF
  // file, which the print dialog names.
  TTarnPrinter();
  // A printer that writes the PDF file PDFFILE, with the default page set-up.
  explicit TTarnPrinter(const QString& pdfFile);
  ~TTarnPrinter();
  TTarnPrinter(const TTarnPrinter&) = delete;
  TTarnPrinter& operator=(const TTarnPrinter&) = delete;

  QPrinter& Device() { return *Printer; }
  const QPrinter& Device() const { return *Printer; }
  TPrintSetup& Setup();
  // The printer this object was made for: the default printer's name then.
  const QString& DeviceName() const { return Name; }
  // The printer's name and where its output goes, for the "Printing" box.
  QString PrinterText() const;
  QString PortText() const;

  // Prints PRINTOUT: its dialog information, the print dialog when PROMPT
  // (a cancelled dialog prints nothing and is no failure), the page range,
  // begin printing, then every page of the range the printout has. A
  // failure is shown as "'title' not printed. reason." and kept in
  // LastError. Returns whether every page was printed.
  bool Print(QWidget* parent, TVuzPrintout& printout, bool prompt);
  // The platform's page set-up dialog.
  void PageSetup(QWidget* parent);

  QString LastError;

private:
  std::unique_ptr<QPrinter> Printer;
  TPrintSetup Record;
  QString Name;
};
