#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "model/design_state.h"
#include "model/gemcad_design.h"

class QWidget;

namespace brillora {

// The width across the girdle's corners that the desktop gives a 3D model.
inline constexpr double kModelDiameterMm = 10.0;

// Asks for the name of a file to export to; the chosen filter's extension is
// added to a name without one of the filters' extensions, and replacing the
// file so named is asked about. Empty when cancelled.
QString AskExportFile(QWidget* parent, const QString& caption, const QStringList& filters);

// Writes the design as a GemCad text design named `name`; a failure is
// reported in a message box.
bool ExportGemCadDesign(QWidget* parent, const Design& design, double refractiveIndex, const QString& name,
                        const QString& file);

// Writes a GemCad design as it is, in the refractive index in use.
bool ExportGemCadDesign(QWidget* parent, GemCadDesign design, double refractiveIndex, const QString& file);

// Writes the stone as a 3D model (the name's extension, .stl or .obj, picks
// the format), a group for the facets of each Step named by `stepNames`; a
// failure is reported in a message box.
bool Export3DModel(QWidget* parent, const Stone& stone, const std::vector<std::string>& stepNames,
                   const QString& file);
// A design's stone, its groups named by the tiers of its steps.
bool Export3DModel(QWidget* parent, const DesignState& state, const QString& file);

}  // namespace brillora
