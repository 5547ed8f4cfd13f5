#pragma once

#include <string>
#include <vector>

#include "core/Manager.h"
#include "network/EventNetwork.h"

namespace tx {

// Largest message accepted on the wire, length prefix included, in bytes. A longer announced
// length is treated as a broken stream.
constexpr int MAX_MESSAGE_SIZE = 1024 * 1024;
// Size of the length prefix that starts every message, in bytes.
constexpr int MESSAGE_PREFIX_SIZE = 4;

// TCP connections for the game. Each message on a connected socket is a 4-byte signed length in
// host byte order counting the whole message (prefix included), then the body. Connections,
// closes and complete messages are announced as "tx-network" events through this manager's
// interest table. No operation waits for the network, except send(), which waits until the
// system has taken the whole message.
class NetworkManager : public Manager {
 public:
  static NetworkManager& getInstance();
  ~NetworkManager() override;
  NetworkManager(const NetworkManager&) = delete;
  NetworkManager& operator=(const NetworkManager&) = delete;

  // Starts the socket layer. 0 on success, 1 on failure.
  int startUp() override;
  // Closes every connected socket (one CLOSE event each) and the listening socket.
  void shutDown() override;
  // True for "tx-network", "tx-custom-network", "tx-keyboard-network", "tx-mouse-network".
  bool isValid(std::string label) const override;

  // Listens on port (0 picks a free one, see getServerPort) without blocking. address is a
  // numeric IPv4 address to bind, empty for every interface. 0, or -1 leaving no server.
  int setServer(int port, std::string address = "");
  // True once setServer succeeded, until shutDown.
  bool isServer() const { return server_socket != -1; }
  // Listening socket handle, -1 when not a server.
  int getServerSocket() const { return server_socket; }
  // The port the server listens on, -1 when not a server.
  int getServerPort() const;

  // Connects to host:port (waits for the connection), appends the socket and sends CONNECT.
  // Returns the new socket index, or -1 (also at the max_sockets limit).
  int connect(std::string host, int port);
  // Takes one pending connection without blocking and sends ACCEPT. The new socket index; -1
  // when none is pending or the limit is reached (the connection is closed); -2 on error.
  int accept();

  // Sends one message whose body is bytes long (the prefix is added here). 0, or -1 when the
  // index is not connected, bytes is negative or too large, or the send failed.
  int send(int sock_index, const void* buffer, int bytes);
  int send(int sock_index, const std::string& message);
  // Takes one complete message off the socket and copies its body into buffer, which holds
  // bytes. Returns the body length; -1 when no complete message is waiting or it does not fit
  // (nothing is consumed then), or on error.
  int receive(int sock_index, void* buffer, int bytes);
  // As above, the body replacing message. -1 leaves message unchanged.
  int receive(int sock_index, std::string& message);

  // Bytes of the socket's stream that have arrived and not yet been taken by receive(), or -1.
  int isData(int sock_index) const;
  // Announces a complete message waiting on the socket (DATA, bytes = whole length) without
  // consuming it: until receive() takes it every call announces it again. Returns 1 when
  // announced, 0 when none is complete, -1 on error. A broken length prefix or a peer that has
  // gone away closes the socket (CLOSE event), which shifts later sockets down one index.
  int genDataEvents(int sock_index);
  // Closes one socket, sends CLOSE with its index, then removes it from the list.
  void close(int sock_index);

  // Number of connected sockets.
  int getNumConnected() const { return static_cast<int>(sockets.size()); }
  // Most connected sockets allowed (1 at first). -1 and unchanged for a negative value; sockets
  // already connected stay when the limit is lowered.
  int setMaxSockets(int new_max_sockets);
  int getMaxSockets() const { return max_sockets; }

 private:
  NetworkManager();
  bool isConnected(int sock_index) const;
  int addSocket(int socket, NetworkEventLabel label);
  // Copies the next bytes of the stream (held ones first) without consuming them. Count, or -1.
  int peekFront(int sock_index, void* buffer, int bytes);
  // Length of the complete message at the front, 0 while incomplete (or the socket was closed
  // because the peer went away), -1 on error or a broken length (the socket is closed then).
  int checkMessage(int sock_index, const char* caller);
  // Moves arrived bytes of the front message of the given length from the system into held.
  int holdArrived(int sock_index, int length);
  // Takes the whole front message, prefix included. 0, or -1 with the socket closed.
  int takeMessage(int sock_index, int length, std::string& whole);
  void closeByPeer(int sock_index, int unread);

  int server_socket = -1;
  std::vector<int> sockets;
  // Per socket, the bytes of the front message already taken from the system.
  std::vector<std::string> received;
  int max_sockets = 1;
};

}  // namespace tx
