#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <atomic>
#include <chrono>
#include <thread>

#include "Entorno.h"
#include "data/DatosGen.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "screens/Historic.h"
#include "screens/Reducir.h"
#include "screens/VistaReduccion.h"
#include "screens/mensajes.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;

// Where the cell of match m, sign s (1..3) of a grid is on the screen: the
// grids start at x = 222 (Pic_Base), 290 (Pic_Elegir), 330 (Pic_ColBas),
// cells 20 pixels wide, beside the match line y = 80 + 18 m.
QPoint Base(int m, int s) { return QPoint(222 + 20 * (s - 1) + 10, 80 + 18 * m + 6); }
QPoint Elegir(int m) { return QPoint(290 + 10, 80 + 18 * m + 6); }
QPoint Probable(int m, int s) { return QPoint(330 + 20 * (s - 1) + 10, 80 + 18 * m + 6); }

void ClicEn(QWidget* pantalla, QPoint p) {
    QWidget* w = pantalla->childAt(p);
    ASSERT_NE(w, nullptr) << p.x() << "," << p.y();
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(pantalla, p));
}

struct Aviso {
    QString titulo, texto;
};

// Runs `accion` on the next message window that opens (the screen itself is
// modal too); gives up after five seconds.
void CuandoMensaje(std::function<void(Mensajes*)> accion) {
    auto* sondeo = new QTimer;
    auto intentos = std::make_shared<int>(0);
    QObject::connect(sondeo, &QTimer::timeout, [sondeo, accion, intentos] {
        auto* m = qobject_cast<Mensajes*>(QApplication::activeModalWidget());
        const bool agotado = ++*intentos > 1000;
        if (!agotado && (!m || !m->isVisible())) return;
        sondeo->stop();
        sondeo->deleteLater();
        if (!agotado) accion(m);
    });
    sondeo->start(5);
}

// A reduction screen over a fresh data folder, with the method given.
struct Pantalla : prueba::Entorno {
    explicit Pantalla(int metodo = 1) {
        LeeDatosGen(st);
        st.Metodo() = static_cast<int16_t>(metodo);
        e.mensajes.mensajes.clear();
        Abre();
    }
    void Abre() {
        d = std::make_unique<Reducir>(st, sv);
        d->show();
        d->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(d.get()));
    }
    Partido& P(int m) { return st.ReduccionActual.Partidos[m]; }
    // Marks the base quiniela: for each match its signs ("1X2" ...); "*" reduces it.
    void Marca(const std::vector<std::string>& partidos) {
        for (size_t i = 0; i < partidos.size(); ++i) {
            const int m = int(i) + 1;
            for (int s = 1; s <= 3; ++s) {
                const bool quiere = partidos[i].find("1X2"[s - 1]) != std::string::npos;
                if (bool(P(m).Signo[s]) != quiere) ClicEn(d.get(), Base(m, s));
            }
            if (partidos[i].find('*') != std::string::npos) ClicEn(d.get(), Elegir(m));
        }
    }
    // Presses Pic_Reducir and returns the message it shows (none: empty),
    // leaving it with `boton`.
    Aviso Reduce(bool pulsaReducir = false) {
        auto a = std::make_shared<Aviso>();
        auto esperando = std::make_shared<bool>(true);
        CuandoMensaje([a, esperando, pulsaReducir](Mensajes* m) {
            if (!*esperando) return;
            *a = {m->Tex_Titulo->text(), m->Tex_Mensaje->toPlainText()};
            QTest::mouseClick(pulsaReducir ? m->Pic_Reducir : m->Pic_Salir, Qt::LeftButton);
        });
        QTest::mouseClick(d->Pic_Reducir, Qt::LeftButton);
        *esperando = false;
        return *a;
    }
    // Waits for the run's end and leaves its panel.
    QString Termina() {
        if (d->Ejecutando() && !d->Pic_SalirPorcen->isVisible()) {
            QSignalSpy fin(d.get(), &Reducir::reduccionAcabada);
            EXPECT_TRUE(fin.wait(60000));
        }
        const QString linea = d->LineasProgreso().value(3);
        QTest::mouseClick(d->Pic_SalirPorcen, Qt::LeftButton);
        return linea;
    }
    QString Estadistica(int linea) const { return d->LineasEstadistica().value(linea).section('\t', 1); }
    bool HayRegistro() { return ExisteReduccion(st, st.Jornada(), st.Orden()); }
    fs::path Columnas() const { return st.DirDatos / FicheroRed(st.Jornada(), st.Orden()); }
    std::unique_ptr<Reducir> d;
};

TEST(Reducir, ComprobacionesEnSuOrdenConSusTextosYSinEscribirNada) {
    const QString comun =
        " que no se ha seleccionado ningun signo en la  Columna  Base.   Debe seleccionar  en  la   Columna "
        "Base  un  "
        "signo  de  cada  partido  a reducir antes de efectuar la reducción.";
    struct Caso {
        int metodo;
        std::vector<std::string> base;
        std::vector<int> signos;  // method 3
        std::vector<std::pair<int, int>> probables;
        const char* titulo;
        QString texto;
    };
    const std::vector<Caso> casos = {
        {2,
         {"1X*", "1X2*", "1X*"},
         {},
         {{1, 1}},
         "ERROR EN LA QUINIELA BASE",
         "Hay  2 partidos múltiples a reducir de la Quiniela Base de los" + comun},
        {2,
         {"1X*", "1X2*"},
         {},
         {{1, 2}},
         "ERROR EN LA QUINIELA BASE",
         "Hay  1  partido  múltiple  a  reducir de  la   Quiniela  Base  del " + comun},
        {3,
         {"1X2*", "1X2*", "1X*", "X2*"},
         {2, 1, 0},
         {},
         "ERROR EN LA SUMA DE SIGNOS",
         "La  suma  de  los signos  1 ,  X  y  2  seleccionados como patrón de reducción   ( 2  +  1  +  0   "
         "->  3 )   "
         "no  se  corresponde  con el total de partidos seleccionados para reducir ( 4 ). Estos parámetros "
         "deben "
         "coincidir para poder efectuar correctamente la reducción."},
        // Match 9 without a sign and nothing to reduce: only the first of the two.
        {1,
         {"1", "1", "1", "1", "1", "1", "1", "1", ""},
         {},
         {},
         "ERROR EN LA QUINIELA BASE",
         "Hay  algún  partido  de  la  Quiniela Base  que  no tiene marcado ningún signo. Debe seleccionar "
         "en la "
         "Quiniela Base al menos un signo de cada partido antes de efectuar la reducción."},
        {1,
         {"1X"},
         {},
         {},
         "MULTIPLES A REDUCIR",
         "No ha seleccionado ningún múltiple a reducir. Seleccione los múltiples que desea reducir antes de "
         "iniciar "
         "la reducción."},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.titulo);
        Pantalla p(c.metodo);
        p.Marca(c.base);
        for (auto [m, s] : c.probables) ClicEn(p.d.get(), Probable(m, s));
        for (int s = 1; s <= 3 && !c.signos.empty(); ++s) {
            p.d->Caja_Signos[s]->Pulsa();
            QListWidget* l = p.d->Caja_Signos[s]->lista();
            QTest::mouseClick(l->viewport(), Qt::LeftButton, {},
                              l->visualItemRect(l->item(c.signos[s - 1])).center());
        }
        const Reduccion antes = p.st.ReduccionActual;
        p.sonidos.pedidos.clear();
        const Aviso a = p.Reduce();
        EXPECT_EQ(a.titulo, c.titulo);
        EXPECT_EQ(a.texto, c.texto);
        EXPECT_EQ(p.sonidos.pedidos, (std::vector<int>{9, 5}));
        EXPECT_TRUE(p.st.ReduccionActual == antes);
        EXPECT_FALSE(fs::exists(p.st.DirDatos / "BASES.TBX"));
        EXPECT_FALSE(p.d->Ejecutando());
        for (BotonImagen* b : {p.d->Pic_Reducir, p.d->Pic_Indice, p.d->Pic_Ayuda, p.d->Pic_Salir})
            EXPECT_TRUE(b->Activo());
    }
}

TEST(Reducir, ErroresMinimoMayorQueMaximo) {
    Pantalla p(2);
    p.Marca({"1X*", "1X2*"});
    ClicEn(p.d.get(), Probable(1, 1));
    ClicEn(p.d.get(), Probable(2, 3));
    p.d->Caja_MinErrores->Pulsa();
    QTest::keyClick(p.d->Caja_MinErrores->lista(), Qt::Key_Down);
    QTest::keyClick(p.d->Caja_MinErrores->lista(), Qt::Key_Return);
    EXPECT_EQ(p.st.ReduccionActual.MinErrores, 1);
    EXPECT_EQ(p.Reduce().titulo, "NO CONCUERDAN LOS ERRORES PERMITIDOS");
}

TEST(Reducir, ClicsEnLaQuinielaElPartido15YLosMultiplesAReducir) {
    Pantalla p(2);
    ClicEn(p.d.get(), Base(15, 2));  // "1" is marked: only "X" stays
    EXPECT_EQ(p.P(15).Signo, (std::array<int16_t, 4>{0, 0, 1, 0}));
    ClicEn(p.d.get(), Base(15, 2));  // the marked sign: none
    EXPECT_EQ(p.P(15).NumSignos, 0);
    ClicEn(p.d.get(), Elegir(3));  // a single cannot be reduced
    EXPECT_EQ(p.P(3).AReducir, 0);

    p.Marca({"1X*", "1X2*"});
    ClicEn(p.d.get(), Probable(1, 2));
    ClicEn(p.d.get(), Probable(2, 3));
    EXPECT_EQ(p.Estadistica(6), "2");  // multiples to reduce
    ClicEn(p.d.get(), Base(1, 2));     // unmarks the base sign of a reduced double
    EXPECT_EQ(p.P(1).NumSignos, 1);
    EXPECT_EQ(p.P(1).AReducir, 0);
    EXPECT_EQ(p.P(1).SignoBase, 0);
    EXPECT_EQ(p.Estadistica(6), "1");
    EXPECT_EQ(p.d->Caja_MaxErrores->lista()->count(), 2);  // 0 and 1
    ClicEn(p.d.get(), Base(2, 1));  // not the base sign: the triple becomes a reduced double
    EXPECT_EQ(p.P(2).AReducir, 1);
    EXPECT_EQ(p.P(2).SignoBase, 3);
    ClicEn(p.d.get(), Elegir(2));
    EXPECT_EQ(p.P(2).SignoBase, 0);
    ClicEn(p.d.get(), Probable(2, 2));  // not reduced: no base sign
    EXPECT_EQ(p.P(2).SignoBase, 0);
    // Between two cells nothing happens.
    const Reduccion antes = p.st.ReduccionActual;
    ClicEn(p.d.get(), Base(4, 1) + QPoint(10, 0));
    ClicEn(p.d.get(), QPoint(232, 80 + 18 * 4 - 1));
    EXPECT_TRUE(p.st.ReduccionActual == antes);
}

TEST(Reducir, SeleccionarTodoConElMetodoDirectoEscribe531441Columnas) {
    Pantalla p(1);
    QTest::mouseClick(p.d->vista->Pic_SeleccionarTodo, Qt::LeftButton);
    EXPECT_EQ(p.Estadistica(3), "4,782,969");
    p.Reduce();
    ASSERT_TRUE(p.d->Ejecutando());
    EXPECT_EQ(p.d->LineasProgreso().value(2), QStringLiteral("  4782969 apuestas reducidas a 531441 "));
    EXPECT_EQ(p.Termina(), "Ha finalizado el proceso de reducción");
    EXPECT_EQ(fs::file_size(p.Columnas()), 531441u * 19);
    EXPECT_TRUE(p.HayRegistro());
    EXPECT_FALSE(p.d->Ejecutando());

    // A second run asks before overwriting; Salir keeps what is stored.
    QTest::mouseClick(p.d->vista->Pic_BorrarTodo, Qt::LeftButton);
    p.Marca({"1X*", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1"});
    EXPECT_EQ(p.Reduce().titulo, "REDUCCIÓN YA EXISTE");
    EXPECT_FALSE(p.d->Ejecutando());
    EXPECT_EQ(fs::file_size(p.Columnas()), 531441u * 19);
    EXPECT_EQ(p.Reduce(true).titulo, "REDUCCIÓN YA EXISTE");
    EXPECT_EQ(p.Termina(), "Ha finalizado el proceso de reducción");
    EXPECT_EQ(prueba::Bytes(p.Columnas()).substr(2, 14), "11111111111111");
    EXPECT_LT(fs::file_size(p.Columnas()), 531441u * 19);
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
    QTest::mouseClick(p.d->vista->Pic_BorrarTodo, Qt::LeftButton);
    p.d->vista->Jornada->Pulsa();
    EXPECT_FALSE(p.d->vista->Jornada->Abierta());
    EXPECT_TRUE(p.st.ReduccionActual == antes);
    // The window keeps repainting: the progress line moves.
    QTRY_VERIFY_WITH_TIMEOUT(p.d->LineasProgreso().value(3).startsWith("Se ha realizado el "), 20000);
    EXPECT_TRUE(p.d->Ejecutando());
    QDir().mkpath("capturas");
    EXPECT_TRUE(p.d->grab().save("capturas/reducir-progreso.png"));
    QSignalSpy fin(p.d.get(), &Reducir::reduccionAcabada);
    QTest::mouseClick(p.d->Pic_Cancelar, Qt::LeftButton);
    soltar = true;
    ASSERT_TRUE(fin.wait(5000));
    EXPECT_EQ(p.Termina(), "El proceso de reducción ha sido cancelado");
    EXPECT_FALSE(p.HayRegistro());
    EXPECT_FALSE(fs::exists(p.Columnas()));
    for (const auto& f : fs::directory_iterator(p.st.DirDatos))
        EXPECT_NE(f.path().filename().string().substr(0, 3), "RED") << f.path();
    EXPECT_TRUE(p.d->Pic_Reducir->Activo());
}

TEST(Reducir, UnaReduccionQueFallaLoDiceYLaPantallaSigueUtil) {
    Pantalla p(1);
    p.Marca({"1X2*"});
    fs::create_directory(p.st.DirDatos / "BASES.TBX");  // cannot be read or written
    p.e.mensajes.mensajes.clear();
    EXPECT_TRUE(p.Reduce().titulo.isEmpty());
    ASSERT_TRUE(p.d->Ejecutando());
    QSignalSpy fin(p.d.get(), &Reducir::reduccionAcabada);
    Aviso fallo;
    CuandoMensaje([&](Mensajes* m) {
        fallo = {m->Tex_Titulo->text(), m->Tex_Mensaje->toPlainText()};
        m->close();
    });
    ASSERT_TRUE(fin.wait(10000));
    QTRY_VERIFY(!fallo.titulo.isEmpty());
    EXPECT_EQ(fallo.titulo, "REDUCCIÓN NO REALIZADA");
    EXPECT_TRUE(fallo.texto.contains("BASES.TBX"));
    EXPECT_FALSE(p.d->Ejecutando());
    EXPECT_FALSE(p.d->Pic_Porcen->isVisible());
    EXPECT_TRUE(p.d->Pic_Reducir->Activo());
    EXPECT_FALSE(fs::exists(p.Columnas()));
}

TEST(Reducir, OtroMetodoReabreConLoGuardadoYSalirNoReabre) {
    Pantalla p(1);
    prueba::GrabaReduccionPrueba(p.st, 1, 1, 8);  // stored by the direct method, no sign marked
    p.Abre();
    p.Marca({"1X*"});
    p.d->vista->Metodo->Pulsa();
    QListWidget* l = p.d->vista->Metodo->lista();
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(2)).center());
    EXPECT_FALSE(p.d->isVisible());
    EXPECT_EQ(p.st.RepiteReducir, Verdadero);
    p.Abre();
    EXPECT_EQ(p.st.Metodo(), 3);
    EXPECT_EQ(p.P(1).NumSignos, 0);  // the unsaved marks are gone
    EXPECT_TRUE(p.d->windowTitle().startsWith("Reducción de apuestas por el Método de Selección de Signos"));
    EXPECT_TRUE(p.d->Caja_Signos[1]->isVisible());
    EXPECT_FALSE(p.d->Caja_MinErrores->isVisible());
    QTest::mouseClick(p.d->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2250});
    p.sonidos.pedidos.clear();
    QTest::keyClick(p.d.get(), Qt::Key_Escape);
    EXPECT_FALSE(p.d->isVisible());
    EXPECT_EQ(p.st.RepiteReducir, Falso);
    EXPECT_EQ(p.sonidos.pedidos, std::vector<int>{5});
}

TEST(Reducir, ElIndiceReabreConLaReduccionElegidaYSuMetodo) {
    Pantalla p(1);
    Estado otra = p.st;
    otra.ReduccionActual.Jornada = 3;
    otra.ReduccionActual.Orden = 2;
    otra.ReduccionActual.Metodo = 2;
    ASSERT_EQ(GrabaReduccion(otra), 0);
    prueba::CuandoModal([](QWidget* w) {
        if (auto* h = qobject_cast<Historic*>(w)) h->Elige(0);
    });
    QTest::mouseClick(p.d->Pic_Indice, Qt::LeftButton);
    EXPECT_FALSE(p.d->isVisible());
    EXPECT_EQ(p.st.RepiteReducir, Verdadero);
    EXPECT_EQ(p.st.Jornada(), 3);
    EXPECT_EQ(p.st.Orden(), 2);
    p.Abre();
    EXPECT_EQ(p.st.Metodo(), 2);
    EXPECT_TRUE(p.d->Caja_MinErrores->isVisible());
    EXPECT_EQ(p.d->vista->Jornada->Valor(), "3");
}

TEST(Reducir, DesdeElTecladoYConNombresAccesibles) {
    Pantalla p(1);
    RejillaVista* base = p.d->vista->Pic_Base;
    base->setFocus();
    QTest::keyClick(base, Qt::Key_Down);
    QTest::keyClick(base, Qt::Key_Right);
    EXPECT_EQ(base->accessibleDescription(), "Partido 2, signo X: sin marcar");
    QTest::keyClick(base, Qt::Key_Space);
    EXPECT_EQ(p.P(2).NumSignos, 2);
    EXPECT_EQ(base->accessibleDescription(), "Partido 2, signo X: marcado");
    QTest::keyClick(base, Qt::Key_Tab);
    RejillaVista* elegir = p.d->vista->Pic_Elegir;
    EXPECT_TRUE(elegir->hasFocus());
    QTest::keyClick(elegir, Qt::Key_Down);
    QTest::keyClick(elegir, Qt::Key_Space);
    EXPECT_EQ(p.P(2).AReducir, 1);
    for (QWidget* w : p.d->findChildren<QWidget*>()) {
        if (w->focusPolicy() != Qt::NoFocus && w->isVisible())
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    }
    for (const char* nombre : {"Pic_Base", "Pic_Elegir", "Pic_ColBas", "Lis_Jornadas", "Lis_Orden",
                               "Lis_Metodos", "Lis_MinErrores", "Lis_MaxErrores", "Lis_Signos1",
                               "Lis_SignosX", "Lis_Signos2", "Pic_Esta", "Pic_Porcen", "Pic_Cancelar",
                               "Pic_SalirPorcen", "Pic_Reducir", "Pic_Indice", "Pic_Ayuda", "Pic_Salir"})
        EXPECT_NE(p.d->findChild<QWidget*>(nombre), nullptr) << nombre;
}

TEST(Reducir, MarcadaDesdeElTecladoDaLasMismasColumnasQueLaLineaDeOrdenes) {
    Pantalla p(2);
    auto teclas = [](QWidget* w, std::initializer_list<Qt::Key> ks) {
        w->setFocus();
        for (Qt::Key k : ks) QTest::keyClick(w, k);
    };
    // 1X*=X 1X2*=2 X2*=2, the rest single "1".
    teclas(p.d->vista->Pic_Base,
           {Qt::Key_Right, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space, Qt::Key_Right, Qt::Key_Space,
            Qt::Key_Down, Qt::Key_Space, Qt::Key_Left, Qt::Key_Space, Qt::Key_Left, Qt::Key_Space});
    QTest::keyClick(p.d->vista->Pic_Base, Qt::Key_Tab);
    ASSERT_TRUE(p.d->vista->Pic_Elegir->hasFocus());
    teclas(p.d->vista->Pic_Elegir,
           {Qt::Key_Up, Qt::Key_Up, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space});
    QTest::keyClick(p.d->vista->Pic_Elegir, Qt::Key_Tab);
    ASSERT_TRUE(p.d->vista->Pic_ColBas->hasFocus());
    teclas(p.d->vista->Pic_ColBas, {Qt::Key_Right, Qt::Key_Space, Qt::Key_Down, Qt::Key_Right, Qt::Key_Space,
                                    Qt::Key_Down, Qt::Key_Space});
    teclas(p.d->Caja_MaxErrores, {Qt::Key_Space});
    teclas(p.d->Caja_MaxErrores->lista(), {Qt::Key_Down, Qt::Key_Return});
    EXPECT_EQ(p.st.ReduccionActual.MaxErrores, 1);
    teclas(p.d->Pic_Reducir, {Qt::Key_Space});
    ASSERT_TRUE(p.d->Ejecutando());
    EXPECT_EQ(p.Termina(), "Ha finalizado el proceso de reducción");

    prueba::CarpetaTemporal otra;
    const auto cli = prueba::EjecutaCliEn(
        otra.ruta(), {"reducir", "--jornada", "1", "--orden", "1", "--metodo", "2", "--errores", "0,1",
                      "--base", "1X*=X 1X2*=2 X2*=2 1 1 1 1 1 1 1 1 1 1 1 1"});
    ASSERT_EQ(cli.codigo, 0) << cli.errores;
    const std::string columnas = prueba::Bytes(p.Columnas());
    EXPECT_EQ(columnas.size(), 5u * 19);  // the base column and the 1 + 2 + 1 at one error
    EXPECT_EQ(columnas, prueba::Bytes(otra / "RED0101.TBX"));
    EXPECT_EQ(prueba::Bytes(p.st.DirDatos / "BASES.TBX"), prueba::Bytes(otra / "BASES.TBX"));
}

TEST(Reducir, CapturasDeLosTresMetodos) {
    QDir().mkpath("capturas");
    for (int metodo : {1, 2, 3}) {
        Pantalla p(metodo);
        std::string reg =
            RegistroEditor(RegistroJornadaVacio(), 1, "07/09/25",
                           {"Real Madrid", "Barcelona", "Sevilla", "Betis", "Valencia", "Villarreal"});
        GrabaRegistroJornada(p.st, 1, reg);
        p.Abre();
        p.Marca({"1X2*", "1X*", "X2", "1", "12*"});
        if (metodo == 2) ClicEn(p.d.get(), Probable(1, 2));
        EXPECT_TRUE(p.d->grab().save(QStringLiteral("capturas/reducir-%1.png").arg(metodo)));
    }
}

}  // namespace
}  // namespace tobal
