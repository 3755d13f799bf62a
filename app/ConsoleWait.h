#pragma once

// The game's wait on the console (after the win, and on the back-quote key): one character
// from standard input, read by itself so that nothing more is taken from a pipe or a terminal.
// The log is flushed first, so that what led to the wait is on it. The wait ends with EOF when
// standard input is closed or fails, and when SIGTERM or SIGINT has been caught
// (app/QuitSignals.h), whether standard input is a terminal, a pipe or a file.
int waitForConsoleChar();
