#pragma once

#include "support/Pictures.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Opens the game's window once per process, as the game does. Fails the test when no window
// can be opened (run window tests under Xvfb).
void openWindowOnce();

// Tests that draw: the window is open before each test starts.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// A world built in a window in `directory`, as in a fresh run (id counter and random sequence
// reset), its construction's log discarded.
std::unique_ptr<Game> makeWindowGame(const std::string& directory);

// Empties the tile list and the five entity lists, so a test draws only what it adds.
void clearDrawnLists(Game& game);

// The colours of one drawn frame, read back from the window.
class Frame {
public:
    // Draws the world's frame and reads it back.
    static Frame drawnBy(Renderer& renderer);

    // The colour of the screen pixel `column` from the left, `row` from the top.
    Rgb at(int column, int row) const;

private:
    std::vector<Uint8> pixels;
};

// The screen pixel that shows world point (x, y) for a drawn camera.
Rgb worldPixel(const Frame& frame, const Renderer& renderer, int x, int y);
