#include "tolvex/platform/Socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace tx {

namespace {

// Remembered per thread so that logging between the failing call and the report cannot
// overwrite it.
thread_local int last_error = 0;

int fail() {
  last_error = errno;
  return -1;
}

struct AddressListDeleter {
  void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListDeleter>;

// The stream addresses of host:port; null with last_error set when there are none. A numeric
// host is read without asking the resolver, so only a host name can wait.
AddressList resolve(const std::string& host, int port) {
  addrinfo hints = {};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  const std::string service = std::to_string(port);
  addrinfo* found = nullptr;
  int result = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
  if (result == EAI_NONAME) {
    hints.ai_flags = AI_NUMERICSERV;
    result = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
  }
  if (result != 0) {
    last_error = (result == EAI_SYSTEM) ? errno : EHOSTUNREACH;
    return AddressList();
  }
  return AddressList(found);
}

// A socket connected, or with SOCK_NONBLOCK in flags connecting, to the first address of
// host:port that does not refuse at once; -1 when every one does.
int connectFirst(const std::string& host, int port, int flags) {
  const AddressList found = resolve(host, port);
  if (!found) return -1;
  int code = ECONNREFUSED;
  for (const addrinfo* candidate = found.get(); candidate != nullptr;
       candidate = candidate->ai_next) {
    const int fd = ::socket(candidate->ai_family, candidate->ai_socktype | flags | SOCK_CLOEXEC,
                            candidate->ai_protocol);
    if (fd == -1) {
      code = errno;
      continue;
    }
    if (::connect(fd, candidate->ai_addr, candidate->ai_addrlen) == 0) return fd;
    // A non-blocking start, interrupted or not, goes on in the background.
    if ((flags & SOCK_NONBLOCK) != 0 && (errno == EINPROGRESS || errno == EINTR)) return fd;
    code = errno;
    ::close(fd);
  }
  last_error = code;
  return -1;
}

}  // namespace

int socketStartUp() { return 0; }

int socketLastError() { return last_error; }

bool socketWouldBlock(int code) { return code == EAGAIN || code == EWOULDBLOCK; }

std::string socketErrorText(int code) {
  char buffer[256] = {};
  // The GNU strerror_r may return a static string instead of filling the buffer.
  const char* text = strerror_r(code, buffer, sizeof(buffer));
  if (text == nullptr) return "";
  return text;
}

int socketListen(const std::string& address, int port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd == -1) return fail();
  int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
  sockaddr_in where = {};
  where.sin_family = AF_INET;
  where.sin_port = htons(static_cast<uint16_t>(port));
  where.sin_addr.s_addr = htonl(INADDR_ANY);
  if (!address.empty() && ::inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1) {
    ::close(fd);
    last_error = EINVAL;
    return -1;
  }
  if (::bind(fd, reinterpret_cast<sockaddr*>(&where), sizeof(where)) == -1 ||
      ::listen(fd, SOMAXCONN) == -1) {
    int code = errno;
    ::close(fd);
    last_error = code;
    return -1;
  }
  return fd;
}

int socketLocalPort(int socket) {
  sockaddr_in where = {};
  socklen_t size = sizeof(where);
  if (::getsockname(socket, reinterpret_cast<sockaddr*>(&where), &size) == -1) return fail();
  return ntohs(where.sin_port);
}

int socketAccept(int listening_socket) {
  int fd = ::accept4(listening_socket, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (fd == -1) return fail();
  return fd;
}

int socketConnectStart(const std::string& host, int port) {
  return connectFirst(host, port, SOCK_NONBLOCK);
}

int socketConnectResult(int socket) {
  pollfd watch = {};
  watch.fd = socket;
  watch.events = POLLOUT;
  const int ready = ::poll(&watch, 1, 0);
  if (ready == -1) return errno == EINTR ? 0 : fail();
  if (ready == 0) return 0;
  int code = 0;
  socklen_t size = sizeof(code);
  if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &code, &size) == -1) return fail();
  if (code != 0) {
    last_error = code;
    return -1;
  }
  return 1;
}

int socketConnect(const std::string& host, int port) { return connectFirst(host, port, 0); }

int socketBytesWaiting(int socket, int& count) {
  int waiting = 0;
  if (::ioctl(socket, FIONREAD, &waiting) == -1) return fail();
  count = waiting;
  return 0;
}

int socketPeek(int socket, void* buffer, int bytes) {
  ssize_t got = ::recv(socket, buffer, static_cast<size_t>(bytes), MSG_PEEK | MSG_DONTWAIT);
  if (got == -1) return fail();
  return static_cast<int>(got);
}

int socketReceive(int socket, void* buffer, int bytes) {
  ssize_t got = ::recv(socket, buffer, static_cast<size_t>(bytes), MSG_DONTWAIT);
  if (got == -1) return fail();
  return static_cast<int>(got);
}

int socketSend(int socket, const void* buffer, int bytes) {
  for (;;) {
    // MSG_NOSIGNAL: a vanished peer is an error to report, not a signal that ends the game.
    const ssize_t sent =
        ::send(socket, buffer, static_cast<size_t>(bytes), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent >= 0) return static_cast<int>(sent);
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    return fail();
  }
}

int socketSendAll(int socket, const void* buffer, int bytes) {
  const char* next = static_cast<const char*>(buffer);
  size_t left = static_cast<size_t>(bytes);
  while (left > 0) {
    // MSG_NOSIGNAL: a vanished peer is an error to report, not a signal that ends the game.
    ssize_t sent = ::send(socket, next, left, MSG_NOSIGNAL);
    if (sent == -1) {
      if (errno == EINTR) continue;
      return fail();
    }
    next += sent;
    left -= static_cast<size_t>(sent);
  }
  return 0;
}

bool socketPeerClosed(int socket) {
  pollfd watch = {};
  watch.fd = socket;
  watch.events = POLLIN | POLLRDHUP;
  if (::poll(&watch, 1, 0) <= 0) return false;
  return (watch.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

int socketClose(int socket) {
  if (::close(socket) == -1) return fail();
  return 0;
}

}  // namespace tx
