#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>
#include <map>
#include <memory>

#include "platform/qt/MediaEffects.h"
#include "platform/qt/SpeechQueue.h"

namespace platform::qt {
namespace {

// A player for one sound file, made when the file is first played.
class FilePlayer {
 public:
  explicit FilePlayer(const QString& file) : source_(QUrl::fromLocalFile(file)) {
    player_.setAudioOutput(&output_);
  }

  void Play() {
    // GStreamer often plays a source loaded a while ago silently after stop() and
    // play(); giving it the source again makes every click audible.
    player_.stop();
    player_.setSource(QUrl());
    player_.setSource(source_);
    player_.play();
  }

 private:
  QUrl source_;
  QAudioOutput output_;
  QMediaPlayer player_;
};

class QtMediaEffects final : public MediaEffects {
 public:
  void PlaySound(const QString& file) override {
    auto& player = players_[file];
    if (!player) player = std::make_unique<FilePlayer>(file);
    player->Play();
  }

  void Speak(const QString& text, bool interrupt) override {
    if (!speech_) speech_ = std::make_unique<SpeechQueue>();
    speech_->Speak(text, interrupt);
  }

 private:
  std::map<QString, std::unique_ptr<FilePlayer>> players_;
  std::unique_ptr<SpeechQueue> speech_;
};

}  // namespace
}  // namespace platform::qt

extern "C" Q_DECL_EXPORT platform::qt::MediaEffects* orbivane_make_media_effects() {
  return new platform::qt::QtMediaEffects;
}
