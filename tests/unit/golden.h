// The golden keystroke tables: keys typed, and the trace lines yanra-sim
// must print for them.
#pragma once

#include <string>
#include <vector>

struct GoldenFile {
    const char* name;
    const char* text;
};

extern const GoldenFile GoldenFiles[];
extern const int GoldenFileCount;

struct GoldenCase {
    std::string where;  // file:line of the keys
    std::string keys;
    std::string expected;  // the trace lines, each ending in a newline
};

// A case is a line "> KEYS" followed by its expected lines, up to a blank
// line, a comment or the next case. KEYS is the rest of the line, exactly.
std::vector<GoldenCase> LoadGoldenCases();

#include <ostream>

// Names a case in test output by where it stands in the tables.
inline void PrintTo(const GoldenCase& golden, std::ostream* out) {
    *out << golden.where << " [" << golden.keys << "]";
}
