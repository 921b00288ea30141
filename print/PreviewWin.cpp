#include "PreviewWin.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

#include "EditFile.h"
#include "FindDialog.h"  // EditFile.h holds a QPointer to it
#include "Printer.h"

namespace {

QWidget* Spacer(QWidget* parent, int width) {
  auto* spacer = new QWidget(parent);
  spacer->setFixedWidth(width);
  return spacer;
}

// One sheet or two side by side, for the page-mode buttons.
QIcon SheetsIcon(int sheets) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(40, 40, 40));
  p.setBrush(QColor(250, 250, 250));
  const int width = sheets == 1 ? 10 : 6;
  for (int i = 0; i < sheets; ++i) {
    const int left = sheets == 1 ? 3 : 1 + i * 8;
    p.drawRect(left, 1, width, 13);
    for (int y = 4; y < 13; y += 3)
      p.drawLine(left + 2, y, left + width - 2, y);
  }
  return QIcon(pixmap);
}

}  // namespace

// ---------------------------------------------------------------- page pane

TVuzPreviewPage::TVuzPreviewPage(QWidget* parent, TVuzPrintout& printout, QSize extent, QSizeF dpi, QRectF paper,
                                 QRectF printable, int page)
    : QWidget(parent), Printout(printout), Extent(extent), Dpi(dpi), Paper(paper), Printable(printable),
      PageNum(page) {
  // A printer that tells no paper: the printable area is the sheet.
  if (Paper.isEmpty() || Printable.isEmpty()) {
    Paper = QRectF(QPointF(0, 0), QSizeF(extent));
    Printable = Paper;
  }
}

void TVuzPreviewPage::SetPage(int page) {
  PageNum = page;
  update();
}

void TVuzPreviewPage::paintEvent(QPaintEvent*) {
  QPainter dc(this);
  // The whole sheet, its margins included, at one scale for both directions.
  const qreal scale = std::min(width() / Paper.width(), height() / Paper.height());
  const QRect sheet(0, 0, qRound(Paper.width() * scale), qRound(Paper.height() * scale));
  dc.fillRect(sheet, Qt::white);
  dc.setPen(Qt::black);
  dc.drawRect(sheet.adjusted(0, 0, -1, -1));
  if (PageNum <= 0 || Extent.isEmpty() || !Printout.HasPage(PageNum))
    return;
  dc.setRenderHint(QPainter::TextAntialiasing);
  // The printout draws in the printer's pixels of the printable area, which
  // lies on the reduced sheet where the printer puts it on the paper.
  const QRectF area((Printable.left() - Paper.left()) * scale, (Printable.top() - Paper.top()) * scale,
                    Printable.width() * scale, Printable.height() * scale);
  dc.setClipRect(area);
  dc.setViewport(area.toRect());
  dc.setWindow(QRect(QPoint(0, 0), Extent));
  Printout.SetPrintParams(&dc, Extent, Dpi);
  Printout.PrintPage(PageNum);
}

// ---------------------------------------------------------------- preview window

TVuzPreviewWin::TVuzPreviewWin(QWidget* mainWindow, TTarnPrinter& printer, TTarnEditFile* window,
                               std::function<void()> print, const QIcon& printIcon)
    : QMainWindow(mainWindow, Qt::Window),
      Printer(printer),
      Window(window),
      Print(std::move(print)),
      Extent(printer.Device().width(), printer.Device().height()),
      PreviewPrintout(printer, QStringLiteral("Print Preview"), window, true) {
  setObjectName(QStringLiteral("PrintPreview"));
  setWindowTitle(mainWindow ? mainWindow->windowTitle() : QStringLiteral("Print Preview"));
  if (mainWindow)
    setWindowIcon(mainWindow->windowIcon());
  setWindowModality(Qt::ApplicationModal);

  Client = new QWidget(this);
  Client->setAutoFillBackground(true);
  QPalette workspace = Client->palette();
  // The colour behind the MDI windows: the application's workspace.
  workspace.setColor(QPalette::Window, workspace.color(QPalette::Dark));
  Client->setPalette(workspace);
  Client->installEventFilter(this);
  setCentralWidget(Client);

  Tools = new QToolBar(QStringLiteral("Print Preview"), this);
  Tools->setMovable(false);
  Tools->setFloatable(false);
  Tools->setIconSize(QSize(16, 16));
  QFont font = Tools->font();
  font.setPointSize(10);
  Tools->setFont(font);
  const auto add = [this](int id, const QIcon& icon, const QString& text) {
    QAction* action = Tools->addAction(icon, text);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { Command(id); });
    Actions.insert(id, action);
    return action;
  };
  add(PreviousPage, style()->standardIcon(QStyle::SP_ArrowLeft), QStringLiteral("Previous page"));
  add(NextPage, style()->standardIcon(QStyle::SP_ArrowRight), QStringLiteral("Next page"));
  Tools->addWidget(Spacer(Tools, 6));
  auto* modes = new QActionGroup(this);
  modes->setExclusive(true);
  for (QAction* mode : {add(OnePage, SheetsIcon(1), QStringLiteral("One page")),
                        add(TwoPages, SheetsIcon(2), QStringLiteral("Two pages"))}) {
    mode->setCheckable(true);
    modes->addAction(mode);
  }
  Actions[OnePage]->setChecked(true);
  Tools->addWidget(Spacer(Tools, 12));
  PageLabel = new QLabel(Tools);
  PageLabel->setObjectName(QStringLiteral("PageText"));
  PageLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  PageLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  PageLabel->setFont(font);
  PageLabel->setFixedWidth(QFontMetrics(font).averageCharWidth() * 10 + 8);
  Tools->addWidget(PageLabel);
  Tools->addWidget(Spacer(Tools, 20));
  add(PrintCommand, printIcon.isNull() ? style()->standardIcon(QStyle::SP_FileIcon) : printIcon,
      QStringLiteral("Print"));
  Tools->addWidget(Spacer(Tools, 20));
  add(Done, style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Done"));
  addToolBar(Qt::TopToolBarArea, Tools);

  // The page count of the text on this printer's paper, before any pane is
  // painted, so that Next page answers rightly from the start.
  PreviewPrintout.SetPrintParams(nullptr, Extent, QSizeF(printer.Device().logicalDpiX(), printer.Device().logicalDpiY()));
  PreviewPrintout.BeginPrinting();
  FirstViewPane = NewPage(1);
  FirstViewPane->setObjectName(QStringLiteral("FirstView"));
  Layout();
  UpdatePageText();
  UpdateButtons();
}

TVuzPreviewWin::~TVuzPreviewWin() {
  if (Loop)
    Loop->quit();
}

int TVuzPreviewWin::MaxPage() const { return Printer.Setup().MaxPage; }

TVuzPreviewPage* TVuzPreviewWin::NewPage(int page) {
  QPrinter& device = Printer.Device();
  auto* pane = new TVuzPreviewPage(Client, PreviewPrintout, Extent, QSizeF(device.logicalDpiX(), device.logicalDpiY()),
                                   device.paperRect(QPrinter::DevicePixel), device.pageRect(QPrinter::DevicePixel),
                                   page);
  // Where the sheet leaves room in its pane, the workspace shows.
  pane->setAttribute(Qt::WA_OpaquePaintEvent, false);
  return pane;
}

void TVuzPreviewWin::Layout() {
  if (!FirstViewPane)
    return;
  const QRect client = Client->rect();
  const int printWidth = std::max(1, Extent.width());
  const int printHeight = std::max(1, Extent.height());
  const int ratio = std::min(printWidth, printHeight) * 100 / std::max(printWidth, printHeight);
  int width = 0;
  int height = 0;
  if (client.height() < client.width() * ratio / 100) {
    // A wide client: the height decides, the width follows the paper.
    height = client.height() - 2 * Margin;
    width = height * (printWidth * 95 / printHeight) / 100;
  } else {
    width = client.width() - 2 * Margin;
    height = width * (printHeight * 95 / printWidth) / 100;
  }
  const QRect first(Margin, Margin, std::max(1, width), std::max(1, height));
  FirstViewPane->setGeometry(first);
  FirstViewPane->show();
  if (SecondView) {
    SecondView->setGeometry(first.translated(first.width() + Gap, 0));
    SecondView->show();
  }
}

void TVuzPreviewWin::UpdatePageText() {
  PageLabel->setText(PageText());
}

QString TVuzPreviewWin::PageText() const {
  if (SecondView && First != Last)
    return QStringLiteral("Page %1 - %2").arg(First).arg(Last);
  return QStringLiteral("Page %1").arg(First);
}

bool TVuzPreviewWin::CommandEnabled(int id) const {
  switch (id) {
    case PreviousPage: return First != 1;
    case NextPage: return Last != MaxPage();
    // Two portrait pages side by side fit a screen; two landscape ones do not.
    case TwoPages: return Extent.height() >= Extent.width();
    case OnePage: case PrintCommand: case Done: return true;
    default: return false;
  }
}

void TVuzPreviewWin::UpdateButtons() {
  for (auto it = Actions.cbegin(); it != Actions.cend(); ++it)
    it.value()->setEnabled(CommandEnabled(it.key()));
}

void TVuzPreviewWin::ShowPages() {
  FirstViewPane->SetPage(First);
  if (SecondView)
    SecondView->SetPage(Last != First ? Last : 0);
}

void TVuzPreviewWin::Command(int id) {
  if (!CommandEnabled(id))
    return;
  switch (id) {
    case PreviousPage:
      if (Printer.Setup().MinPage < First) {
        --First;
        --Last;
        ShowPages();
        UpdatePageText();
      }
      break;
    case NextPage:
      if (Last < MaxPage()) {
        ++First;
        ++Last;
        ShowPages();
        UpdatePageText();
      }
      break;
    case OnePage:
      if (SecondView) {
        delete SecondView;
        SecondView = nullptr;
        Layout();
        Last = First;
        UpdatePageText();
      }
      Actions[OnePage]->setChecked(true);
      break;
    case TwoPages:
      if (!SecondView) {
        SecondView = NewPage(0);
        SecondView->setObjectName(QStringLiteral("SecondView"));
        Layout();
        if (First == MaxPage()) {
          if (First >= 2) {
            Last = First;
            --First;
          }
        } else {
          Last = First + 1;
        }
        ShowPages();
        UpdatePageText();
      }
      Actions[TwoPages]->setChecked(true);
      break;
    case PrintCommand:
      if (Print)
        Print();
      break;
    case Done:
      close();
      break;
    default:
      break;
  }
  UpdateButtons();
}

void TVuzPreviewWin::closeEvent(QCloseEvent* event) {
  Ended = true;
  if (Loop)
    Loop->quit();
  event->accept();
}

bool TVuzPreviewWin::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Client && event->type() == QEvent::Resize)
    Layout();
  return QMainWindow::eventFilter(watched, event);
}

void TVuzPreviewWin::Exec() {
  if (Ended)
    return;
  QEventLoop loop;
  Loop = &loop;
  loop.exec();
  Loop = nullptr;
}

void TVuzPreviewWin::Run(QWidget* mainWindow, TTarnPrinter& printer, TTarnEditFile* window,
                         std::function<void()> print, const QIcon& printIcon) {
  auto* preview = new TVuzPreviewWin(mainWindow, printer, window, std::move(print), printIcon);
  if (mainWindow) {
    preview->move(mainWindow->pos());
    preview->resize(mainWindow->size());
  }
  preview->show();
  if (mainWindow)
    mainWindow->hide();
  preview->Exec();
  if (mainWindow) {
    // A maximised main window comes back restored, to the preview's place.
    const QPoint position = preview->pos();
    const QSize size = preview->size();
    mainWindow->setWindowState(mainWindow->windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    mainWindow->move(position);
    mainWindow->resize(size);
    mainWindow->show();
  }
  delete preview;
}
