#pragma once
// One-time scene set-up (fog, lights, materials, level 1, sky) and the scenery.

struct ObjModel;

extern ObjModel* buildingModel;
extern ObjModel* sceneryWheelModel;

void initScene();
void loadSceneryModels();
void drawBuilding();
void drawSceneryWheel();
