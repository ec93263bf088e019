// Applies arbitrary bytes as a design property list. The first byte picks the kind
// of object, the rest is the list. Any input may raise a RuntimeException; nothing
// may crash, read out of bounds or hit undefined behaviour.
//
// Every input gets a window and controls of its own, so that an input found to
// fail fails again when run alone, and they are gone before the next input: no
// event loop runs here, so the deletions Qt defers are carried out by hand.
//
// Out-of-range sizes make Qt warn on every such input; only its critical and fatal
// messages are let through, so that what the sanitizers report stands out.
#include <QApplication>
#include <QEvent>
#include <cstdint>
#include <cstdlib>

#include "platform/Canvas.h"
#include "platform/ControlBuilding.h"
#include "platform/Label.h"
#include "platform/PushButton.h"
#include "platform/Runtime.h"
#include "platform/Window.h"

using namespace platform;

namespace {

QtMessageHandler qtHandler = nullptr;

void DropQtChatter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) qtHandler(type, context, message);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qtHandler = qInstallMessageHandler(DropQtChatter);
  RuntimeInit(*argc, *argv);
  RuntimePerformInitializers({});
  // libFuzzer ends the process with exit(): Qt's objects must go before Qt does.
  std::atexit([] {
    RuntimePerformFinalizers();
    RuntimeExit();
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  {
    auto window = New<Window>();
    NewControl<Label>(*window, "label");
    NewControl<PushButton>(*window, "button");
    NewControl<Canvas>(*window, "canvas");
    const char* names[] = {"label", "button", "canvas"};
    const unsigned kind = data[0] % 4;
    Object& target = kind == 3 ? static_cast<Object&>(*window)
                               : static_cast<Object&>(*window->ControlByName_(names[kind]));
    try {
      SetProperties_(target, DesignList(reinterpret_cast<const char*>(data + 1), size - 1));
    } catch (const RuntimeException&) {
    }
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return 0;
}
