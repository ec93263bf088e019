#pragma once

#include <QString>

namespace platform::qt {

// Sound and speech. They live in a module of their own, loaded on their first
// use, so that the program starts without Qt Multimedia, the speech engine and the
// audio libraries under them.
class MediaEffects {
 public:
  virtual ~MediaEffects() = default;
  virtual void PlaySound(const QString& file) = 0;
  virtual void Speak(const QString& text, bool interrupt) = 0;
};

}  // namespace platform::qt

// The module's one entry: a new MediaEffects, owned by the caller.
using OrbivaneMakeMediaEffects = platform::qt::MediaEffects*();
