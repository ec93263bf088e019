#include "platform/Object.h"

namespace platform {

const ClassInfo& Object::Class() {
  static const ClassInfo& info = RegisterClass({.name = "Object"});
  return info;
}

bool Object::IsEventImplemented(const std::string& event) const {
  return RuntimeIsEventHandled_(*this, RuntimeClass().Name(), event, true);
}

std::optional<Value> Object::StoredValue(const std::string& name) const {
  auto it = stored_.find(name);
  if (it == stored_.end()) return std::nullopt;
  return it->second;
}

void Object::StoreValue(const std::string& name, Value value) { stored_[name] = std::move(value); }

}  // namespace platform
