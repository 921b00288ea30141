// The workbench as a whole: command enabling, the Assemble command and
// message navigation, closing with unsaved changes, Save as, the desktop,
// where editor windows open, Cascade, the Window and recent-file menus, the
// Font and Tabs commands, menu and toolbar hints and contextual help.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "AppFixture.h"
#include "AssembleDialog.h"
#include "CommandIds.h"
#include "Frame.h"
#include "Help.h"
#include "Profile.h"
#include "RecentFiles.h"
#include "Registration.h"

namespace {

using IdList = QList<int>;

// Two "Undefined label" errors, on lines 2 and 4 at the operand (column 17).
constexpr const char* SourceWithErrors = "\tDFB 1\n\tORG\tUNDEF\n\tDFB 2\n\tORG\tNOWHERE\n";

// A settings file and the editor font it gives; no family: the system's fixed-pitch face.
struct TFontCase { QByteArray Settings; QString Family; int Points; bool Bold; };
// A settings file ($ for the working directory) and what the workbench restores from it.
struct TRestoreCase { QByteArray Settings; int TabSize, Windows; bool Complaint; };
// Commands on and off with no window, a modified unnamed one or a modified named one.
struct TEnablingCase { QString State; IdList Enabled, Disabled; };
// Close all with a changed window, named or not, and the answer to its prompt.
struct TCloseAllCase { bool Named; TAnswer Answer; bool Closed; };
// The names the Save As dialog returns in turn ("" cancels), the answers to
// the replace question in turn, and the file saved (empty: none).
struct TSaveAsCase { QStringList Typed; QList<TAnswer> Answers; QString SavedAs; };
// Cascade with WINDOWS windows, the active one maximised or another minimised.
struct TCascadeCase { int Windows; bool OneMaximised, OneMinimised; };
// The Tabs command's input, the tab size it leaves, and whether it is refused.
struct TTabsCase { QString Input; int Result; bool Refused; };

}  // namespace

class TWorkbenchTest : public QObject, TAppFixture {
  Q_OBJECT

  // Shows MENU as a popup and hides it again, so that what fills it has run.
  static void ShowMenu(QMenu* menu) {
    menu->popup(QPoint(0, 0));
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
  }

  // Chooses the main file and runs F9, pressing Assemble and then Ok.
  // UNNAMED windows are open: each shows the Save As dialog, cancelled here.
  void Assemble(const QString& mainFile, bool runEngine = true, int unnamed = 0) {
    Script->AnswerOpen(QStringLiteral("Select Main Assembly File"), mainFile);
    App->Command(Cmd::MainFile);
    for (int i = 0; i < unnamed; ++i)
      Script->AnswerSave(QString());
    QTimer::singleShot(0, this, [runEngine] {
      auto* dialog = qobject_cast<TTarnDialog*>(QApplication::activeModalWidget());
      QVERIFY2(dialog, "the Assembling dialog is not open");
      if (!runEngine) {
        dialog->CancelButton()->click();
        return;
      }
      dialog->AssembleButton()->click();
      QVERIFY(!dialog->AssembleButton()->isEnabled());
      dialog->OkButton()->click();
    });
    App->Command(Cmd::Assemble);
  }

private slots:
  void initTestCase() { SetUpHome(); }
  void init() {
    // Mixed case in the directory name, so case-blind matching is exercised.
    SetUpWork(QStringLiteral("WorkBench-XXXXXX"));
    AssembleErrorCount = 0;
    AssembleErrorFile.clear();
  }
  void cleanup() { TearDown(); }

  void enabling_data() {
    QTest::addColumn<TEnablingCase>("c");
    QTest::newRow("no window")
        << TEnablingCase{"none",
           IdList{Cmd::New, Cmd::Open, Cmd::Exit, Cmd::Assemble, Cmd::MainFile, Cmd::Font, Cmd::Tabs,
                  Cmd::SaveDesktop, Cmd::RestoreDesktop, Cmd::HelpContents, Cmd::HelpContext, Cmd::HelpIndex,
                  Cmd::HelpUsing, Cmd::About},
           IdList{Cmd::Close, Cmd::Save, Cmd::SaveAs, Cmd::Undo, Cmd::Cut, Cmd::Copy, Cmd::Paste, Cmd::Delete,
                  Cmd::SelectAll, Cmd::Find, Cmd::Replace, Cmd::FindNext, Cmd::Print, Cmd::PrintPreview,
                  Cmd::PageSetup, Cmd::SaveAll, Cmd::Cascade, Cmd::TileHorizontal, Cmd::TileVertical,
                  Cmd::ArrangeIcons, Cmd::CloseAll, Cmd::PreviousError, Cmd::NextError}};
    QTest::newRow("unnamed, modified")
        << TEnablingCase{"unnamed",
           IdList{Cmd::Close, Cmd::SaveAs, Cmd::SaveAll, Cmd::Undo, Cmd::Delete, Cmd::SelectAll, Cmd::Find,
                  Cmd::Cascade, Cmd::CloseAll, Cmd::New, Cmd::Print, Cmd::PrintPreview, Cmd::PageSetup},
           IdList{Cmd::Save, Cmd::Cut, Cmd::Copy, Cmd::FindNext, Cmd::PreviousError, Cmd::NextError}};
    QTest::newRow("named, modified")
        << TEnablingCase{"named", IdList{Cmd::Save, Cmd::SaveAs, Cmd::Undo, Cmd::Close, Cmd::SaveAll, Cmd::Print},
                         IdList{Cmd::Cut, Cmd::NextError}};
  }

  void enabling() {
    QFETCH(TEnablingCase, c);
    TTarnApp& app = StartApp();
    if (c.State == "unnamed")
      Client().NewWindow();
    else if (c.State == "named")
      Client().OpenEditorWindow(WorkFile(QStringLiteral("a.asm")));
    if (c.State != "none") {
      QVERIFY(ActiveEditor());
      QTest::keyClicks(ActiveEditor(), QStringLiteral("abc"));
      QVERIFY(ActiveEditor()->Text().Modified);
    }
    app.Frame()->UpdateCommandStates();
    for (const bool on : {true, false})
      for (int id : on ? c.Enabled : c.Disabled) {
        QVERIFY2(app.CommandEnabled(id) == on, qPrintable(QString::number(id)));
        QVERIFY2(app.Frame()->Action(id)->isEnabled() == on, qPrintable(QString::number(id)));
      }
  }

  void assembleWithoutMainFileStopsSilently() {
    TTarnApp& app = StartApp();
    QVERIFY(app.Frame()->isVisible());
    bool dialogOpened = false;
    QTimer::singleShot(0, this, [&dialogOpened] {
      if (auto* dialog = qobject_cast<TTarnDialog*>(QApplication::activeModalWidget())) {
        dialogOpened = true;
        dialog->reject();
      }
    });
    // F9 through the real accelerator; Cancel in the main file dialog.
    Script->AnswerOpen(QStringLiteral("Select Main Assembly File"), QString());
    app.Frame()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(app.Frame()));
    QTest::keyClick(app.Frame(), Qt::Key_F9);
    QCOMPARE(Script->Calls.size(), 1);
    QTest::qWait(10);
    QVERIFY(!dialogOpened);
    QCOMPARE(app.StatusText(), QStringLiteral("Tarnex Meta-Assembler 4.0"));
    QVERIFY(!Client().MainFileChosen());
  }

  void runWithErrorsShowsMessagesInTurn() {
    TTarnApp& app = StartApp();
    const QString main = WorkFile(QStringLiteral("Prog.asm"), SourceWithErrors);
    Assemble(main);
    QCOMPARE(AssembleErrorCount, 2);
    QCOMPARE(Client().MessageIndex, std::uint16_t(1));
    QVERIFY(app.StatusText().startsWith(QStringLiteral("Message #1: Error 40 - ")));
    QCOMPARE(app.HelpContextNumber, 140);
    // The error file names the file in upper case; the real file was opened.
    QCOMPARE(Client().Children().size(), 1);
    TTarnEditFile* editor = ActiveEditor();
    QVERIFY(editor);
    QCOMPARE(editor->FileName(), main);
    QCOMPARE(editor->Text().SelStart.Line(), 1);
    QCOMPARE(editor->Text().SelStart.Col(), 5);  // TAB, ORG, TAB: column 17 is the U
    QCOMPARE(editor->Text().SelEnd.Col(), 6);
    QVERIFY(app.CommandEnabled(Cmd::NextError));

    // Ctrl+F1 shows the message's topic once.
    app.Command(Cmd::HelpContext);
    QCOMPARE(app.Help().CurrentContext(), 140);
    QCOMPARE(app.HelpContextNumber, 0);
    QVERIFY(!app.ContextHelpMode());

    // Stepping keeps the message number; where it stops at the ends is the error file reader's.
    app.Command(Cmd::NextError);
    QVERIFY(app.StatusText().startsWith(QStringLiteral("Message #2: ")));
    QCOMPARE(ActiveEditor()->Text().Caret.Line(), 3);
    app.Command(Cmd::PreviousError);
    QVERIFY(app.StatusText().startsWith(QStringLiteral("Message #1: ")));
    QCOMPARE(Client().MessageIndex, std::uint16_t(1));
    QCOMPARE(Client().Children().size(), 1);

    // Cancel before Assemble: no run, navigation disabled again.
    Assemble(Client().MainFileName, false);
    QCOMPARE(AssembleErrorCount, 0);
    QVERIFY(!app.CommandEnabled(Cmd::NextError));
    QVERIFY(!app.CommandEnabled(Cmd::PreviousError));
  }

  void openWindowWithOtherCaseIsRaised() {
    StartApp();
    const QString main = WorkFile(QStringLiteral("Prog.asm"), SourceWithErrors);
    TTarnMDIChild* source = Client().OpenEditorWindow(main);
    Client().NewWindow();
    QVERIFY(Client().ActiveChild() != source);
    Assemble(main, true, 1);  // Assemble saves every window first; the unnamed one asks
    QCOMPARE(Client().Children().size(), 2);
    QCOMPARE(Client().ActiveChild(), source);
    QCOMPARE(source->Editor()->Text().Caret.Line(), 1);
  }

  void closeAllPrompts_data() {
    QTest::addColumn<TCloseAllCase>("c");
    QTest::newRow("Yes, Save as cancelled") << TCloseAllCase{false, TAnswer::Yes, true};
    QTest::newRow("Cancel") << TCloseAllCase{true, TAnswer::Cancel, false};
  }

  void closeAllPrompts() {
    QFETCH(TCloseAllCase, c);
    TTarnApp& app = StartApp();
    const QString path = WorkFile(QStringLiteral("a.asm"), "\tDFB 1\n");
    // An unchanged window ahead of the changed one: nobody closes unless all agree.
    Client().OpenEditorWindow(WorkFile(QStringLiteral("quiet.asm")));
    TTarnMDIChild* child = c.Named ? Client().OpenEditorWindow(path) : Client().NewWindow();
    QTest::keyClicks(child->Editor(), QStringLiteral("x"));
    Script->AnswerMessage(c.Named ? path : QStringLiteral("Untitled"), c.Answer);
    if (!c.Named && c.Answer == TAnswer::Yes)
      Script->AnswerSave(QString());
    app.Command(Cmd::CloseAll);
    QTest::qWait(1);
    QCOMPARE(Client().Children().size(), c.Closed ? 0 : 2);
    QCOMPARE(ReadFile(path), QByteArray("\tDFB 1\n"));  // nothing was saved
    const TScriptedPrompts::TCall& asked = Script->Calls.first();
    QCOMPARE(asked.Text, QStringLiteral("File has changed! Do you want to save the changes?"));
  }

  void saveAsWithoutExtension_data() {
    QTest::addColumn<TSaveAsCase>("c");
    const TAnswer yes = TAnswer::Yes, no = TAnswer::No;
    QTest::newRow("new name") << TSaveAsCase{{"fresh"}, {}, "fresh.asm"};
    QTest::newRow("existing, Yes") << TSaveAsCase{{"victim"}, {yes}, "victim.asm"};
    QTest::newRow("existing, No, cancel") << TSaveAsCase{{"victim", ""}, {no}, {}};
    QTest::newRow("existing, No, another name") << TSaveAsCase{{"victim", "other"}, {no}, "other.asm"};
    QTest::newRow("existing twice, No, Yes") << TSaveAsCase{{"victim", "victim"}, {no, yes}, "victim.asm"};
    // A name with an extension was the dialog's own to ask about.
    QTest::newRow("extension typed") << TSaveAsCase{{"victim.asm"}, {}, "victim.asm"};
    QTest::newRow("other extension") << TSaveAsCase{{"notes.txt"}, {}, "notes.txt"};
  }

  void saveAsWithoutExtension() {
    QFETCH(TSaveAsCase, c);
    const QStringList& typed = c.Typed;
    const QString& savedAs = c.SavedAs;
    const QString victim = WorkFile(QStringLiteral("victim.asm"), "\tDFB 1 ; keep me\n");
    TTarnApp& app = StartApp();
    TTarnMDIChild* child = Client().NewWindow();
    QTest::keyClicks(child->Editor(), QStringLiteral("new text"));
    for (int i = 0; i < typed.size(); ++i) {
      Script->AnswerSave(typed[i].isEmpty() ? QString() : Work->filePath(typed[i]));
      if (i < c.Answers.size())
        Script->AnswerMessage(QStringLiteral("Save As"), c.Answers[i]);
    }
    app.Command(Cmd::SaveAs);

    QStringList starts;
    int questions = 0;
    for (const TScriptedPrompts::TCall& call : Script->Calls) {
      if (call.Kind == TScriptedPrompts::TKind::Save) {
        QCOMPARE(call.Suffix, QStringLiteral("asm"));
        starts << call.Text;
      } else {
        QCOMPARE(call.Text, QStringLiteral("victim.asm already exists.\nDo you want to replace it?"));
        ++questions;
      }
    }
    QCOMPARE(questions, int(c.Answers.size()));
    QCOMPARE(int(starts.size()), int(typed.size()));
    // After a No the dialog comes back on the name it would have written.
    if (typed.size() > 1)
      QCOMPARE(starts[1], victim);
    const bool replaced = savedAs == QStringLiteral("victim.asm");
    QCOMPARE(ReadFile(victim), replaced ? QByteArray("new text\r\n") : QByteArray("\tDFB 1 ; keep me\n"));
    if (savedAs.isEmpty()) {
      QCOMPARE(child->Editor()->FileName(), QString());
      QVERIFY(child->Editor()->Text().Modified);
    } else {
      QCOMPARE(child->Editor()->FileName(), Work->filePath(savedAs));
      QCOMPARE(ReadFile(Work->filePath(savedAs)), QByteArray("new text\r\n"));
      QVERIFY(!child->Editor()->Text().Modified);
    }
  }

  void fontDialogStartsFromTheShownFont_data() {
    QTest::addColumn<TFontCase>("c");
    QTest::newRow("default face, not installed") << TFontCase{{}, {}, 12, false};
    QTest::newRow("unknown face")
        << TFontCase{"[TarnW4]\nFontFace=No Such Face\nFontHeight=20\nFontWeight=700\n", {}, 15, true};
    QTest::newRow("installed face")
        << TFontCase{"[TarnW4]\nFontFace=DejaVu Sans Mono\nFontHeight=-16\n", "DejaVu Sans Mono", 12, false};
  }

  void fontDialogStartsFromTheShownFont() {
    QFETCH(TFontCase, c);
    if (!c.Family.isEmpty() && !QFontDatabase::hasFamily(c.Family))
      QSKIP("the face is not installed here");
    if (c.Settings.isEmpty() && QFontDatabase::hasFamily(QStringLiteral("Courier New")))
      QSKIP("the default face is installed here");
    if (!c.Settings.isEmpty())
      WriteFile(QStringLiteral("TarnW4.INI"), c.Settings);
    TTarnApp& app = StartApp();
    const QFont before = app.EditorFont();
    const QString expected =
        c.Family.isEmpty() ? QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family() : c.Family;
    // The font is named by the face it shows, and so is the settings file.
    QCOMPARE(before.family(), expected);
    QCOMPARE(QFontInfo(before).family(), expected);
    QVERIFY(QFontInfo(before).fixedPitch());
    app.SaveDesktop();
    QCOMPARE(QString::fromStdString(TProfile("TarnW4.INI").GetString("TarnW4", "FontFace", "")), expected);

    Script->AcceptStartFont();
    app.Command(Cmd::Font);
    const QFont start = Script->Calls.first().Font;
    // The dialog starts on an installed face, the one the editor shows, in
    // its style (not the first one the face lists).
    QCOMPARE(start.family(), expected);
    QVERIFY(QFontDatabase::hasFamily(start.family()));
    QCOMPARE(start.styleName(), QFontInfo(before).styleName());
    QCOMPARE(qRound(start.pointSizeF()), c.Points);
    // Ok without a change leaves the editor as it was.
    const QFont after = app.EditorFont();
    QCOMPARE(QFontInfo(after).family(), expected);
    QVERIFY(QFontInfo(after).fixedPitch());
    QCOMPARE(after.pixelSize(), before.pixelSize());
    QCOMPARE(QFontInfo(after).italic(), false);
    QCOMPARE(QFontInfo(after).bold(), c.Bold);
  }

  void desktopRoundTrip() {
    const QStringList files = {WorkFile(QStringLiteral("one.asm")), WorkFile(QStringLiteral("two.asm")),
                               WorkFile(QStringLiteral("three.asm"))};
    {
      TTarnApp& app = StartApp();
      for (const QString& file : files)
        Client().OpenEditorWindow(file);
      app.SetTabSize(5);
      QVERIFY(app.CanClose());
    }
    const std::vector<std::string> before = App->Recent().Entries();
    App.reset();
    TProfile profile("TarnW4.INI");
    QCOMPARE(profile.GetInt("TarnW4", "NumOpenFiles", -1), 3);
    QCOMPARE(profile.GetString("TarnW4", "MainFileName", ""), std::string("*.ASM"));

    TTarnApp& app = StartApp();
    QStringList reopened;
    for (TTarnMDIChild* child : Client().Children())
      reopened << child->Editor()->FileName();
    QCOMPARE(reopened, files);
    QCOMPARE(ActiveEditor()->FileName(), files.last());
    QVERIFY(app.Recent().Entries() == before);
    QCOMPARE(QString::fromStdString(app.Recent().Entry(0)), files.last());
    QCOMPARE(app.TabSize(), 5);
  }

  void restoreGuardsStoredValues_data() {
    QTest::addColumn<TRestoreCase>("c");
    QTest::newRow("tab size 40") << TRestoreCase{"[TarnW4]\nTabSize=40\n", 8, 0, false};
    QTest::newRow("tab size 0") << TRestoreCase{"[TarnW4]\nTabSize=0\n", 8, 0, false};
    QTest::newRow("more files than entries")
        << TRestoreCase{"[TarnW4]\nTabSize=4\nNumOpenFiles=6\n[MRU]\nMRU0=$/a.asm\n", 4, 1, false};
    QTest::newRow("empty main file") << TRestoreCase{"[TarnW4]\nMainFileName=\n", 8, 0, true};
  }

  void restoreGuardsStoredValues() {
    QFETCH(TRestoreCase, c);
    WorkFile(QStringLiteral("a.asm"));
    WriteFile(QStringLiteral("TarnW4.INI"), c.Settings.replace("$", Work->path().toUtf8()));
    if (c.Complaint)
      Script->AnswerMessage(QStringLiteral("Disk error - TarnW4.INI"), TAnswer::Ok);
    TTarnApp& app = StartApp();
    QCOMPARE(app.TabSize(), c.TabSize);
    QCOMPARE(int(Client().Children().size()), c.Windows);
    if (c.Complaint)
      QCOMPARE(Script->Calls.first().Text, QStringLiteral("Unable to restore desktop!"));
  }

  void refusedCloseStillSavesDesktop() {
    TTarnApp& app = StartApp();
    TTarnMDIChild* child = Client().NewWindow();
    QTest::keyClicks(child->Editor(), QStringLiteral("x"));
    Script->AnswerMessage(QStringLiteral("Untitled"), TAnswer::Cancel);
    QVERIFY(!app.Frame()->close());
    QVERIFY(app.Frame()->isVisible());
    QCOMPARE(TProfile("TarnW4.INI").GetInt("TarnW4", "NumOpenFiles", -1), 1);
  }

  void newWindowFollowsMaximisedState() {
    StartApp();
    Client().NewWindow()->showMaximized();
    QVERIFY(Client().NewWindow()->isMaximized());
    Client().ActiveChild()->showNormal();
    // Restored, the window opened maximised has a place of its own.
    QVERIFY(Client().viewport()->rect().contains(Client().ActiveChild()->geometry()));
    QCOMPARE(Client().ActiveChild()->size(), Client().PlacedSize());
    QVERIFY(!Client().NewWindow()->isMaximized());
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
    QWidget* button = frame->ToolBar()->widgetForAction(frame->Action(Cmd::New));
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
    QTest::addColumn<TCascadeCase>("c");
    QTest::newRow("two") << TCascadeCase{2, false, false};
    QTest::newRow("three, one maximised") << TCascadeCase{3, true, false};
    QTest::newRow("three, one minimised") << TCascadeCase{3, false, true};
    QTest::newRow("more than fit") << TCascadeCase{20, false, false};
  }

  void cascadeKeepsWindowsLarge() {
    QFETCH(TCascadeCase, c);
    const auto [windows, oneMaximised, oneMinimised] = c;
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
    ShowMenu(menu);  // no windows, no list and no separator for it
    QCOMPARE(int(menu->actions().size()), fixed);

    const QString first = WorkFile(QStringLiteral("first.asm"));
    const QString odd = WorkFile(QStringLiteral("R&D.asm"));
    TTarnMDIChild* a = Client().OpenEditorWindow(first);
    TTarnMDIChild* b = Client().OpenEditorWindow(odd);
    for (int i = 0; i < 9; ++i)
      Client().NewWindow();
    for (int pass = 0; pass < 2; ++pass) {  // a second showing replaces, never adds
      ShowMenu(menu);
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
    ShowMenu(menu);
    QCOMPARE(int(frame->WindowEntries().size()), 10);
    QCOMPARE(frame->WindowEntries().at(1)->text(), QStringLiteral("&2 Untitled"));
  }

  void droppedFilesOpenInOrder() {
    TTarnApp& app = StartApp();
    const QStringList files = {WorkFile(QStringLiteral("d1.asm")), WorkFile(QStringLiteral("d2.asm")),
                               WorkFile(QStringLiteral("d3.asm"))};
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& file : files)
      urls << QUrl::fromLocalFile(file);
    mime.setUrls(urls);
    // A drop reaches the widget that took the drag when it entered.
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.Frame(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.Frame(), &drop);
    QCOMPARE(Client().Children().size(), 3);
    QCOMPARE(ActiveEditor()->FileName(), files[2]);
    for (int i = 0; i < 3; ++i)
      QCOMPARE(QString::fromStdString(app.Recent().Entry(i)), files[2 - i]);
  }

  void commandLineRegistration_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("registered");
    QTest::newRow("no options") << QStringList{} << true;
    QTest::newRow("/UNREGISTER") << QStringList{"/UNREGISTER"} << false;
    QTest::newRow("plain word") << QStringList{"unregister"} << true;
  }

  void commandLineRegistration() {
    QFETCH(QStringList, args);
    QFETCH(bool, registered);
    WriteRegistration("/old/tarnw");  // something to remove, or to write over
    StartApp(args);
    QCOMPARE(QFileInfo::exists(QString::fromStdString(RegistrationStorePath())), registered);
    QCOMPARE(Client().Children().size(), 0);  // the plain word names no file
    QVERIFY(App->Frame()->isVisible());
  }

  void recentFileMenu() {
    TTarnApp& app = StartApp();
    const QString a = WorkFile(QStringLiteral("alpha.asm"));
    const QString b = WorkFile(QStringLiteral("beta.asm"));
    Client().OpenEditorWindow(a);
    Client().OpenEditorWindow(b);
    app.PushRecentFile(a.toUpper());  // the same file in other letters moves to the top
    QMenu* file = app.Frame()->FileMenu();
    for (int pass = 0; pass < 2; ++pass) {  // a second showing replaces, never adds
      ShowMenu(file);
      const QList<QAction*> actions = file->actions();
      const int exit = int(actions.indexOf(app.Frame()->Action(Cmd::Exit)));
      QVERIFY(exit >= 5);
      QCOMPARE(actions[exit - 1]->isSeparator(), true);
      QCOMPARE(actions[exit - 2]->text(), QStringLiteral("&2 ") + b);
      QCOMPARE(actions[exit - 3]->text(), QStringLiteral("&1 ") + a.toUpper());
      QCOMPARE(actions[exit - 4]->isSeparator(), true);
      QCOMPARE(actions[exit - 5], app.Frame()->Action(Cmd::PageSetup));
      QCOMPARE(app.Frame()->RecentActions().size(), 2);
    }
    // Choosing entry 2 opens it again and puts it on top.
    app.Frame()->RecentActions().at(1)->trigger();
    QCOMPARE(ActiveEditor()->FileName(), b);
    QCOMPARE(QString::fromStdString(app.Recent().Entry(0)), b);
  }

  void tabsLimits_data() {
    QTest::addColumn<TTabsCase>("c");
    QTest::newRow("1") << TTabsCase{"1", 8, true};
    QTest::newRow("17") << TTabsCase{"17", 8, true};
    QTest::newRow("2") << TTabsCase{"2", 2, false};
    QTest::newRow("16") << TTabsCase{"16", 16, false};
    QTest::newRow("letters") << TTabsCase{"abc", 8, true};
    QTest::newRow("digits then letters") << TTabsCase{" 12x", 12, false};
  }

  void tabsLimits() {
    QFETCH(TTabsCase, c);
    TTarnApp& app = StartApp();
    Client().NewWindow();
    Script->AnswerText(QStringLiteral("Set Tab Length"), true, c.Input);
    if (c.Refused)
      Script->AnswerMessage(QStringLiteral("Tab Error"), TAnswer::Ok);
    app.Command(Cmd::Tabs);
    QCOMPARE(Script->Calls.first().Text, QStringLiteral("Choose tab length from 2 to 16 characters!"));
    QCOMPARE(app.TabSize(), c.Result);
    if (c.Refused)
      QCOMPARE(Script->Calls.last().Text, QStringLiteral("Tab length must be 2 to 16 characters"));
  }

  void highlightShowsHint() {
    TTarnApp& app = StartApp();
    TTarnFrame* frame = app.Frame();
    QMenu* edit = frame->Popup(1);
    frame->menuBar()->setActiveAction(edit->menuAction());
    QCOMPARE(frame->HintText(), QStringLiteral("Edit operations"));
    QTRY_VERIFY(edit->isVisible());
    // Undo is disabled with no window; its hint shows all the same.
    QVERIFY(!frame->Action(Cmd::Undo)->isEnabled());
    QTest::mouseMove(edit, edit->actionGeometry(frame->Action(Cmd::Undo)).center());
    QCOMPARE(frame->HintText(), QStringLiteral("Reverses the last operation"));
    edit->hide();
    Client().NewWindow();
    frame->menuBar()->setActiveAction(edit->menuAction());
    QTRY_VERIFY(edit->isVisible());
    edit->setActiveAction(frame->Action(Cmd::SelectAll));
    QCOMPARE(frame->HintText(), QStringLiteral("Highlights all text in the active file"));
    edit->hide();
    // The text area comes back once the hint is gone.
    frame->statusBar()->clearMessage();
    QCOMPARE(app.StatusText(), QStringLiteral("Tarnex Meta-Assembler 4.0"));
  }

  void contextHelpShowsTopicInsteadOfCommand() {
    TTarnApp& app = StartApp();
    app.Command(Cmd::HelpContext);
    QVERIFY(app.ContextHelpMode());
    QCOMPARE(app.StatusText(), QStringLiteral("Press ESCAPE to end contextual help"));
    app.Command(Cmd::New);
    QVERIFY(!app.ContextHelpMode());
    QCOMPARE(app.Help().CurrentContext(), int(Cmd::New));
    QCOMPARE(Client().Children().size(), 0);

    // Esc ends the mode without a topic.
    app.Command(Cmd::HelpContext);
    QTest::keyClick(app.Frame(), Qt::Key_Escape);
    QVERIFY(!app.ContextHelpMode());
    QCOMPARE(app.StatusText(), QStringLiteral(" "));

    // F1 on a highlighted menu item: its topic, the item not chosen.
    QMenu* file = app.Frame()->FileMenu();
    file->popup(QPoint(0, 0));
    QTRY_VERIFY(file->isVisible());
    file->setActiveAction(app.Frame()->Action(Cmd::Open));
    QTest::keyClick(file, Qt::Key_F1);
    QCOMPARE(app.Help().CurrentContext(), int(Cmd::Open));
    QVERIFY(!file->isVisible());
    QCOMPARE(Script->Calls.size(), 0);  // no open dialog
  }
};

QTEST_MAIN(TWorkbenchTest)
#include "WorkbenchTest.moc"
