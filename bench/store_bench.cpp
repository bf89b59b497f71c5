// Store time of a program start: open the store file, read each of the settings once, close.
// A first start finds an empty file and creates every default; a later start finds them all.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "config/settingsstore.h"
#include "config/settingstable.h"

namespace {

std::string TempStorePath() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "vortan-bench-XXXXXX").string();
  return std::string(::mkdtemp(tmpl.data())) + "/registry.sqlite";
}

void RemoveStore(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
}

void ReadEverySetting(vortan::TSettingsStore& store) {
  using vortan::TSettingType;
  for (int id = 0; id < vortan::SettingsCount; ++id) {
    switch (vortan::SettingsTable[static_cast<size_t>(id)].Type) {
      case TSettingType::Bool: benchmark::DoNotOptimize(store.ReadBool(id)); break;
      case TSettingType::Integer: benchmark::DoNotOptimize(store.ReadInteger(id)); break;
      case TSettingType::Float: benchmark::DoNotOptimize(store.ReadFloat(id)); break;
      case TSettingType::String: benchmark::DoNotOptimize(store.ReadString(id)); break;
      case TSettingType::List: benchmark::DoNotOptimize(store.ReadList(id)); break;
      case TSettingType::Object: {
        size_t n = 0;
        store.ReadObjectBytes(id, [&](std::string_view b) { n += b.size(); });
        benchmark::DoNotOptimize(n);
        break;
      }
    }
  }
}

void StartWith(benchmark::State& state, bool filled) {
  const std::string path = TempStorePath();
  if (filled) {
    vortan::TSettingsStore store;
    store.Open(path);
    ReadEverySetting(store);
  }
  for (auto _ : state) {
    if (!filled) {
      state.PauseTiming();
      RemoveStore(path);
      state.ResumeTiming();
    }
    vortan::TSettingsStore store;
    if (!store.Open(path).Ok) {
      state.SkipWithError("cannot open the store");
      break;
    }
    // As a start does: every setting created in one go, then read.
    store.CreateMissingSettings();
    ReadEverySetting(store);
    store.Close();
  }
  RemoveStore(path);
  std::filesystem::remove(std::filesystem::path(path).parent_path());
}

void BM_FirstStart(benchmark::State& state) { StartWith(state, false); }
void BM_LaterStart(benchmark::State& state) { StartWith(state, true); }

BENCHMARK(BM_FirstStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LaterStart)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
