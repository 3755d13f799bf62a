#pragma once

#include "tools/level-editor/JsonWriter.h"
#include "tools/level-editor/LevelScene.h"

// Writes the world of the scene as the "scene" object of the description: its lines, arcs,
// tiles and entities (each tied to its record, or -1 for the built-in scene) and the
// background as the frame stretches it.
void writeScene(JsonWriter& json, const LevelScene& scene);

// Writes what the map draws over the world (listCollisionOverlay) as the "overlay" array.
void writeOverlay(JsonWriter& json, const LevelScene& scene);
