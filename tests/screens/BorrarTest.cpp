#include <QPlainTextEdit>

#include "Entorno.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "screens/borrar.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;

struct Borrado : prueba::Entorno {
    Borrado() {
        for (int j : {5, 15, 50}) {
            EXPECT_EQ(GrabaRegistroJornada(st, j, RegistroEditor("", j, "01/09/02", {})), 0);
            for (int o : {1, 2}) prueba::GrabaReduccionPrueba(st, j, o, 2);
        }
        b = Abre<Borrar>();
    }
    void Elige(const QRect& area, QListWidget* lista, int n) {
        QTest::mouseClick(b.get(), Qt::LeftButton, {}, area.topLeft() + QPoint(8, 6));
        prueba::ClicFila(lista, n - 1);
        EXPECT_FALSE(lista->isVisible());
    }
    // Presses Pic_Borrar and answers the message window with its Borrar
    // button or with a key; returns the text it showed.
    QString PulsaBorrar(bool confirma) {
        QString texto;
        prueba::CuandoModal([&](QWidget* w) {
            auto* m = qobject_cast<Mensajes*>(w);
            texto = m->Tex_Titulo->text() + "|" + m->Tex_Mensaje->toPlainText();
            if (confirma)
                QTest::mouseClick(m->Pic_Borrar, Qt::LeftButton);
            else
                QTest::keyClick(m->Pic_Salir, Qt::Key_Escape);
        });
        QTest::mouseClick(b->Pic_Borrar, Qt::LeftButton);
        return texto;
    }
    bool Guardada(int j) const {
        return fs::exists(st.DirDatos / ("RED" + DosDigitos(j) + "01.TBX")) &&
               RegistroJornadaEnUso(LeeRegistroJornada(st, j), j);
    }
    std::unique_ptr<Borrar> b;
};

TEST(Borrar, LaPrimeraNuncaPasaDeLaUltima) {
    struct Caso {
        bool desde;
        int n, queda1, queda2;
    };
    Borrado en;
    ASSERT_EQ(en.b->Lis_JorIni->count(), 52);
    for (const Caso& c : {Caso{false, 10, 1, 10}, Caso{true, 40, 40, 40}, Caso{false, 3, 3, 3}}) {
        SCOPED_TRACE(c.n);
        en.Elige(c.desde ? Borrar::AreaDesde() : Borrar::AreaHasta(),
                 c.desde ? en.b->Lis_JorIni : en.b->Lis_JorFin, c.n);
        EXPECT_EQ(std::make_pair(en.b->Desde(), en.b->Hasta()), std::make_pair(c.queda1, c.queda2));
        EXPECT_EQ(en.b->Lis_JorFin->currentRow() + 1, c.queda2);
    }
    EXPECT_EQ(en.sonidos.pedidos, (std::vector<int>{6, 7, 6, 7, 6, 7}));
}

TEST(Borrar, SoloLaConfirmacionBorraYSoloElRango) {
    Borrado en;
    en.Elige(Borrar::AreaDesde(), en.b->Lis_JorIni, 5);
    en.sonidos.pedidos.clear();
    const QString texto = en.PulsaBorrar(false);
    EXPECT_TRUE(texto.startsWith("BORRADO DE DATOS|") && texto.contains("Jornada  5 ")) << texto.toStdString();
    for (int j : {5, 15, 50}) EXPECT_TRUE(en.Guardada(j)) << j;

    EXPECT_EQ(en.PulsaBorrar(true), texto);  // which records and files go is the deletion's own test
    EXPECT_FALSE(en.Guardada(5));
    EXPECT_TRUE(en.Guardada(15));
    EXPECT_EQ(en.sonidos.pedidos, (std::vector<int>{9, 9, 9}));
}

TEST(Borrar, ElTecladoEligeElRangoYSale) {
    Borrado en;
    ASSERT_EQ(QApplication::focusWidget(), en.b->Campo_Desde);
    EXPECT_EQ(prueba::RecorridoTab(5),
              (std::vector<std::string>{"Campo_Desde=Desde la jornada", "Campo_Hasta=Hasta la jornada",
                                        "Pic_Borrar=Borrar", "Pic_Ayuda=Ayuda", "Pic_Salir=Salir"}));
    en.b->Campo_Hasta->setFocus();
    QTest::keyClick(en.b->Campo_Hasta, Qt::Key_Space);
    ASSERT_EQ(QApplication::focusWidget(), en.b->Lis_JorFin);
    for (int i = 0; i < 12; ++i) QTest::keyClick(en.b->Lis_JorFin, Qt::Key_Down);
    QTest::keyClick(en.b->Lis_JorFin, Qt::Key_Return);
    EXPECT_EQ(en.b->Hasta(), 13);
    EXPECT_EQ(QApplication::focusWidget(), en.b->Campo_Hasta);
    // A screen reader hears each field's matchday.
    EXPECT_EQ(prueba::Descripcion(en.b->Campo_Desde) + "-" + prueba::Descripcion(en.b->Campo_Hasta),
              QString::number(en.b->Desde()) + "-13");
    QTest::keyClick(en.b->Campo_Hasta, Qt::Key_F1);
    EXPECT_EQ(en.ayuda.pedidas, std::vector<int>{2800});
    QTest::keyClick(en.b->Campo_Hasta, Qt::Key_Escape);
    EXPECT_FALSE(en.b->isVisible());
}

}  // namespace
}  // namespace tobal
