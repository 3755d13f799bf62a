#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <string>

// A file the program reads (Level.txt, a picture, an input script), opened so that opening it
// can never block. Only a regular file is opened: a named pipe, a device, a directory or a
// socket, or a link to one, is refused before a byte is read, and so are the kernel's files of
// /proc and /sys (regular in name, but some never end or wait on the kernel) and the file that
// is this process's own standard output (the log would be read back as input). The kind is checked
// on the path first, so a device is never even opened, and again on the opened descriptor, so a
// path swapped for a pipe in between is still refused.
struct InputFile {
    std::FILE* file = nullptr; // open for reading; the caller closes it. Null when refused.
    struct stat status {};     // of the opened file
    std::string problem;       // why it is null: "a directory, not a regular file", strerror
    bool missing = false;      // the path names nothing at all
};

InputFile openInputFile(const std::string& path);

// Whether two statuses describe the same file: same device, same inode.
bool sameFile(const struct stat& a, const struct stat& b);

// What a file of this mode is, when it is not a regular one: "a named pipe, not a regular file".
std::string notARegularFile(mode_t mode);
