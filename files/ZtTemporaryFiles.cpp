// Temporary names within the folder's limit, and the table of temporary files
// that a signal handler removes.

#include "ZtTemporaryFiles.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <thread>

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

std::size_t NameLimitOf(const std::string& folder)
{
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
}

// A slot of the table is claimed, filled, then marked ready; the handler
// removes only ready names, so it never reads a name being written.
enum TSlotState : int { ssFree, ssFilling, ssReady };

struct TSlot {
    std::atomic<int> State{ssFree};
    char Name[PATH_MAX] = {};
};

// The one piece of state of the whole program: a signal handler has nothing
// but static storage to find the files in flight by. A replacement names a
// file for a moment per thread, so a few dozen slots are plenty.
std::array<TSlot, 64> InFlight;

int ClaimSlot(const std::string& name)
{
    if (name.size() >= PATH_MAX) return -1;
    for (std::size_t i = 0; i < InFlight.size(); ++i) {
        int expected = ssFree;
        if (!InFlight[i].State.compare_exchange_strong(expected, ssFilling)) continue;
        std::memcpy(InFlight[i].Name, name.c_str(), name.size() + 1);
        InFlight[i].State.store(ssReady, std::memory_order_release);
        return static_cast<int>(i);
    }
    return -1;
}

// Only async-signal-safe calls: unlink, signal, raise.
extern "C" void RemoveInFlightAndEnd(int signalNumber)
{
    for (auto& slot : InFlight)
        if (slot.State.load(std::memory_order_acquire) == ssReady) ::unlink(slot.Name);
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

} // namespace

std::string TemporaryNameBeside(const std::string& fileName, int attempt)
{
    const std::size_t slash = fileName.rfind('/');
    const std::size_t baseStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t room = NameLimitOf(FolderOf(fileName)) - TemporaryMark.size() - TemporaryLetters;
    const std::size_t baseLength = std::min(fileName.size() - baseStart, room);
    std::string name = fileName.substr(0, baseStart + baseLength);
    name += TemporaryMark;
    constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::uint64_t value = TemporarySuffix(attempt);
    for (std::size_t i = 0; i < TemporaryLetters; ++i, value /= 36) name += Digits[value % 36];
    return name;
}

TTemporaryFileGuard::TTemporaryFileGuard(const std::string& name)
    : FSlot(ClaimSlot(name))
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
