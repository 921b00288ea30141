// What an editor window needs from the application around it: the shared
// font and tab size, the status bar's position field, the recent-file list,
// and the dialogs. Tests supply their own host and answer every prompt.
#pragma once

#include <QFont>
#include <QString>

#include "EditView.h"  // TMessageIcon

class QWidget;

enum class TButtons { Ok, YesNo, YesNoCancel };
enum class TAnswer { Ok, Cancel, Yes, No };

class TEditorHost {
public:
  virtual ~TEditorHost() = default;

  virtual QFont EditorFont() const = 0;
  // Always 2..16 (the application guards what it reads from the settings).
  virtual int TabSize() const = 0;
  // The status bar's position field, "line:column".
  virtual void SetPositionText(const QString& text) = 0;
  // Puts a path at the top of the recent-file list.
  virtual void PushRecentFile(const QString& path) = 0;

  // A message box; the answer is the button pressed (Ok for an OK-only box).
  virtual TAnswer Ask(QWidget* parent, const QString& text, const QString& caption, TMessageIcon icon,
                      TButtons buttons) = 0;
  // The Save As dialog on the application's shared open/save data, starting
  // at CURRENT (empty for an untitled window); it asks before overwriting.
  // Returns the chosen path, or an empty string when cancelled.
  virtual QString SaveAsName(QWidget* parent, const QString& current) = 0;
};
