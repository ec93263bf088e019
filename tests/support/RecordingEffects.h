#pragma once

#include <string>
#include <vector>

#include "platform/Effects.h"

namespace testing_support {

struct Utterance {
  std::string text;
  bool interrupt;
  friend bool operator==(const Utterance&, const Utterance&) = default;
};

// Records what the program does outside its windows instead of doing it.
class RecordingEffects final : public platform::Effects {
 public:
  void PlaySound(const std::string& file) override { sounds.push_back(file); }
  void Speak(const std::string& text, bool interrupt) override {
    speech.push_back({text, interrupt});
  }
  void ShowURL(const std::string& url) override { urls.push_back(url); }
  void MessageBox(const std::string& text) override { messages.push_back(text); }

  std::vector<std::string> sounds;
  std::vector<Utterance> speech;
  std::vector<std::string> urls;
  std::vector<std::string> messages;
};

}  // namespace testing_support
