#pragma once

#include <QString>
#include <memory>

#include "platform/qt/AudioPlayer.h"

namespace platform::qt {

class Voice;

// Speaks texts aloud, one after another, with espeak-ng. The engine starts with
// the first text, on the audio player's thread, so the caller never waits for it;
// without the library or its voice data nothing is spoken.
//
// Qt 6.4's flite engine was left for this: one text in four went silent (the
// plugin takes the engine's final empty chunk of audio for a failed write and
// stops), and speaking again from its Ready signal crashed its audio output.
class SpeechQueue {
 public:
  SpeechQueue();
  ~SpeechQueue();

  // With interrupt false the text is spoken after everything asked for before it.
  // With interrupt true the current speech stops, the waiting texts are dropped
  // and this one is spoken at once.
  void Speak(const QString& text, bool interrupt);

 private:
  std::unique_ptr<Voice> voice_;  // used on the player's thread only
  AudioPlayer player_;            // last, so that its thread ends before the voice goes
};

}  // namespace platform::qt
