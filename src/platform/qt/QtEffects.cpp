#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLibrary>
#include <QMessageBox>
#include <QUrl>
#include <cstdio>
#include <memory>

#include "platform/Effects.h"
#include "platform/qt/MediaEffects.h"

namespace platform {
namespace {

class QtEffects final : public Effects {
 public:
  void PlaySound(const std::string& file) override {
    if (auto* media = Media()) media->PlaySound(QString::fromStdString(file));
  }

  void Speak(const std::string& text, bool interrupt) override {
    if (auto* media = Media()) media->Speak(QString::fromStdString(text), interrupt);
  }

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
  // Loads the sound and speech module on first use: <bundle>/lib beside bin/. Without
  // it the program stays silent, as with no sound device.
  qt::MediaEffects* Media() {
    if (!triedLoading_) {
      triedLoading_ = true;
      QLibrary module(QDir(QCoreApplication::applicationDirPath())
                          .filePath(QStringLiteral("../lib/orbivane_media")));
      if (auto make = reinterpret_cast<OrbivaneMakeMediaEffects*>(
              module.resolve("orbivane_make_media_effects"))) {
        media_.reset(make());
      } else {
        std::fprintf(stderr, "%s: no sound or speech: %s\n",
                     qPrintable(QCoreApplication::applicationName()),
                     qPrintable(module.errorString()));
      }
    }
    return media_.get();
  }

  bool triedLoading_ = false;
  std::unique_ptr<qt::MediaEffects> media_;
};

}  // namespace

std::unique_ptr<Effects> MakeQtEffects() { return std::make_unique<QtEffects>(); }

}  // namespace platform
