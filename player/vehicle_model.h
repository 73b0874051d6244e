#pragma once
// The vehicle's body and two wheels, drawn ahead of the camera.

// The wheel, read once for each side; the scenery stands a giant one far out.
const char* const kWheelFile = "resources/models/unicorn/wheel.obj";

// Reads the body and wheel models; start-up does, before the game takes input.
void loadVehicleModels();
void drawVehicleBody();
void drawLeftWheel();
void drawRightWheel();
