#include "platform/qt/SpeechQueue.h"

#include <QTextToSpeech>

namespace platform::qt {

SpeechQueue::SpeechQueue(QObject* parent) : QObject(parent) {}

SpeechQueue::~SpeechQueue() = default;

void SpeechQueue::Speak(const QString& text, bool interrupt) {
  if (!engine_) {
    engine_ = std::make_unique<QTextToSpeech>(QStringLiteral("flite"));
    connect(engine_.get(), &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
      if (state == QTextToSpeech::Ready || state == QTextToSpeech::Error) {
        speaking_ = false;
        SpeakNext();
      }
    });
  }
  if (interrupt) {
    waiting_.clear();
    engine_->stop();
    speaking_ = false;
  }
  waiting_.append(text);
  if (!speaking_) SpeakNext();
}

void SpeechQueue::SpeakNext() {
  if (waiting_.isEmpty() || engine_->state() == QTextToSpeech::Error) return;
  speaking_ = true;
  engine_->say(waiting_.takeFirst());
}

}  // namespace platform::qt
