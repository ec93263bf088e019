#include "platform/audio/AudioService.h"

#include "platform/audio/AudioMailbox.h"
#include "platform/audio/AudioWorker.h"

namespace platform::audio {

AudioService::AudioService(MakeAudioParts makeParts, Report report, AudioTiming timing)
    : mailbox_(std::make_shared<AudioMailbox>(std::move(makeParts), std::move(report), timing)) {
  thread_ = std::thread([mailbox = mailbox_] {
    {
      AudioWorker worker(*mailbox);
      worker.Run();
    }
    {
      std::lock_guard lock(mailbox->mutex);
      mailbox->finished = true;
    }
    mailbox->done.notify_all();
  });
}

// A thread still held up after the wait (in a library that does not return) is
// left behind: it owns everything it uses, and nothing it runs is unloaded.
AudioService::~AudioService() {
  std::unique_lock lock(mailbox_->mutex);
  mailbox_->stopping = true;
  mailbox_->wake.notify_all();
  const bool finished = mailbox_->done.wait_for(lock, mailbox_->timing.exitWait,
                                                [this] { return mailbox_->finished; });
  lock.unlock();
  if (finished) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

void AudioService::PlaySound(const std::string& path) { mailbox_->Post(PlaySoundRequest{path}); }

void AudioService::Speak(const std::string& text, bool interrupt) {
  mailbox_->Post(SpeakRequest{text, interrupt});
}

}  // namespace platform::audio
