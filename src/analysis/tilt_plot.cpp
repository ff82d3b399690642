#include "analysis/tilt_plot.h"

#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "analysis/tilt_chart.h"
#include "io/atomic_save.h"

namespace brillora {

namespace {

constexpr int kPlotWidth = 900;
constexpr int kPlotHeight = 600;

bool EndsWith(const std::string& text, const std::string& end) {
  if (text.size() < end.size()) return false;
  return std::equal(end.rbegin(), end.rend(), text.rbegin(),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

bool PlotFormatKnown(const std::string& path) { return EndsWith(path, ".png") || EndsWith(path, ".svg"); }

std::optional<std::string> WriteTiltPlot(const std::vector<TiltCurve>& curves, const std::string& path) {
  if (!PlotFormatKnown(path)) return "the plot's file name must end in .png or .svg";
  QGraphicsScene scene;
  auto* chart = new QChart;
  scene.addItem(chart);  // the scene owns it from here
  chart->setTitle("Tilt curves");
  ShowTiltCurves(*chart, curves);
  const QRectF area(0, 0, kPlotWidth, kPlotHeight);
  chart->setGeometry(area);
  // A chart never shown lays itself out when given the events that carry its size.
  QCoreApplication::sendPostedEvents();
  const auto draw = [&](QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, area, area);
  };

  // Drawn in memory, then saved as every file of the program is.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool drawn = false;
  if (EndsWith(path, ".svg")) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(kPlotWidth, kPlotHeight));
    svg.setViewBox(QRect(0, 0, kPlotWidth, kPlotHeight));
    svg.setTitle("Tilt curves");
    QPainter painter;
    drawn = painter.begin(&svg);
    if (drawn) {
      draw(painter);
      drawn = painter.end();
    }
  } else {
    QImage image(kPlotWidth, kPlotHeight, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      draw(painter);
    }
    drawn = image.save(&buffer, "PNG");
  }
  if (!drawn) return std::string("the plot could not be drawn");
  AtomicSave out(path);
  if (out.Write(bytes.constData(), static_cast<std::size_t>(bytes.size())) && out.Commit()) return std::nullopt;
  return out.Error();
}

}  // namespace brillora
