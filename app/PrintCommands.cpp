// File > Print..., Page setup... and Print preview: the MDI client's share of
// printing; the printout, the print loop and the preview are in print/.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>

#include "App.h"
#include "CommandIds.h"
#include "EditFile.h"
#include "FindDialog.h"  // EditFile.h holds a QPointer to it
#include "Frame.h"
#include "Icons.h"
#include "MdiClient.h"
#include "PreviewWin.h"
#include "Printer.h"
#include "Printout.h"

namespace {

// A window caption as long as the platform's paths.
constexpr int MaxTitle = 259;

// Holds the application's printing count raised for as long as it lives.
class TPrintingUnderWay {
public:
  explicit TPrintingUnderWay(TTarnApp& app) : App(app) { ++App.PrintingCount; }
  ~TPrintingUnderWay() { --App.PrintingCount; }

private:
  TTarnApp& App;
};

}  // namespace

bool TTarnMDIClient::PrintEnabled() const {
  if (!ActiveChild())
    return false;
  App.CheckPrinterChange();
  return App.Printer().Setup().Error == 0;
}

void TTarnMDIClient::PrintCommand() {
  TTarnMDIChild* child = ActiveChild();
  if (!child)
    return;
  TTarnPrinter& printer = App.Printer();
  // Printing to a PDF file offers the source's name with .pdf beside it,
  // rather than one file in the home directory for every window.
  const QString source = child->Editor()->FileName();
  if (printer.Device().outputFormat() == QPrinter::PdfFormat && !source.isEmpty()) {
    const QFileInfo info(source);
    printer.Device().setOutputFileName(info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf")));
  }
  TVuzPrintout printout(printer, child->windowTitle().left(MaxTitle), child->Editor());
  TPrintingUnderWay printing(App);
  QWidget* parent = QApplication::activeWindow();
  printer.Print(parent ? parent : window(), printout, true);
}

void TTarnMDIClient::PageSetupCommand() { App.Printer().PageSetup(this); }

void TTarnMDIClient::PrintPreviewCommand() {
  TTarnMDIChild* child = ActiveChild();
  if (!child)
    return;
  TTarnPrinter& printer = App.Printer();
  TPrintingUnderWay printing(App);
  // The preview's Print button is the workbench's own Print command, carried
  // out on the window being previewed.
  TVuzPreviewWin::Run(App.Frame(), printer, child->Editor(), [this] { App.Command(Cmd::Print); },
                      CommandIcon(Cmd::Print));
}
