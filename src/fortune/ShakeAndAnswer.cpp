#include <string>
#include <vector>

#include "fortune/Answers.h"
#include "fortune/Shaker.h"
#include "fortune/WinMain.h"
#include "platform/System.h"
#include "resources/SandShake.h"

namespace fortune {

void WinMain::ShakeIt() {
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
