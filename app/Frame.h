// The main window: menu bar, accelerators, the dockable toolbar and the
// status bar, all built from the command table, around the MDI client.
#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;
class TTarnApp;
class TTarnMDIClient;

class TTarnFrame : public QMainWindow {
  Q_OBJECT
public:
  static constexpr const char* InitialStatusText = "Tarnex Meta-Assembler 4.0";
  static constexpr int IdleMilliseconds = 200;

  explicit TTarnFrame(TTarnApp& app);
  ~TTarnFrame() override;

  TTarnMDIClient* Client() const { return MdiClient; }
  // The menu and toolbar action of command ID (nullptr for none).
  QAction* Action(int id) const { return Actions.value(id, nullptr); }
  QMenu* Popup(int index) const { return Popups.value(index, nullptr); }
  QMenu* FileMenu() const { return Popups.value(0, nullptr); }
  // The popup with the window arrangement commands and the open windows.
  QMenu* WindowMenu() const { return WindowPopup; }
  QToolBar* ToolBar() const { return Tools; }
  // The recent-file entries the File popup shows now.
  const QList<QAction*>& RecentActions() const { return RecentEntries; }

  // The status bar's text area; a hint shown meanwhile covers it.
  void SetStatusText(const QString& text);
  QString StatusText() const;
  // The hint shown over the text area now, empty for none.
  QString HintText() const;
  void SetPositionText(const QString& text);
  QString PositionText() const;
  // CAPS, NUM, SCRL, OVR.
  QLabel* Indicator(int index) const { return Indicators.value(index, nullptr); }

  // Asks the command chain about every action, and refreshes the indicators.
  void UpdateCommandStates();
  // The File popup's recent-file entries, rebuilt from the list.
  void RefreshRecentFiles();
  // The Window popup's list of open windows, "&1 caption" onwards in the
  // order they were opened, the active one checked; choosing an entry
  // activates its window.
  void RefreshWindowList();
  const QList<QAction*>& WindowEntries() const { return WindowListEntries; }

signals:
  // The frame closed for good: the program ends.
  void Closed();

protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void ShowHint(QAction* action);

  TTarnApp& App;
  TTarnMDIClient* MdiClient;
  QHash<int, QAction*> Actions;
  QList<QMenu*> Popups;
  QList<QAction*> RecentEntries;
  QAction* RecentSeparator = nullptr;
  QMenu* WindowPopup = nullptr;
  QList<QAction*> WindowListEntries;
  QAction* WindowListSeparator = nullptr;
  QToolBar* Tools = nullptr;
  QLabel* TextArea = nullptr;
  QLabel* Position = nullptr;
  QList<QLabel*> Indicators;
  QTimer* IdleTimer = nullptr;
};
