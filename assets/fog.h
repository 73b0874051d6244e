#pragma once
// The haze of the later levels: warm and exponential. Level start and the F6 key
// switch it through here alone, so the drawing and the culling know whether it
// is on without asking GL.

// Its colour, mode and density, once at start-up.
void setUpFog();
void switchFog(bool on);
bool fogIsOn();
// Beyond this depth the fog leaves less than 1/255 of a colour; infinite while it is off.
float fogHidingDepth();
