// Both ends of a connection in one program: a server, and a client that connects to it over the
// loopback interface. The client says hello, the server answers, and the window shows the
// conversation for three seconds. A real game runs the two ends in two programs, each with
// "networking:true," in its tx-config.txt.
#include <string>
#include <vector>

#include "tolvex/tolvex.h"

namespace {

// Speaks on every connection the network manager announces, and shows what it heard.
class Talker : public tx::Object {
 public:
  Talker() {
    setSolidness(tx::SPECTRAL);
    registerInterest(tx::NETWORK_EVENT);
    registerInterest(tx::STEP_EVENT);
  }

  int eventHandler(const tx::Event* event) override {
    if (const auto* network = dynamic_cast<const tx::EventNetwork*>(event)) {
      hear(*network);
      return 1;
    }
    if (const auto* step = dynamic_cast<const tx::EventStep*>(event)) {
      // Three seconds at the default 33 ms frame.
      if (step->getStepCount() >= 90) tx::GameManager::getInstance().setGameOver();
      return 1;
    }
    return 0;
  }

  int draw() override {
    tx::DisplayManager& display = tx::DisplayManager::getInstance();
    for (std::size_t i = 0; i < heard.size(); ++i) {
      const tx::Vector where(4.0f, 4.0f + 2.0f * static_cast<float>(i));
      display.drawText(where, heard[i], tx::ALIGN_LEFT, tx::GREEN);
    }
    return 0;
  }

 private:
  void hear(const tx::EventNetwork& network) {
    tx::NetworkManager& network_manager = tx::NetworkManager::getInstance();
    const int socket = network.getSocketIndex();
    switch (network.getLabel()) {
      case tx::NetworkEventLabel::CONNECT:
        // Our connection to the server is made: the client speaks first.
        network_manager.send(socket, "hello");
        break;
      case tx::NetworkEventLabel::DATA: {
        // A whole message is waiting; it is announced again every step until taken.
        std::string message;
        if (network_manager.receive(socket, message) < 0) break;
        heard.push_back("socket " + std::to_string(socket) + " heard: " + message);
        tx::LogManager::getInstance().writeLog("network: %s", heard.back().c_str());
        if (message == "hello") network_manager.send(socket, "hello yourself");
        break;
      }
      default:
        break;
    }
  }

  std::vector<std::string> heard;
};

}  // namespace

int main() {
  // Networking is off unless configured; this program makes it its default, which a
  // tx-config.txt may still override.
  tx::Config::getInstance().loadConfig("networking:true,");
  tx::GameManager& game = tx::GameManager::getInstance();
  if (game.startUp() != 0) {
    tx::LogManager::getInstance().writeLog("network: Error! could not start the engine.");
    game.shutDown();
    return 1;
  }
  tx::LogManager::getInstance().setFlush(true);

  tx::NetworkManager& network = tx::NetworkManager::getInstance();
  // The client's socket and the one the server accepts.
  network.setMaxSockets(2);
  new Talker;
  // Port 0 lets the system choose a free port.
  if (network.setServer(0) != 0 || network.connect("127.0.0.1", network.getServerPort()) < 0) {
    tx::LogManager::getInstance().writeLog("network: Error! no connection.");
    game.shutDown();
    return 1;
  }
  game.run();
  game.shutDown();
  return 0;
}
