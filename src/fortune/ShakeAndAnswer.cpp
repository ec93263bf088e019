#include <string>
#include <vector>

#include "fortune/Answers.h"
#include "fortune/Shaker.h"
#include "fortune/WinMain.h"
#include "platform/System.h"
#include "resources/SandShake.h"

namespace fortune {

namespace {

// Each shake started during a shake runs on top of it on the stack; a hand cannot
// click this deep, an auto-clicker would otherwise overflow the stack.
constexpr int kMaxShakeDepth = 64;

int shakeDepth = 0;

// Counts a shake as running for as long as it is on the stack, however it leaves.
class ShakeLevel {
 public:
  ShakeLevel() { ++shakeDepth; }
  ~ShakeLevel() { --shakeDepth; }
  ShakeLevel(const ShakeLevel&) = delete;
  ShakeLevel& operator=(const ShakeLevel&) = delete;
};

}  // namespace

void WinMain::ShakeIt() {
  if (shakeDepth >= kMaxShakeDepth) return;
  const ShakeLevel level;
  sandshake()->Play();
  lResponse()->SetText(std::string(kShaking));
  shake(platform::RefTo<platform::Window>(*this));
  ShowResult();
}

void WinMain::ShowResult() {
  const std::vector<std::string> Responses(kAnswers.begin(), kAnswers.end());
  const auto index = platform::System::Random()->InRange(0, 41);
  lResponse()->SetValue(Responses[size_t(index)]);
  platform::System::Speak(Responses[size_t(index)], false);
}

}  // namespace fortune
