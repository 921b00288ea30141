// Help topics of the menus and of every command, by command id.
#include <string>
#include <vector>

#include "CommandIds.h"
#include "Help.h"

void AddCommandHelpTopics(std::vector<THelpTopic>& topics);

namespace {

// Chapter pages of the menus; their numbers lie below the message topics.
enum : int { FileMenu = 10, EditMenu, SearchMenu, AssembleMenu, OptionsMenu, WindowMenu, HelpMenu };

struct TCommandText {
  int Id;
  const char* Title;
  const char* Keywords;
  const char* MenuPath;   // where the command sits, e.g. "File, New"
  const char* Key;        // nullptr: no key of its own
  const char* Toolbar;    // nullptr: no toolbar button
  const char* Available;  // when the command can be chosen
  const char* Body;
  int Menu;               // the menu's chapter page
};

const TCommandText Commands[] = {
    // ---- File
    {Cmd::New, "New command", "New;file, new;Untitled;creating a file",
     "File, New", "Ctrl+N", "New", "always",
     R"~(Opens a new, empty editor window. Its caption reads "Untitled" until the text is saved under a name: the first Save (or Save as) of the window asks for the file name.

When the active editor window is maximised, the new window opens maximised as well.)~",
     FileMenu},
    {Cmd::Open, "Open command", "Open;file, open;opening files;drag and drop;file types",
     "File, Open...", "Ctrl+O", "Open", "always",
     R"~(Shows the Open dialog and loads the chosen file into a new editor window whose caption is the file's full path. The dialog offers Assembler Files (*.asm), List Files (*.lst), Hex Files (*.hex), Table Files (*.tbl) and All Files (*.*); only an existing file can be chosen.

The opened file goes to the top of the list of recently used files at the end of the [[10|File menu]]; choosing an entry there opens that file again. You can also drop files from the desktop onto the workbench window to open them.

- A file that is already open gets a second, independent window. Edit and save only one of them, or the later save overwrites the other's changes.
- If the file cannot be read to its end, the message "File I/O Error. Part file loaded." appears and the window holds what was read. Saving it then would cut the file short, so close the window without saving and find out why the file is unreadable.)~",
     FileMenu},
    {Cmd::Close, "Close command", "Close;file, close;closing a window;unsaved changes;File has changed",
     "File, Close", "Ctrl+F4", nullptr, "when an editor window is active",
     R"~(Closes the active editor window. When its text has unsaved changes you are asked "File has changed! Do you want to save the changes?":

- Yes saves the file first. An untitled window shows the Save As dialog; if you cancel that dialog the window closes without saving.
- No closes the window and drops the changes.
- Cancel keeps the window open.

A window that has a file name puts it at the top of the recent-file list, even when you then cancel.)~",
     FileMenu},
    {Cmd::Save, "Save command", "Save;file, save;saving files",
     "File, Save", "Ctrl+S", "Save", "when the active window has unsaved changes and a file name",
     R"~(Writes the text of the active editor window to its file.

- Saving empties the window's undo journal: Undo cannot go back past the last save.
- An untitled window cannot be saved with Save; use [[24334]] to give it a name.
- You rarely need Save before assembling: the [[24381]] saves every open window itself.)~",
     FileMenu},
    {Cmd::SaveAs, "Save as command", "Save as;file, save as;renaming a file;new file name",
     "File, Save as...", nullptr, nullptr, "when an editor window is active",
     R"~(Asks for a new file name in the Save As dialog and saves the active window's text under it. The window's caption shows the new full path, and later saves go to the new file; the old file stays as it was last saved. The dialog asks before it overwrites an existing file, and a name without extension gets ".asm".

If you cancel the dialog nothing changes.)~",
     FileMenu},
    {Cmd::SaveAll, "Save all command", "Save all;file, save all;saving all files",
     "File, Save all", nullptr, nullptr, "when at least one editor window is open",
     R"~(Saves every open editor window, one after another in window order, whether its text has changed or not. An untitled window shows the Save As dialog; cancelling it skips that window and the others are still saved.

The [[24381]] does the same before every run.)~",
     FileMenu},
    {Cmd::Print, "Print command", "Print;printing;file, print",
     "File, Print...", "Ctrl+P", "Print", "not in this version",
     R"~(Meant for printing the text of the active editor window page by page, in the editor font.

Printing is not available yet in this version of the workbench: Print, [[24340]] and [[24338]] stay disabled, in the menu as on the toolbar. To get a printed copy, print the source file, or the listing file (.LST) that every Assemble run writes, from another program.)~",
     FileMenu},
    {Cmd::PrintPreview, "Print preview command", "Print preview;preview;printing",
     "File, Print preview", nullptr, "Print preview", "not in this version",
     R"~(Meant for showing the printed pages of the active editor window on the screen, read-only, before they are printed.

Printing is not available yet in this version of the workbench, so this command stays disabled together with [[24337]] and [[24338]].)~",
     FileMenu},
    {Cmd::PageSetup, "Page setup command", "Page setup;printer setup;printing",
     "File, Page setup...", nullptr, nullptr, "not in this version",
     R"~(Meant for choosing the printer, the paper and its orientation for [[24337]].

Printing is not available yet in this version of the workbench, so this command stays disabled together with Print and [[24340]].)~",
     FileMenu},
    {Cmd::Exit, "Exit command", "Exit;quitting;closing the workbench;shut down",
     "File, Exit", "Alt+F4", nullptr, "always",
     R"~(Ends the workbench. Every editor window is asked in turn whether it may close; a window with unsaved changes asks "File has changed! Do you want to save the changes?" as the [[24339]] does. Cancel at any window stops the exit and leaves the windows open.

The desktop (editor font, tab size, main file and the number of open windows) is saved to TarnW4.INI every time, even when the exit is cancelled, and the files that were open are opened again at the next start. See [[24373]].)~",
     FileMenu},

    // ---- Edit
    {Cmd::Undo, "Undo command", "Undo;reversing changes;edit, undo",
     "Edit, Undo", "Ctrl+Z", "Undo", "when the active window has changes that can be undone",
     R"~(Reverses the last editing action in the active window: a typed character, a paste, a cut, a deletion or a replacement. Typing over a selection counts as one action, so one Undo brings back the selected text and removes what you typed. Repeat Undo to go further back, one action at a time; every typed character is an action of its own.

- There is no redo.
- Undo goes back only to the last save, or to the opening of the file: saving empties the journal.
- When everything since the last save has been undone, the window no longer counts as changed, and [[24333]] is disabled again.)~",
     EditMenu},
    {Cmd::Cut, "Cut command", "Cut;clipboard;edit, cut",
     "Edit, Cut", "Ctrl+X", "Cut", "when text is selected",
     R"~(Removes the selected text and puts it on the Clipboard as plain text; line breaks become CR LF there, as other programs expect. Undo brings the text back.

A selection too large for the Clipboard (about a thousand million characters) shows "The selected text is too large for the clipboard" with the caption "Space Error"; then nothing is removed.)~",
     EditMenu},
    {Cmd::Copy, "Copy command", "Copy;clipboard;edit, copy",
     "Edit, Copy", "Ctrl+C", "Copy", "when text is selected",
     R"~(Copies the selected text to the Clipboard as plain text, with CR LF line breaks. The text in the window does not change.

A selection that is too large for the Clipboard shows "The selected text is too large for the clipboard" (caption "Space Error") and the Clipboard keeps what it held.)~",
     EditMenu},
    {Cmd::Paste, "Paste command", "Paste;clipboard;edit, paste;inserting text",
     "Edit, Paste", "Ctrl+V", "Paste", "when the Clipboard holds text",
     R"~(Inserts the text on the Clipboard at the cursor. A selection is replaced by the pasted text. Carriage returns are left out, so CR LF line breaks become ordinary line breaks. One Undo removes the whole paste.

The messages "Can't lock clipboard" and "Can't get clipboard data" (caption "Clipboard Error") mean that the Clipboard could not be read, usually because another program holds it; the text is unchanged. Try again a moment later.)~",
     EditMenu},
    {Cmd::Delete, "Delete command", "Delete;Del key;edit, delete;removing text",
     "Edit, Delete", "Del", nullptr, "when an editor window is active",
     R"~(Deletes the selected text or, when nothing is selected, the character right of the cursor. At the end of a line it joins the next line to this one; at the very end of the text it does nothing. Undo brings the deleted text back.)~",
     EditMenu},
    {Cmd::SelectAll, "Select all command", "Select all;selection;edit, select all",
     "Edit, Select all", "Ctrl+A", nullptr, "when an editor window is active",
     R"~(Selects the whole text of the active window; the cursor goes to its end. Use it, for example, before [[24323]] to copy a whole file.)~",
     EditMenu},

    // ---- Search
    {Cmd::Find, "Find command", "Find;searching;match case;whole word;Cannot find;End of File;Start of File",
     "Search, Find...", "Ctrl+F", "Find", "when an editor window is active and its Find dialog is not open yet",
     R"~(Opens the Find dialog of the active window. Type the text to look for, choose the direction (Up or Down), Match case and Match whole word only, and press Find Next. The match is selected; searching down leaves the cursor after it, searching up at its start, so the next search goes on from there.

- A match always lies within one line.
- Without Match case, capitals and small letters are the same.
- A whole word is bounded by the start or end of the line, a blank or a punctuation character.
- When there is no further match, "Cannot find" and the text appear in a message with the caption "End of File" (searching down) or "Start of File" (searching up); the cursor stays where it was. From the very end (or start) of the text the search does nothing.

The dialog stays open while you edit. Each window has its own dialog and keeps its own search text and options. Opening Find closes the window's Replace dialog. [[24353]] (F3) repeats the search without the dialog.)~",
     SearchMenu},
    {Cmd::Replace, "Replace command", "Replace;replace all;searching and replacing",
     "Search, Replace...", "Ctrl+H", "Replace", "when an editor window is active and its Replace dialog is not open yet",
     R"~(Opens the Replace dialog of the active window: the text to find, the text to put in its place, and the options of the [[24351]].

- Find Next selects the next match.
- Replace puts the replacement in place of the selection (only when text is selected) and leaves the cursor after it; it does not move on to the next match.
- Replace All replaces every match from the cursor on, in the direction chosen. A replacement text that contains the search text is not replaced again.

Undo takes back one replacement at a time. Opening Replace closes the window's Find dialog.)~",
     SearchMenu},
    {Cmd::FindNext, "Next command", "Next;find next;F3;repeating a search",
     "Search, Next", "F3", "Find next", "when a search text has been given in the active window",
     R"~(Finds the next match of the search text last given in the active window's Find or Replace dialog, with the direction and options set there, without opening the dialog. If the dialog is open, what is typed in it counts.)~",
     SearchMenu},
    {Cmd::PreviousError, "Previous error command", "Previous error;Alt+F7;assembler messages;errors, stepping through",
     "Search, Previous error", "Alt+F7", "Previous error", "after an Assemble run that reported errors",
     R"~(Goes back to the assembler message before the one shown last, and shows it as the [[24355]] does. On the first message it shows the first message again.

The messages stay available until the next Assemble command. See [[20]].)~",
     SearchMenu},
    {Cmd::NextError, "Next error command", "Next error;Alt+F8;assembler messages;errors, stepping through;status bar message",
     "Search, Next error", "Alt+F8", "Next error", "after an Assemble run that reported errors",
     R"~(Goes on to the next message of the last Assemble run. The file the message names is brought to the front, or opened when no window shows it; the cursor goes to the message's line and the character at its column is selected. The status bar shows the message, for example:

> Message #2: Error 33 - Instruction not found.  <Ctrl+F1> for Help

Press Ctrl+F1 then for the help topic of that message (see [[2004]]). On the last message, Next error shows the last message again. After a run with errors, the first message is shown as soon as you close the Assembling dialog.

- The column counts characters after the assembler has expanded tabs, every 8 columns unless the source sets another width with TAB. With another width the selected character may stand off the place the message means; look along the line.
- Messages name files by their full path in capitals. Keep parentheses out of folder and file names: a path with "(" or ")" cannot be found again from the message.
- A message of a line inside a macro expansion points at the line that invoked the macro.)~",
     SearchMenu},

    // ---- Assemble
    {Cmd::Assemble, "Assemble command", "Assemble;F9;assembling;output files;LST file;HEX file;ERR file;Assembling dialog;passes;checksum;Phase Error",
     "Assemble, Assemble...", "F9", "Assemble", "always",
     R"~(Assembles the main file. In turn the command

- saves every open editor window, changed or not (an untitled window asks for a name; if you cancel, the command goes on without it);
- asks for the main file with the [[24382]] when none has been chosen yet; if you cancel there, nothing is assembled;
- opens the "Assembling" dialog. Press Assemble to start, or Cancel to close the dialog without assembling.

While it runs, the dialog shows the pass, the main file, the file being read ("Assembling"), the lines read and the errors found, for that file and in total, and at the end the checksum. The run cannot be interrupted, and the workbench does not respond until it is over. When it is done, the Ok button closes the dialog.

The assembler writes three files beside the main file, in its folder and with its base name, always with these extensions in capitals, whatever the main file's own: a main file PROG.S gives PROG.LST, PROG.HEX and PROG.ERR. Existing files of those names are replaced.

- .LST, the listing: each source line with its address and code, the errors, and the list of labels. See [[30]].
- .HEX, the object file, in the format chosen with HOF (Intel hexadecimal with segment records unless the source says otherwise). See [[36]].
- .ERR, the error file: one line per error of the last pass. When the run reported errors, the first one is shown as soon as the dialog is closed; [[24355]] and [[24354]] step through the rest.

Every run makes at least two passes over the source. When a label still changes its value in the second pass, further passes follow, at most five in all; the pass field then shows "Phase Error!" beside the number. The checksum is the sum of all bytes of object code, handy for telling whether two builds produced the same code.

Names of files in the source (INCL, CPU) that have no folder are looked up first in the folder the workbench was started from, not in the main file's folder. See [[40]].)~",
     AssembleMenu},
    {Cmd::MainFile, "Main file command", "Main file;main assembly file;Select Main Assembly File;choosing the main file",
     "Assemble, Main file...", nullptr, nullptr, "always",
     R"~(Chooses the main file: the source file that the [[24381]] assembles, and from which it includes any further files. The dialog "Select Main Assembly File" offers Assembly Files (*.asm) and All Files (*.*); only an existing file can be chosen. Cancel keeps the main file as it was.

- The main file need not be open in an editor window.
- The choice is part of the desktop and is remembered from one session to the next ([[24373]]). Until a main file has been chosen, Assemble asks for one first.)~",
     AssembleMenu},

    // ---- Options
    {Cmd::Font, "Font command", "Font;editor font;fixed-pitch font;options, font",
     "Options, Font...", nullptr, nullptr, "always",
     R"~(Chooses the font of all editor windows. Every open window takes the new font at once. Cancel changes nothing. The font is part of the desktop, saved with [[24373]] and when the workbench closes; the first font is Courier New.

A fixed-pitch font keeps the columns of a source in line, and the assembler's messages count columns in characters, so a fixed-pitch font is the sensible choice.)~",
     OptionsMenu},
    {Cmd::Tabs, "Tabs command", "Tabs;tab size;Set Tab Length;Tab Error;options, tabs",
     "Options, Tabs...", nullptr, nullptr, "always",
     R"~(Sets the tab size of all editor windows. The "Set Tab Length" dialog asks to "Choose tab length from 2 to 16 characters!". A number outside 2 to 16 shows "Tab length must be 2 to 16 characters" (caption "Tab Error") and nothing changes. The tab size is part of the desktop; it starts at 8.

The tab size changes only how the editor shows tabs. The assembler expands tabs with its own width, 8 unless the source sets another with the TAB directive, and counts the columns of its messages that way. Keeping both at the same value keeps the editor's columns and the messages' columns alike.)~",
     OptionsMenu},
    {Cmd::SaveDesktop, "Save desktop command", "Save desktop;desktop;TarnW4.INI;settings file;Unable to save desktop",
     "Options, Save desktop", nullptr, nullptr, "always",
     R"~(Saves the desktop to the settings file TarnW4.INI in the folder the workbench was started from: the tab size, the editor font (face, height, weight, italic), the main file and the number of open editor windows. The workbench also saves the desktop whenever it closes.

The list of recently used files lives in the same file; the files open at the end of a session are the most recent ones of that list, and [[24374]] opens them again.

"Unable to save desktop!" (caption "Disk error - TarnW4.INI") means that the file could not be written: check that the folder is writable and the disk not full.)~",
     OptionsMenu},
    {Cmd::RestoreDesktop, "Restore desktop command", "Restore desktop;desktop;TarnW4.INI;Unable to restore desktop",
     "Options, Restore desktop", nullptr, nullptr, "always",
     R"~(Brings back the desktop last saved with [[24373]]. First all editor windows are closed; each window with unsaved changes asks whether to save them, and if you cancel at one, all windows stay open. Then the tab size, the editor font and the main file are read from TarnW4.INI, and as many of the most recently used files are opened again as were open when the desktop was saved; the most recent one becomes the active window. The workbench does the same at every start.

Without a settings file the defaults apply: tab size 8, Courier New, no main file and no window.

"Unable to restore desktop!" (caption "Disk error - TarnW4.INI") means that the settings file holds an empty main file entry; choose the main file again with the [[24382]] and save the desktop.)~",
     OptionsMenu},

    // ---- Window
    {Cmd::Cascade, "Cascade command", "Cascade;arranging windows;window, cascade",
     "Window, Cascade", "Shift+F5", nullptr, "when an editor window is open",
     R"~(Arranges the open editor windows in an overlapping stack, each one a little lower and further right than the one before, so that every caption can be seen.)~",
     WindowMenu},
    {Cmd::TileHorizontal, "Tile horizontal command", "Tile horizontal;tiling windows;arranging windows",
     "Window, Tile horizontal", "Shift+F4", nullptr, "when an editor window is open",
     R"~(Arranges the open editor windows one above the other, each as wide as the workbench, without overlapping. Handy for comparing a source with the file it includes.)~",
     WindowMenu},
    {Cmd::TileVertical, "Tile vertical command", "Tile vertical;tiling windows;arranging windows",
     "Window, Tile vertical", nullptr, nullptr, "when an editor window is open",
     R"~(Arranges the open editor windows side by side, each as tall as the workbench, without overlapping.)~",
     WindowMenu},
    {Cmd::ArrangeIcons, "Arrange icons command", "Arrange icons;minimised windows;icons",
     "Window, Arrange icons", nullptr, nullptr, "when an editor window is open",
     R"~(Lines up the minimised editor windows along the bottom of the workbench.)~",
     WindowMenu},
    {Cmd::CloseAll, "Close all command", "Close all;closing all windows;window, close all",
     "Window, Close all", nullptr, nullptr, "when an editor window is open",
     R"~(Closes every editor window. Each window with unsaved changes first asks "File has changed! Do you want to save the changes?", as the [[24339]] does; Cancel at any window keeps all windows open.)~",
     WindowMenu},

    // ---- Help
    {Cmd::HelpContents, "Contents command", "Contents;help, contents;F1",
     "Help, Contents", "F1", "Help contents", "always",
     R"~(Opens the help window at its contents: the menus and their commands, the assembler's messages and the source language. F1 does the same wherever you are in the workbench.)~",
     HelpMenu},
    {Cmd::HelpContext, "Context command", "Context;contextual help;Ctrl+F1;message help;help on a command;Press ESCAPE to end contextual help",
     "Help, Context", "Ctrl+F1", nullptr, "always",
     R"~(Shows help on the thing at hand.

- After [[24355]] or [[24354]] has put an assembler message into the status bar, Ctrl+F1 opens the help topic of that message: what it means and what to do about it. This works once per message shown.
- Otherwise the workbench enters contextual help: the mouse pointer turns into the help pointer and the status bar says "Press ESCAPE to end contextual help". Now choose a menu command, press its key or click its toolbar button: the command is not carried out, its help topic is shown instead. Esc ends contextual help without showing anything.

Pressing F1 while a menu item is highlighted shows the help of that item at once, without carrying it out.)~",
     HelpMenu},
    {Cmd::HelpIndex, "Index command", "Index;help, index;searching help;keywords",
     "Help, Index", nullptr, nullptr, "always",
     R"~(Opens the help window at its index: an alphabetical list of keywords. Type a word or its first letters into the field above the list; the list keeps only the keywords that contain what you typed and selects the best match. Enter, a double click or Display opens the selected topic; the arrow keys move through the list without leaving the field. See [[2]].)~",
     HelpMenu},
    {Cmd::HelpUsing, "Using command", "Using help;help, using",
     "Help, Using", nullptr, nullptr, "always",
     R"~(Opens the topic [[2]], which explains the help window: the contents page with the chapters of the help, the index with its search field, the links between topics and the Back button. The help window stays open beside the workbench while you work.)~",
     HelpMenu},
    {Cmd::About, "About command", "About;version;About Tarnex",
     "Help, About", nullptr, nullptr, "always",
     R"~(Shows the "About Tarnex" box with the version of the workbench, "Tarnex Meta-Assembler Version 4.0.1", and the maker's notices. Quote the version when you report a problem.)~",
     HelpMenu},
};

struct TMenuText {
  int Context;
  const char* Title;
  const char* Keywords;
  const char* Intro;
};

const TMenuText Menus[] = {
    {FileMenu, "File menu", "File menu;menus;recent files",
     "File operations: creating, opening, saving and closing source files. The numbered entries above Exit are the most recently used files; choose one to open it again."},
    {EditMenu, "Edit menu", "Edit menu;menus;editing",
     "Edit operations on the active editor window: undo, and the Clipboard commands."},
    {SearchMenu, "Search menu", "Search menu;menus",
     "Search and error operations: finding and replacing text in the active window, and stepping through the messages of the last Assemble run."},
    {AssembleMenu, "Assemble menu", "Assemble menu;menus",
     "Assembler operations: choosing the main file and assembling it. See also [[40]]."},
    {OptionsMenu, "Options menu", "Options menu;menus;options",
     "Assembler options of the workbench: the editor font and tab size, and saving and restoring the desktop. Options of the assembly itself (object format, listing, case) are set by directives in the source; see [[33]]."},
    {WindowMenu, "Window menu", "Window menu;menus;windows",
     "Window arrangement and selection."},
    {HelpMenu, "Help menu", "Help menu;menus",
     "Access to this online help."},
};

std::string MenuBody(const TMenuText& menu) {
  std::string body = menu.Intro;
  body += "\n\n";
  for (const TCommandText& c : Commands) {
    if (c.Menu != menu.Context) continue;
    body += "- [[" + std::to_string(c.Id) + "]]";
    if (c.Key) body += std::string(" (") + c.Key + ")";
    body += "\n";
  }
  body += "\nSee also: [[1|Contents]], [[41]].";
  return body;
}

std::string CommandBody(const TCommandText& c) {
  std::string body = c.Body;
  body += "\n\n## At a glance\n";
  body += std::string("- Menu: ") + c.MenuPath + "\n";
  body += std::string("- Key: ") + (c.Key ? c.Key : "none") + "\n";
  if (c.Toolbar) body += std::string("- Toolbar: the ") + c.Toolbar + " button\n";
  std::string available = c.Available;
  body += "- Available: " + available;
  if (available.rfind("when", 0) == 0 || available.rfind("after", 0) == 0)
    body += "; otherwise the command is shown greyed and does nothing";
  else if (available != "always")
    body += "; the command is shown greyed";
  body += "\n";
  body += "\nSee also: [[" + std::to_string(c.Menu) + "]].";
  return body;
}

}  // namespace

void AddCommandHelpTopics(std::vector<THelpTopic>& topics) {
  for (const TMenuText& m : Menus) topics.push_back({m.Context, m.Title, m.Keywords, MenuBody(m)});
  for (const TCommandText& c : Commands) topics.push_back({c.Id, c.Title, c.Keywords, CommandBody(c)});
}
