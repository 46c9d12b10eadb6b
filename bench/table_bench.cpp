#include <benchmark/benchmark.h>

#include "calculation.h"
#include "results_table.h"

namespace veldorin {
namespace {

class DiscardingSink final : public TableSink {
public:
    bool Begin() override { return true; }
    bool AddLine(const std::string& line) override {
        benchmark::DoNotOptimize(line.data());
        return true;
    }
    bool Finish() override { return true; }
};

void BM_DefaultTable(benchmark::State& state) {
    const ModelTexts model = DefaultModel();
    Calculation calculation;
    DiscardingSink sink;
    for (auto _ : state) {
        const PreparedRun run = calculation.Prepare(model);
        benchmark::DoNotOptimize(WriteResultsTable(run.values, TableMode::Rates, sink, nullptr));
    }
}
BENCHMARK(BM_DefaultTable);

}  // namespace
}  // namespace veldorin
