#include <QClipboard>
#include <QComboBox>

#include "Entorno.h"
#include "data/Jornadas.h"
#include "screens/EntradaTexto.h"
#include "screens/Jornadas.h"
#include "screens/equipos.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;

struct Editor : prueba::Entorno {
    explicit Editor(int jornada = 3) {
        prueba::EscribeBytes(st.DirDatos / "EQUIPOS.TBX", "Betis\r\n\xC9ibar\r\nOsasuna\r\n");
        st.Jornada() = static_cast<int16_t>(jornada);
        j = Abre<Jornadas>();
    }
    void EligeJornada(int n) {
        QTest::mouseClick(j.get(), Qt::LeftButton, {}, QPoint(38, 28));
        prueba::ClicFila(j->Lis_Jornadas, n - 1);
    }
    // Types a date and closes it with Enter; the title of the message shown, if any.
    QString Fecha(const QString& dia, const QString& mes, const QString& ano) {
        if (!j->FechaAbierta()) QTest::mouseClick(j.get(), Qt::LeftButton, {}, QPoint(238, 28));
        for (QLineEdit* caja : {j->Tex_FecDia, j->Tex_FecMes, j->Tex_FecAno}) caja->clear();
        QTest::keyClicks(j->Tex_FecDia, dia);
        QTest::keyClicks(j->Tex_FecMes, mes);
        QTest::keyClicks(j->Tex_FecAno, ano);
        return prueba::TitulosMensajes([&] { QTest::keyClick(j->Tex_FecAno, Qt::Key_Return); }).join('|');
    }
    QString Guarda() {
        return prueba::TitulosMensajes([&] { QTest::mouseClick(j->Pic_Guardar, Qt::LeftButton); }).join('|');
    }
    void Escribe(int s, const QString& texto) {
        QLineEdit* ed = j->Cbo_Equipo[s]->lineEdit();
        ed->selectAll();
        QTest::keyClick(ed, Qt::Key_Delete);
        prueba::TecleaTexto(ed, texto);
    }
    std::string Registro(int n) const {
        const std::string f = prueba::Bytes(st.DirDatos / "JORNADAS.TBX");
        return f.size() >= size_t(n) * 533 ? f.substr(size_t(n - 1) * 533, 533) : "";
    }
    std::unique_ptr<Jornadas> j;
};

// No date on a matchday never saved (00/00/00), or a bad one, is refused when the field closes and again
// on Guardar, and nothing is written; a good one is, with each box.
TEST(Jornadas, GuardarEscribeElRegistroYReleerloDevuelveCadaCaja) {
    Editor ed(3);
    ed.Escribe(2, "Betis");
    EXPECT_EQ(ed.Guarda(), "ERROR EN LA FECHA");
    EXPECT_EQ(ed.Fecha("31", "02", "03"), "ERROR EN LA FECHA");
    EXPECT_TRUE(ed.j->FechaAbierta() && ed.j->Pic_FecJor->isVisible());
    EXPECT_EQ(ed.Guarda(), "ERROR EN LA FECHA");
    EXPECT_EQ(ed.Registro(3), "");
    EXPECT_TRUE(ed.j->Pic_Guardar->Activo());
    const std::string anterior = RegistroEditor("", 7, "01/01/02", {});
    ASSERT_EQ(GrabaRegistroJornada(ed.st, 7, anterior), 0);

    ed.EligeJornada(7);
    EXPECT_FALSE(ed.j->Pic_Guardar->Activo());
    EXPECT_EQ(ed.Fecha("5", "9", "2"), "");
    // Windows-1252 names as such, cut to 15, the rest refused as typed.
    std::array<std::string, 30> esperados;
    for (const auto& [s, tecleado, guardado] : {std::tuple<int, QString, std::string>{3, "Éibar", "\xC9ibar"},
                                                {4, "Un nombre de veinte c", "Un nombre de ve"},
                                                {30, "Łódź", "\xF3\x64"}}) {
        EXPECT_EQ(prueba::TitulosMensajes([&] { ed.Escribe(s, tecleado); }),
                  QStringList(s == 30 ? 2 : 0, "CARÁCTER NO ADMITIDO"));
        esperados[size_t(s) - 1] = guardado;
    }
    EXPECT_EQ(ed.Guarda(), "");
    EXPECT_FALSE(ed.j->Pic_Guardar->Activo());
    EXPECT_EQ(ed.Registro(7), RegistroEditor(anterior, 7, "05/09/02", esperados));

    ed.j->close();
    ed.j = ed.Abre<Jornadas>();
    EXPECT_EQ(ed.j->Tex_FecMes->text(), "09");
    for (int s = 1; s <= 30; ++s)
        EXPECT_EQ(ACp1252(ed.j->Cbo_Equipo[s]->currentText()), esperados[s - 1]) << s;
}

// While the editor is open, tobal31-cli scores the matchday and then changes its teams: the results survive
// a save without a word; the teams changed are told and not overwritten until Guardar is pressed again. A
// name the boxes refuse, come from the file, is not saved either.
TEST(Jornadas, LoQueOtroGrabaMientrasEstaAbiertaNoSePierde) {
    Editor ed(12);
    ASSERT_EQ(GrabaRegistroJornada(ed.st, 12, prueba::RegistroJornadaPrueba(12, "01/09/02")), 0);
    prueba::GrabaReduccionPrueba(ed.st, 12, 1, 9);
    ed.EligeJornada(12);
    const auto cli = [&](std::vector<std::string> args) {
        EXPECT_EQ(prueba::EjecutaCliEn(ed.st.DirDatos, args).codigo, 0);
        return ed.Registro(12);
    };
    cli({"escrutar", "--jornada", "12", "--orden", "1", "--ganadora", "222222222222222"});
    ed.Escribe(5, "Betis");
    EXPECT_EQ(ed.Guarda(), "");
    EXPECT_EQ(NombreEquipo(ed.Registro(12), 5), "Betis");
    EXPECT_EQ(ed.Registro(12).substr(kPosResultados - 1, 15), "333333333333333");

    const std::string otro =
        cli({"jornada", "12", "--fecha", "03/10/02", "--partido", "2", "Otro3", "Otro4"});
    ed.Escribe(6, "Osasuna");
    EXPECT_EQ(ed.Guarda(), "JORNADA CAMBIADA");
    EXPECT_EQ(ed.Registro(12), otro);
    EXPECT_EQ(ed.Guarda(), "");
    EXPECT_EQ(
        ed.Registro(12).substr(5, 8) + NombreEquipo(ed.Registro(12), 3) + NombreEquipo(ed.Registro(12), 6),
        "01/09/02Equipo3Osasuna");
    EXPECT_EQ(ed.Registro(12).substr(kPosResultados - 1), otro.substr(kPosResultados - 1));

    std::array<std::string, 30> raros;
    raros[2] = "Cad\r\niz";
    ASSERT_EQ(GrabaRegistroJornada(ed.st, 12, RegistroEditor(otro, 12, "01/09/02", raros)), 0);
    const std::string antes = ed.Registro(12);
    ed.EligeJornada(12);
    ed.Escribe(1, "Betis");
    EXPECT_EQ(ed.Guarda(), "NOMBRE DE EQUIPO NO VÁLIDO");
    EXPECT_EQ(ed.Registro(12), antes);
}

TEST(Jornadas, ElTecladoLlegaATodoYCadaControlTieneNombre) {
    Editor ed(1);
    ASSERT_EQ(QApplication::focusWidget(), ed.j->Campo_Jornada);
    QTest::keyClick(ed.j->Campo_Jornada, Qt::Key_Space);
    ASSERT_EQ(QApplication::focusWidget(), ed.j->Lis_Jornadas);
    QTest::keyClick(ed.j->Lis_Jornadas, Qt::Key_Down);
    QTest::keyClick(ed.j->Lis_Jornadas, Qt::Key_Return);
    EXPECT_EQ(ed.st.Jornada(), 2);
    QTest::keyClick(prueba::Foco(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ed.j->Campo_Fecha);
    EXPECT_EQ(prueba::Descripcion(ed.j->Campo_Fecha).toStdString(), ed.st.Datos.FechaJornada);
    QTest::keyClick(ed.j->Campo_Fecha, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), ed.j->Tex_FecDia);
    QTest::keyClicks(ed.j->Tex_FecDia, "12");  // a full box passes on
    QTest::keyClicks(prueba::Foco(), "11");
    QTest::keyClicks(prueba::Foco(), "02");
    EXPECT_TRUE(prueba::TitulosMensajes([] { QTest::keyClick(prueba::Foco(), Qt::Key_Enter); }).isEmpty());
    EXPECT_EQ(ed.st.Datos.FechaJornada, "12/11/02");
    ed.j->Cbo_Equipo[30]->setFocus();
    QTest::keyClick(prueba::Foco(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ed.j->Pic_Guardar);
    // A screen reader hears which box it is, and its team as the value.
    ed.j->Cbo_Equipo[8]->setEditText(QStringLiteral("Éibar"));
    QAccessibleInterface* caja = QAccessible::queryAccessibleInterface(ed.j->Cbo_Equipo[8]);
    EXPECT_EQ(caja->text(QAccessible::Name) + "=" + caja->text(QAccessible::Value),
              "Partido 4, equipo de fuera=Éibar");
    // The teams list opened from the editor: a team added there is offered, what is typed stays.
    ed.Escribe(5, "Osa");
    prueba::CuandoVentana<Equipos>([&](Equipos* lista) {
        prueba::TecleaTexto(lista->Tex_NuevoEquipo, "Alavés");
        QTest::keyClick(lista->Tex_NuevoEquipo, Qt::Key_Return);
        QTest::mouseClick(lista->Pic_Guardar, Qt::LeftButton);
        QTest::keyClick(lista, Qt::Key_Escape);
    });
    QTest::mouseClick(ed.j->Pic_Equipos, Qt::LeftButton);
    EXPECT_EQ(ed.j->Cbo_Equipo[30]->itemText(0), "Alavés");
    EXPECT_EQ(ed.j->Cbo_Equipo[5]->currentText(), "Osa");
    EXPECT_TRUE(prueba::SaleConEscape(ed.j->Cbo_Equipo[5]));
}

struct Lista : prueba::Entorno {
    explicit Lista(const char* fichero) {
        if (fichero) prueba::EscribeBytes(st.DirDatos / "EQUIPOS.TBX", fichero);
        l = Abre<Equipos>();
    }
    std::string Fichero() const { return prueba::Bytes(st.DirDatos / "EQUIPOS.TBX"); }
    std::unique_ptr<Equipos> l;
};

// What cannot go into the file, or would come back changed, is refused as it is typed or pasted, each
// refused character told: commas, quotes, line breaks, characters outside Windows-1252. Blanks alone are
// no name; more than 15 characters are cut without a word.
TEST(Equipos, LoQueNoCabeEnElFicheroNoSeEscribe) {
    struct Caso {
        QString tecleado, queda;
        int avisos;
        bool pegado = false;
    };
    for (const Caso& c : {Caso{"   ", "   ", 0}, Caso{"Real, \"Betis\"", "Real Betis", 3},
                          Caso{"Łódź 😀", "ód ", 3}, Caso{"Un nombre muy largo", "Un nombre muy l", 0},
                          Caso{"Foo\nBar", "", 1, true}, Caso{"Foo\x7f", "", 1, true}}) {
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

// Accents sort with their letter; a name is listed as typed and saved without blanks at its ends. Tab
// passes by what cannot be used yet, and Borrar needs a selection.
TEST(Equipos, OrdenAlfabeticoGuardarSinBlancosYBorrarConSeleccion) {
    Lista sin(nullptr);
    ASSERT_EQ(sin.e.mensajes.mensajes.size(), 1u);
    EXPECT_NE(sin.e.mensajes.mensajes[0].find("Se ha procedido a crearlo"), std::string::npos);
    EXPECT_TRUE(fs::exists(sin.st.DirDatos / "EQUIPOS.TBX") && sin.Fichero().empty());

    Lista l("Zaragoza\r\nBetis\r\n");
    for (BotonImagen* b : {l.l->Pic_Añadir, l.l->Pic_Borrar, l.l->Pic_Guardar}) EXPECT_FALSE(b->Activo());
    for (const char* n : {"  Éibar ", "Alavés", "espanyol"}) {
        prueba::TecleaTexto(l.l->Tex_NuevoEquipo, n);
        QTest::keyClick(l.l->Tex_NuevoEquipo, Qt::Key_Return);
    }
    EXPECT_EQ(l.l->Nombres(), QStringList({"Alavés", "Betis", "  Éibar ", "espanyol", "Zaragoza"}));
    EXPECT_TRUE(l.l->Tex_NuevoEquipo->text().isEmpty() && l.l->Tex_NuevoEquipo->hasFocus());
    QTest::mouseClick(l.l->Pic_Guardar, Qt::LeftButton);

    EXPECT_EQ(prueba::RecorridoTab(4),
              (std::vector<std::string>{"Tex_NuevoEquipo=Nombre del equipo", "Lis_Equipos=Lista de equipos",
                                        "Pic_Ayuda=Ayuda", "Pic_Salir=Salir"}));
    QTest::mouseClick(l.l->Pic_Borrar, Qt::LeftButton);
    prueba::ClicFila(l.l->Lis_Equipos, 1);
    QTest::mouseClick(l.l->Pic_Borrar, Qt::LeftButton);
    EXPECT_EQ(l.l->Nombres(), QStringList({"Alavés", "  Éibar ", "espanyol", "Zaragoza"}));
    l.l->Lis_Equipos->setFocus();
    QTest::keyClick(l.l->Lis_Equipos, Qt::Key_Down);
    l.l->Pic_Borrar->setFocus();
    QTest::keyClick(l.l->Pic_Borrar, Qt::Key_Space);
    EXPECT_EQ(l.l->Lis_Equipos->count(), 3);
    QTest::mouseClick(l.l->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(l.ayuda.pedidas, std::vector<int>{2151});
    EXPECT_TRUE(prueba::SaleConEscape(l.l->Pic_Borrar));
    EXPECT_EQ(l.Fichero(), "Alav\xE9s\r\nBetis\r\n\xC9ibar\r\nespanyol\r\nZaragoza\r\n");
}

}  // namespace
}  // namespace tobal
