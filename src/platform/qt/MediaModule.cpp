#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QUrl>
#include <map>
#include <memory>

#include "platform/qt/MediaEffects.h"
#include "platform/qt/SpeechQueue.h"

namespace platform::qt {
namespace {

// A player for one short sound file. The file is decoded once, at its first play,
// to samples kept in memory; every play then hands those samples to a new audio
// stream. Each play costs no decoding and no media pipeline, and starts at once.
class ClipPlayer {
 public:
  explicit ClipPlayer(const QString& file) {
    decoder_.setSource(QUrl::fromLocalFile(file));
    QObject::connect(&decoder_, &QAudioDecoder::bufferReady, [this] {
      const QAudioBuffer buffer = decoder_.read();
      format_ = buffer.format();
      samples_.append(buffer.constData<char>(), buffer.byteCount());
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
    // A play during a play starts the sound again from its beginning.
    sink_.reset();
    stream_.close();
    stream_.setData(samples_);
    stream_.open(QIODevice::ReadOnly);
    sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format_);
    sink_->start(&stream_);
  }

 private:
  QAudioDecoder decoder_;
  QAudioFormat format_;
  QByteArray samples_;
  bool decoded_ = false;
  bool playWhenDecoded_ = false;
  QBuffer stream_;
  std::unique_ptr<QAudioSink> sink_;
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
