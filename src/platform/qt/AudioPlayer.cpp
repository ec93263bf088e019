#include "platform/qt/AudioPlayer.h"

#include <pulse/simple.h>

#include <QCoreApplication>
#include <QLibrary>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>

#include "platform/qt/LibraryFunction.h"

namespace platform::qt {
namespace {

using namespace std::chrono_literals;
using std::chrono::microseconds;

// A clip whose playback failed is tried this many times in all, with a pause in
// between so that a restarting sound server can come back.
constexpr int kAttempts = 3;
constexpr auto kRetryPause = 300ms;
// While a clip plays, how much is left to hear is looked at this often.
constexpr auto kPoll = 50ms;

// Waits for the time unless told to stop; answers whether it was.
using Pause = std::function<bool(microseconds)>;

// PulseAudio's simple client library, loaded when the first clip plays.
class Speaker {
 public:
  enum class Result { Played, Stopped, Failed };

  bool Load() {
    return library_.load() && Resolve(library_, new_, "pa_simple_new") &&
           Resolve(library_, write_, "pa_simple_write") &&
           Resolve(library_, latency_, "pa_simple_get_latency") &&
           Resolve(library_, flush_, "pa_simple_flush") &&
           Resolve(library_, free_, "pa_simple_free");
  }

  Result Play(const Clip& clip, const std::string& client, const std::string& stream,
              const Pause& pause) {
    const pa_sample_spec format{
        .format = PA_SAMPLE_S16LE, .rate = std::uint32_t(clip.rate), .channels = 1};
    const size_t size = clip.samples.size() * sizeof(short);
    // With room for twice the clip the server takes all of it at once (given just
    // its size, the write blocked for seconds), so nothing waits while it plays and
    // stopping only has to flush it. Playback starts once all of it is there.
    const pa_buffer_attr buffer{.maxlength = UINT32_MAX,
                                .tlength = std::uint32_t(2 * size),
                                .prebuf = std::uint32_t(size),
                                .minreq = UINT32_MAX,
                                .fragsize = UINT32_MAX};
    pa_simple* connection = new_(nullptr, client.c_str(), PA_STREAM_PLAYBACK, nullptr,
                                 stream.c_str(), &format, nullptr, &buffer, nullptr);
    if (!connection) return Result::Failed;
    Result result = write_(connection, clip.samples.data(), size, nullptr) < 0 ? Result::Failed
                                                                               : Result::Played;
    // The latency is what is left to hear. Once the clip has had its own length and
    // that much more, a latency that no longer moves is the device's own delay and
    // all of the clip was heard. A server that never gets there is left behind two
    // seconds after that.
    const auto length = microseconds(clip.samples.size() * 1'000'000 / size_t(clip.rate));
    const auto start = std::chrono::steady_clock::now();
    microseconds previous{-1};
    while (result == Result::Played) {
      const pa_usec_t latency = latency_(connection, nullptr);
      const auto left = microseconds(latency);
      const auto elapsed = std::chrono::steady_clock::now() - start;
      if (latency == pa_usec_t(-1)) {
        result = Result::Failed;
      } else if (latency == 0 || elapsed > length + left + 2s ||
                 (elapsed >= length + left && std::abs((left - previous).count()) < 1000)) {
        break;
      } else if (pause(std::min<microseconds>(left, kPoll))) {
        flush_(connection, nullptr);
        result = Result::Stopped;
      }
      previous = left;
    }
    free_(connection);
    return result;
  }

 private:
  QLibrary library_{QStringLiteral("pulse-simple"), 0};
  decltype(&pa_simple_new) new_ = nullptr;
  decltype(&pa_simple_write) write_ = nullptr;
  decltype(&pa_simple_get_latency) latency_ = nullptr;
  decltype(&pa_simple_flush) flush_ = nullptr;
  decltype(&pa_simple_free) free_ = nullptr;
};

}  // namespace

AudioPlayer::AudioPlayer(std::string streamName) : streamName_(std::move(streamName)) {}

// The worker goes first: that asks it to stop, which wakes it at once, and waits for it.
AudioPlayer::~AudioPlayer() = default;

void AudioPlayer::Play(Source source, bool interrupt) {
  if (unavailable_) return;
  {
    std::lock_guard lock(mutex_);
    if (interrupt) {
      queue_.clear();
      ++generation_;
    }
    queue_.push_back(std::move(source));
  }
  wake_.notify_all();
  if (!worker_.joinable()) {
    clientName_ = QCoreApplication::applicationName().toStdString();
    if (clientName_.empty()) clientName_ = "orbivane";
    worker_ = std::jthread([this](std::stop_token stop) { Run(stop); });
  }
}

void AudioPlayer::Run(std::stop_token stop) {
  Speaker speaker;
  if (!speaker.Load()) {
    unavailable_ = true;
    std::lock_guard lock(mutex_);
    queue_.clear();
    return;
  }
  while (true) {
    Source source;
    unsigned generation = 0;
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait(lock, stop, [this] { return !queue_.empty(); })) return;
      source = std::move(queue_.front());
      queue_.pop_front();
      generation = generation_;
    }
    const StopCheck stopped = [&] { return stop.stop_requested() || generation_ != generation; };
    const Pause pause = [&](microseconds time) {
      std::unique_lock lock(mutex_);
      return wake_.wait_for(lock, stop, time, stopped);
    };
    const Clip clip = source(stopped);
    if (clip.samples.empty() || clip.rate <= 0 || stopped()) continue;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
      if (speaker.Play(clip, clientName_, streamName_, pause) != Speaker::Result::Failed ||
          pause(kRetryPause)) {
        break;
      }
    }
  }
}

}  // namespace platform::qt
