// The workbench's own Qt dialogs, answered the way a user would: message
// boxes wide enough for their caption, the Save As dialog's default suffix
// and its question before replacing a file, and the font dialog's start.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "App.h"
#include "CommandIds.h"
#include "Files.h"
#include "Prompts.h"

namespace {

// Calls ACT with the modal dialog of type T as soon as one is open (within
// two seconds), from the event loop of whatever runs it.
template <class T>
void WhenModal(std::function<void(T*)> act, int triesLeft = 200) {
  QTimer::singleShot(10, qApp, [act, triesLeft] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      if (dialog->isVisible()) {
        act(dialog);
        return;
      }
    }
    if (triesLeft > 0)
      WhenModal<T>(act, triesLeft - 1);
  });
}

// A message box's caption, text and buttons.
struct TBoxCase { QString Caption, Text; TButtons Buttons; };
// The name typed in the Save As dialog, whether a replace question came and
// was answered Yes, and the name returned (empty: cancelled).
struct TSaveCase { QString Typed; bool Asked, Replace; QString Result; };

}  // namespace

class TDialogsTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() {
    qputenv("TARN_NO_SPLASH", "1");
    SetPrompts(nullptr);  // the Qt dialogs themselves
  }

  void messageBoxShowsItsCaption_data() {
    QTest::addColumn<TBoxCase>("c");
    const QString changed = QStringLiteral("File has changed! Do you want to save the changes?");
    QTest::newRow("load error") << TBoxCase{"Tarnex Meta-Assembler", "File I/O Error. Part file loaded.", TButtons::Ok};
    QTest::newRow("settings") << TBoxCase{"Disk error - TarnW4.INI", "Unable to save desktop!", TButtons::Ok};
    QTest::newRow("close prompt") << TBoxCase{"/home/someone/projects/serial/receive.asm", changed, TButtons::YesNoCancel};
    QTest::newRow("replace")
        << TBoxCase{"Save As", "victim.asm already exists.\nDo you want to replace it?", TButtons::YesNo};
    QTest::newRow("deep path")
        << TBoxCase{QStringLiteral("/a/very/deep/directory").repeated(12) + "/x.asm", changed, TButtons::YesNoCancel};
  }

  void messageBoxShowsItsCaption() {
    QFETCH(TBoxCase, c);
    const auto& [caption, text, buttons] = c;
    QWidget parent;
    parent.resize(400, 300);
    parent.show();
    int width = 0;
    QString shownCaption;
    QFont font;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
      width = box->width();
      shownCaption = box->windowTitle();
      font = box->font();
      box->button(box->standardButtons() & QMessageBox::No ? QMessageBox::No : QMessageBox::Ok)->click();
    });
    const TAnswer answer = Prompts().Message(&parent, text, caption, TMessageIcon::Exclamation, buttons);
    QCOMPARE(shownCaption, caption);
    QCOMPARE(answer, buttons == TButtons::Ok ? TAnswer::Ok : TAnswer::No);
    // Room for the caption in a title font a fifth larger than ours and
    // bold, beside an icon and three buttons of a line's height and a half
    // each; a caption wider than the screen is cut all the same, but the box
    // stays on the screen.
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics title(bold);
    const int needed = title.horizontalAdvance(caption) * 6 / 5 + 6 * title.height();
    const int screen = parent.screen()->availableGeometry().width();
    QVERIFY2(width >= qMin(needed, screen * 2 / 3), qPrintable(QStringLiteral("%1 < %2").arg(width).arg(needed)));
    QVERIFY(width <= screen);
  }

  void saveDialogAddsTheSuffixBeforeItAsks_data() {
    QTest::addColumn<TSaveCase>("c");
    QTest::newRow("bare name of a file, No") << TSaveCase{"victim", true, false, {}};
    QTest::newRow("bare name of a file, Yes") << TSaveCase{"victim", true, true, "victim.asm"};
    QTest::newRow("full name of a file, No") << TSaveCase{"victim.asm", true, false, {}};
    QTest::newRow("new bare name") << TSaveCase{"fresh", false, false, "fresh.asm"};
  }

  void saveDialogAddsTheSuffixBeforeItAsks() {
    QFETCH(TSaveCase, c);
    const auto& [typed, asked, replace, result] = c;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    WriteFile(dir.filePath(QStringLiteral("victim.asm")), "keep me\n");
    QString question;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      QVERIFY(edit);
      edit->setText(typed);
      WhenModal<QMessageBox>([&](QMessageBox* box) {
        question = box->text();
        box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
      });
      static_cast<QDialog*>(dialog)->accept();  // what its Save button does
      // After a No the dialog stays open for another name.
      if (dialog->isVisible())
        dialog->reject();
    });
    QString filter;
    const QString chosen =
        Prompts().SaveFileName(nullptr, QStringLiteral("Save As"), QString::fromLatin1(TTarnApp::OpenSaveFilter),
                               dir.filePath(QStringLiteral("start.asm")), QStringLiteral("asm"), &filter);
    QCOMPARE(chosen, result.isEmpty() ? QString() : dir.filePath(result));
    QCOMPARE(!question.isEmpty(), asked);
    if (asked)
      QVERIFY2(question.contains(QStringLiteral("victim.asm")), qPrintable(question));
    QCOMPARE(ReadFile(dir.filePath(QStringLiteral("victim.asm"))), QByteArray("keep me\n"));
  }

  void fontDialogStartsOnTheEditorsFace() {
    if (QFontDatabase::hasFamily(QStringLiteral("Courier New")))
      QSKIP("the default face is installed here");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir::setCurrent(dir.path()));
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    auto app = std::make_unique<TTarnApp>();
    app->Start({});
    const QFont before = app->EditorFont();
    QFont start;
    WhenModal<QFontDialog>([&](QFontDialog* dialog) {
      start = dialog->currentFont();
      dialog->accept();
    });
    app->Command(Cmd::Font);
    // The dialog shows the face, style and size the editor shows, so Ok
    // changes nothing.
    QCOMPARE(start.family(), QFontInfo(before).family());
    QCOMPARE(start.italic(), false);
    QCOMPARE(start.weight(), before.weight());
    QCOMPARE(start.pointSize(), 12);
    const QFont after = app->EditorFont();
    QCOMPARE(QFontInfo(after).family(), QFontInfo(before).family());
    QVERIFY(QFontInfo(after).fixedPitch());
    QCOMPARE(QFontInfo(after).italic(), false);
    QCOMPARE(after.pixelSize(), before.pixelSize());
    app.reset();
    QVERIFY(QDir::setCurrent(QDir::tempPath()));
  }
};

QTEST_MAIN(TDialogsTest)
#include "DialogsTest.moc"
