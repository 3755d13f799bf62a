#include "gfx/Renderer.h"

#include "world/Game.h"

#include <GL/gl.h>

void Renderer::clampCamera()
{
    if (camera.x < 0.0f) {
        camera.x = 0.0f;
    }
    if (screenSize.x + camera.x > worldSize.x) {
        camera.x = worldSize.x - screenSize.x;
    }
    if (camera.y < 0.0f) {
        camera.y = 0.0f;
    }
    if (screenSize.y + camera.y > worldSize.y) {
        camera.y = worldSize.y - screenSize.y;
    }
}

void Renderer::drawFrame()
{
    drawScene();
    if (mode == RenderMode::Window) {
        SDL_GL_SwapBuffers();
    }
}

void Renderer::drawScene()
{
    clampCamera();
    if (mode == RenderMode::Headless) {
        return;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(camera.x, camera.x + screenSize.x, camera.y + screenSize.y, camera.y, -1.0, 1.0);
    drawBackground();
    QuadRun run;
    drawTiles(owner->tiles, run);
    for (const EntityList& list : owner->entityLists) {
        drawEntities(list, run);
    }
    endQuadRun(run);
}

// The background stretched over the whole world; its last row lands at worldSize.y / 1.35.
void Renderer::drawBackground() const
{
    if (levelPicture.texture == 0) {
        return;
    }
    const float bottom = levelPicture.texBottom * 1.35f;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, levelPicture.texture);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(levelPicture.texLeft, levelPicture.texTop);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(levelPicture.texLeft, bottom);
    glVertex2f(0.0f, worldSize.y);
    glTexCoord2f(levelPicture.texRight, bottom);
    glVertex2f(worldSize.x, worldSize.y);
    glTexCoord2f(levelPicture.texRight, levelPicture.texTop);
    glVertex2f(worldSize.x, 0.0f);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void Renderer::drawPicture(int index, float x, float y, float width, float height,
                           QuadRun& run) const
{
    const ImageRecord& record = images[static_cast<size_t>(index)];
    const float right = x + width;
    const float bottom = y + height;
    if (!run.open || run.texture != record.texture) {
        endQuadRun(run);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, record.texture);
        glColor3f(1.0f, 1.0f, 1.0f);
        glBegin(GL_QUADS);
        run.open = true;
        run.texture = record.texture;
    }
    glTexCoord2f(record.texLeft, record.texTop);
    glVertex2f(x, y);
    glTexCoord2f(record.texLeft, record.texBottom);
    glVertex2f(x, bottom);
    glTexCoord2f(record.texRight, record.texBottom);
    glVertex2f(right, bottom);
    glTexCoord2f(record.texRight, record.texTop);
    glVertex2f(right, y);
}

void Renderer::endQuadRun(QuadRun& run)
{
    if (run.open) {
        glEnd();
        glDisable(GL_TEXTURE_2D);
        run.open = false;
    }
}

// Tiles in list order; an unknown picture ends the list for this frame.
void Renderer::drawTiles(const std::vector<Tile>& tileList, QuadRun& run) const
{
    for (const Tile& tile : tileList) {
        const int index = findImageIndex(tile.imageId);
        if (index == -1) {
            return;
        }
        drawPicture(index, tile.x, tile.y, tile.width, tile.height, run);
    }
}

// Entities in list order, each with its first picture. An entity without pictures is skipped;
// an unknown picture ends the list for this frame.
void Renderer::drawEntities(const EntityList& list, QuadRun& run) const
{
    for (const std::unique_ptr<Entity>& entity : list) {
        if (entity->imageIds.empty()) {
            continue;
        }
        const int index = findImageIndex(entity->imageIds.front());
        if (index == -1) {
            return;
        }
        drawPicture(index, entity->x, entity->y, entity->width, entity->height, run);
    }
}

void Renderer::followCamera(const Entity& followed)
{
    if (followed.x > camera.x + followBox.x) {
        camera.x = camera.x + 3.0f;
    }
    if (followed.x < camera.x + 200.0f) {
        camera.x = camera.x - 4.0f;
    }
    if (followed.y < camera.y + 100.0f) {
        camera.y = camera.y - 3.0f;
    }
    if (followed.y > camera.y + followBox.y) {
        camera.y = camera.y + 3.0f;
    }
}
