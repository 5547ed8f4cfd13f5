#include "tolvex/network/NetworkManager.h"

#include "NetworkFixture.h"

namespace tx::test {
namespace {

// One connection carries a message in pieces, then several back to back up to the largest size,
// then a closing peer.
TEST_F(NetworkTest, MessagesAreAnnouncedOnlyWholeInOrderUntilReceivedAndUntilPeerCloses) {
  NetworkListener listener;
  Peer peer(listen());
  ASSERT_EQ(acceptOne(), 0);
  const std::string message = prefixOnly(10) + "abcdef";
  int from = 0;
  for (int upto : {3, 9, 10}) {
    peer.write(message.substr(from, upto - from));
    from = upto;
    ASSERT_TRUE(waitForBytes(0, upto));
    EXPECT_EQ(network().genDataEvents(0), upto == 10 ? 1 : 0) << upto << " of 10 bytes";
  }
  ASSERT_EQ(listener.count(Label::DATA), 1);
  EXPECT_EQ(listener.seen.back().getBytes(), 10);
  EXPECT_EQ(network().genDataEvents(0), 1) << "announced again until received";
  EXPECT_EQ(receiveBody(0), "abcdef");
  EXPECT_EQ(network().genDataEvents(0), 0);

  const std::string largest(MAX_MESSAGE_SIZE - MESSAGE_PREFIX_SIZE, 'x');
  const std::string stream = frame("one") + frame("");
  peer.write(stream);
  ASSERT_TRUE(waitForBytes(0, static_cast<int>(stream.size())));
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
  ASSERT_TRUE(waitForBytes(0, 15));
  EXPECT_EQ(network().genDataEvents(0), 1);
  EXPECT_EQ(receiveBody(0), "last");
  ASSERT_TRUE(
      waitFor([&] { return network().genDataEvents(0) == 0 && network().getNumConnected() == 0; }));
  EXPECT_EQ(listener.count(Label::CLOSE), 1);
  EXPECT_TRUE(
      logHas("NetworkManager::genDataEvents(): Connection closed by peer on sock index 0 "
             "(7 bytes unread)."));
}

TEST_F(NetworkTest, BrokenPrefixClosesTheSocketWithCloseEvent) {
  NetworkListener listener;
  int port = listen();
  for (int length : {3, 0, -7, MAX_MESSAGE_SIZE + 1}) {
    SCOPED_TRACE("prefix " + std::to_string(length));
    Peer peer(port);
    ASSERT_EQ(acceptOne(), 0);
    peer.write(prefixOnly(length) + "rest");
    ASSERT_TRUE(waitForBytes(0, 8));
    EXPECT_EQ(network().genDataEvents(0), -1);
    EXPECT_TRUE(logHas("NetworkManager::genDataEvents(): Error! Bad message length (" +
                       std::to_string(length) + ") on sock index 0, closing."));
    EXPECT_EQ(network().getNumConnected(), 0);
    EXPECT_TRUE(waitFor([&] { return peer.seesClose(); }));
  }
  EXPECT_EQ(listener.count(Label::CLOSE), 4);
  EXPECT_EQ(listener.count(Label::DATA), 0);
}

// A refused connect is logged; beyond the socket limit a connect fails and an accepted peer is
// closed; closing a socket moves the later ones down; shut-down closes each with a close event.
TEST_F(NetworkTest, ConnectionsUpToTheLimitClosingShiftsLaterSockets) {
  NetworkListener listener;
  int spare = socketListen("127.0.0.1", 0);
  int closed_port = socketLocalPort(spare);
  socketClose(spare);
  EXPECT_EQ(network().connect("127.0.0.1", closed_port), -1);
  EXPECT_TRUE(logHas("\t111 - Connection refused"));
  network().setMaxSockets(2);
  ASSERT_EQ(network().connect("127.0.0.1", listen()), 0);
  EXPECT_EQ(listener.seen.at(0).getLabel(), Label::CONNECT);
  ASSERT_EQ(acceptOne(), 1);
  EXPECT_EQ(network().connect("127.0.0.1", network().getServerPort()), -1);
  Peer over(network().getServerPort());
  ASSERT_TRUE(waitFor([&] { return network().accept() == -1 && over.seesClose(); }));
  EXPECT_EQ(network().send(0, "ping"), 0);
  ASSERT_TRUE(waitForBytes(1, 8));
  network().close(0);
  EXPECT_EQ(listener.seen.back().getSocketIndex(), 0);
  EXPECT_EQ(receiveBody(0), "ping") << "the accepted socket moved down to index 0";
  network().shutDown();
  EXPECT_EQ(listener.count(Label::CLOSE), 2);
}

}  // namespace
}  // namespace tx::test
