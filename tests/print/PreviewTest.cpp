// The print preview and the print commands as the workbench offers them:
// the page field and the paging buttons at both ends, two-page mode, the
// frame hidden while the preview runs and given the preview's place after,
// and the commands' enabling with the printer object behind it.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "App.h"
#include "CommandIds.h"
#include "EditFile.h"
#include "FindDialog.h"  // EditFile.h holds a QPointer to it
#include "Frame.h"
#include "MdiClient.h"
#include "PreviewWin.h"
#include "PrintSupport.h"
#include "Printer.h"
#include "ScriptedPrompts.h"

namespace {

QString DefaultPrinter;
QString ScriptedDefault() { return DefaultPrinter; }

}  // namespace

class TPreviewTest : public QObject {
  Q_OBJECT

private:
  QTemporaryDir Home;
  std::unique_ptr<QTemporaryDir> Work;
  TTestHost Host;

  // The lines per page of PRINTER's page in the host's font.
  int LinesPerPage(TTarnPrinter& printer, TTarnEditFile& window) {
    TVuzPrintout printout(printer, QStringLiteral("measure"), &window);
    printout.SetPrintParams(nullptr, QSize(printer.Device().width(), printer.Device().height()),
                            QSizeF(printer.Device().logicalDpiX(), printer.Device().logicalDpiY()));
    printout.BeginPrinting();
    return printout.LinesPerPage();
  }

  // A window holding PAGES full pages of text on PRINTER's paper.
  std::unique_ptr<TTarnEditFile> Window(TTarnPrinter& printer, int pages) {
    TTarnEditFile measure(nullptr, Host);
    const QString path = Work->filePath(QStringLiteral("text.asm"));
    WriteLines(path, pages * LinesPerPage(printer, measure));
    return std::make_unique<TTarnEditFile>(nullptr, Host, path);
  }

  static bool Enabled(TVuzPreviewWin& preview, int id) { return preview.Action(id)->isEnabled(); }

  static bool Shown(TVuzPreviewWin& preview) {
    preview.resize(900, 600);
    preview.show();
    return QTest::qWaitForWindowExposed(&preview);
  }

private slots:
  void initTestCase() {
    QVERIFY2(HavePdfTools(), "pdfinfo and pdftotext (poppler-utils) are missing");
    QVERIFY(Home.isValid());
    qputenv("XDG_CONFIG_HOME", Home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("TARN_NO_SPLASH", "1");
    SetDefaultPrinterSource(ScriptedDefault);
  }

  void init() {
    Work = std::make_unique<QTemporaryDir>();
    QVERIFY(Work->isValid());
    QVERIFY(QDir::setCurrent(Work->path()));
    DefaultPrinter.clear();
  }

  void cleanup() {
    QDir::setCurrent(Home.path());
    Work.reset();
  }

  void pagingThroughThreePages() {
    TTarnPrinter printer(Work->filePath(QStringLiteral("out.pdf")));
    auto window = Window(printer, 3);
    TVuzPreviewWin preview(nullptr, printer, window.get(), nullptr);
    QVERIFY(Shown(preview));
    QCOMPARE(preview.PageText(), QStringLiteral("Page 1"));
    QVERIFY(!Enabled(preview, TVuzPreviewWin::PreviousPage));
    QVERIFY(Enabled(preview, TVuzPreviewWin::NextPage));
    QVERIFY(Enabled(preview, TVuzPreviewWin::TwoPages));

    preview.Command(TVuzPreviewWin::NextPage);
    preview.Command(TVuzPreviewWin::NextPage);
    QCOMPARE(preview.PageText(), QStringLiteral("Page 3"));
    QVERIFY(!Enabled(preview, TVuzPreviewWin::NextPage));
    preview.Command(TVuzPreviewWin::NextPage);  // at the end it stays
    QCOMPARE(preview.FirstPage(), 3);

    // Two pages while the last page shows: the one before it and the last.
    preview.Command(TVuzPreviewWin::TwoPages);
    QCOMPARE(preview.PageText(), QStringLiteral("Page 2 - 3"));
    QCOMPARE(preview.SecondViewPane()->Page(), 3);
    // The second page stands 30 pixels right of the first, as large.
    const QRect first = preview.FirstView()->geometry();
    QCOMPARE(first.topLeft(), QPoint(TVuzPreviewWin::Margin, TVuzPreviewWin::Margin));
    QCOMPARE(preview.SecondViewPane()->geometry(), first.translated(first.width() + TVuzPreviewWin::Gap, 0));
    QCOMPARE(first.bottom() + 1, preview.centralWidget()->height() - TVuzPreviewWin::Margin);

    preview.Command(TVuzPreviewWin::PreviousPage);
    QCOMPARE(preview.PageText(), QStringLiteral("Page 1 - 2"));
    QVERIFY(!Enabled(preview, TVuzPreviewWin::PreviousPage));
    QVERIFY(Enabled(preview, TVuzPreviewWin::NextPage));

    preview.Command(TVuzPreviewWin::OnePage);
    QCOMPARE(preview.PageText(), QStringLiteral("Page 1"));
    QVERIFY(!preview.TwoPageMode());
    QVERIFY(preview.Action(TVuzPreviewWin::OnePage)->isChecked());
  }

  void twoPagesOfAOnePageText() {
    TTarnPrinter printer(Work->filePath(QStringLiteral("out.pdf")));
    TTarnEditFile window(nullptr, Host);
    TVuzPreviewWin preview(nullptr, printer, &window, nullptr);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QVERIFY(!Enabled(preview, TVuzPreviewWin::NextPage));
    preview.Command(TVuzPreviewWin::TwoPages);
    QVERIFY(preview.TwoPageMode());
    QCOMPARE(preview.SecondViewPane()->Page(), 0);
    QCOMPARE(preview.PageText(), QStringLiteral("Page 1"));
    QVERIFY(!Enabled(preview, TVuzPreviewWin::NextPage));
    QVERIFY(!Enabled(preview, TVuzPreviewWin::PreviousPage));
  }

  void twoPagesDisabledForLandscape() {
    TTarnPrinter printer(Work->filePath(QStringLiteral("out.pdf")));
    printer.Device().setPageOrientation(QPageLayout::Landscape);
    auto window = Window(printer, 2);
    TVuzPreviewWin preview(nullptr, printer, window.get(), nullptr);
    QVERIFY(Shown(preview));
    QVERIFY(!Enabled(preview, TVuzPreviewWin::TwoPages));
    preview.Command(TVuzPreviewWin::TwoPages);
    QVERIFY(!preview.TwoPageMode());
    // A landscape sheet is wider than tall on the screen as well.
    QVERIFY(preview.FirstView()->width() > preview.FirstView()->height());
    QVERIFY(Enabled(preview, TVuzPreviewWin::NextPage));
  }

  void pagesArePaintedThroughThePrintout() {
    TTarnPrinter printer(Work->filePath(QStringLiteral("out.pdf")));
    auto window = Window(printer, 2);
    TVuzPreviewWin preview(nullptr, printer, window.get(), nullptr);
    QVERIFY(Shown(preview));
    // Text on the first page; on the empty second pane no more than the
    // sheet's outline.
    const auto inked = [](QWidget* pane) {
      const QImage image = pane->grab().toImage();
      int dark = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
          if (qGray(image.pixel(x, y)) < 96)
            ++dark;
      return dark;
    };
    const auto outline = [](QWidget* pane) { return 2 * (pane->width() + pane->height()); };
    QVERIFY(inked(preview.FirstView()) > outline(preview.FirstView()) + 100);
    TTarnEditFile empty(nullptr, Host);
    TVuzPreviewWin blank(nullptr, printer, &empty, nullptr);
    blank.show();
    QVERIFY(QTest::qWaitForWindowExposed(&blank));
    blank.Command(TVuzPreviewWin::TwoPages);
    QVERIFY(inked(blank.SecondViewPane()) <= outline(blank.SecondViewPane()));
  }

  void previewStandsInForTheFrame() {
    TScriptedPrompts prompts;
    TScriptedPrintDialogs dialogs;
    dialogs.Accept = false;
    TTarnApp app;
    app.Start({});
    TTarnFrame* frame = app.Frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    WriteLines(Work->filePath(QStringLiteral("text.asm")), 5);
    app.Client()->OpenEditorWindow(Work->filePath(QStringLiteral("text.asm")));
    const QRect frameBefore = frame->geometry();

    QRect placed(120, 90, 700, 480);
    bool checked = false;
    QTimer::singleShot(0, this, [&] {
      auto* preview = qobject_cast<TVuzPreviewWin*>(QApplication::activeModalWidget());
      QVERIFY(preview);
      QVERIFY(!frame->isVisible());
      QVERIFY(preview->isVisible());
      QCOMPARE(preview->geometry(), frameBefore);
      QCOMPARE(preview->windowTitle(), frame->windowTitle());
      QVERIFY(app.PrintingCount > 0);
      // The print button is the workbench's Print: the print dialog comes up.
      preview->Action(TVuzPreviewWin::PrintCommand)->trigger();
      QCOMPARE(dialogs.PrintDialogs, 1);
      preview->setGeometry(placed);
      placed = preview->geometry();
      checked = true;
      preview->Action(TVuzPreviewWin::Done)->trigger();
    });
    app.Command(Cmd::PrintPreview);
    QVERIFY(checked);
    QVERIFY(frame->isVisible());
    QVERIFY(!frame->isMaximized());
    QCOMPARE(frame->geometry(), placed);
    QCOMPARE(app.PrintingCount, 0);
    QVERIFY(!QApplication::activeModalWidget());
  }

  void printCommandPrintsTheActiveWindow() {
    TScriptedPrompts prompts;
    TScriptedPrintDialogs dialogs;
    TTarnApp app;
    app.Start({});
    const QString source = Work->filePath(QStringLiteral("text.asm"));
    WriteLines(source, 5);
    app.Client()->OpenEditorWindow(source);
    app.Command(Cmd::Print);
    QCOMPARE(dialogs.PrintDialogs, 1);
    QCOMPARE(dialogs.DialogBounds, qMakePair(1, 1));
    // Without a printer the PDF file is named after the source.
    const QString pdf = Work->filePath(QStringLiteral("text.pdf"));
    QCOMPARE(dialogs.OutputFile, pdf);
    QVERIFY(dialogs.Errors.isEmpty());
    QCOMPARE(PdfPages(pdf), 1);
    QVERIFY(PdfPageTexts(pdf).value(0).contains(QStringLiteral("line 0005")));
    QCOMPARE(app.PrintingCount, 0);
  }

  void printCommandsEnabling() {
    TScriptedPrompts prompts;
    TTarnApp app;
    app.Start({});
    // Without a window the commands are off and no printer object is made.
    for (int id : {int(Cmd::Print), int(Cmd::PageSetup), int(Cmd::PrintPreview)})
      QVERIFY(!app.CommandEnabled(id));
    QVERIFY(!app.HasPrinter());
    app.Client()->NewWindow();
    // The system has no printer: printing to a PDF file is still offered.
    for (int id : {int(Cmd::Print), int(Cmd::PageSetup), int(Cmd::PrintPreview)})
      QVERIFY(app.CommandEnabled(id));
    QVERIFY(app.HasPrinter());
    TTarnPrinter* first = &app.Printer();
    QVERIFY(app.CommandEnabled(Cmd::Print));
    QCOMPARE(&app.Printer(), first);
    TScriptedPrintDialogs dialogs;
    app.Command(Cmd::PageSetup);
    QCOMPARE(dialogs.PageSetups, 1);

    // Another default printer: the next query makes a new printer object,
    // but never while a print or preview uses the old one.
    DefaultPrinter = QStringLiteral("Elsewhere");
    ++app.PrintingCount;
    QVERIFY(app.CommandEnabled(Cmd::Print));
    QCOMPARE(app.Printer().DeviceName(), QString());
    --app.PrintingCount;
    QVERIFY(app.CommandEnabled(Cmd::Print));
    QCOMPARE(app.Printer().DeviceName(), QStringLiteral("Elsewhere"));
  }
};

QTEST_MAIN(TPreviewTest)
#include "PreviewTest.moc"
