// Full 1420 x 800 frames of the game at ten fixed states, written as PPM pictures into a folder, so that two builds
// can be compared pixel for pixel: the level 1 banner; level 1 from z 4970, 2500, 1000, 300 and looking back from
// -500; level 2 from 4970 and 900; level 3 from 4970 and 600. Usage: snapshots FOLDER
#include <GL/gl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "assets/camera.h"
#include "bench/silent_game.h"
#include "player/player.h"
#include "shell/frame_pose.h"
#include "shell/frame_render.h"
#include "shell/game_flow.h"
#include "world/levels.h"
#include "world/skybox.h"

namespace {

void writeFrame(const std::string& path) {
    std::vector<unsigned char> pixels(size_t(kDesignWidth) * kDesignHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kDesignWidth, kDesignHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fprintf(file, "P6\n%d %d\n255\n", kDesignWidth, kDesignHeight);
    for (int row = kDesignHeight - 1; row >= 0; --row)
        std::fwrite(&pixels[size_t(row) * kDesignWidth * 3], 1, size_t(kDesignWidth) * 3, file);
    std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: snapshots FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    if (!startSilentWindowedGame(kDesignWidth, kDesignHeight)) return 1;
    onDisplay();
    glFinish();
    writeFrame(folder + "/level1_banner.ppm");
    const struct { int level; float z; bool back; } states[] = {{1, 4970, false}, {1, 2500, false}, {1, 1000, false},
        {1, 300, false}, {1, -500, true}, {2, 4970, false}, {2, 900, false}, {3, 4970, false}, {3, 600, false}};
    int started = 0;
    for (const auto& state : states) {
        if (state.level != started) enterLevel(started = state.level);
        drawFrameFrom(state.z, state.back ? 1.0f : -1.0f);
        writeFrame(folder + "/level" + std::to_string(state.level) + (state.back ? "_back_" : "_") +
                   std::to_string(int(state.z)) + ".ppm");
    }
    return 0;
}
