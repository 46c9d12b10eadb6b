// SPDX-FileCopyrightText: 2026 The VELDORIN developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "app/command_line.h"
#include "storage/model_file.h"

namespace veldorin {
namespace {

constexpr int kModelFileCount = 1000;

// Models as users set them up: different neighbours, distances, motions, table modes and
// graph options, all computable.
class VariedModels {
public:
    ModelDocument Next() {
        ModelDocument document = DefaultModelDocument();
        for (int slot = 0; slot < kNeighbourCount; ++slot) {
            document.texts.slots[slot] = {Pick({"", "1H", "13C", "15N", "Like"}), Number(1.0, 3.5),
                                          Pick({"1", "0.5", "0.011"})};
        }
        document.texts.slots[kCentralSlot].nucleus = Pick({"13C", "15N", "1H"});
        for (int term = 0; term < kLorentzianCount; ++term) {
            document.texts.weights[term] = Number(0.0, 1.0);
            document.texts.times[term] = Number(1.0, 20000.0);
        }
        document.texts.csa = Number(-200.0, 200.0);
        document.texts.rex = Number(0.0, 5.0);
        document.texts.tableMode = Between(0, 1) == 0 ? TableMode::Rates : TableMode::Times;
        document.plotMode = *PlotModeAt(Between(0, 4));
        document.arrayOn = Between(0, 1) == 1;
        document.arrayParameter = *ArrayParameterAt(Between(0, 13));
        return document;
    }

private:
    std::string Number(double low, double high) {
        std::ostringstream text;
        text << std::uniform_real_distribution<double>(low, high)(engine_);
        return text.str();
    }
    std::string Pick(std::initializer_list<const char*> choices) {
        return *(choices.begin() + Between(0, static_cast<int>(choices.size()) - 1));
    }
    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }

    std::mt19937 engine_{20240601};
};

// A thousand model files read, computed and printed as "veldorin --table" does.
void BM_TablesOfModelFiles(benchmark::State& state) {
    const QTemporaryDir folder;
    CommandLineOptions options;
    options.mode = CommandLineOptions::Mode::Table;
    VariedModels models;
    for (int index = 0; index < kModelFileCount; ++index) {
        const QString path = folder.filePath(QStringLiteral("model%1.veldorin").arg(index));
        if (WriteModelFile(path, models.Next())) {
            state.SkipWithError("cannot write the model files");
            return;
        }
        options.tables.push_back(QFile::encodeName(path).toStdString());
    }
    std::ostringstream firstOut;
    std::ostringstream firstErrors;
    RunWithoutWindow(options, firstOut, firstErrors);
    // Tables that ended early take less time; the count shows how many there are.
    const std::string reasons = firstErrors.str();
    state.counters["tables_not_completed"] =
        static_cast<double>(std::count(reasons.begin(), reasons.end(), '\n'));
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream errors;
        benchmark::DoNotOptimize(RunWithoutWindow(options, out, errors));
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetItemsProcessed(state.iterations() * kModelFileCount);
}
BENCHMARK(BM_TablesOfModelFiles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veldorin

BENCHMARK_MAIN();
