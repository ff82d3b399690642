#include "ui/design_document.h"

#include <QFileInfo>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <utility>

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

bool EndsInAsc(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".asc";
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

const DesignState& DesignDocument::State() const {
  if (fixed_) return fixed_->state;
  return editor_ ? editor_->State() : noDesign_;
}

bool DesignDocument::IsModified() const { return !fixed_ && editor_ && editor_->IsModified(); }

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

// A GemCad design opens for editing when it fits the tier model; else it is
// told why and opens as a fixed stone, unless its facets enclose no stone.
bool DesignDocument::OpenGemCad(const QString& file) {
  GemCadReadResult read = ReadGemCadFile(PathOf(file));
  if (!read.ok()) {
    desk_.Tell(QString::fromStdString(read.error));
    return false;
  }
  const GemCadFit fit = FitTierModel(read.design);
  if (fit.design) {
    if (!Install(*fit.design, file, read.design.refractiveIndex, std::nullopt)) return false;
    desk_.ReadingDesign();
    return true;
  }
  desk_.Tell(QString::fromStdString("This GemCad design does not fit the tiers of a design: " + fit.misfit + "."));
  std::optional<FixedStone> fixed = MakeFixedStone(std::move(read.design));
  if (!fixed) return false;
  return InstallFixed(std::move(*fixed), file);
}

bool DesignDocument::InstallFixed(FixedStone fixed, const QString& file) {
  // The editor stays behind the stone, with the default design if there was
  // none yet, so that a design of tiers opened later has it to go into.
  if (!editor_) editor_ = std::make_unique<StepEditor>(observer_);
  const double refractiveIndex = fixed.design.refractiveIndex;
  fixed_ = std::move(fixed);
  fileName_ = QFileInfo(file).fileName();
  parameters_.ApplyLoadedIndex(refractiveIndex, std::nullopt);
  desk_.ReadingDesign();
  observer_.StoneRebuilt();
  return true;
}

bool DesignDocument::Install(const Design& design, const QString& file, double refractiveIndex,
                             std::optional<double> dispersion) {
  if (!editor_) {
    editor_ = std::make_unique<StepEditor>(design, observer_);
    observer_.StoneRebuilt();  // the editor's first rebuild ran before it could be asked for its stone
  } else {
    // The windows are shown the editor's stone as it rebuilds: the fixed
    // stone goes first, and comes back when the design is refused.
    std::optional<FixedStone> shown = std::exchange(fixed_, std::nullopt);
    if (!editor_->InstallDesign(design)) {
      fixed_ = std::move(shown);
      return false;
    }
    if (shown) observer_.StoneRebuilt();  // in case the editor's design was the same and did not rebuild
  }
  fileName_ = QFileInfo(file).fileName();
  parameters_.ApplyLoadedIndex(refractiveIndex, dispersion);
  return true;
}

bool DesignDocument::Save(const QString& file) {
  if (fixed_) return SaveFixed(file);
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

bool DesignDocument::SaveFixed(const QString& file) {
  std::filesystem::path path = PathOf(file);
  if (!EndsInAsc(path)) path.replace_extension(".asc");
  GemCadDesign design = fixed_->design;
  design.refractiveIndex = parameters_.RefractiveIndex();
  const std::string error = WriteGemCadFile(path, design);
  if (!error.empty()) {
    desk_.Tell(QString::fromStdString(error));
    return false;
  }
  fixed_->design = std::move(design);
  fileName_ = QString::fromStdString(path.filename().string());
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
