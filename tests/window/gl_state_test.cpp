// The fixed OpenGL state the renderer sets up, the initial viewport and perspective, and the
// pictures' textures, read back with glGet. A drawn frame's projection shows in its pixels.

#include "window/GlWindow.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <set>

namespace {

// A float state of N values, read back.
template <size_t N> std::array<GLfloat, N> floatState(GLenum name)
{
    std::array<GLfloat, N> values{};
    glGetFloatv(name, values.data());
    return values;
}

GLint integerState(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// The projection that gluPerspective itself makes from these values; leaves the matrix mode
// at GL_PROJECTION.
std::array<GLfloat, 16> perspectiveMatrix(double aspect)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, aspect, static_cast<double>(0.1f), 100.0);
    const std::array<GLfloat, 16> matrix = floatState<16>(GL_PROJECTION_MATRIX);
    glPopMatrix();
    return matrix;
}

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
    EXPECT_EQ(floatState<4>(GL_COLOR_CLEAR_VALUE), (std::array<GLfloat, 4>{0, 0, 0, 0}));
    EXPECT_EQ(floatState<1>(GL_DEPTH_CLEAR_VALUE)[0], 1.0f);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
    EXPECT_EQ(integerState(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(integerState(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_TRUE);
    EXPECT_EQ(integerState(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integerState(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The viewport cuts off fractions of the screen size and takes a zero height as one; the
// aspect is rounded to a float (1.3333334) before it is widened, and near is 0.1f widened.
TEST_F(WindowTest, ConstructionSetsTheViewportAndA45DegreePerspective)
{
    struct Case {
        float width, height, viewportHeight;
        double aspect;
    };
    const double aspect = static_cast<double>(640.0f / 480.0f);
    for (const Case& size :
         {Case{640.0f, 480.0f, 480.0f, aspect}, Case{640.9f, 480.9f, 480.0f, aspect},
          Case{640.0f, 0.0f, 1.0f, 640.0}}) {
        SCOPED_TRACE(size.height);
        glViewport(5, 6, 7, 8);
        const Renderer renderer = windowRenderer(size.width, size.height);
        EXPECT_EQ(floatState<4>(GL_VIEWPORT),
                  (std::array<GLfloat, 4>{0.0f, 0.0f, 640.0f, size.viewportHeight}));
        EXPECT_EQ(integerState(GL_MATRIX_MODE), GL_MODELVIEW);
        EXPECT_EQ(floatState<16>(GL_MODELVIEW_MATRIX),
                  (std::array<GLfloat, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
        const std::array<GLfloat, 16> projection = floatState<16>(GL_PROJECTION_MATRIX);
        EXPECT_EQ(projection, perspectiveMatrix(size.aspect));
        EXPECT_FLOAT_EQ(projection[5], 2.4142137f);   // cot(22.5 degrees)
        EXPECT_FLOAT_EQ(projection[14], -0.2002002f); // 2 far near / (near - far)
    }
}

// Nearest filtering and the picture's place in its power-of-two texture show in the drawn
// frames; here, that no two pictures share a texture.
TEST_F(WindowTest, LoadsOfOneFileShareItsTextureUnderIdsOfTheirOwn)
{
    ScratchDirectory scratch;
    const std::unique_ptr<Game> game = makeWindowGame(scratch.path());
    Renderer& renderer = game->renderer;
    LogCapture log;
    // The two enemies and the first loose entity load "bitmap1.bmp" one after the other; the
    // same file under another name is another picture.
    renderer.loadImage(scratch.file("bitmap1.bmp").c_str());
    ASSERT_EQ(renderer.images.size(), 7u);
    EXPECT_EQ(renderer.images[2].texture, renderer.images[4].texture);
    EXPECT_NE(renderer.images[2].id, renderer.images[4].id);
    std::set<GLuint> textures = {renderer.levelPicture.texture};
    for (const ImageRecord& image : renderer.images) {
        textures.insert(image.texture);
    }
    EXPECT_EQ(textures.size(), 6u);
    for (const GLuint texture : textures) {
        EXPECT_EQ(glIsTexture(texture), GL_TRUE);
    }
}

} // namespace
