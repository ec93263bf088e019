#pragma once

#include <string>

#include "platform/Object.h"
#include "platform/Ref.h"

namespace platform {

// A sound file that can be played.
class Sound : public Object {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  // The file as a sound, or nil when it is missing or not in a sound format
  // (MP3, WAV, Ogg or FLAC, recognised by its first bytes).
  static Ref<Sound> Open(const std::string& path);

  explicit Sound(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  // Starts one playback and returns at once. Playing again while the sound plays
  // restarts it from the beginning.
  void Play();

 private:
  std::string path_;
};

}  // namespace platform
