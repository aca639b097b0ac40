#include "test_server.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vorlin::test {

int ClosedPort() {
  // Bound and closed again at once: nothing listens there afterwards.
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);
  return ntohs(address.sin_port);
}

}  // namespace vorlin::test
