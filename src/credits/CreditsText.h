#pragma once

#include <string_view>

namespace credits {

// The thank-you text: four paragraphs, two carriage returns between them.
inline constexpr std::string_view kCreditsText =
    "Thank you for using free software from Tarnwick"
    "\r\r"
    "If you enjoy this software, please share  it with others. If you would like to see more "
    "software like this, please let us know if you enjoyed it and suggest other topics of "
    "interest. "
    "\r\r"
    "Our web site has more free programs, and we add new ones from time to time. Use the "
    "buttons below to visit it or to write to us: we read every message, and several of our "
    "programs began as an idea that a friend like you sent in."
    "\r\r"
    "If you would like to support the author, contributions of any size are welcome.";

static_assert(kCreditsText.size() == 543);

}  // namespace credits
