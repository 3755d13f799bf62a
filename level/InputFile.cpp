#include "level/InputFile.h"

#include <fcntl.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

// The kernel's own file systems, by the numbers Linux gives them (the browser build's C
// library has no <linux/magic.h>): proc, sysfs, debugfs, tracefs, securityfs, cgroup2.
constexpr uint32_t kProcSuperMagic = 0x9fa0;
constexpr uint32_t kSysfsMagic = 0x62656572;
constexpr uint32_t kDebugfsMagic = 0x64626720;
constexpr uint32_t kTracefsMagic = 0x74726163;
constexpr uint32_t kSecurityfsMagic = 0x73636673;
constexpr uint32_t kCgroup2SuperMagic = 0x63677270;

// The kernel's own files (/proc, /sys and the like) call themselves regular with a size of 0,
// yet some of them never end (/proc/self/pagemap) or wait for the kernel (/proc/kmsg).
bool isKernelFile(int descriptor)
{
    struct statfs system {};
    if (::fstatfs(descriptor, &system) != 0) {
        return false;
    }
    switch (static_cast<uint32_t>(system.f_type)) {
    case kProcSuperMagic:
    case kSysfsMagic:
    case kDebugfsMagic:
    case kTracefsMagic:
    case kSecurityfsMagic:
    case kCgroup2SuperMagic: return true;
    default: return false;
    }
}

bool isStandardOutput(const struct stat& status)
{
    struct stat output {};
    return ::fstat(STDOUT_FILENO, &output) == 0 && sameFile(status, output);
}

// Why the opened descriptor must not be read, or "".
std::string refusalOf(int descriptor, struct stat& status)
{
    if (::fstat(descriptor, &status) != 0) {
        return std::strerror(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return notARegularFile(status.st_mode);
    }
    if (isKernelFile(descriptor)) {
        return "a file of the kernel (/proc, /sys), not a regular file";
    }
    if (isStandardOutput(status)) {
        return "the program's own standard output, where its log goes";
    }
    return "";
}

} // namespace

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string notARegularFile(mode_t mode)
{
    const char* kind = "a special file";
    if (S_ISDIR(mode)) {
        kind = "a directory";
    } else if (S_ISFIFO(mode)) {
        kind = "a named pipe";
    } else if (S_ISCHR(mode)) {
        kind = "a character device";
    } else if (S_ISBLK(mode)) {
        kind = "a block device";
    } else if (S_ISSOCK(mode)) {
        kind = "a socket";
    }
    return std::string(kind) + ", not a regular file";
}

InputFile openInputFile(const std::string& path)
{
    InputFile input;
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) {
        input.missing = errno == ENOENT;
        input.problem = std::strerror(errno);
        return input;
    }
    if (!S_ISREG(named.st_mode)) {
        input.problem = notARegularFile(named.st_mode);
        return input;
    }
    // Should the path have become a named pipe since, this open returns at once all the same.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        input.problem = std::strerror(errno);
        return input;
    }
    input.problem = refusalOf(descriptor, input.status);
    if (input.problem.empty()) {
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
        input.file = ::fdopen(descriptor, "rb");
        if (input.file == nullptr) {
            input.problem = std::strerror(errno);
        }
    }
    if (input.file == nullptr) {
        ::close(descriptor);
    }
    return input;
}
