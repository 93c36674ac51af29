// Stands in for vireon-render.exe until the Windows build makes the real one: a console program
// that answers --version as the real one does, and otherwise finds fir1.txt beside itself and says
// how many taps it read.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::cout << "vireon-render " VIREON_VERSION "\n";
        return 0;
    }
    std::wstring exe(MAX_PATH, L'\0');
    exe.resize(GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
    std::ifstream fir(std::filesystem::path(exe).parent_path() / "fir1.txt");
    std::string header;
    if (!std::getline(fir, header)) {
        std::cerr << "vireon-render: no fir1.txt beside the program\n";
        return 1;
    }
    int taps = 0;
    for (std::string line; std::getline(fir, line);) ++taps;
    std::cout << "vireon-render " VIREON_VERSION ": " << header << ", " << taps << " read\n";
    return 0;
}
