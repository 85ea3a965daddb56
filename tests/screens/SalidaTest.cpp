#include "Entorno.h"
#include "data/DatosGen.h"
#include "reduction/Base.h"
#include "reduction/Motor.h"
#include "screens/Historic.h"
#include "screens/VistaReduccion.h"
#include "screens/listados.h"
#include "screens/salida.h"

namespace tobal {
namespace {

struct Pantalla : prueba::Entorno {
    Pantalla() {
        prueba::EscribeDatosGenDefecto(st.DirDatos);
        LeeDatosGen(st);
    }
    void Abre() { s = Entorno::Abre<salida>(); }
    std::unique_ptr<salida> s;
};

TEST(Salida, CargaCuentaLosBoletosYCadaBotonAbreSuSalida) {
    for (const auto& [columnas, boletos] : std::vector<std::pair<int, int>>{{17, 3}, {16, 2}, {1, 1}}) {
        Pantalla p;
        prueba::GrabaReduccionPrueba(p.st, 5, 2, columnas);
        p.st.Jornada() = 5;
        p.st.Orden() = 2;
        p.Abre();
        EXPECT_EQ(p.st.NumBoletos, boletos) << columnas;
    }
    // A reduction run by the engine: two doubles and a triple, around a
    // probable column.
    Pantalla p;
    Reduccion& r = p.st.ReduccionActual;
    ASSERT_FALSE(
        LeeReduccion(2, "1X*=1 X2*=2 1X2*=X 1 1 1 1 1 1 1 1 1 1 1 2", std::string("0,1"), std::nullopt, r));
    r.Jornada = 5;
    r.Orden = 2;
    ASSERT_EQ(EjecutaReduccion(p.st).fin, FinReduccion::Terminada);
    p.Abre();
    EXPECT_EQ(p.st.NumBoletos, 1);
    prueba::Captura(p.s.get(), "salida");
    prueba::TodosConNombre(p.s.get());
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(p.s->Pic_Quiniela);
    EXPECT_EQ(a->role(), QAccessible::Button);
    EXPECT_TRUE(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    BotonDibujado* botones[] = {p.s->Pic_Quiniela, p.s->Pic_Boletos, p.s->Pic_Relacion, p.s->Pic_Disco,
                                p.s->Pic_Continuo};
    for (int t = 0; t < 5; ++t) {
        QString titulo;
        int16_t tipo = -1;
        prueba::CuandoVentana<Listados>([&](Listados* l) {
            titulo = l->windowTitle();
            tipo = p.st.TipoSalida;
            l->reject();
        });
        p.sonidos.pedidos.clear();
        QTest::mouseClick(botones[t], Qt::LeftButton);
        EXPECT_EQ(tipo, t);
        EXPECT_EQ(titulo, TituloSalida(t));
        EXPECT_EQ(p.sonidos.pedidos.front(), 9);
    }
    // From the keyboard: the focus on a button, Space opens it.
    bool abierta = false;
    prueba::CuandoVentana<Listados>([&](Listados* l) {
        abierta = true;
        l->close();
    });
    p.s->Pic_Relacion->setFocus();
    QTest::keyClick(p.s->Pic_Relacion, Qt::Key_Space);
    EXPECT_TRUE(abierta);
    QTest::mouseClick(p.s->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2400});
    p.sonidos.pedidos.clear();
    QTest::keyClick(p.s.get(), Qt::Key_Escape);
    EXPECT_FALSE(p.s->isVisible());
    EXPECT_EQ(p.sonidos.pedidos, std::vector<int>{5});
}

TEST(Salida, SinReduccionUnBoletoYElegirOrdenYElIndiceCargan) {
    Pantalla p;
    prueba::GrabaReduccionPrueba(p.st, 7, 3, 40);
    p.st.Jornada() = 7;
    p.st.Orden() = 1;  // not stored: the defaults, one bet
    p.Abre();
    EXPECT_EQ(p.st.NumBoletos, 1);
    p.s->vista->Orden->Pulsa();
    p.s->vista->Orden->lista()->setCurrentRow(2);
    p.s->vista->Orden->Pulsa();
    EXPECT_EQ(p.st.Orden(), 3);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(p.s->vista->Orden)->text(QAccessible::Value), "3");
    EXPECT_EQ(p.st.NumBoletos, 5);

    prueba::GrabaReduccionPrueba(p.st, 9, 4, 8);
    p.st.Jornada() = 7;
    p.st.Orden() = 3;
    prueba::CuandoVentana<Historic>([](Historic* h) { h->Elige(1); });  // the second line: 9/4
    QTest::mouseClick(p.s->Pic_Indice, Qt::LeftButton);
    EXPECT_EQ(p.st.Jornada(), 9);
    EXPECT_EQ(p.st.Orden(), 4);
    EXPECT_EQ(p.st.NumBoletos, 1);
}

}  // namespace
}  // namespace tobal
