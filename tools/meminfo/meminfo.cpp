// yanra-meminfo: the memory of running programs as the system counts it, for
// the benchmarks.
//
//   yanra-meminfo.exe NAME...
//
// For every running process whose file name is one of the NAMEs, one line:
// "NAME PID WORKING_SET PRIVATE", in bytes: the working set and the private
// bytes (PagefileUsage) of GetProcessMemoryInfo. Exit status 1 when a NAME
// has no process, or a process cannot be asked.

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: yanra-meminfo NAME...\n", stderr);
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; i++) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "yanra-meminfo: no process list (error %lu)\n", GetLastError());
            return 1;
        }
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        bool found = false;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
            if (lstrcmpiA(entry.szExeFile, argv[i]) != 0) {
                continue;
            }
            found = true;
            HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID);
            PROCESS_MEMORY_COUNTERS counters = {};
            counters.cb = sizeof counters;
            if (process == nullptr || !GetProcessMemoryInfo(process, &counters, sizeof counters)) {
                std::fprintf(stderr, "yanra-meminfo: cannot ask %s (error %lu)\n", argv[i], GetLastError());
                status = 1;
            } else {
                std::printf("%s %lu %lu %lu\n", argv[i], entry.th32ProcessID,
                            static_cast<unsigned long>(counters.WorkingSetSize),
                            static_cast<unsigned long>(counters.PagefileUsage));
            }
            if (process != nullptr) {
                CloseHandle(process);
            }
        }
        CloseHandle(snapshot);
        if (!found) {
            std::fprintf(stderr, "yanra-meminfo: no process %s\n", argv[i]);
            status = 1;
        }
    }
    return status;
}
