// The one way the workbench talks to the user through modal dialogs: message
// boxes, the file dialogs, the font dialog and the one-line input box. Every
// caller goes through Prompts(), so tests can answer the dialogs themselves.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include "EditorHost.h"  // TAnswer, TButtons, TMessageIcon

class QWidget;

class TPrompts {
public:
  virtual ~TPrompts() = default;

  // A message box; the answer is the button pressed (Ok for an OK-only box;
  // closing a Yes/No/Cancel box without a choice counts as Cancel, a Yes/No
  // box as No). The box is wide enough to show its caption.
  virtual TAnswer Message(QWidget* parent, const QString& text, const QString& caption, TMessageIcon icon,
                          TButtons buttons);
  // File dialogs. FILTER has the "Description|pattern|Description|pattern|"
  // form; SELECTEDFILTER (optional) carries the filter chosen last, in the
  // same "Description" form, into the dialog and back out. An empty result
  // means cancelled. The open dialog accepts existing files only. The save
  // dialog puts DEFAULTSUFFIX (no dot) onto a name typed without any suffix
  // and asks before overwriting the file so named.
  virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                               QString* selectedFilter);
  virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& initialName, const QString& defaultSuffix,
                               QString* selectedFilter);
  // The font dialog, starting at FONT; true and FONT replaced on Ok.
  virtual bool ChooseFont(QWidget* parent, QFont& font);
  // A one-line input box starting at TEXT, which takes at most MAXLENGTH
  // characters; true and TEXT replaced on Ok.
  virtual bool GetText(QWidget* parent, const QString& caption, const QString& prompt, QString& text,
                       int maxLength);
};

// The prompts in use; a Qt implementation unless SetPrompts installed another.
TPrompts& Prompts();
// Installs PROMPTS (not owned); nullptr goes back to the Qt dialogs.
void SetPrompts(TPrompts* prompts);

// "Desc (*.a)|*.a|All Files (*.*)|*.*|" -> the Qt filter entries
// "Desc (*.a)", "All Files (*.*)". A description without the pattern in
// parentheses gets it appended; ';' between patterns becomes a blank.
QStringList QtFilterList(const QString& barFilter);
QString QtFilter(const QString& barFilter);

// The question the workbench asks before a file is replaced.
QString ReplaceFileQuestion(const QString& path);
