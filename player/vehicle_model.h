#pragma once
// The vehicle's body and two wheels, drawn ahead of the camera.

struct Pose;

// The wheel, read once for both sides; the scenery stands a giant one far out.
const char* const kWheelFile = "resources/models/unicorn/wheel.obj";

// Reads the body and wheel models; start-up does, before the game takes input.
void loadVehicleModels();
// The body and both wheels where the pose puts them, with the game's shader program.
void drawVehicle(const Pose& pose);
