// Placeholder so the game links until this module lands; its owner replaces the whole file.
#include "world/terrain.h"
Heightfield terrain;
unsigned int terrainList;
int loadHeightfield() { return 0; }
int rescaleHeightfield() { return 0; }
void computeHeightfieldNormals() {}
unsigned int buildTerrainList() { return 0; }
bool terrainHeightAt(float, float, float*) { return false; }
