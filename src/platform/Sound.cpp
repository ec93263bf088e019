#include "platform/Sound.h"

#include <array>
#include <cstring>
#include <fstream>

#include "platform/Effects.h"

namespace platform {
namespace {

bool LooksLikeSound(const std::string& path) {
  std::array<unsigned char, 12> head{};
  std::ifstream file(path, std::ios::binary);
  if (!file.read(reinterpret_cast<char*>(head.data()), head.size())) return false;
  auto starts = [&](const char* magic) {
    return std::memcmp(head.data(), magic, std::strlen(magic)) == 0;
  };
  const bool mpegFrame = head[0] == 0xFF && (head[1] & 0xE0) == 0xE0;
  const bool wave = starts("RIFF") && std::memcmp(head.data() + 8, "WAVE", 4) == 0;
  return starts("ID3") || mpegFrame || wave || starts("OggS") || starts("fLaC");
}

}  // namespace

const ClassInfo& Sound::Class() {
  static const ClassInfo& info = RegisterClass({.name = "Sound", .base = &Object::Class()});
  return info;
}

Ref<Sound> Sound::Open(const std::string& path) {
  if (!LooksLikeSound(path)) return nullptr;
  return New<Sound>(path);
}

void Sound::Play() { CurrentEffects().PlaySound(path_); }

}  // namespace platform
