#include "particles/random_source.h"

#include <gtest/gtest.h>

TEST(RandomSource, GivesTheKnownSequenceFromItsStartingState) {
  KvResetRandomSourceForTesting();
  for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(KvRandom(), expected);
  KvResetRandomSourceForTesting();
  EXPECT_EQ(KvRandom(), 41);
}
