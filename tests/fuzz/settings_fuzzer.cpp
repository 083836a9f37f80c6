// LoadSettings on random files. It must never read out of bounds (the
// sanitizers watch that), and it must end with values that it read or the
// defaults: the values are checked against a plain reading of the same
// bytes with the standard library's streams, the way the file format is
// defined (line ends folded as text mode folds CR LF; a heading of at most
// 149 characters; each number read as an unsigned, "-" negating it; the rest
// of its line discarded, at most 149 characters; the first failure ends the
// reading), and each value must be a default or a number in the file.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "settings.h"

namespace {

constexpr unsigned Defaults[3] = {0, 1, 5};

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "settings check failed: %s (read %u %u %u)\n", what, StartHidden, AutoHide, AutoHideDelay);
    std::abort();
}

// The three values as the streams read them.
void StreamReading(const std::string& bytes, unsigned values[3]) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i++) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            continue;
        }
        text += bytes[i];
    }
    std::istringstream in(text);
    char line[150];
    if (!in.getline(line, sizeof line)) {
        return;
    }
    for (int i = 0; i < 3; i++) {
        unsigned value = 0;
        if (!(in >> value)) {
            return;
        }
        values[i] = value;
        if (!in.getline(line, sizeof line)) {
            return;
        }
    }
}

// Every number in the file, as read with its sign.
std::vector<unsigned> NumbersIn(const std::string& bytes) {
    std::vector<unsigned> numbers;
    for (std::size_t i = 0; i < bytes.size(); i++) {
        if (bytes[i] < '0' || bytes[i] > '9' || (i > 0 && bytes[i - 1] >= '0' && bytes[i - 1] <= '9')) {
            continue;
        }
        unsigned long long value = 0;
        for (std::size_t j = i; j < bytes.size() && bytes[j] >= '0' && bytes[j] <= '9' && value <= 0xFFFFFFFFull; j++) {
            value = value * 10 + static_cast<unsigned>(bytes[j] - '0');
        }
        if (value <= 0xFFFFFFFFull) {
            const unsigned number = static_cast<unsigned>(value);
            numbers.push_back(number);
            numbers.push_back(0u - number);
        }
    }
    return numbers;
}

unsigned long long Files = 0;
std::string Folder;

void PrintCountAndClean() {
    std::printf("settings files: %llu\n", Files);
    std::remove(SettingsFileName);
    if (chdir("/") == 0) {
        rmdir(Folder.c_str());
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The file is read from the working directory: a private one.
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern = std::string(temporary != nullptr && *temporary != '\0' ? temporary : "/tmp") +
                          "/yanra-settings-fuzz.XXXXXX";
    std::vector<char> folder(pattern.begin(), pattern.end());
    folder.push_back('\0');
    if (mkdtemp(folder.data()) == nullptr || chdir(folder.data()) != 0) {
        std::perror("settings fuzzer: cannot make its folder");
        std::exit(1);
    }
    Folder = folder.data();
    std::atexit(PrintCountAndClean);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Files++;
    StartHidden = Defaults[0];
    AutoHide = Defaults[1];
    AutoHideDelay = Defaults[2];
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // An empty input stands for no file at all.
    std::remove(SettingsFileName);
    if (size > 0) {
        std::FILE* file = std::fopen(SettingsFileName, "wb");
        if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
            std::perror("settings fuzzer: cannot write the file");
            std::exit(1);
        }
    }
    const bool opened = LoadSettings();
    if (opened != (size > 0)) {
        Fail(size > 0 ? "the file was not opened" : "a missing file was opened");
    }
    const unsigned read[3] = {StartHidden, AutoHide, AutoHideDelay};
    unsigned expected[3] = {Defaults[0], Defaults[1], Defaults[2]};
    StreamReading(bytes, expected);
    const std::vector<unsigned> numbers = NumbersIn(bytes);
    for (int i = 0; i < 3; i++) {
        bool found = read[i] == Defaults[i];
        for (unsigned number : numbers) {
            found = found || number == read[i];
        }
        if (!found) {
            Fail("a value neither read from the file nor a default");
        }
        if (read[i] != expected[i]) {
            std::fprintf(stderr, "value %d: %u, the streams read %u\n", i + 1, read[i], expected[i]);
            Fail("the values differ from the file's reading");
        }
    }
    return 0;
}
