#include "window/GlWindow.h"

#include "app/GameWindow.h"

#include <GL/gl.h>

#include <cstdlib>

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

bool windowOpen = false;

} // namespace

void openWindowOnce()
{
    if (windowOpen) {
        return;
    }
    const char* failure = openGameWindow(SDL_INIT_VIDEO);
    ASSERT_EQ(failure, nullptr) << failure << " (run window tests under Xvfb): " << SDL_GetError();
    std::atexit(SDL_Quit);
    windowOpen = true;
}

void WindowTest::SetUp() { openWindowOnce(); }

std::unique_ptr<Game> makeWindowGame(const std::string& directory)
{
    resetProcessState();
    ScopedWorkingDirectory inDirectory(directory);
    LogCapture discarded;
    return std::make_unique<Game>(RenderMode::Window);
}

void clearDrawnLists(Game& game)
{
    game.tiles.clear();
    for (EntityList& list : game.entityLists) {
        list.clear();
    }
}

// The frame is read before the swap, from the buffer it was drawn into, with OpenGL's own
// choice of read buffer. Under sdl12-compat that is the colour attachment of the framebuffer
// object the compatibility layer draws the window into (the swap copies it to the window;
// asking for GL_FRONT or GL_BACK there is an error), under the classic SDL 1.2 the back
// buffer. After a swap the back buffer's contents are undefined, and the front buffer can
// only be read where the window is visible, so reading first holds on any display.
Frame Frame::drawnBy(Renderer& renderer)
{
    Frame frame;
    frame.pixels.assign(static_cast<size_t>(kScreenWidth) * kScreenHeight * 4, 0);
    renderer.drawScene();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kScreenWidth, kScreenHeight, GL_RGBA, GL_UNSIGNED_BYTE, frame.pixels.data());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    SDL_GL_SwapBuffers();
    return frame;
}

Rgb Frame::at(int column, int row) const
{
    // OpenGL counts rows from the bottom of the window.
    const size_t offset = (static_cast<size_t>(kScreenHeight - 1 - row) * kScreenWidth +
                           static_cast<size_t>(column)) *
                          4;
    return Rgb{pixels[offset], pixels[offset + 1], pixels[offset + 2]};
}

Rgb worldPixel(const Frame& frame, const Renderer& renderer, int x, int y)
{
    return frame.at(x - static_cast<int>(renderer.camera.x),
                    y - static_cast<int>(renderer.camera.y));
}
