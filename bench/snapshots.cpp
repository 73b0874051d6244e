// Full 1420 x 800 frames of the game at ten fixed states, written as PPM pictures into a folder, so that two builds
// can be compared pixel for pixel: the level 1 banner; level 1 from z 4970, 2500, 1000, 300 and looking back from
// -500; level 2 from 4970 and 900; level 3 from 4970 and 600. Usage: snapshots FOLDER
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdio>
#include <string>
#include <vector>

#include "player/player.h"
#include "player/vehicle_motion.h"
#include "shell/frame_pose.h"
#include "shell/frame_render.h"
#include "shell/game_flow.h"
#include "shell/shader_program.h"
#include "world/levels.h"
#include "world/scene.h"
#include "world/skybox.h"
#include "world/terrain.h"

namespace {

const int kWidth = 1420;
const int kHeight = 800;

void setUpGame(int* argc, char** argv) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE);
    glutInitWindowSize(kWidth, kHeight);
    glutCreateWindow("Gorvanka snapshots");
    loadHeightfield();
    rescaleHeightfield();
    moveBy({0.0f, 3.0f, 0.1f});
    stepBack(1.0f);
    glewInit();
    initScene();
    buildShaderProgram();
    onReshape(kWidth, kHeight);
}

void writeFrame(const std::string& path) {
    std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fprintf(file, "P6\n%d %d\n255\n", kWidth, kHeight);
    for (int row = kHeight - 1; row >= 0; --row) std::fwrite(&pixels[size_t(row) * kWidth * 3], 1, size_t(kWidth) * 3, file);
    std::fclose(file);
}

// The camera at z (looking down the road, or back up it), the car and the sky with it, drawn with no blend.
void drawFrom(float z, bool back) {
    player.cameraPos = {0.0f, kCameraHeight, z};
    player.viewDir = {0.0f, -0.4f, back ? 1.0f : -1.0f};
    player.vehiclePos.x = 0.0f;
    player.vehiclePos.z = z - kVehicleAhead;
    sky.centreX = 0.0f;
    sky.centreZ = z;
    rememberStepPose();
    onDisplay();
    glFinish();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: snapshots FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    setUpGame(&argc, argv);
    onDisplay();
    glFinish();
    writeFrame(folder + "/level1_banner.ppm");
    const struct { int level; float z; bool back; } states[] = {{1, 4970, false}, {1, 2500, false}, {1, 1000, false},
        {1, 300, false}, {1, -500, true}, {2, 4970, false}, {2, 900, false}, {3, 4970, false}, {3, 600, false}};
    int started = 0;
    for (const auto& state : states) {
        if (state.level != started) {
            levelNumber = started = state.level;
            levelIntroVisible = false;
            startLevel();
        }
        drawFrom(state.z, state.back);
        writeFrame(folder + "/level" + std::to_string(state.level) + (state.back ? "_back_" : "_") +
                   std::to_string(int(state.z)) + ".ppm");
    }
    return 0;
}
