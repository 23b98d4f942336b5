#include "OperatorText.h"

#include <gtest/gtest.h>

namespace vardo {
namespace {

TEST(OperatorTextTest, FillArguments_PutsEachArgumentInItsPlaceOnce) {
    EXPECT_EQ(FillArguments("第 %1 个条目的大小 %2 超出数据区", {"3", "-1"}),
              "第 3 个条目的大小 -1 超出数据区");
    // A translation may put them in another order.
    EXPECT_EQ(FillArguments("the size %2 of entry %1", {"3", "-1"}), "the size -1 of entry 3");
    // An argument's own markers are text, not places to fill.
    EXPECT_EQ(FillArguments("%1 and %2", {"%2", "b"}), "%2 and b");
    // A marker without its argument, a lone % and a % at the end stay as written.
    EXPECT_EQ(FillArguments("%1 %3 100% %", {"a"}), "a %3 100% %");
    EXPECT_EQ(FillArguments("", {"a"}), "");
}

TEST(OperatorTextTest, Worded_IsTheSourceTextFilledIn) {
    EXPECT_EQ((OperatorText{"ctx", "第%1行不完整", {"2"}}.Worded()), "第2行不完整");
    EXPECT_TRUE(OperatorText{}.empty());
    EXPECT_EQ(OperatorText{}.Worded(), "");
    EXPECT_EQ(Verbatim("No space left on device: 100%").Worded(), "No space left on device: 100%");
}

}  // namespace
}  // namespace vardo
