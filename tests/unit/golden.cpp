#include "golden.h"

#include <sstream>

std::vector<GoldenCase> LoadGoldenCases() {
    std::vector<GoldenCase> cases;
    for (int f = 0; f < GoldenFileCount; f++) {
        std::istringstream in(GoldenFiles[f].text);
        std::string line;
        int number = 0;
        bool open = false;
        while (std::getline(in, line)) {
            number++;
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (line.rfind("> ", 0) == 0) {
                cases.push_back({std::string(GoldenFiles[f].name) + ":" + std::to_string(number), line.substr(2), ""});
                open = true;
            } else if (line.empty() || line[0] == '#') {
                open = false;
            } else if (open) {
                cases.back().expected += line + "\n";
            }
        }
    }
    return cases;
}
