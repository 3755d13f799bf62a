// The session recorded in the game and committed in assets/replays still replays, checkpoint
// for checkpoint, to its win: a change of the game that moves anything in it shows here.

#include "support/ReplayRun.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordedSession, TheCommittedRecordingStillWinsTheBundledLevelWithoutADesync)
{
    ScratchDirectory folder;
    const ReplayRun run =
        runReplayTool("--dir " + quoted(assetsDir()) + " --steps 2000 --input " +
                          quoted(assetsDir() + "/replays/recorded-win-bundled-level.txt"),
                      folder.path());
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("stopped after step 1183: the player won"), std::string::npos)
        << run.errors;
}

} // namespace
