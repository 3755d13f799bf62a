#pragma once

// The replay's input script: one event per line, "#" starts a comment, blank lines are ignored.
//   <step> down <key>          <step> up <key>
//   <step> click <button> <x> <y>
//   <step> quit
//   <step> check <hash>        the hash of the world's state block after that step (0: as built)
// Keys: a, d, space, backquote, up, down, left, right, or an SDL 1.2 key number (0 to 322).
// Buttons: left, middle, right, wheelup, wheeldown, or a number (0 to 255). x and y are pixels
// of the 640 by 480 window. Steps count from 1.

#include <cstdint>
#include <string>
#include <vector>

enum class ScriptAction { KeyDown, KeyUp, Click, Quit, Check };

// One event of the script, to be queued just before its step runs.
struct ScriptEvent {
    int64_t step = 0;
    ScriptAction action = ScriptAction::Quit;
    int32_t code = 0; // the SDL 1.2 key number, or the mouse button
    int32_t x = 0;    // window pixel of a click
    int32_t y = 0;
    uint64_t stateHash = 0; // a checkpoint's hash of the world's state block
    int line = 0;           // where it stands in the script, for messages
};

constexpr int64_t kLastScriptStep = 2147483647;
constexpr int32_t kLastMouseButton = 255;
constexpr int32_t kWindowWidth = 640;
constexpr int32_t kWindowHeight = 480;

// The events of a script in file order, its checkpoints, and the comment lines that start at
// the beginning of a line (a recorded session's header); or the first error as
// "FILE:LINE: message".
struct ParsedScript {
    std::vector<ScriptEvent> events;
    std::vector<ScriptEvent> checkpoints;
    std::vector<std::string> comments;
    std::string error; // empty when the script is good
};

// Parses the text of a script; `fileName` only names it in the error message.
ParsedScript parseInputScript(const std::string& text, const std::string& fileName);

// Reads and parses a script file; an unreadable file is an error too ("FILE: message"), and so
// is anything but a regular file (a named pipe, a device, a directory), which is never read.
ParsedScript readInputScript(const std::string& fileName);
