#include "world/scene.h"

#include <GL/gl.h>

#include "assets/obj_model.h"
#include "hud/font.h"
#include "player/player.h"
#include "player/vehicle_model.h"
#include "world/levels.h"
#include "world/skybox.h"
#include "world/terrain.h"

ObjModel* buildingModel;
ObjModel* sceneryWheelModel;

namespace {

const char* const buildingPath = "resources/models/panelka2/panelka2.obj";

// Fog: a warm haze, exponential, for the levels that turn it on.
const GLfloat fogColour[4] = {0.9f, 0.7f, 0.5f, 1.0f};
const GLfloat fogStart = 10.0f;
const GLfloat fogEnd = 2400.0f;
const GLfloat fogDensity = 0.004f;

// Pickups stand this far above a hill, or float at restingHeight elsewhere.
const float lowestHill = 2.0f;
const float liftAboveHill = 3.0f;
const float restingHeight = 5.0f;

// The scenery stands far out, placed inside its own scaling.
const float buildingScale = 30.0f;
const Vec3 buildingPlace = {5000.0f, 5.0f, 5000.0f};
const float sceneryWheelScale = 3000.0f;
const Vec3 sceneryWheelPlace = {5000.0f, 5.0f, 5050.0f};
const unsigned int buildingDrawMode = GLM_MODE_SMOOTH | GLM_MODE_TEXTURE | GLM_MODE_COLOR;
const unsigned int sceneryWheelDrawMode = GLM_MODE_SMOOTH | GLM_MODE_TEXTURE;

void setUpFog() {
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogf(GL_FOG_START, fogStart);
    glFogf(GL_FOG_END, fogEnd);
    glFogf(GL_FOG_DENSITY, fogDensity);
}

const GLenum sceneSwitches[] = {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_LIGHT1, GL_NORMALIZE, GL_COLOR_MATERIAL};

// The light that reaches every face: the scene's own, the materials' and light 0's.
const GLfloat dimAmbient[4] = {0.1f, 0.1f, 0.1f, 0.0f};

void setUpMaterial() {
    const GLfloat greyDiffuse[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    const GLfloat whiteSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, dimAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, dimAmbient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, greyDiffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, whiteSpecular);
    glMaterialf(GL_FRONT, GL_SHININESS, 50.0f);
}

// Set while the modelview matrix is the identity, so both lights stay fixed to
// the camera: red ahead and to the lower left, yellow behind and to the upper right.
void setUpLights() {
    const GLfloat redDiffuse[4] = {1.0f, 0.0f, 0.0f, 0.1f};
    const GLfloat yellowDiffuse[4] = {1.0f, 1.0f, 0.0f, 0.1f};
    const GLfloat greySpecular[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat lowerLeftAhead[4] = {-9999.0f, -9999.0f, -9999.0f, 1.0f};
    const GLfloat upperRightBehind[4] = {9999.0f, 9999.0f, 9999.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, dimAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, redDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, greySpecular);
    glLightfv(GL_LIGHT0, GL_POSITION, lowerLeftAhead);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, yellowDiffuse);
    glLightfv(GL_LIGHT1, GL_SPECULAR, greySpecular);
    glLightfv(GL_LIGHT1, GL_POSITION, upperRightBehind);
}

}  // namespace

void initScene() {
    setUpFog();
    buildFont();
    enableSceneState();
    buildTerrainDrawing();
    setUpMaterial();
    setUpLights();
    glColorMaterial(GL_FRONT, GL_DIFFUSE);
    setUpPlannedLevel(1);
    loadSceneryModels();
    loadVehicleModels();
    loadPickupModels();
    liftPickupsOntoTerrain();
    loadSkybox();
    player.skybox = &sky;
}

void loadSceneryModels() {
    modelOnFirstUse(buildingModel, buildingPath);
    modelOnFirstUse(sceneryWheelModel, kWheelFile);
}

void enableSceneState() {
    for (GLenum cap : sceneSwitches) glEnable(cap);
}

void disableSceneState() {
    for (GLenum cap : sceneSwitches) glDisable(cap);
}

void liftPickupsOntoTerrain() {
    for (int i = 0; i < level.pickupCount; ++i) {
        Vec3& position = level.pickups[i].position;
        float height = 0.0f;
        const bool onHill = terrainHeightAt(position.x, position.z, &height) && height >= lowestHill;
        position.y = onHill ? height + liftAboveHill : restingHeight;
    }
}

// Both scenery objects were meant to tilt about an axis of no length, which has
// no direction to turn about, so they stand untilted.
void drawBuilding() {
    glPushMatrix();
    glScalef(buildingScale, buildingScale, buildingScale);
    glTranslatef(buildingPlace.x, buildingPlace.y, buildingPlace.z);
    glmDraw(buildingModel, buildingDrawMode);
    glPopMatrix();
}

void drawSceneryWheel() {
    glPushMatrix();
    glScalef(sceneryWheelScale, sceneryWheelScale, sceneryWheelScale);
    glTranslatef(sceneryWheelPlace.x, sceneryWheelPlace.y, sceneryWheelPlace.z);
    glmDraw(sceneryWheelModel, sceneryWheelDrawMode);
    glPopMatrix();
}
