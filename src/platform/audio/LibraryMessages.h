#pragma once

namespace platform::audio {

// The audio libraries print warnings of their own on stderr (the sound server's
// client, for one, about a cookie file when there is no home folder); the program
// says what matters in one line of its own. Where a library has a switch for its
// messages, this turns them down, unless the user has set that switch. It sets
// environment variables, so it must run before any thread is started.
void QuietenAudioLibraries();

}  // namespace platform::audio
