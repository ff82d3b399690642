#include "ui/design_exports.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include "io/gemcad_file.h"
#include "io/mesh_file.h"
#include "model/gemcad_fit.h"
#include "model/stone_mesh.h"

namespace brillora {

namespace {

// The extension in "Name (*.ext)".
QString ExtensionOf(const QString& filter) {
  const QRegularExpressionMatch match = QRegularExpression(R"(\*\.(\w+))").match(filter);
  return match.hasMatch() ? match.captured(1) : QString();
}

void Report(QWidget* parent, const std::string& message) {
  QMessageBox::information(parent, "Brillora", QString::fromStdString(message));
}

}  // namespace

QString AskExportFile(QWidget* parent, const QString& caption, const QStringList& filters) {
  QFileDialog dialog(parent, caption);
  dialog.setObjectName("ExportDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(filters);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  QString name = dialog.selectedFiles().first();
  const QString suffix = QFileInfo(name).suffix().toLower();
  for (const QString& filter : filters) {
    if (ExtensionOf(filter) == suffix) return name;
  }
  return name + "." + ExtensionOf(dialog.selectedNameFilter());
}

bool ExportGemCadDesign(QWidget* parent, const Design& design, double refractiveIndex, const QString& name,
                        const QString& file) {
  const std::string error =
      WriteGemCadFile(file.toStdString(), GemCadOf(design, refractiveIndex, name.toStdString()));
  if (!error.empty()) Report(parent, error);
  return error.empty();
}

std::optional<Design> GemCadDesignToEdit(QWidget* parent, const QString& file, double& refractiveIndex) {
  const GemCadReadResult read = ReadGemCadFile(file.toStdString());
  if (!read.ok()) {
    Report(parent, read.error);
    return std::nullopt;
  }
  GemCadFit fit = FitTierModel(read.design);
  if (!fit.design) {
    Report(parent, "This GemCad design does not fit the tiers of a design: " + fit.misfit + ".");
    return std::nullopt;
  }
  refractiveIndex = read.design.refractiveIndex;
  return std::move(fit.design);
}

bool Export3DModel(QWidget* parent, const DesignState& state, const QString& file) {
  if (state.stone->AllFacets.empty()) {
    Report(parent, "The design's planes enclose no stone to export.");
    return false;
  }
  const StoneMesh mesh = MeshOfStone(
      *state.stone,
      TierNames(static_cast<int>(state.PavilionSteps.size()), static_cast<int>(state.CrownSteps.size())),
      kModelDiameterMm / 2.0);
  const std::string error =
      WriteMeshFile(file.toStdString(), mesh, "Brillora stone " + QFileInfo(file).completeBaseName().toStdString());
  if (!error.empty()) Report(parent, error);
  return error.empty();
}

}  // namespace brillora
