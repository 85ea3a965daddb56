#include <QCheckBox>

#include "Entorno.h"
#include "output/ImpresoraGrabadora.h"
#include "screens/VistaReduccion.h"
#include "screens/listados.h"
#include "screens/salida.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;

// A recording printer that lets the test act on the screen while it prints.
struct ImpresoraEspia : ImpresoraGrabadora {
    void DibujaTexto(double x, double y, const std::string& texto) override {
        if (alDibujar) alDibujar();
        ImpresoraGrabadora::DibujaTexto(x, y, texto);
    }
    std::function<void()> alDibujar;
};

// The print screen of output `tipo` over a stored reduction of `columnas` columns.
struct Pantalla : prueba::Entorno {
    Pantalla(int tipo, int columnas) {
        if (columnas > 0) prueba::GrabaReduccionPrueba(st, 3, 2, columnas);
        st.TipoSalida = static_cast<int16_t>(tipo);
        st.NumBoletos = (columnas + 7) / 8;
        l = Abre<Listados>();
        l->destino.impresora = [this] { return impresora; };
        l->destino.vistaPrevia = [this](const QString& titulo,
                                        const std::function<void(Impresora&)>& dibuja) {
            vistas.push_back(titulo);
            dibuja(enVista);
        };
    }
    void Pulsa(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    void EsperaFin() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !l->Imprimiendo(); }, 10000));
    }
    ImpresoraEspia grabadora;
    ImpresoraGrabadora enVista;
    Impresora* impresora = &grabadora;
    std::vector<QString> vistas;
    std::unique_ptr<Listados> l;
};

// Each output shows its own fields and help page; the fields' rules are the listing's own tests, here they
// only reach it. The preview warns of a short last ticket as a run does, and stands in for a missing printer.
TEST(Listados, LaSalidaMuestraSusCamposQueLleganAlListadoYALosAjustes) {
    Pantalla p(Salida::Boletos, 41);
    for (const char* n : {"Tex_BolIni", "Tex_MarSup", "Chk_PruImp", "Pic_Orientacion"})
        EXPECT_TRUE(p.l->findChild<QWidget*>(n)->isVisible()) << n;
    for (const char* n : {"Lis_AnchoPapel", "Lis_Unidad", "Pic_Copiar", "Pic_Siguiente"})
        EXPECT_FALSE(p.l->findChild<QWidget*>(n)->isVisible()) << n;
    EXPECT_EQ(prueba::TitulosMensajes([&] { p.Pulsa(p.l->Pic_VistaPrevia); }),
              QStringList{"ÚLTIMO BOLETO INCOMPLETO"});
    EXPECT_EQ(std::make_pair(p.enVista.Trabajos(), p.grabadora.Trabajos()), std::make_pair(6, 0));
    for (auto [ed, texto] :
         {std::pair{p.l->Tex_BolFin, "3"}, {p.l->Tex_BolIni, "5"}, {p.l->Tex_MarIzq, "123"}})
        prueba::Reescribe(ed, texto, Qt::Key_Return);
    EXPECT_EQ(std::make_pair(p.l->Datos().BoletoInicial, p.l->Datos().BoletoFinal), std::make_pair(5, 5));
    EXPECT_EQ(p.st.Datos.AjusteXHoja, 123);
    p.impresora = nullptr;
    EXPECT_EQ(prueba::TitulosMensajes([&] { p.Pulsa(p.l->Pic_Imprimir); }),
              (QStringList{"NO HAY IMPRESORA", "ÚLTIMO BOLETO INCOMPLETO"}));
    EXPECT_EQ(p.vistas, std::vector<QString>(2, TituloSalida(Salida::Boletos)));
    QTest::mouseClick(p.l->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2410 + 10 * Salida::Boletos});
    EXPECT_TRUE(prueba::SaleConEscape(p.l.get()));
}

TEST(Listados, BoletosHojaUnoAUnoConRepetirSiguienteYCancelar) {
    Pantalla p(Salida::Boletos, 24);  // three tickets
    p.Pulsa(p.l->Pic_Imprimir);
    // The keyboard is on what the run lets the user do; Tab reaches nothing that cannot be used.
    EXPECT_EQ(QApplication::focusWidget(), p.l->Pic_Siguiente);
    for (const std::string& w : prueba::RecorridoTab(5)) EXPECT_EQ(w.find("Orientacion"), std::string::npos);
    EXPECT_FALSE(p.l->Pic_Salir->isVisible() || p.l->Chk_PruImp->isVisible());
    p.Pulsa(p.l->Pic_Repetir);
    p.Pulsa(p.l->Pic_Siguiente);
    p.Pulsa(p.l->Pic_Siguiente);
    EXPECT_FALSE(p.l->Pic_Siguiente->isVisible());
    EXPECT_TRUE(p.l->Pic_Salir->isVisible());
    p.Pulsa(p.l->Pic_Repetir);
    std::vector<std::string> numeros;  // each job's ticket number, the sheet's only text
    for (const auto& op : p.grabadora.De(OperacionImpresa::Texto)) numeros.push_back(op.texto);
    EXPECT_EQ(numeros, (std::vector<std::string>{"1", "1", "2", "3", "3"}));
    // Escape, as Cancelar, only stops the run.
    QTest::keyClick(p.l.get(), Qt::Key_Escape);
    EXPECT_FALSE(p.l->Imprimiendo() || p.l->Pic_Repetir->isVisible());
    EXPECT_TRUE(p.l->isVisible() && p.l->Pic_Imprimir->isVisible());
    p.grabadora.falla = true;
    EXPECT_EQ(prueba::TitulosMensajes([&] { p.Pulsa(p.l->Pic_Imprimir); }),
              QStringList{"ERROR DE IMPRESIÓN"});
    EXPECT_TRUE(p.l->Pic_Imprimir->isVisible() && !p.l->Imprimiendo());
}

TEST(Listados, CancelarParaUnaRelacionLargaYLaVentanaSigueViva) {
    Pantalla p(Salida::Relacion, 8 * 400);
    // Cancelar, which replaces Imprimir while printing, is clicked while the
    // first block prints: the run lets events through between two blocks.
    QString panel;
    bool pedido = false, botones = false;
    p.grabadora.alDibujar = [&] {
        if (pedido) return;
        pedido = true;
        botones = p.l->Pic_Cancelar->isVisible() && !p.l->Pic_Imprimir->isVisible();
        QTimer::singleShot(0, p.l.get(), [&] {
            panel = p.l->Panel();
            p.Pulsa(p.l->Pic_Cancelar);
        });
    };
    p.Pulsa(p.l->Pic_Imprimir);
    p.EsperaFin();
    EXPECT_TRUE(botones);
    EXPECT_TRUE(panel.startsWith("Imprimiendo el boleto nro.")) << panel.toStdString();
    EXPECT_EQ(p.l->Aviso(), "Se ha cancelado la impresión.");
    EXPECT_EQ(p.grabadora.De(OperacionImpresa::FinTrabajo).size(), 1u);  // what was printed is sent
    EXPECT_TRUE(p.l->Pic_Imprimir->isVisible() && !p.l->Pic_Cancelar->isVisible());
}

TEST(Listados, CopiaADiscoPideDiscoYReintenta) {
    Pantalla p(Salida::Disco, 16);
    prueba::CarpetaTemporal raiz;
    const fs::path memoria = raiz / "MEMORIA";  // not there yet: no medium
    p.l->PonUnidades({{"MEMORIA", QString::fromStdString(memoria.string())}});
    EXPECT_EQ(p.l->Lis_Unidad->count(), 2);  // and "Otra carpeta..."
    QString titulo;
    prueba::CuandoVentana<Mensajes>([&](Mensajes* m) {
        titulo = m->Tex_Titulo->text();
        fs::create_directory(memoria);
        QTest::mouseClick(m->Pic_Copiar, Qt::LeftButton);
    });
    p.Pulsa(p.l->Pic_Copiar);
    p.EsperaFin();
    EXPECT_EQ(titulo, "NO HAY DISCO");
    EXPECT_TRUE(fs::exists(memoria / "AD243"));  // its bytes are the copy's own test
    EXPECT_EQ(p.l->Aviso(), "Se ha copiado a la unidad MEMORIA el archivo AD243");
}

TEST(Salida, CadaBotonAbreSuSalidaConLosBoletosDeLaReduccion) {
    prueba::Entorno p;
    prueba::GrabaReduccionPrueba(p.st, 7, 3, 17);  // the current one
    const auto s = p.Abre<salida>();
    EXPECT_EQ(p.st.NumBoletos, 3);
    prueba::Captura(s.get(), "salida");
    BotonDibujado* botones[] = {s->Pic_Quiniela, s->Pic_Boletos, s->Pic_Relacion, s->Pic_Disco,
                                s->Pic_Continuo};
    for (int t = 0; t < 5; ++t) {
        QString titulo;
        prueba::CuandoVentana<Listados>([&](Listados* l) {
            titulo = l->windowTitle();
            l->reject();
        });
        QTest::mouseClick(botones[t], Qt::LeftButton);
        EXPECT_EQ(titulo, TituloSalida(t));
    }
    QTest::mouseClick(s->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2400});
    EXPECT_TRUE(prueba::SaleConEscape(s.get()));
}

}  // namespace
}  // namespace tobal
