// The editor window on the offscreen platform: keys, mouse, go-to, status
// text, the close prompt, saving, command enabling, the find and replace
// dialogs, and what the window paints.
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "CommandIds.h"
#include "EditFile.h"
#include "Files.h"
#include "FindDialog.h"
#include "TestHost.h"

namespace {

// The text as one string with LF line breaks.
QString TextOf(TTarnEditFile& editor) {
  QStringList lines;
  const TLineStore& store = editor.Text().Lines;
  for (TLineStore::TIndex i = 0; i < store.Count(); ++i)
    lines << QString::fromLatin1(store[i].data(), static_cast<qsizetype>(store[i].size()));
  return lines.join(QLatin1Char('\n'));
}

QString Pos(const TBufferPos& pos) { return QStringLiteral("%1,%2").arg(pos.Line()).arg(pos.Col()); }
QString Sel(TTarnEditFile& editor) { return Pos(editor.Text().SelStart) + "-" + Pos(editor.Text().SelEnd); }

// The viewport point inside the character cell at (line, col), a little
// right of its left edge.
QPoint CellPoint(TTarnEditFile& editor, std::int64_t line, std::int64_t col) {
  TEditPoint p = editor.Text().PosToPoint(TBufferPos(editor.Text().Lines, line, col));
  return QPoint(static_cast<int>(p.X) + 2, static_cast<int>(p.Y) + editor.LineHeight() / 2);
}

// A key pressed at a caret position: the text and caret after it.
struct TKeyCase { const char *Text, *CaretBefore; int Key, Modifiers; const char *TextAfter, *CaretAfter; };
// A press at one character cell, a move to another and a release there.
struct TDragCase { int FromLine, FromCol, ToLine, ToCol; const char *Selection, *Caret; };
// A double click at a column of the first line: the selection and caret after it.
struct TClickCase { int Col; const char *Selection, *Caret; };
// The close prompt answered: whether the window may close, how often the
// prompt and the Save As dialog came.
struct TCloseCase { bool Named, Modified; TAnswer Answer; bool Result; int Asks, SaveAsDialogs; };

}  // namespace

class EditFileTest : public QObject {
  Q_OBJECT

  TTestHost Host = NewHost();
  std::unique_ptr<TTarnEditFile> Editor;

  static TTestHost NewHost() { return TTestHost(12, QStringLiteral("DejaVu Sans Mono")); }

  // A shown untitled window holding TEXT (LF line breaks), unmodified, the
  // caret at (LINE, COL) with no selection.
  TTarnEditFile& Make(const std::string& text, int line = 0, int col = 0) {
    Editor = std::make_unique<TTarnEditFile>(nullptr, Host);
    TTarnEditText& model = Editor->Text();
    model.InsertText(text, false);
    model.Modified = false;
    model.Caret.Set(line, col);
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
    Host = NewHost();
    Editor.reset();
  }
  void cleanup() { Editor.reset(); }

  // Where a line and display column lead is the text model's to say (its
  // own tests cover it): reported columns count a tab stop every 8, whatever
  // the window's tab size. The window brings the caret into view.
  void goToLineColumn() {
    Host.Tabs = 4;
    std::string text = "\tABC\n";
    for (int i = 0; i < 200; ++i)
      text += "line " + std::to_string(i) + "\n";
    TTarnEditFile& editor = Make(text + std::string(300, 'x'));
    editor.GoToLineColumn(1, 9);
    QCOMPARE(Sel(editor), QString("0,1-0,2"));
    QCOMPARE(Host.Position, QString("1:5"));  // the status counts the window's tab stops
    editor.GoToLineColumn(150, 1);
    TEditPoint p = editor.Text().PosToPoint(editor.Text().Caret);
    QVERIFY(p.Y >= 0 && p.Y + editor.LineHeight() <= editor.viewport()->height());
    // Beyond the customary 100 columns the view follows the caret as well.
    editor.GoToLineColumn(202, 290);
    p = editor.Text().PosToPoint(editor.Text().Caret);
    QVERIFY(p.X >= 0 && p.X + 2 <= editor.viewport()->width());
    QVERIFY(p.Y >= 0 && p.Y + editor.LineHeight() <= editor.viewport()->height());
    // Columns stay exact however far out: every character is one average
    // width of this fixed-pitch font.
    QCOMPARE(Host.Position, QString("202:290"));
  }

  // The anchor's rules are the text model's and tested there; here Shift
  // reaches them, and typing after a click leaves the anchor at the click.
  void shiftSelection() {
    TTarnEditFile& editor = Make("xyz");
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, {}, CellPoint(editor, 0, 1));
    QTest::keyClicks(&editor, "abc");
    QCOMPARE(TextOf(editor), QString("xabcyz"));
    QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(Sel(editor), QString("0,1-0,5"));
    // A plain movement collapses the selection at the caret.
    QTest::keyClick(&editor, Qt::Key_End);
    QCOMPARE(Sel(editor), QString("0,6-0,6"));
  }

  void keys_data() {
    QTest::addColumn<TKeyCase>("c");
    const int none = Qt::NoModifier, ctrl = Qt::ControlModifier;
    QTest::newRow("backspace at a line start joins") << TKeyCase{"ab\ncd", "1,0", Qt::Key_Backspace, none, "abcd", "0,2"};
    QTest::newRow("backspace deletes before the caret") << TKeyCase{"abc", "0,2", Qt::Key_Backspace, none, "ac", "0,1"};
    QTest::newRow("enter splits the line") << TKeyCase{"abc", "0,1", Qt::Key_Return, none, "a\nbc", "1,0"};
    QTest::newRow("tab is typed, not focus") << TKeyCase{"ab", "0,1", Qt::Key_Tab, none, "a\tb", "0,2"};
    QTest::newRow("delete is left to the menu") << TKeyCase{"ab", "0,0", Qt::Key_Delete, none, "ab", "0,0"};
    QTest::newRow("ctrl letters are commands") << TKeyCase{"ab", "0,0", Qt::Key_V, ctrl, "ab", "0,0"};
    QTest::newRow("right crosses the line end") << TKeyCase{"ab\ncd", "0,2", Qt::Key_Right, none, "ab\ncd", "1,0"};
    QTest::newRow("left crosses the line end") << TKeyCase{"ab\ncd", "1,0", Qt::Key_Left, none, "ab\ncd", "0,2"};
    QTest::newRow("ctrl+end goes to the text end") << TKeyCase{"ab\ncd\nef", "0,1", Qt::Key_End, ctrl, "ab\ncd\nef", "2,2"};
    QTest::newRow("ctrl+home goes to the text start") << TKeyCase{"ab\ncd", "1,1", Qt::Key_Home, ctrl, "ab\ncd", "0,0"};
    QTest::newRow("down keeps the pixel column") << TKeyCase{"abcd\nxy", "0,3", Qt::Key_Down, none, "abcd\nxy", "1,2"};
    QTest::newRow("up on the first line") << TKeyCase{"abcd\nxy", "0,3", Qt::Key_Up, none, "abcd\nxy", "0,0"};
    QTest::newRow("page down on the last page") << TKeyCase{"a\nb\nc\ndef", "0,0", Qt::Key_PageDown, none, "a\nb\nc\ndef", "3,3"};
  }
  void keys() {
    QFETCH(TKeyCase, c);
    const QStringList at = QString(c.CaretBefore).split(QLatin1Char(','));
    TTarnEditFile& editor = Make(c.Text, at[0].toInt(), at[1].toInt());
    QTest::keyClick(&editor, Qt::Key(c.Key), Qt::KeyboardModifiers(c.Modifiers));
    QCOMPARE(TextOf(editor), QString(c.TextAfter));
    QCOMPARE(Pos(editor.Text().Caret), QString(c.CaretAfter));
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
    TTarnEditFile& editor = Make("abc", 0, 1);
    QTest::keyClick(&editor, Qt::Key_Insert);
    QTest::keyClicks(&editor, "x");
    QCOMPARE(TextOf(editor), QString("axc"));
    QTest::keyClick(&editor, Qt::Key_Insert);
    QTest::keyClicks(&editor, "y");
    QCOMPARE(TextOf(editor), QString("axyc"));
  }

  void mouseDrag_data() {
    QTest::addColumn<TDragCase>("c");
    QTest::newRow("forward") << TDragCase{0, 1, 1, 3, "0,1-1,3", "1,3"};
    QTest::newRow("backward is put in order") << TDragCase{1, 3, 0, 1, "0,1-1,3", "0,1"};
    QTest::newRow("click only places the caret") << TDragCase{1, 2, 1, 2, "1,2-1,2", "1,2"};
  }
  void mouseDrag() {
    QFETCH(TDragCase, c);
    TTarnEditFile& editor = Make("MOV A,B\nsecond");
    QWidget* viewport = editor.viewport();
    const QPoint to = CellPoint(editor, c.ToLine, c.ToCol);
    QTest::mousePress(viewport, Qt::LeftButton, {}, CellPoint(editor, c.FromLine, c.FromCol));
    // The caret stays until the button goes up.
    QCOMPARE(Pos(editor.Text().Caret), QString("0,0"));
    QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QCOMPARE(Pos(editor.Text().SelEnd), QStringLiteral("%1,%2").arg(c.ToLine).arg(c.ToCol));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    QCOMPARE(Sel(editor), QString(c.Selection));
    QCOMPARE(Pos(editor.Text().Caret), QString(c.Caret));
  }

  void doubleClick_data() {
    QTest::addColumn<TClickCase>("c");
    QTest::newRow("inside MOV") << TClickCase{1, "0,0-0,3", "0,3"};
    QTest::newRow("the comma") << TClickCase{5, "0,5-0,6", "0,5"};
  }
  void doubleClick() {
    QFETCH(TClickCase, c);
    TTarnEditFile& editor = Make("MOV A,B\nsecond");
    const QPoint at = CellPoint(editor, 0, c.Col);
    // A real double click: the first click places the caret, then the
    // double-click event follows.
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(editor.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(Sel(editor), QString(c.Selection));
    QCOMPARE(Pos(editor.Text().Caret), QString(c.Caret));
  }

  void statusText() {
    TTarnEditFile& editor = Make("one\ntwo\n", 2, 0);
    QTest::keyClick(&editor, Qt::Key_Tab);
    QTest::keyClicks(&editor, "ab");
    QCOMPARE(Host.Position, QString("3:11"));
    QTest::keyClick(&editor, Qt::Key_Home);
    QCOMPARE(Host.Position, QString("3:1"));
  }

  void canClose_data() {
    QTest::addColumn<TCloseCase>("c");
    QTest::newRow("untitled, Yes, save as cancelled") << TCloseCase{false, true, TAnswer::Yes, true, 1, 1};
    QTest::newRow("untitled, No") << TCloseCase{false, true, TAnswer::No, true, 1, 0};
    QTest::newRow("untitled, Cancel") << TCloseCase{false, true, TAnswer::Cancel, false, 1, 0};
    QTest::newRow("named, unmodified") << TCloseCase{true, false, TAnswer::Cancel, true, 0, 0};
    QTest::newRow("named, Cancel") << TCloseCase{true, true, TAnswer::Cancel, false, 1, 0};
    QTest::newRow("named, Yes: saved") << TCloseCase{true, true, TAnswer::Yes, true, 1, 0};
  }
  void canClose() {
    QFETCH(TCloseCase, c);
    QTemporaryDir dir;
    const QString path = dir.filePath("prog.asm");
    TTarnEditFile& editor = Make("text");
    if (c.Named)
      editor.Text().FileName = path.toStdString();
    editor.Text().Modified = c.Modified;
    Host.Answers.push_back(c.Answer);
    QCOMPARE(editor.CanClose(), c.Result);
    QCOMPARE(int(Host.Asked.size()), c.Asks);
    QCOMPARE(Host.SaveAsAsked.size(), c.SaveAsDialogs);
    QCOMPARE(Host.Recent, c.Named ? QStringList{path} : QStringList{});
    if (c.Asks) {
      QCOMPARE(Host.Asked[0].Text, QString("File has changed! Do you want to save the changes?"));
      QCOMPARE(Host.Asked[0].Caption, c.Named ? path : QString("Untitled"));
      QCOMPARE(Host.Asked[0].Icon, TMessageIcon::Question);
      QCOMPARE(Host.Asked[0].Buttons, TButtons::YesNoCancel);
    }
    const bool saved = c.Named && c.Modified && c.Answer == TAnswer::Yes;
    QCOMPARE(ReadFile(path), saved ? QByteArray("text\r\n") : QByteArray());
    QCOMPARE(editor.Text().Modified, c.Modified && !saved);
  }

  void saveAsNamesAndWrites() {
    QTemporaryDir dir;
    TTarnEditFile& editor = Make("");
    QSignalSpy caption(&editor, &TTarnEditFile::CaptionChanged);
    QTest::keyClicks(&editor, "db 1");
    Host.SaveAsAnswer = dir.filePath("new.asm");
    editor.Execute(Cmd::Save);  // disabled: nothing happens
    QVERIFY(Host.SaveAsAsked.isEmpty());
    QVERIFY(editor.Save());  // as Save all does: an untitled Save is Save as
    QCOMPARE(Host.SaveAsAsked, QStringList{QString()});
    QCOMPARE(editor.FileName(), Host.SaveAsAnswer);
    QCOMPARE(caption.count(), 1);
    QCOMPARE(caption[0][0].toString(), Host.SaveAsAnswer);
    QCOMPARE(ReadFile(Host.SaveAsAnswer), QByteArray("db 1\r\n"));
  }

  void commandEnabling() {
    TTarnEditFile& editor = Make("abc\ndef");
    for (int id : {int(Cmd::Close), int(Cmd::Save), int(Cmd::SaveAs), int(Cmd::Undo), int(Cmd::Cut), int(Cmd::Copy),
                   int(Cmd::Paste), int(Cmd::Delete), int(Cmd::SelectAll), int(Cmd::Find), int(Cmd::Replace),
                   int(Cmd::FindNext)})
      QVERIFY2(editor.Handles(id), qPrintable(QString::number(id)));
    QVERIFY(!editor.IsEnabled(Cmd::Undo));
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
    // Paste takes the system clipboard's text; its CR LF line ends become line breaks.
    QGuiApplication::clipboard()->setText(QStringLiteral("1\r\n2"));
    editor.Execute(Cmd::Paste);
    QCOMPARE(TextOf(editor), QString("1\n2abc\ndef"));
    QCOMPARE(Pos(editor.Text().Caret), QString("1,1"));
    QGuiApplication::clipboard()->clear();
    QVERIFY(!editor.IsEnabled(Cmd::Paste));
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
    QCOMPARE(Sel(editor), QString("0,0-0,2"));
    QCOMPARE(editor.Text().FindData.FindWhat, std::string("ab"));
    editor.Execute(Cmd::FindNext);
    QCOMPARE(Sel(editor), QString("0,2-0,4"));
    QVERIFY(Host.Asked.empty());
    next->click();
    QCOMPARE(int(Host.Asked.size()), 1);
    // The model's message reaches the host as an Ok box; the wait cursor is gone after the search.
    QCOMPARE(Host.Asked[0].Text, QString("Cannot find \"ab\""));
    QCOMPARE(Host.Asked[0].Icon, TMessageIcon::Information);
    QCOMPARE(Host.Asked[0].Buttons, TButtons::Ok);
    QVERIFY(!QApplication::overrideCursor());

    // Upward from here finds the second ab again.
    dialog->findChild<QRadioButton*>("up")->setChecked(true);
    next->click();
    QCOMPARE(Sel(editor), QString("0,2-0,4"));

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
    QCOMPARE(Sel(editor), QString("0,0-0,3"));
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

  void paintsTextTabsSelectionAndCaret() {
    TTarnEditFile& editor = Make("\tMOV A,B\nnext line");
    editor.Text().SelStart.Set(0, 1);
    editor.Text().SelEnd.Set(0, 4);
    editor.Text().Caret.Set(0, 4);
    const QImage image = editor.viewport()->grab().toImage();
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
