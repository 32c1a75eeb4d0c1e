// Object names of the window's controls: the names of the window descriptions, by which the
// code, the tests and docs/window-names.md find them.
#pragma once

#include <QObject>
#include <QString>

namespace quorvel {

template <typename T>
T* Named(T* object, const char* name) {
  object->setObjectName(QString::fromLatin1(name));
  return object;
}

}  // namespace quorvel
