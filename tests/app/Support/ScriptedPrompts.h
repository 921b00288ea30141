// A stand-in for the workbench's dialogs: it answers each prompt from a queue
// of expected ones and fails the running test at any prompt it was not told
// to expect, or one of another kind or caption.
#pragma once

#include <QFont>
#include <QList>
#include <QString>

#include "Prompts.h"

class TScriptedPrompts : public TPrompts {
public:
  enum class TKind { Message, Open, Save, Font, Text };
  // What was asked: TEXT is the message or the prompt (the start name of a
  // save dialog), CAPTION the caption or title; SUFFIX the save dialog's
  // default suffix, FONT the font the font dialog started from.
  struct TCall {
    TKind Kind;
    QString Text;
    QString Caption;
    QString Suffix = {};
    QFont Font = {};
  };

  // Installs itself as the process's prompts; the destructor restores the Qt ones.
  TScriptedPrompts();
  ~TScriptedPrompts() override;

  // Expectations, answered in the order given. CAPTION must equal the
  // prompt's caption (or title) unless it is empty.
  void AnswerMessage(const QString& caption, TAnswer answer);
  // An empty NAME cancels the dialog.
  void AnswerOpen(const QString& title, const QString& name);
  void AnswerSave(const QString& name);
  void AnswerFont(bool accept, const QFont& font = QFont());
  // Ok on the font the dialog started from.
  void AcceptStartFont();
  void AnswerText(const QString& caption, bool accept, const QString& value = QString());

  int Pending() const { return int(Queue.size()); }
  QList<TCall> Calls;

  TAnswer Message(QWidget*, const QString& text, const QString& caption, TMessageIcon icon,
                  TButtons buttons) override;
  QString OpenFileName(QWidget*, const QString& title, const QString& filter, QString* selectedFilter) override;
  QString SaveFileName(QWidget*, const QString& title, const QString& filter, const QString& initialName,
                       const QString& defaultSuffix, QString* selectedFilter) override;
  bool ChooseFont(QWidget*, QFont& font) override;
  bool GetText(QWidget*, const QString& caption, const QString& prompt, QString& text, int maxLength) override;

private:
  struct TReply {
    TKind Kind;
    QString Caption;
    TAnswer Answer = TAnswer::Ok;
    QString Value;
    bool Accept = false;
    QFont Font;
    bool KeepFont = false;
  };
  // The next reply if it fits a prompt of KIND and CAPTION; nullptr (and the
  // test failed) otherwise.
  bool Take(TKind kind, const QString& text, const QString& caption, TReply& reply);

  QList<TReply> Queue;
};
