#include "PrintFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

#include "EditFile.h"
#include "FindDialog.h"  // EditFile.h holds a QPointer to it
#include "Printer.h"
#include "Printout.h"

namespace {

// The editor's surroundings without a workbench: the given font, no status
// bar, and every message kept for the caller instead of a box.
class TQuietHost : public TEditorHost {
public:
  explicit TQuietHost(const QFont& font) : Font(font) {}
  QFont EditorFont() const override { return Font; }
  int TabSize() const override { return 8; }
  void SetPositionText(const QString&) override {}
  void PushRecentFile(const QString&) override {}
  TAnswer Ask(QWidget*, const QString& text, const QString&, TMessageIcon, TButtons) override {
    Messages << text;
    return TAnswer::Ok;
  }
  QString SaveAsName(QWidget*, const QString&) override { return QString(); }
  QStringList Messages;

private:
  QFont Font;
};

// Failures go to the caller; no box shows.
class TQuietDialogs : public TPrintDialogs {
public:
  bool PrintDialog(QWidget*, QPrinter&, int, int) override { return true; }
  bool PageSetupDialog(QWidget*, QPrinter&) override { return true; }
  void PrintError(QWidget*, const QString& text) override { Error = text; }
  bool ShowPrintingBox() const override { return false; }
  QString Error;
};

class TDialogsInstalled {
public:
  explicit TDialogsInstalled(TPrintDialogs* dialogs) { SetPrintDialogs(dialogs); }
  ~TDialogsInstalled() { SetPrintDialogs(nullptr); }
};

}  // namespace

bool PrintFileToPdf(const QString& file, const QString& out, const QFont& font, QString& error) {
  QFile source(file);
  if (!QFileInfo(file).isFile() || !source.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("cannot read %1: %2")
                .arg(file, QFileInfo(file).isDir() ? QStringLiteral("Is a directory") : source.errorString());
    return false;
  }
  source.close();
  const QFileInfo target(out);
  if (target.isDir() || (target.exists() && !target.isWritable())) {
    error = QStringLiteral("cannot write %1: %2")
                .arg(out, target.isDir() ? QStringLiteral("Is a directory") : QStringLiteral("Permission denied"));
    return false;
  }
  // The pages go to a file beside OUT first, so a failed job leaves OUT as it was.
  QTemporaryFile part(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
  if (!part.open()) {
    error = QStringLiteral("cannot write %1: %2").arg(out, part.errorString());
    return false;
  }
  part.close();
  // A temporary file is private; the PDF gets the permissions of the file it
  // replaces, or those of a newly made file.
  part.setPermissions(target.exists() ? target.permissions()
                                      : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ReadOther);

  TQuietHost host(font);
  TTarnEditFile window(nullptr, host, file);
  if (!host.Messages.isEmpty()) {
    error = QStringLiteral("cannot read %1: %2").arg(file, host.Messages.join(QLatin1Char(' ')));
    return false;
  }
  TQuietDialogs dialogs;
  TDialogsInstalled installed(&dialogs);
  TTarnPrinter printer(part.fileName());
  TVuzPrintout printout(printer, QFileInfo(file).absoluteFilePath(), &window);
  if (!printer.Print(nullptr, printout, false)) {
    error = QStringLiteral("cannot write %1: %2").arg(out, dialogs.Error);
    return false;
  }
  std::error_code failed;
  std::filesystem::rename(QFile::encodeName(part.fileName()).toStdString(), QFile::encodeName(out).toStdString(),
                          failed);
  if (failed) {
    error = QStringLiteral("cannot write %1: %2").arg(out, QString::fromStdString(failed.message()));
    return false;
  }
  part.setAutoRemove(false);
  return true;
}
