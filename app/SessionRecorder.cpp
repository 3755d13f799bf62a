#include "app/SessionRecorder.h"

#include "app/InputNames.h"
#include "app/KeyNumbers.h"
#include "app/MainLoop.h"
#include "app/SessionHeader.h"
#include "level/InputFile.h"
#include "world/Game.h"
#include "world/WorldState.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

SessionRecorder* activeRecorder = nullptr;

std::string utcNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

// Whether writing to `fileName` would overwrite one of the files the world was read from.
bool isAnInput(const std::string& fileName, const Game& world)
{
    std::error_code error;
    if (std::filesystem::equivalent(fileName, "Level.txt", error)) {
        return true;
    }
    for (const std::string& picture : world.renderer.pictureFiles) {
        if (std::filesystem::equivalent(fileName, picture, error)) {
            return true;
        }
    }
    return false;
}

// Opens the file for writing, created or emptied, without waiting: a named pipe that nobody
// reads fails at once. Null, with errno, when it cannot be opened; null with errno 0 when it is
// the game's own standard output, whose log must stay as it is (it is only emptied once that
// is known).
std::FILE* openForWriting(const std::string& fileName)
{
    const int descriptor =
        open(fileName.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat opened {};
    struct stat log {};
    if (fstat(descriptor, &opened) == 0 && fstat(STDOUT_FILENO, &log) == 0 &&
        sameFile(opened, log)) {
        close(descriptor);
        errno = 0;
        return nullptr;
    }
    if (S_ISREG(opened.st_mode) && ftruncate(descriptor, 0) != 0) {
        close(descriptor);
        return nullptr;
    }
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = fdopen(descriptor, "wb");
    if (file == nullptr) {
        close(descriptor);
    }
    return file;
}

// " down " or " up ": how a key event's line names it.
const char* keyAction(const SDL_Event& event)
{
    return event.type == SDL_KEYDOWN ? " down " : " up ";
}

} // namespace

SessionRecorder::SessionRecorder(const std::string& fileName, Game& recorded)
    : world(recorded), name(fileName)
{
    if (isAnInput(name, world)) {
        std::cerr << "quillfen: not recording: " << name
                  << " is one of the game's own files; playing on" << std::endl;
        return;
    }
    file = openForWriting(name);
    if (file == nullptr) {
        std::cerr << "quillfen: cannot record the session to " << name << ": "
                  << (errno == 0 ? "it is the game's log" : std::strerror(errno)) << "; playing on"
                  << std::endl;
        return;
    }
    activeRecorder = this;
    writeLine(sessionHeaderText(describeSession(world, utcNow())));
    checkpoint();
    flush();
}

SessionRecorder::~SessionRecorder() { finish("the game stopped"); }

void SessionRecorder::finish(const std::string& why)
{
    if (file == nullptr) {
        return;
    }
    checkpointTheLastStep();
    writeLine("# end: " + why + "\n");
    flush();
    std::FILE* finished = file;
    file = nullptr;
    if (finished != nullptr && std::fclose(finished) != 0) {
        stop("cannot be finished");
    }
    activeRecorder = nullptr;
}

void SessionRecorder::cutShort(const std::string& why)
{
    if (file == nullptr) {
        return;
    }
    checkpointTheLastStep();
    SDL_Event close{};
    close.type = SDL_QUIT;
    eventPolled(close);
    finish(why);
}

void SessionRecorder::eventPolled(const SDL_Event& event)
{
    const std::string step = std::to_string(stepsRun + 1);
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        writeLine(step + keyAction(event) +
                  nameOrNumber(kKeyNames, std::size(kKeyNames), keyNumberOf(event)) + "\n");
        break;
    case SDL_MOUSEBUTTONDOWN:
        writeLine(step + " click " +
                  nameOrNumber(kButtonNames, std::size(kButtonNames), event.button.button) + " " +
                  std::to_string(event.button.x) + " " + std::to_string(event.button.y) + "\n");
        break;
    case SDL_QUIT: writeLine(step + " quit\n"); break;
    default: break;
    }
}

void SessionRecorder::stepStarting() { stepUnderway = true; }

void SessionRecorder::keyWithoutNumber(const SDL_Event& event, const std::string& name)
{
    writeLine("# " + std::to_string(stepsRun + 1) + keyAction(event) + name +
              ": no SDL 1.2 key number\n");
}

void SessionRecorder::stepRan()
{
    stepUnderway = false;
    stepsRun += 1;
    if (stepsRun % kCheckpointPeriod == 0 || world.player.hp <= 0 || avatarHasWon(world)) {
        checkpoint();
    }
    flush();
}

void SessionRecorder::writeLine(const std::string& line)
{
    if (file == nullptr) {
        return;
    }
    if (std::fputs(line.c_str(), file) == EOF) {
        stop("stopped");
        return;
    }
    unflushed = true;
}

void SessionRecorder::checkpoint()
{
    writeLine(std::to_string(stepsRun) + " check " + hashText(worldStateHash(stepsRun, world)) +
              "\n");
    lastCheckpoint = stepsRun;
}

void SessionRecorder::checkpointTheLastStep()
{
    if (lastCheckpoint != stepsRun && !stepUnderway) {
        checkpoint();
    }
}

void SessionRecorder::flush()
{
    if (file != nullptr && unflushed && std::fflush(file) != 0) {
        stop("stopped");
    }
    unflushed = false;
}

// A write that fails ends the recording with one line on standard error; the game plays on.
void SessionRecorder::stop(const char* what)
{
    std::cerr << "quillfen: the recording " << name << " " << what << ": " << std::strerror(errno)
              << "; playing on" << std::endl;
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
    activeRecorder = nullptr;
}

std::unique_ptr<SessionRecorder> recordIfAsked(Game& world)
{
    const char* fileName = std::getenv("QUILLFEN_RECORD");
    if (fileName == nullptr || fileName[0] == '\0') {
        return nullptr;
    }
    return std::make_unique<SessionRecorder>(fileName, world);
}

void recordPolledEvent(const SDL_Event& event)
{
    if (activeRecorder != nullptr) {
        activeRecorder->eventPolled(event);
    }
}

void recordStepStarting()
{
    if (activeRecorder != nullptr) {
        activeRecorder->stepStarting();
    }
}

void recordKeyWithoutNumber(const SDL_Event& event, const std::string& name)
{
    if (activeRecorder != nullptr) {
        activeRecorder->keyWithoutNumber(event, name);
    }
}

void recordStepRan()
{
    if (activeRecorder != nullptr) {
        activeRecorder->stepRan();
    }
}

void recordEnd(const std::string& why)
{
    if (activeRecorder != nullptr) {
        activeRecorder->finish(why);
    }
}

void recordLostDisplay()
{
    if (activeRecorder != nullptr) {
        activeRecorder->cutShort("the display went away");
    }
}
