#include <gtest/gtest.h>

#include "random/Random.h"

using namespace tessaly;

TEST(Random, FollowsTheClassicSequenceForSeedOne) {
    SeedRandom(1);
    // The first values of the classic C run-time generator seeded with 1.
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected) EXPECT_EQ(Rand(), value);
}

TEST(Random, SameSeedSameSequence) {
    SeedRandom(12345);
    int first[50];
    for (int& v : first) v = Rand();
    SeedRandom(12345);
    for (int v : first) EXPECT_EQ(Rand(), v);
}

TEST(Random, DrawFormsScaleAsWritten) {
    int next = 0;
    SetRandomSource([&] { return next; });
    next = 32767;
    EXPECT_EQ(R(1400), 1399);
    EXPECT_EQ(Q(5), 5);  // only 32767 reaches n
    EXPECT_TRUE(Coin());
    next = 32766;
    EXPECT_EQ(Q(5), 4);
    next = 16383;
    EXPECT_FALSE(Coin());
    next = 16384;
    EXPECT_TRUE(Coin());
    next = 0;
    EXPECT_DOUBLE_EQ(F(0.3, 0.3), 0.3);
    next = 32767;
    EXPECT_DOUBLE_EQ(F(0.3, 0.3), 0.3 * 32767 / 32768.0 + 0.3);
    SetRandomSource(nullptr);
}
