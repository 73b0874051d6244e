#pragma once
// The overlay: pictures, level banners and flow, frame rate in words, meters,
// charge icons, and the music track each banner selects.

void drawHud();
