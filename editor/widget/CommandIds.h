// The workbench's command numbers. They are fixed: contextual help shows the
// topic whose context number is the command's id, and the toolbar's buttons
// carry the same ids.
#pragma once

namespace Cmd {
enum : int {
  // File
  New = 24331, Open = 24332, Close = 24339, Save = 24333, SaveAs = 24334, SaveAll = 24335,
  Print = 24337, PrintPreview = 24340, PageSetup = 24338, Exit = 24310,
  // Edit
  Undo = 24321, Cut = 24322, Copy = 24323, Paste = 24324, Delete = 24325, SelectAll = 24326,
  // Search
  Find = 24351, Replace = 24352, FindNext = 24353, PreviousError = 24354, NextError = 24355,
  // Assemble
  Assemble = 24381, MainFile = 24382,
  // Options
  Font = 24371, Tabs = 24372, SaveDesktop = 24373, RestoreDesktop = 24374,
  // Window
  Cascade = 24361, TileVertical = 24362, TileHorizontal = 24363, ArrangeIcons = 24364,
  CloseAll = 24365,
  // Help
  HelpContents = 2001, HelpUsing = 2002, HelpIndex = 2003, HelpContext = 2004, About = 2009,
  // Recent files: FirstRecent + entry index
  FirstRecent = 31990, LastRecent = 31999,
};
}  // namespace Cmd
