#include "platform/audio/AudioService.h"

#include <string>

#include "platform/audio/AudioMailbox.h"
#include "platform/audio/AudioWorker.h"

namespace platform::audio {
namespace {

// Whatever broke, one line; what cannot even be said is let go.
void SayGivenUp(const AudioMailbox& mailbox, std::exception_ptr failure) noexcept {
  if (!mailbox.report) return;
  try {
    std::string why;
    try {
      std::rethrow_exception(std::move(failure));
    } catch (const std::exception& e) {
      why = e.what();
    } catch (...) {
      why = "an exception of an unknown kind";
    }
    mailbox.report("no sound or speech from now on: the audio thread failed: " + why);
  } catch (...) {
  }
}

}  // namespace

AudioService::AudioService(MakeAudioParts makeParts, Report report, AudioTiming timing)
    : mailbox_(std::make_shared<AudioMailbox>(std::move(makeParts), std::move(report),
                                              std::move(timing))) {
  thread_ = std::thread([mailbox = mailbox_] {
    // Nothing thrown here may end the program: the window goes on without sound.
    try {
      AudioWorker worker(*mailbox);
      worker.Run();
    } catch (...) {
      SayGivenUp(*mailbox, std::current_exception());
    }
    mailbox->Finish();
  });
}

// A thread still held up after the wait (in a library that does not return) is
// left behind: it owns everything it uses, and nothing it runs is unloaded.
AudioService::~AudioService() {
  mailbox_->RequestStop();
  if (mailbox_->WaitForFinish(mailbox_->timing.exitWait)) {
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
