// Printing: an editor window's text printed to PDF files and read back (how
// many pages, which lines each carries, where tabs stand, how a failed or
// cancelled job is reported), tarnw --print-to-pdf, the print preview (its
// paging buttons, two-page mode, the frame it stands in for) and the print
// commands' enabling with the printer object behind it.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "AppFixture.h"
#include "CommandIds.h"
#include "Frame.h"
#include "PreviewWin.h"
#include "PrintSupport.h"

namespace {

QString DefaultPrinter;
QString ScriptedDefault() { return DefaultPrinter; }

}  // namespace

class TPrintingTest : public QObject, TAppFixture {
  Q_OBJECT

  TTestHost Host;

  QString Path(const QString& name) const { return Work->filePath(name); }

  // Lines per page of PRINTER's page (without one, the default PDF page) in HOST's font.
  int LinesPerPage(TTarnPrinter* printer = nullptr) {
    TTarnPrinter measure(Path(QStringLiteral("measure.pdf")));
    TTarnEditFile window(nullptr, Host);
    return ::LinesPerPage(printer ? *printer : measure, window);
  }

  // The path of text.asm, holding LINES numbered lines.
  QString Source(int lines) {
    const QString path = Path(QStringLiteral("text.asm"));
    WriteLines(path, lines);
    return path;
  }

  // A window holding PAGES full pages of text on PRINTER's paper.
  std::unique_ptr<TTarnEditFile> Window(TTarnPrinter& printer, int pages) {
    return std::make_unique<TTarnEditFile>(nullptr, Host, Source(pages * LinesPerPage(&printer)));
  }

  // Prints SOURCE to OUT as the Print command does; false on a failed job.
  bool Print(const QString& source, const QString& out, bool prompt = false) {
    TTarnPrinter printer(out);
    TTarnEditFile window(nullptr, Host, source);
    TVuzPrintout printout(printer, QStringLiteral("T"), &window);
    return printer.Print(nullptr, printout, prompt);
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
    SetUpHome();
    SetDefaultPrinterSource(ScriptedDefault);
  }
  void init() {
    SetUpWork();
    DefaultPrinter.clear();
    Host = TTestHost();
  }
  void cleanup() { TearDown(); }

  void pageCount_data() {
    QTest::addColumn<int>("fullPages");
    QTest::addColumn<int>("extraLines");
    QTest::addColumn<int>("pages");
    QTest::newRow("last page exactly full: no empty sheet") << 2 << 0 << 2;
    QTest::newRow("one line short of two pages") << 2 << -1 << 2;
    QTest::newRow("one line onto a third page") << 2 << 1 << 3;
    QTest::newRow("one line") << 0 << 1 << 1;
    QTest::newRow("empty file") << 0 << 0 << 1;
  }
  void pageCount() {
    QFETCH(int, fullPages);
    QFETCH(int, extraLines);
    QFETCH(int, pages);
    const int perPage = LinesPerPage();
    QVERIFY(perPage > 10);
    const int lines = fullPages * perPage + extraLines;
    const QString out = Path(QStringLiteral("out.pdf"));
    QVERIFY(Print(Source(lines), out));
    QCOMPARE(PdfPages(out), pages);
    const QStringList texts = PdfPageTexts(out);
    if (lines == 0)
      return;
    QCOMPARE(texts.size(), pages);
    // Every page begins with the line after the last one of the page before
    // and ends with its own last line.
    for (int p = 0; p < pages; ++p) {
      const int first = p * perPage + 1;
      const int last = qMin(lines, (p + 1) * perPage);
      QVERIFY2(texts[p].contains(QStringLiteral("line %1").arg(first, 4, 10, QLatin1Char('0'))), qPrintable(texts[p]));
      QVERIFY(texts[p].contains(QStringLiteral("line %1").arg(last, 4, 10, QLatin1Char('0'))));
      QVERIFY(!texts[p].contains(QStringLiteral("line %1").arg(last + 1, 4, 10, QLatin1Char('0'))));
    }
  }

  void fontTallerThanThePagePrintsALinePerPage() {
    Host.Font.setPixelSize(2400);
    const QString out = Path(QStringLiteral("out.pdf"));
    QVERIFY(Print(Source(3), out));
    QCOMPARE(PdfPages(out), 3);
  }

  void pageRangeTwoToTwo() {
    const int perPage = LinesPerPage();
    TScriptedPrintDialogs dialogs;
    dialogs.FromPage = dialogs.ToPage = 2;
    const QString out = Path(QStringLiteral("out.pdf"));
    QVERIFY(Print(Source(3 * perPage), out, true));
    QCOMPARE(dialogs.PrintDialogs, 1);
    // The dialog offers the pages the text fills.
    QCOMPARE(dialogs.DialogBounds, qMakePair(1, 3));
    QCOMPARE(PdfPages(out), 1);
    const QString text = PdfPageTexts(out).value(0);
    const auto line = [](int n) { return QStringLiteral("line %1").arg(n, 4, 10, QLatin1Char('0')); };
    QVERIFY(text.contains(line(perPage + 1)));
    QVERIFY(text.contains(line(2 * perPage)));
    QVERIFY(!text.contains(line(perPage)));
    QVERIFY(!text.contains(line(2 * perPage + 1)));
  }

  void cancelledDialogPrintsNothing() {
    TScriptedPrintDialogs dialogs;
    dialogs.Accept = false;
    const QString out = Path(QStringLiteral("out.pdf"));
    QVERIFY(Print(Source(3), out, true));
    QVERIFY(!QFile::exists(out));
    QVERIFY(dialogs.Errors.isEmpty());
  }

  void tabsAtTheDevicesStops() {
    // The editor's own tab size is not the printer's: the device's stops
    // stand every eight average character widths.
    Host.Tabs = 4;
    const QString source = Path(QStringLiteral("tabs.asm"));
    WriteFile(source, "\tTABBED\nab\tAFTERAB\n1234567 EIGHTH\n123 FOURTH\n12345678\tSIXTEENTH\n1234567 ABCDEFG COLUMN16\n");
    const QString out = Path(QStringLiteral("out.pdf"));
    QVERIFY(Print(source, out));
    const double eighth = PdfWordLeft(out, QStringLiteral("EIGHTH"));
    QVERIFY(eighth > 0);
    QCOMPARE(qRound(PdfWordLeft(out, QStringLiteral("TABBED")) * 10), qRound(eighth * 10));
    QCOMPARE(qRound(PdfWordLeft(out, QStringLiteral("AFTERAB")) * 10), qRound(eighth * 10));
    QVERIFY(PdfWordLeft(out, QStringLiteral("FOURTH")) < eighth - 1);
    QCOMPARE(qRound(PdfWordLeft(out, QStringLiteral("SIXTEENTH")) * 10),
             qRound(PdfWordLeft(out, QStringLiteral("COLUMN16")) * 10));
  }

  void failedJobIsReported() {
    TScriptedPrintDialogs dialogs;
    QVERIFY(!Print(Source(3), Path(QStringLiteral("missing/dir/out.pdf"))));
    QCOMPARE(dialogs.Errors, QStringList{QStringLiteral("'T' not printed. Error encountered during print.")});
  }

  void cancelInThePrintingBox() {
    const QString source = Source(3 * LinesPerPage());
    TScriptedPrintDialogs dialogs;
    dialogs.Box = true;
    QStringList shown;
    QTimer::singleShot(0, this, [&shown] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() != QLatin1String("Printing") || !widget->isVisible())
          continue;
        shown << widget->windowTitle();
        for (QLabel* label : widget->findChildren<QLabel*>())
          shown << label->text();
        widget->findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
      }
    });
    QVERIFY(!Print(source, Path(QStringLiteral("out.pdf"))));
    QCOMPARE(shown, (QStringList{QStringLiteral("Printing"), QStringLiteral("Now printing"),
                                 QStringLiteral("'T' on the"), QStringLiteral("PDF on out.pdf")}));
    QCOMPARE(dialogs.Errors, QStringList{QStringLiteral("'T' not printed. Printing canceled.")});
  }

  void printToPdfCommand_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("out");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("old");  // an older out.pdf stands there
    QTest::newRow("prints") << "text.asm" << "out.pdf" << 0 << true;
    QTest::newRow("unreadable file") << "missing.asm" << "out.pdf" << 1 << false;
    QTest::newRow("unreadable file, old out kept") << "missing.asm" << "out.pdf" << 1 << true;
    QTest::newRow("file is a directory") << "." << "out.pdf" << 1 << false;
    QTest::newRow("unwritable out") << "text.asm" << "missing/out.pdf" << 1 << false;
    QTest::newRow("out is a directory") << "text.asm" << "." << 1 << false;
  }
  void printToPdfCommand() {
    QFETCH(QString, source);
    QFETCH(QString, out);
    QFETCH(int, status);
    QFETCH(bool, old);
    Source(3);
    if (old)
      WriteFile(Path(out), "old");
    QProcess tarnw;
    tarnw.setWorkingDirectory(Work->path());
    tarnw.start(QStringLiteral(TARNW_PROGRAM), {QStringLiteral("--print-to-pdf"), out, source});
    QVERIFY(tarnw.waitForFinished(30000));
    QCOMPARE(tarnw.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tarnw.exitCode(), status);
    const QString pdf = Path(out);
    if (status == 0) {
      QVERIFY(!tarnw.readAllStandardError().contains("tarnw:"));
      QCOMPARE(PdfPages(pdf), 1);
      QVERIFY(PdfPageTexts(pdf).value(0).contains(QStringLiteral("line 0003")));
    } else {
      QVERIFY(!tarnw.readAllStandardError().isEmpty());
      if (old)
        QCOMPARE(ReadFile(pdf), QByteArray("old"));
      else
        QVERIFY(!QFileInfo(pdf).isFile());
    }
    // No half-written file is left beside it.
    QCOMPARE(QDir(Work->path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".out.pdf")),
             QStringList());
  }

  // --help names the printing form; it needs no display and opens no window.
  void helpShowsTheCommandLine() {
    QProcess tarnw;
    tarnw.start(QStringLiteral(TARNW_PROGRAM), {QStringLiteral("--help")});
    QVERIFY(tarnw.waitForFinished(30000));
    QCOMPARE(tarnw.exitCode(), 0);
    QVERIFY(tarnw.readAllStandardOutput().contains("--print-to-pdf OUT.pdf FILE"));
  }

  void pagingThroughThreePages() {
    TTarnPrinter printer(Path(QStringLiteral("out.pdf")));
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
    TTarnPrinter printer(Path(QStringLiteral("out.pdf")));
    TTarnEditFile window(nullptr, Host);
    TVuzPreviewWin preview(nullptr, printer, &window, nullptr);
    QVERIFY(Shown(preview));
    QVERIFY(!Enabled(preview, TVuzPreviewWin::NextPage));
    preview.Command(TVuzPreviewWin::TwoPages);
    QVERIFY(preview.TwoPageMode());
    QCOMPARE(preview.SecondViewPane()->Page(), 0);
    QCOMPARE(preview.PageText(), QStringLiteral("Page 1"));
    QVERIFY(!Enabled(preview, TVuzPreviewWin::NextPage));
    QVERIFY(!Enabled(preview, TVuzPreviewWin::PreviousPage));
  }

  void twoPagesDisabledForLandscape() {
    TTarnPrinter printer(Path(QStringLiteral("out.pdf")));
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
    TTarnPrinter printer(Path(QStringLiteral("out.pdf")));
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
    QVERIFY(Shown(blank));
    blank.Command(TVuzPreviewWin::TwoPages);
    QVERIFY(inked(blank.SecondViewPane()) <= outline(blank.SecondViewPane()));
  }

  void previewStandsInForTheFrame() {
    TScriptedPrintDialogs dialogs;
    dialogs.Accept = false;
    TTarnApp& app = StartApp();
    TTarnFrame* frame = app.Frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    Client().OpenEditorWindow(Source(5));
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
    TScriptedPrintDialogs dialogs;
    TTarnApp& app = StartApp();
    Client().OpenEditorWindow(Source(5));
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
    TTarnApp& app = StartApp();
    // Without a window the commands are off and no printer object is made.
    for (int id : {int(Cmd::Print), int(Cmd::PageSetup), int(Cmd::PrintPreview)})
      QVERIFY(!app.CommandEnabled(id));
    QVERIFY(!app.HasPrinter());
    Client().NewWindow();
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

QTEST_MAIN(TPrintingTest)
#include "PrintingTest.moc"
