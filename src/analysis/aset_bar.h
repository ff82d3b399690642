#pragma once

#include <array>

#include <QWidget>

namespace brillora {

// The ASET shares of the light performance figures as one bar across the
// whole outline: red, green, blue and black from the left, in their own
// colours, and what the figures leave unresolved in grey at the right end.
class AsetBar : public QWidget {
 public:
  explicit AsetBar(QWidget* parent = nullptr);

  // Shares of the outline, 0 .. 1 each.
  void SetShares(double red, double green, double blue, double black);
 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<double, 4> shares_{};
};

}  // namespace brillora
