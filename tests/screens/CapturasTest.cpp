// Pictures of the drawn screens, written to capturas/ under the working
// folder for a person to look at.

#include <QDir>

#include "Entorno.h"
#include "reduction/Almacen.h"
#include "screens/DatosGen.h"
#include "screens/Historic.h"
#include "screens/Tb1x2.h"
#include "screens/careta.h"
#include "screens/mensajes.h"

namespace tobal {
namespace {

void Guarda(QWidget* w, const char* nombre) {
    QDir().mkpath("capturas");
    EXPECT_TRUE(w->grab().save(QStringLiteral("capturas/%1.png").arg(nombre))) << nombre;
}

TEST(Capturas, CaretaMenuDatosGeneralesYMensaje) {
    prueba::Entorno en;

    Careta careta(en.sv);
    int paso = 0;
    en.sv.pausa = [&](int) {
        if (++paso == 170) Guarda(&careta, "careta");
        if (paso == 170) QTest::keyClick(&careta, Qt::Key_Escape);
    };
    careta.Ejecuta();

    Tb1x2 menu(en.st, en.sv);
    menu.show();
    Guarda(&menu, "menu");
    menu.PonPantalla(OpcionMenu::Escrutinio, [&](Estado&, Servicios&, QWidget* padre) {
        Guarda(&menu, "menu-pulsado");
        auto d = std::make_unique<QDialog>(padre);
        QTimer::singleShot(0, d.get(), &QDialog::reject);
        return d;
    });
    QTest::mouseClick(&menu, Qt::LeftButton, {}, QPoint(400, 200));

    DatosGen d(en.st, en.sv);
    d.show();
    for (int campo : {DatosGen::Receptor, DatosGen::Sonido})  // two fields open
        QTest::mouseClick(&d, Qt::LeftButton, {}, DatosGen::AreaCampo(campo).topLeft() + QPoint(5, 5));
    Guarda(&d, "datosgen");
    d.close();

    Mensajes m(en.st, en.sv);
    m.PonMensaje("BORRADO DE DATOS", "Se borrarán las jornadas 1 a 5.\r\n¿Desea continuar?", BotonMensaje::Borrar);
    m.show();
    Guarda(&m, "mensajes");
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
    Guarda(&h, "historic");
}

}  // namespace
}  // namespace tobal
