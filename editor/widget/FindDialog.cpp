#include "FindDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "FindData.h"

namespace {

// The text fields hold what the data's buffers hold: 80 characters.
constexpr int FieldLength = static_cast<int>(TFindData::BufferSize) - 1;
constexpr std::uint32_t RequestBits = FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM;

// Lines hold bytes shown one byte per character, so the fields do the same.
QString FromBytes(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text) {
  QByteArray bytes = text.left(FieldLength).toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

TFindReplaceDialog::TFindReplaceDialog(QWidget* parent, TKind kind, TFindData& data)
    : QDialog(parent), DialogKind(kind), Data(&data) {
  setModal(false);
  setWindowTitle(kind == TKind::Replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
  setSizeGripEnabled(false);

  auto* fields = new QVBoxLayout;
  auto addField = [&](const QString& label, const char* name, const std::string& value) {
    auto* row = new QHBoxLayout;
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(FieldLength);
    edit->setText(FromBytes(value));
    auto* caption = new QLabel(label, this);
    caption->setBuddy(edit);
    caption->setMinimumWidth(80);
    row->addWidget(caption);
    row->addWidget(edit, 1);
    fields->addLayout(row);
    return edit;
  };
  FindWhat = addField(QStringLiteral("Fi&nd what:"), "findWhat", data.FindWhat);
  if (kind == TKind::Replace)
    ReplaceWith = addField(QStringLiteral("Re&place with:"), "replaceWith", data.ReplaceWith);

  auto* options = new QHBoxLayout;
  auto* checks = new QVBoxLayout;
  WholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
  WholeWord->setObjectName(QStringLiteral("wholeWord"));
  WholeWord->setChecked(data.Flags & FR_WHOLEWORD);
  MatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
  MatchCase->setObjectName(QStringLiteral("matchCase"));
  MatchCase->setChecked(data.Flags & FR_MATCHCASE);
  checks->addStretch(1);
  checks->addWidget(WholeWord);
  checks->addWidget(MatchCase);
  options->addLayout(checks);
  if (kind == TKind::Find) {
    // The replace dialog always searches down; only the find dialog has a
    // direction.
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    auto* buttons = new QHBoxLayout(direction);
    Up = new QRadioButton(QStringLiteral("&Up"), direction);
    Up->setObjectName(QStringLiteral("up"));
    Down = new QRadioButton(QStringLiteral("&Down"), direction);
    Down->setObjectName(QStringLiteral("down"));
    (data.Flags & FR_DOWN ? Down : Up)->setChecked(true);
    buttons->addWidget(Up);
    buttons->addWidget(Down);
    options->addWidget(direction);
  }
  options->addStretch(1);
  fields->addLayout(options);
  fields->addStretch(1);

  auto* commands = new QVBoxLayout;
  auto addButton = [&](const QString& text, const char* name) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    commands->addWidget(button);
    return button;
  };
  FindNextButton = addButton(QStringLiteral("Find Next"), "findNext");
  FindNextButton->setDefault(true);
  if (kind == TKind::Replace) {
    ReplaceButton = addButton(QStringLiteral("Replace"), "replace");
    ReplaceAllButton = addButton(QStringLiteral("Replace All"), "replaceAll");
  }
  CancelButton = addButton(QStringLiteral("Cancel"), "cancel");
  commands->addStretch(1);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(fields, 1);
  layout->addLayout(commands);

  connect(FindNextButton, &QPushButton::clicked, this, [this] { Send(FR_FINDNEXT); });
  if (ReplaceButton)
    connect(ReplaceButton, &QPushButton::clicked, this, [this] { Send(FR_REPLACE); });
  if (ReplaceAllButton)
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] { Send(FR_REPLACEALL); });
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  // Cancel, Escape and the title bar's close button all end in finished().
  connect(this, &QDialog::finished, this, [this] { Closed(); });
  connect(FindWhat, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
  UpdateButtons();
  FindWhat->selectAll();
  FindWhat->setFocus();
}

void TFindReplaceDialog::TakeFields() {
  if (!Data)
    return;
  Data->FindWhat = ToBytes(FindWhat->text());
  if (ReplaceWith)
    Data->ReplaceWith = ToBytes(ReplaceWith->text());
  std::uint32_t flags = Data->Flags & RequestBits;
  if (WholeWord->isChecked())
    flags |= FR_WHOLEWORD;
  if (MatchCase->isChecked())
    flags |= FR_MATCHCASE;
  if (!Down || Down->isChecked())
    flags |= FR_DOWN;
  Data->Flags = flags;
}

bool TFindReplaceDialog::HasFindText() const { return !FindWhat->text().isEmpty(); }

void TFindReplaceDialog::FocusFindField() {
  FindWhat->setFocus();
  FindWhat->selectAll();
}

void TFindReplaceDialog::Detach() { Data = nullptr; }

void TFindReplaceDialog::Send(std::uint32_t requestBit) {
  if (!Data || !HasFindText())
    return;
  TakeFields();
  // Exactly one request per notification: a find-next bit left over from
  // the Next command must not turn a Replace click into another search.
  Data->Flags = (Data->Flags & ~RequestBits) | requestBit;
  emit Request();
}

void TFindReplaceDialog::Closed() {
  if (!Data)
    return;
  TakeFields();
  Data->Flags = (Data->Flags & ~RequestBits) | FR_DIALOGTERM;
  emit Terminated();
}

void TFindReplaceDialog::UpdateButtons() {
  // Without a text there is nothing to look for.
  const bool enabled = HasFindText();
  FindNextButton->setEnabled(enabled);
  if (ReplaceButton)
    ReplaceButton->setEnabled(enabled);
  if (ReplaceAllButton)
    ReplaceAllButton->setEnabled(enabled);
}
