#include "ui/design_document.h"

#include <QFileInfo>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>

#include "io/design_file.h"
#include "io/gemcad_file.h"
#include "model/gemcad_fit.h"
#include "model/step_editor.h"
#include "params/stone_parameters.h"

namespace brillora {

namespace {

std::filesystem::path PathOf(const QString& file) { return file.toStdString(); }

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// ".brl" and ".txt" in any case, as the design reader takes them.
bool IsDesignName(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".brl" || extension == ".txt";
}

}  // namespace

DesignDocument::DesignDocument(EditorObserver& observer, StoneParameters& parameters, DocumentDesk& desk)
    : observer_(observer), parameters_(parameters), desk_(desk) {}

DesignDocument::~DesignDocument() = default;

void DesignDocument::StartDefault() {
  if (editor_) return;
  editor_ = std::make_unique<StepEditor>(observer_);
  observer_.StoneRebuilt();  // the editor's first rebuild ran before it could be asked for its stone
}

const DesignState& DesignDocument::State() const { return editor_ ? editor_->State() : noDesign_; }

bool DesignDocument::IsModified() const { return editor_ && editor_->IsModified(); }

QString DesignDocument::Caption() const {
  return (fileName_.isEmpty() ? QString("  Brillora.") : fileName_) + (IsModified() ? " *" : "");
}

bool DesignDocument::Open(const QString& file) {
  const std::filesystem::path path = PathOf(file);
  const bool gemCad = IsGemCadName(path);
  // A name no reader takes is refused before anything is asked.
  if (!gemCad && !IsDesignName(path)) {
    desk_.Tell(Text(kInvalidFileType));
    return false;
  }
  if (!MayReplace()) return false;
  return gemCad ? OpenGemCad(file) : OpenDesign(file);
}

bool DesignDocument::OpenDesign(const QString& file) {
  const DesignReadResult read = ReadDesignFile(PathOf(file));
  desk_.ReadingDesign();
  if (!read.ok()) {
    desk_.Tell(QString::fromStdString(read.error));
    return false;
  }
  if (!Install(read.design, file, read.refractiveIndex, read.dispersion)) {
    desk_.Tell(Text(kInvalidFileFormat));
    return false;
  }
  return true;
}

// A GemCad design opens for editing only when it fits the tier model; else
// the current design stays.
bool DesignDocument::OpenGemCad(const QString& file) {
  const GemCadReadResult read = ReadGemCadFile(PathOf(file));
  if (!read.ok()) {
    desk_.Tell(QString::fromStdString(read.error));
    return false;
  }
  const GemCadFit fit = FitTierModel(read.design);
  if (!fit.design) {
    desk_.Tell(QString::fromStdString("This GemCad design does not fit the tiers of a design: " + fit.misfit + "."));
    return false;
  }
  if (!Install(*fit.design, file, read.design.refractiveIndex, std::nullopt)) return false;
  desk_.ReadingDesign();
  return true;
}

bool DesignDocument::Install(const Design& design, const QString& file, double refractiveIndex,
                             std::optional<double> dispersion) {
  if (!editor_) {
    editor_ = std::make_unique<StepEditor>(design, observer_);
    observer_.StoneRebuilt();  // the editor's first rebuild ran before it could be asked for its stone
  } else if (!editor_->InstallDesign(design)) {
    return false;
  }
  fileName_ = QFileInfo(file).fileName();
  parameters_.ApplyLoadedIndex(refractiveIndex, dispersion);
  return true;
}

bool DesignDocument::Save(const QString& file) {
  if (!editor_) return false;
  const DesignSaveResult saved = SaveDesignFile(PathOf(file), editor_->CurrentDesign(),
                                                 parameters_.RefractiveIndex(), parameters_.Dispersion());
  if (!saved.written) {
    if (!saved.error.empty()) desk_.Tell(QString::fromStdString(saved.error));
    return false;
  }
  editor_->MarkSaved();
  fileName_ = QFileInfo(file).fileName();
  return true;
}

bool DesignDocument::SaveAs() {
  const QString file = desk_.AskFileToSave();
  return !file.isEmpty() && Save(file);
}

bool DesignDocument::MayReplace() {
  if (!IsModified()) return true;
  switch (desk_.AskToSaveChanges()) {
    case DocumentDesk::Unsaved::Save: return SaveAs();
    case DocumentDesk::Unsaved::Discard: return true;
    case DocumentDesk::Unsaved::Cancel: return false;
  }
  return false;
}

bool DesignDocument::MayClose() {
  if (!closing_) closing_ = MayReplace();
  return closing_;
}

}  // namespace brillora
