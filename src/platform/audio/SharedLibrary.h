#pragma once

#include <string>

namespace platform::audio {

// A C library opened while the program runs, so that the program also runs
// without it. It is never closed: a thread that the library starts can outlive
// whoever opened it. Kept in a static, it is made on the heap and never destroyed,
// for the audio thread may still use it while the process exits.
class SharedLibrary {
 public:
  explicit SharedLibrary(const char* name);

  // Looks up a function; the first one missing makes the library unusable.
  template <typename Function>
  void Bind(Function*& function, const char* name) {
    function = reinterpret_cast<Function*>(Symbol(name));
  }

  bool Usable() const { return error_.empty(); }
  // What the loader said about the library or its first missing function.
  const std::string& Error() const { return error_; }

 private:
  void* Symbol(const char* name);

  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace platform::audio
