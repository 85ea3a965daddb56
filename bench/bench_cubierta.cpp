// Building the coverings of the minimal reduction: fourteen triples at one
// error (177,147 columns) must take well under a second; the statistics only
// look the size up.

#include <benchmark/benchmark.h>

#include "reduction/Cubierta.h"

namespace {

void BM_CubiertaCatorceTriples(benchmark::State& state) {
    for (auto _ : state) {
        const tobal::Cubierta c = tobal::ConstruyeCubierta(14, 0, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(c.digitos.data());
        state.counters["columns"] = static_cast<double>(c.palabras);
    }
}
BENCHMARK(BM_CubiertaCatorceTriples)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_ColumnasCubierta(benchmark::State& state) {
    int t = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tobal::ColumnasCubierta(t, 14 - t, 1));
        t = (t + 1) % 15;
    }
}
BENCHMARK(BM_ColumnasCubierta);

}  // namespace

BENCHMARK_MAIN();
