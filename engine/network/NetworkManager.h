#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tolvex/core/Config.h"
#include "tolvex/core/Manager.h"
#include "tolvex/network/EventNetwork.h"

namespace tx {

class Connection;

// Largest message accepted on the wire, length prefix included, in bytes. A longer announced
// length is treated as a broken stream.
constexpr int MAX_MESSAGE_SIZE = 1024 * 1024;
// Size of the length prefix that starts every message, in bytes.
constexpr int MESSAGE_PREFIX_SIZE = 4;

// Longest stall timeout in milliseconds: the engine's clock measures intervals up to about 35
// minutes.
constexpr int MAX_STALL_TIMEOUT = 30 * 60 * 1000;

// TCP connections for the game. Each message on a connected socket is a 4-byte signed length in
// host byte order counting the whole message (prefix included), then the body. Connections,
// closes and complete messages are announced as "tx-network" events through this manager's
// interest table. Every socket is non-blocking and no operation waits for the network; only
// connect() to a host name may wait for the name lookup.
//
// genDataEvents(), which the game loop calls for every socket each frame, also moves each
// connection along: it completes a connect whose handshake is under way, passes bytes that
// send() had to keep to the system, and closes a socket whose front message has been incomplete
// for longer than the stall timeout (a peer that trickles or stops part way). send(), receive()
// and isData() pass kept bytes on too.
class NetworkManager : public Manager {
 public:
  // The process-wide network manager; the game manager starts it only when the configuration
  // says "networking:true".
  static NetworkManager& getInstance();
  ~NetworkManager() override;
  NetworkManager(const NetworkManager&) = delete;
  NetworkManager& operator=(const NetworkManager&) = delete;

  // Starts the socket layer and takes the outgoing cap and the stall timeout from the
  // configuration (a value out of range is logged and the current one kept). 0 on success, 1 on
  // failure.
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

  // Starts connecting to host:port and appends the socket; the index is taken at once. CONNECT
  // comes when the handshake completes: at once when it already has (as on the loopback
  // interface), else from a later genDataEvents(). A handshake that fails later is logged and
  // announced as CLOSE for that index, and the socket leaves the list. Messages sent meanwhile
  // are kept and go out once connected. A numeric address never waits; a host name is looked up
  // first, which may wait. The new socket index, or -1 with nothing appended when the lookup
  // failed, the connection was refused at once or max_sockets is reached.
  int connect(std::string host, int port);
  // Takes one pending connection without blocking and sends ACCEPT. The new socket index; -1
  // when none is pending or the limit is reached (the connection is closed); -2 on error.
  int accept();
  // Takes every pending connection while slots are free, one ACCEPT each; once none is free,
  // one more pending connection is refused as accept() refuses it. The number accepted.
  int acceptWaiting();

  // Sends one message whose body is bytes long (the prefix is added here) without waiting: what
  // the system does not take now is kept and sent later, in order. When the kept bytes pass the
  // outgoing cap (a peer that stops reading) the socket is closed with a CLOSE event, rather
  // than losing part of a message. 0, or -1 when the index is not connected, bytes is negative
  // or too large, the send failed, or the cap closed the socket.
  int send(int sock_index, const void* buffer, int bytes);
  int send(int sock_index, const std::string& message);
  // Takes one complete message off the socket and copies its body into buffer, which holds
  // bytes. Returns the body length; -1 when no complete message is waiting or it does not fit
  // (nothing is consumed then), or on error.
  int receive(int sock_index, void* buffer, int bytes);
  // As above, the body replacing message. -1 leaves message unchanged.
  int receive(int sock_index, std::string& message);

  // Bytes of the socket's stream that have arrived and not yet been taken by receive(), or -1.
  int isData(int sock_index);
  // Moves the connection along (see above), then announces a complete message waiting on the
  // socket (DATA, bytes = whole length) without consuming it: until receive() takes it every
  // call announces it again. Returns 1 when announced, 0 when none is complete (or the
  // handshake is still under way), -1 on error. A broken length prefix, a peer that has gone
  // away, a stalled message or a failed handshake closes the socket (CLOSE event), which shifts
  // later sockets down one index.
  int genDataEvents(int sock_index);
  // Closes one socket, sends CLOSE with its index, then removes it from the list.
  void close(int sock_index);

  // Number of connected sockets, those whose handshake is under way included.
  int getNumConnected() const { return static_cast<int>(connections.size()); }
  // Most connected sockets allowed (1 at first). -1 and unchanged for a negative value; sockets
  // already connected stay when the limit is lowered.
  int setMaxSockets(int new_max_sockets);
  int getMaxSockets() const { return max_sockets; }
  // Most bytes a socket may keep for sending before it is closed (0 and up). -1 and unchanged
  // for a negative value.
  int setMaxOutgoingBytes(int new_max_outgoing_bytes);
  int getMaxOutgoingBytes() const { return max_outgoing_bytes; }
  // Milliseconds a front message may stay incomplete, 1 to MAX_STALL_TIMEOUT. -1 and unchanged
  // for a value out of range.
  int setStallTimeout(int new_stall_timeout);
  int getStallTimeout() const { return stall_timeout; }

 private:
  NetworkManager();
  bool isConnected(int sock_index) const;
  int addSocket(std::unique_ptr<Connection> connection, NetworkEventLabel label);
  void sendEvent(NetworkEventLabel label, int sock_index, int bytes = 0);
  // Completes the handshake and passes kept bytes on. 0 when the socket can be read; 1 while
  // its handshake is under way or just completed (CONNECT sent); -1 when it was closed.
  int advance(int sock_index);
  // 1 when made (CONNECT sent), 0 while under way, -1 when it failed (the socket is closed).
  int completeConnect(int sock_index);
  void flushOutgoing(int sock_index, const char* caller);
  // Arrived bytes into count; -1 (logged) on failure.
  int countArrived(int sock_index, int& count);
  // Length of the complete message at the front, 0 while incomplete (or the socket was closed
  // because the peer went away or stalled), -1 on error or a broken length (the socket is
  // closed then).
  int checkMessage(int sock_index, const char* caller);
  // The front message's length once its prefix has arrived, else 0; arrived gets the bytes that
  // have arrived. -1 on error or a broken length (the socket is closed then).
  int frontLength(int sock_index, const char* caller, int& arrived);
  // Closes the socket when the bytes it keeps for sending pass the cap. True when closed.
  bool closeIfOverCap(int sock_index);
  // Closes the socket when its front message has been incomplete too long. True when closed.
  bool closeIfStalled(int sock_index, bool incomplete, const char* caller);
  // For receive(): the length of the complete message at the front, prefix included, after
  // sending what waits; -1 (logged when not connected) when there is none.
  int receivableLength(int sock_index);
  // Takes the whole front message, prefix included. 0, or -1 with the socket closed.
  int takeMessage(int sock_index, int length, std::string& whole);
  void closeByPeer(int sock_index, int unread, const char* caller);

  int server_socket = -1;
  // In order of connection; the index is the socket index events carry.
  std::vector<std::unique_ptr<Connection>> connections;
  int max_sockets = 1;
  int max_outgoing_bytes = DEFAULT_MAX_OUTGOING_BYTES;
  int stall_timeout = DEFAULT_STALL_TIMEOUT;
};

}  // namespace tx
