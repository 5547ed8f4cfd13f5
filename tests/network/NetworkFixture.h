#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "core/LogManager.h"
#include "network/EventNetwork.h"
#include "network/NetworkManager.h"
#include "platform/Socket.h"
#include "world/Object.h"

namespace tx::test {

// Loopback traffic needs a moment to land; every wait gives up after this long.
constexpr std::chrono::milliseconds NETWORK_PATIENCE(5000);

// Polls condition until it holds or NETWORK_PATIENCE runs out; returns its last value.
inline bool waitUntil(const std::function<bool()>& condition) {
  const auto give_up = std::chrono::steady_clock::now() + NETWORK_PATIENCE;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

struct SeenEvent {
  NetworkEventLabel label;
  int socket_index;
  int bytes;
};

// Records every "tx-network" event it is sent.
class NetworkListener : public Object {
 public:
  NetworkListener() { registerInterest(NETWORK_EVENT); }

  int eventHandler(const Event* event) override {
    if (event->getType() != NETWORK_EVENT) return 0;
    const auto* network_event = static_cast<const EventNetwork*>(event);
    seen.push_back(
        {network_event->getLabel(), network_event->getSocketIndex(), network_event->getBytes()});
    return 1;
  }

  int count(NetworkEventLabel label) const {
    int found = 0;
    for (const SeenEvent& event : seen)
      if (event.label == label) ++found;
    return found;
  }

  std::vector<SeenEvent> seen;
};

// The far end of a connection, outside the engine: raw bytes in and out.
class Peer {
 public:
  explicit Peer(int port) : socket(platform::socketConnect("127.0.0.1", port)) {}
  ~Peer() { closeNow(); }
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;

  bool connected() const { return socket != -1; }
  bool write(const std::string& bytes) {
    return platform::socketSendAll(socket, bytes.data(), static_cast<int>(bytes.size())) == 0;
  }
  void closeNow() {
    if (socket != -1) platform::socketClose(socket);
    socket = -1;
  }
  // True once the engine has closed its end.
  bool seesClose() const { return platform::socketPeerClosed(socket); }

  int socket;
};

// The 4-byte length prefix (whole message length, host order) followed by body.
inline std::string frame(const std::string& body) {
  int length = static_cast<int>(body.size()) + MESSAGE_PREFIX_SIZE;
  return std::string(reinterpret_cast<const char*>(&length), MESSAGE_PREFIX_SIZE) + body;
}

inline std::string prefixOnly(int length) {
  return std::string(reinterpret_cast<const char*>(&length), MESSAGE_PREFIX_SIZE);
}

// Log and network manager started, log lines flushed as written.
class NetworkTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ASSERT_EQ(LogManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    ASSERT_EQ(network().startUp(), 0);
  }
  void TearDown() override {
    if (network().isStarted()) network().shutDown();
    LogManager::getInstance().shutDown();
    EngineTest::TearDown();
  }

  static NetworkManager& network() { return NetworkManager::getInstance(); }

  // Listens on a free loopback port and returns it.
  int listen() {
    EXPECT_EQ(network().setServer(0, "127.0.0.1"), 0);
    return network().getServerPort();
  }

  // Accepts one pending connection, waiting for it to arrive; its index, or the last result.
  int acceptOne() {
    int index = -1;
    waitUntil([&] { return (index = network().accept()) != -1; });
    return index;
  }

  // Waits until the socket holds exactly bytes unread bytes.
  bool waitForBytes(int sock_index, int bytes) {
    return waitUntil([&] { return network().isData(sock_index) == bytes; });
  }
};

}  // namespace tx::test
