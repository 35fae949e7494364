// The progress the statement stages report on the lower bar (the rate stages' progress is
// checked with their figures).
#include "aggregate/tests/engine_fixture.h"

namespace engine_testing {
namespace {

class StageProgressTest : public EngineTest {
 protected:
  void Book() {
    Debit(chart::kPurchases, 1000, 0, 24, 1);
    Debit(chart::kTravel, 1000, 0, 24, 2);
    // Both sides taxable purchases: never read, so no steps.
    ledvia::EntrySpec both = chart::Purchase(20200601, 1000, 1000, 0, 21);
    both.creditCategory = 25;
    Add(both);
    Asset(1, 20200501, 1, 5000, 1);
  }
};

TEST_F(StageProgressTest, CorporateStatement) {
  AddData();
  Book();
  Start(1, 12);
  EXPECT_EQ(SoleProprietor(), 1);
  EXPECT_EQ(progress_.events, "");
  EXPECT_EQ(Corporate(), 1);
  // Reset; a step per account sum (35) and per account read for the list (20, of which one is
  // excluded); the list full; per entry read a step and one per listed account (2 x 20); a step
  // per asset.
  EXPECT_EQ(progress_.Runs(), "R s55 F s41");
  EXPECT_EQ(engine_->accountList().size(), 19u);
}

TEST_F(StageProgressTest, SoleProprietorStatement) {
  data_.entityKind = 3;
  data_.incomeKinds = 1;
  AddData();
  Book();
  Start(1, 12);
  EXPECT_EQ(Corporate(), 1);
  EXPECT_EQ(progress_.events, "");
  EXPECT_EQ(SoleProprietor(), 1);
  // Reset; the account sums and journal lines make no steps; 21 accounts read for the list,
  // the list full, a step per asset.
  EXPECT_EQ(progress_.Runs(), "R s21 F s");
}

}  // namespace
}  // namespace engine_testing
