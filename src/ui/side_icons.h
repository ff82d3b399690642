#pragma once

#include <QIcon>

namespace brillora {

// The pictures of the two side tabs: a stone outline with the crown or the
// pavilion filled.
QIcon CrownIcon();
QIcon PavilionIcon();

}  // namespace brillora
