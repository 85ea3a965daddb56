#include <QLineEdit>

#include "Entorno.h"
#include "data/DatosGen.h"
#include "screens/DatosGen.h"

namespace tobal {
namespace {

// The screen over a data folder holding the default settings.
struct Pantalla : prueba::Entorno {
    Pantalla() {
        LeeDatosGen(st);
        d = Abre<DatosGen>();
    }
    QLineEdit* Editor(int campo) const {
        return std::array{d->Tex_TotJor, d->Tex_PreApu, d->Tex_Delegacion, d->Tex_Receptor}[campo];
    }
    void PulsaCampo(int campo) {
        QTest::mouseClick(d.get(), Qt::LeftButton, {}, DatosGen::AreaCampo(campo).topLeft() + QPoint(8, 6));
    }
    // Opens the field, types into its editor and closes it by pressing the
    // area again; returns what the editor showed right after typing.
    QString Teclea(int campo, const QString& texto) {
        PulsaCampo(campo);
        prueba::Reescribe(Editor(campo), texto);
        const QString visto = Editor(campo)->text();
        PulsaCampo(campo);
        EXPECT_FALSE(Editor(campo)->isVisible());
        return visto;
    }
    std::string Fichero() const { return prueba::Bytes(st.DirDatos / "DATOSGEN.TBX"); }
    std::unique_ptr<DatosGen> d;
};

const std::string kGuardado30 = "1,\"01/09/02\",1,1,0,0,0,0,1,30,\"0.3 \",\"00\",\"00000\",\"Si\"\r\n";

// Typing filters, closing corrects; only a real change enables Guardar (a
// new price alone does not), and a disabled Guardar writes nothing.
TEST(DatosGen, CadaCampoFiltraCorrigeYSoloUnCambioActivaGuardar) {
    struct Caso {
        int campo;
        const char *tecleado, *visto, *queda;
        bool guarda;
    };
    for (const Caso& c : {Caso{DatosGen::TotJornadas, "0", "", "44", true},
                          Caso{DatosGen::TotJornadas, "42", "42", "42", false},
                          Caso{DatosGen::Receptor, "1-2.3", "123", "00123", true},
                          Caso{DatosGen::PrecioApuesta, "x.5b", ".5", "0.5 ", false}}) {
        SCOPED_TRACE(c.tecleado);
        Pantalla p;
        EXPECT_EQ(p.Teclea(c.campo, c.tecleado), c.visto);
        EXPECT_EQ(p.Editor(c.campo)->text(), c.queda);
        EXPECT_EQ(p.d->Pic_Guardar->Activo(), c.guarda);
        std::filesystem::remove(p.st.DirDatos / "DATOSGEN.TBX");
        QTest::mouseClick(p.d->Pic_Guardar, Qt::LeftButton);
        EXPECT_EQ(p.Fichero().empty(), !c.guarda);
        EXPECT_FLOAT_EQ(p.st.Datos.Precio, c.campo == DatosGen::PrecioApuesta ? 0.5f : 0.3f);
    }
}

// Guardar writes; leaving without saving restores what was saved; on
// leaving, the current matchday comes down to the total.
TEST(DatosGen, GuardarEscribeSalirSinGuardarRestauraYLaJornadaNoPasaDelTotal) {
    Pantalla p;
    p.st.Jornada() = 40;
    p.Teclea(DatosGen::TotJornadas, "30");
    QTest::mouseClick(p.d->Pic_Guardar, Qt::LeftButton);
    EXPECT_FALSE(p.d->Pic_Guardar->Activo());
    EXPECT_EQ(p.Fichero(), "40" + kGuardado30.substr(1));
    p.Teclea(DatosGen::Receptor, "99");
    QTest::mouseClick(p.d->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2700});
    QTest::mouseClick(p.d->Pic_Salir, Qt::LeftButton);
    EXPECT_FALSE(p.d->isVisible());
    EXPECT_EQ(std::make_tuple(p.st.Datos.Receptor, p.st.Datos.TotJornadas, p.st.Jornada()),
              std::make_tuple(std::string("00000"), 30, 30));
    EXPECT_EQ(p.Fichero(), "40" + kGuardado30.substr(1));
}

TEST(DatosGen, ElTecladoAbreYCierraCadaCampoYSale) {
    Pantalla p;
    QWidget* zona = QApplication::focusWidget();
    ASSERT_TRUE(zona);
    QTest::keyClick(zona, Qt::Key_Space);
    ASSERT_TRUE(p.d->Abierto(DatosGen::TotJornadas));
    EXPECT_EQ(QApplication::focusWidget(), p.d->Tex_TotJor);
    p.d->Tex_TotJor->selectAll();
    QTest::keyClicks(p.d->Tex_TotJor, "30");
    QTest::keyClick(p.d->Tex_TotJor, Qt::Key_Return);
    EXPECT_EQ(p.st.Datos.TotJornadas, 30);
    EXPECT_EQ(QApplication::focusWidget(), zona);
    EXPECT_EQ(prueba::Descripcion(zona), "30");  // the value, for a screen reader
    EXPECT_EQ(prueba::RecorridoTab(8),
              (std::vector<std::string>{"Campo_TotJor=Total jornadas", "Campo_PreApu=Precio apuesta",
                                        "Campo_Delegacion=Código Delegación",
                                        "Campo_Receptor=Código Receptor", "Campo_Sonido=Sonido activado",
                                        "Pic_Guardar=Guardar", "Pic_Ayuda=Ayuda", "Pic_Salir=Salir"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(p.d->isVisible());
}

}  // namespace
}  // namespace tobal
