#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Value.h"

namespace platform {

class Object;

// An event a class declares: its parameters after the sender and its result, as
// they read in a handler's signature text ("Integer, Integer" and "Boolean").
struct EventInfo {
  std::string name;
  std::string parameters;
  std::string result;
};

// A design property: its name, declared type and setter. A property without a
// setter is only stored on the object and read back from there.
struct PropertyInfo {
  std::string name;
  ValueType type;
  std::function<void(Object&, const Value&)> set;
};

// An attribute recorded on a member of a class, such as "Hidden" on internal set-up
// code. It changes nothing in how the member is called.
struct MemberAttribute {
  std::string member;
  std::string name;
  std::string value;
};

// What the runtime knows of a class: its name, base, the events it declares (numbered
// after those of its bases), the events it handles, its design properties and the
// attributes of its members.
class ClassInfo {
 public:
  struct Description {
    std::string name = {};
    const ClassInfo* base = nullptr;
    std::vector<EventInfo> events = {};
    std::vector<std::string> handledEvents = {};
    std::vector<PropertyInfo> properties = {};
    std::vector<MemberAttribute> attributes = {};
  };

  explicit ClassInfo(Description description);

  const std::string& Name() const { return d_.name; }
  const ClassInfo* Base() const { return d_.base; }

  // The event's number, counting the events of the bases first; -1 when no class
  // of the chain declares it.
  int EventNumber(std::string_view event) const;
  const EventInfo* EventByNumber(int number) const;
  bool Handles(std::string_view event) const;

  // Finds a property of the class or its bases, ignoring letter case.
  const PropertyInfo* FindProperty(std::string_view name) const;

  bool IsKindOf(const ClassInfo& other) const;
  const std::vector<MemberAttribute>& Attributes() const { return d_.attributes; }

 private:
  int FirstEventNumber() const;

  Description d_;
};

// Registers the class with the runtime under its name and returns the registered
// description. A class registers once, from its static Class().
const ClassInfo& RegisterClass(ClassInfo::Description description);
const ClassInfo* FindClass(std::string_view name);

// Whether the class of that name implements the event (the event query of the
// program's classes).
bool RuntimeIsEventHandled_(const Object& object, std::string_view className,
                            std::string_view event, bool userClass);

}  // namespace platform
