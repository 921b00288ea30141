// An editor window's host for tests that drive windows without the
// workbench: a chosen font and tab size; every question is remembered and
// answered from a queue (Ok or Cancel once it runs dry), and Save As with a
// set name.
#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QStringList>
#include <deque>
#include <vector>

#include "EditorHost.h"

class TTestHost : public TEditorHost {
public:
  struct TAsked {
    QString Text, Caption;
    TMessageIcon Icon;
    TButtons Buttons;
  };

  // The font is PIXELS high, in FAMILY or else the system's fixed-pitch face.
  explicit TTestHost(int pixels = 16, const QString& family = QString())
      : Font(family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(family)) {
    Font.setPixelSize(pixels);
  }
  QFont EditorFont() const override { return Font; }
  int TabSize() const override { return Tabs; }
  void SetPositionText(const QString& text) override { Position = text; }
  void PushRecentFile(const QString& path) override { Recent << path; }
  TAnswer Ask(QWidget*, const QString& text, const QString& caption, TMessageIcon icon, TButtons buttons) override {
    Asked.push_back({text, caption, icon, buttons});
    if (Answers.empty())
      return buttons == TButtons::Ok ? TAnswer::Ok : TAnswer::Cancel;
    const TAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  QString SaveAsName(QWidget*, const QString& current) override {
    SaveAsAsked << current;
    return SaveAsAnswer;
  }

  QFont Font;
  int Tabs = 8;
  QString Position;
  QStringList Recent;
  std::vector<TAsked> Asked;
  std::deque<TAnswer> Answers;
  QStringList SaveAsAsked;
  QString SaveAsAnswer;
};
