#pragma once

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <streambuf>
#include <string>
#include <system_error>

// What a tool needs around a world it builds as the game does: the game's folder as the
// working directory, and a console that takes the game's log lines without showing them.

// Standard output and error say nothing while it lives: the game's own log lines ("No alpha
// mask, ...") are not findings.
class MutedConsole {
public:
    MutedConsole() : out(std::cout.rdbuf(&nowhere)), err(std::cerr.rdbuf(&nowhere)) {}
    ~MutedConsole()
    {
        std::cout.rdbuf(out);
        std::cerr.rdbuf(err);
    }
    MutedConsole(const MutedConsole&) = delete;
    MutedConsole& operator=(const MutedConsole&) = delete;

private:
    class Nowhere : public std::streambuf {
    protected:
        int overflow(int byte) override { return byte == EOF ? 0 : byte; }
    };
    Nowhere nowhere;
    std::streambuf* out = nullptr;
    std::streambuf* err = nullptr;
};

// Works in the game's folder while it lives, as the game does.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : previous(std::filesystem::current_path())
    {
        if (!folder.empty()) {
            std::filesystem::current_path(folder, problem);
        }
    }
    ~InFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
    }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

    std::error_code problem; // set when the folder cannot be entered

private:
    std::filesystem::path previous;
};
