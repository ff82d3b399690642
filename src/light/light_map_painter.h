#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <cstdint>
#include <vector>

#include "light/globe_grid.h"
#include "light/illumination_model.h"
#include "trace/screen_polygon.h"

namespace brillora {

// The colour around the disk where no window palette says otherwise.
inline const QColor kButtonFace{240, 240, 240};

// The light map display: the disk of directions painted with the surroundings,
// its outline, the globe grid, one spot per beam that lights the picture, and
// the labels. The window and brillora-cli draw through it alike.
class LightMapPainter {
 public:
  LightMapPainter();

  // The display turned (or its page changed): which grid points face the viewer.
  void Project(const Frame& mapView);
  // The display's client size changed.
  void Resize(QSize size);
  QSize Size() const { return size_; }
  const DisplaySquare& Square() const { return square_; }
  const GlobeGrid& Grid() const { return grid_; }

  // A picture of the display's client size: `polygons` are the picture
  // window's, `face` the colour around the disk.
  QImage Paint(const IlluminationModel& model, const ArrayOfFOS& polygons, QColor face);

 private:
  GlobeGrid grid_;
  DisplaySquare square_;
  QSize size_;
  std::vector<std::uint8_t> texture_;
};

}  // namespace brillora
