#include "shell/frame_pose.h"

#include "player/player.h"
#include "core/vec3.h"
#include "world/skybox.h"

namespace {

struct Pose {
    Vec3 cameraPos;
    Vec3 viewDir;
    Vec3 vehiclePos;
    float heading;
    float wheelAngle;
    float skyCentreX;
    float skyCentreZ;
};

// One step covers at most 3.1 units at top speed plus 5 of boost; a longer jump
// is a level start putting the car back, drawn at once rather than swept.
const float kLongestStepSquared = 20.0f * 20.0f;

Pose previousStep;
Pose latestStep;
bool stepRemembered;

Pose currentPose() {
    float skyX = player.skybox ? player.skybox->centreX : 0.0f;
    float skyZ = player.skybox ? player.skybox->centreZ : 0.0f;
    return {player.cameraPos, player.viewDir, player.vehiclePos,
            player.heading, player.wheelAngle, skyX, skyZ};
}

void setPose(const Pose& pose) {
    player.cameraPos = pose.cameraPos;
    player.viewDir = pose.viewDir;
    player.vehiclePos = pose.vehiclePos;
    player.heading = pose.heading;
    player.wheelAngle = pose.wheelAngle;
    if (player.skybox) {
        player.skybox->centreX = pose.skyCentreX;
        player.skybox->centreZ = pose.skyCentreZ;
    }
}

float mix(float from, float to, float t) { return from + (to - from) * t; }

Vec3 mix(Vec3 from, Vec3 to, float t) {
    return add(from, scale(sub(to, from), t));
}

Pose blend(const Pose& from, const Pose& to, float t) {
    return {mix(from.cameraPos, to.cameraPos, t), mix(from.viewDir, to.viewDir, t),
            mix(from.vehiclePos, to.vehiclePos, t), mix(from.heading, to.heading, t),
            mix(from.wheelAngle, to.wheelAngle, t), mix(from.skyCentreX, to.skyCentreX, t),
            mix(from.skyCentreZ, to.skyCentreZ, t)};
}

bool jumped(const Pose& from, const Pose& to) {
    Vec3 d = sub(to.cameraPos, from.cameraPos);
    return d.x * d.x + d.y * d.y + d.z * d.z > kLongestStepSquared;
}

}  // namespace

void rememberStepPose() {
    previousStep = currentPose();
    stepRemembered = true;
}

void showDrawnPose(float fraction) {
    latestStep = currentPose();
    if (!stepRemembered || jumped(previousStep, latestStep)) return;
    setPose(blend(previousStep, latestStep, fraction));
}

void restoreStepPose() {
    setPose(latestStep);
}
