// Pictures of the drawn screens, written to capturas/ under the working
// folder for a person to look at; a few of their pixels are checked here.

#include "Entorno.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "screens/DatosGen.h"
#include "screens/Historic.h"
#include "screens/Jornadas.h"
#include "screens/Tb1x2.h"
#include "screens/borrar.h"
#include "screens/careta.h"
#include "screens/equipos.h"
#include "screens/mensajes.h"

namespace tobal {
namespace {

using prueba::Captura;

// Colours of a drawn button: yellow highlight, light grey face, dark-green shadow.
const QColor kAmarillo(255, 255, 0), kGrisClaro(192, 192, 192), kSombra(0, 64, 0);

TEST(Capturas, CaretaMenuDatosGeneralesYMensaje) {
    prueba::Entorno en;

    Careta careta(en.sv);
    int paso = 0;
    en.sv.pausa = [&](int) {
        if (++paso == 170) Captura(&careta, "careta");
        if (paso == 170) QTest::keyClick(&careta, Qt::Key_Escape);
    };
    careta.Ejecuta();

    Tb1x2 menu(en.st, en.sv);
    menu.show();
    // The first option raised at its corner (40, 185): highlight on its
    // corner, face inside, shadow 5 pixels beyond its 215 x 27.
    const QImage imagen = Captura(&menu, "menu");
    EXPECT_EQ(imagen.pixelColor(40, 185), kAmarillo);
    EXPECT_EQ(imagen.pixelColor(45, 205), kGrisClaro);
    EXPECT_EQ(imagen.pixelColor(40 + 217, 185 + 29), kSombra);
    EXPECT_EQ(imagen.pixelColor(300, 185), kAmarillo);
    menu.PonPantalla(OpcionMenu::Escrutinio, [&](Estado&, Servicios&, QWidget* padre) {
        // Pressed, its face sinks by 3 pixels towards the shadow.
        const QImage pulsado = Captura(&menu, "menu-pulsado");
        EXPECT_NE(pulsado.pixelColor(300, 185), kAmarillo);
        EXPECT_EQ(pulsado.pixelColor(303, 188), kAmarillo);
        auto d = std::make_unique<QDialog>(padre);
        QTimer::singleShot(0, d.get(), &QDialog::reject);
        return d;
    });
    QTest::mouseClick(&menu, Qt::LeftButton, {}, QPoint(400, 200));

    DatosGen d(en.st, en.sv);
    d.show();
    for (int campo : {DatosGen::Receptor, DatosGen::Sonido})  // two fields open
        QTest::mouseClick(&d, Qt::LeftButton, {}, DatosGen::AreaCampo(campo).topLeft() + QPoint(5, 5));
    Captura(&d, "datosgen");
    d.close();

    Mensajes m(en.st, en.sv);
    m.PonMensaje("BORRADO DE DATOS", "Se borrarán las jornadas 1 a 5.\r\n¿Desea continuar?",
                 BotonMensaje::Borrar);
    m.show();
    Captura(&m, "mensajes");
}

TEST(Capturas, Indice) {
    prueba::Entorno en;
    prueba::EscribeBytes(en.st.DirDatos / kFicheroBases, "");
    for (int n = 0; n < 22; ++n) prueba::GrabaReduccionPrueba(en.st, 3 + n / 5, 1 + n % 5, 4 + n);
    en.st.Jornada() = 3;
    en.st.Orden() = 2;
    Historic h(en.st, en.sv);
    h.show();
    h.Pic_Carpeta->setFocus();
    Captura(&h, "historic");
}

TEST(Capturas, JornadaYEquipos) {
    prueba::Entorno en;
    prueba::EscribeBytes(en.st.DirDatos / "EQUIPOS.TBX", "Betis\r\nCelta\r\n\xC9ibar\r\n");
    std::array<std::string, 30> nombres;
    for (int s = 0; s < 30; ++s) nombres[s] = s % 3 == 0 ? "Betis" : s % 3 == 1 ? "Celta" : "\xC9ibar";
    GrabaRegistroJornada(en.st, 12, RegistroEditor("", 12, "24/11/02", nombres));
    en.st.Jornada() = 12;
    Jornadas j(en.st, en.sv);
    j.show();
    j.PulsaFecha();
    Captura(&j, "jornadas");
    j.PulsaFecha();
    j.PulsaJornada();
    Captura(&j, "jornadas-lista");

    Equipos e(en.st, en.sv);
    e.show();
    Captura(&e, "equipos");

    Borrar b(en.st, en.sv);
    b.show();
    b.PulsaHasta();
    Captura(&b, "borrar");
}

}  // namespace
}  // namespace tobal
