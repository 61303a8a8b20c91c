#include "check.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <vector>

// The seeds of a fuzz target as an ordinary test: each file of the corpus
// folder is fed to the target as libFuzzer feeds it. A seed named in the
// expectations file ("name outcome" per line) must come to that outcome.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::map<std::string, std::string> erwartungen(const char* pfad) {
    std::map<std::string, std::string> liste;
    std::ifstream datei(pfad);
    for (std::string zeile; std::getline(datei, zeile);) {
        const auto trenner = zeile.find(' ');
        if (!zeile.empty() && zeile[0] != '#' && trenner != std::string::npos)
            liste[zeile.substr(0, trenner)] = zeile.substr(trenner + 1);
    }
    return liste;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " CORPUS-FOLDER [EXPECTATIONS]\n";
        return 2;
    }
    const auto erwartet = argc > 2 ? erwartungen(argv[2]) : std::map<std::string, std::string>();
    std::vector<std::filesystem::path> seeds;
    for (const auto& eintrag : std::filesystem::directory_iterator(argv[1]))
        seeds.push_back(eintrag.path());
    std::sort(seeds.begin(), seeds.end());

    int fehler = 0;
    for (const auto& seed : seeds) {
        std::ifstream datei(seed, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(datei), {}};
        const std::string name = seed.filename().string();
        std::cout << name << ": " << std::flush;
        befund().clear();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        std::cout << befund() << std::endl;
        if (const auto it = erwartet.find(name); it != erwartet.end() && it->second != befund()) {
            std::cerr << name << ": expected " << it->second << "\n";
            ++fehler;
        }
    }
    for (const auto& [name, ergebnis] : erwartet) {
        if (!std::filesystem::exists(std::filesystem::path(argv[1]) / name)) {
            std::cerr << name << ": expected, but not in the corpus\n";
            ++fehler;
        }
    }
    std::cout << seeds.size() << " inputs\n";
    return seeds.empty() || fehler ? 1 : 0;
}
