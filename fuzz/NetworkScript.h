#pragma once

#include <cstddef>
#include <cstdint>

namespace tx::fuzz {

// Plays arbitrary bytes as a script against the network manager: several far ends (peers) on
// the loopback interface that send, read, stop reading, close and come back; the manager
// sending, closing and connecting to its own server; and a clock the script moves, so that
// stalled messages time out the same way on every run. Aborts when the manager breaks a rule
// it keeps (more sockets than allowed, a socket it never lets go of).
//
// Script: a byte below 0x80 makes peer 0 send the next (byte + 1) bytes. From 0x80 up, bit
// 0x40 makes the manager's receives use a 16-byte buffer instead of a string, bits 0x38 choose
// an action and bits 0x07 a peer p (modulo the number of peers) or a socket index; n is the
// script's next byte:
//   0  p = 0: a network phase (accept, data events, receive); else peer p sends n + 1 bytes
//   1  the manager sends socket p a message with a body of n x 2 KiB
//   2  peer p reads up to (n + 1) x 4 KiB; a peer never told to read has stopped reading
//   3  peer p closes          4  peer p connects again
//   5  the clock moves on n x 100 ms
//   6  the manager closes socket p
//   7  the manager connects to its own server
// At the end the peers close and, unless the manager connected to itself, it must let go of
// every socket.
class NetworkScript {
 public:
  // Connects the peers to the manager's server on server_port and installs the script's clock
  // and limits.
  explicit NetworkScript(int server_port);
  // Closes every socket and puts the clock and the manager's limits back.
  ~NetworkScript();
  NetworkScript(const NetworkScript&) = delete;
  NetworkScript& operator=(const NetworkScript&) = delete;

  void play(const std::uint8_t* data, std::size_t size);

 private:
  static constexpr int PEERS = 3;

  int next();
  void act(int control);
  void peerSends(int peer, std::size_t count);
  void peerReads(int peer, int bytes);
  void connectPeer(int peer);
  void closePeer(int peer);
  void managerSends(int sock_index, int body);
  void networkPhase(bool into_buffer);
  void letGo();

  const std::uint8_t* script = nullptr;
  std::size_t script_size = 0;
  std::size_t at = 0;
  int port;
  int peers[PEERS] = {-1, -1, -1};
  std::size_t sent[PEERS] = {};
  bool self_connected = false;
  int saved_max_sockets;
  int saved_max_outgoing_bytes;
  int saved_stall_timeout;
};

}  // namespace tx::fuzz
