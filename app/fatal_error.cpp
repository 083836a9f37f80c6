#include "fatal_error.h"

#include <windows.h>

#include "error_text.h"

void ReportFatalError(const char* message) {
    // Before any other call: each of them may overwrite it.
    const DWORD code = GetLastError();
    char* systemText = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&systemText),
                   0, nullptr);
    char box[500];
    ComposeErrorText(box, sizeof box, message, code, systemText);
    MessageBoxA(nullptr, box, "Yanra Fatal", MB_OK | MB_ICONWARNING);
    LocalFree(systemText);
}
