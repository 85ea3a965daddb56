// Speed of the reduction run against the plain cost of writing its bytes,
// and of the statistics the reduction screen recomputes after every click.
//
// Each reduction reports its time per run and, as the counter "ratio", its
// best time divided by the best time of writing the same number of bytes to
// the same folder as `dd bs=1M conv=fsync` does: plain writes of 1 MiB, one
// fsync at the end (the "base_ms" counter, best of the same runs). Run from
// the folder to measure, or give it with TOBAL31_BENCH_DIR.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Informador.h"
#include "reduction/Almacen.h"
#include "reduction/Base.h"
#include "reduction/Condiciones.h"
#include "reduction/Estadistica.h"
#include "reduction/Motor.h"

namespace {

namespace fs = std::filesystem;
using namespace tobal;
using Reloj = std::chrono::steady_clock;

const char* const kCatorceTriples = "1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1";
const char* const kCatorceLibres = "1X2 1X2 1X2 1X2 1X2 1X2 1X2 1X2 1X2 1X2 1X2 1X2 1X2 1X2 1";
const char* const kCatorceConBase =
    "1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1";

fs::path Carpeta() {
    static const fs::path carpeta = [] {
        if (const char* d = std::getenv("TOBAL31_BENCH_DIR")) return fs::path(d);
        std::string plantilla = (fs::temp_directory_path() / "tobal31-bench-XXXXXX").string();
        if (!::mkdtemp(plantilla.data())) std::abort();
        return fs::path(plantilla);
    }();
    return carpeta;
}

// Conditions as players set them: six of them, one failure allowed.
Condiciones CondicionesTipicas() {
    Condiciones cs;
    cs.fallos = 1;
    for (const char* t :
         {"X 2-5", "2 0-3 partidos 1-7", "variantes 4-8", "interrupciones 5-9", "seguidos 1-4", "1 3-7"}) {
        Condicion c;
        if (LeeCondicion(t, c)) std::abort();
        cs.lista.push_back(c);
    }
    return cs;
}

// Conditions that keep nearly every column, so that a run writes about as
// much as without them and what is measured is the judging.
Condiciones CondicionesAnchas() {
    Condiciones cs;
    for (const char* t :
         {"X 0-13", "seguidos 1-13", "interrupciones 1-12 partidos 1-10,12-14", "variantes 1-14"}) {
        Condicion c;
        if (LeeCondicion(t, c)) std::abort();
        cs.lista.push_back(c);
    }
    return cs;
}

enum class ConCondiciones { No, Tipicas, Anchas };

// The state of one reduction screen: method, parameters, base quiniela.
struct Pantalla {
    InformadorMudo mudo;
    Estado st;
    Pantalla(int metodo, const char* base, const char* errores, const char* signos,
             ConCondiciones condiciones = ConCondiciones::No) {
        if (condiciones == ConCondiciones::Tipicas) st.CondicionesActuales = CondicionesTipicas();
        if (condiciones == ConCondiciones::Anchas) st.CondicionesActuales = CondicionesAnchas();
        st.DirDatos = Carpeta();
        st.informador = &mudo;
        // Method 4 takes its errors guaranteed where the others take their window.
        auto e = errores && metodo != 4 ? std::optional<std::string>(errores) : std::nullopt;
        auto g = errores && metodo == 4 ? std::optional<std::string>(errores) : std::nullopt;
        auto s = signos ? std::optional<std::string>(signos) : std::nullopt;
        if (LeeReduccion(metodo, base, e, s, st.ReduccionActual, g)) std::abort();
        st.ReduccionActual.Jornada = 1;
        st.ReduccionActual.Orden = static_cast<int16_t>(metodo);
    }
};

double Segundos(Reloj::time_point desde) {
    return std::chrono::duration<double>(Reloj::now() - desde).count();
}

// Writing `bytes` bytes of lines as `dd bs=1M conv=fsync of=BASE.TBX`:
// the file truncated, written in blocks, synced once at the end.
double EscribeBase(uint64_t bytes) {
    static const std::string bloque = [] {
        std::string b;
        while (b.size() < (1u << 20)) b += LineaColumna("111111111111111");
        b.resize(1u << 20);
        return b;
    }();
    const auto t0 = Reloj::now();
    const int fd = ::open((Carpeta() / "BASE.TBX").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) std::abort();
    for (uint64_t resto = bytes; resto > 0;) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(resto, bloque.size()));
        if (::write(fd, bloque.data(), n) != static_cast<ssize_t>(n)) std::abort();
        resto -= n;
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) std::abort();
    return Segundos(t0);
}

void Reduccion(benchmark::State& state, int metodo, const char* base, const char* errores, const char* signos,
               ConCondiciones condiciones = ConCondiciones::No) {
    Pantalla p(metodo, base, errores, signos, condiciones);
    // Best times: the disk and the other programs only ever add.
    double motor = 1e9, escritura = 1e9;
    int64_t columnas = 0;
    for (auto _ : state) {
        const auto t0 = Reloj::now();
        const ResultadoReduccion res = EjecutaReduccion(p.st);
        const double s = Segundos(t0);
        if (res.fin != FinReduccion::Terminada) {
            state.SkipWithError(res.mensaje.c_str());
            return;
        }
        state.SetIterationTime(s);
        motor = std::min(motor, s);
        columnas = res.columnas;
        escritura = std::min(escritura, EscribeBase(static_cast<uint64_t>(columnas) * kLongLineaColumna));
    }
    state.counters["columnas"] = static_cast<double>(columnas);
    state.counters["MB"] = static_cast<double>(columnas) * kLongLineaColumna / 1e6;
    state.counters["mejor_ms"] = motor * 1000;
    state.counters["base_ms"] = escritura * 1000;
    state.counters["ratio"] = motor / escritura;
}

void Estadistica(benchmark::State& state, int metodo, const char* base, const char* errores,
                 const char* signos, ConCondiciones condiciones = ConCondiciones::No) {
    Pantalla p(metodo, base, errores, signos, condiciones);
    const Separadores sep{',', '.'};
    for (auto _ : state) benchmark::DoNotOptimize(CalculaEstadistica(p.st, sep));
    state.counters["reducidas"] = p.st.ReduccionActual.ApuestasReducidas;
}

// Method 2, fourteen reduced triples, errors 0 to 14: every column.
BENCHMARK_CAPTURE(Reduccion, ColumnaProbable_14triples_0a14, 2, kCatorceConBase, "0,14", nullptr)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
// Method 3, fourteen reduced triples, signs 5, 5, 4.
BENCHMARK_CAPTURE(Reduccion, SeleccionSignos_14triples_5_5_4, 3, kCatorceTriples, nullptr, "5,5,4")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
// Method 1 on "Seleccionar todo": table A and ten triples in full.
BENCHMARK_CAPTURE(Reduccion, Directo_SeleccionarTodo, 1, kCatorceTriples, nullptr, nullptr)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// The full development of fourteen triples (4,782,969 columns), plain and
// under conditions: the typical ones write far fewer columns, the wide ones
// nearly all, which leaves the cost of judging them.
BENCHMARK_CAPTURE(Reduccion, Desarrollo_14triples, 1, kCatorceLibres, nullptr, nullptr)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(Reduccion, Desarrollo_14triples_condiciones, 1, kCatorceLibres, nullptr, nullptr,
                  ConCondiciones::Tipicas)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(Reduccion, Desarrollo_14triples_condiciones_anchas, 1, kCatorceLibres, nullptr, nullptr,
                  ConCondiciones::Anchas)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// Method 4, fourteen reduced triples, one error guaranteed: 177,147 columns.
BENCHMARK_CAPTURE(Reduccion, ReduccionMinima_14triples_1, 4, kCatorceTriples, "1", nullptr)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

BENCHMARK_CAPTURE(Estadistica, ReduccionMinima_14triples_1, 4, kCatorceTriples, "1", nullptr)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Estadistica, Directo_14triples, 1, kCatorceTriples, nullptr, nullptr)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Estadistica, ColumnaProbable_14triples, 2, kCatorceConBase, "0,14", nullptr)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Estadistica, SeleccionSignos_14triples, 3, kCatorceTriples, nullptr, "5,5,4")
    ->Unit(benchmark::kMicrosecond);
// With the typical conditions: the exact count of what the run writes.
BENCHMARK_CAPTURE(Estadistica, ColumnaProbable_14triples_condiciones, 2, kCatorceConBase, "2,6", nullptr,
                  ConCondiciones::Tipicas)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Estadistica, SeleccionSignos_14triples_condiciones, 3, kCatorceTriples, nullptr, "5,5,4",
                  ConCondiciones::Tipicas)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Estadistica, Desarrollo_14triples_condiciones, 1, kCatorceLibres, nullptr, nullptr,
                  ConCondiciones::Tipicas)
    ->Unit(benchmark::kMillisecond);

// The results of fourteen triples that six conditions keep, with 0, 1 and 2
// failures allowed, counted over the matches.
void CuentaCondiciones(benchmark::State& state) {
    Quiniela base{};
    if (LeeBase(kCatorceTriples, base)) std::abort();
    Condiciones cs = CondicionesTipicas();
    cs.fallos = static_cast<int>(state.range(0));
    int64_t n = 0;
    for (auto _ : state) benchmark::DoNotOptimize(n = CuentaCumplen(base, cs));
    state.counters["cumplen"] = static_cast<double>(n);
}
BENCHMARK(CuentaCondiciones)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!std::getenv("TOBAL31_BENCH_DIR")) fs::remove_all(Carpeta());
    return 0;
}
