// The workbench's online help: topics addressed by context number, and the
// help window that shows them.
#pragma once
#include <memory>
#include <string>
#include <vector>

class QWidget;

struct THelpTopic {
  int Context;            // context number: a command id, or a message number + 100, or 1 / 2 below
  std::string Title;      // e.g. "Assemble command" or "Error 33: Instruction not found"
  std::string Keywords;   // index entries, separated by ';'
  std::string Body;       // the topic text: plain paragraphs separated by blank lines, with the
                          // markup HelpTopicHtml understands
};
inline constexpr int HelpContentsContext = 1;   // the contents topic
inline constexpr int HelpUsingContext = 2;      // "using help"
const std::vector<THelpTopic>& HelpTopics();    // all topics, contents first
const THelpTopic* FindHelpTopic(int context);   // nullptr when there is none
// Reads one topic file of app/help/ (header, blank line, body; see HelpTopics.cpp). False when the
// header has no title, an unknown key, or not exactly one of "context" and "message".
bool ParseHelpTopic(std::string text, THelpTopic& topic);

// Markup of a topic body, line by line:
//   "## text"   a heading
//   "- text"    an item of a list (consecutive items form one list)
//   "> text"    a line of source text, shown as written in a fixed font
//   other text  a paragraph; a blank line ends it
// Within headings, items and paragraphs: "[[N]]" links to topic N under its title,
// "[[N|text]]" links to topic N under that text, and `text` is set in the fixed font.
std::string HelpTopicHtml(const THelpTopic& topic);
// Every context number the body links to, in order of appearance.
std::vector<int> HelpTopicLinks(const THelpTopic& topic);
// The links that begin list items: the topics filed under this one in the contents.
std::vector<int> HelpTopicChildren(const THelpTopic& topic);
// The index keywords of a topic, trimmed, empty ones left out.
std::vector<std::string> HelpTopicKeywords(const THelpTopic& topic);

// The help engine: one help window (a top-level QWidget, title "Tarnex Help") with a
// contents page, an index with a search field (filters the keyword list as you type; Enter or
// double click opens the topic), and a topic view (QTextBrowser) with links between topics.
// Each request returns whether it was accepted (a topic number that does not exist: false,
// and the window shows nothing new).
class THelp {
public:
  explicit THelp(QWidget* owner = nullptr);
  ~THelp();
  THelp(const THelp&) = delete;
  THelp& operator=(const THelp&) = delete;
  bool Contents();
  bool Topic(int context);
  bool Index();
  bool Using();
  void Quit();                       // closes the help window
  QWidget* Window() const;           // nullptr until first shown (tests inspect it)
  int CurrentContext() const;        // topic shown last, 0 for none

  struct TImpl;

private:
  std::unique_ptr<TImpl> Impl;
};
