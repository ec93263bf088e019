#pragma once

#include <cstdint>
#include <ctime>

// Every time the benchmark helpers take, in microseconds of CLOCK_MONOTONIC: the clock
// the sound server's null sink runs on too.
inline std::int64_t NowUs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return std::int64_t(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}
