#pragma once

#include <memory>
#include <string>

#include "platform/audio/SoundServer.h"

namespace platform::audio {

// One PulseAudio client for the whole program, on the library's asynchronous
// interface and its own thread. Null, with the reason in `error`, when the client
// library cannot be loaded.
std::unique_ptr<SoundServer> OpenPulseServer(const std::string& client, SoundServer::Events& events,
                                             std::string& error);

}  // namespace platform::audio
