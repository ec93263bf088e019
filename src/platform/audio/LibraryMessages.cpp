#include "platform/audio/LibraryMessages.h"

#include <stdlib.h>

namespace platform::audio {

void QuietenAudioLibraries() {
  // libpulse reads these once, at its first message. Its level cannot go below
  // errors, and it prints some of those for things that do not stop it (a cookie
  // file it cannot read, for one): so the system log gets its errors, not stderr.
  const bool userChose =
      getenv("PULSE_LOG") || getenv("PULSE_LOG_SYSLOG") || getenv("PULSE_LOG_JOURNAL");
  if (!userChose) {
    setenv("PULSE_LOG", "0", 1);
    setenv("PULSE_LOG_SYSLOG", "1", 1);
  }
  // libsndfile has no switch for its messages, nor for those of the MP3 decoder
  // it uses.
}

}  // namespace platform::audio
