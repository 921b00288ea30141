#include "Printer.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

#include <climits>
#include <new>

#include "Printout.h"

namespace {

TPrintDialogs QtDialogs;
TPrintDialogs* Installed = nullptr;
QString (*DefaultSource)() = nullptr;

// The "Printing" box: what is printed where, and Cancel.
class TPrintingBox : public QDialog {
public:
  TPrintingBox(QWidget* parent, const QString& title, const QString& printer, const QString& port)
      : QDialog(parent) {
    setObjectName(QStringLiteral("Printing"));
    setWindowTitle(QStringLiteral("Printing"));
    auto* layout = new QVBoxLayout(this);
    for (const QString& text : {QStringLiteral("Now printing"), QStringLiteral("'%1' on the").arg(title),
                                QStringLiteral("%1 on %2").arg(printer, port)}) {
      auto* label = new QLabel(text, this);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignCenter);
      layout->addWidget(label);
    }
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));
    layout->addWidget(cancel, 0, Qt::AlignCenter);
    connect(cancel, &QPushButton::clicked, this, [this] { Cancelled = true; });
  }
  bool Cancelled = false;

protected:
  // Closing the box is no way around Cancel.
  void reject() override { Cancelled = true; }
};

// Why the job on PRINTER failed when the device gave up.
const char* DeviceFailure(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    const QStorageInfo disk(QFileInfo(printer.outputFileName()).absolutePath());
    if (disk.isValid() && disk.bytesAvailable() == 0)
      return TTarnPrinter::OutOfDisk;
  }
  if (printer.printerState() == QPrinter::Aborted)
    return TTarnPrinter::AbortedOutside;
  return TTarnPrinter::GeneralError;
}

}  // namespace

// ---------------------------------------------------------------- dialogs

bool TPrintDialogs::PrintDialog(QWidget* parent, QPrinter& printer, int minPage, int maxPage) {
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(minPage, maxPage);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  return dialog.exec() == QDialog::Accepted;
}

bool TPrintDialogs::PageSetupDialog(QWidget* parent, QPrinter& printer) {
  QPageSetupDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

void TPrintDialogs::PrintError(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(TTarnPrinter::ErrorCaption), text, QMessageBox::Ok,
                  parent);
  box.exec();
}

TPrintDialogs& PrintDialogs() { return Installed ? *Installed : QtDialogs; }
void SetPrintDialogs(TPrintDialogs* dialogs) { Installed = dialogs; }

QString DefaultPrinterName() {
  if (DefaultSource)
    return DefaultSource();
  // Asking the print system is a round trip to its server, and the command
  // states are asked for several times a second: the answer is kept briefly.
  static QString cached;
  static QDeadlineTimer fresh(0);
  if (fresh.hasExpired()) {
    cached = QPrinterInfo::defaultPrinterName();
    fresh.setRemainingTime(2000);
  }
  return cached;
}

void SetDefaultPrinterSource(QString (*source)()) { DefaultSource = source; }

// ---------------------------------------------------------------- printer

TTarnPrinter::TTarnPrinter() {
  Name = DefaultPrinterName();
  const QPrinterInfo info = Name.isEmpty() ? QPrinterInfo() : QPrinterInfo::printerInfo(Name);
  Printer = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                          : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  if (info.isNull())
    Printer->setOutputFormat(QPrinter::PdfFormat);
}

TTarnPrinter::TTarnPrinter(const QString& pdfFile) : Printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  Printer->setOutputFormat(QPrinter::PdfFormat);
  Printer->setOutputFileName(pdfFile);
}

TTarnPrinter::~TTarnPrinter() = default;

TPrintSetup& TTarnPrinter::Setup() {
  Record.Error = Printer->isValid() ? 0 : 1;
  return Record;
}

QString TTarnPrinter::PrinterText() const {
  if (Printer->outputFormat() == QPrinter::PdfFormat)
    return QStringLiteral("PDF");
  return Printer->printerName();
}

QString TTarnPrinter::PortText() const {
  if (Printer->outputFormat() == QPrinter::PdfFormat)
    return QFileInfo(Printer->outputFileName()).fileName();
  const QString location = QPrinterInfo::printerInfo(Printer->printerName()).location();
  return location.isEmpty() ? QStringLiteral("the print server") : location;
}

void TTarnPrinter::PageSetup(QWidget* parent) { PrintDialogs().PageSetupDialog(parent, *Printer); }

bool TTarnPrinter::Print(QWidget* parent, TVuzPrintout& printout, bool prompt) {
  LastError.clear();
  const auto fail = [&](const char* reason) {
    LastError = QStringLiteral("'%1' not printed. %2.").arg(printout.Title(), QString::fromLatin1(reason));
    PrintDialogs().PrintError(parent, LastError);
    return false;
  };
  const auto measure = [&](QPainter* dc) {
    printout.SetPrintParams(dc, QSize(Printer->width(), Printer->height()),
                            QSizeF(Printer->logicalDpiX(), Printer->logicalDpiY()));
  };
  try {
    // The dialog's bound is the text's own page count, not whatever the last
    // paint left behind.
    measure(nullptr);
    printout.BeginPrinting();
    Printer->setPrintRange(QPrinter::AllPages);
    Printer->setFromTo(0, 0);
    if (prompt) {
      if (!PrintDialogs().PrintDialog(parent, *Printer, Setup().MinPage, Setup().MaxPage))
        return true;
      // The dialog may have changed the paper; the pages are counted on the
      // paper the job really uses.
      measure(nullptr);
      printout.BeginPrinting();
    }
    int from = Setup().MinPage;
    int to = INT_MAX;
    if (Printer->printRange() == QPrinter::PageRange && Printer->fromPage() > 0) {
      from = Printer->fromPage();
      to = Printer->toPage() >= from ? Printer->toPage() : from;
    }
    if (!printout.HasPage(from))
      return true;  // the range lies beyond the text: nothing to print

    QPainter dc;
    if (!dc.begin(Printer.get()))
      return fail(DeviceFailure(*Printer));
    std::unique_ptr<TPrintingBox> box;
    if (PrintDialogs().ShowPrintingBox()) {
      box = std::make_unique<TPrintingBox>(parent, printout.Title(), PrinterText(), PortText());
      box->setWindowModality(Qt::ApplicationModal);
      box->show();
      QApplication::processEvents();
    }
    for (int page = from; page <= to && printout.HasPage(page); ++page) {
      if (page != from && !Printer->newPage()) {
        dc.end();
        return fail(DeviceFailure(*Printer));
      }
      measure(&dc);
      printout.PrintPage(page);
      if (box) {
        QApplication::processEvents();
        if (box->Cancelled) {
          Printer->abort();
          dc.end();
          return fail(Cancelled);
        }
      }
      if (page == INT_MAX)
        break;
    }
    if (!dc.end() || Printer->printerState() == QPrinter::Error || Printer->printerState() == QPrinter::Aborted)
      return fail(DeviceFailure(*Printer));
    return true;
  } catch (const std::bad_alloc&) {
    return fail(OutOfMemory);
  }
}
