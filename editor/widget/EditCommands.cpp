// The editor window's commands: the file commands Save, Save as and the close
// prompt, the Edit menu on the system clipboard, and find and replace through
// the window's own modeless dialog.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QScrollBar>

#include "CommandIds.h"
#include "EditFile.h"
#include "FindDialog.h"

namespace {

// The wait cursor for the length of one search or replacement run.
class TWaitCursor {
public:
  explicit TWaitCursor(int& depth) : Depth(depth) {
    if (Depth++ == 0)
      QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~TWaitCursor() {
    if (--Depth == 0)
      QApplication::restoreOverrideCursor();
  }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
  int& Depth;
};

QString ClipboardText() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard ? clipboard->text() : QString();
}

}  // namespace

// --- File commands ---

bool TTarnEditFile::Save() {
  if (Model.FileName.empty())
    return SaveAs();
  // A failure has been shown by the model; Modified stays set.
  return Model.Save();
}

bool TTarnEditFile::SaveAs() {
  const QString name = Host.SaveAsName(this, FileName());
  if (name.isEmpty())
    return false;
  Model.FileName = QFile::encodeName(name).toStdString();
  emit CaptionChanged(Caption());
  return Save();
}

bool TTarnEditFile::CanClose() {
  // Asking moves the file to the top of the recent list, also when the
  // close is then cancelled.
  if (!Model.FileName.empty())
    Host.PushRecentFile(FileName());
  if (!Model.Modified)
    return true;
  switch (Host.Ask(this, QStringLiteral("File has changed! Do you want to save the changes?"), Caption(),
                   TMessageIcon::Question, TButtons::YesNoCancel)) {
    case TAnswer::Cancel:
      return false;
    case TAnswer::Yes:
      // The window closes even when the Save as dialog is cancelled.
      Save();
      return true;
    default:
      return true;
  }
}

bool TTarnEditFile::SetClipboardText(const std::string& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard)
    return false;
  clipboard->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  return true;
}

// --- Commands ---

bool TTarnEditFile::Handles(int id) const {
  switch (id) {
    case Cmd::Close:
    case Cmd::Save:
    case Cmd::SaveAs:
    case Cmd::Undo:
    case Cmd::Cut:
    case Cmd::Copy:
    case Cmd::Paste:
    case Cmd::Delete:
    case Cmd::SelectAll:
    case Cmd::Find:
    case Cmd::Replace:
    case Cmd::FindNext:
      return true;
    default:
      return false;
  }
}

bool TTarnEditFile::IsEnabled(int id) const {
  switch (id) {
    case Cmd::Close:
    case Cmd::SaveAs:
    case Cmd::Delete:
    case Cmd::SelectAll:
      return true;
    case Cmd::Save:
      return Model.Modified && !Model.FileName.empty();
    case Cmd::Undo:
      return Model.CanUndo();
    case Cmd::Cut:
    case Cmd::Copy:
      return SelectionNotEmpty();
    case Cmd::Paste:
      return !ClipboardText().isEmpty();
    case Cmd::Find:
      return !Dialog || Dialog->IsReplace();
    case Cmd::Replace:
      return !Dialog || !Dialog->IsReplace();
    case Cmd::FindNext:
      // Next takes the open dialog's fields first, so their text counts.
      return !Model.FindData.FindWhat.empty() || (Dialog && Dialog->HasFindText());
    default:
      return false;
  }
}

void TTarnEditFile::Execute(int id) {
  if (!Handles(id) || !IsEnabled(id))
    return;
  switch (id) {
    case Cmd::Close:
      // The frame closes the window once CanClose agrees.
      break;
    case Cmd::Save:
      Save();
      break;
    case Cmd::SaveAs:
      SaveAs();
      break;
    case Cmd::Undo:
      Model.Undo();
      ScrollToCaret();
      break;
    case Cmd::Cut:
      Model.Cut();
      break;
    case Cmd::Copy:
      Model.Copy();
      break;
    case Cmd::Paste: {
      const QByteArray bytes = ClipboardText().toLatin1();
      if (bytes.isEmpty())
        break;
      Model.Paste(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
      break;
    }
    case Cmd::Delete:
      Model.Delete();
      break;
    case Cmd::SelectAll:
      Model.SelectAll();
      break;
    case Cmd::Find:
      OpenFindDialog(false);
      break;
    case Cmd::Replace:
      OpenFindDialog(true);
      break;
    case Cmd::FindNext: {
      if (Dialog)
        Dialog->TakeFields();
      TWaitCursor wait(Searching);
      Model.FindNext();
      break;
    }
    default:
      break;
  }
  viewport()->update();
}

// --- Find and replace dialogs ---

void TTarnEditFile::OpenFindDialog(bool replace) {
  if (Dialog && Dialog->IsReplace() == replace) {
    Dialog->setEnabled(true);
    Dialog->show();
    Dialog->raise();
    Dialog->activateWindow();
    Dialog->FocusFindField();
    return;
  }
  CloseFindDialog();
  auto* dialog = new TFindReplaceDialog(
      this, replace ? TFindReplaceDialog::TKind::Replace : TFindReplaceDialog::TKind::Find, Model.FindData);
  connect(dialog, &TFindReplaceDialog::Request, this, [this] { DialogRequest(); });
  connect(dialog, &TFindReplaceDialog::Terminated, this, [this] { DialogTerminated(); });
  Dialog = dialog;
  dialog->show();
  dialog->activateWindow();
}

void TTarnEditFile::CloseFindDialog() {
  TFindReplaceDialog* dialog = Dialog;
  if (!dialog)
    return;
  Dialog = nullptr;
  dialog->Detach();
  dialog->hide();
  dialog->deleteLater();
}

void TTarnEditFile::RunSearch() {
  TWaitCursor wait(Searching);
  Model.ProcessFindData();
}

void TTarnEditFile::DialogRequest() {
  RunSearch();
  viewport()->update();
}

void TTarnEditFile::DialogTerminated() {
  // The dialog is closing: forget it. The flag has done its work; a later
  // dialog must not look closed from the start.
  Model.FindData.Flags &= ~FR_DIALOGTERM;
  CloseFindDialog();
}

void TTarnEditFile::FocusFindDialog() {
  if (!Dialog)
    return;
  Dialog->activateWindow();
  Dialog->FocusFindField();
}
