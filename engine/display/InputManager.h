#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <SFML/Window/Event.hpp>

#include "tolvex/core/Manager.h"
#include "tolvex/display/EventKeyboard.h"
#include "tolvex/display/EventMouse.h"
#include "tolvex/display/InputEvent.h"
#include "tolvex/display/InputRecording.h"

namespace sf {
class Window;
}

namespace tx {

// Turns the window's keyboard and mouse activity into "tx-keyboard" and "tx-mouse" events once
// per game-loop iteration. Needs the display manager started first. It can also write what it
// delivers to a recording, and deliver a recording's events in place of the window's.
class InputManager : public Manager {
 public:
  // The process-wide input manager; it delivers nothing until started.
  static InputManager& getInstance();
  InputManager(const InputManager&) = delete;
  InputManager& operator=(const InputManager&) = delete;

  // True exactly for "tx-keyboard" and "tx-mouse".
  bool isValid(std::string label) const override;
  // Ends a recording still being written (a game that leaves through exit()).
  ~InputManager() override;
  // Turns key repeat off on the display's window and starts counting steps from 0. -1 when the
  // display manager is not started; always 0 in headless mode.
  int startUp() override;
  // Turns key repeat back on when there is a window; ends the recording and the replay.
  void shutDown() override;

  // One call per step. Drains the window's events, then reports held mouse buttons, then held
  // keys, then the queued events, delivering each as an event to the registered objects; in
  // headless mode only the queued ones. A window close sets game over and ends the call, and so
  // does a window destroyed by the X server or another client. While replaying, the recording's
  // events of this step are delivered instead, and the window is only drained for a close.
  // Everything delivered is written to the recording, if any.
  void getInput();

  // Writes every event delivered from the next getInput() on to a new recording at path, whose
  // header names random_seed as the seed used. -1, with one log line, when the file cannot be
  // written: the game goes on unrecorded.
  int startRecording(const std::string& path, int random_seed);
  // Delivers the recording at path from the next getInput() on. When it runs out, or reaches a
  // bad line, one log line says so and game over is set, then again at every later step. -1,
  // with one log line and no replay, when the file cannot be read, its header is bad, or it
  // was recorded by another engine version or in another display size.
  int startReplay(const std::string& path);
  // True from a successful start until shut-down, even after a write failed.
  bool isRecording() const { return recording != nullptr; }
  // True from a successful start until shut-down, even after the recording ran out.
  bool isReplaying() const { return replay != nullptr; }
  // The header of the recording being replayed; only while isReplaying().
  const RecordingHeader& getReplayHeader() const { return replay->getHeader(); }

  // Queues an event for the next getInput(), which delivers and records it like the window's,
  // headless too: for scripted players and tools. Dropped while replaying, where the recording
  // is the only input.
  void queueInput(const InputEvent& event);
  // A window close that something other than getInput() took from the window (the pause
  // object's wait), written to the recording at the current step so that a replay ends where
  // the game did. Does nothing when not recording.
  void recordClose();

  // A keyboard event with the SFML key translated (untranslated keys: SFML value + 97) and the
  // action still UNDEFINED.
  EventKeyboard toEventKeyboard(const sf::Event::KeyEvent& key_event) const;

 private:
  InputManager();

  // The window's events and held keys and buttons. False at a close.
  bool readDevices();
  // Drains the window's event queue into events. False at a close, which sets game over and
  // leaves the rest of the queue for the next call; so does a window found destroyed. With
  // keys_too false, only a close counts.
  bool readWindowEvents(sf::Window& window, bool keys_too);
  void deliverKey(const sf::Event::KeyEvent& key_event, KeyAction action);
  void deliverMove(const sf::Event::MouseMoveEvent& move);
  void deliverClick(const sf::Event::MouseButtonEvent& click);
  // One PRESSED mouse event per button held now (left, right, middle), at the pointer's cell.
  void reportHeldButtons(const sf::Window& window);
  // One HELD keyboard event per key of the scan list held now, in scan order.
  void reportHeldKeys();
  void deliverQueued();
  // The recorded events of the step; stops the replay at the end or at a bad line.
  void replayStep(int step);
  void stopReplay(int step);

  // Every delivery goes through these: written to the recording first, then delivered.
  void deliver(const InputEvent& input);
  void send(const EventKeyboard& keyboard_event);
  void send(const EventMouse& mouse_event);
  void windowClosed();
  // A window destroyed behind the program's back ends the game as a close does.
  void windowDestroyed();
  void record(const InputEvent& input);

  // The step being delivered: getInput() calls since start-up, less one.
  int input_step = -1;
  std::vector<InputEvent> queued;
  std::unique_ptr<InputRecording> recording;
  std::unique_ptr<InputRecording> replay;
  std::string replay_path;
  // The event read ahead of its step.
  std::optional<RecordedEvent> replay_next;
  bool replay_stopped = false;
};

}  // namespace tx
