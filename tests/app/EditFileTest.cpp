// The editor window on the offscreen platform: keys, mouse, go-to, status
// text, the close prompt, saving, command enabling, the find and replace
// dialogs, and what the window paints.
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <memory>

#include "CommandIds.h"
#include "EditFile.h"
#include "EditorHost.h"
#include "FindDialog.h"

namespace {

struct TAsked {
  QString Text;
  QString Caption;
  TMessageIcon Icon;
  TButtons Buttons;
};

// Answers every prompt from a queue and remembers what was asked.
class TTestHost : public TEditorHost {
public:
  QFont EditorFont() const override {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(12);
    return font;
  }
  int TabSize() const override { return 8; }
  void SetPositionText(const QString& text) override { Position = text; }
  void PushRecentFile(const QString& path) override { Recent.push_back(path); }
  TAnswer Ask(QWidget*, const QString& text, const QString& caption, TMessageIcon icon,
              TButtons buttons) override {
    Asked.push_back({text, caption, icon, buttons});
    if (Answers.empty())
      return buttons == TButtons::Ok ? TAnswer::Ok : TAnswer::Cancel;
    TAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  QString SaveAsName(QWidget*, const QString& current) override {
    SaveAsAsked.push_back(current);
    return SaveAsAnswer;
  }

  QString Position;
  QStringList Recent;
  std::vector<TAsked> Asked;
  std::deque<TAnswer> Answers;
  QStringList SaveAsAsked;
  QString SaveAsAnswer;
};

// The text as one string with LF line breaks.
QString TextOf(TTarnEditFile& editor) {
  QStringList lines;
  const TLineStore& store = editor.Text().Lines;
  for (TLineStore::TIndex i = 0; i < store.Count(); ++i)
    lines << QString::fromLatin1(store[i].data(), static_cast<qsizetype>(store[i].size()));
  return lines.join(QLatin1Char('\n'));
}

QString Pos(const TBufferPos& pos) { return QStringLiteral("%1,%2").arg(pos.Line()).arg(pos.Col()); }

// The viewport point inside the character cell at (line, col), a little
// right of its left edge.
QPoint CellPoint(TTarnEditFile& editor, std::int64_t line, std::int64_t col) {
  TEditPoint p = editor.Text().PosToPoint(TBufferPos(editor.Text().Lines, line, col));
  return QPoint(static_cast<int>(p.X) + 2, static_cast<int>(p.Y) + editor.LineHeight() / 2);
}

}  // namespace

class EditFileTest : public QObject {
  Q_OBJECT

  TTestHost Host;
  std::unique_ptr<TTarnEditFile> Editor;

  // A shown untitled window holding TEXT (LF line breaks), unmodified, the
  // caret at (0, 0).
  TTarnEditFile& Make(const std::string& text) {
    Editor = std::make_unique<TTarnEditFile>(nullptr, Host);
    TTarnEditText& model = Editor->Text();
    model.InsertText(text, false);
    model.Modified = false;
    model.Caret.Set(0, 0);
    model.SelStart = model.SelEnd = model.Caret;
    Editor->ApplyFontAndTabs();
    Editor->resize(600, 400);
    Editor->show();
    Editor->activateWindow();
    Editor->setFocus();
    if (!QTest::qWaitForWindowExposed(Editor.get()))
      qWarning("editor window not exposed");
    return *Editor;
  }

private slots:
  void init() {
    Host = TTestHost();
    Editor.reset();
  }
  void cleanup() { Editor.reset(); }

  void goToLineColumn_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("caret");
    QTest::addColumn<QString>("selEnd");
    // Line 3 is TAB A B C; the TAB spans display columns 1 to 8.
    QTest::newRow("column 9 is the A") << 3 << 9 << "2,1" << "2,2";
    QTest::newRow("inside the TAB is the A") << 3 << 5 << "2,1" << "2,2";
    QTest::newRow("column 1 is the TAB") << 3 << 1 << "2,0" << "2,1";
    QTest::newRow("beyond the end selects the line end") << 1 << 40 << "0,5" << "1,0";
    QTest::newRow("beyond the last line") << 99 << 1 << "2,0" << "2,1";
    QTest::newRow("beyond the last line and its end") << 99 << 20 << "2,4" << "2,4";
    QTest::newRow("line 0") << 0 << 3 << "0,2" << "0,3";
  }
  void goToLineColumn() {
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, caret);
    QFETCH(QString, selEnd);
    TTarnEditFile& editor = Make("first\nsecond\n\tABC");
    editor.GoToLineColumn(line, column);
    QCOMPARE(Pos(editor.Text().Caret), caret);
    QCOMPARE(Pos(editor.Text().SelStart), caret);
    QCOMPARE(Pos(editor.Text().SelEnd), selEnd);
  }

  void goToLineColumnScrollsIntoView() {
    std::string text;
    for (int i = 0; i < 200; ++i)
      text += "line " + std::to_string(i) + "\n";
    TTarnEditFile& editor = Make(text + std::string(300, 'x'));
    editor.GoToLineColumn(150, 1);
    TEditPoint p = editor.Text().PosToPoint(editor.Text().Caret);
    QVERIFY(p.Y >= 0 && p.Y + editor.LineHeight() <= editor.viewport()->height());
    // Beyond the customary 100 columns the view follows the caret as well.
    editor.GoToLineColumn(201, 290);
    p = editor.Text().PosToPoint(editor.Text().Caret);
    QVERIFY(p.X >= 0 && p.X + 2 <= editor.viewport()->width());
    QVERIFY(p.Y >= 0 && p.Y + editor.LineHeight() <= editor.viewport()->height());
    // Columns stay exact however far out: every character is one average
    // width of this fixed-pitch font.
    QCOMPARE(Host.Position, QString("201:290"));
  }

  void shiftSelection() {
    TTarnEditFile& editor = Make("abcdef");
    TTarnEditText& model = editor.Text();
    model.Caret.Set(0, 2);
    model.SelStart = model.SelEnd = model.Caret;
    QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(Pos(model.SelStart) + "-" + Pos(model.SelEnd), QString("0,2-0,3"));
    QTest::keyClick(&editor, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(Pos(model.SelStart) + "-" + Pos(model.SelEnd), QString("0,2-0,2"));
    QTest::keyClick(&editor, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(Pos(model.SelStart) + "-" + Pos(model.SelEnd), QString("0,1-0,2"));
    // A plain movement collapses the selection at the caret.
    QTest::keyClick(&editor, Qt::Key_End);
    QCOMPARE(Pos(model.SelStart) + "-" + Pos(model.SelEnd), QString("0,6-0,6"));
  }

  void typingThenShiftRightExtendsFromTheClick() {
    TTarnEditFile& editor = Make("xyz");
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, {}, CellPoint(editor, 0, 1));
    QCOMPARE(Pos(editor.Text().Caret), QString("0,1"));
    QTest::keyClicks(&editor, "abc");
    QCOMPARE(TextOf(editor), QString("xabcyz"));
    QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(Pos(editor.Text().SelStart) + "-" + Pos(editor.Text().SelEnd), QString("0,1-0,5"));
  }

  void keys_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caretBefore");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<QString>("caretAfter");
    const int none = Qt::NoModifier;
    QTest::newRow("backspace at a line start joins") << "ab\ncd" << "1,0" << int(Qt::Key_Backspace) << none << "abcd" << "0,2";
    QTest::newRow("backspace deletes before the caret") << "abc" << "0,2" << int(Qt::Key_Backspace) << none << "ac" << "0,1";
    QTest::newRow("enter splits the line") << "abc" << "0,1" << int(Qt::Key_Return) << none << "a\nbc" << "1,0";
    QTest::newRow("tab is typed, not focus") << "ab" << "0,1" << int(Qt::Key_Tab) << none << "a\tb" << "0,2";
    QTest::newRow("delete is left to the menu") << "ab" << "0,0" << int(Qt::Key_Delete) << none << "ab" << "0,0";
    QTest::newRow("ctrl letters are commands") << "ab" << "0,0" << int(Qt::Key_V) << int(Qt::ControlModifier) << "ab" << "0,0";
    QTest::newRow("right crosses the line end") << "ab\ncd" << "0,2" << int(Qt::Key_Right) << none << "ab\ncd" << "1,0";
    QTest::newRow("left at the start stays") << "ab" << "0,0" << int(Qt::Key_Left) << none << "ab" << "0,0";
    QTest::newRow("ctrl+end goes to the text end") << "ab\ncd\nef" << "0,1" << int(Qt::Key_End) << int(Qt::ControlModifier) << "ab\ncd\nef" << "2,2";
    QTest::newRow("ctrl+home goes to the text start") << "ab\ncd" << "1,1" << int(Qt::Key_Home) << int(Qt::ControlModifier) << "ab\ncd" << "0,0";
    QTest::newRow("down keeps the pixel column") << "abcd\nxy" << "0,3" << int(Qt::Key_Down) << none << "abcd\nxy" << "1,2";
    QTest::newRow("up on the first line") << "abcd\nxy" << "0,3" << int(Qt::Key_Up) << none << "abcd\nxy" << "0,0";
    QTest::newRow("page down on the last page") << "a\nb\nc\ndef" << "0,0" << int(Qt::Key_PageDown) << none << "a\nb\nc\ndef" << "3,3";
  }
  void keys() {
    QFETCH(QString, text);
    QFETCH(QString, caretBefore);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, textAfter);
    QFETCH(QString, caretAfter);
    TTarnEditFile& editor = Make(text.toStdString());
    const QStringList at = caretBefore.split(QLatin1Char(','));
    editor.Text().Caret.Set(at[0].toInt(), at[1].toInt());
    editor.Text().SelStart = editor.Text().SelEnd = editor.Text().Caret;
    QTest::keyClick(&editor, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(TextOf(editor), textAfter);
    QCOMPARE(Pos(editor.Text().Caret), caretAfter);
  }

  void backspaceAtTextStartKeepsSelection() {
    TTarnEditFile& editor = Make("abc");
    editor.Text().SelEnd.Set(0, 2);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QCOMPARE(TextOf(editor), QString("abc"));
    QCOMPARE(Pos(editor.Text().SelEnd), QString("0,2"));
    QVERIFY(!editor.Text().Modified);
  }

  void pageDownMovesByAPage() {
    std::string text;
    for (int i = 0; i < 100; ++i)
      text += "line\n";
    TTarnEditFile& editor = Make(text + "last");
    const int page = editor.viewport()->height() / editor.LineHeight();
    QTest::keyClick(&editor, Qt::Key_PageDown);
    QCOMPARE(editor.Text().Caret.Line(), page);
    QTest::keyClick(&editor, Qt::Key_PageUp);
    QCOMPARE(editor.Text().Caret.Line(), 0);
  }

  void overwriteToggle() {
    TTarnEditFile& editor = Make("abc");
    editor.Text().Caret.Set(0, 1);
    editor.Text().SelStart = editor.Text().SelEnd = editor.Text().Caret;
    QTest::keyClick(&editor, Qt::Key_Insert);
    QTest::keyClicks(&editor, "x");
    QCOMPARE(TextOf(editor), QString("axc"));
    QTest::keyClick(&editor, Qt::Key_Insert);
    QTest::keyClicks(&editor, "y");
    QCOMPARE(TextOf(editor), QString("axyc"));
  }

  void mouseDrag_data() {
    QTest::addColumn<int>("fromLine");
    QTest::addColumn<int>("fromCol");
    QTest::addColumn<int>("toLine");
    QTest::addColumn<int>("toCol");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("caret");
    QTest::newRow("forward") << 0 << 1 << 1 << 3 << "0,1-1,3" << "1,3";
    QTest::newRow("backward is put in order") << 1 << 3 << 0 << 1 << "0,1-1,3" << "0,1";
    QTest::newRow("click only places the caret") << 1 << 2 << 1 << 2 << "1,2-1,2" << "1,2";
  }
  void mouseDrag() {
    QFETCH(int, fromLine);
    QFETCH(int, fromCol);
    QFETCH(int, toLine);
    QFETCH(int, toCol);
    QFETCH(QString, selection);
    QFETCH(QString, caret);
    TTarnEditFile& editor = Make("MOV A,B\nsecond");
    QWidget* viewport = editor.viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, CellPoint(editor, fromLine, fromCol));
    // The caret stays until the button goes up.
    QCOMPARE(Pos(editor.Text().Caret), QString("0,0"));
    QMouseEvent move(QEvent::MouseMove, CellPoint(editor, toLine, toCol), viewport->mapToGlobal(CellPoint(editor, toLine, toCol)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QCOMPARE(Pos(editor.Text().SelEnd), QStringLiteral("%1,%2").arg(toLine).arg(toCol));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, CellPoint(editor, toLine, toCol));
    QCOMPARE(Pos(editor.Text().SelStart) + "-" + Pos(editor.Text().SelEnd), selection);
    QCOMPARE(Pos(editor.Text().Caret), caret);
  }

  void doubleClick_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("caret");
    QTest::newRow("inside MOV") << 1 << "0,0-0,3" << "0,3";
    QTest::newRow("the comma") << 5 << "0,5-0,6" << "0,5";
    QTest::newRow("after the line end") << 30 << "0,7-0,7" << "0,7";
  }
  void doubleClick() {
    QFETCH(int, col);
    QFETCH(QString, selection);
    QFETCH(QString, caret);
    TTarnEditFile& editor = Make("MOV A,B\nsecond");
    QPoint at = CellPoint(editor, 0, std::min(col, 7));
    if (col > 7)
      at.rx() += (col - 7) * editor.CharWidth();
    // A real double click: the first click places the caret, then the
    // double-click event follows.
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(editor.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(Pos(editor.Text().SelStart) + "-" + Pos(editor.Text().SelEnd), selection);
    QCOMPARE(Pos(editor.Text().Caret), caret);
  }

  void statusText() {
    TTarnEditFile& editor = Make("one\ntwo\n");
    editor.Text().Caret.Set(2, 0);
    editor.Text().SelStart = editor.Text().SelEnd = editor.Text().Caret;
    QTest::keyClick(&editor, Qt::Key_Tab);
    QTest::keyClicks(&editor, "ab");
    QCOMPARE(Host.Position, QString("3:11"));
    QTest::keyClick(&editor, Qt::Key_Home);
    QCOMPARE(Host.Position, QString("3:1"));
  }

  void canClose_data() {
    QTest::addColumn<bool>("named");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("asks");
    QTest::addColumn<int>("saveAsDialogs");
    QTest::newRow("untitled, Yes, save as cancelled") << false << true << int(TAnswer::Yes) << true << 1 << 1;
    QTest::newRow("untitled, No") << false << true << int(TAnswer::No) << true << 1 << 0;
    QTest::newRow("untitled, Cancel") << false << true << int(TAnswer::Cancel) << false << 1 << 0;
    QTest::newRow("named, unmodified") << true << false << int(TAnswer::Cancel) << true << 0 << 0;
    QTest::newRow("named, Cancel") << true << true << int(TAnswer::Cancel) << false << 1 << 0;
  }
  void canClose() {
    QFETCH(bool, named);
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, result);
    QFETCH(int, asks);
    QFETCH(int, saveAsDialogs);
    QTemporaryDir dir;
    const QString path = dir.filePath("prog.asm");
    TTarnEditFile& editor = Make("text");
    if (named)
      editor.Text().FileName = path.toStdString();
    editor.Text().Modified = modified;
    Host.Answers.push_back(TAnswer(answer));
    QCOMPARE(editor.CanClose(), result);
    QCOMPARE(int(Host.Asked.size()), asks);
    QCOMPARE(Host.SaveAsAsked.size(), saveAsDialogs);
    QCOMPARE(Host.Recent, named ? QStringList{path} : QStringList{});
    if (asks) {
      QCOMPARE(Host.Asked[0].Text, QString("File has changed! Do you want to save the changes?"));
      QCOMPARE(Host.Asked[0].Caption, named ? path : QString("Untitled"));
      QCOMPARE(Host.Asked[0].Icon, TMessageIcon::Question);
      QCOMPARE(Host.Asked[0].Buttons, TButtons::YesNoCancel);
    }
    QCOMPARE(editor.Text().Modified, modified);
  }

  void canCloseYesSavesNamedFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("prog.asm");
    TTarnEditFile& editor = Make("");
    editor.Text().FileName = path.toStdString();
    QTest::keyClicks(&editor, "nop");
    Host.Answers.push_back(TAnswer::Yes);
    QVERIFY(editor.CanClose());
    QVERIFY(!editor.Text().Modified);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("nop\r\n"));
  }

  void saveAsNamesAndWrites() {
    QTemporaryDir dir;
    TTarnEditFile& editor = Make("");
    QSignalSpy caption(&editor, &TTarnEditFile::CaptionChanged);
    QTest::keyClicks(&editor, "db 1");
    QVERIFY(!editor.IsEnabled(Cmd::Save));  // untitled
    QVERIFY(editor.IsEnabled(Cmd::SaveAs));
    QVERIFY(editor.IsEnabled(Cmd::Undo));
    Host.SaveAsAnswer = dir.filePath("new.asm");
    editor.Execute(Cmd::Save);  // disabled: nothing happens
    QVERIFY(Host.SaveAsAsked.isEmpty());
    QVERIFY(editor.Save());  // as Save all does: an untitled Save is Save as
    QCOMPARE(Host.SaveAsAsked, QStringList{QString()});
    QCOMPARE(editor.FileName(), Host.SaveAsAnswer);
    QCOMPARE(editor.Caption(), Host.SaveAsAnswer);
    QCOMPARE(caption.count(), 1);
    QCOMPARE(caption[0][0].toString(), Host.SaveAsAnswer);
    QVERIFY(!editor.Text().Modified);
    QVERIFY(!editor.IsEnabled(Cmd::Undo));
    QVERIFY(!editor.IsEnabled(Cmd::Save));
    QFile file(Host.SaveAsAnswer);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("db 1\r\n"));
  }

  void saveFailureKeepsModified() {
    TTarnEditFile& editor = Make("");
    editor.Text().FileName = QDir::tempPath().toStdString() + "/no-such-directory-here/x.asm";
    QTest::keyClicks(&editor, "x");
    QVERIFY(editor.IsEnabled(Cmd::Save));
    QVERIFY(!editor.Save());
    QVERIFY(editor.Text().Modified);
    QVERIFY(editor.IsEnabled(Cmd::Save));
    QVERIFY(editor.IsEnabled(Cmd::Undo));
    QCOMPARE(int(Host.Asked.size()), 1);
    QCOMPARE(Host.Asked[0].Buttons, TButtons::Ok);
    // Closing afterwards still asks.
    Host.Answers.push_back(TAnswer::Cancel);
    QVERIFY(!editor.CanClose());
  }

  void commandEnabling() {
    TTarnEditFile& editor = Make("abc\ndef");
    for (int id : {int(Cmd::Close), int(Cmd::Save), int(Cmd::SaveAs), int(Cmd::Undo), int(Cmd::Cut), int(Cmd::Copy),
                   int(Cmd::Paste), int(Cmd::Delete), int(Cmd::SelectAll), int(Cmd::Find), int(Cmd::Replace),
                   int(Cmd::FindNext)})
      QVERIFY2(editor.Handles(id), qPrintable(QString::number(id)));
    QVERIFY(!editor.Handles(Cmd::Assemble));
    QVERIFY(!editor.Handles(Cmd::New));
    QVERIFY(editor.IsEnabled(Cmd::Close));
    QVERIFY(!editor.IsEnabled(Cmd::Cut));
    QVERIFY(!editor.IsEnabled(Cmd::Copy));
    QVERIFY(!editor.IsEnabled(Cmd::Undo));
    QVERIFY(!editor.IsEnabled(Cmd::FindNext));
    // A stale selection end beyond the text still counts as a selection.
    editor.Text().SelEnd.Set(0, 2);
    QVERIFY(editor.IsEnabled(Cmd::Cut));
    QVERIFY(editor.IsEnabled(Cmd::Copy));
    editor.Execute(Cmd::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("ab"));
    QVERIFY(editor.IsEnabled(Cmd::Paste));
    editor.Execute(Cmd::Cut);
    QCOMPARE(TextOf(editor), QString("c\ndef"));
    QVERIFY(editor.IsEnabled(Cmd::Undo));
    QVERIFY(!editor.IsEnabled(Cmd::Cut));
    editor.Execute(Cmd::Undo);
    QCOMPARE(TextOf(editor), QString("abc\ndef"));
    QVERIFY(!editor.IsEnabled(Cmd::Undo));
    QVERIFY(!editor.Text().Modified);
    QGuiApplication::clipboard()->clear();
    QVERIFY(!editor.IsEnabled(Cmd::Paste));
  }

  void pasteDropsCarriageReturns() {
    TTarnEditFile& editor = Make("ab");
    editor.Text().Caret.Set(0, 1);
    editor.Text().SelStart = editor.Text().SelEnd = editor.Text().Caret;
    QGuiApplication::clipboard()->setText(QStringLiteral("1\r\n2\r\n3"));
    editor.Execute(Cmd::Paste);
    QCOMPARE(TextOf(editor), QString("a1\n2\n3b"));
    QCOMPARE(Pos(editor.Text().Caret), QString("2,1"));
    editor.Execute(Cmd::Undo);
    QCOMPARE(TextOf(editor), QString("ab"));
  }

  void findDialog() {
    TTarnEditFile& editor = Make("abab\nx");
    editor.Execute(Cmd::Find);
    TFindReplaceDialog* dialog = editor.FindDialog();
    QVERIFY(dialog);
    QVERIFY(!dialog->IsReplace());
    QVERIFY(!editor.IsEnabled(Cmd::Find));
    QVERIFY(editor.IsEnabled(Cmd::Replace));
    auto* what = dialog->findChild<QLineEdit*>("findWhat");
    auto* next = dialog->findChild<QPushButton*>("findNext");
    QVERIFY(what && next);
    QCOMPARE(what->maxLength(), 80);
    QVERIFY(!next->isEnabled());  // nothing to look for yet
    what->setText("ab");
    QVERIFY(editor.IsEnabled(Cmd::FindNext));
    next->click();
    QCOMPARE(Pos(editor.Text().SelStart) + "-" + Pos(editor.Text().SelEnd), QString("0,0-0,2"));
    QCOMPARE(editor.Text().FindData.FindWhat, std::string("ab"));
    editor.Execute(Cmd::FindNext);
    QCOMPARE(Pos(editor.Text().SelStart) + "-" + Pos(editor.Text().SelEnd), QString("0,2-0,4"));
    QVERIFY(Host.Asked.empty());
    next->click();
    QCOMPARE(int(Host.Asked.size()), 1);
    QCOMPARE(Host.Asked[0].Text, QString("Cannot find \"ab\""));
    QCOMPARE(Host.Asked[0].Caption, QString("End of File"));
    QCOMPARE(Host.Asked[0].Icon, TMessageIcon::Information);
    QCOMPARE(Pos(editor.Text().Caret), QString("0,4"));
    QVERIFY(!QApplication::overrideCursor());

    // Upward from here finds the second ab again, then the first.
    dialog->findChild<QRadioButton*>("up")->setChecked(true);
    next->click();
    QCOMPARE(Pos(editor.Text().SelStart) + "-" + Pos(editor.Text().SelEnd), QString("0,2-0,4"));
    next->click();
    QCOMPARE(Pos(editor.Text().SelStart), QString("0,0"));

    dialog->findChild<QPushButton*>("cancel")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!editor.FindDialog());
    QVERIFY(editor.IsEnabled(Cmd::Find));
    // The settings outlive the dialog; a new one starts from them.
    editor.Execute(Cmd::Find);
    QCOMPARE(editor.FindDialog()->findChild<QLineEdit*>("findWhat")->text(), QString("ab"));
    QVERIFY(editor.FindDialog()->findChild<QRadioButton*>("up")->isChecked());
  }

  void replaceDialog() {
    TTarnEditFile& editor = Make("mov a\nMOV b\nmovx");
    editor.Execute(Cmd::Find);
    QPointer<TFindReplaceDialog> find = editor.FindDialog();
    editor.Execute(Cmd::Replace);  // replaces the find dialog
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!find);
    TFindReplaceDialog* dialog = editor.FindDialog();
    QVERIFY(dialog && dialog->IsReplace());
    QVERIFY(!editor.IsEnabled(Cmd::Replace));
    QVERIFY(editor.IsEnabled(Cmd::Find));
    QVERIFY(!dialog->findChild<QRadioButton*>("up"));
    dialog->findChild<QLineEdit*>("findWhat")->setText("mov");
    dialog->findChild<QLineEdit*>("replaceWith")->setText("ld");
    dialog->findChild<QCheckBox*>("wholeWord")->setChecked(true);

    // Next, then the Replace button: the button replaces, it does not search.
    editor.Execute(Cmd::FindNext);
    QCOMPARE(Pos(editor.Text().SelStart) + "-" + Pos(editor.Text().SelEnd), QString("0,0-0,3"));
    dialog->findChild<QPushButton*>("replace")->click();
    QCOMPARE(TextOf(editor), QString("ld a\nMOV b\nmovx"));
    QCOMPARE(Pos(editor.Text().Caret), QString("0,2"));

    dialog->findChild<QPushButton*>("replaceAll")->click();
    QCOMPARE(TextOf(editor), QString("ld a\nld b\nmovx"));
    QCOMPARE(int(Host.Asked.size()), 1);  // the run ends at the first miss
    QCOMPARE(Host.Asked[0].Caption, QString("End of File"));

    // Undo takes back one replacement at a time.
    editor.Execute(Cmd::Undo);
    QCOMPARE(TextOf(editor), QString("ld a\nMOV b\nmovx"));
  }

  void replaceAllWithTheSearchTextEnds() {
    TTarnEditFile& editor = Make("a a\na");
    editor.Execute(Cmd::Replace);
    TFindReplaceDialog* dialog = editor.FindDialog();
    dialog->findChild<QLineEdit*>("findWhat")->setText("a");
    dialog->findChild<QLineEdit*>("replaceWith")->setText("aa");
    dialog->findChild<QPushButton*>("replaceAll")->click();
    QCOMPARE(TextOf(editor), QString("aa aa\naa"));
  }

  void paintsTextTabsSelectionAndCaret() {
    TTarnEditFile& editor = Make("\tMOV A,B\nnext line");
    editor.Text().SelStart.Set(0, 1);
    editor.Text().SelEnd.Set(0, 4);
    editor.Text().Caret.Set(0, 4);
    const QImage image = editor.viewport()->grab().toImage();
    if (qEnvironmentVariableIsSet("TARN_GRAB_PNG"))
      image.save(qEnvironmentVariable("TARN_GRAB_PNG"));
    const QColor highlight = editor.viewport()->palette().color(QPalette::Highlight);
    const QColor base = editor.viewport()->palette().color(QPalette::Base);
    const int cw = editor.CharWidth();
    const int lh = editor.LineHeight();
    const auto count = [&](int x0, int x1, int y0, int y1, const QColor& colour) {
      int n = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
          n += image.pixelColor(x, y) == colour;
      return n;
    };
    // MOV stands after the TAB's 8 cells and is highlighted.
    QVERIFY(count(8 * cw + 3, 11 * cw - 1, 0, lh, highlight) > 0);
    // The TAB itself is not selected, and nothing is drawn in its span.
    QCOMPARE(count(0, 8 * cw - 1, 0, lh, base), (8 * cw - 1) * lh);
    QCOMPARE(count(0, 8 * cw, 0, lh, highlight), 0);
    // The second line has text but no highlight.
    QVERIFY(count(0, 9 * cw, lh, 2 * lh, base) < 9 * cw * lh);
    QCOMPARE(count(0, 20 * cw, lh, 2 * lh, highlight), 0);
  }
};

QTEST_MAIN(EditFileTest)
#include "EditFileTest.moc"
