#include "analysis/aset_bar.h"

#include <QPainter>

namespace brillora {

namespace {

const std::array<QColor, 4> kShareColours = {QColor(220, 0, 0), QColor(0, 170, 0), QColor(0, 0, 220),
                                             QColor(0, 0, 0)};
const QColor kUnresolvedColour(190, 190, 190);

}  // namespace

AsetBar::AsetBar(QWidget* parent) : QWidget(parent) {
  setObjectName("AsetBar");
  setMinimumSize(120, 14);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setToolTip("ASET: red to 45 degrees, green beyond, blue from the head, black leaking; grey unresolved");
}

void AsetBar::SetShares(double red, double green, double blue, double black) {
  shares_ = {red, green, blue, black};
  update();
}

void AsetBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kUnresolvedColour);
  double start = 0;
  for (std::size_t k = 0; k < shares_.size(); ++k) {
    const double end = start + std::max(0.0, shares_[k]);
    const int left = static_cast<int>(start * width() + 0.5), right = static_cast<int>(end * width() + 0.5);
    if (right > left) painter.fillRect(left, 0, std::min(right, width()) - left, height(), kShareColours[k]);
    start = end;
  }
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace brillora
