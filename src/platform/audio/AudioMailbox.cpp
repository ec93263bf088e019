#include "platform/audio/AudioMailbox.h"

#include <algorithm>

namespace platform::audio {

AudioMailbox::AudioMailbox(MakeAudioParts makeParts, Report report, AudioTiming timing)
    : makeParts(std::move(makeParts)), report(std::move(report)), timing(std::move(timing)) {}

void AudioMailbox::Post(AudioMessage message) {
  {
    std::lock_guard lock(mutex_);
    if (done_) return;
    inbox_.push_back(std::move(message));
  }
  wake_.notify_one();
}

std::deque<AudioMessage> AudioMailbox::Take(std::optional<AudioClock::time_point> deadline) {
  std::unique_lock lock(mutex_);
  const auto ready = [this] { return stopping_ || broken_ || !inbox_.empty(); };
  if (!deadline) {
    wake_.wait(lock, ready);
  } else if (const auto left = *deadline - timing.now(); left > AudioClock::duration::zero()) {
    // The audio clock need not be the real one, so the wait is for the time left
    // on it; the caller looks at the clock again.
    wake_.wait_for(lock, left, ready);
  }
  if (broken_) std::rethrow_exception(broken_);
  std::deque<AudioMessage> messages;
  messages.swap(inbox_);
  return messages;
}

bool AudioMailbox::AnswerWaiting(std::uint64_t connection) const {
  std::lock_guard lock(mutex_);
  return std::any_of(inbox_.begin(), inbox_.end(), [connection](const AudioMessage& message) {
    if (const auto* connected = std::get_if<ServerConnected>(&message)) {
      return connected->connection == connection;
    }
    const auto* lost = std::get_if<ServerLost>(&message);
    return lost && lost->connection == connection;
  });
}

void AudioMailbox::Finish() {
  {
    std::lock_guard lock(mutex_);
    done_ = true;
    inbox_.clear();
  }
  finished_.notify_all();
}

void AudioMailbox::RequestStop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
}

bool AudioMailbox::WaitForFinish(std::chrono::milliseconds wait) {
  std::unique_lock lock(mutex_);
  return finished_.wait_for(lock, wait, [this] { return done_; });
}

void AudioMailbox::Broke(std::exception_ptr failure) noexcept {
  {
    std::lock_guard lock(mutex_);
    if (!broken_) broken_ = std::move(failure);
  }
  wake_.notify_all();
}

}  // namespace platform::audio
