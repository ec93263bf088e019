#include "resources/SandShake.h"

#include "platform/FolderItem.h"

namespace resources {

bool loaded = false;
platform::Ref<platform::Sound> permaSound;

void ReleaseSandShake() {
  loaded = false;
  permaSound = nullptr;
}

}  // namespace resources

platform::Ref<platform::Sound> sandshake() {
  using resources::loaded, resources::permaSound;
  if (loaded) return permaSound;
  loaded = true;
  const platform::Ref<platform::FolderItem> folder = platform::GetApplicationBundleResources_();
  if (!folder) return permaSound;
  permaSound = folder->Child("sandshake.mp3", true)->OpenAsSound();
  return permaSound;
}
