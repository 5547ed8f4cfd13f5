// Times the world manager's update pass as the world grows: 100, 1,000, 5,000 and 20,000 solid
// objects, each moving with its own velocity, so that every move asks which solid objects are
// in the way. Each size runs twice on the same seeded world: with the collision queries walking
// the solid list (the plain walk, the reference) and with the spatial grid. Prints microseconds
// per update step (median and mean), the collision events per step (equal in both runs when the
// grid gives the same answers) and the plain-to-grid ratio; then the draw pass over 20,000
// objects and the size of an object. Headless: no window is needed.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "Scratch.h"
#include "Timing.h"
#include "tolvex/core/Config.h"
#include "tolvex/core/Event.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/world/Box.h"
#include "tolvex/world/EventCollision.h"
#include "tolvex/world/Object.h"
#include "tolvex/world/WorldManager.h"

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

Result summarise(std::vector<double> micros, long collisions) {
  double sum = 0.0;
  for (double m : micros) sum += m;
  std::sort(micros.begin(), micros.end());
  const auto steps = static_cast<double>(micros.size());
  return {micros[micros.size() / 2], sum / steps, static_cast<double>(collisions) / steps};
}

// count objects on a square world holding about one object per 16 cells, so that the density
// (and with it the share of moves that collide) is the same at every size. Bucket size 0 walks
// the solid list.
void populate(int count, int bucket_width, int bucket_height) {
  tx::WorldManager& world = tx::WorldManager::getInstance();
  world.startUp();
  world.getSceneGraph().setGrid(bucket_width, bucket_height);
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
}

Result runUpdates(int count, int steps, int bucket_width, int bucket_height) {
  populate(count, bucket_width, bucket_height);
  tx::WorldManager& world = tx::WorldManager::getInstance();
  collision_events = 0;
  std::vector<double> micros;
  for (int step = 0; step < steps; step++)
    micros.push_back(bench::timeMicros([&] { world.update(); }));
  const long collisions = collision_events;
  world.shutDown();  // deletes the movers
  return summarise(micros, collisions);
}

void printResult(const char* how, const Result& r) {
  std::printf("    %-11s %10.1f us/step median, %10.1f us/step mean, %7.1f collision events/step\n",
              how, r.median_us, r.mean_us, r.collisions_per_step);
}

// The draw pass over count objects, most of them outside the 80 x 24 view.
double drawPassMicros(int count) {
  populate(count, tx::Config::getInstance().getGridWidth(),
           tx::Config::getInstance().getGridHeight());
  tx::WorldManager& world = tx::WorldManager::getInstance();
  std::vector<double> micros;
  for (int i = 0; i < 50; i++) micros.push_back(bench::timeMicros([&] { world.draw(); }));
  world.shutDown();
  return summarise(micros, 0).median_us;
}

}  // namespace

int main() {
  bench::useScratch("world", "headless:true,\n");
  tx::Config::getInstance().loadConfig("");
  if (tx::LogManager::getInstance().startUp() != 0) {
    std::fprintf(stderr, "log manager failed to start\n");
    return 1;
  }
  const int bucket_width = tx::Config::getInstance().getGridWidth();
  const int bucket_height = tx::Config::getInstance().getGridHeight();
  std::printf("world update pass, solid moving objects, collisions on (grid buckets %d x %d)\n",
              bucket_width, bucket_height);
  const int sizes[] = {100, 1000, 5000, 20000};
  for (int count : sizes) {
    // The plain walk grows with the square of the count: fewer steps for the large worlds.
    const int steps = count >= 20000 ? 5 : count >= 5000 ? 20 : 100;
    std::printf("%5d objects (%d steps)\n", count, steps);
    const Result plain = runUpdates(count, steps, 0, 0);
    printResult("plain walk", plain);
    const Result grid = runUpdates(count, steps, bucket_width, bucket_height);
    printResult("grid", grid);
    std::printf(
        "    plain / grid: %.1f times (median)%s\n", plain.median_us / grid.median_us,
        plain.collisions_per_step == grid.collisions_per_step ? "" : "   COLLISION COUNTS DIFFER");
  }
  std::printf("draw pass, 20000 objects, 80 x 24 view: %.1f us\n", drawPassMicros(20000));
  std::printf("an object takes %zu bytes (plus its labels and path)\n", sizeof(tx::Object));
  tx::LogManager::getInstance().shutDown();
  return 0;
}
