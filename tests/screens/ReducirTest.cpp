#include <QSignalSpy>
#include <atomic>
#include <chrono>
#include <sstream>
#include <thread>

#include "Entorno.h"
#include "data/Jornadas.h"
#include "platform/TextoLeido.h"
#include "reduction/Almacen.h"
#include "reduction/Condiciones.h"
#include "screens/Condiciones.h"
#include "screens/Garantia.h"
#include "screens/Reducir.h"
#include "screens/VistaReduccion.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;

// The middle of the cell of match m, sign s of the grids at x = 222, 290 and
// 330, cells 20 x 18 from y = 80 + 18 m.
QPoint Base(int m, int s) { return QPoint(222 + 20 * (s - 1) + 10, 80 + 18 * m + 6); }
QPoint Elegir(int m) { return QPoint(290 + 10, 80 + 18 * m + 6); }
QPoint Probable(int m, int s) { return QPoint(330 + 20 * (s - 1) + 10, 80 + 18 * m + 6); }

void ClicEn(QWidget* pantalla, QPoint p) {
    QWidget* w = pantalla->childAt(p);
    ASSERT_NE(w, nullptr) << p.x() << "," << p.y();
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(pantalla, p));
}

struct Pantalla : prueba::Entorno {
    explicit Pantalla(int metodo = 1) {
        st.Metodo() = static_cast<int16_t>(metodo);
        Abre();
    }
    void Abre() { d = Entorno::Abre<Reducir>(); }
    Partido& P(int m) { return st.ReduccionActual.Partidos[m]; }
    // Marks by clicks a word a match ("1X2"; "*" reduces it, "=X" the probable X).
    void Marca(const std::string& base) {
        std::istringstream in(base);
        std::string signos;
        for (int m = 1; in >> signos; ++m) {
            for (int s = 1; s <= 3; ++s)
                if (bool(P(m).Signo[s]) != (signos.find("1X2"[s - 1]) != std::string::npos))
                    ClicEn(d.get(), Base(m, s));
            if (signos.find('*') != std::string::npos) ClicEn(d.get(), Elegir(m));
            if (const auto igual = signos.find('='); igual != std::string::npos)
                ClicEn(d.get(), Probable(m, int(std::string("1X2").find(signos[igual + 1])) + 1));
        }
    }
    // Presses Pic_Reducir and returns the title of the message it shows (none: empty), answered with `boton`.
    QString Reduce(BotonImagen* Mensajes::*boton = &Mensajes::Pic_Salir) {
        return prueba::TitulosMensajes([this] { QTest::mouseClick(d->Pic_Reducir, Qt::LeftButton); }, 0,
                                       boton)
            .join('|');
    }
    // Awaits the run's end, leaves its panel, returns its last line; the guarantee waits for the panel to go.
    QString Termina() {
        EXPECT_TRUE(QTest::qWaitFor([this] { return d->Pic_SalirPorcen->isVisible(); }, 60000));
        EXPECT_FALSE(d->Pic_Garantia->Activo());
        const QString linea = d->LineasProgreso().value(3);
        QTest::mouseClick(d->Pic_SalirPorcen, Qt::LeftButton);
        return linea;
    }
    void Elige(Caja* caja, int fila) {
        caja->Pulsa();
        prueba::ClicFila(caja->lista(), fila);
    }
    void EnCondiciones(const std::function<void()>& abre,
                       const std::function<void(VentanaCondiciones*)>& accion) {
        bool abierta = false;
        prueba::CuandoVentana<VentanaCondiciones>([&](VentanaCondiciones* v) {
            abierta = true;
            accion(v);
            if (v->isVisible()) v->reject();  // a failed step never leaves it open
        });
        abre();
        EXPECT_TRUE(abierta);
    }
    QString Estadistica(int linea) const { return d->LineasEstadistica().value(linea).section('\t', 1); }
    fs::path Columnas() const { return st.DirDatos / FicheroRed(st.Jornada(), st.Orden()); }
    std::unique_ptr<Reducir> d;
};

QStringList Lista(VentanaCondiciones* v) {
    QStringList l;
    for (int i = 0; i < v->Lis_Condiciones->count(); ++i) l << v->Lis_Condiciones->item(i)->text();
    return l;
}

TEST(Reducir, ClicsEnLaQuinielaElPartido15YLosMultiplesAReducir) {
    Pantalla p(2);
    ClicEn(p.d.get(), Base(15, 2));  // "1" is marked: only "X" stays
    EXPECT_EQ(p.P(15).Signo, (std::array<int16_t, 4>{0, 0, 1, 0}));
    ClicEn(p.d.get(), Base(15, 2));  // the marked sign: none
    EXPECT_EQ(p.P(15).NumSignos, 0);

    p.Marca("1X*=X 1X2*=2");
    EXPECT_EQ(p.Estadistica(6), "2");  // multiples to reduce
    ClicEn(p.d.get(), Base(1, 2));     // unmarks the base sign of a reduced double
    EXPECT_EQ(std::make_tuple(p.P(1).NumSignos, p.P(1).AReducir, p.P(1).SignoBase), std::make_tuple(1, 0, 0));
    EXPECT_EQ(p.d->Caja_MaxErrores->lista()->count(), 2);  // 0 and 1
    ClicEn(p.d.get(), Base(2, 1));  // not the base sign: the triple becomes a reduced double
    EXPECT_EQ(std::make_pair(p.P(2).AReducir, p.P(2).SignoBase), std::make_pair(int16_t(1), int16_t(3)));
    const Reduccion antes = p.st.ReduccionActual;
    ClicEn(p.d.get(), Base(4, 1) + QPoint(10, 0));
    ClicEn(p.d.get(), QPoint(232, 80 + 18 * 4 - 1));
    EXPECT_TRUE(p.st.ReduccionActual == antes);
    QTest::mouseClick(p.d->vista->Pic_BorrarTodo, Qt::LeftButton);
    EXPECT_EQ(p.P(2).NumSignos + p.P(2).AReducir, 0);
    // Names too long for the room beside the grids are cut visibly.
    GrabaRegistroJornada(
        p.st, 1,
        RegistroEditor(RegistroJornadaVacio(), 1, "07/09/25", {"MMMMMMMMMMMMMMM", "WWWWWWWWWWWWWWW"}));
    LeeJornada(p.st);
    EXPECT_EQ(p.d->vista->LineaPartido(1).count(QStringLiteral("…")), 2);
}

TEST(Reducir, CancelarUnaReduccionLargaNoDejaNiRegistroNiFichero) {
    Pantalla p(2);
    QTest::mouseClick(p.d->vista->Pic_SeleccionarTodo, Qt::LeftButton);
    for (int m = 1; m <= 14; ++m) ClicEn(p.d.get(), Probable(m, 1));
    p.d->Caja_MaxErrores->Pulsa();
    QTest::keyClick(p.d->Caja_MaxErrores->lista(), Qt::Key_End);
    QTest::keyClick(p.d->Caja_MaxErrores->lista(), Qt::Key_Return);
    // Held at 50 % until the cancel has been pressed, so that a fast machine cannot finish first.
    std::atomic<bool> soltar{false};
    p.d->AlAvanzar = [&soltar](int porcentaje) {
        while (porcentaje == 50 && !soltar.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    p.Reduce();
    ASSERT_TRUE(p.d->Pic_Porcen->isVisible());
    for (BotonImagen* b : {p.d->Pic_Reducir, p.d->Pic_Indice, p.d->Pic_Ayuda, p.d->Pic_Salir})
        EXPECT_FALSE(b->Activo());
    const Reduccion antes = p.st.ReduccionActual;
    ClicEn(p.d.get(), Base(1, 1));
    EXPECT_TRUE(p.st.ReduccionActual == antes);
    // The window keeps repainting: the progress line moves.
    QTRY_VERIFY_WITH_TIMEOUT(p.d->LineasProgreso().value(3).startsWith("Se ha realizado el "), 20000);
    prueba::Captura(p.d.get(), "reducir-progreso");
    QSignalSpy fin(p.d.get(), &Reducir::reduccionAcabada);
    QTest::mouseClick(p.d->Pic_Cancelar, Qt::LeftButton);
    soltar = true;
    ASSERT_TRUE(fin.wait(5000));
    EXPECT_EQ(p.Termina(), "El proceso de reducción ha sido cancelado");
    EXPECT_FALSE(ExisteReduccion(p.st, 1, 1) || fs::exists(p.Columnas()));
    EXPECT_FALSE(p.d->Pic_Garantia->Activo()) << "nothing new to analyse after a cancel";
}

// The direct method refuses conditions before anything runs. Another method, picked in its box, closes the
// screen for the menu to open it again, with the stored marks and the conditions typed; Salir does not.
TEST(Reducir, OtroMetodoReabreConLasCondicionesTecleadasYSalirNo) {
    Pantalla p(1);
    prueba::GrabaReduccionPrueba(p.st, 1, 1, 8);  // stored by the direct method, every sign marked
    p.Abre();
    p.Marca("1X*");
    p.EnCondiciones([&] { QTest::mouseClick(p.d->Pic_Condiciones, Qt::LeftButton); },
                    [](VentanaCondiciones* v) {
                        prueba::Reescribe(v->Tex_Condicion, "X 2-5", Qt::Key_Return);
                        QTest::mouseClick(v->Pic_Aceptar, Qt::LeftButton);
                    });
    EXPECT_EQ(p.Reduce(), "MÉTODO DIRECTO CON CONDICIONES");
    ClicEn(p.d.get(), QPoint(200, 30));
    prueba::ClicFila(p.d->vista->Metodo->lista(), 2);
    EXPECT_FALSE(p.d->isVisible());
    EXPECT_EQ(p.st.RepiteReducir, Verdadero);
    p.Abre();
    EXPECT_EQ(std::make_tuple(p.st.Metodo(), p.P(1).NumSignos, p.d->Pic_Condiciones->Rotulo()),
              std::make_tuple(int16_t(3), int16_t(3), QString("Condiciones (1)...")));
    QTest::mouseClick(p.d->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2250});
    EXPECT_TRUE(prueba::SaleConEscape(p.d.get()));
    EXPECT_EQ(p.st.RepiteReducir, Falso);
}

TEST(Reducir, MarcadaDesdeElTecladoYReducidaSoloSiSeConfirmaLaSustitucion) {
    Pantalla p(2);
    auto teclas = [](QWidget* w, std::initializer_list<Qt::Key> ks) {
        w->setFocus();
        for (Qt::Key k : ks) QTest::keyClick(w, k);
    };
    RejillaVista* base = p.d->vista->Pic_Base;
    // 1X*=X 1X2*=2 X2*=2, the rest single "1".
    teclas(base, {Qt::Key_Right, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space, Qt::Key_Right, Qt::Key_Space,
                  Qt::Key_Down, Qt::Key_Space, Qt::Key_Left, Qt::Key_Space, Qt::Key_Left, Qt::Key_Space});
    EXPECT_EQ(base->accessibleDescription(), "Partido 3, signo 1: sin marcar");
    QTest::keyClick(base, Qt::Key_Tab);
    ASSERT_TRUE(p.d->vista->Pic_Elegir->hasFocus());
    teclas(p.d->vista->Pic_Elegir,
           {Qt::Key_Up, Qt::Key_Up, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space});
    QTest::keyClick(p.d->vista->Pic_Elegir, Qt::Key_Tab);
    ASSERT_TRUE(p.d->vista->Pic_ColBas->hasFocus());
    teclas(p.d->vista->Pic_ColBas, {Qt::Key_Right, Qt::Key_Space, Qt::Key_Down, Qt::Key_Right, Qt::Key_Space,
                                    Qt::Key_Down, Qt::Key_Space});
    teclas(p.d->Caja_MaxErrores, {Qt::Key_Space});
    teclas(p.d->Caja_MaxErrores->lista(), {Qt::Key_Down, Qt::Key_Return});
    Estado otro = p.st;  // another reduction already stored under the same matchday and order
    prueba::GrabaReduccionPrueba(otro, 1, 1, 30);
    const std::string antes = prueba::Bytes(p.Columnas());
    EXPECT_EQ(p.Reduce(), "REDUCCIÓN YA EXISTE");  // Salir keeps what is stored
    EXPECT_EQ(prueba::Bytes(p.Columnas()), antes);
    EXPECT_EQ(prueba::TitulosMensajes([&] { teclas(p.d->Pic_Reducir, {Qt::Key_Space}); }, 1,
                                      &Mensajes::Pic_Reducir),
              QStringList{"REDUCCIÓN YA EXISTE"});
    EXPECT_EQ(p.Termina(), "Ha finalizado el proceso de reducción");
    EXPECT_EQ(prueba::Bytes(p.Columnas()).size(), 5u * 19);  // the base column and the 1 + 2 + 1 at one error
    fs::remove(p.st.DirDatos / "BASES.TBX");
    fs::create_directory(p.st.DirDatos / "BASES.TBX");  // cannot be read or written
    EXPECT_EQ(prueba::TitulosMensajes([&] { QTest::mouseClick(p.d->Pic_Reducir, Qt::LeftButton); }, 1),
              QStringList{"REDUCCIÓN NO REALIZADA"});
    EXPECT_FALSE(p.d->Ejecutando() || p.d->Pic_Porcen->isVisible() || !p.d->Pic_Reducir->Activo());
}

bool Calculada(Garantia* g) {
    return QTest::qWaitFor([g] { return g->fase() != Garantia::Fase::Calculando; }, 5000);
}

// Typed, refused, picked, changed and removed, the failures following the count of conditions; Aceptar
// hands them to the screen, which names them and recomputes its statistics.
TEST(Condiciones, SeEscribenSeCorrigenSeQuitanYSeAceptan) {
    Pantalla p(2);
    QTest::mouseClick(p.d->vista->Pic_SeleccionarTodo, Qt::LeftButton);  // fourteen reduced triples
    p.EnCondiciones(
        [&] { QTest::mouseClick(p.d->Pic_Condiciones, Qt::LeftButton); },
        [&](VentanaCondiciones* v) {
            prueba::TodosConNombre(v);
            prueba::Reescribe(v->Tex_Condicion, "x 14", Qt::Key_Return);
            EXPECT_TRUE(v->Tex_Condicion->text().isEmpty());
            EXPECT_TRUE(v->Tex_Cumplen->Texto().contains(": 1 de "));  // only the column of fourteen draws

            EXPECT_EQ(prueba::TitulosMensajes(
                          [&] { prueba::Reescribe(v->Tex_Condicion, "X 2-15", Qt::Key_Return); }),
                      QStringList{"CONDICIÓN INCORRECTA"});
            EXPECT_EQ(v->Tex_Condicion->text(), "X 2-15");  // kept to be put right

            for (const char* c : {"2 0-3 partidos 1-7", "seguidos 1-4"}) {
                prueba::Reescribe(v->Tex_Condicion, c);
                QTest::mouseClick(v->Pic_Añadir, Qt::LeftButton);
            }
            EXPECT_EQ(v->Caja_Fallos->lista()->count(), 4);  // 0 to 3
            p.Elige(v->Caja_Fallos, 3);
            prueba::ClicFila(v->Lis_Condiciones, 0);
            EXPECT_EQ(v->Tex_Condicion->text(), "X 14-14");
            prueba::Reescribe(v->Tex_Condicion, "variantes 4-8");
            QTest::mouseClick(v->Pic_Cambiar, Qt::LeftButton);
            EXPECT_EQ(Lista(v), (QStringList{"variantes 4-8", "2 0-3 partidos 1-7", "seguidos 1-4"}));
            QTest::keyClick(v->Lis_Condiciones, Qt::Key_Delete);  // the one picked
            EXPECT_EQ(v->Caja_Fallos->Valor(), "2");              // no more than the conditions left
            p.Elige(v->Caja_Fallos, 0);
            prueba::Captura(v, "condiciones");
            v->Pic_Aceptar->setFocus();
            QTest::keyClick(v->Pic_Aceptar, Qt::Key_Space);
        });
    EXPECT_EQ(p.d->Tex_Condiciones->Texto(), "2 0-3 partidos 1-7\nseguidos 1-4");
    // The probable column, fourteen 1s in a row, no longer meets them.
    EXPECT_EQ(p.Estadistica(7), "0");
    prueba::Captura(p.d.get(), "reducir-condiciones");
}

// Tab reaches the button, Space opens the window, Enter adds, Escape leaves it keeping nothing typed. A
// failing check (the checks are the library's) is shown first, with its sounds, and changes nothing.
TEST(Condiciones, EscapeDejaLasCondicionesComoEstabanYUnaComprobacionQueFallaNoEscribeNada) {
    Pantalla p(3);
    p.st.CondicionesActuales.lista = {Condicion{Medida::Unos, 1, 9, kTodosLosPartidos}};
    p.d->Pic_Reducir->setFocus();
    QTest::keyClick(p.d->Pic_Reducir, Qt::Key_Backtab);
    ASSERT_TRUE(p.d->Pic_Condiciones->hasFocus());
    p.sonidos.pedidos.clear();
    p.EnCondiciones([&] { QTest::keyClick(p.d->Pic_Condiciones, Qt::Key_Space); },
                    [&](VentanaCondiciones* v) {
                        EXPECT_EQ(Lista(v), QStringList{"1 1-9"});
                        EXPECT_EQ(v->focusWidget(), v->Tex_Condicion);
                        prueba::Reescribe(v->Tex_Condicion, "interrupciones 5-9", Qt::Key_Return);
                        EXPECT_TRUE(prueba::SaleConEscape(v->Tex_Condicion));
                    });
    EXPECT_EQ(p.st.CondicionesActuales.lista.size(), 1u);
    EXPECT_EQ(p.sonidos.pedidos, (std::vector<int>{9, 9, 5}));
    p.Marca("1X2* 1X2* 1X* X2*");
    for (int s = 1; s <= 3; ++s) p.Elige(p.d->Caja_Signos[s], "210"[s - 1] - '0');
    const Reduccion antes = p.st.ReduccionActual;
    p.sonidos.pedidos.clear();
    EXPECT_EQ(p.Reduce(), "ERROR EN LA SUMA DE SIGNOS");
    EXPECT_EQ(p.sonidos.pedidos, (std::vector<int>{9, 5}));
    EXPECT_TRUE(p.st.ReduccionActual == antes);
    EXPECT_FALSE(fs::exists(p.st.DirDatos / "BASES.TBX") || p.d->Ejecutando());
}

// Method 4 shows only its own box, stored with the run and shown again on reopening. The guarantee button
// waits for a finished run, and a change of the base turns it off.
TEST(Reducir, ReduccionMinimaConSuCajaDeErroresGarantizadosYSuGarantia) {
    Pantalla p(4);
    EXPECT_TRUE(p.d->windowTitle().startsWith("Reducción de apuestas por el Método de Reducción Mínima"));
    EXPECT_TRUE(p.d->Caja_Garantizados->isVisible() && !p.d->Caja_MinErrores->isVisible() &&
                !p.d->vista->Pic_ColBas->isVisible() && !p.d->Pic_Garantia->Activo());
    EXPECT_EQ(p.d->Caja_Garantizados->lista()->count(), 2);
    p.Marca("1X2* 1X2* 12* 1X");
    p.sonidos.pedidos.clear();
    p.Elige(p.d->Caja_Garantizados, 1);
    EXPECT_EQ(p.sonidos.pedidos, (std::vector<int>{6, 7}));
    QTest::mouseClick(p.d->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2270});
    EXPECT_TRUE(p.Reduce().isEmpty());
    EXPECT_EQ(p.Termina(), "Ha finalizado el proceso de reducción");
    bool vista = false;
    prueba::CuandoVentana<Garantia>([&vista](Garantia* g) {
        ASSERT_TRUE(Calculada(g));
        ASSERT_EQ(g->fase(), Garantia::Fase::Hecha) << g->resultado().mensaje;
        EXPECT_FALSE(g->Pic_Cancelar->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), g->Pic_Salir);
        // A screen reader gets the table, each row with its headings, and the sentences under it.
        EXPECT_TRUE(g->Tab_Garantia->Texto().startsWith("Aciertos 14, Resultados "));
        EXPECT_EQ(g->Tex_Frase->Texto().toStdString(),
                  FraseGarantia(g->resultado()) + "\n" + FraseGarantiaFuera(g->resultado()));
        prueba::Captura(g, "garantia");
        prueba::TodosConNombre(g);
        QTest::keyClick(g->Pic_Salir, Qt::Key_Space);
        vista = !g->isVisible();
    });
    QTest::mouseClick(p.d->Pic_Garantia, Qt::LeftButton);
    EXPECT_TRUE(vista);
    ClicEn(p.d.get(), Base(5, 2));
    EXPECT_FALSE(p.d->Pic_Garantia->Activo());

    p.st.ReduccionActual.MaxErrores = 1;
    p.Abre();
    EXPECT_EQ(p.d->Caja_Garantizados->Valor(), "2");
}

// Escape, as the cancel button, stops the analysis; a second Escape leaves.
TEST(VentanaGarantia, CancelarDetieneElCalculo) {
    prueba::Entorno v;
    prueba::GrabaReduccionPrueba(v.st, 1, 1, 30);
    // Held at its first step until the cancel is given.
    std::atomic<bool> soltar{false}, llegado{false};
    Garantia g(v.st, v.sv);
    g.AlAvanzar = [&](int) {
        llegado = true;
        while (!soltar.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    g.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return llegado.load(); }, 5000));
    EXPECT_TRUE(g.Pic_Cancelar->isVisible() && !g.Pic_Salir->Activo());
    QTest::keyClick(&g, Qt::Key_Escape);
    soltar = true;
    ASSERT_TRUE(Calculada(&g));
    EXPECT_EQ(g.fase(), Garantia::Fase::Cancelada);
    EXPECT_TRUE(g.isVisible());
    EXPECT_TRUE(prueba::SaleConEscape(&g));
}

}  // namespace
}  // namespace tobal
