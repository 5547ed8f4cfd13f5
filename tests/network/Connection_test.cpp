#include "tolvex/network/Connection.h"

#include "NetworkFixture.h"

namespace tx::test {
namespace {

// That kept bytes arrive whole and in order is checked through the network manager's cap.
TEST(ConnectionTest, KeptBytesAreDroppedWhenTheStreamBreaks) {
  const int listening = socketListen("127.0.0.1", 0);
  const int far = socketConnect("127.0.0.1", socketLocalPort(listening));
  int accepted = -1;
  ASSERT_TRUE(waitFor([&] { return (accepted = socketAccept(listening)) != -1; }));
  Connection near(accepted, false);
  const std::string bytes(32 * 1024 * 1024, 'x');
  ASSERT_EQ(near.send(bytes.data(), static_cast<int>(bytes.size())), 0) << "never waits";
  ASSERT_GT(near.getPendingBytes(), 0U);
  socketClose(far);  // With unread data waiting, the far end resets the connection.
  ASSERT_TRUE(waitFor([&] { return near.flush() == -1; }));
  EXPECT_EQ(near.getPendingBytes(), 0U);
  EXPECT_EQ(near.send("y", 1), -1);
}

}  // namespace
}  // namespace tx::test
