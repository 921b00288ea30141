// The frame as the user meets it with the mouse and the Window menu: toolbar
// hints, where editor windows open, Cascade, and the list of open windows.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "App.h"
#include "CommandIds.h"
#include "EditFile.h"
#include "FindDialog.h"
#include "Frame.h"
#include "MdiClient.h"
#include "ScriptedPrompts.h"

class TFrameTest : public QObject {
  Q_OBJECT

private:
  QTemporaryDir Home;
  std::unique_ptr<QTemporaryDir> Work;
  std::unique_ptr<TScriptedPrompts> Script;
  std::unique_ptr<TTarnApp> App;

  TTarnApp& StartApp() {
    App = std::make_unique<TTarnApp>();
    App->Start({});
    return *App;
  }
  TTarnMDIClient& Client() { return *App->Client(); }
  QAbstractButton* ToolButton(int id) {
    TTarnFrame* frame = App->Frame();
    return qobject_cast<QAbstractButton*>(frame->ToolBar()->widgetForAction(frame->Action(id)));
  }

private slots:
  void initTestCase() {
    QVERIFY(Home.isValid());
    qputenv("XDG_CONFIG_HOME", Home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("TARN_NO_SPLASH", "1");
  }

  void init() {
    Work = std::make_unique<QTemporaryDir>();
    QVERIFY(Work->isValid());
    QVERIFY(QDir::setCurrent(Work->path()));
    Script = std::make_unique<TScriptedPrompts>();
  }

  void cleanup() {
    App.reset();
    if (Script)
      QCOMPARE(Script->Pending(), 0);
    Script.reset();
    QDir::setCurrent(Home.path());
    Work.reset();
  }

  void toolbarHintOnlyWhileHeld() {
    TTarnApp& app = StartApp();
    TTarnFrame* frame = app.Frame();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    const QString message = QStringLiteral("Message #1: Error 40 - Undefined label.  <Ctrl+F1> for Help");
    app.SetStatusText(message);
    // Passing over every button, enabled or not, leaves the message alone.
    QTest::mouseMove(Client().viewport(), QPoint(5, 5));
    for (QAction* action : frame->ToolBar()->actions()) {
      if (action->isSeparator())
        continue;
      QWidget* button = frame->ToolBar()->widgetForAction(action);
      QTest::mouseMove(button, button->rect().center());
      QCOMPARE(frame->HintText(), QString());
    }
    QTest::mouseMove(Client().viewport(), QPoint(5, 5));
    QCOMPARE(frame->HintText(), QString());

    // Held down, the button's hint covers the message; let go, the message is back.
    QAbstractButton* button = ToolButton(Cmd::New);
    QTest::mouseMove(button, button->rect().center());
    QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
    QCOMPARE(frame->HintText(), QStringLiteral("Creates a new file"));
    QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().center());
    QCOMPARE(frame->HintText(), QString());
    QCOMPARE(app.StatusText(), message);
    QCOMPARE(Client().Children().size(), 1);  // and the click was a click
  }

  void newWindowsOpenInsideTheArea_data() {
    QTest::addColumn<QSize>("frameSize");
    QTest::addColumn<int>("windows");
    QTest::newRow("large frame") << QSize(1200, 900) << 14;
    QTest::newRow("small frame") << QSize(520, 420) << 4;
  }

  void newWindowsOpenInsideTheArea() {
    QFETCH(QSize, frameSize);
    QFETCH(int, windows);
    TTarnApp& app = StartApp();
    app.Frame()->setWindowState(Qt::WindowNoState);
    app.Frame()->resize(frameSize);
    QTRY_COMPARE(app.Frame()->size(), frameSize);
    const QRect area = Client().viewport()->rect();
    const int step = Client().CascadeStep();
    const QSize size = Client().PlacedSize();
    QVERIFY(size.width() >= qMin(480, area.width()) && size.height() >= qMin(320, area.height()));
    QVERIFY(size.width() >= area.width() * 2 / 3 && size.height() >= area.height() * 2 / 3);
    QRect previous;
    bool wrapped = false;
    for (int i = 0; i < windows; ++i) {
      const QRect placed = Client().NewWindow()->geometry();
      QVERIFY2(area.contains(placed), qPrintable(QStringLiteral("window %1 outside").arg(i + 1)));
      QCOMPARE(placed.size(), size);
      if (i == 0 || placed.topLeft() == area.topLeft()) {
        wrapped = wrapped || i > 0;
      } else {
        QCOMPARE(placed.topLeft(), previous.topLeft() + QPoint(step, step));
      }
      previous = placed;
    }
    QVERIFY(wrapped);  // both rows open more windows than one run of steps holds
  }

  void cascadeKeepsWindowsLarge_data() {
    QTest::addColumn<int>("windows");
    QTest::addColumn<bool>("oneMaximised");
    QTest::addColumn<bool>("oneMinimised");
    QTest::newRow("two") << 2 << false << false;
    QTest::newRow("three, one maximised") << 3 << true << false;
    QTest::newRow("three, one minimised") << 3 << false << true;
    QTest::newRow("more than fit") << 20 << false << false;
  }

  void cascadeKeepsWindowsLarge() {
    QFETCH(int, windows);
    QFETCH(bool, oneMaximised);
    QFETCH(bool, oneMinimised);
    TTarnApp& app = StartApp();
    QList<TTarnMDIChild*> children;
    for (int i = 0; i < windows; ++i)
      children << Client().NewWindow();
    if (oneMinimised)
      children[0]->showMinimized();
    Client().ActivateChild(children[1]);
    if (oneMaximised)
      children[1]->showMaximized();
    app.Command(Cmd::Cascade);

    const QRect area = Client().viewport()->rect();
    const int step = Client().CascadeStep();
    const QSize least = Client().PlacedSize();
    QList<QMdiSubWindow*> stacked;
    for (QMdiSubWindow* window : Client().subWindowList(QMdiArea::StackingOrder))
      if (!window->isMinimized())
        stacked << window;
    QCOMPARE(int(stacked.size()), windows - (oneMinimised ? 1 : 0));
    for (int i = 0; i < int(stacked.size()); ++i) {
      const QRect placed = stacked[i]->geometry();
      QVERIFY(!stacked[i]->isMaximized());
      QVERIFY2(area.contains(placed), qPrintable(QStringLiteral("window %1 outside").arg(i + 1)));
      QVERIFY(placed.width() >= least.width() && placed.height() >= least.height());
      QCOMPARE(placed.size(), stacked[0]->size());
      QCOMPARE(placed.x(), placed.y());
      QCOMPARE(placed.x() % step, 0);
      if (i > 0 && placed.topLeft() != area.topLeft())
        QCOMPARE(placed.topLeft(), stacked[i - 1]->geometry().topLeft() + QPoint(step, step));
    }
    if (windows == 2)  // two windows take all but one step of the area
      QCOMPARE(stacked[0]->size(), area.size() - QSize(step, step));
    if (oneMinimised)
      QVERIFY(children[0]->isMinimized());
    // The active window stays active, in front of the others.
    QCOMPARE(Client().ActiveChild(), children[1]);
    QCOMPARE(stacked.last(), children[1]);
  }

  void windowMenuListsTheWindows() {
    TTarnApp& app = StartApp();
    TTarnFrame* frame = app.Frame();
    QMenu* menu = frame->WindowMenu();
    QVERIFY(menu);
    QVERIFY(menu->actions().contains(frame->Action(Cmd::Cascade)));
    const int fixed = int(menu->actions().size());
    const auto showMenu = [&] {
      menu->popup(QPoint(0, 0));
      QTRY_VERIFY(menu->isVisible());
      menu->hide();
    };
    showMenu();  // no windows, no list and no separator for it
    QCOMPARE(int(menu->actions().size()), fixed);

    const QString first = Work->filePath(QStringLiteral("first.asm"));
    const QString odd = Work->filePath(QStringLiteral("R&D.asm"));
    for (const QString& path : {first, odd}) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    TTarnMDIChild* a = Client().OpenEditorWindow(first);
    TTarnMDIChild* b = Client().OpenEditorWindow(odd);
    for (int i = 0; i < 9; ++i)
      Client().NewWindow();
    for (int pass = 0; pass < 2; ++pass) {  // a second showing replaces, never adds
      showMenu();
      const QList<QAction*>& entries = frame->WindowEntries();
      QCOMPARE(int(entries.size()), 11);
      QCOMPARE(int(menu->actions().size()), fixed + 1 + 11);
      QVERIFY(menu->actions().at(fixed)->isSeparator());
      QCOMPARE(entries[0]->text(), QStringLiteral("&1 ") + first);
      QCOMPARE(entries[1]->text(), QStringLiteral("&2 ") + QString(odd).replace(QStringLiteral("&"), QStringLiteral("&&")));
      QCOMPARE(entries[8]->text(), QStringLiteral("&9 Untitled"));
      QCOMPARE(entries[9]->text(), QStringLiteral("10 Untitled"));
      for (int i = 0; i < 11; ++i)
        QCOMPARE(entries[i]->isChecked(), i == 10);
    }
    frame->WindowEntries().at(0)->trigger();
    QCOMPARE(Client().ActiveChild(), a);

    // With the popup open from the menu bar, the digit chooses; a
    // minimised window comes back.
    b->showMinimized();
    frame->menuBar()->setActiveAction(menu->menuAction());
    QTRY_VERIFY(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_2);
    QTRY_COMPARE(Client().ActiveChild(), b);
    QVERIFY(!b->isMinimized());

    b->close();
    showMenu();
    QCOMPARE(int(frame->WindowEntries().size()), 10);
    QCOMPARE(frame->WindowEntries().at(1)->text(), QStringLiteral("&2 Untitled"));
  }
};

QTEST_MAIN(TFrameTest)
#include "FrameTest.moc"
