#pragma once
// One-time scene set-up (fog, lights, materials, level 1, sky) and the scenery.

struct ObjModel;

extern ObjModel* buildingModel;
extern ObjModel* sceneryWheelModel;

void initScene();
void loadSceneryModels();
// Sets each of the level's pickups on the terrain where it rises to 2 or more,
// else at height 5.
void liftPickupsOntoTerrain();
void drawBuilding();
void drawSceneryWheel();
