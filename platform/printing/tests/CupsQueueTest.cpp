// CupsQueueTest.cpp - the queue layer without a reachable print server: no destinations, and
// opening a queue fails with the server's message as EPrinterError.
#include <gtest/gtest.h>

#include <cups/cups.h>

#include "platform/printing/CupsQueue.h"

namespace {

class CupsQueueTest : public ::testing::Test {
protected:
  // A server socket that cannot exist, so the outcome does not depend on the machine's cupsd.
  void SetUp() override { cupsSetServer("/nonexistent-vorenta/cups.sock"); }
  void TearDown() override { cupsSetServer(nullptr); }
};

TEST_F(CupsQueueTest, NoServerListsNothingAndDefaultIsZero) {
  const std::vector<TPrintDestination> Dests = PrintDestinations();
  EXPECT_TRUE(Dests.empty());
  EXPECT_EQ(DefaultDestinationIndex(Dests), 0);
}

TEST_F(CupsQueueTest, OpeningAMissingQueueRaisesTheServerText) {
  try {
    TPrintQueue Queue(u"vorenta-missing");
    FAIL() << "opened a queue without a server";
  } catch (const EPrinterError& E) {
    EXPECT_FALSE(E.Message().empty());
  }
}

}  // namespace
