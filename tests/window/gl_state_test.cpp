// The fixed OpenGL state the renderer sets up, the initial viewport and perspective, and the
// orthographic camera projection of a drawn frame, read back with glGet.

#include "window/GlWindow.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>

namespace {

using Matrix = std::array<GLfloat, 16>;

Matrix currentMatrix(GLenum which)
{
    Matrix matrix{};
    glGetFloatv(which, matrix.data());
    return matrix;
}

GLint integerState(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

std::array<GLint, 4> viewport()
{
    std::array<GLint, 4> box{};
    glGetIntegerv(GL_VIEWPORT, box.data());
    return box;
}

// The projection that gluPerspective itself makes from these values, read back.
Matrix perspectiveMatrix(double aspect)
{
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, aspect, static_cast<double>(0.1f), 100.0);
    const Matrix matrix = currentMatrix(GL_PROJECTION_MATRIX);
    glPopMatrix();
    glMatrixMode(static_cast<GLenum>(mode));
    return matrix;
}

const Matrix kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

Renderer windowRenderer(float screenWidth, float screenHeight)
{
    return Renderer(nullptr, screenWidth, screenHeight, 3000.0f, 680.0f, RenderMode::Window);
}

TEST_F(WindowTest, ConstructionSetsTheFixedGlState)
{
    // Start from the opposite of every setting, so each one must come from the renderer.
    glShadeModel(GL_FLAT);
    glClearColor(0.5f, 0.25f, 0.75f, 1.0f);
    glClearDepth(0.5);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_GREATER);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);

    const Renderer renderer = windowRenderer(640.0f, 480.0f);

    EXPECT_EQ(integerState(GL_SHADE_MODEL), GL_SMOOTH);
    std::array<GLfloat, 4> clearColour{};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour.data());
    EXPECT_EQ(clearColour, (std::array<GLfloat, 4>{0.0f, 0.0f, 0.0f, 0.0f}));
    GLfloat clearDepth = 0.0f;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &clearDepth);
    EXPECT_EQ(clearDepth, 1.0f);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
    EXPECT_EQ(integerState(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(integerState(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_TRUE);
    EXPECT_EQ(integerState(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integerState(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(WindowTest, ConstructionSetsTheViewportAndA45DegreePerspective)
{
    glViewport(5, 6, 7, 8);
    const Renderer renderer = windowRenderer(640.0f, 480.0f);

    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 640, 480}));
    EXPECT_EQ(integerState(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), kIdentity);
    // The aspect is rounded to a float (1.3333334) before it is widened; near is 0.1f widened.
    const Matrix projection = currentMatrix(GL_PROJECTION_MATRIX);
    EXPECT_EQ(projection, perspectiveMatrix(static_cast<double>(640.0f / 480.0f)));
    EXPECT_FLOAT_EQ(projection[0], 1.8106601f);  // cot(22.5 degrees) / aspect
    EXPECT_FLOAT_EQ(projection[5], 2.4142137f);  // cot(22.5 degrees)
    EXPECT_FLOAT_EQ(projection[10], -1.002002f); // (far + near) / (near - far)
    EXPECT_FLOAT_EQ(projection[11], -1.0f);
    EXPECT_FLOAT_EQ(projection[14], -0.2002002f); // 2 far near / (near - far)
    EXPECT_EQ(projection[15], 0.0f);
}

TEST_F(WindowTest, TheViewportCutsOffFractionsOfTheScreenSizeAndTakesAZeroHeightAsOne)
{
    const Renderer fractions = windowRenderer(640.9f, 480.9f);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 640, 480}));
    EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX),
              perspectiveMatrix(static_cast<double>(640.0f / 480.0f)));
    EXPECT_EQ(fractions.followBox.x, 640.9f);

    const Renderer flat = windowRenderer(640.0f, 0.0f);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 640, 1}));
    EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), perspectiveMatrix(640.0));
}

TEST_F(WindowTest, ADrawnFrameLeavesTheClampedCamerasOrthographicProjection)
{
    ScratchDirectory scratch;
    const std::unique_ptr<Game> game = makeWindowGame(scratch.path());
    game->renderer.camera = Vec2{2400.5f, -3.0f};
    game->renderer.drawFrame();

    EXPECT_EQ(integerState(GL_MATRIX_MODE), GL_PROJECTION);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), kIdentity);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(2360.0, 3000.0, 480.0, 0.0, -1.0, 1.0);
    const Matrix expected = currentMatrix(GL_PROJECTION_MATRIX);
    glPopMatrix();
    EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), expected);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 640, 480}));
}

TEST_F(WindowTest, EveryPictureGetsItsOwnTextureEvenFromTheSameFile)
{
    ScratchDirectory scratch;
    const std::unique_ptr<Game> game = makeWindowGame(scratch.path());
    Renderer& renderer = game->renderer;
    EXPECT_NE(renderer.levelPicture.texture, 0u);
    EXPECT_EQ(glIsTexture(renderer.levelPicture.texture), GL_TRUE);
    // The two enemies load "bitmap1.bmp" one after the other, and so does the first loose one.
    ASSERT_EQ(renderer.images.size(), 6u);
    for (size_t first = 0; first < renderer.images.size(); ++first) {
        EXPECT_EQ(glIsTexture(renderer.images[first].texture), GL_TRUE);
        EXPECT_NE(renderer.images[first].texture, renderer.levelPicture.texture);
        for (size_t second = first + 1; second < renderer.images.size(); ++second) {
            EXPECT_NE(renderer.images[first].texture, renderer.images[second].texture);
        }
    }
    LogCapture log;
    const int32_t again = renderer.loadImage(scratch.file("bitmap1.bmp").c_str());
    const int32_t andAgain = renderer.loadImage(scratch.file("bitmap1.bmp").c_str());
    EXPECT_NE(again, andAgain);
    EXPECT_NE(renderer.images[6].texture, renderer.images[7].texture);

    // The texture holds the picture top-left in a power-of-two size, with nearest filtering.
    glBindTexture(GL_TEXTURE_2D, renderer.levelPicture.texture);
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 256);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &filter);
    EXPECT_EQ(filter, GL_REPEAT);
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace
