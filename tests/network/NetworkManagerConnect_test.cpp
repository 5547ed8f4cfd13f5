#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "NetworkFixture.h"
#include "tolvex/core/EventStep.h"
#include "tolvex/core/GameManager.h"

namespace tx::test {
namespace {

// A loopback server whose queue of connections waiting to be accepted is full, so that the
// system leaves a new handshake unanswered; it is retried about a second later.
struct FullServer {
  FullServer() {
    listening = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in where = {};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listening, reinterpret_cast<sockaddr*>(&where), sizeof where);
    ::listen(listening, 0);
    port = socketLocalPort(listening);
    taken.push_back(socketConnect("127.0.0.1", port));  // The one place in the queue.
  }
  ~FullServer() { stop(); }
  int acceptNext() { return taken.emplace_back(::accept(listening, nullptr, nullptr)); }
  void stop() {
    for (int socket : taken) socketClose(socket);
    taken.clear();
    if (listening != -1) socketClose(listening);
    listening = -1;
  }
  int listening = -1;
  int port = -1;
  std::vector<int> taken;
};

TEST_F(NetworkTest, ConnectReturnsAtOnceAndAnnouncesTheHandshakeWhenItCompletes) {
  NetworkListener listener;
  FullServer server;
  ASSERT_EQ(network().connect("127.0.0.1", server.port), 0);
  EXPECT_EQ(listener.count(Label::CONNECT), 0);
  EXPECT_EQ(network().send(0, "early"), 0) << "kept until connected";
  server.acceptNext();  // Room for the retried handshake.
  ASSERT_TRUE(waitFor([&] {
    network().genDataEvents(0);
    return listener.count(Label::CONNECT) == 1;
  }));
  EXPECT_EQ(listener.seen.back().getSocketIndex(), 0);
  const int far = server.acceptNext();
  std::string got(9, '\0');
  ASSERT_TRUE(waitFor([&] { return socketPeek(far, &got[0], 9) == 9; }));
  EXPECT_EQ(got, frame("early"));
}

TEST_F(NetworkTest, HandshakeThatFailsLaterIsLoggedAndAnnouncedAsClose) {
  NetworkListener listener;
  FullServer server;
  ASSERT_EQ(network().connect("127.0.0.1", server.port), 0);
  server.stop();  // The retried handshake is refused.
  ASSERT_TRUE(waitFor([&] {
    network().genDataEvents(0);
    return network().getNumConnected() == 0;
  }));
  EXPECT_EQ(listener.count(Label::CONNECT), 0);
  ASSERT_EQ(listener.count(Label::CLOSE), 1);
  EXPECT_EQ(listener.seen.back().getSocketIndex(), 0);
  EXPECT_TRUE(logHas("NetworkManager::genDataEvents(): Error! connect() to 127.0.0.1:" +
                     std::to_string(server.port) + " returned:"));
  EXPECT_TRUE(logHas("\t111 - Connection refused"));
}

struct OneFrame : Object {  // Ends the game loop after its first frame.
  OneFrame() { registerInterest(STEP_EVENT); }
  int eventHandler(const Event* event) override {
    if (event->getType() != STEP_EVENT) return 0;
    GameManager::getInstance().setGameOver(true);
    return 1;
  }
};

using GameLoopAcceptTest = EngineTest;

TEST_F(GameLoopAcceptTest, OneFrameAcceptsEveryWaitingConnectionUpToTheFreeSlots) {
  writeFile("tx-config.txt", "headless:true,\nnetworking:true,\n");
  ASSERT_EQ(GameManager::getInstance().startUp(), 0);
  NetworkManager& network = NetworkManager::getInstance();
  ASSERT_EQ(network.setServer(0, "127.0.0.1"), 0);
  network.setMaxSockets(100);
  std::vector<std::unique_ptr<Peer>> peers;
  for (int i = 0; i < 101; ++i) peers.push_back(std::make_unique<Peer>(network.getServerPort()));
  new OneFrame;  // Deleted by the world manager at shut-down.
  GameManager::getInstance().run();
  EXPECT_EQ(network.getNumConnected(), 100);
  EXPECT_TRUE(waitFor([&] { return peers.back()->seesClose(); })) << "the one over the limit";
  GameManager::getInstance().shutDown();
}

}  // namespace
}  // namespace tx::test
