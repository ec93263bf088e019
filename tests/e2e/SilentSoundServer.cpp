// A sound server that never answers: it listens on a Unix socket, accepts every
// connection and keeps it open without reading or writing a byte. It prints one
// line per connection accepted.
//
//   orbivane_silent_sound_server SOCKET_PATH

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SOCKET_PATH\n", argv[0]);
    return 2;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (std::strlen(argv[1]) >= sizeof address.sun_path) {
    std::fprintf(stderr, "%s: socket path too long\n", argv[0]);
    return 2;
  }
  std::strcpy(address.sun_path, argv[1]);
  const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
  unlink(argv[1]);
  if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, 64) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  std::vector<int> held;
  while (true) {
    const int connection = accept(listener, nullptr, nullptr);
    if (connection < 0) continue;
    held.push_back(connection);
    std::printf("accepted %zu\n", held.size());
    std::fflush(stdout);
  }
}
