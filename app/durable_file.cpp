#include "durable_file.h"

#ifdef _WIN32

#include <io.h>
#include <windows.h>

bool CommitFile(std::FILE* file) {
    return _commit(_fileno(file)) == 0;
}

bool ReplaceFileWith(const char* source, const char* target) {
    // Windows refuses to move over a read-only file, but Wine renames over it
    // as Unix would; refusing here keeps a file the user protected on both.
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
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
