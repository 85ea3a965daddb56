// Speed of what the reduction screens must do within one frame (16 ms): a
// click on the base quiniela (statistics recomputed, window redrawn) and a
// page of the browser (read from the columns file, redrawn), the page taken
// anywhere in a reduction of 4,782,969 columns; and a reduction run from the
// screen, on its worker thread, against the same run called directly
// (counter "ratio" in the screen's benchmark: its time over the direct one's).
//
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>

#include "app/Informador.h"
#include "data/DatosGen.h"
#include "platform/BotonImagen.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "reduction/Almacen.h"
#include "reduction/Base.h"
#include "reduction/Motor.h"
#include "screens/Reducir.h"
#include "screens/VistaReduccion.h"
#include "screens/consredu.h"

namespace {

namespace fs = std::filesystem;
using namespace tobal;

const char* const kCatorceConBase =
    "1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1";

struct Entorno {
    Entorno() {
        std::string plantilla = (fs::temp_directory_path() / "tobal31-bench-XXXXXX").string();
        if (!::mkdtemp(plantilla.data())) std::abort();
        dir = plantilla;
        st.DirDatos = st.DirPrograma = dir;
        st.informador = &mudo;
        sv.pausa = [](int) {};
        LeeDatosGen(st);
    }
    ~Entorno() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // Stores the base quiniela of fourteen reduced triples, method 2, errors 0 to 14.
    void GuardaCatorceTriples() {
        LeeReduccion(2, kCatorceConBase, std::string("0,14"), std::nullopt, st.ReduccionActual);
        st.Jornada() = 1;
        st.Orden() = 1;
        if (GrabaReduccion(st) != 0) std::abort();
    }
    fs::path dir;
    InformadorMudo mudo;
    Estado st;
    Servicios sv{st};
};

void Pulsa(QWidget* w, QPoint p) {
    QMouseEvent pulsa(QEvent::MouseButtonPress, p, w->mapToGlobal(QPointF(p)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &pulsa);
}

void BM_ClicEnLaQuinielaBase(benchmark::State& state) {
    Entorno e;
    e.GuardaCatorceTriples();
    Reducir d(e.st, e.sv);
    d.show();
    QApplication::processEvents();
    RejillaVista* base = d.vista->Pic_Base;
    int m = 0;
    for (auto _ : state) {
        // Unmarks and marks again the "2" of one match after another.
        Pulsa(base, base->RectCelda(m % 14 + 1, 3).center());
        d.repaint();
        ++m;
    }
}
BENCHMARK(BM_ClicEnLaQuinielaBase)->Unit(benchmark::kMillisecond);

void BM_PaginaDeLaConsulta(benchmark::State& state) {
    Entorno e;
    constexpr int32_t kColumnas = 4782969;
    e.st.ReduccionActual = Reduccion{};
    e.st.ReduccionActual.ApuestasDirectas = e.st.ReduccionActual.ApuestasReducidas = kColumnas;
    if (GrabaReduccion(e.st) != 0) std::abort();
    {
        std::string bloque;
        for (int i = 0; i < 4096; ++i) bloque += LineaColumna(i % 2 ? "1X21X21X21X21X2" : "X21X21X21X21X21");
        FILE* f = std::fopen((e.dir / FicheroRed(1, 1)).c_str(), "wb");
        for (int32_t n = 0; n < kColumnas; n += 4096)
            std::fwrite(bloque.data(), kLongLineaColumna, size_t(std::min(4096, kColumnas - n)), f);
        std::fclose(f);
    }
    consredu d(e.st, e.sv);
    d.show();
    QApplication::processEvents();
    std::mt19937 azar(7);
    QWidget* pulgar = d.Pic_Boton;
    for (auto _ : state) {
        // A drag step to anywhere on the track, then the next page.
        const int x =
            VistaReduccion::kIzqPista + int(azar() % (VistaReduccion::kDerPista - VistaReduccion::kIzqPista));
        Pulsa(pulgar, QPoint(5, 5));
        QMouseEvent mueve(QEvent::MouseMove, QPointF(5 + x - pulgar->x(), 5),
                          pulgar->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pulgar, &mueve);
        d.repaint();
        QKeyEvent tecla(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(d.Pic_Colum, &tecla);
        d.repaint();
    }
}
BENCHMARK(BM_PaginaDeLaConsulta)->Unit(benchmark::kMillisecond);

double gDirectaMs = 0;

void BM_ReduccionDirecta(benchmark::State& state) {
    Entorno e;
    e.GuardaCatorceTriples();
    const Reduccion base = e.st.ReduccionActual;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(e.dir / "BASES.TBX");
        e.st.ReduccionActual = base;
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        if (EjecutaReduccion(e.st).fin != FinReduccion::Terminada) state.SkipWithError("la reducción falló");
        gDirectaMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
}
BENCHMARK(BM_ReduccionDirecta)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ReduccionDesdeLaPantalla(benchmark::State& state) {
    Entorno e;
    e.GuardaCatorceTriples();
    double ms = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(e.dir / "BASES.TBX");
        fs::remove(e.dir / FicheroRed(1, 1));
        e.GuardaCatorceTriples();
        Reducir d(e.st, e.sv);
        fs::remove(e.dir / "BASES.TBX");  // loaded; no overwrite question
        d.show();
        QApplication::processEvents();
        QEventLoop espera;
        QObject::connect(&d, &Reducir::reduccionAcabada, &espera, &QEventLoop::quit);
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        Pulsa(d.Pic_Reducir, QPoint(5, 5));
        if (d.Ejecutando() && !d.Pic_SalirPorcen->isVisible()) espera.exec();
        ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        state.PauseTiming();
        if (d.LineasProgreso().value(3) != QString::fromUtf8(kReduccionFinalizada))
            state.SkipWithError("la reducción no terminó");
        Pulsa(d.Pic_SalirPorcen, QPoint(5, 5));
        state.ResumeTiming();
    }
    if (gDirectaMs > 0) state.counters["ratio"] = ms / gDirectaMs;
}
BENCHMARK(BM_ReduccionDesdeLaPantalla)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    IniciaRecursos();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
