// The application object: owns the shared editor settings (font, tab size),
// the recent-file list, the shared open/save dialog data, the help engine
// and the contextual-help mode; starts the workbench, routes every command
// along the chain editor, MDI child, MDI client, frame, application, and
// stops it again.
#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

#include "EditorHost.h"

class TTarnFrame;
class TTarnMDIClient;
class TRecentFiles;
class THelp;
class TTarnPrinter;

// Shared by the Open and Save as dialogs, so each starts where the other left.
struct TOpenSaveData {
  QString Filter;
  QString DefaultExt;
  QString FileName;        // the name chosen or opened last
  QString SelectedFilter;  // the filter entry chosen last
};

class TTarnApp : public QObject, public TEditorHost {
  Q_OBJECT
public:
  static constexpr const char* Name = "Tarnex Meta-Assembler";
  static constexpr const char* SettingsFile = "TarnW4.INI";
  static constexpr const char* DesktopSection = "TarnW4";
  static constexpr int RecentMax = 8;
  static constexpr const char* OpenSaveFilter =
      "Assembler Files (*.asm)|*.asm|List Files (*.lst)|*.lst|Hex Files (*.hex)|*.hex|"
      "Table Files (*.tbl)|*.tbl|All Files (*.*)|*.*|";

  explicit TTarnApp(QObject* parent = nullptr);
  ~TTarnApp() override;

  // Start-up: the splash window, the main window (shown maximised when SHOW),
  // the command line ARGS (without the program name), the desktop, then the
  // files named on the command line.
  void Start(const QStringList& args, bool show = true);

  TTarnFrame* Frame() const;
  TTarnMDIClient* Client() const;
  TRecentFiles& Recent() { return *RecentList; }
  THelp& Help();
  TOpenSaveData& OpenSaveData() { return DialogData; }

  // A command from a menu, accelerator or toolbar button: in contextual-help
  // mode (or with F1 held) its help topic instead; otherwise, when the chain
  // enables it, carried out by the first object on the chain that handles it.
  void Command(int id);
  bool CommandEnabled(int id) const;

  // The application's own share of the chain.
  bool Handles(int id) const;
  void Execute(int id);

  // The close query of shut-down: asks every editor, quits the help engine
  // when help was used and all agreed, and saves the desktop in every case.
  bool CanClose();
  void SaveDesktop();
  void RestoreDesktop();
  void About();
  // Help > Context and Ctrl+F1: the pending message topic, or contextual-help mode.
  void HelpContextCommand();
  bool ContextHelpMode() const { return HelpMode; }
  void EndContextHelp();

  void SetStatusText(const QString& text);
  QString StatusText() const;
  void SetEditorFont(const QFont& font);
  void SetTabSize(int size);

  // TEditorHost
  QFont EditorFont() const override { return Font; }
  int TabSize() const override { return Tabs; }
  void SetPositionText(const QString& text) override;
  void PushRecentFile(const QString& path) override;
  TAnswer Ask(QWidget* parent, const QString& text, const QString& caption, TMessageIcon icon,
              TButtons buttons) override;
  QString SaveAsName(QWidget* parent, const QString& current) override;

  // The printer object, made on first need.
  TTarnPrinter& Printer();
  bool HasPrinter() const { return PrinterObject != nullptr; }
  // A printer object that no longer stands for the system's default printer
  // (or whose set-up failed) is replaced; never while a print or preview
  // uses it.
  void CheckPrinterChange();
  // Greater than 0 while a print or a preview is under way.
  int PrintingCount = 0;

  // Pending message help topic (error number + 100); 0 = none.
  int HelpContextNumber = 0;
  // Whether the help engine accepted the last request; decides whether it is
  // told to quit at exit.
  bool HelpUsed = false;

  // A font from the settings' values: pixel HEIGHT (its magnitude), WEIGHT
  // (100..900, 400 normal), ITALIC byte, FACE.
  static QFont MakeEditorFont(const QString& face, int height, int weight, int italic);
  // A stored tab size outside 2..16 would break the editors' tab stops.
  static int GuardTabSize(int size) { return size >= 2 && size <= 16 ? size : 8; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void StartContextHelp();
  void ShowCommandHelp(int id);
  void OpenCommandLineFiles(const QStringList& args);

  std::unique_ptr<TRecentFiles> RecentList;
  std::unique_ptr<THelp> HelpEngine;
  std::unique_ptr<TTarnPrinter> PrinterObject;
  QPointer<TTarnFrame> MainWindow;
  TOpenSaveData DialogData;
  QFont Font;
  int Tabs = 8;
  bool HelpMode = false;
  bool HelpCursorShown = false;
  bool F1Held = false;
};
