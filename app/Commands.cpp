#include "Commands.h"

namespace {

enum { File, Edit, Search, Assembler, Options, Window, Help };

const std::vector<TPopupRow> Popups = {
    {"&File", "File operations"},
    {"&Edit", "Edit operations"},
    {"&Search", "Search and error operations"},
    {"&Assemble", "Assembler operations"},
    {"&Options", "Assembler options"},
    {"&Window", "Window arrangement and selection"},
    {"&Help", "Access online help"},
};

// F1 and Ctrl+F1 show in the menu but are not accelerators: the application's
// event filter takes those keys before any shortcut sees them.
const std::vector<TCommandRow> Rows = {
    {Cmd::New, File, "&New\tCtrl+N", "Ctrl+N", "Creates a new file"},
    {Cmd::Open, File, "&Open...\tCtrl+O", "Ctrl+O", "Opens an existing file"},
    {Cmd::Close, File, "&Close\tCtrl+F4", "Ctrl+F4", "Closes the active file"},
    {0, File, "", "", ""},
    {Cmd::Save, File, "&Save\tCtrl+S", "Ctrl+S", "Saves the active file"},
    {Cmd::SaveAs, File, "Save &as...", "", "Saves the active file with a new name"},
    {Cmd::SaveAll, File, "Save a&ll", "", "Save all the open files"},
    {0, File, "", "", ""},
    {Cmd::Print, File, "&Print...\tCtrl+P", "Ctrl+P", "Displays the Windows Print dialog box"},
    {Cmd::PrintPreview, File, "Print pre&view", "", "Displays full pages as read-only"},
    {Cmd::PageSetup, File, "Page set&up...", "", "Dislays the Windows Page Setup dialog box"},
    {0, File, "", "", ""},
    {Cmd::Exit, File, "E&xit\tAlt+F4", "Alt+F4", "Prompts to save modified files and quits application"},

    {Cmd::Undo, Edit, "&Undo\tCtrl+Z", "Ctrl+Z", "Reverses the last operation"},
    {0, Edit, "", "", ""},
    {Cmd::Cut, Edit, "Cu&t\tCtrl+X", "Ctrl+X", "Cuts the selection and puts it on the Clipboard"},
    {Cmd::Copy, Edit, "&Copy\tCtrl+C", "Ctrl+C", "Copies the selection and puts it on the Clipboard"},
    {Cmd::Paste, Edit, "&Paste\tCtrl+V", "Ctrl+V", "Inserts the Clipboard contents at the cursor"},
    {Cmd::Delete, Edit, "De&lete\tDel", "Del", "Deletes the selection or character right of the cursor"},
    {0, Edit, "", "", ""},
    {Cmd::SelectAll, Edit, "Select &all\tCtrl+A", "Ctrl+A", "Highlights all text in the active file"},

    {Cmd::Find, Search, "&Find...\tCtrl+F", "Ctrl+F", "Finds the specified text"},
    {Cmd::Replace, Search, "&Replace...\tCtrl+H", "Ctrl+H", "Finds the specified text and changes it"},
    {Cmd::FindNext, Search, "&Next\tF3", "F3", "Finds the next match"},
    {0, Search, "", "", ""},
    {Cmd::PreviousError, Search, "&Previous error\tAlt+F7", "Alt+F7", "Go to the previous assembler message"},
    {Cmd::NextError, Search, "Ne&xt error\tAlt+F8", "Alt+F8", "Go to the next assembler message"},

    {Cmd::Assemble, Assembler, "&Assemble...\tF9", "F9", "Begin compiling the main file"},
    {Cmd::MainFile, Assembler, "&Main file...", "", "Choose the starting assembly file"},

    {Cmd::Font, Options, "&Font...", "", "Set font for editor windows and printer"},
    {Cmd::Tabs, Options, "&Tabs...", "", "Set tab size for editor windows and printer"},
    {0, Options, "", "", ""},
    {Cmd::SaveDesktop, Options, "&Save desktop", "", "Save format of assembler"},
    {Cmd::RestoreDesktop, Options, "&Restore desktop", "", "Restore format of assembler"},

    {Cmd::Cascade, Window, "&Cascade\tShift+F5", "Shift+F5", "Cascades open windows"},
    {Cmd::TileHorizontal, Window, "Tile &horizontal\tShift+F4", "Shift+F4", "Tiles open windows horizontally"},
    {Cmd::TileVertical, Window, "&Tile vertical", "", "Tiles open windows vertically"},
    {0, Window, "", "", ""},
    {Cmd::ArrangeIcons, Window, "Arrange &icons", "", "Arranges iconic windows along bottom"},
    {Cmd::CloseAll, Window, "Close a&ll", "", "Closes all open windows"},

    {Cmd::HelpContents, Help, "&Contents\tF1", "", "Help table of contents"},
    {Cmd::HelpContext, Help, "Conte&xt\tCtrl+F1", "", "Contextual help system"},
    {Cmd::HelpIndex, Help, "&Index", "", "Help index and find"},
    {Cmd::HelpUsing, Help, "&Using", "", "Help on using online Help"},
    {0, Help, "", "", ""},
    {Cmd::About, Help, "&About", "", "About the Tarnex application"},
};

const std::vector<int> Toolbar = {
    Cmd::New,  Cmd::Open,    Cmd::Save,     Cmd::Print,         Cmd::PrintPreview, 0,
    Cmd::Undo, Cmd::Cut,     Cmd::Copy,     Cmd::Paste,         0,
    Cmd::Find, Cmd::Replace, Cmd::FindNext, Cmd::PreviousError, Cmd::NextError,    0,
    Cmd::Assemble, 0, Cmd::HelpContents,
};

}  // namespace

const std::vector<TPopupRow>& PopupTable() { return Popups; }
const std::vector<TCommandRow>& CommandTable() { return Rows; }
const std::vector<int>& ToolbarLayout() { return Toolbar; }

const TCommandRow* FindCommand(int id) {
  if (id == 0)
    return nullptr;
  for (const TCommandRow& row : Rows)
    if (row.Id == id)
      return &row;
  return nullptr;
}

QString CommandHint(int id) {
  const TCommandRow* row = FindCommand(id);
  return row ? QString::fromLatin1(row->Hint) : QString();
}

QKeySequence CommandKey(int id) {
  const TCommandRow* row = FindCommand(id);
  return row && *row->Key ? QKeySequence(QString::fromLatin1(row->Key), QKeySequence::PortableText)
                          : QKeySequence();
}

QString PlainCommandText(int id) {
  const TCommandRow* row = FindCommand(id);
  if (!row)
    return QString();
  QString text = QString::fromLatin1(row->Text).section(QLatin1Char('\t'), 0, 0);
  // "&&" would stand for a literal ampersand; no menu text has one.
  text.remove(QLatin1Char('&'));
  return text;
}
