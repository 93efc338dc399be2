#include <gtest/gtest.h>
#include "tables/TvrConvert.h"
using namespace tavrel;
TEST(Smoke, Trim) { EXPECT_EQ(Trim(" a "), "a"); }
