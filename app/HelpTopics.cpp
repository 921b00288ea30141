// The help topics. Their text lives in app/help/ (one Markdown file a topic, compiled in as the
// ":/help" resource) so that the help can be written and corrected without touching the code.
// A file begins with a small header and a blank line, then the body in the markup of Help.h:
//
//   context: 24381            the topic's context number (a command id, a menu or chapter page)
//   title: Assemble command
//   keywords: Assemble;F9     index entries, separated by ';'
//
// A message topic names its message instead, "message: 33", and gets context 133 and the title
// "Error 33: " + the assembler's own text of the message, so that the two never disagree.
#include <QDirIterator>
#include <QFile>
#include <QtGlobal>

#include <algorithm>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "Help.h"

namespace {

constexpr int MessageHelpBase = 100;

std::string Trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

bool ParseNumber(const std::string& s, int& out) {
  if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos) return false;
  out = std::stoi(s);
  return true;
}

std::vector<THelpTopic> BuildTopics() {
  std::vector<THelpTopic> topics;
  QDirIterator files(":/help", {"*.md"}, QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QString path = files.next();
    QFile file(path);
    THelpTopic topic;
    if (!file.open(QIODevice::ReadOnly) || !ParseHelpTopic(file.readAll().toStdString(), topic)) {
      qWarning("help topic %s left out: its header lacks a context or message number", qPrintable(path));
      continue;
    }
    topics.push_back(std::move(topic));
  }
  // Contents first; the rest in order of context number, which is also the
  // order FindHelpTopic searches in.
  std::sort(topics.begin(), topics.end(), [](const THelpTopic& a, const THelpTopic& b) {
    if ((a.Context == HelpContentsContext) != (b.Context == HelpContentsContext))
      return a.Context == HelpContentsContext;
    return a.Context < b.Context;
  });
  return topics;
}

}  // namespace

bool ParseHelpTopic(std::string text, THelpTopic& topic) {
  // Files saved on Windows carry CRs; the markup knows only LF.
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);  // a BOM some editors write
  topic = THelpTopic{};
  bool haveContext = false;
  int message = -1;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (Trimmed(line).empty()) break;  // the blank line ends the header
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return false;
    const std::string key = Trimmed(line.substr(0, colon));
    const std::string value = Trimmed(line.substr(colon + 1));
    if (key == "context") {
      if (!ParseNumber(value, topic.Context)) return false;
      haveContext = true;
    } else if (key == "message") {
      if (!ParseNumber(value, message) || message >= MessageCount) return false;
    } else if (key == "title") {
      topic.Title = value;
    } else if (key == "keywords") {
      topic.Keywords = value;
    } else {
      return false;  // a misspelt key would otherwise drop its value unnoticed
    }
  }
  if (haveContext == (message >= 0)) return false;  // exactly one of the two
  if (message >= 0) {
    topic.Context = MessageHelpBase + message;
    if (topic.Title.empty()) topic.Title = "Error " + std::to_string(message) + ": " + MessageText(message);
  }
  if (topic.Title.empty()) return false;
  topic.Body = pos < text.size() ? text.substr(pos) : std::string();
  topic.Body.erase(topic.Body.find_last_not_of(" \t\n") + 1);
  return true;
}

const std::vector<THelpTopic>& HelpTopics() {
  static const std::vector<THelpTopic> topics = BuildTopics();
  return topics;
}

const THelpTopic* FindHelpTopic(int context) {
  const std::vector<THelpTopic>& topics = HelpTopics();
  if (!topics.empty() && topics.front().Context == context) return &topics.front();
  auto it = std::lower_bound(topics.begin() + (topics.empty() ? 0 : 1), topics.end(), context,
                             [](const THelpTopic& t, int c) { return t.Context < c; });
  return it != topics.end() && it->Context == context ? &*it : nullptr;
}
