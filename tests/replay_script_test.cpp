#include "tools/replay/InputScript.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(InputScript, ReadsEveryKindOfEventInFileOrder)
{
    const ParsedScript parsed = parseInputScript("# walk, jump, shoot\n"
                                                 "\n"
                                                 "1 down d\n"
                                                 "  3\tdown space   # jump\r\n"
                                                 "2 up d\n"
                                                 "4 click left 639 479\n"
                                                 "4 click 7 0 0\n"
                                                 "5 down 300\n"
                                                 "6 up backquote\n"
                                                 "9 quit\n",
                                                 "walk.txt");
    ASSERT_EQ(parsed.error, "");
    ASSERT_EQ(parsed.events.size(), 8u);
    const ScriptEvent& first = parsed.events[0];
    EXPECT_EQ(first.step, 1);
    EXPECT_EQ(first.action, ScriptAction::KeyDown);
    EXPECT_EQ(first.code, 100);
    EXPECT_EQ(first.line, 3);
    EXPECT_EQ(parsed.events[1].step, 3);
    EXPECT_EQ(parsed.events[1].code, 32);
    EXPECT_EQ(parsed.events[2].action, ScriptAction::KeyUp);
    const ScriptEvent& click = parsed.events[3];
    EXPECT_EQ(click.action, ScriptAction::Click);
    EXPECT_EQ(click.code, 1);
    EXPECT_EQ(click.x, 639);
    EXPECT_EQ(click.y, 479);
    EXPECT_EQ(parsed.events[4].code, 7);
    EXPECT_EQ(parsed.events[5].code, 300);
    EXPECT_EQ(parsed.events[6].code, 96);
    EXPECT_EQ(parsed.events[7].action, ScriptAction::Quit);
    EXPECT_EQ(parsed.events[7].line, 10);

    const ParsedScript empty = parseInputScript("\n# nothing\n   \n", "empty.txt");
    EXPECT_EQ(empty.error, "");
    EXPECT_TRUE(empty.events.empty());
}

TEST(InputScript, KnowsTheGamesKeyAndButtonNames)
{
    const ParsedScript parsed = parseInputScript("1 down a\n1 down d\n1 down space\n"
                                                 "1 down backquote\n1 down up\n1 down down\n"
                                                 "1 down left\n1 down right\n"
                                                 "1 click left 0 0\n1 click middle 0 0\n"
                                                 "1 click right 0 0\n1 click wheelup 0 0\n"
                                                 "1 click wheeldown 0 0\n",
                                                 "names.txt");
    ASSERT_EQ(parsed.error, "");
    const int32_t expected[] = {97, 100, 32, 96, 273, 274, 276, 275, 1, 2, 3, 4, 5};
    ASSERT_EQ(parsed.events.size(), std::size(expected));
    for (size_t index = 0; index < parsed.events.size(); ++index) {
        EXPECT_EQ(parsed.events[index].code, expected[index]) << "line " << index + 1;
    }
}

struct BadLine {
    const char* text;
    const char* message;
};

// Each bad line stands on line 2, after a good one, and is reported with its file and line.
TEST(InputScript, BadLinesGiveOneLineErrorsWithTheLineNumber)
{
    const BadLine badLines[] = {
        {"5 down w", "unknown key 'w' (expected a, d, space, backquote, up, down, left, right "
                     "or an SDL 1.2 key number from 0 to 322)"},
        {"5 down A", "unknown key 'A'"},
        {"5 down 323", "unknown key '323'"},
        {"5 down -1", "unknown key '-1'"},
        {"5 down", "missing key after 'down'"},
        {"5 up", "missing key after 'up'"},
        {"-3 down d", "step number '-3' is negative; steps count from 1"},
        {"0 down d", "step number 0: steps count from 1"},
        {"-0 quit", "step number 0: steps count from 1"},
        {"down d", "expected a step number at the start of the line, found 'down'"},
        {"1.5 down d", "expected a step number at the start of the line, found '1.5'"},
        {"0x10 quit", "expected a step number at the start of the line, found '0x10'"},
        {"99999999999999999999999 down d",
         "step number '99999999999999999999999' is too large (at most 2147483647)"},
        {"2147483648 quit", "step number '2147483648' is too large (at most 2147483647)"},
        {"7", "missing event after the step number (down, up, click or quit)"},
        {"7 jump", "unknown event 'jump' (expected down, up, click or quit)"},
        {"7 quit now", "unexpected 'now' after the quit event"},
        {"7 down d d", "unexpected 'd' after the down event"},
        {"7 click", "missing button after 'click'"},
        {"7 click left", "missing x of the click (x must be a window pixel from 0 to 639)"},
        {"7 click left 10", "missing y of the click (y must be a window pixel from 0 to 479)"},
        {"7 click left 640 10", "x must be a window pixel from 0 to 639, found '640'"},
        {"7 click left 10 -1", "y must be a window pixel from 0 to 479, found '-1'"},
        {"7 click left 10 480", "y must be a window pixel from 0 to 479, found '480'"},
        {"7 click left 1e3 10", "x must be a window pixel from 0 to 639, found '1e3'"},
        {"7 click fire 1 1", "unknown button 'fire'"},
        {"7 click 256 1 1", "unknown button '256'"},
        {"7 click left 1 1 1", "unexpected '1' after the click event"},
    };
    for (const BadLine& bad : badLines) {
        const ParsedScript parsed =
            parseInputScript(std::string("1 down d\n") + bad.text + "\n3 quit\n", "bad.txt");
        const std::string expected = std::string("bad.txt:2: ") + bad.message;
        EXPECT_EQ(parsed.error.substr(0, expected.size()), expected) << "for: " << bad.text;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << "for: " << bad.text;
        EXPECT_TRUE(parsed.events.empty()) << "for: " << bad.text;
    }
}

TEST(InputScript, GarbageIsShownPrintableAndShort)
{
    std::string garbage = "1 down d\n\x01\x02\xff";
    garbage += std::string(200, 'z');
    garbage += "\n";
    const ParsedScript parsed = parseInputScript(garbage, "noise.bin");
    EXPECT_EQ(parsed.error, "noise.bin:2: expected a step number at the start of the line, found "
                            "'???zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz...'");

    const std::string withNul("2 down d\0x\n", 11);
    EXPECT_EQ(parseInputScript(withNul, "nul.txt").error,
              "nul.txt:1: unknown key 'd?x' (expected a, d, space, backquote, up, down, left, "
              "right or an SDL 1.2 key number from 0 to 322)");
}

TEST(InputScript, AFileThatCannotBeReadIsAnError)
{
    const ParsedScript missing = readInputScript("/nonexistent/script.txt");
    EXPECT_EQ(missing.error.rfind("/nonexistent/script.txt: cannot read the input script", 0), 0u)
        << missing.error;
    const ParsedScript folder = readInputScript("/");
    EXPECT_EQ(folder.error.rfind("/: cannot read the input script", 0), 0u) << folder.error;
}

} // namespace
