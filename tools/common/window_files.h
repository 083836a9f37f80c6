// The files through which the test windows tell a test what they have: a
// marker that the window can take keys, and text replaced whole.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

// The marker that tells a test the window can take keys: the file at path
// (none when null), created once with the line "ready".
struct ReadyMarker {
    const char* path = nullptr;
    bool written = false;

    void Mark() {
        if (path == nullptr || written) {
            return;
        }
        written = true;
        if (std::FILE* ready = std::fopen(path, "wb")) {
            std::fputs("ready\n", ready);
            std::fclose(ready);
        }
    }
};

// Writes bytes beside path and moves them over it, so that a reader never
// sees half of the text. False (with the system's error code set) when
// either step fails.
inline bool ReplaceFileWhole(const std::string& path, const std::string& bytes) {
    const std::string next = path + ".new";
    bool written = false;
    if (std::FILE* file = std::fopen(next.c_str(), "wb")) {
        written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        written = std::fclose(file) == 0 && written;
    }
    return written && MoveFileExA(next.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}
