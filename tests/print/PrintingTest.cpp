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

// A text of FULLPAGES pages and EXTRALINES lines printed, with ONLY (from 1) chosen
// in the print dialog or else all of it, on PAGES sheets.
struct TPageCase { int FullPages, ExtraLines, Only, Pages; };
// tarnw --print-to-pdf OUT SOURCE, its exit status, and whether an older OUT stands there.
struct TCommandCase { QString Source, Out; int Status; bool Old; };

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

  // The dark pixels on PANE, and how many the sheet's outline alone has.
  static int Inked(QWidget* pane) {
    const QImage image = pane->grab().toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        dark += qGray(image.pixel(x, y)) < 96;
    return dark;
  }
  static int Outline(QWidget* pane) { return 2 * (pane->width() + pane->height()); }

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
    QTest::addColumn<TPageCase>("c");
    QTest::newRow("last page exactly full: no empty sheet") << TPageCase{2, 0, 0, 2};
    QTest::newRow("one line short of two pages") << TPageCase{2, -1, 0, 2};
    QTest::newRow("one line onto a third page") << TPageCase{2, 1, 0, 3};
    QTest::newRow("one line") << TPageCase{0, 1, 0, 1};
    QTest::newRow("empty file") << TPageCase{0, 0, 0, 1};
    QTest::newRow("page 2 of 3 chosen in the dialog") << TPageCase{3, 0, 2, 1};
  }
  void pageCount() {
    QFETCH(TPageCase, c);
    const int perPage = LinesPerPage();
    QVERIFY(perPage > 10);
    const int lines = c.FullPages * perPage + c.ExtraLines;
    TScriptedPrintDialogs dialogs;
    dialogs.FromPage = dialogs.ToPage = c.Only;
    const QString out = Path(QStringLiteral("out.pdf"));
    QVERIFY(Print(Source(lines), out, c.Only > 0));
    if (c.Only > 0)  // the dialog offers the pages the text fills
      QCOMPARE(dialogs.DialogBounds, qMakePair(1, c.FullPages));
    QCOMPARE(PdfPages(out), c.Pages);
    const QStringList texts = PdfPageTexts(out);
    if (lines == 0)
      return;
    QCOMPARE(texts.size(), c.Pages);
    // Every page begins with the line after the last one of the page before
    // and ends with its own last line.
    const auto line = [](int n) { return QStringLiteral("line %1").arg(n, 4, 10, QLatin1Char('0')); };
    for (int p = 0; p < c.Pages; ++p) {
      const int sheet = c.Only > 0 ? c.Only - 1 : p;
      const int first = sheet * perPage + 1;
      const int last = qMin(lines, (sheet + 1) * perPage);
      QVERIFY2(texts[p].contains(line(first)), qPrintable(texts[p]));
      QVERIFY(texts[p].contains(line(last)));
      QVERIFY(!texts[p].contains(line(first - 1)));
      QVERIFY(!texts[p].contains(line(last + 1)));
    }
  }

  void fontTallerThanThePagePrintsALinePerPage() {
    Host.Font.setPixelSize(2400);
    const QString out = Path(QStringLiteral("out.pdf"));
    QVERIFY(Print(Source(3), out));
    QCOMPARE(PdfPages(out), 3);
  }

  // A print dialog cancelled is no failure and says nothing; a job that
  // cannot write its file is reported.
  void jobsThatPrintNothing() {
    TScriptedPrintDialogs dialogs;
    dialogs.Accept = false;
    const QString out = Path(QStringLiteral("out.pdf"));
    QVERIFY(Print(Source(3), out, true));
    QVERIFY(!QFile::exists(out));
    QVERIFY(dialogs.Errors.isEmpty());
    QVERIFY(!Print(Source(3), Path(QStringLiteral("missing/dir/out.pdf"))));
    QCOMPARE(dialogs.Errors, QStringList{QStringLiteral("'T' not printed. Error encountered during print.")});
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
    QTest::addColumn<TCommandCase>("c");
    QTest::newRow("prints") << TCommandCase{"text.asm", "out.pdf", 0, true};
    QTest::newRow("unreadable file") << TCommandCase{"missing.asm", "out.pdf", 1, false};
    QTest::newRow("unreadable file, old out kept") << TCommandCase{"missing.asm", "out.pdf", 1, true};
    QTest::newRow("file is a directory") << TCommandCase{".", "out.pdf", 1, false};
    QTest::newRow("unwritable out") << TCommandCase{"text.asm", "missing/out.pdf", 1, false};
    QTest::newRow("out is a directory") << TCommandCase{"text.asm", ".", 1, false};
  }
  void printToPdfCommand() {
    QFETCH(TCommandCase, c);
    const auto& [source, out, status, old] = c;
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
    // The page is painted through the printout.
    QVERIFY(Inked(preview.FirstView()) > Outline(preview.FirstView()) + 100);
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
    QVERIFY(Inked(preview.SecondViewPane()) <= Outline(preview.SecondViewPane()));  // nothing but the sheet
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
    QVERIFY(!app.CommandEnabled(Cmd::Print));
    QVERIFY(!app.HasPrinter());
    Client().NewWindow();
    // The system has no printer: printing to a PDF file is still offered.
    QVERIFY(app.CommandEnabled(Cmd::Print));
    QVERIFY(app.HasPrinter());
    TTarnPrinter* first = &app.Printer();
    QVERIFY(app.CommandEnabled(Cmd::PageSetup));
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
