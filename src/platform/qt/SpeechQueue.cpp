#include "platform/qt/SpeechQueue.h"

#include <espeak-ng/speak_lib.h>

#include <QLibrary>

#include "platform/qt/LibraryFunction.h"

namespace platform::qt {

// Renders text with espeak-ng into memory; the audio player plays it. The
// library's own audio output is not used: once the sound server restarts it stays
// silent for good.
class Voice {
 public:
  Clip Render(const std::string& text, const AudioPlayer::StopCheck& stopped) {
    if (!started_) {
      started_ = true;
      ready_ = Start();
    }
    Clip clip;
    if (!ready_) return clip;
    clip.rate = rate_;
    output_ = &clip.samples;
    stopped_ = &stopped;
    synth_(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
    output_ = nullptr;
    stopped_ = nullptr;
    return clip;
  }

 private:
  bool Start() {
    if (!library_.load() || !Resolve(library_, initialize_, "espeak_Initialize") ||
        !Resolve(library_, setVoiceByName_, "espeak_SetVoiceByName") ||
        !Resolve(library_, setSynthCallback_, "espeak_SetSynthCallback") ||
        !Resolve(library_, synth_, "espeak_Synth")) {
      return false;
    }
    // Without espeakINITIALIZE_DONT_EXIT the library ends the whole program when its
    // data files are missing; with it, it reports a sample rate of 0 then, and
    // espeak_Synth() would never return.
    rate_ = initialize_(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate_ <= 0) return false;
    // Without this voice the library's default one speaks.
    setVoiceByName_("en-us");
    setSynthCallback_(&Voice::Collect);
    return true;
  }

  // In synchronous mode espeak-ng calls this on the thread inside espeak_Synth().
  static int Collect(short* samples, int count, espeak_EVENT*) {
    if (samples && count > 0) output_->insert(output_->end(), samples, samples + count);
    return (*stopped_)() ? 1 : 0;
  }

  static inline thread_local std::vector<short>* output_ = nullptr;
  static inline thread_local const AudioPlayer::StopCheck* stopped_ = nullptr;

  QLibrary library_{QStringLiteral("espeak-ng"), 1};
  decltype(&espeak_Initialize) initialize_ = nullptr;
  decltype(&espeak_SetVoiceByName) setVoiceByName_ = nullptr;
  decltype(&espeak_SetSynthCallback) setSynthCallback_ = nullptr;
  decltype(&espeak_Synth) synth_ = nullptr;
  bool started_ = false;
  bool ready_ = false;
  int rate_ = 0;
};

SpeechQueue::SpeechQueue() : voice_(std::make_unique<Voice>()), player_("speech") {}

SpeechQueue::~SpeechQueue() = default;

void SpeechQueue::Speak(const QString& text, bool interrupt) {
  const std::string words = text.trimmed().toStdString();
  Voice* voice = voice_.get();
  player_.Play(
      [voice, words](const AudioPlayer::StopCheck& stopped) {
        return words.empty() ? Clip{} : voice->Render(words, stopped);
      },
      interrupt);
}

}  // namespace platform::qt
