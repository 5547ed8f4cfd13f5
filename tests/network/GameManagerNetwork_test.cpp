#include <functional>
#include <string>

#include "NetworkFixture.h"
#include "core/EventStep.h"
#include "core/GameManager.h"

namespace tx::test {
namespace {

// Ends the game loop once stop() holds, or after a bounded number of steps.
class Stopper : public Object {
 public:
  explicit Stopper(std::function<bool()> init_stop) : stop(std::move(init_stop)) {
    registerInterest(STEP_EVENT);
  }
  int eventHandler(const Event* event) override {
    if (event->getType() != STEP_EVENT) return 0;
    if (stop() || static_cast<const EventStep*>(event)->getStepCount() >= 300)
      GameManager::getInstance().setGameOver(true);
    return 1;
  }

 private:
  std::function<bool()> stop;
};

// Takes every announced message off its socket.
class Reader : public NetworkListener {
 public:
  int eventHandler(const Event* event) override {
    NetworkListener::eventHandler(event);
    const auto* network_event = static_cast<const EventNetwork*>(event);
    std::string body;
    if (network_event->getLabel() == NetworkEventLabel::DATA &&
        NetworkManager::getInstance().receive(network_event->getSocketIndex(), body) >= 0)
      bodies.push_back(body);
    return 1;
  }
  std::vector<std::string> bodies;
};

// The whole engine, headless, with networking on; stopped at the end.
class GameLoopNetworkTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    writeFile("tx-config.txt", "headless:true,\nnetworking:true,\nframe_time:33,\n");
    ASSERT_EQ(GameManager::getInstance().startUp(), 0);
    LogManager::getInstance().setFlush(true);
    ASSERT_TRUE(NetworkManager::getInstance().isStarted());
    ASSERT_EQ(NetworkManager::getInstance().setServer(0, "127.0.0.1"), 0);
  }
  void TearDown() override {
    GameManager::getInstance().shutDown();
    EngineTest::TearDown();
  }
};

TEST_F(GameLoopNetworkTest, UnreadMessageEndsThePhaseWithResidualWarning) {
  // The world manager deletes both at shut-down.
  auto* listener = new NetworkListener;
  new Stopper([&] { return logHas("GameManager::run(): Warning! Residual network data."); });
  Peer peer(NetworkManager::getInstance().getServerPort());
  ASSERT_TRUE(peer.write(frame("unread")));
  GameManager::getInstance().run();
  EXPECT_TRUE(logHas("GameManager::run(): Warning! Residual network data."));
  EXPECT_EQ(listener->count(NetworkEventLabel::ACCEPT), 1);
  EXPECT_GE(listener->count(NetworkEventLabel::DATA), 2);
}

TEST_F(GameLoopNetworkTest, ReadMessagesLeaveNoResidualData) {
  auto* reader = new Reader;
  new Stopper([&] { return reader->bodies.size() == 2; });
  Peer peer(NetworkManager::getInstance().getServerPort());
  ASSERT_TRUE(peer.write(frame("first") + frame("second")));
  GameManager::getInstance().run();
  EXPECT_EQ(reader->bodies, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(reader->count(NetworkEventLabel::DATA), 2);
  EXPECT_FALSE(logHas("GameManager::run(): Warning! Residual network data."));
}

TEST_F(GameLoopNetworkTest, PeerGoneIsClosedByTheLoop) {
  auto* listener = new NetworkListener;
  new Stopper([&] { return listener->count(NetworkEventLabel::CLOSE) == 1; });
  {
    Peer peer(NetworkManager::getInstance().getServerPort());
    ASSERT_TRUE(peer.write(prefixOnly(100)));
  }
  GameManager::getInstance().run();
  EXPECT_EQ(listener->count(NetworkEventLabel::CLOSE), 1);
  EXPECT_EQ(NetworkManager::getInstance().getNumConnected(), 0);
}

}  // namespace
}  // namespace tx::test
