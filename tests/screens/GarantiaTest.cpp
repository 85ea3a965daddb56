#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <atomic>
#include <chrono>
#include <thread>

#include "Entorno.h"
#include "data/DatosGen.h"
#include "reduction/Almacen.h"
#include "reduction/Base.h"
#include "reduction/Motor.h"
#include "screens/Garantia.h"
#include "screens/Reducir.h"
#include "screens/consredu.h"
#include "screens/mensajes.h"

namespace tobal {
namespace {

// A reduction run by the engine, then its guarantee window, open.
struct Ventana : prueba::Entorno {
    void Reduce(int metodo, const std::string& base, const std::string& errores = "") {
        Reduccion& r = st.ReduccionActual;
        ASSERT_FALSE(LeeReduccion(metodo, base, errores.empty() ? std::nullopt : std::optional(errores),
                                  std::nullopt, r));
        r.Jornada = 12;
        r.Orden = 4;
        ASSERT_EQ(EjecutaReduccion(st).fin, FinReduccion::Terminada);
    }
    // `activa`: waits until the window has the focus (the analysis may be
    // over by then).
    void Abre(bool activa = true) {
        g = std::make_unique<Garantia>(st, sv);
        g->show();
        if (!activa) return;
        g->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(g.get()));
    }
    bool Espera() {
        QElapsedTimer t;
        t.start();
        while (g->fase() == Garantia::Fase::Calculando && t.elapsed() < 5000) QTest::qWait(5);
        return g->fase() != Garantia::Fase::Calculando;
    }
    std::unique_ptr<Garantia> g;
};

TEST(VentanaGarantia, CalculaEnSegundoPlanoYSeUsaConElTeclado) {
    Ventana v;
    v.Reduce(1, "1X2* 1X2* 1X2* 1X2* 1X 1 1 1 1 1 1 1 1 1 X");
    v.Abre();
    EXPECT_TRUE(v.g->Pic_Cancelar->isVisible());
    EXPECT_FALSE(v.g->Pic_Salir->Activo());
    ASSERT_TRUE(v.Espera());
    ASSERT_EQ(v.g->fase(), Garantia::Fase::Hecha) << v.g->resultado().mensaje;
    EXPECT_EQ(v.g->resultado().minimo, 13);
    EXPECT_EQ(v.g->resultado().porFila, (std::array<int64_t, 5>{18, 144, 0, 0, 0}));
    EXPECT_EQ(v.g->porcentaje(), 100);
    EXPECT_FALSE(v.g->Pic_Cancelar->isVisible());
    EXPECT_TRUE(v.g->Pic_Salir->Activo());
    EXPECT_EQ(QApplication::focusWidget(), v.g->Pic_Salir);

    QDir().mkpath("capturas");
    EXPECT_TRUE(v.g->grab().save(QStringLiteral("capturas/garantia.png")));

    for (auto* b : {v.g->Pic_Cancelar, v.g->Pic_Salir})
        EXPECT_FALSE(b->accessibleName().isEmpty()) << b->objectName().toStdString();
    EXPECT_EQ(v.g->Pic_Salir->objectName(), "Pic_Salir");
    QTest::keyClick(v.g->Pic_Salir, Qt::Key_Space);  // the focused button, from the keyboard
    EXPECT_FALSE(v.g->isVisible());
    EXPECT_EQ(v.sonidos.pedidos.back(), Sonido::Salida);
}

// Cancel stops the analysis, from the button or with Escape; a second Escape
// leaves. How fast it acts is the benchmark's business, not this test's.
TEST(VentanaGarantia, CancelarDetieneElCalculo) {
    Ventana v;
    // 1,594,323 columns: the analysis takes far longer than the click.
    v.Reduce(2, "1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2 1 1",
             "0,12");
    for (bool teclado : {false, true}) {
        // The analysis is held at its first step until the cancel has been
        // given, so that a fast machine cannot finish it first.
        std::atomic<bool> soltar{false};
        v.g = std::make_unique<Garantia>(v.st, v.sv);
        v.g->AlAvanzar = [&soltar](int) {
            while (!soltar.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        v.g->show();
        QTest::qWait(20);
        if (teclado)
            QTest::keyClick(v.g.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(v.g->Pic_Cancelar, Qt::LeftButton);
        soltar = true;
        ASSERT_TRUE(v.Espera());
        EXPECT_EQ(v.g->fase(), Garantia::Fase::Cancelada);
        EXPECT_TRUE(v.g->isVisible());
        QTest::keyClick(v.g.get(), Qt::Key_Escape);
        EXPECT_FALSE(v.g->isVisible());
    }
}

TEST(VentanaGarantia, UnFicheroDanadoSeDiceEnLaVentana) {
    Ventana v;
    v.Reduce(1, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1");
    const std::filesystem::path red = v.st.DirDatos / FicheroRed(12, 4);
    prueba::EscribeBytes(red, prueba::Bytes(red).substr(0, 100));
    v.Abre();
    ASSERT_TRUE(v.Espera());
    EXPECT_EQ(v.g->fase(), Garantia::Fase::Fallida);
    EXPECT_EQ(v.g->resultado().mensaje, TextoColumnasDanadas("RED1204.TBX", 6));
    EXPECT_TRUE(v.g->grab().save(QStringLiteral("capturas/garantia-danado.png")));
}

using prueba::CuandoVentana;

// What the guarantee window showed when a screen's button opened it; the
// window is left with Pic_Salir.
struct Vista {
    Garantia::Fase fase = Garantia::Fase::Calculando;
    int minimo = -1;
};
std::shared_ptr<Vista> CuandoGarantia() {
    auto v = std::make_shared<Vista>();
    CuandoVentana<Garantia>([v](Garantia* g) {
        QElapsedTimer t;
        t.start();
        while (g->fase() == Garantia::Fase::Calculando && t.elapsed() < 5000) QTest::qWait(5);
        *v = {g->fase(), g->resultado().minimo};
        QTest::mouseClick(g->Pic_Salir, Qt::LeftButton);
    });
    return v;
}

TEST(VentanaGarantia, ElNavegadorLaAbreParaLaReduccionQueMuestra) {
    Ventana v;
    LeeDatosGen(v.st);
    v.Reduce(1, "1X2* 1X2* 1X2* 1X2* 1X 1 1 1 1 1 1 1 1 1 X");
    consredu d(v.st, v.sv);
    d.show();
    ASSERT_TRUE(d.Pic_Garantia->Activo());
    EXPECT_EQ(d.Pic_Garantia->accessibleName(), QStringLiteral("Garantía de la reducción"));
    auto visto = CuandoGarantia();
    QTest::mouseClick(d.Pic_Garantia, Qt::LeftButton);
    EXPECT_EQ(visto->fase, Garantia::Fase::Hecha);
    EXPECT_EQ(visto->minimo, 13);

    v.st.Orden() = 5;  // no reduction there
    d.CargaConsulta();
    EXPECT_FALSE(d.Pic_Garantia->Activo());
}

// On the reduction screen the button waits for a finished run, and a change
// of the base quiniela turns it off again.
TEST(VentanaGarantia, LaPantallaDeReduccionLaAbreTrasUnaReduccionTerminada) {
    Ventana v;
    LeeDatosGen(v.st);
    v.Reduce(2, "1X2*=1 1X2*=X 1X2*=2 1X2*=1 1 1 1 1 1 1 1 1 1 1 1", "0,1");
    Reducir d(v.st, v.sv);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_FALSE(d.Pic_Garantia->Activo()) << "the screen may differ from what is stored";

    CuandoVentana<Mensajes>([](Mensajes* m) {  // it exists already: reduce again
        QTest::mouseClick(m->Pic_Reducir, Qt::LeftButton);
    });
    QSignalSpy fin(&d, &Reducir::reduccionAcabada);
    QTest::mouseClick(d.Pic_Reducir, Qt::LeftButton);
    ASSERT_TRUE(fin.count() > 0 || fin.wait(10000));
    EXPECT_FALSE(d.Pic_Garantia->Activo()) << "not while the progress panel is up";
    QTest::mouseClick(d.Pic_SalirPorcen, Qt::LeftButton);
    ASSERT_TRUE(d.Pic_Garantia->Activo());

    auto visto = CuandoGarantia();
    QTest::mouseClick(d.Pic_Garantia, Qt::LeftButton);
    EXPECT_EQ(visto->fase, Garantia::Fase::Hecha);
    EXPECT_EQ(visto->minimo, 11);  // 4 reduced matches, errors 0 to 1

    // Sign X of match 5 in the base grid (x = 222 + 20, y = 80 + 18 x 5).
    const QPoint celda(222 + 20 + 10, 80 + 18 * 5 + 6);
    QWidget* w = d.childAt(celda);
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(&d, celda));
    EXPECT_FALSE(d.Pic_Garantia->Activo());
}

}  // namespace
}  // namespace tobal
