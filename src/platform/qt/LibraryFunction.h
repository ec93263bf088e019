#pragma once

#include <QLibrary>

namespace platform::qt {

// Looks up a function of a library loaded at run time; answers whether it is there.
template <typename Function>
bool Resolve(QLibrary& library, Function*& function, const char* name) {
  function = reinterpret_cast<Function*>(library.resolve(name));
  return function != nullptr;
}

}  // namespace platform::qt
