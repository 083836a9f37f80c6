// Writes the seed corpora of the fuzz targets: scripts/fuzz --seeds runs it
// and the results are kept in tests/fuzz/corpus/. The engine's and the KEYS
// seeds are typing of the golden tables and of the passage, plus cases
// written here; the settings seeds are files of the kinds the reader meets.
//
//   make_seeds GOLDEN_FOLDER PASSAGE_FILE CORPUS_FOLDER

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <dirent.h>

#include "keys.h"
#include "keystrokes.h"

namespace {

bool Write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// The engine fuzzer's events for KEYS: every event with its own key code,
// message and flags. ops are inserted before the event at their index.
std::string EngineSeed(unsigned char setup, const std::string& keys) {
    const KeystrokeParse parse = ParseKeystrokes(keys);
    std::string bytes(1, static_cast<char>(setup));
    for (const UserKey& key : parse.keys) {
        unsigned kind = 4 | 8;  // the key byte and the flags byte as they are
        kind |= key.up ? 1 : 0;
        kind |= key.message == MsgSysKeyDown || key.message == MsgSysKeyUp ? 2 : 0;
        bytes += static_cast<char>(kind);
        bytes += static_cast<char>(key.vk);
        bytes += static_cast<char>(key.flags);
    }
    return bytes;
}

std::string Op(unsigned op, unsigned key = 0) {
    return {static_cast<char>(0xF0 | op), static_cast<char>(key), 0};
}

std::vector<std::string> GoldenKeys(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0) {
                names.push_back(name);
            }
        }
        closedir(dir);
    }
    std::vector<std::string> keys;
    for (const std::string& name : names) {
        std::ifstream in(folder + "/" + name);
        std::string line;
        while (std::getline(in, line)) {
            if (line.compare(0, 2, "> ") == 0) {
                keys.push_back(line.substr(2));
            }
        }
    }
    return keys;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: make_seeds GOLDEN_FOLDER PASSAGE_FILE CORPUS_FOLDER\n", stderr);
        return 2;
    }
    const std::string corpus = argv[3];
    std::vector<std::string> keys = GoldenKeys(argv[1]);
    {
        std::ifstream in(argv[2]);
        std::stringstream passage;
        passage << in.rdbuf();
        // The passage's first lines: long enough for real syllables, short
        // enough for fast runs.
        keys.push_back(passage.str().substr(0, 400));
    }
    const char* written[] = {
        "bsgrubs k+Sh {LSHIFT down}II::{LSHIFT up}*&Q MT brgyad",
        "{RSHIFT down};8dim{RSHIFT up}k{RSHIFT down}k{RSHIFT up}+{RSHIFT down}s{RSHIFT up}",
        "{LSHIFT down}{RSHIFT down};{LSHIFT up}k{RSHIFT up}{ALT down}:{ALT up}",
        "kaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa{BS}{BS}i{CAPS}abc{CAPS}pad+ma",
        "{LCTRL down}{CAPS}{LCTRL up}{RCTRL down}k{RCTRL up}{NUM1}{F1}{TAB}{ESC}{LEFT}{KP_LEFT}{ENTER}",
    };
    for (const char* text : written) {
        keys.push_back(text);
    }
    int failures = 0;
    int count = 0;
    for (const std::string& text : keys) {
        if (!ParseKeystrokes(text).error.empty()) {
            continue;
        }
        char name[64];
        // Each text once after the hook and once nested, on a layout of its own.
        for (unsigned setup = 0; setup < 2; setup++) {
            const unsigned char byte = static_cast<unsigned char>(setup | (static_cast<unsigned>(count % 3) << 1));
            std::snprintf(name, sizeof name, "/engine/typed-%03d-%u", count, setup);
            failures += Write(corpus + name, EngineSeed(byte, text)) ? 0 : 1;
        }
        std::snprintf(name, sizeof name, "/keys/typed-%03d", count);
        failures += Write(corpus + name, std::string(1, static_cast<char>(count % 6)) + text) ? 0 : 1;
        count++;
    }
    // Switches between windows: one that drops our keys, other layouts, the
    // icon clicked, between keys held down.
    const std::string k = EngineSeed(0, "k").substr(1);
    const std::string shiftedSemicolon = EngineSeed(0, "{RSHIFT down};").substr(1);
    const std::string rightShiftUp = EngineSeed(0, "{RSHIFT up}").substr(1);
    const std::string switches[] = {
        std::string(1, '\0') + k + Op(6) + k + EngineSeed(0, "kha{BS}").substr(1) + Op(6) + k,
        std::string(1, '\1') + shiftedSemicolon + Op(6) + rightShiftUp + Op(6) + k,
        std::string(1, '\0') + k + Op(10, 1) + k + Op(10, 2) + EngineSeed(0, "{LSHIFT down}8{LSHIFT up}").substr(1),
        std::string(1, '\3') + k + Op(0) + k + Op(0) + k,
    };
    int index = 0;
    for (const std::string& seed : switches) {
        failures += Write(corpus + "/engine/switch-" + std::to_string(index++), seed) ? 0 : 1;
    }
    // KEYS that are refused.
    const char* refused[] = {"ka{BS", "k{NOPE}a", "k\x01", "\xe0\xbd\x80", "{LSHIFT sideways}", "{F13}", "{NUM5}"};
    index = 0;
    for (const char* text : refused) {
        failures += Write(corpus + "/keys/refused-" + std::to_string(index), std::string(1, static_cast<char>(index % 6)) + text) ? 0 : 1;
        index++;
    }
    const std::string settings[] = {
        "[Yanra startup parameters]\r\n0  // start Yanra with main window hidden (1) or shown (0)\r\n"
        "1  // hide Yanra main window after start (1) or don't hide at all (0)\r\n5  // autohide delay in seconds\r\n"
        "\r\nWARNING! Do not edit this file manually unless you are sure what you are doing!\r\n",
        "[Yanra startup parameters]\n1\n0\n30\n",
        "heading\n\n\n  7 x\n\t-1\n+4294967295",
        "heading\n4294967296\n1\n2\n",
        "heading\nx\n1\n2\n",
        "heading\r1\r2\r3\r",
        std::string(149, 'h') + "\n1\n" + std::string(149, 'c') + "\n2\n3",
        std::string(150, 'h') + "\n1\n2\n3\n",
        "h\n1 " + std::string(150, 'c') + "\n2\n3\n",
        "h\n-\n1\n",
        std::string("h\n1\0\n2\n", 7),
    };
    index = 0;
    for (const std::string& file : settings) {
        failures += Write(corpus + "/settings/file-" + std::to_string(index++), file) ? 0 : 1;
    }
    std::printf("make_seeds: %d texts typed, %d settings files\n", count, index);
    return failures == 0 ? 0 : 1;
}
