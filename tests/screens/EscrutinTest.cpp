#include <QClipboard>

#include "Entorno.h"
#include "data/Jornadas.h"
#include "output/ImpresoraGrabadora.h"
#include "scoring/Escrutinio.h"
#include "screens/VistaReduccion.h"
#include "screens/escrutin.h"

namespace tobal {
namespace {

// The scoring screen over matchday 12 and its stored reduction 12/1 of 80 columns.
struct Pantalla : prueba::Entorno {
    Pantalla() {
        GrabaRegistroJornada(
            st, 12, RegistroEditor(RegistroJornadaVacio(), 12, "14/09/02", {"REAL MADRID", "BARCELONA"}));
        prueba::GrabaReduccionPrueba(st, 12, 1, 80);  // the current one
        e_ = Entorno::Abre<escrutin>();
        e_->destino.impresora = [this] { return &grabadora; };
    }
    escrutin* operator->() { return e_.get(); }
    // A press in the middle of the winning grid's cell of match m, sign s.
    void Marca(int m, int s) {
        QTest::mouseClick(e_->vista->Pic_Ganadora, Qt::LeftButton, {}, QPoint(15 * s - 6, 18 * m - 7));
    }
    void Escruta() {
        QTest::mouseClick(e_->Pic_Escrutar, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !e_->Escrutando(); }, 10000));
    }
    ImpresoraGrabadora grabadora;
    std::unique_ptr<escrutin> e_;
};

// The whole path from the keyboard to the tables and the report; the figures are the scoring engine's tests'.
// What cannot be read as a prize, pasted too, is refused with a message and the field keeps what it held.
TEST(Escrutin, DesdeElTecladoHastaLasTablasYElInforme) {
    Pantalla p;
    prueba::RecorridoTab(2);  // from the matchday and the order to the winning grid
    RejillaVista* g = p->vista->Pic_Ganadora;
    ASSERT_EQ(QApplication::focusWidget(), g);
    for (int m = 1, s = 1; m <= 15; ++m) {
        const int quiere = static_cast<int>(std::string("1X2").find(prueba::ColumnaPrueba(2)[m - 1])) + 1;
        for (; s < quiere; ++s) QTest::keyClick(g, Qt::Key_Right);
        for (; s > quiere; --s) QTest::keyClick(g, Qt::Key_Left);
        QTest::keyClick(g, Qt::Key_Space);
        if (m < 15) QTest::keyClick(g, Qt::Key_Down);
    }
    // The largest prize, as a Spanish player writes an amount.
    const char* premios[] = {"", "99.999.999.999,00", "1500", "20", "3", "0"};
    for (int k = 1; k <= 5; ++k) prueba::Reescribe(p->Tex_Premios[k], premios[k], Qt::Key_Tab);
    for (int i = 0; i < 40 && QApplication::focusWidget() && !p->Pic_Escrutar->hasFocus(); ++i)
        QTest::keyClick(prueba::Foco(), Qt::Key_Tab);
    QTest::keyClick(p->Pic_Escrutar, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&p] { return p->Pic_Imprimir->Activo(); }, 10000));
    ASSERT_EQ(p->Lis_Aciertos->count(), 17);
    EXPECT_DOUBLE_EQ(ValorImporteDeFila(p->Lis_Aciertos->item(1)->text().toStdString()), 27 * 99999999999.0);
    prueba::Captura(p.e_.get(), "escrutin");
    QTest::mouseClick(p->Pic_Imprimir, Qt::LeftButton);
    EXPECT_EQ(p.grabadora.Textos("Escrutinio de la jornada nro. 12 de fecha 14/09/02 (Orden  1)").size(), 1u);
    QTest::keyClick(p.e_.get(), Qt::Key_F1);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2500});
    prueba::Reescribe(p->Tex_Premios[1], "1.500.000,50", Qt::Key_Tab);  // read as the command line reads it
    const QStringList titulos = prueba::TitulosMensajes([&] {
        prueba::Reescribe(p->Tex_Premios[1], "1.500", Qt::Key_Return);  // which amount: the reader's test
        QApplication::clipboard()->setText(QStringLiteral("9876543210987"));
        p->Tex_Premios[4]->setFocus();
        p->Tex_Premios[4]->selectAll();
        p->Tex_Premios[4]->paste();
        QTest::keyClick(p->Tex_Premios[4], Qt::Key_Return);
    });
    EXPECT_EQ(titulos, QStringList({"PREMIO NO VÁLIDO", "PREMIO NO VÁLIDO"}));
    EXPECT_EQ(p->Tex_Premios[1]->text(), "1500000.5");  // the amount above, kept
    EXPECT_EQ(p->Tex_Premios[4]->text(), "3");
    EXPECT_TRUE(prueba::SaleConEscape(p.e_.get()));
}

// A press on a cell marks it with its sound, one between cells does nothing (where cells lie is the grid's
// test); an incomplete column is stored, then refused. tobal31-cli scores the matchday while the screen is
// open: what it stored is told and kept until Escrutar is pressed again (that teams survive: the CLI's test).
TEST(Escrutin, ColumnaIncompletaYLoQueOtroGrabaMientrasEstaAbierta) {
    Pantalla p;
    QTest::mouseClick(p->vista->Pic_Ganadora, Qt::LeftButton, {}, QPoint(17, 11));
    p.Marca(1, 2);
    EXPECT_EQ(p.sonidos.pedidos, (std::vector<int>{1}));
    EXPECT_EQ(prueba::TitulosMensajes([&] { QTest::mouseClick(p->Pic_Escrutar, Qt::LeftButton); }, 1),
              QStringList{"COLUMNA GANADORA INCOMPLETA"});
    EXPECT_FALSE(p->Pic_Imprimir->Activo());
    EXPECT_EQ(LeeRegistroJornada(p.st, 12).substr(kPosResultados - 1, 15), "200000000000000");

    ASSERT_EQ(prueba::EjecutaCliEn(p.st.DirDatos, {"escrutar", "--jornada", "12", "--orden", "1",
                                                   "--ganadora", "222222222222222"})
                  .codigo,
              0);
    for (int m = 1; m <= 15; ++m) p.Marca(m, 1);
    EXPECT_EQ(prueba::TitulosMensajes([&] { p.Escruta(); }), QStringList{"JORNADA CAMBIADA"});
    EXPECT_EQ(p->Lis_Aciertos->count(), 0);
    EXPECT_EQ(LeeRegistroJornada(p.st, 12).substr(kPosResultados - 1, 15), std::string(15, '3'));
    p.Escruta();
    EXPECT_EQ(LeeRegistroJornada(p.st, 12).substr(kPosResultados - 1, 15), std::string(15, '1'));
}

}  // namespace
}  // namespace tobal
