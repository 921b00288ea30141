// The frame's client area: it owns the editor windows (one TTarnMDIChild
// around each TTarnEditFile), the main file name and the message index, and
// carries out the file, window, assemble, message and option commands.
#pragma once

#include <QFont>
#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <string>

class TTarnApp;
class TTarnEditFile;

// What the last Assemble command left for message navigation: the error
// count of its run (0 before any run and after a dialog left without
// assembling) and the error file it wrote.
inline int AssembleErrorCount = 0;
inline std::string AssembleErrorFile;

class TTarnMDIChild : public QMdiSubWindow {
  Q_OBJECT
public:
  // Takes EDITOR as its widget; without one it makes an empty, unnamed editor.
  TTarnMDIChild(TTarnApp& app, TTarnEditFile* editor = nullptr);
  TTarnEditFile* Editor() const { return EditorWindow; }
  // Closes without asking the editor again: the caller has had its consent.
  void CloseAgreed();

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  TTarnEditFile* EditorWindow;
  bool Agreed = false;
};

class TTarnMDIClient : public QMdiArea {
  Q_OBJECT
public:
  static constexpr const char* MainFileTitle = "Select Main Assembly File";
  static constexpr const char* MainFileFilter = "Assembly Files (*.asm)|*.asm|All Files (*.*)|*.*|";

  TTarnMDIClient(TTarnApp& app, QWidget* parent = nullptr);

  // A new editor window on FILENAME (empty: the shared dialog data's name,
  // which the open dialog filled in); the name goes to the top of the
  // recent-file list. Returns the new child.
  TTarnMDIChild* OpenEditorWindow(const QString& fileName = QString());
  // A new, empty, unnamed editor window.
  TTarnMDIChild* NewWindow();
  void OpenCommand();
  void SaveAllWindows();

  // The children in the order they were created.
  QList<TTarnMDIChild*> Children() const;
  TTarnMDIChild* ActiveChild() const;
  TTarnEditFile* ActiveEditor() const;
  // Asks every editor in child order whether it may close, stopping at the
  // first refusal; true when all agree.
  bool AskAllCanClose();
  // Close all: asks everyone first and closes all only when all agree.
  bool CloseAllChildren();

  // Raises CHILD (restored when minimised) and gives its editor the focus.
  void ActivateChild(TTarnMDIChild* child);

  // The size the workbench gives a window it places, new or cascaded: two
  // thirds of the visible area, at least 480 by 320 where the area allows.
  QSize PlacedSize() const;
  // How far each cascaded window stands below and right of the one before:
  // a title bar, so that every caption shows.
  int CascadeStep() const;
  // Where a new window opens: inside the visible area at PlacedSize, one
  // step on from PREVIOUS (the window opened before it, if any), or at the
  // top left when that step would leave the area.
  QRect NewWindowGeometry(const QMdiSubWindow* previous) const;

  // Windows stacked one step apart, the active one in front, each as large
  // as the area allows while no window is smaller than PlacedSize; more
  // windows than fit start again at the top left.
  void Cascade();
  // Windows stacked one above the other, each as wide as the client area.
  void TileHorizontal();
  // Windows side by side, each as tall as the client area.
  void TileVertical();
  // Minimised windows in a row along the bottom.
  void ArrangeIcons();

  void AssembleCommand();
  void MainFileCommand();
  // Next error (+1) and Previous error (-1).
  void NavigateMessage(int direction);
  // File > Print..., Page setup... and Print preview on the active window.
  void PrintCommand();
  void PageSetupCommand();
  void PrintPreviewCommand();
  // Whether the three can run: a window is active and the printer object
  // (made here when there is none) reports no set-up error.
  bool PrintEnabled() const;
  void FontCommand();
  void TabsCommand();
  // After a font or tab size change: every editor recomputes and repaints.
  void UpdateAllEditors();

  // The client's share of the command chain.
  bool Handles(int id) const;
  bool IsEnabled(int id) const;
  void Execute(int id);

  // The main file counts as chosen unless it is empty or starts with '*'.
  bool MainFileChosen() const;

  QString MainFileName = QStringLiteral("*.ASM");
  std::uint16_t MessageIndex = 0;
  // The font dialog starts from the font chosen in it last.
  bool FontDialogUsed = false;
  QFont FontDialogFont;

private:
  TTarnMDIChild* AddChild(TTarnEditFile* editor);
  // The windows an arrangement moves, in ORDER: neither hidden nor
  // minimised; a maximised one is restored first.
  QList<QMdiSubWindow*> ArrangeCandidates(QMdiArea::WindowOrder order);

  TTarnApp& App;
};

// FONT as the font dialog should start from it: the face the editor really
// shows (a missing face is replaced), in points.
QFont ShownFont(const QFont& font);

// Reads text the way the C library's atoi does: leading blanks, a sign,
// then digits; no digits gives 0, overflow saturates.
int ParseDecimal(const QString& text);
