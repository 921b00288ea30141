#include "App.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QScreen>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "CommandIds.h"
#include "Commands.h"
#include "EditFile.h"
#include "FindDialog.h"  // EditFile.h holds a QPointer to it
#include "Frame.h"
#include "Help.h"
#include "MdiClient.h"
#include "Profile.h"
#include "Printer.h"
#include "Prompts.h"
#include "RecentFiles.h"
#include "Registration.h"
#include "Splash.h"

namespace {

constexpr const char* DiskErrorCaption = "Disk error - TarnW4.INI";
constexpr int DefaultFontHeight = 16;
constexpr int DefaultFontWeight = 400;
constexpr const char* DefaultFontFace = "Courier New";

std::string Key(const char* text) { return std::string(text); }

}  // namespace

TTarnApp::TTarnApp(QObject* parent)
    : QObject(parent),
      // The list writes its entry count into the settings file at once.
      RecentList(std::make_unique<TRecentFiles>(std::string(".") + "/" + SettingsFile, RecentMax)),
      Font(MakeEditorFont(QString::fromLatin1(DefaultFontFace), DefaultFontHeight, DefaultFontWeight, 0)) {
  qApp->installEventFilter(this);
}

TTarnApp::~TTarnApp() {
  qApp->removeEventFilter(this);
  EndContextHelp();
  // The help window may be a child of the frame: end the help engine while
  // its window still exists, then the windows go.
  HelpEngine.reset();
  delete MainWindow.data();
  PrinterObject.reset();
}

TTarnPrinter& TTarnApp::Printer() {
  if (!PrinterObject)
    PrinterObject = std::make_unique<TTarnPrinter>();
  return *PrinterObject;
}

void TTarnApp::CheckPrinterChange() {
  if (!PrinterObject || PrintingCount > 0)
    return;
  if (PrinterObject->DeviceName() != DefaultPrinterName()) {
    PrinterObject = std::make_unique<TTarnPrinter>();
    return;
  }
  // A failed set-up is tried again now and then, not at every query: making
  // a printer object asks the print server about the device.
  static QDeadlineTimer retry(0);
  if (PrinterObject->Setup().Error != 0 && retry.hasExpired()) {
    PrinterObject = std::make_unique<TTarnPrinter>();
    retry.setRemainingTime(2000);
  }
}

TTarnFrame* TTarnApp::Frame() const { return MainWindow.data(); }

TTarnMDIClient* TTarnApp::Client() const { return MainWindow ? MainWindow->Client() : nullptr; }

THelp& TTarnApp::Help() {
  if (!HelpEngine)
    HelpEngine = std::make_unique<THelp>(MainWindow.data());
  return *HelpEngine;
}

void TTarnApp::Start(const QStringList& args, bool show) {
  TSplashWindow::ShowSplash();
  MainWindow = new TTarnFrame(*this);
  // The frame asked the chain while it was being built, before the
  // application knew it: without its client every client command (New,
  // Open...) answered disabled until the first idle update.
  MainWindow->UpdateCommandStates();
  if (!HelpEngine)
    HelpEngine = std::make_unique<THelp>(MainWindow.data());
  if (show) {
    // Without a window manager a maximised request is not honoured; the
    // screen's size is what maximised means.
    if (QScreen* screen = MainWindow->screen())
      MainWindow->setGeometry(screen->availableGeometry());
    MainWindow->showMaximized();
    // Keyboard focus for the first editor window even where no window
    // manager activates the frame.
    MainWindow->activateWindow();
    // Lay the frame out now, so the first editor windows are sized after
    // the real client area.
    MainWindow->layout()->activate();
  }

  std::vector<std::string> words;
  for (const QString& arg : args)
    words.push_back(arg.toStdString());
  if (WantsUnregister(words))
    RemoveRegistration();
  else
    WriteRegistration(QCoreApplication::applicationFilePath().toStdString());

  RestoreDesktop();
  OpenCommandLineFiles(args);
}

void TTarnApp::OpenCommandLineFiles(const QStringList& args) {
  // Options start with '-' or '/'; an absolute path starts with '/' too, so
  // an existing file wins. A plain word that names no file (such as
  // "unregister" without its dash) is not opened as an empty window.
  for (const QString& arg : args) {
    if (arg.isEmpty() || arg.startsWith(QLatin1Char('-')))
      continue;
    if (!QFileInfo(arg).isFile())
      continue;
    Client()->OpenEditorWindow(arg);
  }
}

// ---------------------------------------------------------------- command chain

bool TTarnApp::CommandEnabled(int id) const {
  TTarnMDIClient* client = Client();
  if (TTarnEditFile* editor = client ? client->ActiveEditor() : nullptr)
    if (editor->Handles(id))
      return editor->IsEnabled(id);
  // The MDI child and the frame have no commands of their own.
  if (client && client->Handles(id))
    return client->IsEnabled(id);
  return Handles(id);
}

void TTarnApp::Command(int id) {
  if (HelpMode || F1Held) {
    EndContextHelp();
    ShowCommandHelp(id);
    return;
  }
  if (!CommandEnabled(id))
    return;
  TTarnMDIClient* client = Client();
  if (TTarnEditFile* editor = client ? client->ActiveEditor() : nullptr) {
    if (editor->Handles(id)) {
      editor->Execute(id);
      // The editor agrees to Close; closing its frame is the child's part,
      // and the child asks CanClose on the way.
      if (id == Cmd::Close)
        if (TTarnMDIChild* child = client->ActiveChild())
          child->close();
      return;
    }
  }
  if (client && client->Handles(id)) {
    client->Execute(id);
    return;
  }
  if (Handles(id))
    Execute(id);
}

bool TTarnApp::Handles(int id) const {
  switch (id) {
    case Cmd::Exit: case Cmd::SaveDesktop: case Cmd::RestoreDesktop:
    case Cmd::HelpContents: case Cmd::HelpUsing: case Cmd::HelpIndex: case Cmd::HelpContext:
    case Cmd::About:
      return true;
    default:
      return IsRecentFileCommand(id);
  }
}

void TTarnApp::Execute(int id) {
  switch (id) {
    case Cmd::Exit:
      if (MainWindow)
        MainWindow->close();
      break;
    case Cmd::SaveDesktop: SaveDesktop(); break;
    case Cmd::RestoreDesktop: RestoreDesktop(); break;
    case Cmd::HelpContents: HelpUsed = Help().Contents(); break;
    case Cmd::HelpUsing: HelpUsed = Help().Using(); break;
    case Cmd::HelpIndex: HelpUsed = Help().Index(); break;
    case Cmd::HelpContext: HelpContextCommand(); break;
    case Cmd::About: About(); break;
    default:
      if (IsRecentFileCommand(id)) {
        const std::string path = Recent().EntryForCommand(id);
        if (!path.empty() && Client())
          Client()->OpenEditorWindow(QString::fromStdString(path));
      }
  }
}

// ---------------------------------------------------------------- shut-down and desktop

bool TTarnApp::CanClose() {
  TTarnMDIClient* client = Client();
  const bool agreed = !client || client->AskAllCanClose();
  if (agreed && HelpUsed && HelpEngine)
    HelpEngine->Quit();
  SaveDesktop();
  if (agreed && client)
    for (TTarnMDIChild* child : client->Children())
      child->CloseAgreed();
  return agreed;
}

void TTarnApp::SaveDesktop() {
  TProfile profile(SettingsFile);
  const std::string section = DesktopSection;
  profile.BeginGroup();
  const bool tabWritten = profile.WriteInt(section, Key("TabSize"), Tabs);
  const int height = Font.pixelSize() > 0 ? Font.pixelSize() : DefaultFontHeight;
  profile.WriteInt(section, Key("FontHeight"), height);
  profile.WriteInt(section, Key("FontWeight"), Font.weight());
  profile.WriteInt(section, Key("FontItalic"), Font.italic() ? 255 : 0);
  profile.WriteString(section, Key("FontFace"), Font.family().left(31).toStdString());
  TTarnMDIClient* client = Client();
  profile.WriteString(section, Key("MainFileName"),
                      client ? client->MainFileName.left(259).toStdString() : std::string("*.ASM"));
  profile.WriteInt(section, Key("NumOpenFiles"), client ? int(client->Children().size()) : 0);
  // The group is written in one go: a failed write shows up when it is committed.
  const bool committed = profile.CommitGroup();
  if (!tabWritten || !committed)
    Prompts().Message(MainWindow, QStringLiteral("Unable to save desktop!"), QString::fromLatin1(DiskErrorCaption),
                      TMessageIcon::Exclamation, TButtons::Ok);
}

void TTarnApp::RestoreDesktop() {
  TTarnMDIClient* client = Client();
  if (client)
    client->CloseAllChildren();  // a refusal leaves the windows open; the restore goes on

  TProfile profile(SettingsFile);
  const std::string section = DesktopSection;
  SetTabSize(GuardTabSize(profile.GetInt(section, Key("TabSize"), 8)));
  const int height = profile.GetInt(section, Key("FontHeight"), DefaultFontHeight);
  const int weight = profile.GetInt(section, Key("FontWeight"), DefaultFontWeight);
  const int italic = profile.GetInt(section, Key("FontItalic"), 0);
  const std::string face = profile.GetString(section, Key("FontFace"), DefaultFontFace, 32);
  Font = MakeEditorFont(QString::fromStdString(face), height, weight, italic & 0xFF);

  bool delivered = true;
  const std::string mainFile = profile.GetString(section, Key("MainFileName"), "*.ASM", 260, &delivered);
  if (client)
    client->MainFileName = QString::fromStdString(mainFile);

  // Choosing entry n-1 n times reopens the n most recent files oldest first
  // and leaves the list in its old order. The list is kept packed, so asking
  // for more files than it holds would only choose empty entries: those are
  // left out.
  int count = qBound(0, profile.GetInt(section, Key("NumOpenFiles"), 0), RecentMax);
  int stored = 0;
  for (const std::string& entry : Recent().Entries())
    if (!entry.empty())
      ++stored;
  count = qMin(count, stored);
  for (int i = 0; i < count && client; ++i) {
    const std::string path = Recent().Entry(count - 1);
    if (!path.empty())
      client->OpenEditorWindow(QString::fromStdString(path));
  }
  if (client)
    client->UpdateAllEditors();

  if (!delivered)
    Prompts().Message(MainWindow, QStringLiteral("Unable to restore desktop!"),
                      QString::fromLatin1(DiskErrorCaption), TMessageIcon::Exclamation, TButtons::Ok);
}

QFont TTarnApp::MakeEditorFont(const QString& face, int height, int weight, int italic) {
  const QString family = face.isEmpty() ? QString::fromLatin1(DefaultFontFace) : face;
  // A face this system lacks (the default one on most systems without its
  // maker's fonts) would become whatever the font matcher likes; the editor
  // wants the system's fixed-pitch font then. It is named by the face really
  // used, so the font dialog and the settings file show what the editor does.
  QFont font = QFontDatabase::hasFamily(family) ? QFont(family) : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::TypeWriter);
  const int pixels = height == 0 ? DefaultFontHeight : qBound(1, height < 0 ? -height : height, 400);
  font.setPixelSize(pixels);
  font.setWeight(QFont::Weight(qBound(100, weight <= 0 ? DefaultFontWeight : weight, 900)));
  font.setItalic(italic != 0);
  font.setFamily(QFontInfo(font).family());
  return font;
}

void TTarnApp::SetEditorFont(const QFont& font) {
  QFont chosen = font;
  // The settings file keeps heights in pixels; a dialog's point size is
  // turned into pixels at the screen's resolution.
  if (chosen.pixelSize() <= 0) {
    const qreal points = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : 12.0;
    chosen.setPixelSize(qMax(1, qRound(points * 96.0 / 72.0)));
  }
  Font = chosen;
}

void TTarnApp::SetTabSize(int size) { Tabs = GuardTabSize(size); }

// ---------------------------------------------------------------- status bar and host

void TTarnApp::SetStatusText(const QString& text) {
  if (MainWindow)
    MainWindow->SetStatusText(text);
}

QString TTarnApp::StatusText() const { return MainWindow ? MainWindow->StatusText() : QString(); }

void TTarnApp::SetPositionText(const QString& text) {
  if (MainWindow)
    MainWindow->SetPositionText(text);
}

void TTarnApp::PushRecentFile(const QString& path) {
  if (!path.isEmpty())
    Recent().Push(path.toStdString());
}

TAnswer TTarnApp::Ask(QWidget* parent, const QString& text, const QString& caption, TMessageIcon icon,
                      TButtons buttons) {
  return Prompts().Message(parent ? parent : MainWindow.data(), text, caption, icon, buttons);
}

QString TTarnApp::SaveAsName(QWidget* parent, const QString& current) {
  QWidget* owner = parent ? parent : MainWindow.data();
  const QString title = QStringLiteral("Save As");
  DialogData.FileName = current;
  QString start = current;
  for (;;) {
    QString name = Prompts().SaveFileName(owner, title, DialogData.Filter, start, DialogData.DefaultExt,
                                          &DialogData.SelectedFilter);
    if (name.isEmpty())
      return QString();
    // The dialog puts the default extension on a name typed without any; one
    // that did not has asked about the bare name only, so the file really
    // written is asked about here.
    if (!QFileInfo(name).fileName().contains(QLatin1Char('.')) && !DialogData.DefaultExt.isEmpty()) {
      name = QFileInfo(name + QLatin1Char('.') + DialogData.DefaultExt).absoluteFilePath();
      if (QFileInfo::exists(name) &&
          Prompts().Message(owner, ReplaceFileQuestion(name), title, TMessageIcon::Exclamation,
                            TButtons::YesNo) != TAnswer::Yes) {
        start = name;  // back to the dialog, as after a No in its own question
        continue;
      }
    }
    name = QFileInfo(name).absoluteFilePath();
    DialogData.FileName = name;
    return name;
  }
}

// ---------------------------------------------------------------- help

void TTarnApp::About() {
  const QString text = QStringLiteral(
      "Tarnex Meta-Assembler Version 4.0.1\n"
      "\n"
      "A table-driven cross-assembler with its own editing workbench.\n"
      "The target processor is described by a CPU table file (.tbl).\n"
      "\n"
      "Written and maintained by the Tarnex developers.\n"
      "Please send questions and reports to the Tarnex team.");
  Prompts().Message(MainWindow, text, QStringLiteral("About Tarnex"), TMessageIcon::Information, TButtons::Ok);
}

void TTarnApp::HelpContextCommand() {
  if (HelpContextNumber != 0) {
    HelpUsed = Help().Topic(HelpContextNumber);
    HelpContextNumber = 0;
    return;
  }
  StartContextHelp();
}

void TTarnApp::StartContextHelp() {
  HelpMode = true;
  if (!HelpCursorShown) {
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    HelpCursorShown = true;
  }
  SetStatusText(QStringLiteral("Press ESCAPE to end contextual help"));
}

void TTarnApp::EndContextHelp() {
  HelpMode = false;
  if (HelpCursorShown) {
    QApplication::restoreOverrideCursor();
    HelpCursorShown = false;
  }
}

void TTarnApp::ShowCommandHelp(int id) {
  // A topic asked for from contextual help leaves the help-used flag as it was.
  Help().Topic(id);
}

bool TTarnApp::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_F1 && !key->isAutoRepeat())
        F1Held = false;
      break;
    }
    case QEvent::ShortcutOverride:
      // A shortcut only fires for an enabled action: bring the enabling up
      // to date before the key is matched.
      if (MainWindow && !QApplication::activeModalWidget())
        MainWindow->UpdateCommandStates();
      break;
    case QEvent::KeyPress: {
      // Modal dialogs keep their own keys.
      if (QApplication::activeModalWidget())
        break;
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_F1) {
        if (key->isAutoRepeat())
          return true;
        // F1 on a highlighted menu item: that item's topic, without running it.
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
          QAction* action = menu->activeAction();
          const int id = action && !action->menu() ? action->data().toInt() : 0;
          if (id != 0) {
            for (int i = 0; i < 16 && QApplication::activePopupWidget(); ++i)
              QApplication::activePopupWidget()->close();
            if (MainWindow)
              MainWindow->menuBar()->setActiveAction(nullptr);
            EndContextHelp();
            ShowCommandHelp(id);
            return true;
          }
        }
        F1Held = true;
        if (key->modifiers() & Qt::ControlModifier)
          HelpContextCommand();
        else
          HelpUsed = Help().Contents();
        return true;
      }
      if (key->key() == Qt::Key_Escape && HelpMode) {
        EndContextHelp();
        SetStatusText(QStringLiteral(" "));
        return true;
      }
      break;
    }
    case QEvent::MouseMove:
      // In contextual-help mode the windows do not react to the mouse; the
      // menus still do, so that an item can be picked.
      if (HelpMode && watched->isWidgetType() && !qobject_cast<QMenu*>(watched) &&
          !qobject_cast<QMenuBar*>(watched))
        return true;
      break;
    case QEvent::ApplicationDeactivate:
      F1Held = false;  // the release may never reach us
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}
