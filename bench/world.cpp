// Times the world manager's update pass as the world grows: 100, 1,000 and 5,000 solid objects,
// each moving with its own velocity, so that every move checks collisions against the solid
// objects. Prints microseconds per update step (median and mean) and the collision events per
// step. Headless: no window is needed.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/Config.h"
#include "core/Event.h"
#include "core/LogManager.h"
#include "world/Box.h"
#include "world/EventCollision.h"
#include "world/Object.h"
#include "world/WorldManager.h"

namespace {

long collision_events = 0;

// A hard one-cell object that counts the collisions it is told about.
class Mover : public tx::Object {
 public:
  Mover(tx::Vector start, tx::Vector start_velocity) {
    setType("Mover");
    setSolidness(tx::HARD);
    setPosition(start);
    setVelocity(start_velocity);
  }
  int eventHandler(const tx::Event* event) override {
    if (event->getType() == tx::COLLISION_EVENT) {
      collision_events++;
      return 1;
    }
    return 0;
  }
};

struct Result {
  double median_us;
  double mean_us;
  double collisions_per_step;
};

// count objects on a square world holding about one object per 16 cells, so that the density
// (and with it the share of moves that collide) is the same at every size.
Result run(int count, int steps) {
  tx::WorldManager& world = tx::WorldManager::getInstance();
  world.startUp();
  const float side = std::sqrt(static_cast<float>(count) * 16.0f);
  world.setBoundary(tx::Box(tx::Vector(0.0f, 0.0f), side, side));
  world.setView(tx::Box(tx::Vector(0.0f, 0.0f), 80.0f, 24.0f));
  std::srand(1234);
  auto random = [](float low, float high) {
    return low + (high - low) * static_cast<float>(std::rand()) / static_cast<float>(RAND_MAX);
  };
  for (int i = 0; i < count; i++)
    new Mover(tx::Vector(random(0.0f, side), random(0.0f, side)),
              tx::Vector(random(-0.5f, 0.5f), random(-0.25f, 0.25f)));

  collision_events = 0;
  std::vector<double> micros;
  micros.reserve(static_cast<std::size_t>(steps));
  for (int step = 0; step < steps; step++) {
    const auto start = std::chrono::steady_clock::now();
    world.update();
    const auto end = std::chrono::steady_clock::now();
    micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  }
  const long collisions = collision_events;
  world.shutDown();  // deletes the movers

  double sum = 0.0;
  for (double m : micros) sum += m;
  std::sort(micros.begin(), micros.end());
  return {micros[micros.size() / 2], sum / static_cast<double>(steps),
          static_cast<double>(collisions) / steps};
}

}  // namespace

int main() {
  const std::string dir = "/tmp/tolvex-bench-world";
  std::system(("mkdir -p " + dir).c_str());
  std::ofstream(dir + "/tx-config.txt") << "headless:true,\n";
  setenv("TOLVEX_CONFIG", (dir + "/tx-config.txt").c_str(), 1);
  setenv("TOLVEX_LOG", (dir + "/tolvex.log").c_str(), 1);
  tx::Config::getInstance().loadConfig("");
  if (tx::LogManager::getInstance().startUp() != 0) {
    std::fprintf(stderr, "log manager failed to start\n");
    return 1;
  }
  std::printf("world update pass, solid moving objects, collisions on\n");
  const int sizes[] = {100, 1000, 5000};
  for (int count : sizes) {
    const int steps = count >= 5000 ? 20 : 100;
    const Result result = run(count, steps);
    std::printf(
        "%5d objects: %10.1f us/step median, %10.1f us/step mean, %7.1f collision "
        "events/step (%d steps)\n",
        count, result.median_us, result.mean_us, result.collisions_per_step, steps);
  }
  tx::LogManager::getInstance().shutDown();
  return 0;
}
