#pragma once

#include <memory>
#include <string>

namespace platform {

// What the program does outside its own windows: sound, speech, the browser and
// message boxes. The real effects go through Qt; tests record them instead.
class Effects {
 public:
  virtual ~Effects() = default;
  virtual void PlaySound(const std::string& file) = 0;
  // With interrupt false, speech in progress finishes first.
  virtual void Speak(const std::string& text, bool interrupt) = 0;
  virtual void ShowURL(const std::string& url) = 0;
  virtual void MessageBox(const std::string& text) = 0;
};

// The effects in use; the real ones are made on first use.
Effects& CurrentEffects();
void SetEffects(std::unique_ptr<Effects> effects);
// Drops the effects in use (their Qt objects must go before the application).
void ResetEffects();

std::unique_ptr<Effects> MakeQtEffects();

}  // namespace platform
