#include "gfx/CollisionOverlay.h"

#include "gfx/OverlayShapes.h"

#include <GL/gl.h>

#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;

void vertices(const std::vector<float>& points)
{
    for (size_t at = 0; at + 1 < points.size(); at += 2) {
        glVertex2f(points[at], points[at + 1]);
    }
}

// Every other one of the pieces of the circle. (Line stipple would do, but its pattern
// restarts where a tile of the map clips the circle.)
void drawDashedCircle(float x, float y, float radius)
{
    glBegin(GL_LINES);
    for (int piece = 0; piece < kOverlayDashPieces; piece += 2) {
        const float from = 2.0f * kPi * static_cast<float>(piece) / kOverlayDashPieces;
        const float to = 2.0f * kPi * static_cast<float>(piece + 1) / kOverlayDashPieces;
        glVertex2f(x + radius * std::cos(from), y + radius * std::sin(from));
        glVertex2f(x + radius * std::cos(to), y + radius * std::sin(to));
    }
    glEnd();
}

void drawShape(const OverlayShape& shape)
{
    glColor4f(shape.colour.red, shape.colour.green, shape.colour.blue, 1.0f);
    switch (shape.kind) {
    case OverlayShapeKind::Segment:
        glBegin(GL_LINES);
        vertices(shape.points);
        glEnd();
        break;
    case OverlayShapeKind::Polyline:
        glBegin(GL_LINE_STRIP);
        vertices(shape.points);
        glEnd();
        break;
    case OverlayShapeKind::Circle:
        if (shape.dashed) {
            drawDashedCircle(shape.x, shape.y, shape.radius);
        } else {
            glBegin(GL_LINE_STRIP);
            vertices(circlePoints(shape.x, shape.y, shape.radius, 0.0f, 2.0f * kPi,
                                  kOverlayCircleSegments));
            glEnd();
        }
        break;
    case OverlayShapeKind::Dot:
        glBegin(GL_POINTS);
        glVertex2f(shape.x, shape.y);
        glEnd();
        break;
    }
}

} // namespace

void drawCollisionOverlay(const Game& world)
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_POINT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glLineWidth(2.0f);
    glPointSize(5.0f);
    for (const OverlayShape& shape : listCollisionOverlay(world)) {
        drawShape(shape);
    }
    glPopAttrib();
}
