// The exact guarantee of a stored reduction against its plain cost: one
// read of its columns file plus one pass over the space of results.
//
// Each case reports its time per analysis and, as "ratio", that time over
// the plain cost ("base_ms": the file read in the same blocks, and every
// byte of a results-sized array written and summed once). The machine is
// shared: both are measured in the thread's processor time and taken as the
// fastest of the iterations ("min_ms" for the analysis). Fourteen triples
// give 4,782,969 results.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "app/Archivo.h"
#include "app/Informador.h"
#include "reduction/Almacen.h"
#include "reduction/Base.h"
#include "reduction/Condiciones.h"
#include "reduction/Garantia.h"
#include "reduction/Motor.h"

namespace {

namespace fs = std::filesystem;
using namespace tobal;

// CPU time of this thread: the machine is shared, and a run that waits for
// the processor should not count the wait.
double Ahora() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

const char* const kCatorceConBase =
    "1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1";

// A stored method 2 reduction of fourteen triples, in a folder of its own,
// with the conditions file `condiciones` when given.
struct Guardada {
    InformadorMudo mudo;
    Estado st;
    fs::path carpeta;
    explicit Guardada(const char* errores, const char* condiciones = nullptr) {
        std::string plantilla = (fs::temp_directory_path() / "tobal31-garantia-XXXXXX").string();
        if (!::mkdtemp(plantilla.data())) std::abort();
        carpeta = plantilla;
        st.DirDatos = carpeta;
        st.informador = &mudo;
        if (LeeReduccion(2, kCatorceConBase, std::string(errores), std::nullopt, st.ReduccionActual))
            std::abort();
        if (EjecutaReduccion(st).fin != FinReduccion::Terminada) std::abort();
        Condiciones cs;
        if (condiciones && (LeeTextoCondiciones(condiciones, cs) ||
                            GrabaCondiciones(carpeta / FicheroCon(st.Jornada(), st.Orden()), cs)))
            std::abort();
    }
    ~Guardada() { fs::remove_all(carpeta); }
};

double CosteLlano(const fs::path& ruta, size_t resultados) {
    const double t0 = Ahora();
    LectorBloques f;
    if (f.Abre(ruta)) std::abort();
    std::string datos;
    uint64_t leidos = 0;
    do {
        if (f.Lee(datos, 50000 * kLongLineaColumna)) std::abort();
        leidos += datos.size();
    } while (!datos.empty());
    std::vector<uint8_t> espacio(resultados, 15);
    benchmark::DoNotOptimize(std::accumulate(espacio.begin(), espacio.end(), leidos));
    return Ahora() - t0;
}

void Garantia(benchmark::State& state, const char* errores, const char* condiciones = nullptr) {
    Guardada g(errores, condiciones);
    const fs::path ruta = g.carpeta / FicheroRed(g.st.Jornada(), g.st.Orden());
    double analisis = 1e9, llano = 1e9;
    ResultadoGarantia res;
    for (auto _ : state) {
        const double t0 = Ahora();
        res = CalculaGarantia(g.st);
        const double s = Ahora() - t0;
        if (res.fin != FinGarantia::Calculada) {
            state.SkipWithError(res.mensaje.c_str());
            return;
        }
        state.SetIterationTime(s);
        analisis = std::min(analisis, s);
        llano = std::min(llano, CosteLlano(ruta, static_cast<size_t>(res.resultados)));
    }
    state.counters["columnas"] = static_cast<double>(res.columnas);
    state.counters["garantia"] = res.minimo;
    state.counters["min_ms"] = analisis * 1000;
    state.counters["base_ms"] = llano * 1000;
    state.counters["ratio"] = analisis / llano;
}

// Errors 0 to 14: the full development, 4,782,969 columns.
BENCHMARK_CAPTURE(Garantia, Desarrollo_14triples, "0,14")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
// Errors 0 to 1: 29 columns.
BENCHMARK_CAPTURE(Garantia, ColumnaProbable_0a1, "0,1")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
// Errors 0 to 4: 19,321 columns.
BENCHMARK_CAPTURE(Garantia, ColumnaProbable_0a4, "0,4")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
// The same with conditions of every kind, the results that meet them
// counted in the final pass: its cost over the case above is theirs.
BENCHMARK_CAPTURE(Garantia, ColumnaProbable_0a4_condiciones, "0,4",
                  "X 2-6\r\n2 0-4 partidos 1-7\r\nvariantes 4-10\r\ninterrupciones 5-11\r\n"
                  "seguidos 1-4\r\nfallos 1\r\n")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
