#include "platform/audio/SharedLibrary.h"

#include <dlfcn.h>

namespace platform::audio {

namespace {

// The loader's own words, or ours when it has none.
std::string LoaderError(const std::string& otherwise) {
  const char* error = dlerror();
  return error ? error : otherwise;
}

}  // namespace

SharedLibrary::SharedLibrary(const char* name) : handle_(dlopen(name, RTLD_NOW | RTLD_LOCAL)) {
  if (!handle_) error_ = LoaderError(std::string(name) + ": cannot be loaded");
}

void* SharedLibrary::Symbol(const char* name) {
  if (!handle_) return nullptr;
  dlerror();
  void* symbol = dlsym(handle_, name);
  if (!symbol && error_.empty()) error_ = LoaderError(std::string("no function ") + name);
  return symbol;
}

}  // namespace platform::audio
