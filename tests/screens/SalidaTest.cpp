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
        if (t == 4) {  // from the keyboard: the focus on a button, Space opens it
            botones[t]->setFocus();
            QTest::keyClick(botones[t], Qt::Key_Space);
        } else {
            QTest::mouseClick(botones[t], Qt::LeftButton);
        }
        EXPECT_EQ(std::make_pair(tipo, titulo), std::make_pair(int16_t(t), TituloSalida(t)));
    }
    QTest::mouseClick(p.s->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2400});
    QTest::keyClick(p.s.get(), Qt::Key_Escape);
    EXPECT_FALSE(p.s->isVisible());
}

}  // namespace
}  // namespace tobal
