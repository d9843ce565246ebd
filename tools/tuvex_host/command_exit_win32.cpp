#include "command_exit_win32.h"

#include <tlhelp32.h>

#include "settings_doctor.h"

namespace tuvex::host {

namespace {

// The processes whose parent is this program.
std::set<DWORD> ChildrenOfThisProcess()
{
    std::set<DWORD> children;
    const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID == GetCurrentProcessId()) {
            children.insert(entry.th32ProcessID);
        }
    }
    return children;
}

constexpr DWORD kLookIntervalMs = 2;

}  // namespace

CommandExitWatch::CommandExitWatch()
    : before_(ChildrenOfThisProcess()), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_([this] { Watch(); })
{
}

CommandExitWatch::~CommandExitWatch()
{
    Finish();
}

void CommandExitWatch::Watch()
{
    do {
        for (DWORD id : ChildrenOfThisProcess()) {
            if (before_.count(id) == 0) {
                command_.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
                commandId_ = id;
                return;
            }
        }
    } while (WaitForSingleObject(stop_.get(), kLookIntervalMs) == WAIT_TIMEOUT);
}

std::optional<std::string> CommandExitWatch::Finish()
{
    if (thread_.joinable()) {
        SetEvent(stop_.get());
        thread_.join();
    }
    if (!command_) {
        return std::nullopt;
    }
    DWORD exitCode = 0;
    if (WaitForSingleObject(command_.get(), 0) != WAIT_OBJECT_0 || !GetExitCodeProcess(command_.get(), &exitCode)) {
        return "the command still runs (PID " + std::to_string(commandId_) + ")";
    }
    return ExitCodeLine(exitCode);
}

}  // namespace tuvex::host
