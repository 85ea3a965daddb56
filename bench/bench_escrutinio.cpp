// Scoring a full reduction of fourteen triples (4,782,969 columns) against
// reading its columns file once. The counter "ratio" of BM_Escrutinio is its
// best time over the best time of a plain read of the file in 1 MiB blocks
// (as BM_LecturaFichero), the two taken in turn in the same run.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/Archivo.h"
#include "reduction/Almacen.h"
#include "scoring/Escrutinio.h"

namespace {

namespace fs = std::filesystem;
constexpr int kColumnas = 4782969;  // 3^14

const fs::path& FicheroColumnas() {
    static const fs::path ruta = [] {
        fs::path r = fs::temp_directory_path() / ("tobal31-bench-" + std::to_string(::getpid()) + ".TBX");
        tobal::EscritorBloques w;
        w.Abre(r);
        const char signos[] = {'1', 'X', '2'};
        std::string col(15, '1');
        for (int i = 0; i < kColumnas; ++i) {
            int v = i;
            for (int m = 13; m >= 0; --m, v /= 3) col[static_cast<size_t>(m)] = signos[v % 3];
            w.Escribe(tobal::LineaColumna(col));
        }
        w.Cierra();
        std::atexit([] {
            std::error_code ec;
            fs::remove(ruta, ec);
        });
        return r;
    }();
    return ruta;
}

size_t LeeUnaVez() {
    tobal::LectorBloques lector;
    lector.Abre(FicheroColumnas());
    std::string bloque;
    size_t total = 0;
    while (lector.Lee(bloque) == 0 && !bloque.empty()) total += bloque.size();
    return total;
}

// Wall and processor time of a call.
struct Tiempos {
    double pared = 0, cpu = 0;
};

double Cpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <class F>
Tiempos Mide(F&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = Cpu();
    f();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), Cpu() - c0};
}

void BM_LecturaFichero(benchmark::State& state) {
    FicheroColumnas();
    for (auto _ : state) benchmark::DoNotOptimize(LeeUnaVez());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kColumnas) * tobal::kLongLineaColumna);
}
BENCHMARK(BM_LecturaFichero)->Unit(benchmark::kMillisecond);

void BM_LecturaColumnas(benchmark::State& state) {
    FicheroColumnas();
    for (auto _ : state) {
        tobal::LectorColumnas lector;
        lector.Abre(FicheroColumnas());
        std::string_view col;
        size_t n = 0;
        while (lector.Siguiente(col)) n += col.size();
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_LecturaColumnas)->Unit(benchmark::kMillisecond);

void BM_Escrutinio(benchmark::State& state) {
    const std::array<double, 6> premios{0, 1000000, 10000, 100, 10, 1};
    // Best times of the scoring and of a plain read of the same file, taken
    // in turn: the disk and the other programs only ever add.
    Tiempos escrutinio{1e9, 1e9}, lectura{1e9, 1e9};
    auto mejor = [](Tiempos& m, Tiempos t) {
        m.pared = std::min(m.pared, t.pared);
        m.cpu = std::min(m.cpu, t.cpu);
    };
    FicheroColumnas();
    for (auto _ : state) {
        mejor(escrutinio, Mide([&] {
                  auto r = tobal::EscrutaColumnas(FicheroColumnas(), "1X21X21X21X21X2", premios);
                  benchmark::DoNotOptimize(r.LisBoletos.size());
              }));
        state.PauseTiming();
        mejor(lectura, Mide([] { benchmark::DoNotOptimize(LeeUnaVez()); }));
        state.ResumeTiming();
    }
    // Scoring time over one plain read of the same file: wall clock, and
    // processor time (steadier on a busy machine).
    state.counters["mejor_ms"] = escrutinio.pared * 1000;
    state.counters["lectura_ms"] = lectura.pared * 1000;
    state.counters["ratio"] = escrutinio.pared / lectura.pared;
    state.counters["ratio_cpu"] = escrutinio.cpu / lectura.cpu;
    state.counters["columnas/s"] =
        benchmark::Counter(static_cast<double>(kColumnas) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Escrutinio)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
