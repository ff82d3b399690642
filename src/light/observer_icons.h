#pragma once

#include <QIcon>

namespace brillora {

// The pictures of the head and body buttons by their image numbers: 2 the
// head masked in, 3 not; 4 the body masked in, 5 not.
QIcon ObserverIcon(int image);

}  // namespace brillora
