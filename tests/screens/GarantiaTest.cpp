#include <QSignalSpy>
#include <atomic>
#include <chrono>
#include <thread>

#include "Entorno.h"
#include "data/DatosGen.h"
#include "reduction/Almacen.h"
#include "reduction/Base.h"
#include "reduction/Motor.h"
#include "platform/TextoLeido.h"
#include "screens/Garantia.h"
#include "screens/Reducir.h"
#include "screens/consredu.h"

namespace tobal {
namespace {

bool Calculada(Garantia* g) {
    return QTest::qWaitFor([g] { return g->fase() != Garantia::Fase::Calculando; }, 5000);
}

// A reduction 12/4 run by the engine, then its guarantee window.
struct Ventana : prueba::Entorno {
    Ventana(int metodo, const std::string& base, const std::string& errores = "") {
        LeeDatosGen(st);
        Reduccion& r = st.ReduccionActual;
        EXPECT_FALSE(LeeReduccion(metodo, base, errores.empty() ? std::nullopt : std::optional(errores),
                                  std::nullopt, r));
        r.Jornada = 12;
        r.Orden = 4;
        EXPECT_EQ(EjecutaReduccion(st).fin, FinReduccion::Terminada);
    }
    std::unique_ptr<Garantia> g;
};

const char* const kDirecta = "1X2* 1X2* 1X2* 1X2* 1X 1 1 1 1 1 1 1 1 1 X";

TEST(VentanaGarantia, CalculaEnSegundoPlanoYSeUsaConElTeclado) {
    Ventana v(1, kDirecta);
    v.g = v.Abre<Garantia>();
    ASSERT_TRUE(Calculada(v.g.get()));
    ASSERT_EQ(v.g->fase(), Garantia::Fase::Hecha) << v.g->resultado().mensaje;
    EXPECT_FALSE(v.g->Pic_Cancelar->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), v.g->Pic_Salir);
    // A screen reader gets the table, each row with its headings, and the
    // sentences under it.
    EXPECT_TRUE(v.g->Tab_Garantia->Texto().startsWith("Aciertos 14, Resultados ")) << v.g->Tab_Garantia->Texto().toStdString();
    EXPECT_EQ(v.g->Tex_Frase->Texto().toStdString(),
              FraseGarantia(v.g->resultado()) + "\n" + FraseGarantiaFuera(v.g->resultado()));
    prueba::Captura(v.g.get(), "garantia");
    prueba::TodosConNombre(v.g.get());
    QTest::keyClick(v.g->Pic_Salir, Qt::Key_Space);
    EXPECT_FALSE(v.g->isVisible());
}

// Cancel stops the analysis, from the button or with Escape; a second Escape leaves.
TEST(VentanaGarantia, CancelarDetieneElCalculo) {
    Ventana v(2,
              "1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2 1 1",
              "0,12");
    for (bool teclado : {false, true}) {
        // Held at its first step until the cancel is given.
        std::atomic<bool> soltar{false}, llegado{false};
        v.g = std::make_unique<Garantia>(v.st, v.sv);
        v.g->AlAvanzar = [&](int) {
            llegado = true;
            while (!soltar.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        v.g->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return llegado.load(); }, 5000));
        EXPECT_FALSE(v.g->Pic_Salir->Activo());
        if (teclado)
            QTest::keyClick(v.g.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(v.g->Pic_Cancelar, Qt::LeftButton);
        soltar = true;
        ASSERT_TRUE(Calculada(v.g.get()));
        EXPECT_EQ(v.g->fase(), Garantia::Fase::Cancelada);
        EXPECT_TRUE(v.g->isVisible());
        QTest::keyClick(v.g.get(), Qt::Key_Escape);
        EXPECT_FALSE(v.g->isVisible());
    }
}

// The minimum the window shows when a screen's button opens it.
std::shared_ptr<int> CuandoGarantia() {
    auto minimo = std::make_shared<int>(-1);
    prueba::CuandoVentana<Garantia>([minimo](Garantia* g) {
        if (Calculada(g) && g->fase() == Garantia::Fase::Hecha) *minimo = g->resultado().minimo;
        QTest::mouseClick(g->Pic_Salir, Qt::LeftButton);
    });
    return minimo;
}

// On the reduction screen the button waits for a finished run and a change
// of the base turns it off; the browser opens it for what it shows.
TEST(VentanaGarantia, ElNavegadorYLaPantallaDeReduccionLaAbren) {
    Ventana v(2, "1X2*=1 1X2*=X 1X2*=2 1X2*=1 1 1 1 1 1 1 1 1 1 1 1", "0,1");
    Reducir d(v.st, v.sv);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_FALSE(d.Pic_Garantia->Activo()) << "the screen may differ from what is stored";
    QString titulo;  // it exists already: reduce again
    prueba::AnotaMensaje(titulo, &Mensajes::Pic_Reducir);
    QSignalSpy fin(&d, &Reducir::reduccionAcabada);
    QTest::mouseClick(d.Pic_Reducir, Qt::LeftButton);
    ASSERT_TRUE(fin.count() > 0 || fin.wait(10000));
    EXPECT_FALSE(d.Pic_Garantia->Activo()) << "not while the progress panel is up";
    QTest::mouseClick(d.Pic_SalirPorcen, Qt::LeftButton);
    ASSERT_TRUE(d.Pic_Garantia->Activo());
    auto minimo = CuandoGarantia();
    QTest::mouseClick(d.Pic_Garantia, Qt::LeftButton);
    EXPECT_EQ(*minimo, 11);  // 4 reduced matches, errors 0 to 1

    // Sign X of match 5 in the base grid (x = 222 + 20, y = 80 + 18 x 5).
    const QPoint celda(222 + 20 + 10, 80 + 18 * 5 + 6);
    QWidget* w = d.childAt(celda);
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(&d, celda));
    EXPECT_FALSE(d.Pic_Garantia->Activo());
    d.close();

    consredu consulta(v.st, v.sv);
    consulta.show();
    minimo = CuandoGarantia();
    QTest::mouseClick(consulta.Pic_Garantia, Qt::LeftButton);
    EXPECT_EQ(*minimo, 11);
}

}  // namespace
}  // namespace tobal
