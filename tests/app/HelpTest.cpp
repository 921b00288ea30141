// The help topics and the help window.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QTest>
#include <QUrl>

#include <cstring>
#include <set>

#include "Diagnostics.h"
#include "Help.h"

namespace {

const int CommandIds[] = {24331, 24332, 24339, 24333, 24334, 24335, 24337, 24340, 24338, 24310,
                          24321, 24322, 24323, 24324, 24325, 24326, 24351, 24352, 24353, 24354,
                          24355, 24381, 24382, 24371, 24372, 24373, 24374, 24361, 24363, 24362,
                          24364, 24365, 2001,  2004,  2003,  2002,  2009};

QTextBrowser* View(const THelp& help) {
  return help.Window() ? help.Window()->findChild<QTextBrowser*>("helpTopicView") : nullptr;
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT

private slots:
  void everyCommandAndMessageHasATopic_data() {
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("title");  // empty: any
    for (int id : CommandIds) QTest::addRow("command %d", id) << id << QString();
    for (int n = 0; n < MessageCount; ++n)
      if (MessageText(n)[0] != '\0')
        QTest::addRow("message %d", n) << 100 + n << QString("Error %1: %2").arg(n).arg(MessageText(n));
  }
  void everyCommandAndMessageHasATopic() {
    QFETCH(int, context);
    QFETCH(QString, title);
    const THelpTopic* topic = FindHelpTopic(context);
    QVERIFY(topic);
    QCOMPARE(topic->Context, context);
    QVERIFY(!topic->Title.empty());
    if (!title.isEmpty()) QCOMPARE(QString::fromStdString(topic->Title), title);
    QVERIFY2(topic->Body.size() >= 200, topic->Title.c_str());
    QVERIFY(!HelpTopicKeywords(*topic).empty());
  }

  void contextsAreUniqueAndContentsComesFirst() {
    const auto& topics = HelpTopics();
    QVERIFY(!topics.empty());
    QCOMPARE(topics.front().Context, HelpContentsContext);
    std::set<int> seen;
    for (const THelpTopic& t : topics) QVERIFY2(seen.insert(t.Context).second, t.Title.c_str());
  }

  // A link to a topic that does not exist would be a dead end for the user,
  // and a topic no path leads to can only be found through the index.
  void linksResolveAndContentsReachesEveryTopic() {
    std::set<int> reached{HelpContentsContext};
    std::vector<int> todo{HelpContentsContext};
    while (!todo.empty()) {
      const THelpTopic* t = FindHelpTopic(todo.back());
      todo.pop_back();
      QVERIFY(t);
      for (int link : HelpTopicLinks(*t)) {
        QVERIFY2(FindHelpTopic(link), qPrintable(QString("%1 links to %2").arg(t->Context).arg(link)));
        if (reached.insert(link).second) todo.push_back(link);
      }
    }
    for (const THelpTopic& t : HelpTopics()) QVERIFY2(reached.count(t.Context), t.Title.c_str());
  }

  void markup_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("expected");
    QTest::addRow("list") << "- one\n- two" << "<ul>\n<li>one</li>\n<li>two</li></ul>";
    QTest::addRow("code escaped") << ">  DFB 1<<2 & 3" << "<pre> DFB 1&lt;&lt;2 &amp; 3</pre>";
    QTest::addRow("link by title") << "[[133]]" << "<a href=\"topic:133\">Error 33: Instruction not found</a>";
    QTest::addRow("link with text") << "see [[2|here]]" << "see <a href=\"topic:2\">here</a>";
    QTest::addRow("broken link kept") << "a [[12 b" << "<p>a [[12 b</p>";
    QTest::addRow("no number") << "[[x|y]]" << "<p>[[x|y]]</p>";
    QTest::addRow("code span") << "use `HEX \"ON\"`" << "use <code>HEX &quot;ON&quot;</code>";
    QTest::addRow("lone backtick") << "a ` b" << "<p>a ` b</p>";
    QTest::addRow("paragraphs") << "a\nb\n\nc" << "<p>a b</p>\n<p>c</p>";
  }
  void markup() {
    QFETCH(QString, body);
    QFETCH(QString, expected);
    THelpTopic t{9999, "T", "k", body.toStdString()};
    QString html = QString::fromStdString(HelpTopicHtml(t));
    QVERIFY2(html.contains(expected), qPrintable(html));
  }

  void missingTopicIsRefused_data() {
    QTest::addColumn<int>("context");
    for (int n : {0, -1, 3, 114, 125, 156, 24300, 99999}) QTest::addRow("%d", n) << n;
  }
  void missingTopicIsRefused() {
    QFETCH(int, context);
    THelp help;
    QVERIFY(!help.Topic(context));
    QVERIFY(!help.Window());  // nothing was shown, so nothing was made
    QCOMPARE(help.CurrentContext(), 0);

    QVERIFY(help.Topic(24381));
    QString before = View(help)->toHtml();
    QVERIFY(!help.Topic(context));
    QCOMPARE(help.CurrentContext(), 24381);
    QCOMPARE(View(help)->toHtml(), before);
  }

  // The topic files are edited by hand, on any system: the header must read the way a writer
  // would expect, and a slip in it must leave the topic out rather than show it garbled.
  void topicFileIsRead() {
    THelpTopic t;
    QVERIFY(ParseHelpTopic("context: 24332\r\ntitle: Open command\r\nkeywords: Open;file, open\r\n\r\n"
                           "First: line\r\n\r\n- item\r\n\r\n", t));
    QCOMPARE(t.Context, 24332);
    QCOMPARE(t.Title, std::string("Open command"));
    QCOMPARE(t.Keywords, std::string("Open;file, open"));
    QCOMPARE(t.Body, std::string("First: line\n\n- item"));  // a colon in the body is text

    QVERIFY(ParseHelpTopic("\xEF\xBB\xBFmessage: 33\nkeywords: k\n\nbody", t));
    QCOMPARE(t.Context, 133);
    QCOMPARE(QString::fromStdString(t.Title), QString("Error 33: %1").arg(MessageText(33)));
    QCOMPARE(t.Body, std::string("body"));
  }
  void faultyTopicFileIsRefused_data() {
    QTest::addColumn<QString>("text");
    QTest::addRow("no number") << "title: T\nkeywords: k\n\nbody";
    QTest::addRow("both numbers") << "context: 40\nmessage: 3\ntitle: T\n\nbody";
    QTest::addRow("number not numeric") << "context: 4O\ntitle: T\n\nbody";
    QTest::addRow("message beyond the last") << QString("message: %1\n\nbody").arg(MessageCount);
    QTest::addRow("no title") << "context: 40\nkeywords: k\n\nbody";
    QTest::addRow("misspelt key") << "context: 40\ntitle: T\nkeyword: k\n\nbody";
    QTest::addRow("body without blank line") << "context: 40\ntitle: T\nThe text begins here.";
  }
  void faultyTopicFileIsRefused() {
    QFETCH(QString, text);
    THelpTopic t;
    QVERIFY(!ParseHelpTopic(text.toStdString(), t));
  }

  void requestsShowTheirPagesUntilQuit() {
    THelp help;
    help.Quit();  // before anything was shown: harmless
    QVERIFY(help.Topic(133));  // a message's topic is its number plus 100
    QCOMPARE(help.CurrentContext(), 133);
    QWidget* window = help.Window();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QString("Tarnex Help"));
    QVERIFY(View(help)->toPlainText().contains("Instruction not found"));
    QVERIFY(help.Using());
    QCOMPARE(help.CurrentContext(), HelpUsingContext);
    QVERIFY(help.Contents());
    QCOMPARE(help.CurrentContext(), HelpContentsContext);
    QVERIFY(help.Index());
    QCOMPARE(help.CurrentContext(), HelpContentsContext);
    auto* list = help.Window()->findChild<QListWidget*>("helpIndexList");
    QVERIFY(list && list->count() > 100);
    help.Quit();
    QVERIFY(!window->isVisible());
    QVERIFY(help.Topic(101));  // help can be asked again afterwards
    QVERIFY(help.Window()->isVisible());
  }

  void indexFilterFindsByPartOfKeyword_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("context");  // 0: nothing matches, and the topic shown before stays
    QTest::addRow("start of a message") << "instruction not f" << 133;
    QTest::addRow("middle of a keyword") << "changes val" << 132;
    QTest::addRow("small letters") << "save desk" << 24373;
    QTest::addRow("key") << "f9" << 24381;
    QTest::addRow("blanks around") << "  tab error " << 24372;
    QTest::addRow("no match") << "qqxyzzy" << 0;
  }
  void indexFilterFindsByPartOfKeyword() {
    QFETCH(QString, typed);
    QFETCH(int, context);
    THelp help;
    QVERIFY(help.Topic(2001));
    QVERIFY(help.Index());
    auto* search = help.Window()->findChild<QLineEdit*>("helpIndexSearch");
    auto* list = help.Window()->findChild<QListWidget*>("helpIndexList");
    QVERIFY(search && list);
    const auto shown = [list] {
      int n = 0;
      for (int i = 0; i < list->count(); ++i) n += list->item(i)->isHidden() ? 0 : 1;
      return n;
    };
    QTest::keyClicks(search, typed);
    QVERIFY(context ? shown() >= 1 && shown() < list->count() : shown() == 0);
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(help.CurrentContext(), context ? context : 2001);
    search->clear();  // all entries come back
    QCOMPARE(shown(), list->count());
  }

  void linksAndBack() {
    THelp help;
    QVERIFY(help.Topic(24381));
    QTextBrowser* view = View(help);
    emit view->anchorClicked(QUrl("topic:24382"));
    QCOMPARE(help.CurrentContext(), 24382);
    emit view->anchorClicked(QUrl("topic:77777"));  // no such topic: nothing happens
    QCOMPARE(help.CurrentContext(), 24382);
    emit view->anchorClicked(QUrl("https://example.invalid/"));
    QCOMPARE(help.CurrentContext(), 24382);
    auto* back = help.Window()->findChild<QPushButton*>("helpBack");
    QVERIFY(back && back->isEnabled());
    back->click();
    QCOMPARE(help.CurrentContext(), 24381);
    QVERIFY(!back->isEnabled());
  }

  void ownerMayDestroyTheWindowFirst() {
    auto* owner = new QWidget;
    {
      THelp help(owner);
      QVERIFY(help.Topic(140));
      delete owner;
      QVERIFY(!help.Window());
      QCOMPARE(help.CurrentContext(), 140);
    }  // and the help object's end does not touch the destroyed window
  }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
