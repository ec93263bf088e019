#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QUrl>
#include <map>
#include <memory>

#include "platform/qt/AudioPlayer.h"
#include "platform/qt/MediaEffects.h"
#include "platform/qt/SpeechQueue.h"

namespace platform::qt {
namespace {

// A player for one short sound file. The file is decoded once, at its first play,
// to samples kept in memory; every play hands them to the audio player, cutting
// off the play before. A play costs no decoding and no media pipeline.
class ClipPlayer {
 public:
  explicit ClipPlayer(const QString& file) : player_("sound") {
    QAudioFormat format;
    format.setSampleFormat(QAudioFormat::Int16);
    format.setChannelCount(1);
    format.setSampleRate(44100);
    decoder_.setAudioFormat(format);
    decoder_.setSource(QUrl::fromLocalFile(file));
    QObject::connect(&decoder_, &QAudioDecoder::bufferReady, [this] {
      const QAudioBuffer buffer = decoder_.read();
      // A decoder that ignored the format asked for gives nothing to play.
      if (buffer.format().sampleFormat() != QAudioFormat::Int16 ||
          buffer.format().channelCount() != 1) {
        return;
      }
      clip_->rate = buffer.format().sampleRate();
      const auto* samples = buffer.constData<short>();
      clip_->samples.insert(clip_->samples.end(), samples, samples + buffer.sampleCount());
    });
    QObject::connect(&decoder_, &QAudioDecoder::finished, [this] {
      decoded_ = true;
      if (playWhenDecoded_) Play();
    });
  }

  void Play() {
    if (!decoded_) {
      // Without a decoder for the file nothing is ever decoded, and nothing plays.
      playWhenDecoded_ = true;
      if (!decoder_.isDecoding()) decoder_.start();
      return;
    }
    playWhenDecoded_ = false;
    std::shared_ptr<const Clip> clip = clip_;
    player_.Play([clip](const AudioPlayer::StopCheck&) { return *clip; }, true);
  }

 private:
  QAudioDecoder decoder_;
  std::shared_ptr<Clip> clip_ = std::make_shared<Clip>();
  bool decoded_ = false;
  bool playWhenDecoded_ = false;
  AudioPlayer player_;
};

class QtMediaEffects final : public MediaEffects {
 public:
  void PlaySound(const QString& file) override {
    auto& player = players_[file];
    if (!player) player = std::make_unique<ClipPlayer>(file);
    player->Play();
  }

  void Speak(const QString& text, bool interrupt) override {
    if (!speech_) speech_ = std::make_unique<SpeechQueue>();
    speech_->Speak(text, interrupt);
  }

 private:
  std::map<QString, std::unique_ptr<ClipPlayer>> players_;
  std::unique_ptr<SpeechQueue> speech_;
};

}  // namespace
}  // namespace platform::qt

extern "C" Q_DECL_EXPORT platform::qt::MediaEffects* orbivane_make_media_effects() {
  return new platform::qt::QtMediaEffects;
}
