#include "Entorno.h"
#include "screens/Tb1x2.h"

namespace tobal {
namespace {

using prueba::Captura;

// Colours of a drawn button: yellow highlight, light grey face, dark-green shadow.
const QColor kAmarillo(255, 255, 0), kGrisClaro(192, 192, 192), kSombra(0, 64, 0);

// A menu option drawn raised at its corner (40, 185): highlight on the
// corner, face inside, shadow 5 pixels beyond its 215 x 27; pressed, its face
// sinks by 3 pixels towards the shadow.
TEST(Dibujo, OpcionDelMenuRealzadaYPulsada) {
    prueba::Entorno en;
    Tb1x2 menu(en.st, en.sv);
    menu.show();
    const QImage imagen = Captura(&menu, "menu");
    EXPECT_EQ(imagen.pixelColor(40, 185), kAmarillo);
    EXPECT_EQ(imagen.pixelColor(45, 205), kGrisClaro);
    EXPECT_EQ(imagen.pixelColor(40 + 217, 185 + 29), kSombra);
    EXPECT_EQ(imagen.pixelColor(300, 185), kAmarillo);
    bool abierta = false;
    menu.PonPantalla(OpcionMenu::Escrutinio, [&](Estado&, Servicios&, QWidget* padre) {
        const QImage pulsado = Captura(&menu, "menu-pulsado");
        EXPECT_NE(pulsado.pixelColor(300, 185), kAmarillo);
        EXPECT_EQ(pulsado.pixelColor(303, 188), kAmarillo);
        abierta = true;
        auto d = std::make_unique<QDialog>(padre);
        QTimer::singleShot(0, d.get(), &QDialog::reject);
        return d;
    });
    QTest::mouseClick(&menu, Qt::LeftButton, {}, QPoint(400, 200));
    EXPECT_TRUE(abierta);
}

}  // namespace
}  // namespace tobal
