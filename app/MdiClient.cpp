#include "MdiClient.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFontInfo>
#include <QScrollBar>
#include <QStyle>
#include <climits>

#include "App.h"
#include "AssembleDialog.h"
#include "CommandIds.h"
#include "EditFile.h"
#include "FindDialog.h"  // EditFile.h holds a QPointer to it
#include "Icons.h"
#include "Messages.h"
#include "Prompts.h"

// ---------------------------------------------------------------- TTarnMDIChild

TTarnMDIChild::TTarnMDIChild(TTarnApp& app, TTarnEditFile* editor)
    : EditorWindow(editor ? editor : new TTarnEditFile(nullptr, app)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWidget(EditorWindow);
  setWindowIcon(DocumentIcon());
  setWindowTitle(EditorWindow->Caption());
  connect(EditorWindow, &TTarnEditFile::CaptionChanged, this, &QWidget::setWindowTitle);
}

void TTarnMDIChild::CloseAgreed() {
  Agreed = true;
  close();
}

void TTarnMDIChild::closeEvent(QCloseEvent* event) {
  // The consent of a Close all or shut-down stands; asking again would prompt
  // a second time for the same unsaved changes.
  if (Agreed || EditorWindow->CanClose()) {
    Agreed = true;
    event->accept();
  } else {
    event->ignore();
  }
}

// ---------------------------------------------------------------- TTarnMDIClient

TTarnMDIClient::TTarnMDIClient(TTarnApp& app, QWidget* parent) : QMdiArea(parent), App(app) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setActivationOrder(QMdiArea::CreationOrder);
  // The shared open/save dialog data is set up with the client window.
  TOpenSaveData& data = App.OpenSaveData();
  data.Filter = QString::fromLatin1(TTarnApp::OpenSaveFilter);
  data.DefaultExt = QStringLiteral("asm");
  data.FileName.clear();
}

QList<TTarnMDIChild*> TTarnMDIClient::Children() const {
  QList<TTarnMDIChild*> children;
  for (QMdiSubWindow* window : subWindowList(QMdiArea::CreationOrder))
    if (auto* child = qobject_cast<TTarnMDIChild*>(window))
      children << child;
  return children;
}

TTarnMDIChild* TTarnMDIClient::ActiveChild() const {
  // currentSubWindow stays valid while the frame itself is not the active
  // window (a dialog, another program), which activeSubWindow does not.
  return qobject_cast<TTarnMDIChild*>(currentSubWindow());
}

TTarnEditFile* TTarnMDIClient::ActiveEditor() const {
  TTarnMDIChild* child = ActiveChild();
  return child ? child->Editor() : nullptr;
}

TTarnMDIChild* TTarnMDIClient::AddChild(TTarnEditFile* editor) {
  TTarnMDIChild* active = ActiveChild();
  const bool maximised = active && active->isMaximized();
  QMdiSubWindow* previous = nullptr;
  for (QMdiSubWindow* window : subWindowList(QMdiArea::CreationOrder))
    if (!window->isHidden() && !window->isMinimized() && !window->isMaximized())
      previous = window;
  auto* child = new TTarnMDIChild(App, editor);
  addSubWindow(child);
  // The area has placed the window at its own size already; at ours that
  // place may reach out of sight, so the place is ours as well. A window
  // opened maximised comes back to it when restored.
  child->setGeometry(NewWindowGeometry(previous));
  if (maximised)
    child->showMaximized();
  else
    child->show();
  setActiveSubWindow(child);
  child->Editor()->setFocus();
  return child;
}

void TTarnMDIClient::ActivateChild(TTarnMDIChild* child) {
  if (!child)
    return;
  if (child->isMinimized())
    child->showNormal();
  setActiveSubWindow(child);
  child->raise();
  child->Editor()->setFocus();
}

QSize TTarnMDIClient::PlacedSize() const {
  const QSize area = viewport()->size();
  const QSize wanted = QSize(area.width() * 2 / 3, area.height() * 2 / 3).expandedTo(QSize(480, 320));
  return wanted.boundedTo(area).expandedTo(QSize(1, 1));
}

int TTarnMDIClient::CascadeStep() const {
  return qMax(8, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) +
                     style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this));
}

QRect TTarnMDIClient::NewWindowGeometry(const QMdiSubWindow* previous) const {
  const QRect area = viewport()->rect();
  const QSize size = PlacedSize();
  if (previous) {
    const int step = CascadeStep();
    const QRect next(previous->geometry().topLeft() + QPoint(step, step), size);
    if (area.contains(next))
      return next;
  }
  return QRect(area.topLeft(), size);
}

TTarnMDIChild* TTarnMDIClient::OpenEditorWindow(const QString& fileName) {
  TOpenSaveData& data = App.OpenSaveData();
  if (!fileName.isEmpty())
    data.FileName = fileName;
  // Message navigation compares names ignoring case only, so every window
  // must hold a full path, also for names from the command line.
  QString name = data.FileName;
  if (!name.isEmpty())
    name = QFileInfo(name).absoluteFilePath();
  TTarnMDIChild* child = AddChild(new TTarnEditFile(nullptr, App, name));
  if (!name.isEmpty())
    App.PushRecentFile(name);
  return child;
}

TTarnMDIChild* TTarnMDIClient::NewWindow() { return AddChild(nullptr); }

void TTarnMDIClient::OpenCommand() {
  TOpenSaveData& data = App.OpenSaveData();
  data.FileName.clear();
  const QString name = Prompts().OpenFileName(this, QStringLiteral("Open"), data.Filter, &data.SelectedFilter);
  // The open dialog takes existing files only; a stand-in dialog may not.
  if (name.isEmpty() || !QFileInfo(name).isFile())
    return;
  data.FileName = name;
  OpenEditorWindow();
}

void TTarnMDIClient::SaveAllWindows() {
  for (TTarnMDIChild* child : Children())
    child->Editor()->Save();
}

bool TTarnMDIClient::AskAllCanClose() {
  for (TTarnMDIChild* child : Children())
    if (!child->Editor()->CanClose())
      return false;
  return true;
}

bool TTarnMDIClient::CloseAllChildren() {
  if (!AskAllCanClose())
    return false;
  for (TTarnMDIChild* child : Children())
    child->CloseAgreed();
  return true;
}

void TTarnMDIClient::Cascade() {
  // The area's own cascade shrinks every window to its size hint, a few
  // lines of a few words each.
  const QList<QMdiSubWindow*> windows = ArrangeCandidates(QMdiArea::StackingOrder);
  if (windows.isEmpty())
    return;
  const QRect area = viewport()->rect();
  const QSize least = PlacedSize();
  const int step = CascadeStep();
  const int room = qMin(area.width() - least.width(), area.height() - least.height());
  const int places = qBound(1, room / step + 1, int(windows.size()));
  const QSize size(qMax(1, area.width() - (places - 1) * step), qMax(1, area.height() - (places - 1) * step));
  // Back to front: the active window ends in front, on top of the others.
  for (int i = 0; i < int(windows.size()); ++i) {
    const int offset = (i % places) * step;
    windows[i]->setGeometry(QRect(area.topLeft() + QPoint(offset, offset), size));
    windows[i]->raise();
  }
}

QList<QMdiSubWindow*> TTarnMDIClient::ArrangeCandidates(QMdiArea::WindowOrder order) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : subWindowList(order)) {
    if (window->isHidden() || window->isMinimized())
      continue;
    if (window->isMaximized())
      window->showNormal();
    windows << window;
  }
  return windows;
}

void TTarnMDIClient::TileHorizontal() {
  const QList<QMdiSubWindow*> windows = ArrangeCandidates(QMdiArea::CreationOrder);
  if (windows.isEmpty())
    return;
  const QRect area = viewport()->rect();
  const int n = int(windows.size());
  const int height = qMax(1, area.height() / n);
  for (int i = 0; i < n; ++i) {
    const int top = i * height;
    const int bottom = i == n - 1 ? area.height() : top + height;
    windows[i]->setGeometry(0, top, area.width(), qMax(1, bottom - top));
  }
}

void TTarnMDIClient::TileVertical() {
  const QList<QMdiSubWindow*> windows = ArrangeCandidates(QMdiArea::CreationOrder);
  if (windows.isEmpty())
    return;
  const QRect area = viewport()->rect();
  const int n = int(windows.size());
  const int width = qMax(1, area.width() / n);
  for (int i = 0; i < n; ++i) {
    const int left = i * width;
    const int right = i == n - 1 ? area.width() : left + width;
    windows[i]->setGeometry(left, 0, qMax(1, right - left), area.height());
  }
}

void TTarnMDIClient::ArrangeIcons() {
  const QRect area = viewport()->rect();
  int x = 0;
  int y = area.height();
  for (QMdiSubWindow* window : subWindowList(QMdiArea::CreationOrder)) {
    if (!window->isMinimized())
      continue;
    const QSize size = window->size();
    if (x > 0 && x + size.width() > area.width()) {
      x = 0;
      y -= size.height();
    }
    window->move(x, y - size.height());
    x += size.width();
  }
}

bool TTarnMDIClient::MainFileChosen() const {
  return !MainFileName.isEmpty() && !MainFileName.startsWith(QLatin1Char('*'));
}

void TTarnMDIClient::MainFileCommand() {
  const QString name = Prompts().OpenFileName(this, QString::fromLatin1(MainFileTitle),
                                              QString::fromLatin1(MainFileFilter), nullptr);
  if (name.isEmpty() || !QFileInfo(name).isFile())
    return;
  MainFileName = QFileInfo(name).absoluteFilePath();
}

void TTarnMDIClient::AssembleCommand() {
  MessageIndex = 0;
  SaveAllWindows();
  if (!MainFileChosen())
    MainFileCommand();
  if (!MainFileChosen())
    return;
  App.SetStatusText(MainFileName);
  App.HelpContextNumber = 0;
  AssembleErrorCount = 0;
  {
    TTarnDialog dialog(this, MainFileName.toStdString());
    dialog.exec();
    if (dialog.Assembled()) {
      AssembleErrorCount = dialog.ErrorCount();
      AssembleErrorFile = dialog.Names().Errors;
    }
  }
  if (AssembleErrorCount != 0)
    NavigateMessage(+1);
}

void TTarnMDIClient::NavigateMessage(int direction) {
  TMessage message;
  std::uint16_t index = MessageIndex;
  const bool read = StepMessage(AssembleErrorFile, index, direction, message);
  MessageIndex = index;
  if (!read)
    return;
  if (message.HasText) {
    App.SetStatusText(QString::fromStdString(message.StatusText));
    App.HelpContextNumber = message.HelpContext;
  }
  if (!message.HasFile)
    return;
  const QString name = QString::fromStdString(message.FileName);
  for (TTarnMDIChild* child : Children()) {
    if (child->Editor()->FileName().compare(name, Qt::CaseInsensitive) == 0) {
      ActivateChild(child);
      child->Editor()->GoToLineColumn(int(message.Line), int(message.Column));
      return;
    }
  }
  // The error file carries the path in upper case; this file system is not
  // case-blind, so open the file that really exists under that name.
  OpenEditorWindow(QString::fromStdString(ResolvePathIgnoringCase(message.FileName)));
  if (TTarnEditFile* editor = ActiveEditor())
    editor->GoToLineColumn(int(message.Line), int(message.Column));
}

void TTarnMDIClient::UpdateAllEditors() {
  for (TTarnMDIChild* child : Children()) {
    TTarnEditFile* editor = child->Editor();
    editor->ApplyFontAndTabs();
    editor->viewport()->update();
    editor->ScrollToCaret();
  }
}

QFont ShownFont(const QFont& font) {
  // The dialog lists installed faces and their styles by name, sizes in
  // points; a face or style it does not list puts it on its first entry
  // (a proportional face, an oblique style), and Ok would then change the
  // editor's font.
  const QFontInfo shown(font);
  QFont start(shown.family());
  start.setStyleName(shown.styleName());
  if (font.pixelSize() > 0)
    start.setPointSizeF(font.pixelSize() * 72.0 / 96.0);  // the inverse of SetEditorFont
  else if (font.pointSizeF() > 0)
    start.setPointSizeF(font.pointSizeF());
  start.setWeight(font.weight());
  start.setItalic(font.italic());
  start.setStyleHint(QFont::TypeWriter);
  return start;
}

void TTarnMDIClient::FontCommand() {
  QFont font = ShownFont(FontDialogUsed ? FontDialogFont : App.EditorFont());
  if (!Prompts().ChooseFont(this, font))
    return;
  FontDialogUsed = true;
  FontDialogFont = font;
  App.SetEditorFont(font);
  UpdateAllEditors();
}

int ParseDecimal(const QString& text) {
  int i = 0;
  const int n = int(text.size());
  while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
    ++i;
  bool negative = false;
  if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
    negative = text[i++] == QLatin1Char('-');
  long long value = 0;
  for (; i < n && text[i].isDigit() && text[i].unicode() < 128; ++i) {
    value = value * 10 + (text[i].unicode() - '0');
    if (value > INT_MAX) {
      value = INT_MAX;
      break;
    }
  }
  if (negative)
    value = -value;
  return int(qBound<long long>((long long)INT_MIN, value, (long long)INT_MAX));
}

void TTarnMDIClient::TabsCommand() {
  QString text = QString::number(App.TabSize());
  if (!Prompts().GetText(this, QStringLiteral("Set Tab Length"),
                         QStringLiteral("Choose tab length from 2 to 16 characters!"), text, 8))
    return;
  const int size = ParseDecimal(text);
  if (size < 2 || size > 16) {
    Prompts().Message(this, QStringLiteral("Tab length must be 2 to 16 characters"), QStringLiteral("Tab Error"),
                      TMessageIcon::Exclamation, TButtons::Ok);
    return;
  }
  App.SetTabSize(size);
  UpdateAllEditors();
}

bool TTarnMDIClient::Handles(int id) const {
  switch (id) {
    case Cmd::New: case Cmd::Open: case Cmd::SaveAll:
    case Cmd::Assemble: case Cmd::MainFile: case Cmd::PreviousError: case Cmd::NextError:
    case Cmd::Font: case Cmd::Tabs:
    case Cmd::Cascade: case Cmd::TileHorizontal: case Cmd::TileVertical: case Cmd::ArrangeIcons:
    case Cmd::CloseAll:
    case Cmd::Print: case Cmd::PageSetup: case Cmd::PrintPreview:
      return true;
    default:
      return false;
  }
}

bool TTarnMDIClient::IsEnabled(int id) const {
  switch (id) {
    case Cmd::SaveAll: case Cmd::Cascade: case Cmd::TileHorizontal: case Cmd::TileVertical:
    case Cmd::ArrangeIcons: case Cmd::CloseAll:
      return !subWindowList().isEmpty();
    case Cmd::PreviousError: case Cmd::NextError:
      return AssembleErrorCount != 0;
    case Cmd::Print: case Cmd::PageSetup: case Cmd::PrintPreview:
      return PrintEnabled();
    default:
      return Handles(id);
  }
}

void TTarnMDIClient::Execute(int id) {
  switch (id) {
    case Cmd::New: NewWindow(); break;
    case Cmd::Open: OpenCommand(); break;
    case Cmd::SaveAll: SaveAllWindows(); break;
    case Cmd::Assemble: AssembleCommand(); break;
    case Cmd::MainFile: MainFileCommand(); break;
    case Cmd::PreviousError: NavigateMessage(-1); break;
    case Cmd::NextError: NavigateMessage(+1); break;
    case Cmd::Font: FontCommand(); break;
    case Cmd::Tabs: TabsCommand(); break;
    case Cmd::Cascade: Cascade(); break;
    case Cmd::TileHorizontal: TileHorizontal(); break;
    case Cmd::TileVertical: TileVertical(); break;
    case Cmd::ArrangeIcons: ArrangeIcons(); break;
    case Cmd::CloseAll: CloseAllChildren(); break;
    case Cmd::Print: PrintCommand(); break;
    case Cmd::PageSetup: PageSetupCommand(); break;
    case Cmd::PrintPreview: PrintPreviewCommand(); break;
    default: break;
  }
}
