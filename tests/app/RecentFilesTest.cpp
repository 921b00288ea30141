// The recent-file list in section "MRU" of the settings file.
#include <QTemporaryDir>
#include <QtTest>

#include "Profile.h"
#include "RecentFiles.h"

class RecentFilesTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  std::string Ini() const { return Dir.filePath("TarnW4.INI").toStdString(); }

  static std::vector<std::string> Padded(std::vector<std::string> v, size_t size) {
    v.resize(size);
    return v;
  }

 private slots:
  void init() { QFile::remove(QString::fromStdString(Ini())); }

  void countWrittenAtConstruction() {
    TRecentFiles list(Ini(), 8);
    QCOMPARE(TProfile(Ini()).GetInt("MRU", "Count", 0), 8);
    QCOMPARE(list.Entries(), std::vector<std::string>(8));
    QCOMPARE(TRecentFiles(Ini(), 25).MaxEntries(), 10);
    QCOMPARE(TProfile(Ini()).GetInt("MRU", "Count", 0), 10);
  }

  void pushOrdersAndRemovesDuplicatesIgnoringCase() {
    TRecentFiles list(Ini(), 4);
    list.Push("/src/a.asm");
    list.Push("/src/b.asm");
    list.Push("/src/c.asm");
    QCOMPARE(list.Entries(), Padded({"/src/c.asm", "/src/b.asm", "/src/a.asm"}, 4));
    // The same file in another letter case moves to the top, under the new spelling.
    list.Push("/SRC/A.ASM");
    QCOMPARE(list.Entries(), Padded({"/SRC/A.ASM", "/src/c.asm", "/src/b.asm"}, 4));
    list.Push("/src/d.asm");
    list.Push("/src/e.asm");  // full: the oldest falls off
    QCOMPARE(list.Entries(), (std::vector<std::string>{"/src/e.asm", "/src/d.asm", "/SRC/A.ASM", "/src/c.asm"}));
    // The top entry pushed again changes nothing.
    list.Push("/src/e.asm");
    QCOMPARE(list.Entries(), (std::vector<std::string>{"/src/e.asm", "/src/d.asm", "/SRC/A.ASM", "/src/c.asm"}));
    QCOMPARE(TProfile(Ini()).GetString("MRU", "MRU3", ""), std::string("/src/c.asm"));
  }

  void reopeningOldestFirstKeepsTheOrder() {
    // What restoring the desktop does: choose entry n-1 n times.
    TRecentFiles list(Ini(), 8);
    for (const char* f : {"/a", "/b", "/c", "/d"}) list.Push(f);
    std::vector<std::string> before = list.Entries();
    for (int i = 0; i < 3; ++i) list.Push(list.EntryForCommand(TRecentFiles::FirstCommandId + 2));
    QCOMPARE(list.Entries(), before);
  }

  void entriesOutOfRangeAreEmpty_data() {
    QTest::addColumn<int>("id");
    QTest::newRow("below") << TRecentFiles::FirstCommandId - 1;
    QTest::newRow("empty entry") << TRecentFiles::FirstCommandId + 3;
    QTest::newRow("beyond the maximum") << TRecentFiles::FirstCommandId + 8;
    QTest::newRow("far off") << -1000000;
  }
  void entriesOutOfRangeAreEmpty() {
    QFETCH(int, id);
    TRecentFiles list(Ini(), 8);
    list.Push("/x");
    QCOMPARE(list.EntryForCommand(id), std::string());
    QCOMPARE(list.EntryForCommand(TRecentFiles::FirstCommandId), std::string("/x"));
  }

  void unusablePathsAreNotRecorded() {
    TRecentFiles list(Ini(), 3);
    list.Push("/a");
    list.Push("");
    list.Push("/b\n[Evil]\nx=1");
    QCOMPARE(list.Entries(), Padded({"/a"}, 3));
    QVERIFY(!TProfile(Ini()).HasSection("Evil"));
  }

  void longPathsAreKeptWhole() {
    TRecentFiles list(Ini(), 8);
    std::string path = "/" + std::string(400, 'p') + ".asm";
    list.Push(path);
    QCOMPARE(list.Entry(0), path);
  }
};

QTEST_APPLESS_MAIN(RecentFilesTest)
#include "RecentFilesTest.moc"
