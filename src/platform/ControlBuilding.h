#pragma once

#include <string>
#include <string_view>

#include "platform/Control.h"
#include "platform/Delegate.h"
#include "platform/DesignList.h"
#include "platform/Ref.h"
#include "platform/Window.h"

namespace platform {

// The steps by which a window builds its controls. Every step after the first
// finds the control again by name in the window's registry.

// The control registered under the name, as C.
template <class C>
Ref<C> ControlNamed(Ref<Window> window, std::string_view name) {
  return RuntimeCheckCast<C>(window->ControlByName_(name));
}

// Creates a control of class C in the window, runs its constructor and registers
// it under the name.
template <class C>
void NewControl(Window& window, const std::string& name) {
  Ref<C> control = window.New_<C>();
  control->Constructor();
  window.AddControl_(name, control);
}

// Applies the control's design property list.
template <class C>
void ApplyDesign(Window& window, std::string_view name, DesignList list) {
  SetProperties_(*ControlNamed<C>(RefTo(window), name), list);
}

// Binds the window's handler method to the control's event, named as the
// control's class declares it.
template <class C, class W, class Method>
void BindEvent(W& window, std::string_view name, std::string_view event, Method handler,
               const std::string& signature) {
  Ref<C> control = ControlNamed<C>(RefTo(window), name);
  const int number = control->EventNumber(event);
  RuntimeAddEventHandler(control, number, RuntimeCreateDelegate(handler, RefTo(window), signature));
}

}  // namespace platform
