#include "tolvex/display/InputManager.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include "tolvex/core/Config.h"
#include "tolvex/core/GameManager.h"
#include "tolvex/core/LogManager.h"
#include "tolvex/display/DisplayManager.h"
#include "tolvex/platform/WindowWatch.h"

namespace tx {

namespace {

struct KeyRow {
  KeyCode key;
  sf::Keyboard::Key sfml_key;
};

// Keys scanned for HELD events, in scan order. F11 and F12 are translated but never scanned.
const KeyRow HELD_KEYS[] = {
    {KeyCode::UP_ARROW, sf::Keyboard::Up},
    {KeyCode::DOWN_ARROW, sf::Keyboard::Down},
    {KeyCode::LEFT_ARROW, sf::Keyboard::Left},
    {KeyCode::RIGHT_ARROW, sf::Keyboard::Right},
    {KeyCode::SPACE, sf::Keyboard::Space},
    {KeyCode::RETURN, sf::Keyboard::Enter},
    {KeyCode::TAB, sf::Keyboard::Tab},
    {KeyCode::ESCAPE, sf::Keyboard::Escape},
    {KeyCode::PAUSE, sf::Keyboard::Pause},
    {KeyCode::MINUS, sf::Keyboard::Subtract},
    {KeyCode::PLUS, sf::Keyboard::Add},
    {KeyCode::TILDE, sf::Keyboard::Tilde},
    {KeyCode::PERIOD, sf::Keyboard::Period},
    {KeyCode::COMMA, sf::Keyboard::Comma},
    {KeyCode::SLASH, sf::Keyboard::Slash},
    {KeyCode::EQUAL, sf::Keyboard::Equal},
    {KeyCode::BACKSLASH, sf::Keyboard::Backslash},
    {KeyCode::MULTIPLY, sf::Keyboard::Multiply},
    {KeyCode::QUOTE, sf::Keyboard::Quote},
    {KeyCode::SEMICOLON, sf::Keyboard::Semicolon},
    {KeyCode::LEFT_CONTROL, sf::Keyboard::LControl},
    {KeyCode::RIGHT_CONTROL, sf::Keyboard::RControl},
    {KeyCode::LEFT_SHIFT, sf::Keyboard::LShift},
    {KeyCode::RIGHT_SHIFT, sf::Keyboard::RShift},
    {KeyCode::F1, sf::Keyboard::F1},
    {KeyCode::F2, sf::Keyboard::F2},
    {KeyCode::F3, sf::Keyboard::F3},
    {KeyCode::F4, sf::Keyboard::F4},
    {KeyCode::F5, sf::Keyboard::F5},
    {KeyCode::F6, sf::Keyboard::F6},
    {KeyCode::F7, sf::Keyboard::F7},
    {KeyCode::F8, sf::Keyboard::F8},
    {KeyCode::F9, sf::Keyboard::F9},
    {KeyCode::F10, sf::Keyboard::F10},
    {KeyCode::A, sf::Keyboard::A},
    {KeyCode::B, sf::Keyboard::B},
    {KeyCode::C, sf::Keyboard::C},
    {KeyCode::D, sf::Keyboard::D},
    {KeyCode::E, sf::Keyboard::E},
    {KeyCode::F, sf::Keyboard::F},
    {KeyCode::G, sf::Keyboard::G},
    {KeyCode::H, sf::Keyboard::H},
    {KeyCode::I, sf::Keyboard::I},
    {KeyCode::J, sf::Keyboard::J},
    {KeyCode::K, sf::Keyboard::K},
    {KeyCode::L, sf::Keyboard::L},
    {KeyCode::M, sf::Keyboard::M},
    {KeyCode::N, sf::Keyboard::N},
    {KeyCode::O, sf::Keyboard::O},
    {KeyCode::P, sf::Keyboard::P},
    {KeyCode::Q, sf::Keyboard::Q},
    {KeyCode::R, sf::Keyboard::R},
    {KeyCode::S, sf::Keyboard::S},
    {KeyCode::T, sf::Keyboard::T},
    {KeyCode::U, sf::Keyboard::U},
    {KeyCode::V, sf::Keyboard::V},
    {KeyCode::W, sf::Keyboard::W},
    {KeyCode::X, sf::Keyboard::X},
    {KeyCode::Y, sf::Keyboard::Y},
    {KeyCode::Z, sf::Keyboard::Z},
    {KeyCode::NUM1, sf::Keyboard::Num1},
    {KeyCode::NUM2, sf::Keyboard::Num2},
    {KeyCode::NUM3, sf::Keyboard::Num3},
    {KeyCode::NUM4, sf::Keyboard::Num4},
    {KeyCode::NUM5, sf::Keyboard::Num5},
    {KeyCode::NUM6, sf::Keyboard::Num6},
    {KeyCode::NUM7, sf::Keyboard::Num7},
    {KeyCode::NUM8, sf::Keyboard::Num8},
    {KeyCode::NUM9, sf::Keyboard::Num9},
    {KeyCode::NUM0, sf::Keyboard::Num0},
    {KeyCode::BACKSPACE, sf::Keyboard::Backspace},
};

// The engine key for an SFML key; keys without one become their SFML value plus 97.
KeyCode translateKey(sf::Keyboard::Key sfml_key) {
  switch (sfml_key) {
    case sf::Keyboard::F11:
      return KeyCode::F11;
    case sf::Keyboard::F12:
      return KeyCode::F12;
    default:
      break;
  }
  for (const KeyRow& row : HELD_KEYS) {
    if (row.sfml_key == sfml_key) {
      return row.key;
    }
  }
  return static_cast<KeyCode>(static_cast<int>(sfml_key) + UNTRANSLATED_KEY_OFFSET);
}

MouseButton toMouseButton(sf::Mouse::Button sfml_button) {
  switch (sfml_button) {
    case sf::Mouse::Left:
      return MouseButton::LEFT;
    case sf::Mouse::Right:
      return MouseButton::RIGHT;
    case sf::Mouse::Middle:
      return MouseButton::MIDDLE;
    default:
      return MouseButton::UNDEFINED;
  }
}

// A button held at poll time wins over the event's own button (left, then middle).
MouseButton clickedButton(sf::Mouse::Button clicked) {
  MouseButton button = MouseButton::UNDEFINED;
  if (clicked == sf::Mouse::Right) {
    button = MouseButton::RIGHT;
  }
  if (sf::Mouse::isButtonPressed(sf::Mouse::Left)) {
    button = MouseButton::LEFT;
  }
  if (sf::Mouse::isButtonPressed(sf::Mouse::Middle)) {
    button = MouseButton::MIDDLE;
  }
  // A click already released by poll time still reports the button that was clicked.
  if (button == MouseButton::UNDEFINED) {
    button = toMouseButton(clicked);
  }
  return button;
}

// The cell, relative to the view, under a pixel of the window.
Vector cellAt(int x, int y) {
  return pixelsToSpaces(Vector(static_cast<float>(x), static_cast<float>(y)));
}

}  // namespace

InputManager::InputManager() { setType("InputManager"); }

InputManager::~InputManager() {
  if (recording) recording->finish(input_step + 1);
}

InputManager& InputManager::getInstance() {
  static InputManager instance;
  return instance;
}

bool InputManager::isValid(std::string label) const {
  return label == KEYBOARD_EVENT || label == MOUSE_EVENT;
}

int InputManager::startUp() {
  LogManager& log = LogManager::getInstance();
  if (Config::getInstance().getHeadless()) {
    log.writeLog(1, "InputManager::startUp(): not doing input since in headless mode.");
  } else {
    if (isStarted()) {
      log.writeLog("InputManager::startUp(): Already started.");
      return 0;
    }
    DisplayManager& display = DisplayManager::getInstance();
    if (!display.isStarted()) {
      log.writeLog(
          "InputManager::startUp(): Error starting InputManager. DisplayManager must be started "
          "first.");
      return -1;
    }
    sf::RenderWindow* window = display.getWindow();
    if (window == nullptr) {
      log.writeLog(
          "InputManager::startUp(): Warning - DisplayManager unexpectedly returned null window! "
          "Cannot disable keyboard repeat.");
    } else {
      window->setKeyRepeatEnabled(false);
      log.writeLog(2, "InputManager::startUp(): Keyboard repeated disabled.");
      watchWindow(window->getSystemHandle());
    }
  }
  input_step = -1;
  queued.clear();
  Manager::startUp();
  log.writeLog(5, "InputManager::startUp(): successfully started.");
  return 0;
}

void InputManager::shutDown() {
  LogManager& log = LogManager::getInstance();
  sf::RenderWindow* window = DisplayManager::getInstance().getWindow();
  if (window != nullptr) {
    window->setKeyRepeatEnabled(true);
    log.writeLog(2, "InputManager::shutDown(): Keyboard repeat enabled.");
  }
  if (recording) recording->finish(input_step + 1);
  recording.reset();
  replay.reset();
  replay_next.reset();
  queued.clear();
  Manager::shutDown();
  log.writeLog(5, "InputManager::shutDown(): successfully stopped.");
}

int InputManager::startRecording(const std::string& path, int random_seed) {
  RecordingHeader header;
  header.engine_version = InputRecording::engineVersion();
  header.frame_time = GameManager::getInstance().getFrameTime();
  header.horizontal_cells = DisplayManager::getInstance().getHorizontalCells();
  header.vertical_cells = DisplayManager::getInstance().getVerticalCells();
  header.random_seed = random_seed;
  header.config_text = Config::getInstance().getConfigText();
  auto writing = std::make_unique<InputRecording>();
  const LogManager& log = LogManager::getInstance();
  if (writing->create(path, header) != 0) {
    log.writeLog("InputManager::startRecording(): Error! cannot record to '%s': %s.", path.c_str(),
                 writing->getProblem().c_str());
    return -1;
  }
  recording = std::move(writing);
  log.writeLog("InputManager::startRecording(): Recording input to '%s'.", path.c_str());
  return 0;
}

int InputManager::startReplay(const std::string& path) {
  auto reading = std::make_unique<InputRecording>();
  const LogManager& log = LogManager::getInstance();
  if (reading->open(path) != 0) {
    log.writeLog("InputManager::startReplay(): Error! cannot replay '%s': %s.", path.c_str(),
                 reading->getProblem().c_str());
    return -1;
  }
  const RecordingHeader& header = reading->getHeader();
  const std::string version = InputRecording::engineVersion();
  if (header.engine_version != version) {
    log.writeLog(
        "InputManager::startReplay(): Error! '%s' was recorded by engine version %s, this is "
        "%s. No replay.",
        path.c_str(), header.engine_version.c_str(), version.c_str());
    return -1;
  }
  const DisplayManager& display = DisplayManager::getInstance();
  if (header.horizontal_cells != display.getHorizontalCells() ||
      header.vertical_cells != display.getVerticalCells()) {
    log.writeLog(
        "InputManager::startReplay(): Error! '%s' was recorded on %dx%d cells, this display "
        "has %dx%d. No replay.",
        path.c_str(), header.horizontal_cells, header.vertical_cells, display.getHorizontalCells(),
        display.getVerticalCells());
    return -1;
  }
  replay = std::move(reading);
  replay_path = path;
  replay_next.reset();
  replay_stopped = false;
  queued.clear();
  log.writeLog("InputManager::startReplay(): Replaying input from '%s'.", path.c_str());
  return 0;
}

void InputManager::queueInput(const InputEvent& event) {
  if (!replay) queued.push_back(event);
}

void InputManager::recordClose() { record(InputEvent::close()); }

EventKeyboard InputManager::toEventKeyboard(const sf::Event::KeyEvent& key_event) const {
  EventKeyboard keyboard_event;
  keyboard_event.setKey(translateKey(key_event.code));
  LogManager::getInstance().writeLog(
      15, "InputManager::toEventKeyboard(): Keyboard event '%c' (%d)",
      static_cast<int>(keyboard_event.getKey()), static_cast<int>(key_event.code));
  return keyboard_event;
}

void InputManager::getInput() {
  ++input_step;
  if (replay) {
    // The window is still drained, so that it answers and can be closed.
    sf::RenderWindow* window = DisplayManager::getInstance().getWindow();
    if (window != nullptr) readWindowEvents(*window, false);
    replayStep(input_step);
    return;
  }
  if (!Config::getInstance().getHeadless() && !readDevices()) return;
  deliverQueued();
}

bool InputManager::readDevices() {
  sf::Window* window = DisplayManager::getInstance().getInputWindow();
  if (window == nullptr) {
    LogManager::getInstance().writeLog(
        "InputManager::getInput(): DisplayManager unexpectedly returned null window!");
    return true;
  }
  // No held scan after a close.
  if (!readWindowEvents(*window, true)) return false;
  reportHeldButtons(*window);
  reportHeldKeys();
  return true;
}

bool InputManager::readWindowEvents(sf::Window& window, bool keys_too) {
  sf::Event event;
  while (window.pollEvent(event)) {
    if (event.type == sf::Event::Closed) {
      windowClosed();
      // Whatever is still queued waits for the next call.
      return false;
    }
    if (!keys_too) continue;
    switch (event.type) {
      case sf::Event::KeyPressed:
        deliverKey(event.key, KeyAction::PRESSED);
        break;
      case sf::Event::KeyReleased:
        deliverKey(event.key, KeyAction::RELEASED);
        break;
      case sf::Event::MouseMoved:
        deliverMove(event.mouseMove);
        break;
      case sf::Event::MouseButtonPressed:
        deliverClick(event.mouseButton);
        break;
      default:
        break;
    }
  }
  // Errors about the window are taken in with its events.
  if (isWindowGone()) {
    windowDestroyed();
    return false;
  }
  return true;
}

void InputManager::deliverKey(const sf::Event::KeyEvent& key_event, KeyAction action) {
  EventKeyboard keyboard_event = toEventKeyboard(key_event);
  keyboard_event.setAction(action);
  send(keyboard_event);
}

void InputManager::deliverMove(const sf::Event::MouseMoveEvent& move) {
  EventMouse mouse_event;
  mouse_event.setAction(MouseAction::MOVED);
  mouse_event.setPosition(cellAt(move.x, move.y));
  send(mouse_event);
}

void InputManager::deliverClick(const sf::Event::MouseButtonEvent& click) {
  EventMouse mouse_event;
  mouse_event.setAction(MouseAction::CLICKED);
  mouse_event.setButton(clickedButton(click.button));
  mouse_event.setPosition(cellAt(click.x, click.y));
  send(mouse_event);
}

// One event serves every held button: only its button changes between deliveries.
void InputManager::reportHeldButtons(const sf::Window& window) {
  const sf::Vector2i pointer = sf::Mouse::getPosition(window);
  EventMouse held_mouse;
  held_mouse.setAction(MouseAction::PRESSED);
  held_mouse.setPosition(cellAt(pointer.x, pointer.y));
  const sf::Mouse::Button held_buttons[] = {sf::Mouse::Left, sf::Mouse::Right, sf::Mouse::Middle};
  for (sf::Mouse::Button sfml_button : held_buttons) {
    if (sf::Mouse::isButtonPressed(sfml_button)) {
      held_mouse.setButton(toMouseButton(sfml_button));
      send(held_mouse);
    }
  }
}

// Built directly from the scan list, without toEventKeyboard's log line.
void InputManager::reportHeldKeys() {
  for (const KeyRow& row : HELD_KEYS) {
    if (sf::Keyboard::isKeyPressed(row.sfml_key)) {
      EventKeyboard held_key;
      held_key.setKey(row.key);
      held_key.setAction(KeyAction::HELD);
      send(held_key);
    }
  }
}

void InputManager::deliverQueued() {
  // Handlers may queue more: those wait for the next step.
  std::vector<InputEvent> now;
  now.swap(queued);
  for (const InputEvent& input : now) deliver(input);
}

void InputManager::replayStep(int step) {
  if (replay_stopped) {
    GameManager::getInstance().setGameOver(true);
    return;
  }
  while (true) {
    if (!replay_next) replay_next = replay->readEvent();
    if (!replay_next) break;
    if (replay_next->step > step) return;
    const InputEvent input = replay_next->event;
    replay_next.reset();
    deliver(input);
  }
  if (!replay->isAtEnd()) {
    stopReplay(step);
    return;
  }
  // The recording covers the steps before its end step: the last of them ends the replay, so
  // that it runs as many steps as were recorded. A game that ended itself then ends so again.
  if (step + 1 < replay->getEndStep()) return;
  if (GameManager::getInstance().getGameOver())
    replay_stopped = true;
  else
    stopReplay(replay->getEndStep());
}

void InputManager::stopReplay(int step) {
  const LogManager& log = LogManager::getInstance();
  if (replay->isAtEnd())
    log.writeLog("InputManager::getInput(): End of recording '%s' at step %d. Game over.",
                 replay_path.c_str(), step);
  else
    log.writeLog("InputManager::getInput(): Error! recording '%s' %s. Replay stopped.",
                 replay_path.c_str(), replay->getProblem().c_str());
  replay_stopped = true;
  GameManager::getInstance().setGameOver(true);
}

// A close is delivered as the window's own: it ends the game, whoever sent it.
void InputManager::deliver(const InputEvent& input) {
  switch (input.kind) {
    case InputEvent::Kind::KEYBOARD: {
      EventKeyboard keyboard_event;
      keyboard_event.setKey(input.key);
      keyboard_event.setAction(input.key_action);
      send(keyboard_event);
      break;
    }
    case InputEvent::Kind::MOUSE: {
      EventMouse mouse_event;
      mouse_event.setAction(input.mouse_action);
      mouse_event.setButton(input.button);
      mouse_event.setPosition(input.position);
      send(mouse_event);
      break;
    }
    case InputEvent::Kind::CLOSE:
      windowClosed();
      break;
  }
}

// Recorded before delivery: a handler that ends the program (exit()) still leaves its key in
// the recording.
void InputManager::send(const EventKeyboard& keyboard_event) {
  record(InputEvent::keyboard(keyboard_event.getKey(), keyboard_event.getAction()));
  onEvent(&keyboard_event);
}

void InputManager::send(const EventMouse& mouse_event) {
  record(InputEvent::mouse(mouse_event.getAction(), mouse_event.getButton(),
                           mouse_event.getPosition()));
  onEvent(&mouse_event);
}

void InputManager::windowClosed() {
  record(InputEvent::close());
  LogManager::getInstance().writeLog(
      1, "InputManager::getInput(): Window close event. Setting game over.");
  GameManager::getInstance().setGameOver(true);
}

void InputManager::windowDestroyed() {
  LogManager::getInstance().writeLog(
      "InputManager::getInput(): Window destroyed by the X server or another client. Setting "
      "game over.");
  windowClosed();
}

void InputManager::record(const InputEvent& input) {
  if (!recording || !recording->isWriting()) return;
  if (recording->write(input_step, input) != 0)
    LogManager::getInstance().writeLog("InputManager::getInput(): Error! recording stopped: %s.",
                                       recording->getProblem().c_str());
}

}  // namespace tx
