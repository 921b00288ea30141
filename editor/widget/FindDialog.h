// The modeless find and replace dialogs of one editor window. Both edit the
// window's FindData: each button copies the fields into it together with the
// one request bit (find next, replace, replace all) and asks the window to
// carry the request out; closing marks the data with FR_DIALOGTERM so the
// window forgets the dialog.
#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct TFindData;

class TFindReplaceDialog : public QDialog {
  Q_OBJECT
public:
  enum class TKind { Find, Replace };

  // The fields start from DATA; the dialog keeps a reference to it for life.
  TFindReplaceDialog(QWidget* parent, TKind kind, TFindData& data);

  TKind Kind() const { return DialogKind; }
  bool IsReplace() const { return DialogKind == TKind::Replace; }

  // Copies the field values (texts and options) into the data; the request
  // bits are left alone.
  void TakeFields();
  // Whether the Find what field holds text now.
  bool HasFindText() const;
  // Gives the Find what field the keyboard focus, its text selected.
  void FocusFindField();
  // Cuts the tie to the data before the owner goes away; the dialog then
  // neither writes nor notifies any more.
  void Detach();

signals:
  // The data holds a request (FR_FINDNEXT, FR_REPLACE or FR_REPLACEALL).
  void Request();
  // The dialog is closing; the data holds FR_DIALOGTERM.
  void Terminated();

private:
  void Send(std::uint32_t requestBit);
  void Closed();
  void UpdateButtons();

  TKind DialogKind;
  TFindData* Data;
  QLineEdit* FindWhat = nullptr;
  QLineEdit* ReplaceWith = nullptr;
  QCheckBox* WholeWord = nullptr;
  QCheckBox* MatchCase = nullptr;
  QRadioButton* Up = nullptr;
  QRadioButton* Down = nullptr;
  QPushButton* FindNextButton = nullptr;
  QPushButton* ReplaceButton = nullptr;
  QPushButton* ReplaceAllButton = nullptr;
  QPushButton* CancelButton = nullptr;
};
