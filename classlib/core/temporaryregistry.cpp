#include "classlib/core/temporaryregistry.h"

#include <atomic>
#include <mutex>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

namespace {

constexpr int kTemporarySlots = 16;
constexpr std::size_t kTemporaryPathMax = 4096;
enum SlotState : int { SlotFree, SlotFilling, SlotLive };

struct TemporarySlot {
    std::atomic<int> state{SlotFree};
    TemporaryPathChar path[kTemporaryPathMax];
};

TemporarySlot temporarySlots[kTemporarySlots];
std::atomic<void (*)()> temporaryCreatedHook{nullptr};

int RegisterTemporary(std::basic_string_view<TemporaryPathChar> path) {
    if (path.size() >= kTemporaryPathMax) {
        return -1;
    }
    for (int i = 0; i < kTemporarySlots; ++i) {
        int expected = SlotFree;
        if (temporarySlots[i].state.compare_exchange_strong(expected, SlotFilling)) {
            path.copy(temporarySlots[i].path, path.size());
            temporarySlots[i].path[path.size()] = 0;
            temporarySlots[i].state.store(SlotLive);
            return i;
        }
    }
    return -1;
}

// Creates and registers; the caller holds off the handler meanwhile.
bool CreateAndRegister(std::basic_string_view<TemporaryPathChar> path,
                       const std::function<bool()>& create, int& slot) {
    slot = -1;
    if (!create()) {
        return false;
    }
    if (void (*hook)() = temporaryCreatedHook.load()) {
        hook();
    }
    slot = RegisterTemporary(path);
    return true;
}

#ifdef _WIN32

// Runs in a thread of its own while the program goes on: the files are opened
// with FILE_SHARE_DELETE, so each goes as soon as its writer lets go of it,
// at the latest as the process ends, which it does here with the system's
// code for an interrupted program (the default handler may end it with 0).
SRWLOCK creating = SRWLOCK_INIT;

BOOL WINAPI RemoveTemporariesAndEnd(DWORD /*event*/) {
    // A file being created is registered first (the handler has a thread of its own).
    AcquireSRWLockExclusive(&creating);
    for (TemporarySlot& slot : temporarySlots) {
        if (slot.state.load() == SlotLive) {
            DeleteFileW(slot.path);
        }
    }
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

void InstallTemporaryCleanup() {
    static std::once_flag once;
    std::call_once(once, [] { SetConsoleCtrlHandler(RemoveTemporariesAndEnd, TRUE); });
}

bool CreateHeldOff(std::basic_string_view<TemporaryPathChar> path,
                   const std::function<bool()>& create, int& slot) {
    AcquireSRWLockExclusive(&creating);
    const bool created = CreateAndRegister(path, create, slot);
    const DWORD error = GetLastError();  // the caller reports why creation failed
    ReleaseSRWLockExclusive(&creating);
    SetLastError(error);
    return created;
}

#else

extern "C" void RemoveTemporariesAndEnd(int signal) {
    for (TemporarySlot& slot : temporarySlots) {
        if (slot.state.load() == SlotLive) {
            ::unlink(slot.path);
        }
    }
    ::raise(signal);  // the default action is back (SA_RESETHAND): the process ends as asked
}

// Signals that are ignored or handled by someone else are left alone.
void InstallTemporaryCleanup() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) {
                continue;
            }
            struct sigaction action {};
            action.sa_handler = RemoveTemporariesAndEnd;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESETHAND | SA_NODEFER;
            ::sigaction(signal, &action, nullptr);
        }
    });
}

// The signals stay pending while the file is made and registered.
bool CreateHeldOff(std::basic_string_view<TemporaryPathChar> path,
                   const std::function<bool()>& create, int& slot) {
    sigset_t ending;
    sigemptyset(&ending);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&ending, signal);
    }
    sigset_t previous;
    ::pthread_sigmask(SIG_BLOCK, &ending, &previous);
    const bool created = CreateAndRegister(path, create, slot);
    const int error = errno;  // the caller reports why creation failed
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return created;
}

#endif

}  // namespace

bool CreateRegisteredTemporary(std::basic_string_view<TemporaryPathChar> path,
                               const std::function<bool()>& create, int& slot) {
    InstallTemporaryCleanup();
    return CreateHeldOff(path, create, slot);
}

void ForgetTemporary(int slot) {
    if (slot >= 0 && slot < kTemporarySlots) {
        temporarySlots[slot].state.store(SlotFree);
    }
}

void SetTemporaryCreatedHook(void (*hook)()) {
    temporaryCreatedHook.store(hook);
}
