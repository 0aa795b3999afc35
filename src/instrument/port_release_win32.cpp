#include "instrument/port_release.h"

#include "common/file_io_win32.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>

namespace r470 {

namespace {

std::mutex gMutex;
std::set<int> gHeld;
std::string gLine;
bool gOnlyWhenHeld = false;

// Runs on a thread of its own that the system starts for the console event.
BOOL WINAPI OnConsoleStop(DWORD event) {
    HoldFileWritesForExit(); // a file being written is finished first
    bool held = ReleaseHeldPorts() > 0;
    if (!gOnlyWhenHeld || held) {
        DWORD n = 0;
        ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), gLine.data(),
                    static_cast<DWORD>(gLine.size()), &n, nullptr);
    }
    // 128 plus SIGINT, as a shell reports Ctrl+C; a closed console is a hang-up.
    bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    ::ExitProcess(interrupt ? 130 : 129);
    return TRUE;
}

} // namespace

void NoteHeldPort(int fd) {
    std::lock_guard<std::mutex> lock(gMutex);
    gHeld.insert(fd);
}

void NoteLockFile(int, const std::string&) {}

void ForgetHeldPort(int fd) {
    std::lock_guard<std::mutex> lock(gMutex);
    gHeld.erase(fd);
}

// The handles themselves close as the process ends; here they are only counted.
int ReleaseHeldPorts() {
    std::lock_guard<std::mutex> lock(gMutex);
    int n = static_cast<int>(gHeld.size());
    gHeld.clear();
    return n;
}

void ReleasePortsOnSignals(const std::string& cancelledLine, bool onlyWhenHeld) {
    gLine = cancelledLine;
    gOnlyWhenHeld = onlyWhenHeld;
    ::SetConsoleCtrlHandler(OnConsoleStop, TRUE);
}

} // namespace r470
