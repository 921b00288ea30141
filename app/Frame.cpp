#include "Frame.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "App.h"
#include "Commands.h"
#include "EditFile.h"
#include "FindDialog.h"  // EditFile.h holds a QPointer to it
#include "Icons.h"
#include "MdiClient.h"
#include "RecentFiles.h"

TTarnFrame::TTarnFrame(TTarnApp& app) : QMainWindow(nullptr), App(app) {
  setWindowTitle(QString::fromLatin1(TTarnApp::Name));
  setWindowIcon(FrameIcon());
  setAcceptDrops(true);
  MdiClient = new TTarnMDIClient(App, this);
  setCentralWidget(MdiClient);
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  resize(900, 640);

  // The toolbar's buttons and the indicators follow the chain while idle.
  IdleTimer = new QTimer(this);
  IdleTimer->setInterval(IdleMilliseconds);
  connect(IdleTimer, &QTimer::timeout, this, &TTarnFrame::UpdateCommandStates);
  IdleTimer->start();
  connect(MdiClient, &QMdiArea::subWindowActivated, this, &TTarnFrame::UpdateCommandStates);
  UpdateCommandStates();
}

TTarnFrame::~TTarnFrame() {
  // The client outlives this part of the frame while the children go, and
  // reports every activation change on the way: none of it concerns us now.
  disconnect(MdiClient, nullptr, this, nullptr);
  IdleTimer->stop();
}

void TTarnFrame::BuildMenus() {
  for (const TPopupRow& row : PopupTable()) {
    QMenu* menu = menuBar()->addMenu(QString::fromLatin1(row.Title));
    menu->menuAction()->setStatusTip(QString::fromLatin1(row.Hint));
    Popups << menu;
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
      if (menu == FileMenu())
        RefreshRecentFiles();
      if (menu == WindowMenu())
        RefreshWindowList();
      UpdateCommandStates();
    });
    // A menu reports every hover of its actions, also one over the same
    // action's toolbar button; only a highlight in the open menu is a hint.
    connect(menu, &QMenu::hovered, this, [this, menu](QAction* action) {
      if (menu->isVisible())
        ShowHint(action);
    });
    // Qt does not highlight disabled items, but their hints still tell what
    // they would do.
    menu->installEventFilter(this);
  }
  connect(menuBar(), &QMenuBar::hovered, this, &TTarnFrame::ShowHint);

  for (const TCommandRow& row : CommandTable()) {
    QMenu* menu = Popups[row.Popup];
    if (row.Id == Cmd::Cascade)
      WindowPopup = menu;
    if (row.IsSeparator()) {
      menu->addSeparator();
      continue;
    }
    const int id = row.Id;
    auto* action = new QAction(QString::fromLatin1(row.Text), this);
    action->setData(id);
    action->setStatusTip(QString::fromLatin1(row.Hint));
    action->setToolTip(PlainCommandText(id));
    const QKeySequence key = CommandKey(id);
    if (!key.isEmpty()) {
      action->setShortcut(key);
      action->setShortcutContext(Qt::WindowShortcut);
    }
    connect(action, &QAction::triggered, this, [this, id] { App.Command(id); });
    menu->addAction(action);
    addAction(action);  // the accelerators work with the menus closed
    Actions.insert(id, action);
  }
}

void TTarnFrame::BuildToolBar() {
  Tools = new QToolBar(QStringLiteral("Toolbar"), this);
  Tools->setObjectName(QStringLiteral("Toolbar"));
  Tools->setMovable(true);
  Tools->setFloatable(true);
  Tools->setAllowedAreas(Qt::AllToolBarAreas);
  Tools->setIconSize(QSize(16, 16));
  QFont font = Tools->font();
  font.setPointSize(10);
  Tools->setFont(font);
  // The hint of a button shows while it is held down, not as the mouse passes.
  Tools->installEventFilter(this);
  for (int id : ToolbarLayout()) {
    if (id == 0) {
      Tools->addSeparator();
      continue;
    }
    QAction* action = Actions.value(id);
    if (!action)
      continue;
    action->setIcon(CommandIcon(id));
    action->setIconVisibleInMenu(false);
    Tools->addAction(action);
    if (auto* button = qobject_cast<QAbstractButton*>(Tools->widgetForAction(action))) {
      button->installEventFilter(this);
      connect(button, &QAbstractButton::pressed, this, [this, action] { ShowHint(action); });
      connect(button, &QAbstractButton::released, this, [this] { statusBar()->clearMessage(); });
    }
  }
  addToolBar(Qt::TopToolBarArea, Tools);
}

void TTarnFrame::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(true);
  TextArea = new QLabel(QString::fromLatin1(InitialStatusText), bar);
  TextArea->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  TextArea->setTextFormat(Qt::PlainText);
  bar->addWidget(TextArea, 1);
  const QFontMetrics metrics(bar->font());
  for (const char* name : {"CAPS", "NUM", "SCRL", "OVR"}) {
    auto* label = new QLabel(bar);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("CAPS")) + 8);
    bar->addPermanentWidget(label);
    Indicators << label;
  }
  Position = new QLabel(QStringLiteral("0:0"), bar);
  Position->setObjectName(QStringLiteral("Position"));
  Position->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Position->setAlignment(Qt::AlignCenter);
  Position->setMinimumWidth(metrics.horizontalAdvance(QLatin1Char('0')) * 6 + 8);
  bar->addPermanentWidget(Position);
}

void TTarnFrame::ShowHint(QAction* action) {
  if (!action)
    return;
  const QString hint = action->statusTip();
  if (hint.isEmpty())
    statusBar()->clearMessage();
  else
    statusBar()->showMessage(hint);
}

void TTarnFrame::SetStatusText(const QString& text) {
  TextArea->setText(text);
  statusBar()->clearMessage();
}

QString TTarnFrame::StatusText() const { return TextArea->text(); }

QString TTarnFrame::HintText() const { return statusBar()->currentMessage(); }

void TTarnFrame::SetPositionText(const QString& text) { Position->setText(text); }

QString TTarnFrame::PositionText() const { return Position->text(); }

void TTarnFrame::UpdateCommandStates() {
  for (auto it = Actions.cbegin(); it != Actions.cend(); ++it) {
    const bool enabled = App.CommandEnabled(it.key());
    if (it.value()->isEnabled() != enabled)
      it.value()->setEnabled(enabled);
  }
  // This platform cannot tell the lock keys' states; overwrite mode is the
  // active editor's own.
  TTarnEditFile* editor = MdiClient->ActiveEditor();
  const QString ovr = editor && editor->Text().Overwrite ? QStringLiteral("OVR") : QString();
  if (Indicators.size() == 4 && Indicators[3]->text() != ovr)
    Indicators[3]->setText(ovr);
}

void TTarnFrame::RefreshRecentFiles() {
  QMenu* file = FileMenu();
  for (QAction* action : RecentEntries) {
    file->removeAction(action);
    delete action;
  }
  RecentEntries.clear();
  if (RecentSeparator) {
    file->removeAction(RecentSeparator);
    delete RecentSeparator;
    RecentSeparator = nullptr;
  }
  QAction* exit = Action(Cmd::Exit);
  const std::vector<std::string> entries = App.Recent().Entries();
  for (int i = 0; i < int(entries.size()) && i <= Cmd::LastRecent - Cmd::FirstRecent; ++i) {
    if (entries[i].empty())
      continue;
    QString path = QString::fromStdString(entries[i]);
    path.replace(QLatin1Char('&'), QStringLiteral("&&"));  // a '&' in a path is no mnemonic
    const int id = Cmd::FirstRecent + i;
    auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path), this);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { App.Command(id); });
    file->insertAction(exit, action);
    RecentEntries << action;
  }
  if (!RecentEntries.isEmpty())
    RecentSeparator = file->insertSeparator(exit);
}

void TTarnFrame::RefreshWindowList() {
  QMenu* menu = WindowMenu();
  if (!menu)
    return;
  for (QAction* action : WindowListEntries) {
    menu->removeAction(action);
    delete action;
  }
  WindowListEntries.clear();
  if (WindowListSeparator) {
    menu->removeAction(WindowListSeparator);
    delete WindowListSeparator;
    WindowListSeparator = nullptr;
  }
  // A window closed a moment ago stays a child until it is deleted.
  QList<TTarnMDIChild*> children = MdiClient->Children();
  children.removeIf([](const TTarnMDIChild* child) { return child->isHidden(); });
  if (children.isEmpty())
    return;
  WindowListSeparator = menu->addSeparator();
  TTarnMDIChild* active = MdiClient->ActiveChild();
  for (int i = 0; i < int(children.size()); ++i) {
    QString caption = children[i]->windowTitle();
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));  // a '&' in a path is no mnemonic
    // Digits 1 to 9 are the keys; later windows are chosen with the arrows.
    const QString number = QString::number(i + 1);
    auto* action = new QAction(i < 9 ? QStringLiteral("&%1 %2").arg(number, caption)
                                     : QStringLiteral("%1 %2").arg(number, caption),
                               this);
    action->setCheckable(true);
    action->setChecked(children[i] == active);
    QPointer<TTarnMDIChild> child = children[i];
    connect(action, &QAction::triggered, this, [this, child] {
      if (child)
        MdiClient->ActivateChild(child);
    });
    menu->addAction(action);
    WindowListEntries << action;
  }
}

void TTarnFrame::closeEvent(QCloseEvent* event) {
  if (!App.CanClose()) {
    event->ignore();
    return;
  }
  event->accept();
  emit Closed();
}

bool TTarnFrame::event(QEvent* event) {
  // QMainWindow keeps drags and drops for its own docking unless a toolbar is
  // being dragged; dropped files are handled here first.
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
      if (static_cast<QDropEvent*>(event)->mimeData()->hasUrls()) {
        static_cast<QDropEvent*>(event)->acceptProposedAction();
        return true;
      }
      break;
    case QEvent::Drop:
      if (static_cast<QDropEvent*>(event)->mimeData()->hasUrls()) {
        dropEvent(static_cast<QDropEvent*>(event));
        return true;
      }
      break;
    default:
      break;
  }
  return QMainWindow::event(event);
}

void TTarnFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls())
    event->acceptProposedAction();
}

void TTarnFrame::dropEvent(QDropEvent* event) {
  // The MDI area and the editors take no drops themselves, so a drop on any
  // of them arrives here.
  const QList<QUrl> urls = event->mimeData()->urls();
  for (const QUrl& url : urls)
    if (url.isLocalFile())
      MdiClient->OpenEditorWindow(url.toLocalFile());
  event->acceptProposedAction();
}

bool TTarnFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::StatusTip && (watched == Tools || watched->parent() == Tools))
    return true;
  if (event->type() == QEvent::MouseMove)
    if (auto* menu = qobject_cast<QMenu*>(watched))
      if (QAction* action = menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
        if (!action->isEnabled() && !action->isSeparator())
          ShowHint(action);
  return QMainWindow::eventFilter(watched, event);
}
