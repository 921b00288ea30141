// The workbench's command table: every menu item in menu order with its text,
// key, status-bar hint and popup, the popups with their own hints, and the
// toolbar's layout. Menus, accelerators, toolbar buttons and hints are all
// built from these rows, so they cannot drift apart.
#pragma once

#include <QKeySequence>
#include <QString>
#include <vector>

#include "CommandIds.h"

struct TPopupRow {
  const char* Title;  // "&File"
  const char* Hint;   // shown while the popup's title is highlighted
};

struct TCommandRow {
  int Id;              // 0: a separator
  int Popup;           // index into PopupTable()
  const char* Text;    // menu text, "\t" before the key shown at the right
  const char* Key;     // the accelerator in QKeySequence's portable form, "" for none
  const char* Hint;    // status-bar hint
  bool IsSeparator() const { return Id == 0; }
};

const std::vector<TPopupRow>& PopupTable();
const std::vector<TCommandRow>& CommandTable();
// The row of command ID, or nullptr (separators and recent-file entries have none).
const TCommandRow* FindCommand(int id);
// The hint of command ID; empty when it has none.
QString CommandHint(int id);
// The accelerator of command ID; empty when it has none.
QKeySequence CommandKey(int id);
// The menu text without the key and the mnemonic marks: "Save as...".
QString PlainCommandText(int id);
// The toolbar's buttons left to right; 0 stands for a separator.
const std::vector<int>& ToolbarLayout();
// Whether ID is one of the generated recent-file entries.
inline bool IsRecentFileCommand(int id) { return id >= Cmd::FirstRecent && id <= Cmd::LastRecent; }
