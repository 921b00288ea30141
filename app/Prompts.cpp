#include "Prompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>

namespace {

TPrompts QtPrompts;
TPrompts* Current = nullptr;

QMessageBox::Icon BoxIcon(TMessageIcon icon) {
  switch (icon) {
    case TMessageIcon::None: return QMessageBox::NoIcon;
    case TMessageIcon::Information: return QMessageBox::Information;
    case TMessageIcon::Exclamation: return QMessageBox::Warning;
    case TMessageIcon::Stop: return QMessageBox::Critical;
    default: return QMessageBox::Question;  // the only other kind is the question mark
  }
}

}  // namespace

TPrompts& Prompts() { return Current ? *Current : QtPrompts; }

void SetPrompts(TPrompts* prompts) { Current = prompts; }

QStringList QtFilterList(const QString& barFilter) {
  QStringList parts = barFilter.split(QLatin1Char('|'));
  QStringList result;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    QString patterns = parts[i + 1].trimmed();
    if (patterns.isEmpty())
      continue;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt takes the patterns from the last parentheses of the entry, so the
    // entry must end with them even when the description shows others.
    const QString tail = QLatin1Char('(') + patterns + QLatin1Char(')');
    if (description.isEmpty())
      result << tail;
    else if (description.endsWith(tail))
      result << description;
    else
      result << description + QLatin1Char(' ') + tail;
  }
  return result;
}

QString QtFilter(const QString& barFilter) { return QtFilterList(barFilter).join(QStringLiteral(";;")); }

namespace {

// The least width of a message box whose caption is CAPTION, so that the
// title bar shows all of it (as far as the screen allows).
int MessageBoxWidthForCaption(const QString& caption, const QFont& font, int screenWidth) {
  // The window manager draws the caption in its own font, often bold and a
  // little larger than ours, beside an icon and three buttons; a box sized
  // after its text alone gets "Disk erro... rnW4.INI".
  QFont title = font;
  title.setBold(true);
  const QFontMetrics metrics(title);
  const int text = metrics.horizontalAdvance(caption) * 5 / 4;
  const int decoration = 8 * metrics.height();
  // A caption longer than the screen (a deep path) is cut all the same.
  return qMin(text + decoration, qMax(0, screenWidth * 3 / 4));
}

}  // namespace

QString ReplaceFileQuestion(const QString& path) {
  return QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(path).fileName());
}

TAnswer TPrompts::Message(QWidget* parent, const QString& text, const QString& caption, TMessageIcon icon,
                          TButtons buttons) {
  QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::NoButton, parent);
  switch (buttons) {
    case TButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case TButtons::YesNo:
      // A Yes/No box asks before something is lost: No is the safe answer.
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::No);
      box.setEscapeButton(QMessageBox::No);
      break;
    case TButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  // The box takes the least width its layout allows; a spacer across the
  // bottom row makes that wide enough for the caption.
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(MessageBoxWidthForCaption(caption, box.font(), screenWidth), 0,
                                  QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  const int pressed = box.exec();
  if (buttons == TButtons::Ok)
    return TAnswer::Ok;
  switch (pressed) {
    case QMessageBox::Yes: return TAnswer::Yes;
    case QMessageBox::No: return TAnswer::No;
    default: return buttons == TButtons::YesNo ? TAnswer::No : TAnswer::Cancel;
  }
}

QString TPrompts::OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                               QString* selectedFilter) {
  QFileDialog dialog(parent, title);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  const QStringList filters = QtFilterList(filter);
  dialog.setNameFilters(filters);
  if (selectedFilter && filters.contains(*selectedFilter))
    dialog.selectNameFilter(*selectedFilter);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return QString();
  if (selectedFilter)
    *selectedFilter = dialog.selectedNameFilter();
  return dialog.selectedFiles().first();
}

QString TPrompts::SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& initialName, const QString& defaultSuffix,
                               QString* selectedFilter) {
  QFileDialog dialog(parent, title);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  // A desktop's own dialog asks about the name as typed and gets the suffix
  // only afterwards, so "victim" would replace victim.asm unasked; Qt's
  // dialog adds the suffix first and asks about the file really written.
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setDefaultSuffix(defaultSuffix);
  const QStringList filters = QtFilterList(filter);
  dialog.setNameFilters(filters);
  if (selectedFilter && filters.contains(*selectedFilter))
    dialog.selectNameFilter(*selectedFilter);
  if (!initialName.isEmpty())
    dialog.selectFile(initialName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return QString();
  if (selectedFilter)
    *selectedFilter = dialog.selectedNameFilter();
  return dialog.selectedFiles().first();
}

bool TPrompts::ChooseFont(QWidget* parent, QFont& font) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, font, parent, QString(), QFontDialog::ScalableFonts |
                                                                             QFontDialog::NonScalableFonts);
  if (ok)
    font = chosen;
  return ok;
}

bool TPrompts::GetText(QWidget* parent, const QString& caption, const QString& prompt, QString& text,
                       int maxLength) {
  QInputDialog dialog(parent);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(caption);
  dialog.setLabelText(prompt);
  dialog.setTextValue(text.left(maxLength));
  if (QLineEdit* edit = dialog.findChild<QLineEdit*>())
    edit->setMaxLength(maxLength);
  if (dialog.exec() != QDialog::Accepted)
    return false;
  text = dialog.textValue();
  return true;
}
