// Throughput of the storage layer: checksums, journal appends with and
// without fdatasync, snapshot checkpoints. Figures only; nothing is asserted.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "storage/crc32c.h"
#include "storage/data_directory.h"

namespace {

namespace fs = std::filesystem;
using standin::storage::DataDirectory;

// A fresh data directory below the system's temporary directory, removed
// at the end of the benchmark.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (fs::temp_directory_path() / "standin-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~ScratchDirectory() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// About the length of one journaled bank-code insert.
std::string statement_record() {
  return "insert into D_blz (BLZ,LfdNr,BANK,ORT,Merkmal,Bezeichnung,PAN,PLZ,BIC,Pr_Ziff,"
         "Datensatznummer,AendKz,BLZ_Loe,NACHFOLGE_BLZ) values('10010010',1,'Postbank Ndl DB "
         "PFK','Berlin',1,'Postbank Ndl der DB Privat- und Firmenkundenbank','10010','10559',"
         "'PBNKDEFFXXX','24','000538','U','0','00000000')";
}

void BM_Crc32c(benchmark::State& state) {
  std::string data(static_cast<size_t>(state.range(0)), 'x');
  for (auto _ : state) benchmark::DoNotOptimize(standin::storage::crc32c(data));
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Crc32c)->Arg(300)->Arg(64 << 10);

void BM_JournalAppend(benchmark::State& state) {
  ScratchDirectory scratch;
  auto dir = DataDirectory::open(scratch.path());
  std::string record = statement_record();
  for (auto _ : state) dir->append_journal(record);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(record.size()));
}
BENCHMARK(BM_JournalAppend);

// One statement per command text: the worst case, one fdatasync each.
void BM_JournalAppendAndSync(benchmark::State& state) {
  ScratchDirectory scratch;
  auto dir = DataDirectory::open(scratch.path());
  std::string record = statement_record();
  for (auto _ : state) {
    dir->append_journal(record);
    dir->sync_journal();
  }
}
BENCHMARK(BM_JournalAppendAndSync)->Iterations(200);

// A checkpoint of one database whose snapshot has the given size.
void BM_Checkpoint(benchmark::State& state) {
  ScratchDirectory scratch;
  auto dir = DataDirectory::open(scratch.path());
  std::string payload(static_cast<size_t>(state.range(0)), 'p');
  for (auto _ : state) {
    dir->write_snapshot("Dravok01", payload);
    dir->reset_journal();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Checkpoint)->Arg(1 << 20)->Arg(16 << 20)->Iterations(10);

void BM_ReadJournal(benchmark::State& state) {
  ScratchDirectory scratch;
  auto dir = DataDirectory::open(scratch.path());
  std::string record = statement_record();
  for (int i = 0; i < 18264; ++i) dir->append_journal(record);  // the whole bank directory
  for (auto _ : state) benchmark::DoNotOptimize(dir->read_journal());
}
BENCHMARK(BM_ReadJournal)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
