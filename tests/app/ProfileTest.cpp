// The settings file service and what is built on it: the recent-file list in
// section "MRU", and the file-type registration store with the command-line
// option that removes the registration.
#include <QTemporaryDir>
#include <QtTest>

#include "Files.h"
#include "Profile.h"
#include "RecentFiles.h"
#include "Registration.h"

class ProfileTest : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  std::string PathOf(const char* name) const { return Dir.filePath(name).toStdString(); }
  std::string Ini() const { return PathOf("TarnW4.INI"); }

  static std::vector<std::string> Padded(std::vector<std::string> v, size_t size) {
    v.resize(size);
    return v;
  }

 private slots:
  void init() { QFile::remove(QString::fromStdString(Ini())); }

  void roundTripKeepsOrderAndReplacesInPlace() {
    std::string path = PathOf("order.ini");
    TProfile p(path);
    QVERIFY(p.WriteInt("TarnW4", "TabSize", 8));
    QVERIFY(p.WriteInt("TarnW4", "FontHeight", -16));
    QVERIFY(p.WriteString("MRU", "MRU0", "/src/a.asm"));
    QVERIFY(p.WriteString("TarnW4", "FontFace", "Courier New"));
    // Another case of the names reaches the same section and key.
    QVERIFY(p.WriteInt("tarnw4", "TABSIZE", 4));
    QCOMPARE(ReadAll(path), std::string("[TarnW4]\nTabSize=4\nFontHeight=-16\nFontFace=Courier New\n"
                                        "[MRU]\nMRU0=/src/a.asm\n"));
    QCOMPARE(p.GetInt("TARNW4", "tabsize", 0), 4);
    QCOMPARE(p.GetInt("TarnW4", "FontHeight", 0), -16);
    QCOMPARE(p.GetString("mru", "mru0", ""), std::string("/src/a.asm"));
  }

  void foreignLinesSurviveAWrite() {
    std::string path = PathOf("foreign.ini");
    WriteAll(path, "; kept\r\n[A]\r\n x = 1 \r\n\r\n[B]\r\ny=2\r\n");
    TProfile p(path);
    QCOMPARE(p.GetInt("a", "X", 0), 1);
    QVERIFY(p.WriteString("A", "z", "3"));
    QCOMPARE(ReadAll(path), std::string("; kept\n[A]\nx=1\nz=3\n\n[B]\ny=2\n"));
  }

  void integersReadLikeThePlatform_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << "12" << 12;
    QTest::newRow("negative") << "-16" << -16;
    QTest::newRow("plus") << "+7" << 7;
    QTest::newRow("trailing text") << "12abc" << 12;
    QTest::newRow("no digits") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("lone sign") << "-" << 0;
    QTest::newRow("huge") << "99999999999999999999" << INT_MAX;
    QTest::newRow("huge negative") << "-99999999999999999999" << INT_MIN;
  }
  void integersReadLikeThePlatform() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    std::string path = PathOf("int.ini");
    WriteAll(path, "[S]\nK=" + text.toStdString() + "\n");
    QCOMPARE(TProfile(path).GetInt("S", "K", 99), expected);
  }

  void missingFileOrKeyGivesDefaults() {
    TProfile missing(PathOf("absent.ini"));
    QCOMPARE(missing.GetInt("TarnW4", "TabSize", 8), 8);
    bool delivered = false;
    QCOMPARE(missing.GetString("TarnW4", "MainFileName", "*.ASM", 260, &delivered), std::string("*.ASM"));
    QVERIFY(delivered);
    std::string path = PathOf("empty-value.ini");
    WriteAll(path, "[TarnW4]\nMainFileName=\n");
    TProfile p(path);
    QCOMPARE(p.GetString("TarnW4", "MainFileName", "*.ASM", 260, &delivered), std::string());
    QVERIFY(!delivered);
    QCOMPARE(p.GetInt("TarnW4", "Other", 5), 5);
  }

  void valueCutAtBufferSize() {
    std::string path = PathOf("face.ini");
    TProfile p(path);
    std::string face(40, 'F');
    QVERIFY(p.WriteString("TarnW4", "FontFace", face));
    QCOMPARE(p.GetString("TarnW4", "FontFace", "Courier New", 32), std::string(31, 'F'));
    QCOMPARE(p.GetString("TarnW4", "FontFace", "", 41), face);
    bool delivered = true;
    QCOMPARE(p.GetString("TarnW4", "FontFace", "x", 1, &delivered), std::string());
    QVERIFY(!delivered);
  }

  void groupWritesOnceAndSeesItsOwnWrites() {
    std::string path = PathOf("group.ini");
    TProfile p(path);
    p.BeginGroup();
    QVERIFY(p.WriteInt("TarnW4", "TabSize", 3));
    QCOMPARE(p.GetInt("TarnW4", "TabSize", 0), 3);
    QVERIFY(!QFile::exists(QString::fromStdString(path)));
    QVERIFY(p.CommitGroup());
    QCOMPARE(TProfile(path).GetInt("TarnW4", "TabSize", 0), 3);
  }

  void writesThatCannotSucceedReportFalse() {
    // No such directory; a directory standing where the file should be; a value that would
    // break the line form.
    QVERIFY(!TProfile(PathOf("no-such-dir/TarnW4.INI")).WriteInt("TarnW4", "TabSize", 8));
    QVERIFY(QDir(Dir.path()).mkdir("is-a-dir"));
    TProfile onDir(PathOf("is-a-dir"));
    QVERIFY(!onDir.WriteInt("TarnW4", "TabSize", 8));
    TProfile group(PathOf("no-such-dir/x.ini"));
    group.BeginGroup();
    group.WriteInt("S", "K", 1);
    QVERIFY(!group.CommitGroup());

    std::string path = PathOf("breaks.ini");
    TProfile p(path);
    QVERIFY(p.WriteString("S", "K", "good"));
    QVERIFY(!p.WriteString("S", "K", "two\nlines"));
    QVERIFY(!p.WriteString("S", "a=b", "v"));
    QVERIFY(!p.WriteString("S]", "K", "v"));
    QCOMPARE(ReadAll(path), std::string("[S]\nK=good\n"));
    // No temporary file is left behind.
    QCOMPARE(QDir(Dir.path()).entryList({"breaks.ini*"}, QDir::Files).size(), 1);
  }

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

  void registrationWrittenAndRemoved() {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    std::string store = RegistrationStorePath();
    QCOMPARE(store, config.filePath("tarnex/registry.ini").toStdString());
    QVERIFY(WriteRegistration("/opt/tarn/bin/tarnw"));
    QVERIFY(WriteRegistration("/opt/tarn/bin/tarnw"));  // every start writes it anew
    QCOMPARE(ReadAll(store), std::string("[Tarn.Application\\DefaultIcon]\n@=/opt/tarn/bin/tarnw\n"
                                         "[Tarn.Document.1\\DefaultIcon]\n@=/opt/tarn/bin/tarnw,1\n"
                                         "[.txt]\n@=Tarn.Document.1\n"));
    QVERIFY(RemoveRegistration());
    QVERIFY(!QFile::exists(QString::fromStdString(store)));
    QVERIFY(RemoveRegistration());  // nothing left to remove

    // Entries of others in the same store stay, and so does the file.
    QVERIFY(WriteRegistration("/x"));
    TProfile(store).WriteString("Other", "@", "kept");
    QVERIFY(RemoveRegistration());
    QCOMPARE(ReadAll(store), std::string("[Other]\n@=kept\n"));

    QByteArray home = qgetenv("HOME");
    qputenv("XDG_CONFIG_HOME", "");
    qputenv("HOME", "/home/someone");
    QCOMPARE(RegistrationStorePath(), std::string("/home/someone/.config/tarnex/registry.ini"));
    qputenv("XDG_CONFIG_HOME", "relative/dir");
    QCOMPARE(RegistrationStorePath(), std::string("/home/someone/.config/tarnex/registry.ini"));
    qputenv("HOME", home);
    qunsetenv("XDG_CONFIG_HOME");
  }

  void unregisterOption_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("unregister");
    QTest::newRow("none") << QStringList{} << false;
    QTest::newRow("/UNREGISTER") << QStringList{"/UNREGISTER"} << true;
    QTest::newRow("-unreg") << QStringList{"-unreg"} << true;
    QTest::newRow("-U") << QStringList{"-U"} << true;
    QTest::newRow("lone -") << QStringList{"-"} << true;
    QTest::newRow("lone /") << QStringList{"/"} << true;
    QTest::newRow("plain word") << QStringList{"unregister"} << false;
    QTest::newRow("value") << QStringList{"/x=unregister"} << false;
    QTest::newRow("longer name") << QStringList{"/unregistered"} << false;
    QTest::newRow("other option") << QStringList{"-x"} << false;
    QTest::newRow("after a file") << QStringList{"prog.asm", "-unregister"} << true;
    QTest::newRow("option with value") << QStringList{"/u=1"} << true;
    QTest::newRow("second option in a word") << QStringList{"/x/unreg"} << true;
    QTest::newRow("blank in a word") << QStringList{"a.asm /un"} << true;
    QTest::newRow("absolute path") << QStringList{"/home/a.asm"} << false;
  }
  void unregisterOption() {
    QFETCH(QStringList, args);
    QFETCH(bool, unregister);
    std::vector<std::string> words;
    for (const QString& a : args) words.push_back(a.toStdString());
    QCOMPARE(WantsUnregister(words), unregister);
  }
};

QTEST_APPLESS_MAIN(ProfileTest)
#include "ProfileTest.moc"
