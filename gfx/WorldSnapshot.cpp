#include "gfx/WorldSnapshot.h"

#include "gfx/Renderer.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The framebuffer object calls, found at run time (the core names or the EXT ones).
struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC deleteFramebuffers = nullptr;
    PFNGLGENRENDERBUFFERSEXTPROC genRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFEREXTPROC bindRenderbuffer = nullptr;
    PFNGLDELETERENDERBUFFERSEXTPROC deleteRenderbuffers = nullptr;
    PFNGLRENDERBUFFERSTORAGEEXTPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkFramebufferStatus = nullptr;
};

bool hasExtension(const char* name)
{
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (extensions == nullptr) {
        return false;
    }
    const size_t length = std::strlen(name);
    for (const char* found = std::strstr(extensions, name); found != nullptr;
         found = std::strstr(found + 1, name)) {
        const bool starts = found == extensions || found[-1] == ' ';
        const bool ends = found[length] == ' ' || found[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

bool hasCoreFramebuffers()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version != nullptr && std::atoi(version) >= 3;
}

template <typename Call> void findCall(Call& call, const char* name, const char* suffix)
{
    call = reinterpret_cast<Call>(SDL_GL_GetProcAddress((std::string(name) + suffix).c_str()));
}

bool findFramebufferCalls(FramebufferCalls& calls)
{
    const char* suffix = nullptr;
    if (hasCoreFramebuffers() || hasExtension("GL_ARB_framebuffer_object")) {
        suffix = "";
    } else if (hasExtension("GL_EXT_framebuffer_object")) {
        suffix = "EXT";
    } else {
        return false;
    }
    findCall(calls.genFramebuffers, "glGenFramebuffers", suffix);
    findCall(calls.bindFramebuffer, "glBindFramebuffer", suffix);
    findCall(calls.deleteFramebuffers, "glDeleteFramebuffers", suffix);
    findCall(calls.genRenderbuffers, "glGenRenderbuffers", suffix);
    findCall(calls.bindRenderbuffer, "glBindRenderbuffer", suffix);
    findCall(calls.deleteRenderbuffers, "glDeleteRenderbuffers", suffix);
    findCall(calls.renderbufferStorage, "glRenderbufferStorage", suffix);
    findCall(calls.framebufferRenderbuffer, "glFramebufferRenderbuffer", suffix);
    findCall(calls.checkFramebufferStatus, "glCheckFramebufferStatus", suffix);
    return calls.genFramebuffers && calls.bindFramebuffer && calls.deleteFramebuffers &&
           calls.genRenderbuffers && calls.bindRenderbuffer && calls.deleteRenderbuffers &&
           calls.renderbufferStorage && calls.framebufferRenderbuffer &&
           calls.checkFramebufferStatus;
}

// An offscreen framebuffer with a colour and a depth buffer, bound while it lives.
class OffscreenTarget {
public:
    OffscreenTarget(const FramebufferCalls& framebufferCalls, int width, int height)
        : calls(framebufferCalls)
    {
        calls.genFramebuffers(1, &framebuffer);
        calls.bindFramebuffer(GL_FRAMEBUFFER_EXT, framebuffer);
        calls.genRenderbuffers(2, renderbuffers);
        calls.bindRenderbuffer(GL_RENDERBUFFER_EXT, renderbuffers[0]);
        calls.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_RGBA8, width, height);
        calls.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                                      GL_RENDERBUFFER_EXT, renderbuffers[0]);
        calls.bindRenderbuffer(GL_RENDERBUFFER_EXT, renderbuffers[1]);
        calls.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
        calls.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT,
                                      GL_RENDERBUFFER_EXT, renderbuffers[1]);
        complete = calls.checkFramebufferStatus(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
    }

    ~OffscreenTarget()
    {
        calls.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
        calls.deleteRenderbuffers(2, renderbuffers);
        calls.deleteFramebuffers(1, &framebuffer);
    }

    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    bool complete = false;

private:
    const FramebufferCalls& calls;
    GLuint framebuffer = 0;
    GLuint renderbuffers[2] = {0, 0};
};

// Tiles overlap by this much on each side, and only their inner part is kept: a line or a
// point on a tile's edge is clipped with its middle, though its width reaches into the tile.
constexpr int kTileMargin = 8;
constexpr int kSmallestTile = 4 * kTileMargin;

// One tile along one side of the picture: the view starts at `camera` (within the picture,
// so the frame drawing's clamp leaves it alone) and world units [from, to) are kept.
struct TileSpan {
    int camera = 0;
    int from = 0;
    int to = 0;
};

std::vector<TileSpan> tileSpans(int size, int tile)
{
    if (tile >= size) {
        return {TileSpan{0, 0, size}};
    }
    const int step = tile - 2 * kTileMargin;
    std::vector<TileSpan> spans;
    for (int from = 0; from < size; from += step) {
        const int camera = std::clamp(from - kTileMargin, 0, size - tile);
        spans.push_back(TileSpan{camera, from, std::min(from + step, size)});
    }
    return spans;
}

// A picture side: whole world units, within what can be drawn.
int pictureSide(float worldSide)
{
    if (!(worldSide >= 1.0f)) {
        return 0;
    }
    return static_cast<int>(
        std::min(std::floor(worldSide), static_cast<float>(kLargestWorldPicture)));
}

// Copies the kept part of a tile read back from OpenGL (bottom row first, `tileHeight` rows
// of `tileWidth` pixels) into the picture (top row first).
void placeTile(const std::vector<uint8_t>& tile, int tileWidth, int tileHeight,
               const TileSpan& across, const TileSpan& down, WorldPicture& picture)
{
    const size_t keptBytes = static_cast<size_t>(across.to - across.from) * 3;
    for (int worldY = down.from; worldY < down.to; ++worldY) {
        const int row = tileHeight - 1 - (worldY - down.camera);
        const uint8_t* from =
            tile.data() + (static_cast<size_t>(row) * static_cast<size_t>(tileWidth) +
                           static_cast<size_t>(across.from - across.camera)) *
                              3;
        uint8_t* to =
            picture.rgb.data() + (static_cast<size_t>(worldY) * static_cast<size_t>(picture.width) +
                                  static_cast<size_t>(across.from)) *
                                     3;
        std::memcpy(to, from, keptBytes);
    }
}

int largestSide(int tileSide)
{
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    GLint renderbuffer = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE_EXT, &renderbuffer);
    return std::min({tileSide, static_cast<int>(viewport[0]), static_cast<int>(viewport[1]),
                     static_cast<int>(renderbuffer)});
}

} // namespace

std::string snapshotWorld(Renderer& renderer, const std::function<void()>& drawOver,
                          WorldPicture& picture, int tileSide)
{
    if (renderer.mode != RenderMode::Window) {
        return "the world was built headless: its pictures have no textures to draw";
    }
    picture.width = pictureSide(renderer.worldSize.x);
    picture.height = pictureSide(renderer.worldSize.y);
    if (picture.width == 0 || picture.height == 0) {
        return "the world is too small to draw (its size is below one unit)";
    }
    FramebufferCalls calls;
    if (!findFramebufferCalls(calls)) {
        return "this OpenGL has no framebuffer objects to draw the world offscreen";
    }
    const int side = largestSide(std::max(tileSide, kSmallestTile));
    if (side < kSmallestTile) {
        return "this OpenGL reports no usable framebuffer size";
    }
    const int tileWidth = std::min(side, picture.width);
    const int tileHeight = std::min(side, picture.height);
    OffscreenTarget target(calls, tileWidth, tileHeight);
    if (!target.complete) {
        return "the offscreen framebuffer could not be made";
    }
    picture.rgb.assign(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 3,
                       0);
    std::vector<uint8_t> tile(static_cast<size_t>(tileWidth) * static_cast<size_t>(tileHeight) * 3);

    const Vec2 savedScreen = renderer.screenSize;
    const Vec2 savedCamera = renderer.camera;
    renderer.screenSize = Vec2{static_cast<float>(tileWidth), static_cast<float>(tileHeight)};
    glViewport(0, 0, tileWidth, tileHeight);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (const TileSpan& down : tileSpans(picture.height, tileHeight)) {
        for (const TileSpan& across : tileSpans(picture.width, tileWidth)) {
            renderer.camera =
                Vec2{static_cast<float>(across.camera), static_cast<float>(down.camera)};
            renderer.drawScene();
            if (drawOver) {
                drawOver();
            }
            glReadPixels(0, 0, tileWidth, tileHeight, GL_RGB, GL_UNSIGNED_BYTE, tile.data());
            placeTile(tile, tileWidth, tileHeight, across, down, picture);
        }
    }
    renderer.screenSize = savedScreen;
    renderer.camera = savedCamera;
    glViewport(0, 0, static_cast<int>(savedScreen.x), static_cast<int>(savedScreen.y));
    return "";
}
