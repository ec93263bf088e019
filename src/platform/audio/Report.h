#pragma once

#include <functional>
#include <string>

namespace platform::audio {

// Takes one line for the user about something that does not work.
using Report = std::function<void(const std::string& line)>;

}  // namespace platform::audio
