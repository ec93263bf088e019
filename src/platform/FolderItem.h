#pragma once

#include <string>

#include "platform/Object.h"
#include "platform/Ref.h"

namespace platform {

class Sound;

// A file or folder on disk.
class FolderItem : public Object {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  explicit FolderItem(std::string path) : path_(std::move(path)) {}

  const std::string& NativePath() const { return path_; }
  std::string Name() const;
  bool Exists() const;

  // The folder that holds this item; nil at the root.
  Ref<FolderItem> Parent() const;
  // The item of that name inside this folder, or nil when there is none. Aliases
  // (symbolic links) are followed when asked.
  Ref<FolderItem> Child(const std::string& name, bool resolveAlias = true) const;
  // The file as a sound, or nil when it is not a sound file.
  Ref<Sound> OpenAsSound() const;

 private:
  std::string path_;
};

// The running program's executable file.
Ref<FolderItem> ApplicationExecutable();
// The bundle's Resources folder: "Resources" inside the parent of the folder
// that holds the executable; nil when there is none.
Ref<FolderItem> GetApplicationBundleResources_();

namespace detail {
// Tests run the program's code against a bundle laid out elsewhere.
void SetApplicationExecutable(const std::string& path);
}  // namespace detail

}  // namespace platform
