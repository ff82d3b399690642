#include "ui/design_exports.h"

#include <QFileInfo>
#include <QMessageBox>

#include "io/gemcad_file.h"
#include "io/mesh_file.h"
#include "model/gemcad_design.h"
#include "model/stone_mesh.h"
#include "widgets/file_dialog.h"

namespace brillora {

namespace {

void Report(QWidget* parent, const std::string& message) {
  QMessageBox::information(parent, "Brillora", QString::fromStdString(message));
}

}  // namespace

QString AskExportFile(QWidget* parent, const QString& caption, const QStringList& filters) {
  FileDialog dialog(parent, QFileDialog::AcceptSave, "ExportDialog");
  dialog.setWindowTitle(caption);
  dialog.setNameFilters(filters);
  // A name with the extension of any of the filters names its format itself.
  dialog.SetNameRule([filters](const QString& chosen, const QString& filter) {
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    for (const QString& offered : filters) {
      if (ExtensionOfFilter(offered) == suffix) return chosen;
    }
    return chosen + "." + ExtensionOfFilter(filter);
  });
  return dialog.Ask();
}

bool ExportGemCadDesign(QWidget* parent, const Design& design, double refractiveIndex, const QString& name,
                        const QString& file) {
  const std::string error =
      WriteGemCadFile(file.toStdString(), GemCadOf(design, refractiveIndex, name.toStdString()));
  if (!error.empty()) Report(parent, error);
  return error.empty();
}

bool ExportGemCadDesign(QWidget* parent, GemCadDesign design, double refractiveIndex, const QString& file) {
  design.refractiveIndex = refractiveIndex;
  const std::string error = WriteGemCadFile(file.toStdString(), design);
  if (!error.empty()) Report(parent, error);
  return error.empty();
}

bool Export3DModel(QWidget* parent, const Stone& stone, const std::vector<std::string>& stepNames,
                   const QString& file) {
  if (stone.AllFacets.empty()) {
    Report(parent, "The design's planes enclose no stone to export.");
    return false;
  }
  const StoneMesh mesh = MeshOfStone(stone, stepNames, kModelDiameterMm / 2.0);
  const std::string error =
      WriteMeshFile(file.toStdString(), mesh, "Brillora stone " + QFileInfo(file).completeBaseName().toStdString());
  if (!error.empty()) Report(parent, error);
  return error.empty();
}

bool Export3DModel(QWidget* parent, const DesignState& state, const QString& file) {
  return Export3DModel(
      parent, *state.stone,
      TierNames(static_cast<int>(state.PavilionSteps.size()), static_cast<int>(state.CrownSteps.size())), file);
}

}  // namespace brillora
