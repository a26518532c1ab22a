#pragma once

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace pelagrin::testing {

// The typical dive, 100 fsw on 32 % nitrox, as the diver sees it: the eight captions Calculate
// writes, in the order it writes them, and the record Print appends. Kept once, in
// tests/support/dive-100-32/, which the window tests read too.
inline std::string Dive100Over32File(const char* name) {
    std::ifstream file(std::string(PELAGRIN_TEST_DATA) + "/dive-100-32/" + name, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(file), {}};
    if (!file || bytes.empty()) {
        throw std::runtime_error(std::string("no test data ") + name);
    }
    return bytes;
}

inline std::string Record100Over32() {
    return Dive100Over32File("record.txt");
}

inline std::vector<std::string> Captions100Over32() {
    std::istringstream lines(Dive100Over32File("captions.txt"));
    std::vector<std::string> captions;
    for (std::string line; std::getline(lines, line);) {
        captions.push_back(line);
    }
    return captions;
}

}  // namespace pelagrin::testing
