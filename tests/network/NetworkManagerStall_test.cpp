#include <chrono>
#include <string>
#include <thread>

#include "NetworkFixture.h"
#include "tolvex/core/Config.h"

namespace tx::test {
namespace {

// The network manager started with a 1 MiB outgoing cap and a 150 ms stall timeout, from the
// configuration as a game would set them.
class NetworkLimitsTest : public NetworkTest {
 protected:
  void SetUp() override {
    Config::getInstance().loadConfig("max_outgoing_bytes:1048576,stall_timeout:150,");
    NetworkTest::SetUp();
  }
  int logCountOf(const std::string& part) const {
    int found = 0;
    const std::string text = logText();
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
  }
  // Polls every socket for the given time, so that time passes as it does in the game loop.
  static void pollFor(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
      for (int i = 0; i < network().getNumConnected(); ++i) network().genDataEvents(i);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
};

// Everything a peer can read now.
std::string drain(const Peer& peer) {
  std::string got;
  char buffer[65536];
  int count = 0;
  while ((count = socketReceive(peer.socket, buffer, sizeof buffer)) > 0) got.append(buffer, count);
  return got;
}

TEST_F(NetworkLimitsTest, PeerThatStopsReadingIsClosedAtTheCapWhileTheOtherGetsEveryMessage) {
  NetworkListener listener;
  network().setMaxSockets(2);
  const int port = listen();
  Peer reader(port);
  Peer stopped(port);
  ASSERT_EQ(acceptOne(), 0);
  ASSERT_EQ(acceptOne(), 1);
  // One 16 KiB message to each peer per frame, far past what the system buffers.
  const std::string body(16 * 1024, 'm');
  std::string read;
  int frames = 0;
  for (; frames < 4096 && network().getNumConnected() == 2; ++frames) {
    ASSERT_EQ(network().send(0, body), 0);
    network().send(1, body);
    read += drain(reader);
  }
  EXPECT_EQ(network().getNumConnected(), 1);
  ASSERT_EQ(listener.count(Label::CLOSE), 1);
  EXPECT_EQ(listener.seen.back().getSocketIndex(), 1);
  EXPECT_EQ(logCountOf("NetworkManager::send(): Error! Sock index 1 keeps "), 1);
  EXPECT_EQ(logCountOf(" over the limit (1048576); the peer is not reading, closing."), 1);
  std::string expected;
  for (int i = 0; i < frames; ++i) expected += frame(body);
  ASSERT_TRUE(waitFor([&] {
    network().genDataEvents(0);
    read += drain(reader);
    return read.size() >= expected.size();
  }));
  EXPECT_TRUE(read == expected) << "every message whole and in order";
}

TEST_F(NetworkLimitsTest, PeerThatStopsOrTricklesPartWayThroughAMessageIsClosedAfterTheTimeout) {
  NetworkListener listener;
  network().setMaxSockets(2);
  const int port = listen();
  Peer stops(port);
  Peer trickles(port);
  ASSERT_EQ(acceptOne(), 0);
  ASSERT_EQ(acceptOne(), 1);
  stops.write(prefixOnly(100000) + "abc");
  trickles.write(prefixOnly(100000));
  ASSERT_TRUE(waitFor([&] {
    trickles.write("t");  // Many times within the timeout: bytes come, the message never ends.
    pollFor(5);
    return network().getNumConnected() == 0;
  }));
  EXPECT_EQ(listener.count(Label::CLOSE), 2);
  EXPECT_EQ(logCountOf("NetworkManager::genDataEvents(): Warning! Message on sock index "), 2);
  EXPECT_EQ(logCountOf(" ms (limit 150), closing."), 2);
}

TEST_F(NetworkLimitsTest, PausesBetweenMessagesAndUnreadWholeMessagesAreNoStall) {
  NetworkListener listener;
  Peer peer(listen());
  ASSERT_EQ(acceptOne(), 0);
  peer.write(frame("first"));
  ASSERT_TRUE(waitForBytes(0, 9));
  pollFor(400);  // Announced, not taken.
  EXPECT_EQ(receiveBody(0), "first");
  pollFor(400);  // Nothing on the way.
  peer.write(frame("second"));
  ASSERT_TRUE(waitForBytes(0, 10));
  EXPECT_EQ(receiveBody(0), "second");
  EXPECT_EQ(listener.count(Label::CLOSE), 0);
}

// With the default stall timeout, so that only the peer's close can end the connection.
TEST_F(NetworkTest, ClosedByPeerLineNamesTheOperationThatFoundIt) {
  Peer peer(listen());
  ASSERT_EQ(acceptOne(), 0);
  peer.write(prefixOnly(10) + "abc");
  peer.closeNow();
  ASSERT_TRUE(waitFor([&] {
    receiveBody(0);
    return network().getNumConnected() == 0;
  }));
  EXPECT_TRUE(logHas(
      "NetworkManager::receive(): Connection closed by peer on sock index 0 (7 bytes unread)."));
}

TEST_F(NetworkLimitsTest, LimitsOutOfRangeInTheConfigurationAreLoggedAndKept) {
  EXPECT_EQ(network().getMaxOutgoingBytes(), 1048576);
  network().shutDown();
  Config::getInstance().loadConfig("max_outgoing_bytes:-1,stall_timeout:0,");
  ASSERT_EQ(network().startUp(), 0);
  EXPECT_TRUE(logHas("NetworkManager::setMaxOutgoingBytes(): Error! -1 out of range."));
  EXPECT_TRUE(logHas("NetworkManager::setStallTimeout(): Error! 0 out of range."));
  EXPECT_EQ(network().getMaxOutgoingBytes(), 1048576);
  EXPECT_EQ(network().getStallTimeout(), 150);
}

}  // namespace
}  // namespace tx::test
