#include "tools/replay/InputScript.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// An event as "line: step action code x y", to compare whole scripts at once.
std::string described(const ScriptEvent& event)
{
    const char* const actions[] = {"down", "up", "click", "quit"};
    return std::to_string(event.line) + ": " + std::to_string(event.step) + " " +
           actions[static_cast<int>(event.action)] + " " + std::to_string(event.code) + " " +
           std::to_string(event.x) + " " + std::to_string(event.y) + "\n";
}

TEST(InputScript, ReadsEveryEventAndNameInFileOrderSkippingCommentsAndBlankLines)
{
    const ParsedScript parsed = parseInputScript(
        "# walk, jump, shoot\n\n1 down d\n  3\tdown space   # jump\r\n2 up a\n"
        "4 down backquote\n4 down up\n4 down down\n4 down left\n4 down right\n5 down 300\n"
        "6 click left 639 479\n6 click middle 0 0\n6 click right 0 0\n6 click wheelup 0 0\n"
        "6 click wheeldown 0 0\n6 click 7 0 1\n   \n9 quit\n",
        "walk.txt");
    ASSERT_EQ(parsed.error, "");
    std::string events;
    for (const ScriptEvent& event : parsed.events) {
        events += described(event);
    }
    EXPECT_EQ(events, "3: 1 down 100 0 0\n4: 3 down 32 0 0\n5: 2 up 97 0 0\n6: 4 down 96 0 0\n"
                      "7: 4 down 273 0 0\n8: 4 down 274 0 0\n9: 4 down 276 0 0\n"
                      "10: 4 down 275 0 0\n11: 5 down 300 0 0\n12: 6 click 1 639 479\n"
                      "13: 6 click 2 0 0\n14: 6 click 3 0 0\n15: 6 click 4 0 0\n"
                      "16: 6 click 5 0 0\n17: 6 click 7 0 1\n19: 9 quit 0 0 0\n");
    EXPECT_TRUE(parseInputScript("\n# nothing\n   \n", "empty.txt").events.empty());
}

// Each bad line stands on line 2, after a good one, and is reported with its file and line.
TEST(InputScript, BadLinesGiveOneLineErrorsWithTheLineNumberAndNoEvents)
{
    const std::pair<const char*, const char*> badLines[] = {
        {"5 down w", "unknown key 'w' (expected a, d, space, backquote, up, down, left, right "
                     "or an SDL 1.2 key number from 0 to 322)"},
        {"5 down A", "unknown key 'A'"},
        {"5 down 323", "unknown key '323'"},
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
        {"7 click", "missing button after 'click'"},
        {"7 click left", "missing x of the click (x must be a window pixel from 0 to 639)"},
        {"7 click left 10", "missing y of the click (y must be a window pixel from 0 to 479)"},
        {"7 click left 640 10", "x must be a window pixel from 0 to 639, found '640'"},
        {"7 click left 10 480", "y must be a window pixel from 0 to 479, found '480'"},
        {"7 click left 1e3 10", "x must be a window pixel from 0 to 639, found '1e3'"},
        {"7 click left 9999999999999 5", "x must be a window pixel from 0 to 639"},
        {"7 click fire 1 1", "unknown button 'fire'"},
        {"7 click 256 1 1", "unknown button '256'"},
        {"7 click left 1 1 1", "unexpected '1' after the click event"},
    };
    for (const auto& [text, message] : badLines) {
        SCOPED_TRACE(text);
        const ParsedScript parsed =
            parseInputScript(std::string("1 down d\n") + text + "\n3 quit\n", "bad.txt");
        const std::string expected = std::string("bad.txt:2: ") + message;
        EXPECT_EQ(parsed.error.substr(0, expected.size()), expected);
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
        EXPECT_TRUE(parsed.events.empty());
    }
}

TEST(InputScript, GarbageIsShownPrintableAndShortAndAnUnreadableFileIsAnError)
{
    const std::string garbage = "1 down d\n\x01\x02\xff" + std::string(200, 'z') + "\n";
    EXPECT_EQ(parseInputScript(garbage, "noise.bin").error,
              "noise.bin:2: expected a step number at the start of the line, found "
              "'???zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz...'");
    EXPECT_EQ(parseInputScript(std::string("2 down d\0x\n", 11), "nul.txt").error,
              "nul.txt:1: unknown key 'd?x' (expected a, d, space, backquote, up, down, left, "
              "right or an SDL 1.2 key number from 0 to 322)");

    for (const std::string path : {"/nonexistent/script.txt", "/"}) {
        const std::string error = readInputScript(path).error;
        EXPECT_EQ(error.rfind(path + ": cannot read the input script", 0), 0u) << error;
    }
}

} // namespace
