#include <QClipboard>
#include <QLineEdit>

#include "Entorno.h"
#include "screens/equipos.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;

struct Lista : prueba::Entorno {
    explicit Lista(const char* fichero) {
        if (fichero) prueba::EscribeBytes(st.DirDatos / "EQUIPOS.TBX", fichero);
        l = Abre<Equipos>();
    }
    void Anade(const QString& nombre) {
        l->Tex_NuevoEquipo->clear();
        prueba::TecleaTexto(l->Tex_NuevoEquipo, nombre);
        QTest::keyClick(l->Tex_NuevoEquipo, Qt::Key_Return);
    }
    std::string Fichero() const { return prueba::Bytes(st.DirDatos / "EQUIPOS.TBX"); }
    std::unique_ptr<Equipos> l;
};

// The list keeps alphabetical order, accents sorting with their letter; a
// name is listed as typed and saved without blanks at its ends. Without a
// file: a notice, an empty list and an empty file.
TEST(Equipos, OrdenAlfabeticoYGuardarSinBlancos) {
    Lista sin(nullptr);
    ASSERT_EQ(sin.e.mensajes.mensajes.size(), 1u);
    EXPECT_NE(sin.e.mensajes.mensajes[0].find("Se ha procedido a crearlo"), std::string::npos);
    EXPECT_TRUE(fs::exists(sin.st.DirDatos / "EQUIPOS.TBX") && sin.Fichero().empty());

    Lista l("Zaragoza\r\nBetis\r\n");
    for (BotonImagen* b : {l.l->Pic_Añadir, l.l->Pic_Borrar, l.l->Pic_Guardar}) EXPECT_FALSE(b->Activo());
    for (const char* n : {"  Éibar ", "Alavés", "espanyol"}) l.Anade(n);
    EXPECT_EQ(l.l->Nombres(), QStringList({"Alavés", "Betis", "  Éibar ", "espanyol", "Zaragoza"}));
    EXPECT_TRUE(l.l->Tex_NuevoEquipo->text().isEmpty() && l.l->Tex_NuevoEquipo->hasFocus());
    QTest::mouseClick(l.l->Pic_Guardar, Qt::LeftButton);
    EXPECT_EQ(l.Fichero(), "Alav\xE9s\r\nBetis\r\n\xC9ibar\r\nespanyol\r\nZaragoza\r\n");
    EXPECT_FALSE(l.l->Pic_Guardar->Activo());
}

// What cannot go into the file, or would come back changed, is refused as
// it is typed or pasted, each refused character told: commas, quotes, line
// breaks, characters outside Windows-1252. Blanks alone are no name; more
// than 15 characters are cut without a word.
TEST(Equipos, LoQueNoCabeEnElFicheroNoSeEscribe) {
    struct Caso {
        QString tecleado, queda;
        int avisos;
        bool pegado = false;
    };
    for (const Caso& c : {Caso{"   ", "   ", 0}, Caso{"Real, \"Betis\"", "Real Betis", 3}, Caso{"Łódź 😀", "ód ", 3},
                          Caso{"Un nombre muy largo", "Un nombre muy l", 0}, Caso{"Foo\nBar", "", 1, true},
                          Caso{"Foo\x7f", "", 1, true}}) {
        SCOPED_TRACE(c.tecleado.toStdString());
        Lista l("");
        const QStringList avisos = prueba::TitulosMensajes([&] {
            if (!c.pegado) return prueba::TecleaTexto(l.l->Tex_NuevoEquipo, c.tecleado);
            QApplication::clipboard()->setText(c.tecleado);
            l.l->Tex_NuevoEquipo->paste();
        });
        EXPECT_EQ(avisos, QStringList(c.avisos, "CARÁCTER NO ADMITIDO"));
        EXPECT_EQ(l.l->Tex_NuevoEquipo->text(), c.queda);
        EXPECT_EQ(l.l->Pic_Añadir->Activo(), !c.queda.trimmed().isEmpty());
        QTest::keyClick(l.l->Tex_NuevoEquipo, Qt::Key_Return);
        EXPECT_EQ(l.l->Lis_Equipos->count(), c.queda.trimmed().isEmpty() ? 0 : 1);
    }
}

// Borrar needs a selection, by a click or from the keyboard, where Tab passes
// by what cannot be used yet; leaving without saving leaves the file as it was.
TEST(Equipos, BorrarConSeleccionYSalirSinGuardar) {
    const char* fichero = "Betis\r\nCelta\r\nOsasuna\r\n";
    Lista l(fichero);
    ASSERT_EQ(QApplication::focusWidget(), l.l->Tex_NuevoEquipo);
    EXPECT_EQ(prueba::RecorridoTab(4),
              (std::vector<std::string>{"Tex_NuevoEquipo=Nombre del equipo", "Lis_Equipos=Lista de equipos",
                                        "Pic_Ayuda=Ayuda", "Pic_Salir=Salir"}));
    QTest::mouseClick(l.l->Pic_Borrar, Qt::LeftButton);
    EXPECT_EQ(l.l->Lis_Equipos->count(), 3);
    prueba::ClicFila(l.l->Lis_Equipos, 1);
    ASSERT_TRUE(l.l->Pic_Borrar->Activo());
    QTest::mouseClick(l.l->Pic_Borrar, Qt::LeftButton);
    EXPECT_EQ(l.l->Nombres(), QStringList({"Betis", "Osasuna"}));
    l.l->Lis_Equipos->setFocus();
    QTest::keyClick(l.l->Lis_Equipos, Qt::Key_Down);
    l.l->Pic_Borrar->setFocus();
    QTest::keyClick(l.l->Pic_Borrar, Qt::Key_Space);
    EXPECT_EQ(l.l->Lis_Equipos->count(), 1);
    QTest::mouseClick(l.l->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(l.ayuda.pedidas, std::vector<int>{2151});
    QTest::keyClick(l.l->Pic_Borrar, Qt::Key_Escape);
    EXPECT_FALSE(l.l->isVisible());
    EXPECT_EQ(l.Fichero(), fichero);
}

}  // namespace
}  // namespace tobal
