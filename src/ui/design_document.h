#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "model/design_state.h"
#include "ui/fixed_stone.h"

namespace brillora {

class EditorObserver;
class StepEditor;
class StoneParameters;

// What the design document asks of the person at the desk, and tells the
// windows around it.
class DocumentDesk {
 public:
  enum class Unsaved { Save, Discard, Cancel };

  virtual ~DocumentDesk() = default;
  // "Save changes to the design?"
  virtual Unsaved AskToSaveChanges() = 0;
  // The save dialog: the file to write, with its extension; empty when cancelled.
  virtual QString AskFileToSave() = 0;
  // A message the user acknowledges.
  virtual void Tell(const QString& message) = 0;
  // A design file is being read: its cue plays, and the parameters window,
  // whose numbers no longer apply, hides.
  virtual void ReadingDesign() = 0;
};

// The design as a document: the step editor that holds the design and its
// history, the file it was opened from or saved to, and the question before a
// changed design is replaced, by another design or by the end of the program.
class DesignDocument {
 public:
  DesignDocument(EditorObserver& observer, StoneParameters& parameters, DocumentDesk& desk);
  ~DesignDocument();

  // Makes the default design, unless a design was opened already.
  void StartDefault();

  // Opens a design file (.brl or .txt, or a GemCad design: as tiers when it
  // fits them, else, after saying why, as a fixed stone). A changed design is
  // offered for saving first, and stays, with its history, when the user
  // cancels; a file that cannot be read is reported and keeps the design.
  bool Open(const QString& file);
  // Writes the design to the file, which the document is then named after. A
  // fixed stone is written as a GemCad design, under the name with ".asc".
  bool Save(const QString& file);
  // Asks for a file, then writes the design to it.
  bool SaveAs();
  // Whether a changed design may go: saved or discarded. Cancel, or a save
  // that was cancelled or failed, keeps it.
  bool MayReplace();
  // As MayReplace, for the end of the program: once it agreed, the program is
  // ending and it does not ask again.
  bool MayClose();

  // The GemCad design shown instead of the editor's, while one is open. It
  // never counts as changed: the material it is seen in is not part of it,
  // as for every design.
  const FixedStone* Fixed() const { return fixed_ ? &*fixed_ : nullptr; }
  // Exists once the first design is installed.
  StepEditor* Editor() { return editor_.get(); }
  const StepEditor* Editor() const { return editor_.get(); }
  const DesignState& State() const;
  bool IsModified() const;
  // The name of the file, empty before one was opened or saved.
  const QString& FileName() const { return fileName_; }
  // "  Brillora." or the file's name, marked " *" while the design differs
  // from the one opened or saved.
  QString Caption() const;

 private:
  bool OpenDesign(const QString& file);
  bool OpenGemCad(const QString& file);
  bool InstallFixed(FixedStone fixed, const QString& file);
  bool SaveFixed(const QString& file);
  // The dispersion only when the file holds one; else the material's stays.
  bool Install(const Design& design, const QString& file, double refractiveIndex, std::optional<double> dispersion);

  EditorObserver& observer_;
  StoneParameters& parameters_;
  DocumentDesk& desk_;
  std::unique_ptr<StepEditor> editor_;
  std::optional<FixedStone> fixed_;
  DesignState noDesign_;  // shown before the first design is installed
  QString fileName_;
  bool closing_ = false;
};

}  // namespace brillora
