#include "shell/frame_pose.h"

#include "assets/vec3.h"
#include "world/skybox.h"

namespace {

// One step covers at most 3.1 units at top speed plus 5 of boost; a longer jump
// is a level start putting the car back, drawn at once rather than swept.
const float kLongestStepSquared = 20.0f * 20.0f;

FramePose previousStep;
bool stepRemembered;

FramePose poseNow() { return {playerPose(), sky.centreX, sky.centreZ}; }

float mix(float from, float to, float t) { return from + (to - from) * t; }

Vec3 mix(Vec3 from, Vec3 to, float t) {
    return add(from, scale(sub(to, from), t));
}

FramePose blend(const FramePose& from, const FramePose& to, float t) {
    const Pose& a = from.car;
    const Pose& b = to.car;
    const Pose car = {mix(a.cameraPos, b.cameraPos, t), mix(a.viewDir, b.viewDir, t),
                      mix(a.vehiclePos, b.vehiclePos, t), mix(a.heading, b.heading, t),
                      mix(a.wheelAngle, b.wheelAngle, t), b.wheelSpin};
    return {car, mix(from.skyCentreX, to.skyCentreX, t), mix(from.skyCentreZ, to.skyCentreZ, t)};
}

bool jumped(const FramePose& from, const FramePose& to) {
    const Vec3 d = sub(to.car.cameraPos, from.car.cameraPos);
    return d.x * d.x + d.y * d.y + d.z * d.z > kLongestStepSquared;
}

}  // namespace

void rememberStepPose() {
    previousStep = poseNow();
    stepRemembered = true;
}

FramePose drawnPose(float fraction) {
    const FramePose latest = poseNow();
    if (!stepRemembered || jumped(previousStep, latest)) return latest;
    return blend(previousStep, latest, fraction);
}
