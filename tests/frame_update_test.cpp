// A pass of the frame update runs every frame: it must neither allocate nor print.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "audio/sounds.h"
#include "player/player.h"
#include "shell/frame_update.h"
#include "shell/game_flow.h"
#include "shell/input.h"
#include "world/skybox.h"

static bool countingAllocations = false;
static int allocations = 0;

void* operator new(std::size_t size) {
    if (countingAllocations) ++allocations;
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

TEST(FrameUpdate, PassesAllocateNothingAndPrintNothing) {
    player.skybox = &sky;
    keys.forward = keys.left = rightButtonDown = true;
    lastTickMs = 5000;

    testing::internal::CaptureStdout();
    countingAllocations = true;
    for (uint32_t i = 1; i <= 300; ++i) {
        updateAudio();
        runDrivePass(5000 + 16 * i);
        if (i == 150) keys.backward = true;  // brake and coast paths as well
    }
    countingAllocations = false;
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(allocations, 0);
    EXPECT_LT(player.cameraPos.z, 4970) << "the passes did drive";
}
