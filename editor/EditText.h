// The text of one editor window: line store, caret and selection, the
// Modified and Overwrite flags, the editing operations, the undo journal,
// search and the clipboard text. The window (a TEditView) only paints,
// measures and turns events into calls of this class.
#pragma once

#include "BufferPos.h"
#include "EditView.h"
#include "FindData.h"
#include "Journal.h"
#include "LineStore.h"

#include <cstdint>
#include <string>
#include <string_view>

// Caption of the load messages: the application's name.
inline constexpr std::string_view AppName = "Tarnex Meta-Assembler";
// A multi-line copy stops when its text reaches this length (2^30 - 1).
inline constexpr std::int64_t MaxClipboardText = 1073741823;
// The horizontal scroll range the model asks for, in character widths.
inline constexpr std::int64_t HorzScrollRange = 100;

class TTarnEditText {
public:
  using TIndex = TBufferPos::TIndex;

  // Without a view the model measures with a fixed-pitch font and shows nothing.
  explicit TTarnEditText(TEditView* view = nullptr);
  TTarnEditText(const TTarnEditText&) = delete;
  TTarnEditText& operator=(const TTarnEditText&) = delete;
  virtual ~TTarnEditText() = default;

  void SetView(TEditView* view) { View = view ? view : &NoView; }
  TEditView& GetView() const { return *View; }

  // --- Files ---
  // Replaces the text by the contents of FileName. Returns false when the load
  // stopped early (the window has been shown why); what was read stays.
  bool LoadFile();
  // Writes every line with CR LF to FileName. The file stays the same file
  // (links, owner, mode) and a failed save leaves its old text on disk or, if
  // even that went wrong, in a backup the failure message names. Only a
  // successful save clears Modified and the journal; a failure is shown to the
  // user and reported as false. The window handles an empty FileName (Save as).
  bool Save();

  // --- Editing operations (record = journal the change for Undo) ---
  void DeleteChar();
  void DeleteSelection(bool record);
  void InsertChar(char ch, bool record);
  void InsertText(std::string_view text, bool record);

  // --- Undo journal ---
  void Undo();
  bool CanUndo() const { return !Journal.Empty(); }
  void ClearJournal() { Journal.Clear(); }

  // --- Selection ---
  // Stale positions are brought back into the text, and a reversed selection
  // is put in order; every edit and clipboard operation does this first.
  void ValidatePositions();
  void OrderSelection();
  bool HasSelection();

  // --- Caret geometry, through the view's metrics ---
  TEditPoint PosToPoint(const TBufferPos& pos);
  TBufferPos PointToPos(std::int64_t x, std::int64_t y) const;
  void InvalidateToLineEnd(const TBufferPos& pos);
  void MoveCaretLines(std::int64_t n);
  // Line and column are 1-based; the column counts display columns with a
  // tab stop every 8, whatever the tab size setting.
  void GoToLineColumn(std::int64_t line, std::int64_t column);
  // The scroll origin (XPos, YPos) that brings the caret's cell into a client
  // area of the given size; false when the caret is visible already.
  bool CaretScrollOrigin(std::int64_t clientWidth, std::int64_t clientHeight,
                         TEditPoint& origin);

  // --- Keys and mouse, as far as they concern the text ---
  void Backspace();
  // A typed character repeated; control codes other than TAB and CR are
  // ignored, CR is a line break.
  void TypeChar(char ch, int repeat = 1);
  // After a caret movement key: extends the selection with Shift, else
  // collapses it at the caret. Returns whether the window must repaint.
  bool TrackSelection(const TBufferPos& caretBefore, bool shift);
  // Double click: selects the word around the caret.
  void SelectWord();

  // --- Edit menu ---
  bool CopyToClipboard();
  // The text a copy of the selection puts on the clipboard, with CR LF line
  // ends; false when it would be too large.
  bool SelectionText(std::string& text);
  void Cut();
  void Copy();
  // Inserts clipboard text; its CR bytes are left out.
  void Paste(std::string_view clipboardText);
  void Delete();
  void SelectAll();

  // --- Search ---
  bool Find(bool down, bool matchCase, bool wholeWord, std::string_view text);
  void ReplaceSelection(std::string_view text);
  void ReplaceAll();
  // Carries out the request in FindData.Flags (find next, replace or replace
  // all). Closing the dialog and the cursors are the window's part.
  void ProcessFindData();
  // The Next command.
  void FindNext();

  std::string FileName;
  TLineStore Lines;
  TBufferPos Caret{Lines};
  TBufferPos SelStart{Lines};
  TBufferPos SelEnd{Lines};
  TJournal Journal;
  bool Modified = false;
  bool Overwrite = false;
  TFindData FindData;
  // Loading stops at this many lines; tests lower it.
  TIndex LoadLimit = MaxLines;

private:
  void RecordDeletion();
  void JoinDeletionChain(JEDelete& newest);
  void Message(const std::string& text, std::string_view caption, TMessageIcon icon);
  // keptIn: where the old text is kept when the file itself may be damaged.
  void SaveFailed(const std::string& reason, const std::string& keptIn = {});

  TFixedPitchView NoView;
  TEditView* View;
};
