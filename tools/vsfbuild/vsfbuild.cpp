// vsfbuild SOURCE OUTPUT [MAGIC]: turns a message source file into a catalogue file.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "common/catalog/catalogbuild.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: vsfbuild SOURCE OUTPUT [MAGIC]\n";
        return 2;
    }
    const std::string source = argv[1];
    const std::string output = argv[2];
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::cerr << source << ": cannot open\n";
        return 2;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<uint8_t> bytes;
    std::string error;
    bool built = argc == 4 ? lx::BuildCatalogue(text.str(), bytes, error, argv[3])
                           : lx::BuildCatalogue(text.str(), bytes, error);
    if (!built) {
        std::istringstream lines(error);
        for (std::string line; std::getline(lines, line);)
            std::cerr << source << ": " << line << "\n";
        return 1;
    }
    // Written beside the target and renamed, so a failed run never leaves half a catalogue.
    const std::string partial = output + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::cerr << partial << ": cannot write\n";
            std::remove(partial.c_str());
            return 2;
        }
    }
    if (std::rename(partial.c_str(), output.c_str()) != 0) {
        std::cerr << output << ": cannot replace\n";
        std::remove(partial.c_str());
        return 2;
    }
    return 0;
}
