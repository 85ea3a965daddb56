#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <thread>

#include "Entorno.h"
#include "data/DatosGen.h"
#include "output/ImpresoraGrabadora.h"
#include "platform/ImpresoraQt.h"
#include "screens/listados.h"
#include "screens/mensajes.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;

// A recording printer that takes a little time over every text, so that a
// run lasts long enough to be cancelled half-way, and may look at the
// screen while it prints.
struct ImpresoraLenta : ImpresoraGrabadora {
    void DibujaTexto(double x, double y, const std::string& texto) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (alDibujar) alDibujar();
        ImpresoraGrabadora::DibujaTexto(x, y, texto);
    }
    std::function<void()> alDibujar;
};

// The print screen for one output of a stored reduction of `columnas`
// columns, printing on a recording printer.
struct Pantalla : prueba::Entorno {
    Pantalla(int tipo, int columnas, ImpresoraGrabadora* imp = nullptr) {
        LeeDatosGen(st);
        if (columnas > 0) prueba::GrabaReduccionPrueba(st, 3, 2, columnas);
        st.TipoSalida = static_cast<int16_t>(tipo);
        st.NumBoletos = (columnas + 7) / 8;
        impresora = imp ? imp : &grabadora;
        l = std::make_unique<Listados>(st, sv);
        l->destino.impresora = [this] { return impresora; };
        l->destino.vistaPrevia = [this](const QString& titulo,
                                        const std::function<void(Impresora&)>& dibuja) {
            vistas.push_back(titulo);
            dibuja(enVista);
        };
        l->show();
        l->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(l.get()));
    }
    // Types into a field and leaves it with Enter; returns what the box
    // showed right after typing.
    QString Teclea(QLineEdit* ed, const QString& texto) {
        ed->setFocus();
        ed->selectAll();
        QTest::keyClick(ed, Qt::Key_Backspace);
        QTest::keyClicks(ed, texto);
        const QString visto = ed->text();
        QTest::keyClick(ed, Qt::Key_Return);
        return visto;
    }
    void Pulsa(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    void EsperaFin() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !l->Imprimiendo(); }, 10000));
    }
    // The ticket number each job printed (sheet layout: the only text).
    std::vector<std::string> NumerosPorTrabajo() const {
        std::vector<std::string> r;
        for (const auto& op : grabadora.De(OperacionImpresa::Texto)) r.push_back(op.texto);
        return r;
    }
    ImpresoraGrabadora grabadora;
    ImpresoraGrabadora enVista;
    Impresora* impresora;
    std::vector<QString> vistas;
    std::unique_ptr<Listados> l;
};

// Answers the next message window: notes its title and presses `boton`.
void Responde(QString& titulo, BotonImagen* Mensajes::*boton = &Mensajes::Pic_Salir,
              std::function<void()> antes = {}) {
    prueba::CuandoVentana<Mensajes>([&titulo, boton, antes](Mensajes* m) {
        titulo = m->Tex_Titulo->text();
        if (antes) antes();
        QTest::mouseClick(m->*boton, Qt::LeftButton);
    });
}

TEST(Listados, CamposDeBoletoCopiasYMargenesFiltranYCorrigen) {
    struct Caso {
        const char* campo;
        const char* tecleado;
        const char* visto;
        int inicial, final;  // BoletoInicial / BoletoFinal after closing
    };
    // Seven tickets: the ticket boxes take one digit; 0 empties a box; an
    // empty final box is the last ticket.
    const Caso casos[] = {
        {"Tex_BolIni", "12", "1", 1, 7}, {"Tex_BolIni", "0", "", 1, 7},  {"Tex_BolFin", "0", "", 1, 7},
        {"Tex_BolFin", "9", "9", 1, 7},  {"Tex_BolIni", "5", "5", 5, 7},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.campo) + " " + c.tecleado);
        Pantalla p(Salida::Boletos, 56);
        auto* ed = p.l->findChild<QLineEdit*>(c.campo);
        ASSERT_NE(ed, nullptr);
        EXPECT_EQ(p.Teclea(ed, c.tecleado), c.visto);
        EXPECT_EQ(p.l->Datos().BoletoInicial, c.inicial);
        EXPECT_EQ(p.l->Datos().BoletoFinal, c.final);
        EXPECT_EQ(p.l->Tex_BolFin->text(), QString::number(c.final));
    }
    // Each end pushes the other: initial 5 over final 3, then final 2 under
    // initial 5.
    Pantalla p(Salida::Boletos, 56);
    p.Teclea(p.l->Tex_BolFin, "3");
    p.Teclea(p.l->Tex_BolIni, "5");
    EXPECT_EQ(p.l->Datos().BoletoFinal, 5);
    EXPECT_EQ(p.l->Tex_BolFin->text(), "5");
    p.Teclea(p.l->Tex_BolFin, "2");
    EXPECT_EQ(p.l->Datos().BoletoInicial, 2);
    EXPECT_EQ(p.l->Tex_BolIni->text(), "2");
    // Margins of sheet tickets go to the sheet adjustments at once.
    EXPECT_EQ(p.Teclea(p.l->Tex_MarIzq, "1234"), "123");
    EXPECT_EQ(p.Teclea(p.l->Tex_MarSup, "-5"), "0");
    EXPECT_EQ(p.st.Datos.AjusteXHoja, 123);
    EXPECT_EQ(p.st.Datos.AjusteYHoja, 0);
    EXPECT_EQ(p.st.Datos.AjusteXContinuo, 0);

    Pantalla c(Salida::Continuo, 8);
    c.Teclea(c.l->Tex_MarSup, "45");
    EXPECT_EQ(c.st.Datos.AjusteYContinuo, 45);
    EXPECT_EQ(c.st.Datos.AjusteYHoja, 0);
    Pantalla r(Salida::Resumen, 8);
    EXPECT_EQ(r.Teclea(r.l->Tex_Copias, "0"), "");
    EXPECT_EQ(r.l->Datos().Copias, 1);
    EXPECT_EQ(r.Teclea(r.l->Tex_Copias, "25"), "25");
    EXPECT_EQ(r.l->Datos().Copias, 25);
}

TEST(Listados, CadaSalidaMuestraSusCamposYBotonesConNombres) {
    struct Caso {
        int tipo;
        std::vector<const char*> visibles;
        std::vector<const char*> ocultos;
    };
    const Caso casos[] = {
        {Salida::Resumen,
         {"Tex_Copias", "Pic_Imprimir", "Pic_VistaPrevia"},
         {"Tex_BolIni", "Chk_PruImp", "Pic_Copiar"}},
        {Salida::Boletos,
         {"Tex_BolIni", "Tex_BolFin", "Tex_MarIzq", "Tex_MarSup", "Chk_PruImp", "Pic_Orientacion"},
         {"Pic_Repetir", "Pic_Siguiente", "Pic_Cancelar", "Lis_AnchoPapel"}},
        {Salida::Relacion, {"Tex_BolIni", "Tex_BolFin", "Lis_AnchoPapel"}, {"Tex_MarIzq", "Chk_PruImp"}},
        {Salida::Disco, {"Lis_Unidad", "Pic_Copiar"}, {"Pic_Imprimir", "Pic_VistaPrevia", "Tex_BolIni"}},
        {Salida::Continuo, {"Tex_MarIzq", "Chk_PruImp"}, {"Pic_Orientacion", "Lis_Unidad"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.tipo);
        Pantalla p(c.tipo, 16);
        EXPECT_EQ(p.l->windowTitle(), TituloSalida(c.tipo));
        for (const char* n : c.visibles) {
            auto* w = p.l->findChild<QWidget*>(n);
            ASSERT_NE(w, nullptr) << n;
            EXPECT_TRUE(w->isVisible()) << n;
            EXPECT_FALSE(w->accessibleName().isEmpty()) << n;
        }
        for (const char* n : c.ocultos) EXPECT_FALSE(p.l->findChild<QWidget*>(n)->isVisible()) << n;
        QTest::mouseClick(p.l->Pic_Ayuda, Qt::LeftButton);
        EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2410 + 10 * c.tipo});
    }
    Pantalla p(Salida::Relacion, 16);
    EXPECT_EQ(p.l->Lis_AnchoPapel->count(), 2);
    EXPECT_EQ(p.l->Lis_AnchoPapel->item(0)->text(), "Papel estrecho (Din A4)");
    EXPECT_EQ(p.l->Lis_AnchoPapel->currentRow(), 0);
}

TEST(Listados, BoletosHojaUnoAUnoConRepetirSiguienteYCancelar) {
    Pantalla p(Salida::Boletos, 24);  // three tickets
    p.Pulsa(p.l->Pic_Imprimir);
    ASSERT_TRUE(p.l->Imprimiendo());
    EXPECT_EQ(p.NumerosPorTrabajo(), std::vector<std::string>{"1"});
    EXPECT_TRUE(p.l->Pic_Repetir->isVisible());
    EXPECT_TRUE(p.l->Pic_Siguiente->isVisible());
    EXPECT_TRUE(p.l->Pic_Cancelar->isVisible());
    EXPECT_FALSE(p.l->Pic_Salir->isVisible());
    EXPECT_FALSE(p.l->Chk_PruImp->isVisible());
    EXPECT_EQ(p.l->Panel(), "Imprimiendo el boleto nro. 1");
    p.Pulsa(p.l->Pic_Repetir);
    p.Pulsa(p.l->Pic_Siguiente);
    p.Pulsa(p.l->Pic_Siguiente);
    // The last ticket: no Siguiente, Salir back to stop.
    EXPECT_FALSE(p.l->Pic_Siguiente->isVisible());
    EXPECT_TRUE(p.l->Pic_Salir->isVisible());
    p.Pulsa(p.l->Pic_Repetir);
    EXPECT_EQ(p.NumerosPorTrabajo(), (std::vector<std::string>{"1", "1", "2", "3", "3"}));
    EXPECT_EQ(p.grabadora.Trabajos(), 5);
    // A repeated ticket is the same ticket: same crosses, one job, one page.
    const auto cruces = p.grabadora.Cruces();
    auto deTrabajo = [&](int t) {
        std::vector<std::array<double, 4>> r;
        for (const auto& c : cruces)
            if (c.trabajo == t) r.push_back({c.x, c.y, c.ancho, c.alto});
        return r;
    };
    for (int t = 1; t <= 5; ++t) EXPECT_EQ(p.grabadora.Paginas(t), 1);
    EXPECT_EQ(deTrabajo(1), deTrabajo(2));
    EXPECT_NE(deTrabajo(2), deTrabajo(3));
    EXPECT_EQ(deTrabajo(4), deTrabajo(5));
    EXPECT_EQ(deTrabajo(1).size(), 8u * 14 + 1);
    p.Pulsa(p.l->Pic_Cancelar);
    EXPECT_FALSE(p.l->Imprimiendo());
    EXPECT_TRUE(p.l->Pic_Imprimir->isVisible());
    EXPECT_TRUE(p.l->Chk_PruImp->isVisible());
    EXPECT_FALSE(p.l->Pic_Repetir->isVisible());
    EXPECT_EQ(p.grabadora.Trabajos(), 5);

    // Cancelling at the first ticket prints nothing more; a range 2..2 prints
    // ticket 2 only; the sounds of the buttons.
    Pantalla q(Salida::Boletos, 24);
    q.Teclea(q.l->Tex_BolIni, "2");
    q.Teclea(q.l->Tex_BolFin, "2");
    q.sonidos.pedidos.clear();
    q.Pulsa(q.l->Pic_Imprimir);
    EXPECT_FALSE(q.l->Pic_Siguiente->isVisible());
    QTest::keyClick(q.l.get(), Qt::Key_Escape);  // Escape is Salir: only stops the run
    EXPECT_FALSE(q.l->Imprimiendo());
    EXPECT_TRUE(q.l->isVisible());
    EXPECT_EQ(q.NumerosPorTrabajo(), std::vector<std::string>{"2"});
    EXPECT_EQ(q.sonidos.pedidos, (std::vector<int>{9, 5}));
}

TEST(Listados, BoletoUnicoAvisaYLaOrientacionCambiaElDibujo) {
    Pantalla p(Salida::Boletos, 9);  // the last ticket has one column
    QString titulo;
    Responde(titulo);
    p.Pulsa(p.l->Pic_Orientacion);
    EXPECT_EQ(p.st.Datos.Orientacion, 2);
    p.Pulsa(p.l->Pic_Imprimir);
    EXPECT_EQ(titulo, "ÚLTIMO BOLETO INCOMPLETO");
    p.Pulsa(p.l->Pic_Siguiente);
    // The crosswise layout: the number at the corner, slot 8 box "2" of
    // match 1 at (1050, 1090) on a full test ticket.
    EXPECT_EQ(p.grabadora.De(OperacionImpresa::Texto).front().x, 0);
    const auto cruces = p.grabadora.Cruces();
    EXPECT_EQ(cruces.back().trabajo, 2);
    EXPECT_EQ(cruces.back().alto, 70);
    p.Pulsa(p.l->Pic_Salir);
    EXPECT_FALSE(p.l->Imprimiendo());

    Pantalla prueba(Salida::Boletos, 0);
    prueba.Pulsa(prueba.l->Pic_Orientacion);
    prueba.Pulsa(prueba.l->Pic_Orientacion);
    EXPECT_EQ(prueba.st.Datos.Orientacion, 1);
    prueba.l->Chk_PruImp->setChecked(true);
    prueba.Pulsa(prueba.l->Pic_Imprimir);
    EXPECT_FALSE(prueba.l->Imprimiendo());
    EXPECT_EQ(prueba.NumerosPorTrabajo(), std::vector<std::string>{"999,999"});
    EXPECT_EQ(prueba.grabadora.Cruces().size(), 339u);
}

TEST(Listados, ResumenRelacionYContinuoImprimenFueraDelBucleDeEventos) {
    ImpresoraLenta espia;
    Pantalla r(Salida::Resumen, 16, &espia);
    r.Teclea(r.l->Tex_Copias, "3");
    bool cancelarDurante = false, imprimirDurante = true;
    espia.alDibujar = [&] {
        cancelarDurante = r.l->Pic_Cancelar->isVisible();
        imprimirDurante = r.l->Pic_Imprimir->isVisible();
    };
    r.Pulsa(r.l->Pic_Imprimir);
    EXPECT_TRUE(cancelarDurante);
    EXPECT_FALSE(imprimirDurante);
    EXPECT_EQ(espia.Trabajos(), 1);
    EXPECT_EQ(espia.Paginas(1), 3);
    EXPECT_TRUE(r.l->Pic_Imprimir->isVisible());
    EXPECT_FALSE(r.l->Pic_Cancelar->isVisible());
    EXPECT_TRUE(r.l->Panel().isEmpty());

    // Ten tickets on narrow paper: blocks 1-4, 5-8 and 9-10 on one page.
    Pantalla n(Salida::Relacion, 80);
    n.Pulsa(n.l->Pic_Imprimir);
    n.EsperaFin();
    EXPECT_EQ(n.grabadora.Paginas(1), 1);
    EXPECT_EQ(n.grabadora.Textos("Boleto     9     ").size(), 1u);
    EXPECT_EQ(n.grabadora.Textos("Boleto    11").size(), 0u);
    EXPECT_EQ(n.grabadora.Textos("Boleto").size(), 3u);
    // Wide paper chosen in the list: one block of seven, one of three.
    Pantalla w(Salida::Relacion, 80);
    w.l->Lis_AnchoPapel->setCurrentRow(1);
    w.Pulsa(w.l->Pic_Imprimir);
    w.EsperaFin();
    EXPECT_EQ(w.grabadora.Textos("Boleto     7").size(), 1u);
    EXPECT_EQ(w.grabadora.Textos("Boleto").size(), 2u);

    Pantalla c(Salida::Continuo, 24);
    c.Pulsa(c.l->Pic_Imprimir);
    c.EsperaFin();
    EXPECT_EQ(c.grabadora.Trabajos(), 1);
    EXPECT_EQ(c.grabadora.Paginas(1), 2);
    EXPECT_EQ(c.grabadora.Height(), 8986);
}

TEST(Listados, CancelarParaUnaRelacionLargaYLaVentanaSigueViva) {
    ImpresoraLenta lenta;
    Pantalla p(Salida::Relacion, 8 * 400, &lenta);
    // The window keeps working while the run prints: a click on Cancelar
    // arrives between two blocks.
    QString panel;
    QTimer::singleShot(60, p.l.get(), [&] {
        panel = p.l->Panel();
        p.Pulsa(p.l->Pic_Cancelar);
    });
    p.Pulsa(p.l->Pic_Imprimir);
    EXPECT_TRUE(panel.startsWith("Imprimiendo el boleto nro.")) << panel.toStdString();
    EXPECT_FALSE(p.l->Imprimiendo());
    const auto cabeceras = lenta.Textos("Boleto").size();
    EXPECT_GE(cabeceras, 1u);
    EXPECT_LT(cabeceras, 20u);  // of 100 blocks
    EXPECT_EQ(p.l->Aviso(), "Se ha cancelado la impresión.");
    EXPECT_EQ(lenta.De(OperacionImpresa::FinTrabajo).size(), 1u);  // what was printed is sent
}

TEST(Listados, SinImpresoraAvisaYAbreLaVistaPreviaYUnFalloDejaLaPantallaUsable) {
    Pantalla p(Salida::Resumen, 16);
    p.impresora = nullptr;
    QString titulo;
    Responde(titulo);
    p.Pulsa(p.l->Pic_Imprimir);
    EXPECT_EQ(titulo, "NO HAY IMPRESORA");
    EXPECT_EQ(p.vistas, std::vector<QString>{"Imprimir los datos básicos de la reducción"});
    EXPECT_EQ(p.enVista.Trabajos(), 1);
    EXPECT_FALSE(p.l->Imprimiendo());

    // The preview button shows every ticket without waiting.
    Pantalla v(Salida::Boletos, 24);
    v.Pulsa(v.l->Pic_VistaPrevia);
    EXPECT_EQ(v.enVista.Trabajos(), 3);
    EXPECT_EQ(v.grabadora.Trabajos(), 0);

    Pantalla f(Salida::Boletos, 24);
    f.grabadora.falla = true;
    Responde(titulo);
    f.Pulsa(f.l->Pic_Imprimir);
    EXPECT_EQ(titulo, "ERROR DE IMPRESIÓN");
    EXPECT_FALSE(f.l->Imprimiendo());
    EXPECT_TRUE(f.l->Pic_Imprimir->isVisible());
    EXPECT_EQ(f.l->Aviso(), "No se ha podido imprimir.");
}

TEST(Listados, CopiaADiscoPideDiscoYReintenta) {
    Pantalla p(Salida::Disco, 16);
    prueba::CarpetaTemporal raiz;
    const fs::path memoria = raiz / "MEMORIA";  // not there yet: no medium
    p.l->PonUnidades({{"MEMORIA", QString::fromStdString(memoria.string())}});
    EXPECT_EQ(p.l->Lis_Unidad->count(), 2);
    EXPECT_EQ(p.l->Lis_Unidad->item(1)->text(), "Otra carpeta...");
    QString titulo;
    Responde(titulo, &Mensajes::Pic_Copiar, [&] { fs::create_directory(memoria); });
    p.Pulsa(p.l->Pic_Copiar);
    p.EsperaFin();
    EXPECT_EQ(titulo, "NO HAY DISCO");
    EXPECT_EQ(fs::file_size(memoria / "AD243"), 3u * 125);
    EXPECT_EQ(p.l->Aviso(), "Se ha copiado a la unidad MEMORIA el archivo AD243");
    EXPECT_TRUE(p.l->Pic_Copiar->isVisible());

    // Leaving the question gives up: nothing is written.
    fs::remove_all(memoria);
    Responde(titulo);
    p.Pulsa(p.l->Pic_Copiar);
    p.EsperaFin();
    EXPECT_FALSE(fs::exists(memoria / "AD243"));
    EXPECT_EQ(p.l->Aviso().trimmed(), "Se ha cancelado la operación de copiado");

    // Another folder, chosen when its entry is picked.
    p.l->eligeCarpeta = [&] { return QString::fromStdString(raiz.ruta().string()); };
    p.l->Lis_Unidad->setCurrentRow(1);
    EXPECT_EQ(p.l->UnidadDestino().carpeta.toStdString(), raiz.ruta().string());
    EXPECT_EQ(p.l->Lis_Unidad->count(), 3);
    p.Pulsa(p.l->Pic_Copiar);
    p.EsperaFin();
    EXPECT_TRUE(fs::exists(raiz / "AD243"));
}

TEST(Listados, TecladoTabHastaImprimirEnterImprimeEscapeSale) {
    Pantalla p(Salida::Resumen, 16);
    EXPECT_TRUE(p.l->Tex_Copias->hasFocus());
    QWidget* w = p.l->Tex_Copias;
    for (int i = 0; i < 6 && w != p.l->Pic_Imprimir; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        w = QApplication::focusWidget();
    }
    ASSERT_EQ(w, p.l->Pic_Imprimir);
    QTest::keyClick(w, Qt::Key_Return);
    p.EsperaFin();
    EXPECT_EQ(p.grabadora.Trabajos(), 1);
    QTest::keyClick(p.l.get(), Qt::Key_Escape);
    EXPECT_FALSE(p.l->isVisible());
}

}  // namespace
}  // namespace tobal

namespace tobal {
namespace {

// Pictures of the print screen for each output, of a sheet run waiting for
// the user, of a print preview, and a PDF of each run, written to capturas/
// for a person to look at.
TEST(Capturas, ListadosVistaPreviaYPdfDeCadaSalida) {
    QDir().mkpath("capturas");
    const char* nombres[] = {"resumen", "boletos", "relacion", "disco", "continuo"};
    for (int tipo = Salida::Resumen; tipo <= Salida::Continuo; ++tipo) {
        Pantalla p(tipo, 24);
        if (tipo == Salida::Disco)
            p.l->PonUnidades({{"MEMORIA (/media/usuario/MEMORIA)", "/media/usuario/MEMORIA"}});
        EXPECT_TRUE(p.l->grab().save(QStringLiteral("capturas/listados-%1.png").arg(nombres[tipo])));
        if (tipo == Salida::Disco) continue;
        std::unique_ptr<ImpresoraQt> pdf;
        p.l->destino.impresora = [&]() -> Impresora* {
            pdf = ImpresoraQt::Pdf(QStringLiteral("capturas/listados-%1.pdf").arg(nombres[tipo]));
            return pdf.get();
        };
        QTest::mouseClick(p.l->Pic_Imprimir, Qt::LeftButton);
        if (tipo == Salida::Boletos) {
            EXPECT_TRUE(p.l->grab().save(QStringLiteral("capturas/listados-boletos-esperando.png")));
            QTest::mouseClick(p.l->Pic_Siguiente, Qt::LeftButton);
            QTest::mouseClick(p.l->Pic_Siguiente, Qt::LeftButton);
            QTest::mouseClick(p.l->Pic_Salir, Qt::LeftButton);
        }
        p.EsperaFin();
        ASSERT_NE(pdf, nullptr);
        pdf->Termina();
        EXPECT_FALSE(pdf->Fallo());
    }
    Pantalla p(Salida::Continuo, 24);
    p.l->destino.vistaPrevia = [&](const QString& titulo, const std::function<void(Impresora&)>& dibuja) {
        QPrinter impresora(QPrinter::HighResolution);
        QPrintPreviewWidget vista(&impresora);
        QObject::connect(&vista, &QPrintPreviewWidget::paintRequested, [&](QPrinter* pr) {
            ImpresoraQt imp(pr);
            dibuja(imp);
            imp.Termina();
        });
        vista.setWindowTitle(titulo);
        vista.resize(700, 800);
        vista.show();
        vista.updatePreview();
        vista.fitInView();
        QTest::qWait(50);
        EXPECT_TRUE(vista.grab().save(QStringLiteral("capturas/vista-previa-continuo.png")));
    };
    QTest::mouseClick(p.l->Pic_VistaPrevia, Qt::LeftButton);
}

}  // namespace
}  // namespace tobal
