#include "tolvex/network/NetworkManager.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "tolvex/core/Config.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/network/Connection.h"
#include "tolvex/platform/Socket.h"

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

// "NetworkManager::<caller>(): Error! <call>() returned:" and the system's text for the last
// socket error.
void logCallFailure(const char* caller, const char* call) {
  const int code = socketLastError();
  LogManager::getInstance().writeLog("NetworkManager::%s(): Error! %s() returned:", caller, call);
  logSocketError(code);
}

// The message on the wire: prefix and body in one buffer, so that a reader never sees a prefix
// alone for long.
std::string wireMessage(const void* body, int bytes) {
  const int length = bytes + MESSAGE_PREFIX_SIZE;
  std::string wire(static_cast<std::string::size_type>(length), '\0');
  std::memcpy(&wire[0], &length, MESSAGE_PREFIX_SIZE);
  if (bytes > 0) std::memcpy(&wire[MESSAGE_PREFIX_SIZE], body, static_cast<size_t>(bytes));
  return wire;
}

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
  setMaxOutgoingBytes(Config::getInstance().getMaxOutgoingBytes());
  setStallTimeout(Config::getInstance().getStallTimeout());
  Manager::startUp();
  LogManager::getInstance().writeLog(5, "NetworkManager::startUp(): successfully started.");
  return 0;
}

void NetworkManager::shutDown() {
  // From the last, so that no index shifts while the others are still open. Entries already
  // being closed (shutDown called from a CLOSE handler) are left to the close that owns them.
  for (;;) {
    auto open = std::find_if(connections.rbegin(), connections.rend(),
                             [](const std::unique_ptr<Connection>& c) { return c->isOpen(); });
    if (open == connections.rend()) break;
    close(static_cast<int>(connections.rend() - open) - 1);
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

int NetworkManager::addSocket(std::unique_ptr<Connection> connection, NetworkEventLabel label) {
  const int index = getNumConnected();
  connections.push_back(std::move(connection));
  sendEvent(label, index);
  return index;
}

void NetworkManager::sendEvent(NetworkEventLabel label, int sock_index, int bytes) {
  EventNetwork event(label);
  event.setSocketIndex(sock_index);
  event.setBytes(bytes);
  onEvent(&event);
}

int NetworkManager::connect(std::string host, int port) {
  LogManager& log = LogManager::getInstance();
  if (getNumConnected() >= max_sockets) {
    log.writeLog("NetworkManager::connect(): Error! At limit (%d) of connected sockets.",
                 max_sockets);
    return -1;
  }
  const std::string peer = host + ":" + std::to_string(port);
  const int socket = socketConnectStart(host, port);
  std::unique_ptr<Connection> connection;
  if (socket != -1) connection = std::make_unique<Connection>(socket, true, peer);
  // On the loopback interface the handshake has usually completed already.
  if (connection == nullptr || connection->finishConnect() == -1) {
    const int code = socketLastError();
    log.writeLog("NetworkManager::connect(): Error! connect() to %s returned:", peer.c_str());
    logSocketError(code);
    return -1;
  }
  if (connection->isConnecting()) {
    log.writeLog(5, "NetworkManager::connect(): Connecting to %s.", peer.c_str());
    connections.push_back(std::move(connection));
    return getNumConnected() - 1;
  }
  log.writeLog(1, "NetworkManager::connect(): New connection.");
  return addSocket(std::move(connection), NetworkEventLabel::CONNECT);
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
    return addSocket(std::make_unique<Connection>(socket, false), NetworkEventLabel::ACCEPT);
  }
  log.writeLog(1, "NetworkManager::accept(): Warning! accept() connection, but at limit (%d).",
               max_sockets);
  log.writeLog(1, "\tUse NM.setMaxSockets() to change.");
  socketClose(socket);
  return -1;
}

int NetworkManager::acceptWaiting() {
  int accepted = 0;
  while (accept() >= 0) ++accepted;
  return accepted;
}

bool NetworkManager::isConnected(int sock_index) const {
  // A socket being closed keeps its place until its CLOSE event has been delivered, so that
  // handlers cannot reach the released handle.
  return sock_index >= 0 && sock_index < getNumConnected() && connections[sock_index]->isOpen();
}

int NetworkManager::advance(int sock_index) {
  if (connections[sock_index]->isConnecting()) {
    const int made = completeConnect(sock_index);
    return made == -1 ? -1 : 1;
  }
  flushOutgoing(sock_index, "genDataEvents");
  return 0;
}

int NetworkManager::completeConnect(int sock_index) {
  Connection& connection = *connections[sock_index];
  const int made = connection.finishConnect();
  if (made == 0) return 0;
  LogManager& log = LogManager::getInstance();
  if (made == -1) {
    const int code = socketLastError();
    log.writeLog("NetworkManager::genDataEvents(): Error! connect() to %s returned:",
                 connection.getPeer().c_str());
    logSocketError(code);
    close(sock_index);
    return -1;
  }
  log.writeLog(1, "NetworkManager::connect(): New connection.");
  // Bytes sent while the handshake was under way go out first.
  flushOutgoing(sock_index, "genDataEvents");
  sendEvent(NetworkEventLabel::CONNECT, sock_index);
  return 1;
}

void NetworkManager::flushOutgoing(int sock_index, const char* caller) {
  if (connections[sock_index]->flush() == 0) return;
  // The peer's side is gone; reading finds that and closes the socket.
  logCallFailure(caller, "send");
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
  const std::string wire = wireMessage(buffer, bytes);
  if (connections[sock_index]->send(wire.data(), static_cast<int>(wire.size())) == -1) {
    logCallFailure("send", "send");
    return -1;
  }
  return closeIfOverCap(sock_index) ? -1 : 0;
}

bool NetworkManager::closeIfOverCap(int sock_index) {
  const std::size_t kept = connections[sock_index]->getPendingBytes();
  if (kept <= static_cast<std::size_t>(max_outgoing_bytes)) return false;
  LogManager::getInstance().writeLog(
      "NetworkManager::send(): Error! Sock index %d keeps %zu unsent bytes, over the limit (%d); "
      "the peer is not reading, closing.",
      sock_index, kept, max_outgoing_bytes);
  close(sock_index);
  return true;
}

int NetworkManager::send(int sock_index, const std::string& message) {
  if (message.size() > static_cast<std::string::size_type>(MAX_MESSAGE_SIZE)) {
    LogManager::getInstance().writeLog(
        "NetworkManager::send(): Error! Message body of %zu bytes not allowed.", message.size());
    return -1;
  }
  return send(sock_index, message.data(), static_cast<int>(message.size()));
}

int NetworkManager::countArrived(int sock_index, int& count) {
  if (connections[sock_index]->bytesArrived(count) == 0) return 0;
  const int code = socketLastError();
  LogManager::getInstance().writeLog(
      "NetworkManager::isData(): Error! ioctl()/ioctlsocket() returned:");
  logSocketError(code);
  return -1;
}

int NetworkManager::checkMessage(int sock_index, const char* caller) {
  // Nothing can have arrived before the handshake completes; genDataEvents() reports its end.
  if (connections[sock_index]->isConnecting()) return 0;
  // Asked before counting: once the peer's close has been seen, every byte it sent has arrived,
  // so a count taken afterwards is final.
  const bool peer_gone = socketPeerClosed(connections[sock_index]->getSocket());
  int arrived = 0;
  const int length = frontLength(sock_index, caller, arrived);
  if (length < 0) return -1;
  const bool complete = length > 0 && arrived >= length;
  if (complete) {
    connections[sock_index]->incompleteFor(false);
    return length;
  }
  // The rest of a message can no longer arrive once the peer has gone.
  if (peer_gone) {
    closeByPeer(sock_index, arrived, caller);
    return 0;
  }
  closeIfStalled(sock_index, arrived > 0, caller);
  return 0;
}

int NetworkManager::frontLength(int sock_index, const char* caller, int& arrived) {
  Connection& connection = *connections[sock_index];
  // A failed count is logged and the prefix peeked all the same.
  if (countArrived(sock_index, arrived) == 0 && arrived < MESSAGE_PREFIX_SIZE) return 0;
  int length = 0;
  const int got = connection.peekFront(&length, MESSAGE_PREFIX_SIZE);
  if (got == -1) {
    logCallFailure(caller, "recv");
    return -1;
  }
  if (got < MESSAGE_PREFIX_SIZE) {
    arrived = got;
    return 0;
  }
  if (length < MESSAGE_PREFIX_SIZE || length > MAX_MESSAGE_SIZE) {
    LogManager::getInstance().writeLog(
        "NetworkManager::%s(): Error! Bad message length (%d) on sock index %d, closing.", caller,
        length, sock_index);
    close(sock_index);
    return -1;
  }
  if (countArrived(sock_index, arrived) == -1) return -1;
  // The system holds only so much unread data; a message longer than that could never be
  // complete there, so what has arrived is moved into the connection.
  if (arrived < length && connection.holdArrived(length) == -1) {
    logCallFailure(caller, "recv");
    return -1;
  }
  return length;
}

bool NetworkManager::closeIfStalled(int sock_index, bool incomplete, const char* caller) {
  const int waited = connections[sock_index]->incompleteFor(incomplete);
  if (waited <= stall_timeout) return false;
  LogManager::getInstance().writeLog(
      "NetworkManager::%s(): Warning! Message on sock index %d incomplete for %d ms (limit %d), "
      "closing.",
      caller, sock_index, waited, stall_timeout);
  close(sock_index);
  return true;
}

int NetworkManager::receivableLength(int sock_index) {
  if (!isConnected(sock_index)) {
    LogManager::getInstance().writeLog(
        "NetworkManager::receive(): Error! Sock index %d not connected.", sock_index);
    return -1;
  }
  flushOutgoing(sock_index, "receive");
  const int length = checkMessage(sock_index, "receive");
  return length > 0 ? length : -1;
}

int NetworkManager::receive(int sock_index, void* buffer, int bytes) {
  const int length = receivableLength(sock_index);
  if (length < 0) return -1;
  const int body = length - MESSAGE_PREFIX_SIZE;
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
  const int length = receivableLength(sock_index);
  if (length < 0) return -1;
  std::string whole;
  if (takeMessage(sock_index, length, whole) == -1) return -1;
  message = whole.substr(MESSAGE_PREFIX_SIZE);
  return length - MESSAGE_PREFIX_SIZE;
}

int NetworkManager::takeMessage(int sock_index, int length, std::string& whole) {
  if (connections[sock_index]->takeMessage(length, whole) == 0) return 0;
  logCallFailure("receive", "recv");
  // Part of the message is gone: the stream can no longer be read in step.
  close(sock_index);
  return -1;
}

int NetworkManager::isData(int sock_index) {
  if (!isConnected(sock_index)) {
    LogManager::getInstance().writeLog(
        "NetworkManager::isData(): Error! Sock index %d not connected.", sock_index);
    return -1;
  }
  flushOutgoing(sock_index, "isData");
  int arrived = 0;
  if (countArrived(sock_index, arrived) == -1) return -1;
  return arrived;
}

int NetworkManager::genDataEvents(int sock_index) {
  if (!isConnected(sock_index)) return 0;
  if (advance(sock_index) != 0) return 0;
  const int length = checkMessage(sock_index, "genDataEvents");
  if (length <= 0) return length;
  LogManager::getInstance().writeLog(
      15, "NetworkManager::genDataEvents(): have full message (%d bytes).", length);
  sendEvent(NetworkEventLabel::DATA, sock_index, length);
  return 1;
}

void NetworkManager::closeByPeer(int sock_index, int unread, const char* caller) {
  LogManager::getInstance().writeLog(
      "NetworkManager::%s(): Connection closed by peer on sock index %d (%d bytes unread).", caller,
      sock_index, unread);
  close(sock_index);
}

void NetworkManager::close(int sock_index) {
  LogManager& log = LogManager::getInstance();
  if (sock_index < 0 || sock_index >= getNumConnected()) {
    log.writeLog("NetworkManager::close(): sock_index (%d) out of range.", sock_index);
    return;
  }
  Connection* closing = connections[sock_index].get();
  // Already being closed further up the call stack (a CLOSE handler closing it again).
  if (!closing->isOpen()) return;
  if (closing->closeSocket() == -1) {
    logCallFailure("close", "close");
  }
  sendEvent(NetworkEventLabel::CLOSE, sock_index);
  // Handlers may have changed the list; the connection is found again by address.
  auto place =
      std::find_if(connections.begin(), connections.end(),
                   [closing](const std::unique_ptr<Connection>& c) { return c.get() == closing; });
  if (place != connections.end()) connections.erase(place);
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

int NetworkManager::setMaxOutgoingBytes(int new_max_outgoing_bytes) {
  if (new_max_outgoing_bytes < 0) {
    LogManager::getInstance().writeLog(
        "NetworkManager::setMaxOutgoingBytes(): Error! %d out of range.", new_max_outgoing_bytes);
    return -1;
  }
  max_outgoing_bytes = new_max_outgoing_bytes;
  return 0;
}

int NetworkManager::setStallTimeout(int new_stall_timeout) {
  if (new_stall_timeout < 1 || new_stall_timeout > MAX_STALL_TIMEOUT) {
    LogManager::getInstance().writeLog("NetworkManager::setStallTimeout(): Error! %d out of range.",
                                       new_stall_timeout);
    return -1;
  }
  stall_timeout = new_stall_timeout;
  return 0;
}

}  // namespace tx
