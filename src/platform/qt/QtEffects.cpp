#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>
#include <cstdio>
#include <memory>

#include "platform/Effects.h"
#include "platform/audio/SystemAudio.h"

namespace platform {
namespace {

class QtEffects final : public Effects {
 public:
  void PlaySound(const std::string& file) override { Audio().PlaySound(file); }

  void Speak(const std::string& text, bool interrupt) override { Audio().Speak(text, interrupt); }

  void ShowURL(const std::string& url) override {
    // Qt hands the address to the desktop's opener (xdg-open on X) as one argument,
    // never through a shell.
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::StrictMode));
  }

  void MessageBox(const std::string& text) override {
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
  }

 private:
  // Started at the first sound or speech: a run that never shakes has no audio
  // thread and loads no audio library.
  audio::AudioService& Audio() {
    if (!audio_) {
      const std::string name = QCoreApplication::applicationName().toStdString();
      audio_ = audio::MakeSystemAudio(name, [name](const std::string& line) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), line.c_str());
      });
    }
    return *audio_;
  }

  std::unique_ptr<audio::AudioService> audio_;
};

}  // namespace

std::unique_ptr<Effects> MakeQtEffects() { return std::make_unique<QtEffects>(); }

}  // namespace platform
