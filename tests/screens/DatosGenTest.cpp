#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "Entorno.h"
#include "app/Estado.h"
#include "data/DatosGen.h"
#include "platform/BotonImagen.h"
#include "screens/DatosGen.h"
#include "screens/ReglasDatosGen.h"

namespace tobal {
namespace {

using prueba::Entorno;

// The screen over a data folder holding the default settings.
struct Pantalla : Entorno {
    Pantalla() {
        LeeDatosGen(st);
        e.mensajes.mensajes.clear();
        d = std::make_unique<DatosGen>(st, sv);
        d->show();
        d->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(d.get()));
    }
    void PulsaCampo(int campo) {
        QTest::mouseClick(d.get(), Qt::LeftButton, {}, DatosGen::AreaCampo(campo).topLeft() + QPoint(8, 6));
    }
    // Opens the field, types into its editor and closes it by pressing the
    // area again; returns what the editor showed right after typing.
    QString Teclea(int campo, QLineEdit* ed, const QString& texto) {
        PulsaCampo(campo);
        EXPECT_TRUE(ed->isVisible());
        ed->selectAll();
        QTest::keyClick(ed, Qt::Key_Backspace);
        QTest::keyClicks(ed, texto);
        const QString visto = ed->text();
        PulsaCampo(campo);
        EXPECT_FALSE(ed->isVisible());
        return visto;
    }
    std::string Fichero() const { return prueba::Bytes(st.DirDatos / "DATOSGEN.TBX"); }
    std::unique_ptr<DatosGen> d;
};

TEST(DatosGen, TotalDeJornadasFueraDeRangoSeCorrige) {
    Pantalla p;
    EXPECT_FALSE(p.d->Pic_Guardar->Activo());
    EXPECT_EQ(p.Teclea(DatosGen::TotJornadas, p.d->Tex_TotJor, "0"), "");
    EXPECT_EQ(p.st.Datos.TotJornadas, 44);
    EXPECT_TRUE(p.d->Pic_Guardar->Activo());
    EXPECT_EQ(p.d->Tex_TotJor->text(), "44");

    EXPECT_EQ(p.Teclea(DatosGen::TotJornadas, p.d->Tex_TotJor, "605"), "60");  // no third digit
    EXPECT_EQ(p.st.Datos.TotJornadas, 52);
    // A blank empties the box like any value out of range.
    EXPECT_EQ(p.Teclea(DatosGen::TotJornadas, p.d->Tex_TotJor, " 38"), "38");
    EXPECT_EQ(p.st.Datos.TotJornadas, 38);
    EXPECT_EQ(p.sonidos.pedidos, (std::vector<int>{6, 7, 6, 7, 6, 7}));
}

TEST(DatosGen, CodigosConCerosDelanteYSoloDigitos) {
    Pantalla p;
    EXPECT_EQ(p.Teclea(DatosGen::Delegacion, p.d->Tex_Delegacion, "a7"), "7");
    EXPECT_EQ(p.st.Datos.Delegacion, "07");
    EXPECT_TRUE(p.d->Pic_Guardar->Activo());
    EXPECT_EQ(p.Teclea(DatosGen::Receptor, p.d->Tex_Receptor, "1-2.3"), "123");
    EXPECT_EQ(p.st.Datos.Receptor, "00123");
    EXPECT_EQ(p.d->Tex_Receptor->text(), "00123");
}

TEST(DatosGen, ElMismoValorNoActivaGuardar) {
    Pantalla p;
    p.Teclea(DatosGen::Delegacion, p.d->Tex_Delegacion, "0");
    p.Teclea(DatosGen::TotJornadas, p.d->Tex_TotJor, "42");
    EXPECT_FALSE(p.d->Pic_Guardar->Activo());
    // A new price alone does not enable saving either.
    EXPECT_EQ(p.Teclea(DatosGen::PrecioApuesta, p.d->Tex_PreApu, "x.5b"), ".5");
    EXPECT_EQ(p.st.Datos.PrecioApuesta, "0.5 ");
    EXPECT_FLOAT_EQ(p.st.Datos.Precio, 0.5f);
    EXPECT_EQ(p.d->Tex_PreApu->text(), "0.5 ");
    EXPECT_FALSE(p.d->Pic_Guardar->Activo());
    // A disabled save button writes nothing.
    std::filesystem::remove(p.st.DirDatos / "DATOSGEN.TBX");
    QTest::mouseClick(p.d->Pic_Guardar, Qt::LeftButton);
    EXPECT_FALSE(std::filesystem::exists(p.st.DirDatos / "DATOSGEN.TBX"));
}

TEST(DatosGen, ElFiltroDelPrecioDejaElCursorDondeEstaba) {
    Pantalla p;
    p.PulsaCampo(DatosGen::PrecioApuesta);
    QLineEdit* ed = p.d->Tex_PreApu;
    ed->setText("12");
    ed->setCursorPosition(1);
    QTest::keyClick(ed, Qt::Key_Z);
    EXPECT_EQ(ed->text(), "12");
    EXPECT_EQ(ed->cursorPosition(), 1);
    QTest::keyClick(ed, Qt::Key_Period);
    EXPECT_EQ(ed->text(), "1.2");
    EXPECT_EQ(ed->cursorPosition(), 2);
}

TEST(DatosGen, SonidoSeEligeEnLaLista) {
    Pantalla p;
    p.PulsaCampo(DatosGen::Sonido);
    ASSERT_TRUE(p.d->Lis_Sonido->isVisible());
    EXPECT_EQ(p.d->Lis_Sonido->currentItem()->text(), "Si");
    QListWidgetItem* no = p.d->Lis_Sonido->item(1);
    const QRect r = p.d->Lis_Sonido->visualItemRect(no);
    QTest::mouseClick(p.d->Lis_Sonido->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_FALSE(p.d->Abierto(DatosGen::Sonido));
    EXPECT_EQ(p.st.Datos.Sonido, "No");
    EXPECT_TRUE(p.d->Pic_Guardar->Activo());
    // From now on the screen is silent: the field's own closing sound was
    // asked for while the sounds were still on.
    EXPECT_EQ(p.sonidos.pedidos, (std::vector<int>{6, 7}));
    p.PulsaCampo(DatosGen::TotJornadas);
    EXPECT_EQ(p.sonidos.pedidos.size(), 2u);
}

TEST(DatosGen, IntroYPerderElFocoCierranElCampo) {
    Pantalla p;
    p.PulsaCampo(DatosGen::TotJornadas);
    p.d->Tex_TotJor->selectAll();
    QTest::keyClicks(p.d->Tex_TotJor, "30");
    QTest::keyClick(p.d->Tex_TotJor, Qt::Key_Return);
    EXPECT_FALSE(p.d->Abierto(DatosGen::TotJornadas));
    EXPECT_EQ(p.st.Datos.TotJornadas, 30);

    p.PulsaCampo(DatosGen::Delegacion);
    EXPECT_EQ(QApplication::focusWidget(), p.d->Tex_Delegacion);
    p.d->Tex_Delegacion->selectAll();
    QTest::keyClicks(p.d->Tex_Delegacion, "5");
    p.PulsaCampo(DatosGen::Receptor);  // the receptor's box takes the focus
    EXPECT_FALSE(p.d->Abierto(DatosGen::Delegacion));
    EXPECT_TRUE(p.d->Abierto(DatosGen::Receptor));
    EXPECT_EQ(p.st.Datos.Delegacion, "05");
}

TEST(DatosGen, GuardarEscribeYSalirSinGuardarRestaura) {
    Pantalla p;
    p.Teclea(DatosGen::TotJornadas, p.d->Tex_TotJor, "30");
    QTest::mouseClick(p.d->Pic_Guardar, Qt::LeftButton);
    EXPECT_FALSE(p.d->Pic_Guardar->Activo());
    EXPECT_EQ(p.Fichero(), "1,\"01/09/02\",1,1,0,0,0,0,1,30,\"0.3 \",\"00\",\"00000\",\"Si\"\r\n");

    p.Teclea(DatosGen::Receptor, p.d->Tex_Receptor, "99");
    p.Teclea(DatosGen::PrecioApuesta, p.d->Tex_PreApu, "1.5");
    p.PulsaCampo(DatosGen::TotJornadas);  // left open
    QTest::keyClicks(p.d->Tex_TotJor, "9");
    p.sonidos.pedidos.clear();
    QTest::mouseClick(p.d->Pic_Salir, Qt::LeftButton);
    EXPECT_FALSE(p.d->isVisible());
    EXPECT_EQ(p.sonidos.pedidos, std::vector<int>{5});
    EXPECT_EQ(p.st.Datos.Receptor, "00000");
    EXPECT_EQ(p.st.Datos.PrecioApuesta, "0.3 ");
    EXPECT_FLOAT_EQ(p.st.Datos.Precio, 0.3f);
    EXPECT_EQ(p.st.Datos.TotJornadas, 30);
    EXPECT_EQ(p.Fichero(), "1,\"01/09/02\",1,1,0,0,0,0,1,30,\"0.3 \",\"00\",\"00000\",\"Si\"\r\n");
}

TEST(DatosGen, AlSalirLaJornadaNoPasaDelTotal) {
    Pantalla p;
    p.st.Jornada() = 40;
    p.Teclea(DatosGen::TotJornadas, p.d->Tex_TotJor, "38");
    QTest::mouseClick(p.d->Pic_Guardar, Qt::LeftButton);
    EXPECT_EQ(p.Fichero().substr(0, 3), "40,");
    p.d->close();  // any way of closing the screen
    EXPECT_EQ(p.st.Jornada(), 38);
}

TEST(DatosGen, AyudaDeLaPantalla) {
    Pantalla p;
    QTest::mouseClick(p.d->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2700});
    EXPECT_EQ(p.sonidos.pedidos, std::vector<int>{9});
}

TEST(ReglasDatosGen, Filtros) {
    EXPECT_EQ(FiltraTotJornadas(" 7"), "7");
    EXPECT_EQ(FiltraTotJornadas("0"), "");
    EXPECT_EQ(FiltraTotJornadas("ab"), "");
    EXPECT_EQ(CierraTotJornadas(""), 44);
    EXPECT_EQ(CierraTotJornadas("53"), 52);
    EXPECT_EQ(CierraTotJornadas("52"), 52);
    EXPECT_EQ(CierraTotJornadas("1"), 1);
    const TextoFiltrado f = QuitaCaracteres("a1b2c", 4, kDigitos);
    EXPECT_EQ(f.texto, "12");
    EXPECT_EQ(f.cursor, 2);
    EXPECT_EQ(CerosDelante("", 2), "00");
    EXPECT_EQ(CerosDelante("123", 2), "123");
}

}  // namespace
}  // namespace tobal
