#include <gtest/gtest.h>
#include "support/UniqueBstr.h"

TEST(Holders, BstrHolderFreesAndDetaches)
{
    UniqueBstr held(L"abc");
    EXPECT_EQ(held.length(), 3u) << "the holder keeps the text it was given";
    BSTR raw = held.detach();
    EXPECT_EQ(held.get(), nullptr) << "detach leaves the holder empty";
    SysFreeString(raw);
}
