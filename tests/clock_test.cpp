// Game time on the platform's own tick counter follows real time: 62.5 steps of 16 ms a second, however the passes
// fall, on a machine as busy as it may be.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/tick_counter.h"
#include "player/controls.h"
#include "player/vehicle_motion.h"
#include "shell/frame_update.h"

TEST(Clock, GameTimeFollowsRealTime) {
    using Clock = std::chrono::steady_clock;
    keys.forward = true;  // one speed level a step, up to 120
    lastTickMs = getTickCount();
    const Clock::time_point start = Clock::now();
    while (Clock::now() - start < std::chrono::seconds(1)) {
        catchUpGameTime();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    catchUpGameTime();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_NEAR(drive.forwardSpeed / seconds, 62.5, 6) << drive.forwardSpeed << " steps in " << seconds << " s";
}
