#include "player/vehicle_model.h"

#include <GL/glew.h>

#include "assets/model_draw.h"
#include "assets/obj_model.h"
#include "assets/shader_program.h"
#include "player/player.h"

namespace {

const char* const kBodyFile = "resources/models/unicorn/body.obj";

const float kWheelsAheadOfCamera = kVehicleAhead - 1;  // the wheels sit 1 unit behind the body's centre
const float kSlidePerDegree = 0.25f;   // the drawn vehicle slides toward -x as it turns
const float kWheelTrack = 2;           // each wheel sits this far left or right of the body
const float kWheelDrop = 2;
const float kBodyTilt = 10;            // degrees about x: nose slightly up
const float kBodyScale = 10;
const float kWheelScale = 2.5f;

// Moves to the part's place and turns with the heading; the pickup test follows
// the camera, not the drawn slide.
void placePart(const Pose& pose, float sideOffset, float drop, float ahead) {
    glTranslatef(pose.cameraPos.x + sideOffset - kSlidePerDegree * pose.heading, pose.vehiclePos.y - drop,
                 pose.cameraPos.z - ahead);
    glRotatef(pose.heading, 0, 1, 0);
}

void drawBody(const Pose& pose) {
    glPushMatrix();
    placePart(pose, 0, 0, kVehicleAhead);
    glRotatef(kBodyTilt, 1, 0, 0);
    glScalef(kBodyScale, kBodyScale, kBodyScale);
    glmDraw(player.bodyModel, GLM_MODE_SMOOTH | GLM_MODE_TEXTURE | GLM_MODE_COLOR);
    glPopMatrix();
}

// wheelSpin gives the sense of the roll; 0 (before the first drive step) is no
// rotation at all rather than a turn about a zero axis.
void drawWheel(const Pose& pose, ObjModel* model, float sideOffset) {
    glPushMatrix();
    placePart(pose, sideOffset, kWheelDrop, kWheelsAheadOfCamera);
    glScalef(kWheelScale, kWheelScale, kWheelScale);
    if (pose.wheelSpin != 0) glRotatef(pose.wheelAngle, static_cast<float>(pose.wheelSpin), 0, 0);
    glmDraw(model, GLM_MODE_SMOOTH | GLM_MODE_COLOR);
    glPopMatrix();
}

}  // namespace

void loadVehicleModels() {
    player.bodyModel = loadModel(kBodyFile);
    player.leftWheelModel = player.rightWheelModel = loadModel(kWheelFile);
}

void drawVehicle(const Pose& pose) {
    useShaderProgram(shaderProgram);
    drawBody(pose);
    drawWheel(pose, player.leftWheelModel, -kWheelTrack);
    drawWheel(pose, player.rightWheelModel, kWheelTrack);
    useShaderProgram(0);
}
