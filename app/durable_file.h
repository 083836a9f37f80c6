// What the settings writer needs from the platform to replace a file without
// ever leaving it half written.
#pragma once

#include <cstdio>

// Forces what was written to file out of the system's caches onto the disk.
bool CommitFile(std::FILE* file);

// Puts source in the place of target in one step; on failure target stays as
// it was. A read-only or locked target fails on Windows.
bool ReplaceFileWith(const char* source, const char* target);

// Removes a file that is no longer wanted, keeping the error code that made
// the caller give up on it.
void DiscardFile(const char* path);
