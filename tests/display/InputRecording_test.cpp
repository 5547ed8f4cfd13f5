#include "tolvex/display/InputRecording.h"

#include <cstdint>
#include <sstream>
#include <utility>
#include <vector>

#include "TestSupport.h"

namespace tx::test {
namespace {

const char* const HEADER =
    "tolvex-input-recording 1\nengine_version 4.16\nframe_time 33\ncells 80 24\n"
    "random_seed 7\nconfig headless:true,\n";

class InputRecordingTest : public EngineTest {
 protected:
  // Opens text as a recording; -1 when its header is refused.
  int openText(const std::string& text) {
    return reader.open(std::make_unique<std::istringstream>(text));
  }
  // Reads events until there are none; how many there were.
  int readAll() {
    int count = 0;
    while (reader.readEvent()) ++count;
    return count;
  }

  InputRecording reader;
};

TEST_F(InputRecordingTest, WrittenEventsReadBackExactlyAtTheirSteps) {
  RecordingHeader header;
  header.engine_version = InputRecording::engineVersion();
  header.frame_time = 20;
  header.horizontal_cells = 100;
  header.vertical_cells = 30;
  header.random_seed = -12345;
  header.config_text = "frame_time:20,window_title:a b,";
  const std::vector<RecordedEvent> written = {
      {0, InputEvent::keyboard(KeyCode::A, KeyAction::PRESSED)},
      {0, InputEvent::keyboard(static_cast<KeyCode>(153), KeyAction::HELD)},
      {4, InputEvent::mouse(MouseAction::MOVED, MouseButton::UNDEFINED, Vector(5.3333335f, -2.0f))},
      {4, InputEvent::mouse(MouseAction::CLICKED, MouseButton::MIDDLE, Vector(0.1f, 1e-7f))},
      {9, InputEvent::close()},
  };
  InputRecording writer;
  ASSERT_EQ(writer.create(path("game.rec"), header), 0);
  for (const RecordedEvent& event : written) ASSERT_EQ(writer.write(event.step, event.event), 0);
  writer.finish(10);
  EXPECT_NE(readFile(path("game.rec")).find("\n0 key 36 pressed\n"), std::string::npos);

  ASSERT_EQ(reader.open(path("game.rec")), 0);
  EXPECT_EQ(reader.getHeader().engine_version, "4.16");
  EXPECT_EQ(reader.getHeader().frame_time, 20);
  EXPECT_EQ(reader.getHeader().horizontal_cells, 100);
  EXPECT_EQ(reader.getHeader().vertical_cells, 30);
  EXPECT_EQ(reader.getHeader().random_seed, -12345);
  EXPECT_EQ(reader.getHeader().config_text, header.config_text);
  for (const RecordedEvent& expected : written) {
    const std::optional<RecordedEvent> read = reader.readEvent();
    ASSERT_TRUE(read.has_value()) << reader.getProblem();
    EXPECT_EQ(read->step, expected.step);
    EXPECT_TRUE(read->event == expected.event);
  }
  EXPECT_FALSE(reader.readEvent().has_value());
  EXPECT_TRUE(reader.isAtEnd());
  EXPECT_EQ(reader.getEndStep(), 10);
  EXPECT_EQ(reader.getProblem(), "");
}

TEST_F(InputRecordingTest, BadEventLineStopsReadingWithItsLineNumber) {
  struct Case {
    const char* events;
    int good_events;
    const char* problem;
  };
  const Case cases[] = {
      {"3 key 0 pressed\n3 key 0 held\n", 2,
       "line 9: the recording stops here without its end line"},
      {"3 key 0 pressed\n5 key 0 hel", 1, "line 8: not an input event"},
      {"5 key 0 pressed\n3 key 0 held\nend 9\n", 1, "line 8: step 3 comes after step 5"},
      {"1 key 198 pressed\nend 9\n", 0, "line 7: not an input event"},
      {"1 key 3 pressed extra\nend 9\n", 0, "line 7: not an input event"},
      {"1  key 3 pressed\nend 9\n", 0, "line 7: not an input event"},
      {"1 mouse moved none nan 2\nend 9\n", 0, "line 7: not an input event"},
      {"1 mouse dragged left 1 2\nend 9\n", 0, "line 7: not an input event"},
      {"-1 close\nend 9\n", 0, "line 7: not an input event"},
      {"\x01\xff garbage\n", 0, "line 7: not an input event"},
      {"4 close\nend 4\n", 1,
       "line 8: the end line needs a step count above the last event's step"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.events);
    ASSERT_EQ(openText(std::string(HEADER) + c.events), 0);
    EXPECT_EQ(readAll(), c.good_events);
    EXPECT_FALSE(reader.isAtEnd());
    EXPECT_EQ(reader.getProblem(), c.problem);
    EXPECT_FALSE(reader.readEvent().has_value()) << "nothing is read after a bad line";
  }
}

TEST_F(InputRecordingTest, BadHeaderIsRefusedWithItsLineNumber) {
  const auto replaced = [](const std::string& from, const std::string& to) {
    std::string header = HEADER;
    return header.replace(header.find(from), from.size(), to);
  };
  const std::pair<std::string, const char*> cases[] = {
      {"", "line 1: expected tolvex-input-recording 1"},
      {"tolvex-input-recording 2\n", "line 1: expected tolvex-input-recording 1"},
      {replaced("33", "3x"), "line 3: expected frame_time and milliseconds"},
      {replaced("80 24", "80 0"), "line 4: expected cells, a width and a height"},
      {replaced("config headless:true,\n", ""),
       "line 6: expected config and the configuration text"}};
  for (const auto& [text, problem] : cases) {
    EXPECT_EQ(openText(text), -1);
    EXPECT_EQ(reader.getProblem(), problem);
  }
  // Windows line ends read alike; an empty configuration is one.
  EXPECT_EQ(openText(replaced("config headless:true,", "config") + "end 0\r\n"), 0);
  EXPECT_FALSE(reader.readEvent().has_value());
  EXPECT_EQ(reader.getEndStep(), 0);
}

TEST_F(InputRecordingTest, FilesThatCannotBeUsedAreRefused) {
  InputRecording writer;
  EXPECT_EQ(writer.create(dir, RecordingHeader()), -1);
  EXPECT_EQ(writer.getProblem(), "the file cannot be written");
  EXPECT_FALSE(writer.isWriting());
  EXPECT_EQ(reader.open(path("missing.rec")), -1);
  EXPECT_EQ(reader.getProblem(), "the file cannot be read");
  EXPECT_EQ(reader.open(dir), -1);
}

}  // namespace
}  // namespace tx::test
