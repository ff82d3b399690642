#include "analysis/tilt_chart.h"

#include <algorithm>
#include <array>

#include <QLegend>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

namespace brillora {

namespace {

struct Figure {
  const char* name;
  QColor colour;
  double TiltPoint::*value;
};

const std::array<Figure, 3> kFigures = {{{"ISO", QColor(30, 90, 200), &TiltPoint::Iso},
                                         {"COS", QColor(200, 60, 40), &TiltPoint::Cos},
                                         {"SC2", QColor(40, 150, 60), &TiltPoint::Sc2}}};

const std::array<Qt::PenStyle, 4> kAxisStyles = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine};

// The chart's value axis in `orientation`, made on first use.
QValueAxis* AxisOf(QChart& chart, Qt::Orientation orientation, Qt::Alignment side, const char* title) {
  const QList<QAbstractAxis*> axes = chart.axes(orientation);
  if (!axes.isEmpty()) return qobject_cast<QValueAxis*>(axes.front());
  auto* axis = new QValueAxis(&chart);
  axis->setTitleText(title);
  chart.addAxis(axis, side);
  return axis;
}

}  // namespace

void ShowTiltCurves(QChart& chart, const std::vector<TiltCurve>& curves) {
  chart.removeAllSeries();  // deletes them
  // One entry a line beside the curves: a row below them would cut the labels
  // short once a few axes are shown.
  chart.legend()->setAlignment(Qt::AlignRight);
  QValueAxis* x = AxisOf(chart, Qt::Horizontal, Qt::AlignBottom, "Tilt (degrees)");
  QValueAxis* y = AxisOf(chart, Qt::Vertical, Qt::AlignLeft, "Light return (%)");
  y->setRange(0, 100);
  double most = 0;
  for (const TiltCurve& c : curves) {
    if (!c.Points.empty()) most = std::max({most, -c.Points.front().Angle, c.Points.back().Angle});
  }
  x->setRange(-most, most);
  for (std::size_t a = 0; a < curves.size(); ++a) {
    for (const Figure& figure : kFigures) {
      auto* series = new QLineSeries(&chart);
      series->setName(QString("%1 at %2°").arg(figure.name).arg(curves[a].Azimuth, 0, 'f', 1));
      QPen pen(figure.colour);
      pen.setWidthF(2);
      pen.setStyle(kAxisStyles[a % kAxisStyles.size()]);
      series->setPen(pen);
      for (const TiltPoint& p : curves[a].Points) series->append(p.Angle, 100 * (p.*figure.value));
      chart.addSeries(series);
      series->attachAxis(x);
      series->attachAxis(y);
    }
  }
}

}  // namespace brillora
