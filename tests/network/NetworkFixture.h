#pragma once

#include "TestSupport.h"
#include "tolvex/network/NetworkManager.h"
#include "tolvex/platform/Socket.h"
#include "tolvex/world/Object.h"

namespace tx::test {

using Label = NetworkEventLabel;

// Records every "tx-network" event it is sent; with read set, also takes each DATA message's body.
class NetworkListener : public Object {
 public:
  NetworkListener() { registerInterest(NETWORK_EVENT); }
  int eventHandler(const Event* event) override {
    const auto* e = dynamic_cast<const EventNetwork*>(event);
    if (e == nullptr) return 0;
    seen.push_back(*e);
    std::string body;
    if (read && e->getLabel() == Label::DATA &&
        NetworkManager::getInstance().receive(e->getSocketIndex(), body) >= 0)
      bodies.push_back(body);
    return 1;
  }
  int count(Label label) const {
    int found = 0;
    for (const EventNetwork& event : seen) found += event.getLabel() == label;
    return found;
  }
  bool read = false;
  std::vector<EventNetwork> seen;
  std::vector<std::string> bodies;
};

// The far end of a connection, outside the engine: raw bytes in and out.
struct Peer {
  explicit Peer(int port) : socket(socketConnect("127.0.0.1", port)) {}
  ~Peer() { closeNow(); }
  bool write(const std::string& bytes) {
    return socketSendAll(socket, bytes.data(), static_cast<int>(bytes.size())) == 0;
  }
  void closeNow() {
    if (socket != -1) socketClose(socket);
    socket = -1;
  }
  int socket;
};

// A 4-byte length prefix (whole message length, host order), and a whole message.
inline std::string prefixOnly(int length) {
  return std::string(reinterpret_cast<const char*>(&length), MESSAGE_PREFIX_SIZE);
}
inline std::string frame(const std::string& body) {
  return prefixOnly(static_cast<int>(body.size()) + MESSAGE_PREFIX_SIZE) + body;
}

class NetworkTest : public LoggedTest {
 protected:
  void SetUp() override {
    LoggedTest::SetUp();
    ASSERT_EQ(network().startUp(), 0);
  }
  void TearDown() override {
    if (network().isStarted()) network().shutDown();
    LoggedTest::TearDown();
  }
  static NetworkManager& network() { return NetworkManager::getInstance(); }
  static int listen() {  // on a free loopback port, which it returns
    EXPECT_EQ(network().setServer(0, "127.0.0.1"), 0);
    return network().getServerPort();
  }
  static int acceptOne() {  // waits for a connection; its index, or the last result
    int index = -1;
    waitFor([&] { return (index = network().accept()) != -1; });
    return index;
  }
  static std::string receiveBody(int sock_index) {  // the next whole message's body, or "<none>"
    std::string body;
    return network().receive(sock_index, body) >= 0 ? body : "<none>";
  }
};

}  // namespace tx::test
