#include "tolvex/network/Connection.h"

#include <string>

#include "NetworkFixture.h"
#include "tolvex/platform/SystemClock.h"

namespace tx::test {
namespace {

// An accepted connection and its far end, a blocking socket that reads only when asked.
class ConnectionTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    listening = socketListen("127.0.0.1", 0);
    ASSERT_NE(listening, -1);
    far = socketConnect("127.0.0.1", socketLocalPort(listening));
    ASSERT_NE(far, -1);
    int accepted = -1;
    ASSERT_TRUE(waitFor([&] { return (accepted = socketAccept(listening)) != -1; }));
    near = std::make_unique<Connection>(accepted, false);
  }
  void TearDown() override {
    near.reset();
    if (far != -1) socketClose(far);
    socketClose(listening);
    setWallClockSource({});
    EngineTest::TearDown();
  }
  int listening = -1;
  int far = -1;
  std::unique_ptr<Connection> near;
};

TEST_F(ConnectionTest, BytesTheSystemCannotTakeAreKeptAndArriveWholeAndInOrder) {
  // Far more than the system buffers for a peer that does not read.
  std::string sent;
  for (int chunk = 0; chunk < 256; ++chunk) {
    const std::string bytes(64 * 1024, static_cast<char>('a' + chunk % 26));
    ASSERT_EQ(near->send(bytes.data(), static_cast<int>(bytes.size())), 0) << "never waits";
    sent += bytes;
  }
  EXPECT_GT(near->getPendingBytes(), 0U);
  std::string got;
  ASSERT_TRUE(waitFor([&] {
    near->flush();
    got += drain(far);
    return got.size() >= sent.size();
  }));
  EXPECT_TRUE(got == sent);
  EXPECT_EQ(near->getPendingBytes(), 0U);
}

TEST_F(ConnectionTest, KeptBytesAreDroppedWhenTheStreamBreaks) {
  const std::string bytes(32 * 1024 * 1024, 'x');
  ASSERT_EQ(near->send(bytes.data(), static_cast<int>(bytes.size())), 0);
  ASSERT_GT(near->getPendingBytes(), 0U);
  socketClose(far);  // With unread data waiting, the far end resets the connection.
  far = -1;
  ASSERT_TRUE(waitFor([&] { return near->flush() == -1; }));
  EXPECT_EQ(near->getPendingBytes(), 0U);
  EXPECT_EQ(near->send("y", 1), -1);
}

TEST_F(ConnectionTest, IncompleteTimeCountsFromTheFirstReportAndRestartsAfterAComplete) {
  long long now_ms = 0;
  setWallClockSource([&] {
    return WallClockTime{1, 0, static_cast<int>(now_ms / 60000),
                         static_cast<int>(now_ms / 1000 % 60), static_cast<int>(now_ms % 1000)};
  });
  now_ms = 5000;
  EXPECT_EQ(near->incompleteFor(true), 0);
  now_ms += 1500;
  EXPECT_EQ(near->incompleteFor(true), 1500);
  now_ms += 500;
  EXPECT_EQ(near->incompleteFor(false), 0);
  now_ms += 9000;
  EXPECT_EQ(near->incompleteFor(true), 0) << "a new message starts a new count";
  now_ms += 20;
  EXPECT_EQ(near->incompleteFor(true), 20);
}

}  // namespace
}  // namespace tx::test
