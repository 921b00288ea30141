// Printing an editor window's text to PDF files and reading the pages back:
// how many pages, which lines each carries, where tabs stand, and how a
// failed or cancelled job is reported; and tarnw --print-to-pdf.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "EditFile.h"
#include "FindDialog.h"  // EditFile.h holds a QPointer to it
#include "PrintSupport.h"
#include "Printer.h"
#include "Printout.h"

class TPrintoutTest : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<QTemporaryDir> Work;
  TTestHost Host;

  QString Path(const QString& name) const { return Work->filePath(name); }

  // Lines per page of the default PDF page in HOST's font.
  int LinesPerPage() {
    TTarnPrinter printer(Path(QStringLiteral("measure.pdf")));
    TTarnEditFile window(nullptr, Host);
    TVuzPrintout printout(printer, QStringLiteral("measure"), &window);
    printout.SetPrintParams(nullptr, QSize(printer.Device().width(), printer.Device().height()),
                            QSizeF(printer.Device().logicalDpiX(), printer.Device().logicalDpiY()));
    printout.BeginPrinting();
    return printout.LinesPerPage();
  }

  // Prints SOURCE to OUT as the Print command does; false on a failed job.
  bool Print(const QString& source, const QString& out, bool prompt = false) {
    TTarnPrinter printer(out);
    TTarnEditFile window(nullptr, Host, source);
    TVuzPrintout printout(printer, QStringLiteral("T"), &window);
    return printer.Print(nullptr, printout, prompt);
  }

private slots:
  void initTestCase() { QVERIFY2(HavePdfTools(), "pdfinfo and pdftotext (poppler-utils) are missing"); }

  void init() {
    Work = std::make_unique<QTemporaryDir>();
    QVERIFY(Work->isValid());
    Host = TTestHost();
  }

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
    const QString source = Path(QStringLiteral("text.asm"));
    WriteLines(source, lines);
    const QString out = Path(QStringLiteral("out.pdf"));
    QVERIFY(Print(source, out));
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
    const QString source = Path(QStringLiteral("text.asm"));
    WriteLines(source, 3);
    const QString out = Path(QStringLiteral("out.pdf"));
    QVERIFY(Print(source, out));
    QCOMPARE(PdfPages(out), 3);
  }

  void pageRangeTwoToTwo() {
    const int perPage = LinesPerPage();
    const QString source = Path(QStringLiteral("text.asm"));
    WriteLines(source, 3 * perPage);
    TScriptedPrintDialogs dialogs;
    dialogs.FromPage = dialogs.ToPage = 2;
    const QString out = Path(QStringLiteral("out.pdf"));
    QVERIFY(Print(source, out, true));
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
    const QString source = Path(QStringLiteral("text.asm"));
    WriteLines(source, 3);
    TScriptedPrintDialogs dialogs;
    dialogs.Accept = false;
    const QString out = Path(QStringLiteral("out.pdf"));
    QVERIFY(Print(source, out, true));
    QVERIFY(!QFile::exists(out));
    QVERIFY(dialogs.Errors.isEmpty());
  }

  void tabsAtTheDevicesStops() {
    // The editor's own tab size is not the printer's: the device's stops
    // stand every eight average character widths.
    Host.Tabs = 4;
    const QString source = Path(QStringLiteral("tabs.asm"));
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\tTABBED\nab\tAFTERAB\n1234567 EIGHTH\n123 FOURTH\n12345678\tSIXTEENTH\n1234567 ABCDEFG COLUMN16\n");
    file.close();
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
    const QString source = Path(QStringLiteral("text.asm"));
    WriteLines(source, 3);
    TScriptedPrintDialogs dialogs;
    QVERIFY(!Print(source, Path(QStringLiteral("missing/dir/out.pdf"))));
    QCOMPARE(dialogs.Errors, QStringList{QStringLiteral("'T' not printed. Error encountered during print.")});
  }

  void cancelInThePrintingBox() {
    const int perPage = LinesPerPage();
    const QString source = Path(QStringLiteral("text.asm"));
    WriteLines(source, 3 * perPage);
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
    QTest::newRow("prints") << "text.asm" << "out.pdf" << 0;
    QTest::newRow("unreadable file") << "missing.asm" << "out.pdf" << 1;
    QTest::newRow("file is a directory") << "." << "out.pdf" << 1;
    QTest::newRow("unwritable out") << "text.asm" << "missing/out.pdf" << 1;
    QTest::newRow("out is a directory") << "text.asm" << "." << 1;
  }
  void printToPdfCommand() {
    QFETCH(QString, source);
    QFETCH(QString, out);
    QFETCH(int, status);
    WriteLines(Path(QStringLiteral("text.asm")), 3);
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
      QVERIFY(!QFileInfo(pdf).isFile());
    }
    // No half-written file is left beside it.
    QCOMPARE(QDir(Work->path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".out.pdf")),
             QStringList());
  }

  void printToPdfKeepsOldFileWhenSourceIsUnreadable() {
    const QString out = Path(QStringLiteral("out.pdf"));
    QFile old(out);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    QProcess tarnw;
    tarnw.start(QStringLiteral(TARNW_PROGRAM), {QStringLiteral("--print-to-pdf"), out, Path(QStringLiteral("no.asm"))});
    QVERIFY(tarnw.waitForFinished(30000));
    QCOMPARE(tarnw.exitCode(), 1);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
  }

  // --help names the printing form; it needs no display and opens no window.
  void helpShowsTheCommandLine() {
    QProcess tarnw;
    tarnw.start(QStringLiteral(TARNW_PROGRAM), {QStringLiteral("--help")});
    QVERIFY(tarnw.waitForFinished(30000));
    QCOMPARE(tarnw.exitCode(), 0);
    QVERIFY(tarnw.readAllStandardOutput().contains("--print-to-pdf OUT.pdf FILE"));
  }
};

QTEST_MAIN(TPrintoutTest)
#include "PrintoutTest.moc"
