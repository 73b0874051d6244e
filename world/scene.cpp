#include "world/scene.h"

#include <GL/gl.h>

#include <cmath>

#include "assets/model_draw.h"
#include "assets/obj_model.h"
#include "assets/vec3.h"
#include "assets/view_volume.h"
#include "player/vehicle_model.h"
#include "world/levels.h"
#include "world/pickups.h"
#include "world/skybox.h"
#include "world/terrain.h"

namespace {

const char* const kBuildingPath = "resources/models/panelka2/panelka2.obj";

// The scenery stands far out, placed inside its own scaling.
const float kBuildingScale = 30.0f;
const Vec3 kBuildingPlace = {5000.0f, 5.0f, 5000.0f};
const float kSceneryWheelScale = 3000.0f;
const Vec3 kSceneryWheelPlace = {5000.0f, 5.0f, 5050.0f};
const unsigned int kBuildingDrawMode = GLM_MODE_SMOOTH | GLM_MODE_TEXTURE | GLM_MODE_COLOR;
const unsigned int kSceneryWheelDrawMode = GLM_MODE_SMOOTH | GLM_MODE_TEXTURE;

const GLenum kSceneSwitches[] = {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_LIGHT1, GL_NORMALIZE, GL_COLOR_MATERIAL};

// The light that reaches every face: the scene's own, the materials' and light 0's.
const GLfloat kDimAmbient[4] = {0.1f, 0.1f, 0.1f, 0.0f};

ObjModel* buildingModel;
ObjModel* sceneryWheelModel;

void setUpMaterial() {
    const GLfloat greyDiffuse[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    const GLfloat whiteSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kDimAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kDimAmbient);
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
    glLightfv(GL_LIGHT0, GL_AMBIENT, kDimAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, redDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, greySpecular);
    glLightfv(GL_LIGHT0, GL_POSITION, lowerLeftAhead);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, yellowDiffuse);
    glLightfv(GL_LIGHT1, GL_SPECULAR, greySpecular);
    glLightfv(GL_LIGHT1, GL_POSITION, upperRightBehind);
}

void loadModels() {
    buildingModel = loadModel(kBuildingPath);
    sceneryWheelModel = loadModel(kWheelFile);
    loadVehicleModels();
    loadPickupModels();
}

// A scenery object stands untilted, its place scaled with it about the world's
// origin. Models are read into a box of side 2, so it lies within sqrt(3) times
// its scale of its place; where none of that can show, it is not drawn.
void drawSceneryObject(ObjModel* model, float scale, Vec3 place, unsigned int mode, const ViewVolume& view) {
    if (!ballCanShow(view, ::scale(place, scale), std::sqrt(3.0f) * scale)) return;
    glPushMatrix();
    glScalef(scale, scale, scale);
    glTranslatef(place.x, place.y, place.z);
    glmDraw(model, mode);
    glPopMatrix();
}

}  // namespace

void initScene() {
    enableSceneState();
    buildTerrainDrawing();
    setUpMaterial();
    setUpLights();
    glColorMaterial(GL_FRONT, GL_DIFFUSE);
    setUpPlannedLevel(1);
    loadModels();
    loadSkybox();
}

void enableSceneState() {
    for (GLenum cap : kSceneSwitches) glEnable(cap);
}

void disableSceneState() {
    for (GLenum cap : kSceneSwitches) glDisable(cap);
}

void drawScenery(const ViewVolume& view) {
    drawSceneryObject(buildingModel, kBuildingScale, kBuildingPlace, kBuildingDrawMode, view);
    drawSceneryObject(sceneryWheelModel, kSceneryWheelScale, kSceneryWheelPlace, kSceneryWheelDrawMode, view);
}
