#include <QApplication>
#include <QAudioOutput>
#include <QDesktopServices>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QUrl>
#include <map>
#include <memory>

#include "platform/Effects.h"
#include "platform/qt/SpeechQueue.h"

namespace platform {
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

class QtEffects final : public Effects {
 public:
  void PlaySound(const std::string& file) override {
    auto& player = players_[file];
    if (!player) player = std::make_unique<FilePlayer>(QString::fromStdString(file));
    player->Play();
  }

  void Speak(const std::string& text, bool interrupt) override {
    if (!speech_) speech_ = std::make_unique<qt::SpeechQueue>();
    speech_->Speak(QString::fromStdString(text), interrupt);
  }

  void ShowURL(const std::string& url) override {
    // Qt hands the address to the desktop's opener (xdg-open on X) as one argument,
    // never through a shell.
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::StrictMode));
  }

  void MessageBox(const std::string& text) override {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                    QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
  }

 private:
  std::map<std::string, std::unique_ptr<FilePlayer>> players_;
  std::unique_ptr<qt::SpeechQueue> speech_;
};

}  // namespace

std::unique_ptr<Effects> MakeQtEffects() { return std::make_unique<QtEffects>(); }

}  // namespace platform
