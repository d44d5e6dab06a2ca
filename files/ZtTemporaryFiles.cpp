// Temporary names within the folder's limit, and the table of temporary files
// that a signal handler removes.

#include "ZtTemporaryFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "ZtFileTarget.h"

namespace quorvex {
namespace {

constexpr std::string_view TemporaryMark = ".tmp-";
constexpr std::size_t TemporaryLetters = 8;

// The names need not be hard to guess (the file is created with O_EXCL,
// which refuses any that exists, a planted link too); they only have to
// differ between threads and attempts. The clock is far cheaper than a random
// device opened per file.
std::uint64_t TemporarySuffix(int attempt)
{
    std::uint64_t value =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    value ^= std::hash<std::thread::id>{}(std::this_thread::get_id()) + 0x9E3779B97F4A7C15u * (attempt + 1);
    // The finaliser of splitmix64 spreads every input bit over the digits.
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
    return value ^ (value >> 31);
}

std::size_t NameLimitOf(long limit)
{
    return limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
}

constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";

// `base` cut to fit `limit` with the mark and the letters, then them.
std::string TemporaryName(std::string_view base, std::size_t limit, int attempt)
{
    const std::size_t room = limit - TemporaryMark.size() - TemporaryLetters;
    std::string name(base.substr(0, room));
    name += TemporaryMark;
    std::uint64_t value = TemporarySuffix(attempt);
    for (std::size_t i = 0; i < TemporaryLetters; ++i, value /= 36) name += Digits[value % 36];
    return name;
}

// A slot of the table is claimed, filled, then marked ready; the handler
// removes only ready names, so it never reads a name being written.
enum TSlotState : int { ssFree, ssFilling, ssReady };

struct TSlot {
    std::atomic<int> State{ssFree};
    int Folder = AT_FDCWD; // the name counts from this folder
    char Name[PATH_MAX] = {};
};

// The one piece of state of the whole program: a signal handler has nothing
// but static storage to find the files in flight by. A replacement names a
// file for a moment per thread, so a few dozen slots are plenty.
std::array<TSlot, 64> InFlight;

int ClaimSlot(int folder, const std::string& name)
{
    if (name.size() >= PATH_MAX) return -1;
    for (std::size_t i = 0; i < InFlight.size(); ++i) {
        int expected = ssFree;
        if (!InFlight[i].State.compare_exchange_strong(expected, ssFilling)) continue;
        InFlight[i].Folder = folder;
        std::memcpy(InFlight[i].Name, name.c_str(), name.size() + 1);
        InFlight[i].State.store(ssReady, std::memory_order_release);
        return static_cast<int>(i);
    }
    return -1;
}

// Only async-signal-safe calls: unlinkat, signal, raise.
extern "C" void RemoveInFlightAndEnd(int signalNumber)
{
    for (auto& slot : InFlight)
        if (slot.State.load(std::memory_order_acquire) == ssReady) ::unlinkat(slot.Folder, slot.Name, 0);
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

} // namespace

std::string TemporaryNameBeside(const std::string& fileName, int attempt)
{
    const std::size_t slash = fileName.rfind('/');
    const std::size_t baseStart = slash == std::string::npos ? 0 : slash + 1;
    const long limit = ::pathconf(FolderOf(fileName).c_str(), _PC_NAME_MAX);
    return fileName.substr(0, baseStart) +
        TemporaryName(std::string_view(fileName).substr(baseStart), NameLimitOf(limit), attempt);
}

std::string TemporaryEntryName(int folder, const std::string& entry, int attempt)
{
    return TemporaryName(entry, NameLimitOf(::fpathconf(folder, _PC_NAME_MAX)), attempt);
}

bool IsTemporaryName(std::string_view entry)
{
    const std::size_t tail = TemporaryMark.size() + TemporaryLetters;
    if (entry.size() <= tail || entry.substr(entry.size() - tail, TemporaryMark.size()) != TemporaryMark)
        return false;
    const std::string_view letters = entry.substr(entry.size() - TemporaryLetters);
    return std::all_of(letters.begin(), letters.end(),
        [](char c) { return std::string_view(Digits).find(c) != std::string_view::npos; });
}

void RemoveLeftovers(int folder, const TProtectedFile& isProtected)
{
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return;
    DIR* entries = ::fdopendir(listing);
    if (entries == nullptr) {
        ::close(listing);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(entries))
        if (IsTemporaryName(entry->d_name)) names.emplace_back(entry->d_name);
    ::closedir(entries);
    for (const std::string& name : names) {
        const int fd =
            ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info { };
        struct stat now { };
        // The lock is kept until the file is gone, so that no writer that
        // starts meanwhile can take the name for a file of its own.
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            !(isProtected && isProtected(fd, name)) &&
            ::fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_ino == info.st_ino &&
            now.st_dev == info.st_dev)
            ::unlinkat(folder, name.c_str(), 0);
        ::close(fd);
    }
}

void TZtLeftoverSweep::Sweep(int folder)
{
    struct stat info { };
    if (::fstat(folder, &info) != 0) return;
    {
        const std::lock_guard<std::mutex> lock(FMutex);
        if (!FSwept.emplace(info.st_dev, info.st_ino).second) return;
    }
    RemoveLeftovers(folder, FProtected);
}

TTemporaryFileGuard::TTemporaryFileGuard(const std::string& name)
    : FSlot(ClaimSlot(AT_FDCWD, name))
{ }

TTemporaryFileGuard::TTemporaryFileGuard(int folder, const std::string& entry)
    : FSlot(ClaimSlot(folder, entry))
{ }

TTemporaryFileGuard::~TTemporaryFileGuard()
{
    if (FSlot >= 0) InFlight[static_cast<std::size_t>(FSlot)].State.store(ssFree, std::memory_order_release);
}

void InstallTemporaryFileCleanup()
{
    struct sigaction action { };
    action.sa_handler = RemoveInFlightAndEnd;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        // A signal the program was started to ignore stays ignored, as a
        // program run under nohup expects.
        struct sigaction before { };
        if (::sigaction(signalNumber, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        sigaddset(&action.sa_mask, signalNumber);
    }
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        if (sigismember(&action.sa_mask, signalNumber)) ::sigaction(signalNumber, &action, nullptr);
}

} // namespace quorvex
