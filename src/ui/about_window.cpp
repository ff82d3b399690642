#include "ui/about_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace brillora {

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle("About");
  auto* product = new QLabel("Brillora", this);
  product->setObjectName("ProductName");
  QFont big = product->font();
  big.setPointSize(big.pointSize() + 8);
  big.setBold(true);
  big.setItalic(true);
  product->setFont(big);
  auto* version = new QLabel("Release Version 1.01", this);
  version->setObjectName("Version");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->setObjectName("OKButton");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(product, 0, Qt::AlignHCenter);
  layout->addWidget(version, 0, Qt::AlignHCenter);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

}  // namespace brillora
