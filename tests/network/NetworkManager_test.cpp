#include "network/NetworkManager.h"

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "NetworkFixture.h"

namespace tx::test {
namespace {

using Label = NetworkEventLabel;

TEST_F(NetworkTest, AcceptWithoutServerIsAnError) {
  EXPECT_FALSE(network().isServer());
  EXPECT_EQ(network().accept(), -2);
  EXPECT_TRUE(logHas("NetworkManager::accept(): Error! Not setup as server."));
}

TEST_F(NetworkTest, AcceptWithNothingPendingDoesNotWait) {
  listen();
  EXPECT_EQ(network().accept(), -1);
  EXPECT_EQ(network().getNumConnected(), 0);
}

TEST_F(NetworkTest, AcceptedConnectionsAreIndexedInOrderWithAcceptEvents) {
  NetworkListener listener;
  network().setMaxSockets(2);
  int port = listen();
  Peer first(port), second(port);
  ASSERT_TRUE(first.connected() && second.connected());
  EXPECT_EQ(acceptOne(), 0);
  EXPECT_EQ(acceptOne(), 1);
  EXPECT_EQ(network().getNumConnected(), 2);
  ASSERT_EQ(listener.seen.size(), 2u);
  EXPECT_EQ(listener.seen[0].label, Label::ACCEPT);
  EXPECT_EQ(listener.seen[0].socket_index, 0);
  EXPECT_EQ(listener.seen[1].socket_index, 1);
  EXPECT_EQ(listener.seen[1].bytes, 0);
}

TEST_F(NetworkTest, ConnectionOverTheLimitIsClosedAtOnce) {
  LogManager::getInstance().setLogLevel(1);
  NetworkListener listener;
  int port = listen();
  Peer first(port), second(port);
  EXPECT_EQ(acceptOne(), 0);
  ASSERT_TRUE(waitUntil([&] {
    network().accept();
    return second.seesClose();
  }));
  EXPECT_EQ(network().getNumConnected(), 1);
  EXPECT_EQ(listener.count(Label::ACCEPT), 1);
  EXPECT_FALSE(first.seesClose());
  EXPECT_TRUE(logHas("NetworkManager::accept(): Warning! accept() connection, but at limit (1)."));
  EXPECT_TRUE(logHas("\tUse NM.setMaxSockets() to change."));
}

TEST_F(NetworkTest, PartialMessageAnnouncesNothingUntilComplete) {
  NetworkListener listener;
  Peer peer(listen());
  ASSERT_EQ(acceptOne(), 0);
  const std::string message = prefixOnly(10) + "abcdef";

  peer.write(message.substr(0, 3));
  ASSERT_TRUE(waitForBytes(0, 3));
  EXPECT_EQ(network().genDataEvents(0), 0);

  peer.write(message.substr(3, 6));
  ASSERT_TRUE(waitForBytes(0, 9));
  EXPECT_EQ(network().genDataEvents(0), 0);
  EXPECT_EQ(listener.count(Label::DATA), 0);

  peer.write(message.substr(9));
  ASSERT_TRUE(waitForBytes(0, 10));
  EXPECT_EQ(network().genDataEvents(0), 1);
  ASSERT_EQ(listener.count(Label::DATA), 1);
  EXPECT_EQ(listener.seen.back().bytes, 10);
  EXPECT_EQ(listener.seen.back().socket_index, 0);
}

TEST_F(NetworkTest, MessageIsAnnouncedUntilReceivedThenOnlyOnce) {
  NetworkListener listener;
  Peer peer(listen());
  ASSERT_EQ(acceptOne(), 0);
  peer.write(frame("abcdef"));
  ASSERT_TRUE(waitForBytes(0, 10));
  EXPECT_EQ(network().genDataEvents(0), 1);
  EXPECT_EQ(network().genDataEvents(0), 1);
  std::string body;
  EXPECT_EQ(network().receive(0, body), 6);
  EXPECT_EQ(body, "abcdef");
  EXPECT_EQ(network().genDataEvents(0), 0);
  EXPECT_EQ(network().isData(0), 0);
  EXPECT_EQ(listener.count(Label::DATA), 2);
}

TEST_F(NetworkTest, BackToBackMessagesAreReceivedInOrder) {
  Peer peer(listen());
  ASSERT_EQ(acceptOne(), 0);
  const std::string stream = frame("one") + frame("") + frame(std::string(300, 'x'));
  peer.write(stream);
  ASSERT_TRUE(waitForBytes(0, static_cast<int>(stream.size())));
  std::vector<std::string> bodies;
  while (network().genDataEvents(0) == 1) {
    std::string body;
    ASSERT_GE(network().receive(0, body), 0);
    bodies.push_back(body);
  }
  EXPECT_EQ(bodies, (std::vector<std::string>{"one", "", std::string(300, 'x')}));
}

TEST_F(NetworkTest, ReceiveIntoTooSmallBufferConsumesNothing) {
  Peer peer(listen());
  ASSERT_EQ(acceptOne(), 0);
  peer.write(frame("12345"));
  ASSERT_TRUE(waitForBytes(0, 9));
  char buffer[5] = {};
  EXPECT_EQ(network().receive(0, buffer, 4), -1);
  EXPECT_TRUE(logHas(
      "NetworkManager::receive(): Error! Buffer of 4 bytes too small for a body of 5 bytes."));
  EXPECT_EQ(network().isData(0), 9);
  EXPECT_EQ(network().receive(0, buffer, 5), 5);
  EXPECT_EQ(std::string(buffer, 5), "12345");
}

class BrokenPrefix : public NetworkTest, public ::testing::WithParamInterface<int> {};

TEST_P(BrokenPrefix, ClosesTheSocketWithCloseEvent) {
  NetworkListener listener;
  Peer peer(listen());
  ASSERT_EQ(acceptOne(), 0);
  peer.write(prefixOnly(GetParam()) + "rest");
  ASSERT_TRUE(waitForBytes(0, 8));
  EXPECT_EQ(network().genDataEvents(0), -1);
  EXPECT_TRUE(logHas("NetworkManager::genDataEvents(): Error! Bad message length (" +
                     std::to_string(GetParam()) + ") on sock index 0, closing."));
  EXPECT_EQ(network().getNumConnected(), 0);
  EXPECT_EQ(listener.count(Label::DATA), 0);
  ASSERT_EQ(listener.count(Label::CLOSE), 1);
  EXPECT_EQ(listener.seen.back().socket_index, 0);
  EXPECT_TRUE(waitUntil([&] { return peer.seesClose(); }));
}

INSTANTIATE_TEST_SUITE_P(ShortNegativeOrHuge, BrokenPrefix,
                         ::testing::Values(3, 0, -7, MAX_MESSAGE_SIZE + 1));

TEST_F(NetworkTest, PeerClosingMidMessageClosesTheSocket) {
  NetworkListener listener;
  Peer peer(listen());
  ASSERT_EQ(acceptOne(), 0);
  peer.write(prefixOnly(10) + "abc");
  peer.closeNow();
  ASSERT_TRUE(waitUntil([&] {
    network().genDataEvents(0);
    return network().getNumConnected() == 0;
  }));
  EXPECT_EQ(listener.count(Label::DATA), 0);
  EXPECT_EQ(listener.count(Label::CLOSE), 1);
  EXPECT_TRUE(
      logHas("NetworkManager::genDataEvents(): Connection closed by peer on sock index 0 (7 bytes "
             "unread)."));
}

TEST_F(NetworkTest, PeerClosingAfterAMessageLeavesItReadableThenCloses) {
  NetworkListener listener;
  Peer peer(listen());
  ASSERT_EQ(acceptOne(), 0);
  peer.write(frame("last"));
  peer.closeNow();
  ASSERT_TRUE(waitForBytes(0, 8));
  EXPECT_EQ(network().genDataEvents(0), 1);
  std::string body;
  EXPECT_EQ(network().receive(0, body), 4);
  EXPECT_EQ(body, "last");
  EXPECT_EQ(network().genDataEvents(0), 0);
  EXPECT_EQ(network().getNumConnected(), 0);
  EXPECT_EQ(listener.count(Label::CLOSE), 1);
}

TEST_F(NetworkTest, ClosingShiftsLaterSocketsDown) {
  NetworkListener listener;
  network().setMaxSockets(2);
  int port = listen();
  Peer first(port);
  ASSERT_EQ(acceptOne(), 0);
  Peer second(port);
  ASSERT_EQ(acceptOne(), 1);
  network().close(0);
  EXPECT_EQ(listener.seen.back().label, Label::CLOSE);
  EXPECT_EQ(listener.seen.back().socket_index, 0);
  second.write(frame("hi"));
  ASSERT_TRUE(waitForBytes(0, 6));
  EXPECT_EQ(network().genDataEvents(0), 1);
  EXPECT_EQ(listener.seen.back().socket_index, 0);
  EXPECT_TRUE(waitUntil([&] { return first.seesClose(); }));
}

// Closes its socket again, and the other one too, from inside the CLOSE handler.
class ClosingAgain : public NetworkListener {
 public:
  int eventHandler(const Event* event) override {
    NetworkListener::eventHandler(event);
    const auto* network_event = static_cast<const EventNetwork*>(event);
    if (network_event->getLabel() == NetworkEventLabel::CLOSE &&
        count(NetworkEventLabel::CLOSE) == 1) {
      NetworkManager::getInstance().close(network_event->getSocketIndex());
      NetworkManager::getInstance().close(1);
    }
    return 1;
  }
};

TEST_F(NetworkTest, CloseHandlerClosingAgainClosesEachSocketOnce) {
  ClosingAgain listener;
  network().setMaxSockets(2);
  int port = listen();
  Peer first(port), second(port);
  ASSERT_EQ(acceptOne(), 0);
  ASSERT_EQ(acceptOne(), 1);
  network().close(0);
  EXPECT_EQ(listener.count(Label::CLOSE), 2);
  EXPECT_EQ(network().getNumConnected(), 0);
  EXPECT_TRUE(waitUntil([&] { return first.seesClose() && second.seesClose(); }));
}

TEST_F(NetworkTest, BadIndicesAreRefusedAndLogged) {
  network().close(0);
  EXPECT_TRUE(logHas("NetworkManager::close(): sock_index (0) out of range."));
  EXPECT_EQ(network().isData(-1), -1);
  EXPECT_TRUE(logHas("NetworkManager::isData(): Error! Sock index -1 not connected."));
  EXPECT_EQ(network().genDataEvents(3), 0);
  EXPECT_EQ(network().send(0, "x"), -1);
  EXPECT_TRUE(logHas("NetworkManager::send(): Error! Sock index 0 not connected."));
}

TEST_F(NetworkTest, ShutDownClosesEverySocketWithOneCloseEventEach) {
  NetworkListener listener;
  network().setMaxSockets(3);
  int port = listen();
  Peer a(port), b(port), c(port);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(acceptOne(), i);
  network().shutDown();
  EXPECT_EQ(listener.count(Label::CLOSE), 3);
  EXPECT_EQ(network().getNumConnected(), 0);
  EXPECT_FALSE(network().isServer());
  EXPECT_TRUE(waitUntil([&] { return a.seesClose() && b.seesClose() && c.seesClose(); }));
}

TEST_F(NetworkTest, ConnectSendsConnectEventAndMessagesArrive) {
  NetworkListener listener;
  network().setMaxSockets(2);
  int port = listen();
  ASSERT_EQ(network().connect("127.0.0.1", port), 0);
  EXPECT_EQ(listener.seen.at(0).label, Label::CONNECT);
  ASSERT_EQ(acceptOne(), 1);
  EXPECT_EQ(network().send(0, "ping"), 0);
  ASSERT_TRUE(waitForBytes(1, 8));
  EXPECT_EQ(network().genDataEvents(1), 1);
  EXPECT_EQ(listener.seen.back().bytes, 8);
  std::string body;
  EXPECT_EQ(network().receive(1, body), 4);
  EXPECT_EQ(body, "ping");
}

TEST_F(NetworkTest, ConnectAtTheLimitIsRefused) {
  int port = listen();
  ASSERT_EQ(network().connect("127.0.0.1", port), 0);
  EXPECT_EQ(network().connect("127.0.0.1", port), -1);
  EXPECT_TRUE(logHas("NetworkManager::connect(): Error! At limit (1) of connected sockets."));
  EXPECT_EQ(network().getNumConnected(), 1);
}

TEST_F(NetworkTest, ConnectToClosedPortLogsSystemText) {
  int spare = platform::socketListen("127.0.0.1", 0);
  int port = platform::socketLocalPort(spare);
  platform::socketClose(spare);
  EXPECT_EQ(network().connect("127.0.0.1", port), -1);
  EXPECT_TRUE(logHas("NetworkManager::connect(): Error! connect() to 127.0.0.1:" +
                     std::to_string(port) + " returned:"));
  EXPECT_TRUE(logHas("\t111 - Connection refused"));
}

TEST_F(NetworkTest, SecondServerAndNegativeLimitAreRefused) {
  listen();
  EXPECT_EQ(network().setServer(0, "127.0.0.1"), -1);
  EXPECT_EQ(network().setMaxSockets(-1), -1);
  EXPECT_EQ(network().getMaxSockets(), 1);
}

TEST_F(NetworkTest, AcceptsOnlyNetworkLabels) {
  NetworkListener listener;
  for (const std::string& label :
       {NETWORK_EVENT, CUSTOM_NETWORK_EVENT, KEYBOARD_NETWORK_EVENT, MOUSE_NETWORK_EVENT})
    EXPECT_TRUE(network().isValid(label));
  EXPECT_EQ(network().registerInterest(&listener, STEP_EVENT), -1);
  EXPECT_TRUE(logHas("NetworkManager::isValid(): Error! NetworkManager does not handle tx-step."));
}

// A second engine process connects, sends a short and a largest-size message (far more than the
// system holds unread for one socket), and waits for the reply.
TEST_F(NetworkTest, TwoProcessesExchangeMessages) {
  int port = listen();
  const std::string big(MAX_MESSAGE_SIZE - MESSAGE_PREFIX_SIZE, 'b');
  const std::string child_log = path("child.log");
  pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    LogManager::getInstance().shutDown();
    setenv("TOLVEX_LOG", child_log.c_str(), 1);
    LogManager::getInstance().startUp();
    NetworkManager& nm = NetworkManager::getInstance();
    if (nm.connect("127.0.0.1", port) != 0) _exit(2);
    if (nm.send(0, "hello") != 0 || nm.send(0, big) != 0) _exit(3);
    std::string reply;
    bool answered = waitUntil([&] { return nm.receive(0, reply) >= 0; });
    _exit(answered && reply == "reply" ? 0 : 4);
  }
  std::vector<std::string> bodies;
  int index = acceptOne();
  EXPECT_EQ(index, 0);
  waitUntil([&] {
    std::string body;
    if (network().genDataEvents(0) == 1 && network().receive(0, body) >= 0) bodies.push_back(body);
    return bodies.size() == 2;
  });
  if (index == 0) network().send(0, "reply");
  int status = -1;
  bool ended = waitUntil([&] { return waitpid(child, &status, WNOHANG) == child; });
  if (!ended) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  }
  ASSERT_EQ(bodies.size(), 2u);
  EXPECT_EQ(bodies[0], "hello");
  EXPECT_TRUE(bodies[1] == big);
  EXPECT_TRUE(ended);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
}

}  // namespace
}  // namespace tx::test
