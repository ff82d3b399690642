#include "analysis/tilt_plot.h"

#include <QChart>
#include <QGraphicsScene>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "analysis/tilt_chart.h"

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

  const QString name = QString::fromStdString(path);
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly)) return path + ": " + file.errorString().toStdString();
  bool drawn = false;
  if (EndsWith(path, ".svg")) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
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
    drawn = image.save(&file, "PNG");
  }
  if (!drawn) {
    file.cancelWriting();
    return path + ": the plot could not be drawn";
  }
  if (!file.commit()) return path + ": " + file.errorString().toStdString();
  return std::nullopt;
}

}  // namespace brillora
