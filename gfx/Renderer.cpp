#include "gfx/Renderer.h"

#include "entities/Entity.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <iostream>

Renderer::Renderer(Game* world, float screenWidth, float screenHeight, float worldWidth,
                   float worldHeight, RenderMode renderMode)
    : worldSize{worldWidth, worldHeight}, owner(world), screenSize{screenWidth, screenHeight},
      camera{0.0f, 0.0f}, followBox{screenWidth, screenHeight}, mode(renderMode)
{
    if (mode == RenderMode::Window) {
        initGlState();
        resizeViewport(static_cast<int>(screenWidth), static_cast<int>(screenHeight));
    }
}

void Renderer::initGlState()
{
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Renderer::resizeViewport(int width, int height)
{
    if (height == 0) {
        height = 1;
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    gluPerspective(45.0, aspect, static_cast<double>(0.1f), 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

ImageRecord Renderer::textureRecord(SDL_Surface* surface) const
{
    float coordinates[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    ImageRecord record;
    if (mode == RenderMode::Window) {
        record.texture = uploadTexture(surface, coordinates);
    } else {
        // Headless: the same copy is made (and can fail the same way), but no texture.
        SDL_FreeSurface(powerOfTwoCopy(surface, coordinates));
    }
    record.texLeft = coordinates[0];
    record.texTop = coordinates[1];
    record.texRight = coordinates[2];
    record.texBottom = coordinates[3];
    return record;
}

int32_t Renderer::loadImage(const char* fileName)
{
    const int32_t id = takeObjectId();
    SDL_Surface* loaded = readBitmap(SDL_RWFromFile(fileName, "rb"));
    if (loaded == nullptr) {
        throw ImageLoadError(kImageFailedToLoad, fileName);
    }
    SDL_Surface* surface = toRgbaSurface(loaded);
    if (surface == nullptr) {
        throw ImageLoadError(kNoAlphaSurface, fileName);
    }
    SDL_LockSurface(surface);
    applyDiscMask(surface);
    SDL_UnlockSurface(surface);

    ImageRecord record = textureRecord(surface);
    SDL_FreeSurface(surface);
    record.id = id;
    images.push_back(record);
    return id;
}

void Renderer::loadLevelPicture()
{
    SDL_Surface* surface = readBitmap(SDL_RWFromFile("level.bmp", "rb"));
    if (surface == nullptr) {
        std::cerr << "quillfen: cannot read the background picture level.bmp; playing without it"
                  << std::endl;
    } else {
        levelPicture = textureRecord(surface);
        SDL_FreeSurface(surface);
    }
    levelPicture.id = takeObjectId();
}

int Renderer::findImageIndex(int32_t id) const { return imageIndex.find(images, id); }
