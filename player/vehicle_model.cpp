#include "player/vehicle_model.h"

#include <GL/glew.h>

#include "assets/obj_model.h"
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
void placePart(float sideOffset, float drop, float ahead) {
    const Vec3& camera = player.cameraPos;
    glTranslatef(camera.x + sideOffset - kSlidePerDegree * player.heading,
                 player.vehiclePos.y - drop, camera.z - ahead);
    player.vehiclePos.x = camera.x;
    player.vehiclePos.z = camera.z - kVehicleAhead;
    glRotatef(player.heading, 0, 1, 0);
}

// wheelSpin gives the sense of the roll; 0 (before the first drive frame) is no
// rotation at all rather than a turn about a zero axis.
void drawWheel(ObjModel* model, float sideOffset) {
    glPushMatrix();
    placePart(sideOffset, kWheelDrop, kWheelsAheadOfCamera);
    glScalef(kWheelScale, kWheelScale, kWheelScale);
    if (player.wheelSpin != 0) glRotatef(player.wheelAngle, static_cast<float>(player.wheelSpin), 0, 0);
    glmDraw(model, GLM_MODE_SMOOTH | GLM_MODE_COLOR);
    glPopMatrix();
}

}  // namespace

void loadVehicleModels() {
    modelOnFirstUse(player.bodyModel, kBodyFile);
    modelOnFirstUse(player.leftWheelModel, kWheelFile);
    modelOnFirstUse(player.rightWheelModel, kWheelFile);
}

void drawVehicleBody() {
    glPushMatrix();
    placePart(0, 0, kVehicleAhead);
    glRotatef(kBodyTilt, 1, 0, 0);
    glScalef(kBodyScale, kBodyScale, kBodyScale);
    glmDraw(player.bodyModel, GLM_MODE_SMOOTH | GLM_MODE_TEXTURE | GLM_MODE_COLOR);
    glPopMatrix();
}

void drawLeftWheel() { drawWheel(player.leftWheelModel, -kWheelTrack); }

void drawRightWheel() { drawWheel(player.rightWheelModel, kWheelTrack); }
