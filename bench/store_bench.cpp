// Store time of a program start: open the store file, read each of the settings once, close.
// A first start finds an empty file and creates every default; a later start finds them all.
// Then the time of writing every scalar setting once, each write its own transaction.

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
  for (const char* suffix : {"", "-wal", "-shm", "-lock"}) std::filesystem::remove(path + suffix);
}

void ReadEverySetting(vortan::TSettingsStore& store) {
  using vortan::TSettingType;
  for (int id = 0; id < vortan::SettingsCount; ++id) {
    switch (vortan::SettingsTable[static_cast<size_t>(id)].Type) {
      case TSettingType::Bool:
        benchmark::DoNotOptimize(store.ReadBool(id));
        break;
      case TSettingType::Integer:
        benchmark::DoNotOptimize(store.ReadInteger(id));
        break;
      case TSettingType::Float:
        benchmark::DoNotOptimize(store.ReadFloat(id));
        break;
      case TSettingType::String:
        benchmark::DoNotOptimize(store.ReadString(id));
        break;
      case TSettingType::List:
        benchmark::DoNotOptimize(store.ReadList(id));
        break;
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

// As the end of a run does: every scalar setting written, each write committed on its own.
void BM_WriteEveryScalar(benchmark::State& state) {
  using vortan::TSettingType;
  const std::string path = TempStorePath();
  vortan::TSettingsStore store;
  if (!store.Open(path).Ok) state.SkipWithError("cannot open the store");
  store.CreateMissingSettings();
  int n = 0;
  int64_t writes = 0;
  for (auto _ : state) {
    ++n;
    for (int id = 0; id < vortan::SettingsCount; ++id) {
      switch (vortan::SettingsTable[static_cast<size_t>(id)].Type) {
        case TSettingType::Bool:
          store.WriteBool(id, n % 2);
          break;
        case TSettingType::Integer:
          store.WriteInteger(id, n);
          break;
        case TSettingType::Float:
          store.WriteFloat(id, n);
          break;
        case TSettingType::String:
          store.WriteString(id, std::to_string(n));
          break;
        default:
          continue;
      }
      ++writes;
    }
  }
  state.SetItemsProcessed(writes);
  store.Close();
  RemoveStore(path);
  std::filesystem::remove(std::filesystem::path(path).parent_path());
}

void BM_FirstStart(benchmark::State& state) { StartWith(state, false); }
void BM_LaterStart(benchmark::State& state) { StartWith(state, true); }

BENCHMARK(BM_FirstStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LaterStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteEveryScalar)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
