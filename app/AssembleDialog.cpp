#include "AssembleDialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <chrono>
#include <memory>
#include <new>

#include "Prompts.h"
#include "Tarn.h"

namespace {

// Reached by ShowProgress without a reference to the dialog; QPointer clears itself should a
// field go away with its dialog.
QPointer<QLabel> ProgressFields[TTarnDialog::LastField - TTarnDialog::FirstField + 1];
TTarn* EngineState = nullptr;

// The engine reports every 65 lines; painting every report costs more than
// the assembly itself. Texts are kept and the fields painted at most about 20
// times a second, and always when a pass begins (after the previous pass's
// final counts), with the checksum, and when the run ends.
constexpr int FieldCount = TTarnDialog::LastField - TTarnDialog::FirstField + 1;
QString PendingTexts[FieldCount];
bool Pending[FieldCount] = {};
std::chrono::steady_clock::time_point LastPaint;
int Paints = 0;

void PaintPendingFields() {
  for (int i = 0; i < FieldCount; ++i) {
    if (!Pending[i]) continue;
    Pending[i] = false;
    if (QLabel* label = ProgressFields[i]) {
      label->setText(PendingTexts[i]);
      label->repaint();
    }
  }
  LastPaint = std::chrono::steady_clock::now();
  ++Paints;
}

// Dialog units to pixels of the dialog's font: a horizontal unit is a quarter of the average
// character width, a vertical unit an eighth of the line height.
class TDialogUnits {
 public:
  explicit TDialogUnits(const QFont& font) {
    QFontMetrics fm(font);
    static const QString Alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    BaseX = fm.horizontalAdvance(Alphabet) / 52.0;
    BaseY = fm.height();
    if (BaseX <= 0) BaseX = 6;
    if (BaseY <= 0) BaseY = 13;
  }
  int X(int units) const { return int(units * BaseX / 4.0 + 0.5); }
  int Y(int units) const { return int(units * BaseY / 8.0 + 0.5); }
  QRect Rect(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(w), Y(h)); }

 private:
  double BaseX, BaseY;
};

struct TStaticText {
  const char* Text;
  int X, Y, W, H;
};

// Labels, all right-aligned; "File" and "Total" head the two columns of counts.
const TStaticText StaticTexts[] = {
    {"Pass:", 27, 11, 20, 8},     {"Main File:", 13, 21, 34, 8}, {"Assembling:", 3, 31, 44, 8},
    {"File", 189, 51, 14, 8},     {"Total", 229, 51, 17, 8},     {"Line:", 143, 61, 19, 8},
    {"Errors:", 137, 71, 25, 8},  {"Checksum:", 123, 82, 38, 8},
};

struct TFieldPlace {
  int Id, X, Y, W, H;
  bool RightAligned;
};

const TFieldPlace FieldPlaces[] = {
    {208, 56, 11, 52, 10, false},  {209, 56, 21, 308, 10, false}, {210, 56, 31, 308, 10, false},
    {211, 169, 61, 34, 10, true},  {212, 217, 61, 36, 10, true},  {213, 169, 71, 34, 10, true},
    {214, 217, 71, 36, 10, true},  {215, 169, 81, 84, 10, true},
};

}  // namespace

TTarnDialog::TTarnDialog(QWidget* parent, std::string mainFile) : QDialog(parent), MainPath(std::move(mainFile)) {
  setWindowTitle(QStringLiteral("Assembling"));
  setModal(true);
  setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);
  TDialogUnits du(font());
  setFixedSize(du.X(377), du.Y(127));

  for (const TStaticText& t : StaticTexts) {
    auto* label = new QLabel(QString::fromLatin1(t.Text), this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(du.Rect(t.X, t.Y, t.W, t.H));
  }
  for (const TFieldPlace& p : FieldPlaces) {
    auto* field = new QLabel(this);
    // Paths and counts are shown as written: a name such as "<b>.asm" must not turn into markup.
    field->setTextFormat(Qt::PlainText);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setWordWrap(false);
    field->setAlignment((p.RightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    field->setGeometry(du.Rect(p.X, p.Y, p.W, p.H));
    field->setProperty("controlId", p.Id);
    Fields[p.Id - FirstField] = field;
    ProgressFields[p.Id - FirstField] = field;
  }

  auto button = [&](const char* text, int id, int x) {
    auto* b = new QPushButton(QString::fromLatin1(text), this);
    b->setGeometry(du.Rect(x, 102, 40, 14));
    b->setProperty("controlId", id);
    return b;
  };
  AssembleBtn = button("&Assemble", AssembleId, 68);
  CancelBtn = button("&Cancel", CancelId, 169);
  OkBtn = button("&Ok", OkId, 169);
  OkBtn->hide();
  AssembleBtn->setDefault(true);
  AssembleBtn->setFocus();

  connect(AssembleBtn, &QPushButton::clicked, this, &TTarnDialog::AssembleClicked);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
}

TTarnDialog::~TTarnDialog() {
  for (int i = 0; i <= LastField - FirstField; ++i)
    if (ProgressFields[i] == Fields[i]) ProgressFields[i] = nullptr;
}

QPushButton* TTarnDialog::AssembleButton() const { return AssembleBtn; }
QPushButton* TTarnDialog::CancelButton() const { return CancelBtn; }
QPushButton* TTarnDialog::OkButton() const { return OkBtn; }

QLabel* TTarnDialog::Field(int id) const {
  return id >= FirstField && id <= LastField ? Fields[id - FirstField] : nullptr;
}

bool TTarnDialog::Assembled() const { return Ran; }
uint16_t TTarnDialog::ErrorCount() const { return Errors; }
const TOutputNames& TTarnDialog::Names() const { return OutputFiles; }

void TTarnDialog::AssembleClicked() {
  // One run per dialog; a second click (or a nested call) finds the button disabled.
  if (Ran || EngineState || !AssembleBtn->isEnabled()) return;
  OutputFiles = OutputNames(MainPath);
  AssembleBtn->setEnabled(false);
  // Nothing is dispatched until the engine returns, so the disabled button is painted now.
  AssembleBtn->repaint();

  // The state is large and lives only for this run.
  try {
    auto state = std::make_unique<TTarn>();
    state->ShowProgressFn = ShowProgress;
    EngineState = state.get();
    LastPaint = {};
    Errors = state->Assemble(MainPath, OutputFiles.Listing, OutputFiles.Object, OutputFiles.Errors);
    PaintPendingFields();
  } catch (const std::bad_alloc&) {
    // Memory ran out where the engine has no numbered error for it. The
    // run's state is gone by now, which gives the memory back; the workbench
    // and its windows go on, and the dialog closes as if cancelled, with no
    // errors to step through.
    EngineState = nullptr;
    Prompts().Message(this, QString::fromLatin1(OutOfMemoryText), windowTitle(), TMessageIcon::Stop, TButtons::Ok);
    reject();
    return;
  }
  EngineState = nullptr;
  Ran = true;

  CancelBtn->hide();
  OkBtn->show();
  OkBtn->setDefault(true);
  OkBtn->setFocus();
}

void ShowProgress(const char* text, int field) {
  if (field < TTarnDialog::FirstField || field > TTarnDialog::LastField) return;
  int i = field - TTarnDialog::FirstField;
  if (!ProgressFields[i]) return;
  // The engine's texts are byte strings; paths on this system are UTF-8.
  PendingTexts[i] = QString::fromUtf8(text ? text : "");
  Pending[i] = true;
  bool due = field == TTarnDialog::FirstField || field == TTarnDialog::LastField ||
             std::chrono::steady_clock::now() - LastPaint >= std::chrono::milliseconds(50);
  if (due) PaintPendingFields();
}

int ProgressPaintCount() { return Paints; }

TTarn* CurrentEngineState() { return EngineState; }
