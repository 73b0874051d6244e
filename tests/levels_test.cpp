#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "world/levels.h"

TEST(Random, FollowsTheSameSequenceOnEveryRunAndStaysInRange) {
    randomState = 1;
    for (int value : {16838, 5758, 10113, 17515, 31051}) EXPECT_EQ(randomInRange(0, 32767), value);
    for (const auto& [low, high] : {std::pair{3, 4}, {-105, 105}, {7, 7}, {-2000000000, 2000000000}}) {
        std::set<int> seen;
        for (int i = 0; i < 20000; ++i) seen.insert(randomInRange(low, high));
        EXPECT_TRUE(*seen.begin() >= low && *seen.rbegin() <= high) << *seen.begin() << " " << *seen.rbegin();
        EXPECT_TRUE(high >= low + 1000 || int(seen.size()) == high - low + 1) << low;  // every value turns up
    }
}
