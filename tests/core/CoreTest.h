#pragma once

#include <atomic>
#include <functional>

#include "TestSupport.h"
#include "core/EventStep.h"
#include "core/GameManager.h"
#include "core/LogManager.h"
#include "world/Object.h"

namespace tx::test {

// Counts the events it gets and runs the test's action (if any) with each one's step number
// (-1 for other events).
class Listener : public Object {
 public:
  explicit Listener(std::function<void(int)> init_action = {}) : action(std::move(init_action)) {
    setSolidness(SPECTRAL);
  }
  int eventHandler(const Event* event) override {
    count++;
    const auto* step = dynamic_cast<const EventStep*>(event);
    if (action) action(step != nullptr ? step->getStepCount() : -1);
    return 1;
  }
  std::atomic<int> count{0};  // readable from another thread
  std::function<void(int)> action;
};

// A listener that registers for steps when made.
struct Stepper : Listener {
  explicit Stepper(std::function<void(int)> init_action = {}) : Listener(std::move(init_action)) {
    registerInterest(STEP_EVENT);
  }
};

}  // namespace tx::test
