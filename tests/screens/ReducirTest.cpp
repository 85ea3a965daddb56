#include <QPlainTextEdit>
#include <QSignalSpy>
#include <atomic>
#include <chrono>
#include <sstream>
#include <thread>

#include "Entorno.h"
#include "data/DatosGen.h"
#include "data/Jornadas.h"
#include "platform/TextoLeido.h"
#include "reduction/Almacen.h"
#include "reduction/Base.h"
#include "reduction/Motor.h"
#include "screens/Garantia.h"
#include "screens/Reducir.h"
#include "screens/VistaReduccion.h"
#include "screens/consredu.h"

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
        LeeDatosGen(st);
        st.Metodo() = static_cast<int16_t>(metodo);
        e.mensajes.mensajes.clear();
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
    // Presses Pic_Reducir and returns the message it shows as "TITLE|text"
    // (none: empty), leaving it with Pic_Reducir or Pic_Salir.
    QString Reduce(bool pulsaReducir = false) {
        auto a = std::make_shared<QString>();
        auto esperando = std::make_shared<bool>(true);
        prueba::CuandoVentana<Mensajes>([a, esperando, pulsaReducir](Mensajes* m) {
            if (!*esperando) return;
            *a = m->Tex_Titulo->text() + "|" + m->Tex_Mensaje->toPlainText();
            QTest::mouseClick(pulsaReducir ? m->Pic_Reducir : m->Pic_Salir, Qt::LeftButton);
        });
        QTest::mouseClick(d->Pic_Reducir, Qt::LeftButton);
        *esperando = false;
        return *a;
    }
    // Waits for the run's end, leaves its panel and returns its last line.
    QString Termina() {
        if (d->Ejecutando() && !d->Pic_SalirPorcen->isVisible()) {
            QSignalSpy fin(d.get(), &Reducir::reduccionAcabada);
            EXPECT_TRUE(fin.wait(60000));
        }
        const QString linea = d->LineasProgreso().value(3);
        QTest::mouseClick(d->Pic_SalirPorcen, Qt::LeftButton);
        return linea;
    }
    void Elige(Caja* caja, int fila) {
        caja->Pulsa();
        prueba::ClicFila(caja->lista(), fila);
    }
    QString Estadistica(int linea) const { return d->LineasEstadistica().value(linea).section('\t', 1); }
    fs::path Columnas() const { return st.DirDatos / FicheroRed(st.Jornada(), st.Orden()); }
    std::unique_ptr<Reducir> d;
};

// The checks and their texts are the library's; the screen shows the first
// refusal with its sounds and changes nothing.
TEST(Reducir, UnaComprobacionQueFallaAvisaYNoEscribeNada) {
    Pantalla p(3);
    p.Marca("1X2* 1X2* 1X* X2*");
    for (int s = 1; s <= 3; ++s) p.Elige(p.d->Caja_Signos[s], "210"[s - 1] - '0');
    const Reduccion antes = p.st.ReduccionActual;
    p.sonidos.pedidos.clear();
    EXPECT_TRUE(p.Reduce().startsWith("ERROR EN LA SUMA DE SIGNOS|"));
    EXPECT_EQ(p.sonidos.pedidos, (std::vector<int>{9, 5}));
    EXPECT_TRUE(p.st.ReduccionActual == antes);
    EXPECT_FALSE(fs::exists(p.st.DirDatos / "BASES.TBX") || p.d->Ejecutando());
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
    // Between two cells nothing happens.
    const Reduccion antes = p.st.ReduccionActual;
    ClicEn(p.d.get(), Base(4, 1) + QPoint(10, 0));
    ClicEn(p.d.get(), QPoint(232, 80 + 18 * 4 - 1));
    EXPECT_TRUE(p.st.ReduccionActual == antes);
}

TEST(Reducir, SeleccionarTodoYUnaSegundaCorridaPreguntaAntesDeSustituir) {
    Pantalla p(1);
    QTest::mouseClick(p.d->vista->Pic_SeleccionarTodo, Qt::LeftButton);
    // Names too long for the room beside the grids are cut visibly.
    GrabaRegistroJornada(p.st, 1, RegistroEditor(RegistroJornadaVacio(), 1, "07/09/25",
                                                 {"MMMMMMMMMMMMMMM", "WWWWWWWWWWWWWWW", "Sevilla", "Betis"}));
    LeeJornada(p.st);
    EXPECT_EQ(p.d->vista->LineaPartido(1).count(QStringLiteral("…")), 2);
    EXPECT_EQ(p.d->vista->LineaPartido(2), ". Sevilla - Betis");
    QTest::mouseClick(p.d->vista->Pic_BorrarTodo, Qt::LeftButton);
    p.Marca("1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1");
    EXPECT_TRUE(p.Reduce().isEmpty());
    EXPECT_EQ(p.Termina(), "Ha finalizado el proceso de reducción");
    const std::string antes = prueba::Bytes(p.Columnas());
    QTest::mouseClick(p.d->vista->Pic_BorrarTodo, Qt::LeftButton);
    p.Marca("1X* 1 1 1 1 1 1 1 1 1 1 1 1 1 1");
    EXPECT_TRUE(p.Reduce().startsWith("REDUCCIÓN YA EXISTE|"));  // Salir keeps what is stored
    EXPECT_EQ(prueba::Bytes(p.Columnas()), antes);
    EXPECT_TRUE(p.Reduce(true).startsWith("REDUCCIÓN YA EXISTE|"));
    p.Termina();
    EXPECT_EQ(prueba::Bytes(p.Columnas()).size(), size_t{19});
}

TEST(Reducir, CancelarUnaReduccionLargaNoDejaNiRegistroNiFichero) {
    Pantalla p(2);
    QTest::mouseClick(p.d->vista->Pic_SeleccionarTodo, Qt::LeftButton);
    for (int m = 1; m <= 14; ++m) ClicEn(p.d.get(), Probable(m, 1));
    p.d->Caja_MaxErrores->Pulsa();
    QTest::keyClick(p.d->Caja_MaxErrores->lista(), Qt::Key_End);
    QTest::keyClick(p.d->Caja_MaxErrores->lista(), Qt::Key_Return);
    EXPECT_EQ(p.st.ReduccionActual.MaxErrores, 14);
    // The run is held at 50 % until the cancel has been pressed, so that a
    // fast machine cannot finish it first.
    std::atomic<bool> soltar{false};
    p.d->AlAvanzar = [&soltar](int porcentaje) {
        while (porcentaje == 50 && !soltar.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    p.Reduce();
    ASSERT_TRUE(p.d->Pic_Porcen->isVisible());
    // Everything but the cancel button is still while the run goes on.
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
    EXPECT_TRUE(p.d->Pic_Reducir->Activo());
    EXPECT_FALSE(p.d->Pic_Garantia->Activo()) << "nothing new to analyse after a cancel";
}

TEST(Reducir, UnaReduccionQueFallaLoDiceYLaPantallaSigueUtil) {
    Pantalla p(1);
    p.Marca("1X2*");
    fs::create_directory(p.st.DirDatos / "BASES.TBX");  // cannot be read or written
    EXPECT_TRUE(p.Reduce().isEmpty());
    QSignalSpy fin(p.d.get(), &Reducir::reduccionAcabada);
    QString fallo;
    prueba::AnotaMensaje(fallo);
    ASSERT_TRUE(fin.wait(10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fallo.isEmpty(); }, 5000));
    EXPECT_EQ(fallo, "REDUCCIÓN NO REALIZADA");
    EXPECT_FALSE(p.d->Ejecutando() || p.d->Pic_Porcen->isVisible() || fs::exists(p.Columnas()));
    EXPECT_TRUE(p.d->Pic_Reducir->Activo());
}

// Another method closes the screen for the menu to open it again; Salir does not.
TEST(Reducir, OtroMetodoReabreYSalirNo) {
    Pantalla p(1);
    prueba::GrabaReduccionPrueba(p.st, 1, 1, 8);  // stored by the direct method, every sign marked
    p.Abre();
    p.Marca("1X*");
    p.Elige(p.d->vista->Metodo, 2);
    EXPECT_FALSE(p.d->isVisible());
    EXPECT_EQ(p.st.RepiteReducir, Verdadero);
    p.Abre();
    EXPECT_EQ(std::make_pair(p.st.Metodo(), p.P(1).NumSignos),
              std::make_pair(int16_t(3), int16_t(3)));  // the stored marks
    QTest::mouseClick(p.d->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2250});
    QTest::keyClick(p.d.get(), Qt::Key_Escape);
    EXPECT_EQ(std::make_pair(p.d->isVisible(), p.st.RepiteReducir), std::make_pair(false, Falso));
}

TEST(Reducir, MarcadaYReducidaDesdeElTeclado) {
    Pantalla p(2);
    auto teclas = [](QWidget* w, std::initializer_list<Qt::Key> ks) {
        w->setFocus();
        for (Qt::Key k : ks) QTest::keyClick(w, k);
    };
    RejillaVista* base = p.d->vista->Pic_Base;
    teclas(base, {Qt::Key_Right});
    EXPECT_EQ(base->accessibleDescription(), "Partido 1, signo X: sin marcar");
    // 1X*=X 1X2*=2 X2*=2, the rest single "1".
    teclas(base, {Qt::Key_Space, Qt::Key_Down, Qt::Key_Space, Qt::Key_Right, Qt::Key_Space, Qt::Key_Down,
                  Qt::Key_Space, Qt::Key_Left, Qt::Key_Space, Qt::Key_Left, Qt::Key_Space});
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
    prueba::TodosConNombre(p.d.get());
    teclas(p.d->Pic_Reducir, {Qt::Key_Space});
    EXPECT_EQ(p.Termina(), "Ha finalizado el proceso de reducción");
    EXPECT_EQ(prueba::Bytes(p.Columnas()).size(), 5u * 19);  // the base column and the 1 + 2 + 1 at one error
}

// Method 4 shows only its own box, whose list offers 1 and 2 errors
// guaranteed; its help is its own, and a run stores it with its guarantee,
// which the reopened screen shows again.
TEST(Reducir, ReduccionMinimaConSuCajaDeErroresGarantizados) {
    Pantalla p(4);
    EXPECT_TRUE(p.d->windowTitle().startsWith("Reducción de apuestas por el Método de Reducción Mínima"));
    EXPECT_TRUE(p.d->Caja_Garantizados->isVisible() && !p.d->Caja_MinErrores->isVisible() &&
                !p.d->vista->Pic_ColBas->isVisible());
    EXPECT_EQ(p.d->Caja_Garantizados->lista()->count(), 2);
    p.Marca("1X2* 1X2* 12* 1X");
    p.sonidos.pedidos.clear();
    p.Elige(p.d->Caja_Garantizados, 1);
    EXPECT_EQ(p.sonidos.pedidos, (std::vector<int>{6, 7}));
    EXPECT_EQ(p.st.ReduccionActual.MaxErrores, 2);
    QTest::mouseClick(p.d->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2270});
    EXPECT_TRUE(p.Reduce().isEmpty());
    EXPECT_EQ(p.Termina(), "Ha finalizado el proceso de reducción");
    EXPECT_TRUE(p.d->Pic_Garantia->Activo());
    p.st.ReduccionActual.MaxErrores = 1;
    p.Abre();
    EXPECT_EQ(p.d->Caja_Garantizados->Valor(), "2");
}

bool Calculada(Garantia* g) {
    return QTest::qWaitFor([g] { return g->fase() != Garantia::Fase::Calculando; }, 5000);
}

// A reduction 12/4 run by the engine, then its guarantee window.
struct Ventana : prueba::Entorno {
    Ventana(int metodo, const std::string& base, const std::string& errores = "") {
        LeeDatosGen(st);
        Reduccion& r = st.ReduccionActual;
        EXPECT_FALSE(LeeReduccion(metodo, base, errores.empty() ? std::nullopt : std::optional(errores),
                                  std::nullopt, r));
        r.Jornada = 12;
        r.Orden = 4;
        EXPECT_EQ(EjecutaReduccion(st).fin, FinReduccion::Terminada);
    }
    std::unique_ptr<Garantia> g;
};

const char* const kDirecta = "1X2* 1X2* 1X2* 1X2* 1X 1 1 1 1 1 1 1 1 1 X";

TEST(VentanaGarantia, CalculaEnSegundoPlanoYSeUsaConElTeclado) {
    Ventana v(1, kDirecta);
    v.g = v.Abre<Garantia>();
    ASSERT_TRUE(Calculada(v.g.get()));
    ASSERT_EQ(v.g->fase(), Garantia::Fase::Hecha) << v.g->resultado().mensaje;
    EXPECT_FALSE(v.g->Pic_Cancelar->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), v.g->Pic_Salir);
    // A screen reader gets the table, each row with its headings, and the
    // sentences under it.
    EXPECT_TRUE(v.g->Tab_Garantia->Texto().startsWith("Aciertos 14, Resultados ")) << v.g->Tab_Garantia->Texto().toStdString();
    EXPECT_EQ(v.g->Tex_Frase->Texto().toStdString(),
              FraseGarantia(v.g->resultado()) + "\n" + FraseGarantiaFuera(v.g->resultado()));
    prueba::Captura(v.g.get(), "garantia");
    prueba::TodosConNombre(v.g.get());
    QTest::keyClick(v.g->Pic_Salir, Qt::Key_Space);
    EXPECT_FALSE(v.g->isVisible());
}

// Escape, as the cancel button, stops the analysis; a second Escape leaves.
TEST(VentanaGarantia, CancelarDetieneElCalculo) {
    Ventana v(2,
              "1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=X 1X2*=2 1X2 1 1",
              "0,12");
    // Held at its first step until the cancel is given.
    std::atomic<bool> soltar{false}, llegado{false};
    v.g = std::make_unique<Garantia>(v.st, v.sv);
    v.g->AlAvanzar = [&](int) {
        llegado = true;
        while (!soltar.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    v.g->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return llegado.load(); }, 5000));
    EXPECT_TRUE(v.g->Pic_Cancelar->isVisible() && !v.g->Pic_Salir->Activo());
    QTest::keyClick(v.g.get(), Qt::Key_Escape);
    soltar = true;
    ASSERT_TRUE(Calculada(v.g.get()));
    EXPECT_EQ(v.g->fase(), Garantia::Fase::Cancelada);
    EXPECT_TRUE(v.g->isVisible());
    QTest::keyClick(v.g.get(), Qt::Key_Escape);
    EXPECT_FALSE(v.g->isVisible());
}

// The minimum the window shows when a screen's button opens it.
std::shared_ptr<int> CuandoGarantia() {
    auto minimo = std::make_shared<int>(-1);
    prueba::CuandoVentana<Garantia>([minimo](Garantia* g) {
        if (Calculada(g) && g->fase() == Garantia::Fase::Hecha) *minimo = g->resultado().minimo;
        QTest::mouseClick(g->Pic_Salir, Qt::LeftButton);
    });
    return minimo;
}

// On the reduction screen the button waits for a finished run and a change
// of the base turns it off; the browser opens it for what it shows.
TEST(VentanaGarantia, ElNavegadorYLaPantallaDeReduccionLaAbren) {
    Ventana v(2, "1X2*=1 1X2*=X 1X2*=2 1X2*=1 1 1 1 1 1 1 1 1 1 1 1", "0,1");
    Reducir d(v.st, v.sv);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_FALSE(d.Pic_Garantia->Activo()) << "the screen may differ from what is stored";
    QString titulo;  // it exists already: reduce again
    prueba::AnotaMensaje(titulo, &Mensajes::Pic_Reducir);
    QSignalSpy fin(&d, &Reducir::reduccionAcabada);
    QTest::mouseClick(d.Pic_Reducir, Qt::LeftButton);
    ASSERT_TRUE(fin.count() > 0 || fin.wait(10000));
    EXPECT_FALSE(d.Pic_Garantia->Activo()) << "not while the progress panel is up";
    QTest::mouseClick(d.Pic_SalirPorcen, Qt::LeftButton);
    ASSERT_TRUE(d.Pic_Garantia->Activo());
    auto minimo = CuandoGarantia();
    QTest::mouseClick(d.Pic_Garantia, Qt::LeftButton);
    EXPECT_EQ(*minimo, 11);  // 4 reduced matches, errors 0 to 1

    // Sign X of match 5 in the base grid (x = 222 + 20, y = 80 + 18 x 5).
    const QPoint celda(222 + 20 + 10, 80 + 18 * 5 + 6);
    QWidget* w = d.childAt(celda);
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(&d, celda));
    EXPECT_FALSE(d.Pic_Garantia->Activo());
    d.close();

    consredu consulta(v.st, v.sv);
    consulta.show();
    minimo = CuandoGarantia();
    QTest::mouseClick(consulta.Pic_Garantia, Qt::LeftButton);
    EXPECT_EQ(*minimo, 11);
}

}  // namespace
}  // namespace tobal
