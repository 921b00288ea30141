// The modal "Assembling" dialog: runs the engine on the main file and shows its progress.
#pragma once
#include <QDialog>
#include <cstdint>
#include <string>

#include "Messages.h"

class QLabel;
class QPushButton;
class TTarn;

// Shown when a run stops because memory ran out.
inline const char* const OutOfMemoryText =
    "Out of memory: the run was stopped, and the files it was writing may be incomplete.";

class TTarnDialog : public QDialog {
  Q_OBJECT
 public:
  enum : int { AssembleId = 217, CancelId = 2, OkId = 1, FirstField = 208, LastField = 215 };

  TTarnDialog(QWidget* parent, std::string mainFile);
  ~TTarnDialog() override;

  QPushButton* AssembleButton() const;
  QPushButton* CancelButton() const;
  QPushButton* OkButton() const;
  QLabel* Field(int id) const;  // 208..215, nullptr for any other id
  bool Assembled() const;       // the Assemble button ran the engine
  uint16_t ErrorCount() const;  // its result (0 when not assembled)
  const TOutputNames& Names() const;  // set when the Assemble button ran
  const std::string& MainFile() const { return MainPath; }

 public slots:
  void AssembleClicked();  // derive the names, run the engine, show Ok

 private:
  std::string MainPath;
  TOutputNames OutputFiles;
  QPushButton* AssembleBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* OkBtn = nullptr;
  QLabel* Fields[LastField - FirstField + 1] = {};
  bool Ran = false;
  uint16_t Errors = 0;
};

// The process-wide progress field table and ShowProgress: keeps the field's text and repaints
// the fields without dispatching queued events (the run cannot be cancelled and nothing else
// may run meanwhile), at most about 20 times a second, always when a pass begins, with the
// checksum and when the run ends. Ids outside 208..215, or no dialog open, do nothing.
void ShowProgress(const char* text, int field);
// How often the fields have been painted since the program started (for tests).
int ProgressPaintCount();

// The engine state of the run in progress, or nullptr between runs.
TTarn* CurrentEngineState();
