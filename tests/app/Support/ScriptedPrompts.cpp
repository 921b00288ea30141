#include "ScriptedPrompts.h"

#include <QTest>

namespace {

// In the order of TScriptedPrompts::TKind.
const char* const KindNames[] = {"message box", "open dialog", "save dialog", "font dialog", "input box"};
const char* KindName(TScriptedPrompts::TKind kind) { return KindNames[int(kind)]; }

}  // namespace

TScriptedPrompts::TScriptedPrompts() { SetPrompts(this); }

TScriptedPrompts::~TScriptedPrompts() {
  // A test that failed before it let go of its script has a successor
  // installed already; the real dialogs would wait for a user.
  if (&Prompts() == this)
    SetPrompts(nullptr);
}

void TScriptedPrompts::AnswerMessage(const QString& caption, TAnswer answer) {
  Queue.append({TKind::Message, caption, answer, {}, false, {}});
}

void TScriptedPrompts::AnswerOpen(const QString& title, const QString& name) {
  Queue.append({TKind::Open, title, TAnswer::Ok, name, !name.isEmpty(), {}});
}

void TScriptedPrompts::AnswerSave(const QString& name) {
  Queue.append({TKind::Save, QString(), TAnswer::Ok, name, !name.isEmpty(), {}});
}

void TScriptedPrompts::AnswerFont(bool accept, const QFont& font) {
  Queue.append({TKind::Font, QString(), TAnswer::Ok, {}, accept, font});
}

void TScriptedPrompts::AcceptStartFont() {
  Queue.append({TKind::Font, QString(), TAnswer::Ok, {}, true, {}, true});
}

void TScriptedPrompts::AnswerText(const QString& caption, bool accept, const QString& value) {
  Queue.append({TKind::Text, caption, TAnswer::Ok, value, accept, {}});
}

bool TScriptedPrompts::Take(TKind kind, const QString& text, const QString& caption, TReply& reply) {
  Calls.append({kind, text, caption});
  QString problem;
  if (Queue.isEmpty())
    problem = QStringLiteral("unexpected %1 \"%2\": \"%3\"").arg(QString::fromLatin1(KindName(kind)), caption, text);
  else if (Queue.first().Kind != kind)
    problem = QStringLiteral("expected a %1, got a %2 \"%3\": \"%4\"")
                  .arg(QString::fromLatin1(KindName(Queue.first().Kind)), QString::fromLatin1(KindName(kind)),
                       caption, text);
  else if (!Queue.first().Caption.isEmpty() && Queue.first().Caption != caption)
    problem = QStringLiteral("expected the %1 \"%2\", got \"%3\": \"%4\"")
                  .arg(QString::fromLatin1(KindName(kind)), Queue.first().Caption, caption, text);
  if (!problem.isEmpty()) {
    QTest::qFail(problem.toUtf8().constData(), __FILE__, __LINE__);
    return false;
  }
  reply = Queue.takeFirst();
  return true;
}

TAnswer TScriptedPrompts::Message(QWidget*, const QString& text, const QString& caption, TMessageIcon,
                                  TButtons buttons) {
  TReply reply;
  if (!Take(TKind::Message, text, caption, reply))
    return buttons == TButtons::Ok ? TAnswer::Ok : buttons == TButtons::YesNo ? TAnswer::No : TAnswer::Cancel;
  return reply.Answer;
}

QString TScriptedPrompts::OpenFileName(QWidget*, const QString& title, const QString&, QString*) {
  TReply reply;
  return Take(TKind::Open, QString(), title, reply) && reply.Accept ? reply.Value : QString();
}

QString TScriptedPrompts::SaveFileName(QWidget*, const QString& title, const QString&, const QString& initialName,
                                       const QString& defaultSuffix, QString*) {
  TReply reply;
  const bool taken = Take(TKind::Save, initialName, title, reply);
  Calls.last().Suffix = defaultSuffix;
  return taken && reply.Accept ? reply.Value : QString();
}

bool TScriptedPrompts::ChooseFont(QWidget*, QFont& font) {
  TReply reply;
  const bool taken = Take(TKind::Font, QString(), QString(), reply);
  Calls.last().Font = font;
  if (!taken || !reply.Accept)
    return false;
  if (!reply.KeepFont)
    font = reply.Font;
  return true;
}

bool TScriptedPrompts::GetText(QWidget*, const QString& caption, const QString& prompt, QString& text, int) {
  TReply reply;
  if (!Take(TKind::Text, prompt, caption, reply) || !reply.Accept)
    return false;
  text = reply.Value;
  return true;
}
