// The gallery's designs are summarised and drawn without a widget: QtGui's
// pictures are found, Qt Widgets is not.
#include <QImage>
#include <QWidget>
