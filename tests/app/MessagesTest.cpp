// Output names of a run, stepping through the error file, and finding upper-cased paths.
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "Files.h"
#include "Messages.h"

namespace {

const char* const ThreeErrors =
    "/WORK/MAIN.ASM(12,9): Error 36 - Operand not in specified range\n"
    "/WORK/INC.ASM(3,1): Error 7 - Object file did not open\n"
    "/WORK/MAIN.ASM(40,17): Error 23 - \n";

// One line of an error file and what is read from it; the help context counts only with text.
struct TLineCase { const char* Line; bool HasText, HasFile; const char* File; int LineNo, Column, Help; };

}  // namespace

class MessagesTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  std::string PathOf(const QString& name) const { return Dir.filePath(name).toStdString(); }

 private slots:
  void outputNames_data() {
    QTest::addColumn<QString>("main");
    QTest::addColumn<QString>("stem");
    QTest::newRow("extension") << "/src/PROG.S" << "/src/PROG";
    QTest::newRow("lower-case extension") << "/src/prog.asm" << "/src/prog";
    QTest::newRow("no extension") << "/src/PROG" << "/src/PROG";
    QTest::newRow("dot in a directory") << "/src/v1.2/PROG" << "/src/v1.2/PROG";
    QTest::newRow("two dots") << "/src/a.b.asm" << "/src/a.b";
    QTest::newRow("hidden file") << "/src/.prog" << "/src/.prog";
    QTest::newRow("relative") << "prog.asm" << "prog";
  }
  void outputNames() {
    QFETCH(QString, main);
    QFETCH(QString, stem);
    TOutputNames n = OutputNames(main.toStdString());
    QCOMPARE(QString::fromStdString(n.Listing), stem + ".LST");
    QCOMPARE(QString::fromStdString(n.Object), stem + ".HEX");
    QCOMPARE(QString::fromStdString(n.Errors), stem + ".ERR");
  }

  void stepsThroughTheFile() {
    std::string err = PathOf("three.ERR");
    WriteAll(err, ThreeErrors);
    uint16_t index = 0;
    TMessage m;
    QVERIFY(StepMessage(err, index, +1, m));
    QCOMPARE(index, uint16_t(1));
    QCOMPARE(m.StatusText,
             std::string("Message #1: Error 36 - Operand not in specified range.  <Ctrl+F1> for Help"));
    QCOMPARE(m.HelpContext, 136);
    QCOMPARE(m.FileName, std::string("/WORK/MAIN.ASM"));
    QCOMPARE(m.Line, uint32_t(12));
    QCOMPARE(m.Column, uint32_t(9));

    QVERIFY(StepMessage(err, index, +1, m));
    QCOMPARE(m.HelpContext, 107);  // one digit followed by a blank
    QCOMPARE(m.FileName, std::string("/WORK/INC.ASM"));
    QVERIFY(StepMessage(err, index, +1, m));
    QCOMPARE(m.HelpContext, 123);
    QCOMPARE(m.Line, uint32_t(40));

    // Next on the last message shows it again under the same number.
    QVERIFY(StepMessage(err, index, +1, m));
    QCOMPARE(index, uint16_t(3));
    QVERIFY(m.StatusText.starts_with("Message #3: Error 23 - ."));

    index = 1;
    QVERIFY(StepMessage(err, index, -1, m));
    QCOMPARE(index, uint16_t(1));
    QCOMPARE(m.Line, uint32_t(12));

    // An index beyond a file that became shorter follows the last line.
    index = 40;
    QVERIFY(StepMessage(err, index, +1, m));
    QCOMPARE(index, uint16_t(3));
  }

  void unusableFiles() {
    uint16_t index = 0;
    TMessage m;
    QVERIFY(!StepMessage(PathOf("missing.ERR"), index, +1, m));
    QCOMPARE(index, uint16_t(1));
    QVERIFY(!m.HasText && !m.HasFile);
    std::string empty = PathOf("empty.ERR");
    WriteAll(empty, "");
    index = 0;
    QVERIFY(!StepMessage(empty, index, +1, m));
    QVERIFY(!m.HasText && !m.HasFile);
  }

  void oddLines_data() {
    QTest::addColumn<TLineCase>("c");
    QTest::newRow("neither parenthesis") << TLineCase{"garbage", false, false, "", 1, 1, 0};
    QTest::newRow("empty") << TLineCase{"", false, false, "", 1, 1, 0};
    QTest::newRow("only (") << TLineCase{"/A.ASM(5", false, true, "/A.ASM", 5, 1, 0};
    QTest::newRow("only )") << TLineCase{"x)", true, false, "", 1, 1, 100};
    QTest::newRow("no numbers") << TLineCase{"/A.ASM(,): E", true, true, "/A.ASM", 1, 1, 100};
    // The split is at the first parenthesis, so such a path is cut short.
    QTest::newRow("parenthesis in path")
        << TLineCase{"/W/A(1)/B.ASM(4,2): Error 35 - Symbol not found", true, true, "/W/A", 1, 2, 100};
    QTest::newRow("line 0 of a fatal error")
        << TLineCase{"/A.ASM(0,1): Error 1 - Source file did not open", true, true, "/A.ASM", 1, 1, 101};
    QTest::newRow("line past 16 bits") << TLineCase{"/A.ASM(200000,99999): Error 40 - x", true, true, "/A.ASM", 200000, 99999, 140};
    QTest::newRow("line past what the editor counts")
        << TLineCase{"/A.ASM(99999999999,3): Error 40 - x", true, true, "/A.ASM", 2147483647, 3, 140};
    QTest::newRow("crlf") << TLineCase{"/A.ASM(2,3): Error 35 - Symbol not found\r\n", true, true, "/A.ASM", 2, 3, 135};
  }
  void oddLines() {
    QFETCH(TLineCase, c);
    TMessage m = ParseMessageLine(c.Line, 1);
    QCOMPARE(m.HasText, c.HasText);
    QCOMPARE(m.HasFile, c.HasFile);
    QCOMPARE(m.FileName, std::string(c.File));
    QCOMPARE(int(m.Line), c.LineNo);
    QCOMPARE(int(m.Column), c.Column);
    if (c.HasText) QCOMPARE(m.HelpContext, c.Help);
    QVERIFY(m.StatusText.find_first_of("\r\n") == std::string::npos);  // no line end shows
  }

  void longLinesCountAsOneMessage() {
    // A path far beyond the old 254-character line buffer must not shift later messages.
    std::string longPath = "/" + std::string(300, 'D') + "/MAIN.ASM";
    std::string err = PathOf("long.ERR");
    WriteAll(err, longPath + "(1,1): Error 35 - Symbol not found\n/B.ASM(2,2): Error 36 - x\n");
    uint16_t index = 0;
    TMessage m;
    QVERIFY(StepMessage(err, index, +1, m));
    QCOMPARE(m.FileName, longPath);
    QVERIFY(StepMessage(err, index, +1, m));
    QCOMPARE(index, uint16_t(2));
    QCOMPARE(m.FileName, std::string("/B.ASM"));
  }

  void resolvesUpperCasedPaths() {
    QDir d(Dir.path());
    QVERIFY(d.mkpath("Proj/Src"));
    QVERIFY(d.mkpath("proj/src"));  // exact matches win where several spellings exist
    WriteAll(PathOf("Proj/Src/Main.asm"), "");
    WriteAll(PathOf("proj/src/other.asm"), "");
    WriteAll(PathOf("Proj/Src/UPPER.ASM"), "");
    std::string base = Dir.path().toStdString();
    std::string upperBase = Dir.path().toUpper().toStdString();

    QCOMPARE(ResolvePathIgnoringCase(upperBase + "/PROJ/SRC/MAIN.ASM"), base + "/Proj/Src/Main.asm");
    // Only the lower-case tree holds this file: the search goes on past the first spelling.
    QCOMPARE(ResolvePathIgnoringCase(upperBase + "/PROJ/SRC/OTHER.ASM"), base + "/proj/src/other.asm");
    QCOMPARE(ResolvePathIgnoringCase(base + "/Proj/Src/UPPER.ASM"), base + "/Proj/Src/UPPER.ASM");
    std::string missing = upperBase + "/PROJ/SRC/NONE.ASM";
    QCOMPARE(ResolvePathIgnoringCase(missing), missing);
    // A file where a directory is wanted does not match.
    std::string throughFile = upperBase + "/PROJ/SRC/MAIN.ASM/X";
    QCOMPARE(ResolvePathIgnoringCase(throughFile), throughFile);
    QCOMPARE(ResolvePathIgnoringCase(""), std::string());
  }
};

QTEST_APPLESS_MAIN(MessagesTest)
#include "MessagesTest.moc"
