#include "durable_file.h"

#ifdef _WIN32

#include <io.h>
#include <windows.h>

bool CommitFile(std::FILE* file) {
    return _commit(_fileno(file)) == 0;
}

bool ReplaceFileWith(const char* source, const char* target) {
    // The C library's rename refuses an existing target on Windows.
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void DiscardFile(const char* path) {
    const DWORD error = GetLastError();
    DeleteFileA(path);
    SetLastError(error);
}

#else

#include <unistd.h>

bool CommitFile(std::FILE* file) {
    return fsync(fileno(file)) == 0;
}

bool ReplaceFileWith(const char* source, const char* target) {
    return std::rename(source, target) == 0;
}

void DiscardFile(const char* path) {
    std::remove(path);
}

#endif
