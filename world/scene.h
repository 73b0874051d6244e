#pragma once
// The world's one-time set-up (lights, materials, the terrain's drawing, level
// 1, every model, the sky) and its scenery.

// Start-up, with the fog and the font already set up.
void initScene();
// The switches the 3D scene draws with: depth test, lighting with both lights,
// normalising, colour material. The overlay turns them off and on again around itself.
void enableSceneState();
void disableSceneState();
struct ViewVolume;

// The apartment block and the giant wheel far out beside the road, where the view can show them.
void drawScenery(const ViewVolume& view);
