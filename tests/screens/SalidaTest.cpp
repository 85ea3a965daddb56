#include "Entorno.h"
#include "data/DatosGen.h"
#include "screens/Historic.h"
#include "screens/VistaReduccion.h"
#include "screens/listados.h"
#include "screens/salida.h"

namespace tobal {
namespace {

struct Pantalla : prueba::Entorno {
    explicit Pantalla(int jornada, int orden) {
        prueba::EscribeDatosGenDefecto(st.DirDatos);
        LeeDatosGen(st);
        prueba::GrabaReduccionPrueba(st, 7, 3, 17);
        st.Jornada() = static_cast<int16_t>(jornada), st.Orden() = static_cast<int16_t>(orden);
        s = Abre<salida>();
    }
    std::unique_ptr<salida> s;
};

TEST(Salida, CadaBotonAbreSuSalidaConLosBoletosDeLaReduccion) {
    Pantalla p(7, 3);
    EXPECT_EQ(p.st.NumBoletos, 3);
    prueba::Captura(p.s.get(), "salida");
    prueba::TodosConNombre(p.s.get());
    BotonDibujado* botones[] = {p.s->Pic_Quiniela, p.s->Pic_Boletos, p.s->Pic_Relacion, p.s->Pic_Disco,
                                p.s->Pic_Continuo};
    for (int t = 0; t < 5; ++t) {
        QString titulo;
        int16_t tipo = -1;
        prueba::CuandoVentana<Listados>([&](Listados* l) {
            titulo = l->windowTitle(), tipo = p.st.TipoSalida;
            l->reject();
        });
        p.sonidos.pedidos.clear();
        if (t == 4) {  // from the keyboard: the focus on a button, Space opens it
            botones[t]->setFocus();
            QTest::keyClick(botones[t], Qt::Key_Space);
        } else {
            QTest::mouseClick(botones[t], Qt::LeftButton);
        }
        EXPECT_EQ(std::make_pair(tipo, titulo), std::make_pair(int16_t(t), TituloSalida(t)));
        ASSERT_FALSE(p.sonidos.pedidos.empty());
        EXPECT_EQ(p.sonidos.pedidos.front(), 9);
    }
    QTest::mouseClick(p.s->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2400});
    p.sonidos.pedidos.clear();
    QTest::keyClick(p.s.get(), Qt::Key_Escape);
    EXPECT_FALSE(p.s->isVisible());
    EXPECT_EQ(p.sonidos.pedidos, std::vector<int>{5});
}

// An order not stored counts one ticket; picking the order in its box or a
// line of the index loads that reduction.
TEST(Salida, ElOrdenYElIndiceCarganOtraReduccion) {
    Pantalla p(7, 1);
    EXPECT_EQ(p.st.NumBoletos, 1);
    p.s->vista->Orden->Pulsa();
    p.s->vista->Orden->lista()->setCurrentRow(2);
    p.s->vista->Orden->Pulsa();
    EXPECT_EQ(std::make_pair(p.st.Orden(), p.st.NumBoletos), std::make_pair(int16_t(3), 3));
    prueba::GrabaReduccionPrueba(p.st, 9, 4, 8);
    p.st.Jornada() = 7, p.st.Orden() = 3;
    prueba::CuandoVentana<Historic>([](Historic* h) { h->Elige(1); });  // the second line: 9/4
    QTest::mouseClick(p.s->Pic_Indice, Qt::LeftButton);
    EXPECT_EQ(std::make_tuple(p.st.Jornada(), p.st.Orden(), p.st.NumBoletos), std::make_tuple(9, 4, 1));
}

}  // namespace
}  // namespace tobal
