#pragma once
// The vehicle's body and two wheels, drawn ahead of the camera.

void drawVehicleBody();
void drawLeftWheel();
void drawRightWheel();
