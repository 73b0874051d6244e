#pragma once
// One-time scene set-up (fog, lights, materials, level 1, sky) and the scenery.

struct ObjModel;

extern ObjModel* buildingModel;
extern ObjModel* sceneryWheelModel;

void initScene();
// The switches the 3D scene draws with: depth test, lighting with both lights,
// normalising, colour material. The overlay turns them off and on again around itself.
void enableSceneState();
void disableSceneState();
void loadSceneryModels();
// Sets each of the level's pickups on the terrain where it rises to 2 or more,
// else at height 5.
void liftPickupsOntoTerrain();
void drawBuilding();
void drawSceneryWheel();
