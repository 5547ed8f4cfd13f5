#include "network/NetworkManager.h"

#include <algorithm>
#include <cstring>

#include "core/LogManager.h"
#include "platform/Socket.h"

namespace tx {

namespace {

// Writes the system's text for a socket error as its own line; nothing when it has none.
void logSocketError(int code) {
  std::string text = socketErrorText(code);
  std::string::size_type end = text.find_first_of("\r\n");
  if (end != std::string::npos) text.erase(end);
  if (text.empty()) return;
  LogManager::getInstance().writeLog("\t%d - %s", code, text.c_str());
}

// A socket being closed keeps its place in the list under this value until its CLOSE event has
// been delivered, so handlers cannot reach the released handle and the entry stays findable
// even if a handler changes the list.
int closingMarker(int socket) { return -2 - socket; }

}  // namespace

NetworkManager::NetworkManager() { setType("NetworkManager"); }

NetworkManager::~NetworkManager() = default;

NetworkManager& NetworkManager::getInstance() {
  static NetworkManager instance;
  return instance;
}

int NetworkManager::startUp() {
  if (socketStartUp() != 0) {
    LogManager::getInstance().writeLog("NetworkManager::startUp(): Error! WSAStartup() code : %d",
                                       socketLastError());
    return 1;
  }
  Manager::startUp();
  LogManager::getInstance().writeLog(5, "NetworkManager::startUp(): successfully started.");
  return 0;
}

void NetworkManager::shutDown() {
  // From the last, so that no index shifts while the others are still open. Entries already
  // being closed (shutDown called from a CLOSE handler) are left to the close that owns them.
  for (;;) {
    auto open =
        std::find_if(sockets.rbegin(), sockets.rend(), [](int socket) { return socket >= 0; });
    if (open == sockets.rend()) break;
    close(static_cast<int>(sockets.rend() - open) - 1);
  }
  if (server_socket != -1) {
    socketClose(server_socket);
    server_socket = -1;
  }
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "NetworkManager::shutDown(): successfully stopped.");
}

bool NetworkManager::isValid(std::string label) const {
  if (label == NETWORK_EVENT || label == CUSTOM_NETWORK_EVENT || label == KEYBOARD_NETWORK_EVENT ||
      label == MOUSE_NETWORK_EVENT) {
    return true;
  }
  LogManager::getInstance().writeLog(
      "NetworkManager::isValid(): Error! NetworkManager does not handle %s.", label.c_str());
  return false;
}

int NetworkManager::setServer(int port, std::string address) {
  LogManager& log = LogManager::getInstance();
  if (server_socket != -1) {
    log.writeLog("NetworkManager::setServer(): Error! Already a server on port %d.",
                 getServerPort());
    return -1;
  }
  if (port < 0 || port > 65535) {
    log.writeLog("NetworkManager::setServer(): Error! Port %d out of range.", port);
    return -1;
  }
  int socket = socketListen(address, port);
  if (socket == -1) {
    int code = socketLastError();
    log.writeLog("NetworkManager::setServer(): Error! listen() on port %d returned:", port);
    logSocketError(code);
    return -1;
  }
  server_socket = socket;
  log.writeLog(5, "NetworkManager::setServer(): listening on port %d.", getServerPort());
  return 0;
}

int NetworkManager::getServerPort() const {
  if (server_socket == -1) return -1;
  return socketLocalPort(server_socket);
}

int NetworkManager::addSocket(int socket, NetworkEventLabel label) {
  int index = static_cast<int>(sockets.size());
  sockets.push_back(socket);
  received.emplace_back();
  EventNetwork event(label);
  event.setSocketIndex(index);
  event.setBytes(0);
  onEvent(&event);
  return index;
}

int NetworkManager::connect(std::string host, int port) {
  LogManager& log = LogManager::getInstance();
  if (getNumConnected() >= max_sockets) {
    log.writeLog("NetworkManager::connect(): Error! At limit (%d) of connected sockets.",
                 max_sockets);
    return -1;
  }
  int socket = socketConnect(host, port);
  if (socket == -1) {
    int code = socketLastError();
    log.writeLog("NetworkManager::connect(): Error! connect() to %s:%d returned:", host.c_str(),
                 port);
    logSocketError(code);
    return -1;
  }
  log.writeLog(1, "NetworkManager::connect(): New connection.");
  return addSocket(socket, NetworkEventLabel::CONNECT);
}

int NetworkManager::accept() {
  LogManager& log = LogManager::getInstance();
  if (server_socket == -1) {
    log.writeLog("NetworkManager::accept(): Error! Not setup as server.");
    return -2;
  }
  int socket = socketAccept(server_socket);
  if (socket == -1) {
    int code = socketLastError();
    if (socketWouldBlock(code)) {
      log.writeLog(15, "NetworkManager::accept(): No new connection. Not blocking.");
      return -1;
    }
    log.writeLog("NetworkManager::accept(): Error! accept() returned:");
    logSocketError(code);
    return -2;
  }
  if (getNumConnected() < max_sockets) {
    log.writeLog(1, "NetworkManager::accept(): New connection.");
    return addSocket(socket, NetworkEventLabel::ACCEPT);
  }
  log.writeLog(1, "NetworkManager::accept(): Warning! accept() connection, but at limit (%d).",
               max_sockets);
  log.writeLog(1, "\tUse NM.setMaxSockets() to change.");
  socketClose(socket);
  return -1;
}

bool NetworkManager::isConnected(int sock_index) const {
  // Descriptor 0 is a valid socket here; only negative handles mean "not connected".
  return sock_index >= 0 && sock_index < getNumConnected() && sockets[sock_index] >= 0;
}

int NetworkManager::send(int sock_index, const void* buffer, int bytes) {
  LogManager& log = LogManager::getInstance();
  if (!isConnected(sock_index)) {
    log.writeLog("NetworkManager::send(): Error! Sock index %d not connected.", sock_index);
    return -1;
  }
  if (bytes < 0 || bytes > MAX_MESSAGE_SIZE - MESSAGE_PREFIX_SIZE ||
      (bytes > 0 && buffer == nullptr)) {
    log.writeLog("NetworkManager::send(): Error! Message body of %d bytes not allowed.", bytes);
    return -1;
  }
  // Prefix and body in one buffer, so that a reader never sees a prefix alone for long.
  int length = bytes + MESSAGE_PREFIX_SIZE;
  std::string wire(static_cast<std::string::size_type>(length), '\0');
  std::memcpy(&wire[0], &length, MESSAGE_PREFIX_SIZE);
  if (bytes > 0) std::memcpy(&wire[MESSAGE_PREFIX_SIZE], buffer, static_cast<size_t>(bytes));
  if (socketSendAll(sockets[sock_index], wire.data(), length) == -1) {
    int code = socketLastError();
    log.writeLog("NetworkManager::send(): Error! send() returned:");
    logSocketError(code);
    return -1;
  }
  return 0;
}

int NetworkManager::send(int sock_index, const std::string& message) {
  if (message.size() > static_cast<std::string::size_type>(MAX_MESSAGE_SIZE)) {
    LogManager::getInstance().writeLog(
        "NetworkManager::send(): Error! Message body of %zu bytes not allowed.", message.size());
    return -1;
  }
  return send(sock_index, message.data(), static_cast<int>(message.size()));
}

int NetworkManager::peekFront(int sock_index, void* buffer, int bytes) {
  const std::string& held = received[sock_index];
  int from_held = std::min(bytes, static_cast<int>(held.size()));
  std::memcpy(buffer, held.data(), static_cast<size_t>(from_held));
  if (from_held == bytes) return bytes;
  int got =
      socketPeek(sockets[sock_index], static_cast<char*>(buffer) + from_held, bytes - from_held);
  if (got == -1) return -1;
  return from_held + got;
}

int NetworkManager::checkMessage(int sock_index, const char* caller) {
  LogManager& log = LogManager::getInstance();
  int socket = sockets[sock_index];
  int held = static_cast<int>(received[sock_index].size());
  // Asked before counting: once the peer's close has been seen, every byte it sent has arrived,
  // so a count taken afterwards is final.
  bool peer_gone = socketPeerClosed(socket);
  int waiting = 0;
  if (socketBytesWaiting(socket, waiting) == -1) {
    int code = socketLastError();
    log.writeLog("NetworkManager::isData(): Error! ioctl()/ioctlsocket() returned:");
    logSocketError(code);
  } else if (held + waiting < MESSAGE_PREFIX_SIZE) {
    if (peer_gone) closeByPeer(sock_index, held + waiting);
    return 0;
  }
  int length = 0;
  int got = peekFront(sock_index, &length, MESSAGE_PREFIX_SIZE);
  if (got == -1) {
    int code = socketLastError();
    log.writeLog("NetworkManager::%s(): Error! recv() returned:", caller);
    logSocketError(code);
    return -1;
  }
  if (got < MESSAGE_PREFIX_SIZE) {
    if (peer_gone) closeByPeer(sock_index, got);
    return 0;
  }
  if (length < MESSAGE_PREFIX_SIZE || length > MAX_MESSAGE_SIZE) {
    log.writeLog("NetworkManager::%s(): Error! Bad message length (%d) on sock index %d, closing.",
                 caller, length, sock_index);
    close(sock_index);
    return -1;
  }
  int total = isData(sock_index);
  if (total < 0) return -1;
  if (total < length) {
    // The system holds only so much unread data; a message longer than that could never be
    // complete there, so what has arrived is moved into the manager.
    if (holdArrived(sock_index, length) == -1) {
      int code = socketLastError();
      log.writeLog("NetworkManager::%s(): Error! recv() returned:", caller);
      logSocketError(code);
      return -1;
    }
    // The rest of a message can no longer arrive once the peer has gone.
    if (peer_gone) closeByPeer(sock_index, total);
    return 0;
  }
  return length;
}

int NetworkManager::holdArrived(int sock_index, int length) {
  std::string& held = received[sock_index];
  int waiting = 0;
  if (socketBytesWaiting(sockets[sock_index], waiting) == -1) return -1;
  int wanted = std::min(waiting, length - static_cast<int>(held.size()));
  if (wanted <= 0) return 0;
  std::string::size_type before = held.size();
  held.resize(before + static_cast<std::string::size_type>(wanted));
  int got = socketReceive(sockets[sock_index], &held[before], wanted);
  held.resize(before + static_cast<std::string::size_type>(std::max(got, 0)));
  return got == -1 ? -1 : 0;
}

int NetworkManager::receive(int sock_index, void* buffer, int bytes) {
  if (!isConnected(sock_index)) {
    LogManager::getInstance().writeLog(
        "NetworkManager::receive(): Error! Sock index %d not connected.", sock_index);
    return -1;
  }
  int length = checkMessage(sock_index, "receive");
  if (length <= 0) return -1;
  int body = length - MESSAGE_PREFIX_SIZE;
  if (body > bytes || (body > 0 && buffer == nullptr)) {
    LogManager::getInstance().writeLog(
        "NetworkManager::receive(): Error! Buffer of %d bytes too small for a body of %d bytes.",
        bytes, body);
    return -1;
  }
  std::string message;
  if (takeMessage(sock_index, length, message) == -1) return -1;
  if (body > 0)
    std::memcpy(buffer, message.data() + MESSAGE_PREFIX_SIZE, static_cast<size_t>(body));
  return body;
}

int NetworkManager::receive(int sock_index, std::string& message) {
  if (!isConnected(sock_index)) {
    LogManager::getInstance().writeLog(
        "NetworkManager::receive(): Error! Sock index %d not connected.", sock_index);
    return -1;
  }
  int length = checkMessage(sock_index, "receive");
  if (length <= 0) return -1;
  std::string whole;
  if (takeMessage(sock_index, length, whole) == -1) return -1;
  message = whole.substr(MESSAGE_PREFIX_SIZE);
  return length - MESSAGE_PREFIX_SIZE;
}

int NetworkManager::takeMessage(int sock_index, int length, std::string& whole) {
  whole.swap(received[sock_index]);
  received[sock_index].clear();
  std::string::size_type done = whole.size();
  whole.resize(static_cast<std::string::size_type>(length));
  // The whole message is already waiting, so these reads only stop short on a failure.
  while (done < whole.size()) {
    int got =
        socketReceive(sockets[sock_index], &whole[done], static_cast<int>(whole.size() - done));
    if (got <= 0) {
      int code = socketLastError();
      LogManager::getInstance().writeLog("NetworkManager::receive(): Error! recv() returned:");
      logSocketError(code);
      // Part of the message is gone: the stream can no longer be read in step.
      close(sock_index);
      return -1;
    }
    done += static_cast<std::string::size_type>(got);
  }
  return 0;
}

int NetworkManager::isData(int sock_index) const {
  LogManager& log = LogManager::getInstance();
  if (!isConnected(sock_index)) {
    log.writeLog("NetworkManager::isData(): Error! Sock index %d not connected.", sock_index);
    return -1;
  }
  int waiting = 0;
  if (socketBytesWaiting(sockets[sock_index], waiting) == -1) {
    int code = socketLastError();
    log.writeLog("NetworkManager::isData(): Error! ioctl()/ioctlsocket() returned:");
    logSocketError(code);
    return -1;
  }
  return static_cast<int>(received[sock_index].size()) + waiting;
}

int NetworkManager::genDataEvents(int sock_index) {
  if (!isConnected(sock_index)) return 0;
  int length = checkMessage(sock_index, "genDataEvents");
  if (length <= 0) return length;
  LogManager::getInstance().writeLog(
      15, "NetworkManager::genDataEvents(): have full message (%d bytes).", length);
  EventNetwork event(NetworkEventLabel::DATA);
  event.setSocketIndex(sock_index);
  event.setBytes(length);
  onEvent(&event);
  return 1;
}

void NetworkManager::closeByPeer(int sock_index, int unread) {
  LogManager::getInstance().writeLog(
      "NetworkManager::genDataEvents(): Connection closed by peer on sock index %d (%d bytes "
      "unread).",
      sock_index, unread);
  close(sock_index);
}

void NetworkManager::close(int sock_index) {
  LogManager& log = LogManager::getInstance();
  if (sock_index < 0 || sock_index >= getNumConnected()) {
    log.writeLog("NetworkManager::close(): sock_index (%d) out of range.", sock_index);
    return;
  }
  int socket = sockets[sock_index];
  // Already being closed further up the call stack (a CLOSE handler closing it again).
  if (socket < 0) return;
  if (socketClose(socket) == -1) {
    int code = socketLastError();
    log.writeLog("NetworkManager::close(): Error! close() returned:");
    logSocketError(code);
  }
  int marker = closingMarker(socket);
  sockets[sock_index] = marker;
  EventNetwork event(NetworkEventLabel::CLOSE);
  event.setSocketIndex(sock_index);
  event.setBytes(0);
  onEvent(&event);
  auto place = std::find(sockets.begin(), sockets.end(), marker);
  if (place != sockets.end()) {
    received.erase(received.begin() + (place - sockets.begin()));
    sockets.erase(place);
  }
}

int NetworkManager::setMaxSockets(int new_max_sockets) {
  if (new_max_sockets < 0) {
    LogManager::getInstance().writeLog("NetworkManager::setMaxSockets(): Error! %d out of range.",
                                       new_max_sockets);
    return -1;
  }
  max_sockets = new_max_sockets;
  return 0;
}

}  // namespace tx
