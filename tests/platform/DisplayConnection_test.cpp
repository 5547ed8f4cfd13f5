#include "tolvex/platform/DisplayConnection.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "TestSupport.h"

namespace tx::test {
namespace {

// A display that starts listening a moment after the engine first asks, as a server resetting
// after its last client left does: the connection is made once it listens.
TEST(DisplayConnection, DisplayThatListensLateIsReached) {
  int number = 300 + getpid() % 600;
  while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) ++number;
  const std::string name = ":" + std::to_string(number);
  const pid_t server = fork();
  if (server == 0) {
    usleep(300 * 1000);
    execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "640x480x24", "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  setenv("DISPLAY", name.c_str(), 1);
  const bool open = DisplayConnection().isOpen();
  kill(server, SIGTERM);
  waitpid(server, nullptr, 0);
  EXPECT_TRUE(open);
}

TEST(DisplayConnection, NoDisplayNamedIsRefusedAtOnce) {
  unsetenv("DISPLAY");
  EXPECT_FALSE(DisplayConnection().isOpen());
}

}  // namespace
}  // namespace tx::test
