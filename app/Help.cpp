// The help window and the rendering of topic markup.
#include "Help.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string_view>

// ---- markup

namespace {

constexpr std::string_view LinkScheme = "topic";

std::string Escape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c; break;
    }
  }
  return out;
}

// A link "[[N]]" or "[[N|text]]" starting at s[i]. A malformed one is no link:
// it is shown as written rather than swallowing the text after it.
bool ParseLink(std::string_view s, size_t i, int& context, std::string_view& text, size_t& end) {
  if (s.substr(i, 2) != "[[") return false;
  size_t close = s.find("]]", i + 2);
  if (close == std::string_view::npos) return false;
  std::string_view inner = s.substr(i + 2, close - i - 2);
  size_t bar = inner.find('|');
  std::string_view number = inner.substr(0, bar);
  if (number.empty() || number.size() > 6) return false;
  int n = 0;
  for (char c : number) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  context = n;
  text = bar == std::string_view::npos ? std::string_view() : inner.substr(bar + 1);
  end = close + 2;
  return true;
}

std::string Inline(std::string_view s) {
  std::string out;
  size_t i = 0;
  while (i < s.size()) {
    int context;
    std::string_view text;
    size_t end;
    if (ParseLink(s, i, context, text, end)) {
      std::string shown(text);
      if (shown.empty()) {
        const THelpTopic* target = FindHelpTopic(context);
        shown = target ? target->Title : std::to_string(context);
      }
      out += "<a href=\"" + std::string(LinkScheme) + ":" + std::to_string(context) + "\">" + Escape(shown) + "</a>";
      i = end;
      continue;
    }
    if (s[i] == '`') {
      size_t close = s.find('`', i + 1);
      if (close != std::string_view::npos && close > i + 1) {
        out += "<code>" + Escape(s.substr(i + 1, close - i - 1)) + "</code>";
        i = close + 1;
        continue;
      }
    }
    out += Escape(s.substr(i, 1));
    ++i;
  }
  return out;
}

std::vector<std::string_view> Lines(std::string_view body) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start <= body.size()) {
    size_t end = body.find('\n', start);
    if (end == std::string_view::npos) end = body.size();
    lines.push_back(body.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool IsBlank(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

bool IsCodeLine(std::string_view line) { return line == ">" || line.substr(0, 2) == "> "; }

}  // namespace

std::string HelpTopicHtml(const THelpTopic& topic) {
  enum { None, Paragraph, List, Code } mode = None;
  std::string out = "<h2>" + Escape(topic.Title) + "</h2>\n";
  auto close = [&] {
    if (mode == Paragraph) out += "</p>\n";
    if (mode == List) out += "</li></ul>\n";
    if (mode == Code) out += "</pre>\n";
    mode = None;
  };
  for (std::string_view line : Lines(topic.Body)) {
    if (IsBlank(line)) {
      close();
    } else if (line.substr(0, 3) == "## ") {
      close();
      out.append("<h3>").append(Inline(line.substr(3))).append("</h3>\n");
    } else if (line.substr(0, 2) == "- ") {
      if (mode == List) {
        out += "</li>\n";
      } else {
        close();
        out += "<ul>\n";
        mode = List;
      }
      out.append("<li>").append(Inline(line.substr(2)));
    } else if (IsCodeLine(line)) {
      if (mode == Code) {
        out += "\n";
      } else {
        close();
        out += "<pre>";
        mode = Code;
      }
      out += Escape(line.size() > 2 ? line.substr(2) : std::string_view());
    } else if (mode == Paragraph || mode == List) {
      out.append(" ").append(Inline(line));  // continues the paragraph or the list item
    } else {
      close();
      out.append("<p>").append(Inline(line));
      mode = Paragraph;
    }
  }
  close();
  return out;
}

std::vector<int> HelpTopicLinks(const THelpTopic& topic) {
  std::vector<int> links;
  for (std::string_view line : Lines(topic.Body)) {
    if (IsCodeLine(line)) continue;
    for (size_t i = 0; i < line.size(); ++i) {
      int context;
      std::string_view text;
      size_t end;
      if (ParseLink(line, i, context, text, end)) {
        links.push_back(context);
        i = end - 1;
      }
    }
  }
  return links;
}

std::vector<int> HelpTopicChildren(const THelpTopic& topic) {
  std::vector<int> children;
  for (std::string_view line : Lines(topic.Body)) {
    if (line.substr(0, 2) != "- ") continue;
    int context;
    std::string_view text;
    size_t end;
    if (ParseLink(line, 2, context, text, end)) children.push_back(context);
  }
  return children;
}

std::vector<std::string> HelpTopicKeywords(const THelpTopic& topic) {
  std::vector<std::string> keywords;
  std::string_view all = topic.Keywords;
  size_t start = 0;
  while (start <= all.size()) {
    size_t end = all.find(';', start);
    if (end == std::string_view::npos) end = all.size();
    std::string_view k = all.substr(start, end - start);
    while (!k.empty() && std::isspace(static_cast<unsigned char>(k.front()))) k.remove_prefix(1);
    while (!k.empty() && std::isspace(static_cast<unsigned char>(k.back()))) k.remove_suffix(1);
    if (!k.empty()) keywords.emplace_back(k);
    start = end + 1;
  }
  return keywords;
}

// ---- the help window

namespace {

constexpr int ContextRole = Qt::UserRole;
constexpr int KeyRole = Qt::UserRole + 1;

class THelpWindow : public QWidget {
public:
  explicit THelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName("helpWindow");
    setWindowTitle("Tarnex Help");
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* contentsButton = new QPushButton("&Contents", this);
    auto* indexButton = new QPushButton("&Index", this);
    BackButton = new QPushButton("&Back", this);
    BackButton->setObjectName("helpBack");
    BackButton->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contentsButton);
    buttons->addWidget(indexButton);
    buttons->addWidget(BackButton);
    buttons->addStretch(1);

    Tabs = new QTabWidget(this);
    Tabs->setObjectName("helpTabs");

    Tree = new QTreeWidget;
    Tree->setObjectName("helpContents");
    Tree->setHeaderHidden(true);
    Tree->setColumnCount(1);
    FillTree();
    Tabs->addTab(Tree, "Contents");

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    auto* prompt = new QLabel("&Type the first letters of the word you look for:", indexPage);
    Search = new QLineEdit(indexPage);
    Search->setObjectName("helpIndexSearch");
    Search->setClearButtonEnabled(true);
    prompt->setBuddy(Search);
    List = new QListWidget(indexPage);
    List->setObjectName("helpIndexList");
    auto* display = new QPushButton("&Display", indexPage);
    indexLayout->addWidget(prompt);
    indexLayout->addWidget(Search);
    indexLayout->addWidget(List, 1);
    indexLayout->addWidget(display, 0, Qt::AlignRight);
    FillIndex();
    Tabs->addTab(indexPage, "Index");
    Search->installEventFilter(this);

    View = new QTextBrowser;
    View->setObjectName("helpTopicView");
    View->setOpenLinks(false);
    View->setOpenExternalLinks(false);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(Tabs);
    splitter->addWidget(View);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 560});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    resize(820, 560);

    connect(contentsButton, &QPushButton::clicked, this, [this] {
      ShowContentsPage();
      Open(HelpContentsContext);
    });
    connect(indexButton, &QPushButton::clicked, this, [this] { ShowIndexPage(); });
    connect(BackButton, &QPushButton::clicked, this, [this] { Back(); });
    connect(Tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { OpenItem(item); });
    connect(Tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { OpenItem(item); });
    connect(Search, &QLineEdit::textChanged, this, [this](const QString& text) { Filter(text); });
    connect(Search, &QLineEdit::returnPressed, this, [this] { OpenIndexSelection(); });
    connect(List, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { OpenIndexItem(item); });
    connect(List, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { OpenIndexItem(item); });
    connect(display, &QPushButton::clicked, this, [this] { OpenIndexSelection(); });
    connect(View, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
      if (url.scheme() == QString::fromLatin1(LinkScheme.data(), qsizetype(LinkScheme.size())))
        Open(url.path().toInt());
    });
  }

  std::function<void(int)> OnShown;

  // Shows a topic; remember adds it to the history that Back walks.
  void ShowTopic(const THelpTopic& topic, bool remember = true) {
    View->setHtml(QString::fromStdString(HelpTopicHtml(topic)));
    if (remember && (History.empty() || History.back() != topic.Context)) History.push_back(topic.Context);
    BackButton->setEnabled(History.size() > 1);
    SelectInTree(topic.Context);
    if (OnShown) OnShown(topic.Context);
  }

  bool Open(int context) {
    const THelpTopic* topic = FindHelpTopic(context);
    if (!topic) return false;
    ShowTopic(*topic);
    return true;
  }

  void ShowContentsPage() { Tabs->setCurrentWidget(Tree); }

  void ShowIndexPage() {
    Tabs->setCurrentIndex(1);
    Search->setFocus();
    Search->selectAll();
  }

  void Present() {
    if (isMinimized()) showNormal();
    else show();
    raise();
    activateWindow();
  }

protected:
  // The arrow keys in the search field move through the keyword list, so the
  // user need not leave the field to pick among close matches.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == Search && event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
          QApplication::sendEvent(List, event);
          return true;
        default: break;
      }
    }
    return QWidget::eventFilter(watched, event);
  }

private:
  void FillTree() {
    const THelpTopic* root = FindHelpTopic(HelpContentsContext);
    if (!root) return;
    for (int context : HelpTopicChildren(*root)) {
      const THelpTopic* topic = FindHelpTopic(context);
      if (!topic) continue;
      auto* item = new QTreeWidgetItem(Tree, {QString::fromStdString(topic->Title)});
      item->setData(0, ContextRole, context);
      // One level of subtopics: the contents page names the chapters, each
      // chapter its topics; deeper links are ordinary cross references.
      for (int sub : HelpTopicChildren(*topic)) {
        const THelpTopic* child = FindHelpTopic(sub);
        if (!child || sub == HelpContentsContext) continue;
        auto* leaf = new QTreeWidgetItem(item, {QString::fromStdString(child->Title)});
        leaf->setData(0, ContextRole, sub);
      }
    }
  }

  void FillIndex() {
    struct TEntry {
      std::string Keyword;
      QString Folded;
      const THelpTopic* Topic;
    };
    std::vector<TEntry> entries;
    for (const THelpTopic& topic : HelpTopics())
      for (std::string& k : HelpTopicKeywords(topic))
        entries.push_back({k, QString::fromStdString(k).toCaseFolded(), &topic});
    std::stable_sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
      return a.Folded.localeAwareCompare(b.Folded) < 0;
    });
    for (size_t i = 0; i < entries.size(); ++i) {
      const TEntry& e = entries[i];
      bool shared = (i > 0 && entries[i - 1].Folded == e.Folded) ||
                    (i + 1 < entries.size() && entries[i + 1].Folded == e.Folded);
      // A keyword that leads to several topics names the topic too.
      QString text = QString::fromStdString(e.Keyword);
      if (shared) text += " - " + QString::fromStdString(e.Topic->Title);
      auto* item = new QListWidgetItem(text, List);
      item->setData(ContextRole, e.Topic->Context);
      item->setData(KeyRole, e.Folded);
    }
    if (List->count() > 0) List->setCurrentRow(0);
  }

  void Filter(const QString& text) {
    QString key = text.trimmed().toCaseFolded();
    QListWidgetItem* first = nullptr;
    QListWidgetItem* best = nullptr;
    for (int i = 0; i < List->count(); ++i) {
      QListWidgetItem* item = List->item(i);
      QString keyword = item->data(KeyRole).toString();
      bool shown = key.isEmpty() || keyword.contains(key);
      item->setHidden(!shown);
      if (!shown) continue;
      if (!first) first = item;
      if (!best && keyword.startsWith(key)) best = item;
    }
    QListWidgetItem* current = best ? best : first;
    if (current) {
      List->setCurrentItem(current);
      List->scrollToItem(current);
    } else {
      List->setCurrentItem(nullptr);
    }
  }

  void OpenIndexSelection() {
    QListWidgetItem* item = List->currentItem();
    if (!item || item->isHidden()) {
      item = nullptr;
      for (int i = 0; i < List->count() && !item; ++i)
        if (!List->item(i)->isHidden()) item = List->item(i);
    }
    if (!item) {
      QApplication::beep();
      return;
    }
    OpenIndexItem(item);
  }

  void OpenIndexItem(QListWidgetItem* item) {
    if (item && !item->isHidden()) Open(item->data(ContextRole).toInt());
  }

  void OpenItem(QTreeWidgetItem* item) {
    if (item) Open(item->data(0, ContextRole).toInt());
  }

  void Back() {
    if (History.size() < 2) return;
    History.pop_back();
    const THelpTopic* topic = FindHelpTopic(History.back());
    if (topic) ShowTopic(*topic, false);
  }

  void SelectInTree(int context) {
    QTreeWidgetItemIterator it(Tree);
    for (; *it; ++it) {
      if ((*it)->data(0, ContextRole).toInt() == context) {
        QSignalBlocker block(Tree);
        Tree->setCurrentItem(*it);
        return;
      }
    }
  }

  QTabWidget* Tabs = nullptr;
  QTreeWidget* Tree = nullptr;
  QLineEdit* Search = nullptr;
  QListWidget* List = nullptr;
  QTextBrowser* View = nullptr;
  QPushButton* BackButton = nullptr;
  std::vector<int> History;
};

}  // namespace

struct THelp::TImpl {
  QWidget* Owner = nullptr;
  QPointer<THelpWindow> Win;
  int Current = 0;

  THelpWindow* Ensure() {
    if (!Win) {
      Win = new THelpWindow(Owner);
      Win->OnShown = [this](int context) { Current = context; };
    }
    return Win;
  }
};

THelp::THelp(QWidget* owner) : Impl(std::make_unique<TImpl>()) { Impl->Owner = owner; }

THelp::~THelp() {
  // The owner may have destroyed the window already; the guarded pointer knows.
  delete Impl->Win.data();
}

bool THelp::Contents() {
  const THelpTopic* topic = FindHelpTopic(HelpContentsContext);
  if (!topic) return false;
  THelpWindow* w = Impl->Ensure();
  w->ShowContentsPage();
  w->ShowTopic(*topic);
  w->Present();
  return true;
}

bool THelp::Topic(int context) {
  // Nothing is created or changed for a number without a topic.
  const THelpTopic* topic = FindHelpTopic(context);
  if (!topic) return false;
  THelpWindow* w = Impl->Ensure();
  w->ShowTopic(*topic);
  w->Present();
  return true;
}

bool THelp::Index() {
  THelpWindow* w = Impl->Ensure();
  if (Impl->Current == 0) {
    // The view should not stand empty beside the index.
    if (const THelpTopic* topic = FindHelpTopic(HelpContentsContext)) w->ShowTopic(*topic);
  }
  w->Present();
  w->ShowIndexPage();
  return true;
}

bool THelp::Using() { return Topic(HelpUsingContext); }

void THelp::Quit() {
  if (Impl->Win) Impl->Win->close();
}

QWidget* THelp::Window() const { return Impl->Win.data(); }

int THelp::CurrentContext() const { return Impl->Current; }
