#pragma once

#include "entities/Entity.h"
#include "gfx/Image.h"
#include "gfx/ImageIndex.h"
#include "gfx/PictureCache.h"
#include "physics/Vec2.h"
#include "world/Tile.h"

#include <cstdint>
#include <string>
#include <vector>

class Game;

// Window: pictures become textures and every frame is drawn. Headless: pictures are still read
// and masked (same ids, same log lines) but get texture 0, and nothing touches OpenGL.
enum class RenderMode { Window, Headless };

// The single drawing object: view and world sizes, the camera, the pictures.
class Renderer {
public:
    Renderer(Game* world, float screenWidth, float screenHeight, float worldWidth,
             float worldHeight, RenderMode renderMode);

    // Loads a picture cut to a disc; returns its new id. Throws ImageLoadError. Every load has
    // its own id and record, but loads of the same unchanged file share one texture.
    int32_t loadImage(const char* fileName);

    // Loads "level.bmp", the background, unmasked. A missing background leaves texture 0.
    void loadLevelPicture();

    // Index in `images` of the first record with that id, or -1.
    int findImageIndex(int32_t id) const;

    // Clamps the camera to the world, draws background, tiles and the five entity lists, swaps.
    void drawFrame();

    // Everything drawFrame does before its buffer swap: the finished frame stays in the buffer
    // being drawn, where it can still be read back.
    void drawScene();

    // Nudges the camera towards the entity when it leaves the follow box.
    void followCamera(const Entity& followed);

    // The four clamps of the camera to the world, as done at the start of every frame.
    void clampCamera();

    Vec2 worldSize;
    Game* owner = nullptr;
    ImageRecord levelPicture;
    std::vector<ImageRecord> images;
    Vec2 screenSize;
    Vec2 camera;
    Vec2 followBox;
    RenderMode mode = RenderMode::Window;
    PictureCache pictures;
    // Every bitmap file asked for, each named once, in the order of its first load: what a
    // recorded session names, so that a replay can tell when its pictures are not the same.
    std::vector<std::string> pictureFiles;

private:
    // The file's index in pictureFiles, noting it there on its first load.
    int32_t notePictureFile(const char* fileName);
    mutable ImageIndex imageIndex; // a lookup aid only: finding changes nothing one can see
    void initGlState();
    void resizeViewport(int width, int height);
    // The picture's texture (0 when headless) and the part of it the picture covers; `copied`
    // says whether the power-of-two copy could be made.
    ImageRecord textureRecord(const PixelImage& picture, bool& copied) const;
    // The picture of the file as a load makes it: from an earlier load of the same unchanged
    // file, or read now. Throws ImageLoadError.
    ImageRecord sharedPicture(const char* fileName);
    // Reads, converts and masks the picture of an open file, which it closes.
    SharedPicture readPicture(std::FILE* file, const char* fileName);
    // Pictures drawn one after another with the same texture share one run of quads: the
    // same quads in the same order give the same pixels, at a fraction of a draw each.
    struct QuadRun {
        bool open = false;
        uint32_t texture = 0;
    };
    void drawBackground() const;
    void drawTiles(const std::vector<Tile>& tiles, QuadRun& run) const;
    void drawEntities(const EntityList& list, QuadRun& run) const;
    void drawPicture(int index, float x, float y, float width, float height, QuadRun& run) const;
    static void endQuadRun(QuadRun& run);
};
