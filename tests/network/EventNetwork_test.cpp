#include "network/EventNetwork.h"

#include "NetworkFixture.h"

namespace tx::test {
namespace {

TEST_F(NetworkTest, NewNetworkEventHasNoSocketAndNoBytes) {
  EventNetwork event(NetworkEventLabel::DATA);
  EXPECT_EQ(event.getType(), "tx-network");
  EXPECT_EQ(event.getLabel(), NetworkEventLabel::DATA);
  EXPECT_EQ(event.getSocketIndex(), -1);
  EXPECT_EQ(event.getBytes(), 0);
}

TEST_F(NetworkTest, UndefinedNetworkLabelIsLoggedAndReplaced) {
  EventNetwork event(static_cast<NetworkEventLabel>(7));
  EXPECT_EQ(event.getLabel(), NetworkEventLabel::UNDEFINED);
  EXPECT_TRUE(logHas("EventNetwork::setLabel(): Undefined type (7)."));
  event.setLabel(static_cast<NetworkEventLabel>(-2));
  EXPECT_TRUE(logHas("EventNetwork::setLabel(): Undefined type (-2)."));
}

}  // namespace
}  // namespace tx::test
