// The "Assembling" dialog: its layout, the three button states, and a real engine run.
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <string>
#include <sys/resource.h>

#include "AssembleDialog.h"
#include "Files.h"
#include "ScriptedPrompts.h"
#include "Tarn.h"

namespace {
// While it lives, the process may take only so many bytes more memory for
// data than it holds now.
class TDataLimit {
 public:
  explicit TDataLimit(rlim_t more) {
    getrlimit(RLIMIT_DATA, &Saved);
    rlimit limit = Saved;
    limit.rlim_cur = DataHeld() + more;
    setrlimit(RLIMIT_DATA, &limit);
  }
  ~TDataLimit() { setrlimit(RLIMIT_DATA, &Saved); }

 private:
  static rlim_t DataHeld() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
      if (word == "VmData:") {
        rlim_t kilobytes = 0;
        status >> kilobytes;
        return kilobytes * 1024;
      }
    return 0;
  }
  rlimit Saved{};
};
}  // namespace

class AssembleDialogTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  std::string PathOf(const QString& name) const { return Dir.filePath(name).toStdString(); }

 private slots:
  void opensReadyToAssembleAndCancelRunsNothing() {
    std::string main = PathOf("cancel.asm");
    WriteAll(main, " DFB 1\n");
    TTarnDialog dlg(nullptr, main);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QString("Assembling"));
    QVERIFY(dlg.AssembleButton()->isVisible() && dlg.AssembleButton()->isEnabled());
    QVERIFY(dlg.CancelButton()->isVisible());
    QVERIFY(!dlg.OkButton()->isVisible());
    QCOMPARE(dlg.OkButton()->geometry(), dlg.CancelButton()->geometry());
    QCOMPARE(dlg.AssembleButton()->text(), QString("&Assemble"));
    QCOMPARE(dlg.CancelButton()->text(), QString("&Cancel"));
    QCOMPARE(dlg.OkButton()->text(), QString("&Ok"));
    for (int id = 208; id <= 215; ++id) {
      QVERIFY(dlg.Field(id));
      QVERIFY(dlg.Field(id)->text().isEmpty());
    }
    QVERIFY(!dlg.Field(207) && !dlg.Field(216));
    // Template order: pass above main file above current file; counts right-aligned in columns.
    QVERIFY(dlg.Field(208)->y() < dlg.Field(209)->y() && dlg.Field(209)->y() < dlg.Field(210)->y());
    QCOMPARE(dlg.Field(211)->x(), dlg.Field(213)->x());
    QVERIFY(dlg.Field(212)->x() > dlg.Field(211)->x());
    QVERIFY(dlg.Field(215)->alignment() & Qt::AlignRight);

    dlg.CancelButton()->click();
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(!dlg.Assembled());
    QCOMPARE(dlg.ErrorCount(), uint16_t(0));
    QVERIFY(!QFile::exists(Dir.filePath("cancel.ERR")));
  }

  void missingMainFileIsOneError() {
    {
      TTarnDialog dlg(nullptr, PathOf("absent.asm"));
      dlg.AssembleButton()->click();
      QCOMPARE(dlg.ErrorCount(), uint16_t(1));
      QVERIFY(ReadAll(dlg.Names().Errors).find("(0,1): Error 1 - Source file did not open") != std::string::npos);
    }
    // With the dialog gone the progress table is empty again.
    ShowProgress("late", 208);
    ShowProgress(nullptr, 999);
  }

  void largeRunPaintsTheFieldsSeldomButEndsOnTheLastCounts() {
    // 200,000 lines give about 12,000 progress reports over two passes; the
    // fields are painted only a few times a second, yet end on the final values.
    std::string main = PathOf("large.asm");
    std::string source;
    for (int i = 0; i < 200000; ++i) source += " DFB 1\n";
    WriteAll(main, source);
    TTarnDialog dlg(nullptr, main);
    dlg.show();
    int before = ProgressPaintCount();
    dlg.AssembleButton()->click();
    QCOMPARE(int(dlg.ErrorCount()), 0);
    QVERIFY2(ProgressPaintCount() - before < 300, qPrintable(QString::number(ProgressPaintCount() - before)));
    QCOMPARE(dlg.Field(208)->text(), QString("2"));
    QCOMPARE(dlg.Field(211)->text(), QString("200001"));
    QCOMPARE(dlg.Field(212)->text(), QString("200001"));
    QCOMPARE(dlg.Field(214)->text(), QString("     0"));
  }

  void runningOutOfMemoryStopsWithAMessageAndTheWorkbenchGoesOn() {
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the sanitizer's allocator does not fit under a data limit");
#endif
    // A million labels need far more than the 16 MB the run may take.
    std::string main = PathOf("huge.asm");
    std::string source;
    for (int i = 0; i < 1000000; ++i) {
      source += 'L';
      source += std::to_string(i);
      source += " DFB 1\n";
    }
    WriteAll(main, source);
    source = {};
    TScriptedPrompts prompts;
    prompts.AnswerMessage("Assembling", TAnswer::Ok);
    {
      TTarnDialog dlg(nullptr, main);
      {
        TDataLimit limit(16 << 20);
        dlg.AssembleButton()->click();
      }
      QCOMPARE(prompts.Pending(), 0);
      QCOMPARE(prompts.Calls.at(0).Text, QString::fromLatin1(OutOfMemoryText));
      QCOMPARE(dlg.result(), int(QDialog::Rejected));
      QVERIFY(!dlg.Assembled());
      QVERIFY(!CurrentEngineState());
    }
    // With the memory back, the next run assembles as usual.
    std::string small = PathOf("after.asm");
    WriteAll(small, " DFB 1\n");
    TTarnDialog dlg(nullptr, small);
    dlg.AssembleButton()->click();
    QVERIFY(dlg.Assembled());
    QCOMPARE(int(dlg.ErrorCount()), 0);
  }

  void runs_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("errors");
    QTest::addColumn<QString>("checksum");
    QTest::newRow("clean") << "ok.asm" << " DFB 1\n DFB 2\n END\n" << 0 << "        3";
    QTest::newRow("two errors") << "bad.s" << " DFB 1\n FOO 3\n DFB 300\n END\n" << 2 << "";
    // Names are shown as written, never as markup.
    QTest::newRow("markup in the name") << "<b>odd.asm" << " DFB 1\n" << 0 << "        1";
  }
  void runs() {
    QFETCH(QString, name);
    QFETCH(QString, source);
    QFETCH(int, errors);
    QFETCH(QString, checksum);
    std::string main = PathOf(name);
    WriteAll(main, source.toStdString());
    TTarnDialog dlg(nullptr, main);
    dlg.show();
    dlg.AssembleButton()->click();

    QVERIFY(dlg.Assembled());
    QCOMPARE(int(dlg.ErrorCount()), errors);
    QCOMPARE(dlg.Field(208)->text(), QString("2"));
    QCOMPARE(dlg.Field(209)->text(), QString::fromStdString(main).toUpper());
    QCOMPARE(dlg.Field(214)->text(), QString::asprintf("%6d", errors));
    if (!checksum.isEmpty()) QCOMPARE(dlg.Field(215)->text(), checksum);
    QCOMPARE(dlg.Field(215)->text().size(), 9);
    // Finished: only Ok remains to close the dialog.
    QVERIFY(!dlg.AssembleButton()->isEnabled());
    QVERIFY(!dlg.CancelButton()->isVisible());
    QVERIFY(dlg.OkButton()->isVisible());
    QVERIFY(!CurrentEngineState());

    const TOutputNames& n = dlg.Names();
    QString stem = Dir.filePath(QFileInfo(name).completeBaseName());
    QCOMPARE(QString::fromStdString(n.Errors), stem + ".ERR");
    QVERIFY(QFile::exists(QString::fromStdString(n.Listing)));
    QVERIFY(QFile::exists(QString::fromStdString(n.Object)));
    std::string errorText = ReadAll(n.Errors);
    QCOMPARE(int(std::count(errorText.begin(), errorText.end(), '\n')), errors);

    // A second press does not run the engine again.
    QFile::remove(QString::fromStdString(n.Errors));
    dlg.AssembleClicked();
    QVERIFY(!QFile::exists(QString::fromStdString(n.Errors)));
    dlg.OkButton()->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
  }
};

QTEST_MAIN(AssembleDialogTest)
#include "AssembleDialogTest.moc"
