#include "DependencyFile.h"

std::string EscapeForMake(const std::string& name) {
  std::string out;
  size_t backslashes = 0;
  for (char c : name) {
    if (c == ' ' || c == '\t') {
      // Make reads 2N+1 backslashes before a blank as N backslashes and the
      // blank; backslashes elsewhere stand for themselves.
      out.append(backslashes, '\\');
      out += '\\';
    } else if (c == '#') {
      out += '\\';
    } else if (c == '$') {
      out += '$';
    }
    out += c;
    backslashes = c == '\\' ? backslashes + 1 : 0;
  }
  return out;
}

std::string DependencyRule(const std::string& targets, const std::vector<std::string>& prerequisites, bool phony,
                           const std::string& mainSource) {
  std::string text = targets + ":";
  for (size_t i = 0; i < prerequisites.size(); ++i) {
    text += i == 0 ? " " : " \\\n ";
    text += EscapeForMake(prerequisites[i]);
  }
  text += "\n";
  for (size_t i = 0; phony && i < prerequisites.size(); ++i) {
    if (i == 0 && prerequisites[i] == mainSource) continue;  // the main source gets no empty rule
    text += "\n";
    text += EscapeForMake(prerequisites[i]);
    text += ":\n";
  }
  return text;
}
