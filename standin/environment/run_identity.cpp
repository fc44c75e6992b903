#include "standin/environment/run_identity.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace standin {

namespace {

bool start_time(HANDLE process, FILETIME& started) {
    FILETIME exited, kernel, user;
    return GetProcessTimes(process, &started, &exited, &kernel, &user) != 0;
}

std::string run_name_of(DWORD process_id, const FILETIME& started) {
    char name[48];
    std::snprintf(name, sizeof name, "%lu-%08lX%08lX", static_cast<unsigned long>(process_id),
                  static_cast<unsigned long>(started.dwHighDateTime),
                  static_cast<unsigned long>(started.dwLowDateTime));
    return name;
}

}  // namespace

std::string this_run_name() {
    FILETIME started;
    if (!start_time(GetCurrentProcess(), started))
        throw std::runtime_error("cannot read this process's start time (error " +
                                 std::to_string(GetLastError()) + ")");
    return run_name_of(GetCurrentProcessId(), started);
}

bool is_run_name(const std::string& text) {
    const size_t dash = text.find('-');
    constexpr size_t time_digits = 16;
    return dash != std::string::npos && dash > 0 &&
           text.find_first_not_of("0123456789") == dash && text.size() == dash + 1 + time_digits &&
           text.find_first_not_of("0123456789ABCDEF", dash + 1) == std::string::npos;
}

bool run_going(const std::string& name) {
    const DWORD process_id = std::strtoul(name.c_str(), nullptr, 10);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    FILETIME started;
    DWORD exit_code = 0;
    const bool going = start_time(process, started) && GetExitCodeProcess(process, &exit_code) &&
                       exit_code == STILL_ACTIVE && run_name_of(process_id, started) == name;
    CloseHandle(process);
    return going;
}

}  // namespace standin
