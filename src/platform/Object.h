#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/ClassInfo.h"
#include "platform/Value.h"

namespace platform {

// The root of every runtime object. Objects are shared: whoever holds a Ref keeps
// the object alive.
class Object : public std::enable_shared_from_this<Object> {
 public:
  static const ClassInfo& Class();
  virtual const ClassInfo& RuntimeClass() const { return Class(); }

  Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  virtual ~Object() = default;

  // Whether the object's class binds a handler to the event of that name.
  bool IsEventImplemented(const std::string& event) const;

  // Design values that the runtime keeps without acting on them.
  std::optional<Value> StoredValue(const std::string& name) const;
  void StoreValue(const std::string& name, Value value);

 private:
  std::map<std::string, Value> stored_;
};

}  // namespace platform
