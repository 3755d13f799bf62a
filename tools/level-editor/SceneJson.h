#pragma once

#include "tools/level-editor/DescriptionTables.h"
#include "tools/level-editor/JsonWriter.h"
#include "tools/level-editor/LevelScene.h"

// Writes the world of the scene as the "scene" object of the description: its lines and arcs
// (unless `withShapes` is false: the overlay draws them), tiles and entities (each tied to its
// record, or -1 for the built-in scene) and the background as the frame stretches it.
void writeScene(JsonWriter& json, const LevelScene& scene, bool withShapes);

// Writes what the map draws over the world (listCollisionOverlay) as the "overlay" array.
void writeOverlay(JsonWriter& json, const LevelScene& scene);

// The same overlay as rows of the tables (DescriptionTables.h).
void tableOverlay(DescriptionTables& tables, const LevelScene& scene);
