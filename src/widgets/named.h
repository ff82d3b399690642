#pragma once

#include <QString>

namespace brillora {

// Gives a widget (or an action, a menu, any object) the name that tests and
// style sheets find it by, where it is made.
template <typename Object>
Object* Named(Object* object, const QString& name) {
  object->setObjectName(name);
  return object;
}

}  // namespace brillora
