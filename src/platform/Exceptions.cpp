#include "platform/Exceptions.h"

#include <QCoreApplication>
#include <QThread>

namespace platform {

void RaiseNilObjectException(std::string_view what) {
  throw NilObjectException(std::string(what) + " is nil");
}

void RequireMainThread(std::string_view operation) {
  const auto* app = QCoreApplication::instance();
  if (app && QThread::currentThread() != app->thread()) {
    throw ThreadAccessingUIException(std::string(operation) +
                                     " was called from a thread other than the main thread");
  }
}

}  // namespace platform
