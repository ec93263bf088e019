#include "platform/audio/SharedLibrary.h"

#include <dlfcn.h>

namespace platform::audio {

SharedLibrary::SharedLibrary(const char* name) : handle_(dlopen(name, RTLD_NOW | RTLD_LOCAL)) {
  if (!handle_) error_ = dlerror();
}

void* SharedLibrary::Symbol(const char* name) {
  if (!handle_) return nullptr;
  void* symbol = dlsym(handle_, name);
  if (!symbol && error_.empty()) error_ = dlerror();
  return symbol;
}

}  // namespace platform::audio
