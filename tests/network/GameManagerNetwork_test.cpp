#include "NetworkFixture.h"
#include "core/EventStep.h"
#include "core/GameManager.h"

namespace tx::test {
namespace {

const char* const RESIDUAL = "GameManager::run(): Warning! Residual network data.";

struct Stopper : Object {  // Ends the game loop once stop() holds, or after 300 steps.
  Stopper() { registerInterest(STEP_EVENT); }
  int eventHandler(const Event* event) override {
    if (event->getType() == STEP_EVENT &&
        (stop() || static_cast<const EventStep*>(event)->getStepCount() >= 300))
      GameManager::getInstance().setGameOver(true);
    return 1;
  }
  std::function<bool()> stop;
};

// The headless engine runs three times: messages read, a message left unread, the peer gone.
using GameLoopNetworkTest = EngineTest;

TEST_F(GameLoopNetworkTest, NetworkPhaseWarnsOfResidualDataAndClosesPeerGone) {
  writeFile("tx-config.txt", "headless:true,\nnetworking:true,\nframe_time:33,\n");
  ASSERT_EQ(GameManager::getInstance().startUp(), 0);
  LogManager::getInstance().setFlush(true);
  ASSERT_EQ(NetworkManager::getInstance().setServer(0, "127.0.0.1"), 0);
  auto* listener = new NetworkListener;  // Deleted by the world manager at shut-down.
  listener->read = true;
  auto* stopper = new Stopper;
  Peer peer(NetworkManager::getInstance().getServerPort());

  ASSERT_TRUE(peer.write(frame("first") + frame("second")));
  stopper->stop = [&] { return listener->bodies.size() == 2; };
  GameManager::getInstance().run();
  EXPECT_EQ(listener->bodies, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(listener->count(Label::DATA), 2);
  EXPECT_FALSE(logHas(RESIDUAL));

  listener->read = false;
  ASSERT_TRUE(peer.write(frame("unread")));
  stopper->stop = [&] { return logHas(RESIDUAL); };
  GameManager::getInstance().run();
  EXPECT_TRUE(logHas(RESIDUAL));
  EXPECT_GE(listener->count(Label::DATA), 4) << "announced in every round of the phase";

  listener->read = true;  // The peer's end can close only once its message is taken.
  peer.closeNow();
  stopper->stop = [&] { return listener->count(Label::CLOSE) == 1; };
  GameManager::getInstance().run();
  EXPECT_EQ(listener->count(Label::CLOSE), 1);
  EXPECT_EQ(NetworkManager::getInstance().getNumConnected(), 0);
  GameManager::getInstance().shutDown();
}

}  // namespace
}  // namespace tx::test
