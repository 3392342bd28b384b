// Parse-only throughput of the engine on the benchmark workloads: how much
// of a script's execution time goes into turning its text into statements.
#include <benchmark/benchmark.h>

#include <vector>

#include "parser/parser.h"
#include "workloads.h"

namespace {

void parse_script(benchmark::State& state, const bench::Workload& workload) {
  for (auto _ : state) {
    std::vector<standin::StatementPtr> statements;
    standin::Error error;
    if (!standin::parse_batch(workload.tsql_script, &statements, &error)) {
      state.SkipWithError(error.message.c_str());
      break;
    }
    benchmark::DoNotOptimize(statements.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(workload.tsql_script.size()));
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(workload.statements));
}

void BM_ParseBankCodeInserts(benchmark::State& state) {
  static const bench::Workload workload = bench::bank_code_inserts();
  parse_script(state, workload);
}
BENCHMARK(BM_ParseBankCodeInserts)->Unit(benchmark::kMillisecond);

void BM_ParseChartPositionalInserts(benchmark::State& state) {
  static const bench::Workload workload = bench::chart_positional_inserts();
  parse_script(state, workload);
}
BENCHMARK(BM_ParseChartPositionalInserts)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
