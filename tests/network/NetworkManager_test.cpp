#include "tolvex/network/NetworkManager.h"

#include <sys/socket.h>

#include <memory>

#include "NetworkFixture.h"
#include "Probe.h"
#include "tolvex/core/Config.h"
#include "tolvex/core/GameManager.h"

namespace tx::test {
namespace {

TEST_F(NetworkTest, MessagesAreAnnouncedOnlyWholeInOrderUntilReceivedAndUntilPeerCloses) {
  NetworkListener listener;
  Peer peer(listen());
  ASSERT_EQ(acceptOne(), 0);
  const std::string message = prefixOnly(10) + "abcdef";
  for (const auto& [from, upto] : {std::pair(0, 3), std::pair(3, 9), std::pair(9, 10)}) {
    peer.write(message.substr(from, upto - from));
    ASSERT_TRUE(waitFor([&] { return network().isData(0) == upto; }));
    EXPECT_EQ(network().genDataEvents(0), upto == 10 ? 1 : 0) << upto << " of 10 bytes";
  }
  EXPECT_EQ(listener.seen.back().getBytes(), 10);
  EXPECT_EQ(network().genDataEvents(0), 1) << "announced again until received";
  EXPECT_EQ(receiveBody(0), "abcdef");

  const std::string largest(MAX_MESSAGE_SIZE - MESSAGE_PREFIX_SIZE, 'x');
  peer.write(frame("one") + frame(""));
  ASSERT_TRUE(waitFor([&] { return network().isData(0) == 11; }));
  char small[2];
  EXPECT_EQ(network().receive(0, small, 2), -1) << "a too small buffer consumes nothing";
  EXPECT_TRUE(logHas(
      "NetworkManager::receive(): Error! Buffer of 2 bytes too small for a body of 3 bytes."));
  std::vector<std::string> bodies;
  while (network().genDataEvents(0) == 1) bodies.push_back(receiveBody(0));
  EXPECT_EQ(bodies, (std::vector<std::string>{"one", ""}));
  peer.write(frame(largest));
  ASSERT_TRUE(waitFor([&] { return network().genDataEvents(0) == 1; }));
  EXPECT_EQ(receiveBody(0), largest);

  peer.write(frame("last") + prefixOnly(10) + "abc");
  peer.closeNow();
  ASSERT_TRUE(waitFor([&] { return network().genDataEvents(0) == 1; }));
  EXPECT_EQ(receiveBody(0), "last");
  ASSERT_TRUE(
      waitFor([&] { return network().genDataEvents(0) == 0 && network().getNumConnected() == 0; }));
  EXPECT_EQ(listener.count(Label::CLOSE), 1);
  EXPECT_TRUE(
      logHas("NetworkManager::genDataEvents(): Connection closed by peer on sock index 0 "
             "(7 bytes unread)."));
  Peer again(network().getServerPort());  // The line names the operation that found the close.
  ASSERT_EQ(acceptOne(), 0);
  again.write(prefixOnly(10) + "abc");
  again.closeNow();
  ASSERT_TRUE(
      waitFor([&] { return receiveBody(0) == "<none>" && network().getNumConnected() == 0; }));
  EXPECT_TRUE(logHas(
      "NetworkManager::receive(): Connection closed by peer on sock index 0 (7 bytes unread)."));
}

TEST_F(NetworkTest, BrokenPrefixClosesTheSocketWithCloseEvent) {
  NetworkListener listener;
  int port = listen();
  for (int length : {3, 0, -7, MAX_MESSAGE_SIZE + 1}) {
    SCOPED_TRACE("prefix " + std::to_string(length));
    Peer peer(port);
    ASSERT_EQ(acceptOne(), 0);
    peer.write(prefixOnly(length) + "rest");
    ASSERT_TRUE(waitFor([&] { return network().isData(0) == 8; }));
    EXPECT_EQ(network().genDataEvents(0), -1);
    EXPECT_TRUE(logHas("NetworkManager::genDataEvents(): Error! Bad message length (" +
                       std::to_string(length) + ") on sock index 0, closing."));
    EXPECT_TRUE(waitFor([&] { return socketPeerClosed(peer.socket); }));
  }
  EXPECT_EQ(listener.count(Label::CLOSE), 4);
}

// Beyond the limit a connect fails; shut-down closes each one.
TEST_F(NetworkTest, ConnectionsUpToTheLimitClosingShiftsLaterSockets) {
  NetworkListener listener;
  const int spare = socketListen("127.0.0.1", 0), closed_port = socketLocalPort(spare);
  socketClose(spare);
  EXPECT_EQ(network().connect("127.0.0.1", closed_port), -1);
  EXPECT_TRUE(logHas("\t111 - Connection refused"));
  network().setMaxSockets(2);
  ASSERT_EQ(network().connect("127.0.0.1", listen()), 0);
  EXPECT_EQ(listener.seen.at(0).getLabel(), Label::CONNECT);
  ASSERT_EQ(acceptOne(), 1);
  EXPECT_EQ(network().connect("127.0.0.1", network().getServerPort()), -1);
  EXPECT_EQ(network().send(0, "ping"), 0);
  ASSERT_TRUE(waitFor([&] { return network().isData(1) == 8; }));
  network().close(0);
  EXPECT_EQ(listener.seen.back().getSocketIndex(), 0);
  EXPECT_EQ(receiveBody(0), "ping") << "the accepted socket moved down to index 0";
  network().shutDown();
  EXPECT_EQ(listener.count(Label::CLOSE), 2);
}

TEST_F(NetworkTest, MisuseIsRefusedAndLogged) {
  EXPECT_EQ(EventNetwork(static_cast<Label>(7)).getLabel(), Label::UNDEFINED);
  EXPECT_TRUE(logHas("EventNetwork::setLabel(): Undefined type (7)."));
  NetworkListener listener;
  EXPECT_EQ(network().accept(), -2);
  EXPECT_TRUE(logHas("NetworkManager::accept(): Error! Not setup as server."));
  EXPECT_EQ(network().isData(-1) + network().send(0, "x") + network().setMaxSockets(-1) +
                network().registerInterest(&listener, STEP_EVENT),
            -4);
  EXPECT_TRUE(logHas("NetworkManager::send(): Error! Sock index 0 not connected."));
  network().close(0);
  EXPECT_TRUE(logHas("NetworkManager::close(): sock_index (0) out of range."));
  listen();
  EXPECT_EQ(network().setServer(0, "127.0.0.1"), -1);
  EXPECT_EQ(network().accept(), -1) << "nothing pending must not block";
}

TEST_F(NetworkTest, ConnectReturnsAtOnceAndAnnouncesTheHandshakesEnd) {
  for (const bool refused : {true, false}) {
    SCOPED_TRACE(refused ? "refused" : "accepted");
    NetworkListener listener;
    // A full accept queue: the system leaves a new handshake unanswered for a while.
    const int server = socketListen("127.0.0.1", 0), port = socketLocalPort(server);
    ::listen(server, 0);
    Peer queued(port);  // The one place in the queue.
    const auto acceptNext = [&] {
      int socket = -1;
      waitFor([&] { return (socket = socketAccept(server)) != -1; });
      return socket;
    };
    ASSERT_EQ(network().connect("127.0.0.1", port), 0);
    EXPECT_EQ(listener.count(Label::CONNECT), 0);
    EXPECT_EQ(network().send(0, "early"), 0) << "kept until connected";
    socketClose(refused ? server : acceptNext());  // Room for the retried handshake, or none.
    ASSERT_TRUE(waitFor([&] {
      network().genDataEvents(0);
      return listener.count(refused ? Label::CLOSE : Label::CONNECT) == 1;
    }));
    if (refused) {
      EXPECT_EQ(network().getNumConnected(), 0);
      EXPECT_TRUE(logHas("NetworkManager::genDataEvents(): Error! connect() to 127.0.0.1:" +
                         std::to_string(port) + " returned:"));
      continue;
    }
    const int far = acceptNext();
    std::string got(9, '\0');
    ASSERT_TRUE(waitFor([&] { return socketPeek(far, &got[0], 9) == 9; }));
    EXPECT_EQ(got, frame("early"));
  }
}

// A 1 MiB outgoing cap and a 150 ms stall timeout, set as a game would; two peers accepted.
class NetworkLimitsTest : public NetworkTest {
 protected:
  void SetUp() override {
    Config::getInstance().loadConfig("max_outgoing_bytes:1048576,stall_timeout:150,");
    NetworkTest::SetUp();
    network().setMaxSockets(2);  // one at first
    const int port = listen();
    first = std::make_unique<Peer>(port), second = std::make_unique<Peer>(port);
    ASSERT_EQ(acceptOne(), 0);
    ASSERT_EQ(acceptOne(), 1);
  }
  static bool pollAll() {  // as the game loop does each frame; false, to poll on in waitFor
    for (int i = 0; i < network().getNumConnected(); ++i) network().genDataEvents(i);
    return false;
  }
  NetworkListener listener;
  std::unique_ptr<Peer> first, second;
};

TEST_F(NetworkLimitsTest, PeerThatStopsReadingIsClosedAtTheCapWhileTheOtherGetsEveryMessage) {
  const std::string body(16 * 1024, 'm');
  std::string read, expected;
  const auto drain = [&] {
    char buffer[65536];
    for (int count; (count = socketReceive(first->socket, buffer, sizeof buffer)) > 0;)
      read.append(buffer, count);
  };
  while (expected.size() < 64 * 1024 * 1024 && network().getNumConnected() == 2) {
    ASSERT_EQ(network().send(0, body), 0);
    network().send(1, body);
    expected += frame(body), drain();
  }
  ASSERT_EQ(listener.count(Label::CLOSE), 1);
  const auto closing = logLinesWith(" over the limit (1048576); the peer is not reading, closing.");
  ASSERT_EQ(closing.size(), 1u);
  EXPECT_EQ(closing[0].rfind("NetworkManager::send(): Error! Sock index 1 keeps ", 0), 0u);
  ASSERT_TRUE(waitFor([&] {
    network().genDataEvents(0);
    drain();
    return read.size() >= expected.size();
  }));
  EXPECT_TRUE(read == expected) << "every message whole and in order";
}

TEST_F(NetworkLimitsTest, OnlyAPeerStuckPartWayThroughAMessageIsClosedAfterTheTimeout) {
  first->write(frame("first"));
  ASSERT_TRUE(waitFor([&] { return network().isData(0) == 9; }));
  waitFor(pollAll, 1);  // Announced, not taken, for longer than the timeout.
  EXPECT_EQ(receiveBody(0), "first");
  waitFor(pollAll, 1);  // Nothing on the way.
  ASSERT_EQ(network().getNumConnected(), 2);
  first->write(prefixOnly(100000) + "abc");
  second->write(prefixOnly(100000));
  ASSERT_TRUE(waitFor([&] {
    second->write("t");  // Many times within the timeout: bytes come, the message never ends.
    pollAll();
    return network().getNumConnected() == 0;
  }));
  EXPECT_EQ(listener.count(Label::CLOSE), 2);
  EXPECT_EQ(logLinesWith("NetworkManager::genDataEvents(): Warning! Message on sock index ").size(),
            2u);
  EXPECT_EQ(logLinesWith(" ms (limit 150), closing.").size(), 2u);
}

TEST_F(NetworkLimitsTest, LimitsOutOfRangeInTheConfigurationAreLoggedAndKept) {
  network().shutDown();
  Config::getInstance().loadConfig("max_outgoing_bytes:-1,stall_timeout:0,");
  ASSERT_EQ(network().startUp(), 0);
  EXPECT_TRUE(logHas("NetworkManager::setMaxOutgoingBytes(): Error! -1 out of range."));
  EXPECT_TRUE(logHas("NetworkManager::setStallTimeout(): Error! 0 out of range."));
  EXPECT_EQ(std::pair(network().getMaxOutgoingBytes(), network().getStallTimeout()),
            std::pair(1048576, 150));
}

class GameLoopNetworkTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    writeFile("tx-config.txt", "headless:true,\nnetworking:true,\n");
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    ASSERT_EQ(network.setServer(0, "127.0.0.1"), 0);
  }
  void TearDown() override {
    GameManager::getInstance().shutDown();
    EngineTest::TearDown();
  }
  NetworkManager& network = NetworkManager::getInstance();
};

TEST_F(GameLoopNetworkTest, OneFrameAcceptsEveryWaitingConnectionUpToTheFreeSlots) {
  network.setMaxSockets(100);
  std::vector<std::unique_ptr<Peer>> peers;
  for (int i = 0; i < 101; ++i) peers.push_back(std::make_unique<Peer>(network.getServerPort()));
  new Stepper([](int) { GameManager::getInstance().setGameOver(); });  // Deleted at shut-down.
  GameManager::getInstance().run();
  EXPECT_EQ(network.getNumConnected(), 100);
  EXPECT_TRUE(waitFor([&] { return socketPeerClosed(peers.back()->socket); }))
      << "the one over the limit";
}

TEST_F(GameLoopNetworkTest, LoopTurnsArrivedMessagesIntoEventsAndWarnsOfUnreadOnes) {
  const std::string residual = "GameManager::run(): Warning! Residual network data.";
  auto* listener = new NetworkListener;
  listener->read = true;
  new Stepper([&](int step) {
    if (listener->bodies.size() == 2 || logHas(residual) || step > 300)
      GameManager::getInstance().setGameOver();
  });
  Peer peer(network.getServerPort());
  ASSERT_TRUE(peer.write(frame("first") + frame("second")));
  GameManager::getInstance().run();
  EXPECT_EQ(listener->bodies, (std::vector<std::string>{"first", "second"}));
  EXPECT_FALSE(logHas(residual));
  listener->read = false;
  ASSERT_TRUE(peer.write(frame("unread")));
  GameManager::getInstance().run();
  EXPECT_TRUE(logHas(residual));
}

}  // namespace
}  // namespace tx::test
