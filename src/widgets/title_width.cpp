#include "widgets/title_width.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace brillora {

int TitleBarWidth(const QWidget& window) {
  // The platform's title bar font, where it names one, is kept under this class name.
  const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
  const int button = std::max(window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window),
                              metrics.height() + 8);
  // The icon, the close button, and the margins of the bar together.
  return metrics.horizontalAdvance(window.windowTitle()) + 3 * button;
}

}  // namespace brillora
