#include "foundation/THelperThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

TEST(HelperThread, BothPartsAreDoneWhenRunReturnsEveryTime)
{
    THelperThread helper;
    std::vector<int> theirs(1000), mine(1000);
    for (int round = 0; round < 1000; ++round) {
        std::thread::id helperThread;
        helper.Run([&] { theirs[size_t(round)] = round; helperThread = std::this_thread::get_id(); },
                   [&] { mine[size_t(round)] = round; });
        ASSERT_EQ(theirs[size_t(round)], round);
        ASSERT_EQ(mine[size_t(round)], round);
        ASSERT_NE(helperThread, std::this_thread::get_id());
    }
}

TEST(HelperThread, AThrowingPartOfTheCallerWaitsForTheHelpersPart)
{
    THelperThread helper;
    std::atomic<bool> finished = false;
    const auto slow = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        finished = true;
    };
    EXPECT_THROW(helper.Run(slow, [] { throw std::runtime_error("stop"); }), std::runtime_error);
    EXPECT_TRUE(finished);
    // The helper takes the next part as usual.
    finished = false;
    helper.Run(slow, [] {});
    EXPECT_TRUE(finished);
}
