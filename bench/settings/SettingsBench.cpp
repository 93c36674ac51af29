// Load plus Save of the settings file: the six lines of a first run, and a 10,000-line file
// someone has filled with other keys. Each runs twice: in memory (tmpfs, where the flush to
// disk costs nothing), which is the program's own cost, and on the disk of the temporary
// directory, where Save's two flushes (file, then directory) usually dominate.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "settings/ProgramSettings.h"
#include "settings/SettingsStore.h"

namespace {

using namespace vireon;

class ScratchFile {
public:
    ScratchFile(const std::string& where, const std::string& content) {
        std::string pattern = where + "/vireon-settings-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        dir_ = pattern;
        path_ = dir_ + "/okaven.ini";
        std::ofstream(path_, std::ios::binary) << content;
    }
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string dir_;
    std::string path_;
};

void RunLoadSave(benchmark::State& state, const std::string& where, const std::string& content) {
    ScratchFile file(where, content);
    for (auto _ : state) {
        SettingsStore store;
        ProgramSettings v;
        store.FileName = file.path();
        RegisterSettings(store, v);
        store.Load();
        v.WindowTop += 1;  // a real change, as at every shut-down
        store.Save();
        benchmark::DoNotOptimize(store.Lines.data());
    }
}

std::string SixLines() {
    return "BlockLenMultipler=1\r\nWindowTop=0\r\nWindowLeft=0\r\nWindowWidth=0\r\n"
           "WindowHeight=0\r\nWindowMaximized=on\r\n";
}

std::string TenThousandLines() {
    // The main window's keys sit at the end, so every lookup walks the whole file.
    std::string content;
    for (int i = 0; i < 9994; ++i)
        content += "OtherKey" + std::to_string(i) + "=some value of moderate length " +
                   std::to_string(i * 7) + "\r\n";
    return content + SixLines();
}

void RegisterAll() {
    const std::string disk = std::filesystem::temp_directory_path().string();
    const struct {
        const char* name;
        std::string where;
    } places[] = {{"memory", "/dev/shm"}, {"disk", disk}};
    for (const auto& place : places) {
        if (::access(place.where.c_str(), W_OK) != 0) continue;
        benchmark::RegisterBenchmark(
            (std::string("LoadSave/SixLines/") + place.name).c_str(),
            [where = place.where](benchmark::State& s) { RunLoadSave(s, where, SixLines()); })
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(
            (std::string("LoadSave/TenThousandLines/") + place.name).c_str(),
            [where = place.where](benchmark::State& s) {
                RunLoadSave(s, where, TenThousandLines());
            })
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace

int main(int argc, char** argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
