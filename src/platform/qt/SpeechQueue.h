#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

class QTextToSpeech;

namespace platform::qt {

// Speaks texts one after another through the flite engine, which needs no daemon.
// QTextToSpeech::say() cuts off speech in progress, so the queue is kept here.
class SpeechQueue : public QObject {
  Q_OBJECT
 public:
  explicit SpeechQueue(QObject* parent = nullptr);
  ~SpeechQueue() override;

  void Speak(const QString& text, bool interrupt);

 private:
  void SpeakNext();

  std::unique_ptr<QTextToSpeech> engine_;
  QStringList waiting_;
  bool speaking_ = false;
};

}  // namespace platform::qt
