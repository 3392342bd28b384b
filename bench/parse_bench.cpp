// Throughput of the engine on the benchmark workloads, split: parsing only
// (how much of a script's time goes into turning its text into statements),
// the syntax check of a long command text, and the whole execution of the
// command text on a fresh table.
#include <benchmark/benchmark.h>

#include <vector>

#include "parser/parser.h"
#include "standin/standin.h"
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

// The syntax check a long command text gets before any of it runs: no
// trees kept.
void check_script(benchmark::State& state, const bench::Workload& workload) {
  for (auto _ : state) {
    standin::StatementReader reader(workload.tsql_script);
    standin::Error error;
    for (bool more = true; more;) {
      standin::StatementPtr outline;
      if (!reader.check_next(&more, &outline, &error)) {
        state.SkipWithError(error.message.c_str());
        return;
      }
    }
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(workload.tsql_script.size()));
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(workload.statements));
}

void BM_CheckBankCodeInserts(benchmark::State& state) {
  static const bench::Workload workload = bench::bank_code_inserts();
  check_script(state, workload);
}
BENCHMARK(BM_CheckBankCodeInserts)->Unit(benchmark::kMillisecond);

void BM_CheckChartPositionalInserts(benchmark::State& state) {
  static const bench::Workload workload = bench::chart_positional_inserts();
  check_script(state, workload);
}
BENCHMARK(BM_CheckChartPositionalInserts)->Unit(benchmark::kMillisecond);

void execute_script(benchmark::State& state, const bench::Workload& workload) {
  for (auto _ : state) {
    state.PauseTiming();
    auto server = standin::Server::in_memory();
    auto session = server->connect("master");
    session->execute(workload.tsql_setup);
    state.ResumeTiming();
    standin::BatchResult result = session->execute(workload.tsql_script);
    if (!result.ok()) {
      state.SkipWithError(result.errors.front().message.c_str());
      break;
    }
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(workload.statements));
}

void BM_ExecuteBankCodeInserts(benchmark::State& state) {
  static const bench::Workload workload = bench::bank_code_inserts();
  execute_script(state, workload);
}
BENCHMARK(BM_ExecuteBankCodeInserts)->Unit(benchmark::kMillisecond);

void BM_ExecuteChartPositionalInserts(benchmark::State& state) {
  static const bench::Workload workload = bench::chart_positional_inserts();
  execute_script(state, workload);
}
BENCHMARK(BM_ExecuteChartPositionalInserts)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
