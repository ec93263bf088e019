#include "platform/ClassInfo.h"

#include <algorithm>
#include <deque>
#include <mutex>

#include "platform/Exceptions.h"

namespace platform {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

struct Registry {
  std::mutex lock;
  std::deque<ClassInfo> classes;  // a deque keeps references stable
};

Registry& TheRegistry() {
  // Never destroyed (see RuntimeInit): classes are looked up until the end.
  static Registry& registry = *new Registry;
  return registry;
}

}  // namespace

ClassInfo::ClassInfo(Description description) : d_(std::move(description)) {}

int ClassInfo::FirstEventNumber() const {
  int first = 0;
  for (const ClassInfo* c = d_.base; c; c = c->d_.base) first += int(c->d_.events.size());
  return first;
}

int ClassInfo::EventNumber(std::string_view event) const {
  for (const ClassInfo* c = this; c; c = c->d_.base) {
    for (size_t i = 0; i < c->d_.events.size(); ++i) {
      if (c->d_.events[i].name == event) return c->FirstEventNumber() + int(i);
    }
  }
  return -1;
}

const EventInfo* ClassInfo::EventByNumber(int number) const {
  for (const ClassInfo* c = this; c; c = c->d_.base) {
    int index = number - c->FirstEventNumber();
    if (index >= 0 && index < int(c->d_.events.size())) return &c->d_.events[size_t(index)];
  }
  return nullptr;
}

bool ClassInfo::Handles(std::string_view event) const {
  const auto& handled = d_.handledEvents;
  return std::find(handled.begin(), handled.end(), event) != handled.end();
}

const PropertyInfo* ClassInfo::FindProperty(std::string_view name) const {
  for (const ClassInfo* c = this; c; c = c->d_.base) {
    for (const auto& p : c->d_.properties) {
      if (SameIgnoringCase(p.name, name)) return &p;
    }
  }
  return nullptr;
}

bool ClassInfo::IsKindOf(const ClassInfo& other) const {
  for (const ClassInfo* c = this; c; c = c->d_.base) {
    if (c == &other) return true;
  }
  return false;
}

const ClassInfo& RegisterClass(ClassInfo::Description description) {
  auto& registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  return registry.classes.emplace_back(std::move(description));
}

const ClassInfo* FindClass(std::string_view name) {
  auto& registry = TheRegistry();
  std::lock_guard guard(registry.lock);
  for (const auto& c : registry.classes) {
    if (c.Name() == name) return &c;
  }
  return nullptr;
}

bool RuntimeIsEventHandled_(const Object&, std::string_view className, std::string_view event,
                            bool) {
  // Program classes and the runtime's own answer alike here: whether the named
  // class binds a handler to the event.
  const ClassInfo* info = FindClass(className);
  return info && info->Handles(event);
}

}  // namespace platform
