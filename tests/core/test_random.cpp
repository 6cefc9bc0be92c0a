#include <gtest/gtest.h>

#include "random/Random.h"

using namespace tessaly;

TEST(Random, FollowsTheClassicSequenceForSeedOne) {
    Random random;
    random.Seed(1);
    // The first values of the classic C run-time generator seeded with 1.
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected) EXPECT_EQ(random.Rand(), value);
}

TEST(Random, SameSeedSameSequence) {
    Random random;
    random.Seed(12345);
    int first[50];
    for (int& v : first) v = random.Rand();
    random.Seed(12345);
    for (int v : first) EXPECT_EQ(random.Rand(), v);
}

TEST(Random, DrawFormsScaleAsWritten) {
    Random random;
    int next = 0;
    random.SetSource([&] { return next; });
    next = 32767;
    EXPECT_EQ(random.R(1400), 1399);
    EXPECT_EQ(random.Q(5), 5);  // only 32767 reaches n
    EXPECT_TRUE(random.Coin());
    next = 32766;
    EXPECT_EQ(random.Q(5), 4);
    next = 16383;
    EXPECT_FALSE(random.Coin());
    next = 16384;
    EXPECT_TRUE(random.Coin());
    next = 0;
    EXPECT_DOUBLE_EQ(random.F(0.3, 0.3), 0.3);
    next = 32767;
    EXPECT_DOUBLE_EQ(random.F(0.3, 0.3), 0.3 * 32767 / 32768.0 + 0.3);
}

TEST(Random, TwoGeneratorsKeepTheirOwnSequences) {
    Random a, b;
    a.Seed(1);
    b.Seed(1);
    EXPECT_EQ(a.Rand(), 41);
    EXPECT_EQ(a.Rand(), 18467);
    EXPECT_EQ(b.Rand(), 41);  // untouched by a's draws
}
