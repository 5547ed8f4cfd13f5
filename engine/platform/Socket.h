#pragma once

#include <string>

// The operating system's TCP sockets, for the network manager. Handles are plain descriptors;
// -1 is never a valid one. Failing calls return -1 and leave the code in socketLastError().
namespace tx {

// Prepares the socket layer; nothing to prepare here, so it always succeeds (0).
int socketStartUp();
// The code of the last failed socket call of this thread.
int socketLastError();
// True when the code means "would have to wait".
bool socketWouldBlock(int code);
// The system's text for an error code, empty when it has none.
std::string socketErrorText(int code);

// A non-blocking listening TCP socket bound to address (numeric IPv4, empty for every
// interface) and port (0 picks a free one). The handle, or -1 with nothing left open.
int socketListen(const std::string& address, int port);
// The local port a socket is bound to, or -1.
int socketLocalPort(int socket);
// One pending connection from a listening socket, as a non-blocking socket; -1 when none is
// pending (would-block) or on failure.
int socketAccept(int listening_socket);
// A non-blocking TCP socket whose connection to host:port has been started; the handshake goes
// on in the background (see socketConnectResult). A numeric address never waits; a host name
// is looked up first, which may wait for the system's resolver. The handle, or -1 when the
// lookup failed or the connection was refused at once.
int socketConnectStart(const std::string& host, int port);
// Where the handshake of a socket from socketConnectStart stands, without waiting: 1 when the
// connection is made, 0 while the handshake is under way, -1 when it failed.
int socketConnectResult(int socket);
// A connected blocking TCP socket to host:port, waiting for the handshake: for a far end that
// is not the engine's (a test's or a tool's peer). The handle, or -1.
int socketConnect(const std::string& host, int port);

// Bytes that can be read without waiting, stored in count. 0, or -1 on failure.
int socketBytesWaiting(int socket, int& count);
// Copies up to bytes waiting bytes without consuming them. Count copied, 0 at end of stream.
int socketPeek(int socket, void* buffer, int bytes);
// Reads up to bytes waiting bytes without waiting. Count read, 0 at end of stream.
int socketReceive(int socket, void* buffer, int bytes);
// Passes bytes to the system as far as it takes them now, without waiting. The count taken (0
// when its buffer is full), or -1 when the connection failed (the stream is then unusable).
int socketSend(int socket, const void* buffer, int bytes);
// Sends all bytes, waiting while the system's buffer is full: for a far end that is not the
// engine's. 0, or -1 when the connection failed part way (the stream is then unusable).
int socketSendAll(int socket, const void* buffer, int bytes);
// True when the peer has closed its side or the connection has failed.
bool socketPeerClosed(int socket);
// 0, or -1 (the handle is released all the same).
int socketClose(int socket);

}  // namespace tx
