#include <cstring>
#include <string>

#include "platform/DesignList.h"
#include "platform/Exceptions.h"
#include "platform/Object.h"

namespace platform {
namespace {

class Reader {
 public:
  Reader(const Object& object, DesignList list) : object_(object), list_(list) {}

  bool AtEnd() const { return at_ == list_.size(); }

  std::string Name() {
    ++entry_;
    entryStart_ = at_;
    const size_t blank = list_.find(' ', at_);
    if (blank == DesignList::npos) Fail("ends inside the name");
    name_ = std::string(list_.substr(at_, blank - at_));
    at_ = blank + 1;
    return name_;
  }

  Value Read(ValueType type) {
    switch (type) {
      case ValueType::Integer:
        return std::int64_t(Number(8));
      case ValueType::Boolean:
        return Number(1) != 0;
      case ValueType::String: {
        const std::uint64_t length = Number(4);
        if (length > list_.size() - at_) Fail("ends inside the text");
        std::string text(list_.substr(at_, size_t(length)));
        at_ += size_t(length);
        return text;
      }
      case ValueType::Single: {
        const auto bits = std::uint32_t(Number(4));
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
      }
      case ValueType::Color:
        return Color{std::uint32_t(Number(4))};
      case ValueType::FontUnit:
        return FontUnits(Number(1));
    }
    Fail("has a value of unknown type");
  }

  [[noreturn]] void Fail(const std::string& problem) const {
    throw RuntimeException(object_.RuntimeClass().Name() + " design list, entry " +
                           std::to_string(entry_) + (name_.empty() ? "" : " \"" + name_ + "\"") +
                           " at byte " + std::to_string(entryStart_) + ", " + problem);
  }

 private:
  std::uint64_t Number(size_t bytes) {
    if (bytes > list_.size() - at_) Fail("ends inside the value");
    std::uint64_t value = 0;
    for (size_t i = 0; i < bytes; ++i)
      value |= std::uint64_t(std::uint8_t(list_[at_ + i])) << (8 * i);
    at_ += bytes;
    return value;
  }

  const Object& object_;
  DesignList list_;
  size_t at_ = 0;
  size_t entry_ = 0;
  size_t entryStart_ = 0;
  std::string name_;
};

}  // namespace

void SetProperties_(Object& object, DesignList list) {
  Reader reader(object, list);
  const ClassInfo& cls = object.RuntimeClass();
  while (!reader.AtEnd()) {
    const std::string name = reader.Name();
    const PropertyInfo* property = cls.FindProperty(name);
    if (!property) reader.Fail("names no property of " + cls.Name());
    Value value = reader.Read(property->type);
    if (property->set) {
      property->set(object, value);
    } else {
      object.StoreValue(property->name, std::move(value));
    }
  }
}

}  // namespace platform
