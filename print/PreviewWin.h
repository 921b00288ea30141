// The print preview: one or two pages of an editor window drawn through its
// printout at a reduced scale, with buttons to page through, to print and to
// close. It stands in for the main window while it runs.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSize>
#include <functional>

#include "Printout.h"

class QAction;
class QLabel;
class QToolBar;
class TTarnEditFile;
class TTarnPrinter;
class TVuzPreviewPage;

class TVuzPreviewWin : public QMainWindow {
  Q_OBJECT
public:
  // Command ids of the preview's toolbar; its print button is the
  // workbench's Print command (24337).
  enum : int {
    PreviousPage = 24500, NextPage = 24501, OnePage = 24502, TwoPages = 24503, PageField = 24504,
    Done = 24505, PrintCommand = 24337,
  };
  static constexpr int Margin = 15;
  static constexpr int Gap = 30;

  // MAINWINDOW owns the preview. PRINT carries out the workbench's Print
  // command; PRINTICON is its toolbar picture.
  TVuzPreviewWin(QWidget* mainWindow, TTarnPrinter& printer, TTarnEditFile* window,
                 std::function<void()> print, const QIcon& printIcon = QIcon());
  ~TVuzPreviewWin() override;

  // The whole preview: takes MAINWINDOW's outer rectangle and hides it,
  // runs the modal loop until the preview ends, and gives MAINWINDOW the
  // preview's rectangle back, shown normally.
  static void Run(QWidget* mainWindow, TTarnPrinter& printer, TTarnEditFile* window, std::function<void()> print,
                  const QIcon& printIcon = QIcon());
  // Runs the modal loop until Done or the window closes.
  void Exec();

  void Command(int id);
  bool CommandEnabled(int id) const;
  QAction* Action(int id) const { return Actions.value(id, nullptr); }
  QToolBar* ToolBar() const { return Tools; }
  QString PageText() const;
  int FirstPage() const { return First; }
  int LastPage() const { return Last; }
  bool TwoPageMode() const { return SecondView != nullptr; }
  // The page panes (the second is nullptr in one-page mode).
  TVuzPreviewPage* FirstView() const { return FirstViewPane; }
  TVuzPreviewPage* SecondViewPane() const { return SecondView; }
  // Page width and height of the printer, in its device pixels.
  QSize PrintExtent() const { return Extent; }
  TVuzPrintout& Printout() { return PreviewPrintout; }

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void Layout();
  void UpdatePageText();
  void UpdateButtons();
  void ShowPages();
  int MaxPage() const;
  TVuzPreviewPage* NewPage(int page);

  TTarnPrinter& Printer;
  QPointer<TTarnEditFile> Window;
  std::function<void()> Print;
  QSize Extent;
  TVuzPrintout PreviewPrintout;
  int First = 1;
  int Last = 1;
  QWidget* Client = nullptr;
  TVuzPreviewPage* FirstViewPane = nullptr;
  TVuzPreviewPage* SecondView = nullptr;
  QToolBar* Tools = nullptr;
  QLabel* PageLabel = nullptr;
  QHash<int, QAction*> Actions;
  QPointer<class QEventLoop> Loop;
  bool Ended = false;
};

// One page pane: the printer's sheet of paper, reduced, on which the
// printout draws page PAGE (0: an empty sheet) within the printable area.
class TVuzPreviewPage : public QWidget {
  Q_OBJECT
public:
  // EXTENT is the printable area in device pixels; PAPER the whole sheet and
  // PRINTABLE where the printable area lies on it, also in device pixels.
  TVuzPreviewPage(QWidget* parent, TVuzPrintout& printout, QSize extent, QSizeF dpi, QRectF paper,
                  QRectF printable, int page);
  void SetPage(int page);
  int Page() const { return PageNum; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  TVuzPrintout& Printout;
  QSize Extent;
  QSizeF Dpi;
  QRectF Paper;
  QRectF Printable;
  int PageNum;
};
