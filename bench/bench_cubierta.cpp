// Building the coverings of the minimal reduction: fourteen triples at one
// error (177,147 columns) must take well under a second; the statistics only
// look the size up. With conditions the covering is built at run time over
// the results that meet them: fourteen triples at one error must take
// seconds at most.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "reduction/Condiciones.h"
#include "reduction/Cubierta.h"
#include "reduction/CubiertaCondicionada.h"

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

// The minimal reduction with conditions builds its covering at run time:
// fourteen triples under typical conditions, at one and two errors, and
// seven reduced triples under seven developed in full (2,187 states, each
// built apart).
tobal::Reduccion Base(int reducidos) {
    tobal::Reduccion r;
    for (int m = 1; m <= 15; ++m) {
        tobal::Partido& p = r.Partidos[static_cast<size_t>(m)];
        const bool triple = m <= 14;
        p.Signo = {0, 1, static_cast<int16_t>(triple), static_cast<int16_t>(triple)};
        p.NumSignos = triple ? 3 : 1;
        p.AReducir = m <= reducidos ? 1 : 0;
    }
    return r;
}

tobal::Condiciones Tipicas() {
    tobal::Condiciones cs;
    for (const char* t : {"X 2-6", "2 1-5", "interrupciones 6-12", "seguidos 1-4"})
        if (tobal::LeeCondicion(t, cs.lista.emplace_back())) std::abort();
    return cs;
}

void BM_CubiertaCondicionadaCatorceTriples(benchmark::State& state) {
    const tobal::Reduccion r = Base(14);
    const tobal::Condiciones cs = Tipicas();
    for (auto _ : state) {
        tobal::CubiertaCondicionada c(r, cs, static_cast<int>(state.range(0)));
        if (!c.Construye(std::string(14, '1'))) std::abort();
        state.counters["results"] = static_cast<double>(c.Condicionados());
        state.counters["columns"] = static_cast<double>(c.Resultado().palabras);
        state.counters["unconditioned"] =
            static_cast<double>(tobal::ColumnasCubierta(14, 0, static_cast<int>(state.range(0))));
    }
}
BENCHMARK(BM_CubiertaCondicionadaCatorceTriples)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_CubiertaCondicionadaPorEstados(benchmark::State& state) {
    const tobal::Reduccion r = Base(7);
    const tobal::Condiciones cs = Tipicas();
    for (auto _ : state) {
        tobal::CubiertaCondicionada c(r, cs, 1);
        int64_t columnas = 0;
        std::string col(14, '1');
        for (int estado = 0; estado < 2187; ++estado) {
            for (int m = 7, x = estado; m < 14; ++m, x /= 3) col[static_cast<size_t>(m)] = "1X2"[x % 3];
            if (!c.Construye(col)) std::abort();
            columnas += static_cast<int64_t>(c.Resultado().palabras);
        }
        state.counters["columns"] = static_cast<double>(columnas);
    }
}
BENCHMARK(BM_CubiertaCondicionadaPorEstados)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
