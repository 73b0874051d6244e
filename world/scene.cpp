// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "world/scene.h"
ObjModel *buildingModel, *sceneryWheelModel;
void initScene() {}
void loadSceneryModels() {}
void drawBuilding() {}
void drawSceneryWheel() {}
