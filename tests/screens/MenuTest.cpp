#include <QMouseEvent>
#include <QSignalSpy>

#include "Entorno.h"
#include "app/Texto.h"
#include "data/DatosGen.h"
#include "data/Jornadas.h"
#include "screens/Arranque.h"
#include "screens/DatosGen.h"
#include "screens/Tb1x2.h"
#include "screens/borrar.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;

const std::string kDefecto = "1,\"01/09/02\",1,1,0,0,0,0,1,42,\"0.3 \",\"00\",\"00000\",\"Si\"\r\n";

// A menu whose options open screens that close at once, noting which option opened them.
struct MenuPrueba : prueba::Entorno {
    MenuPrueba() {
        menu = std::make_unique<Tb1x2>(st, sv);  // creates the default settings
        for (int o = 1; o <= Tb1x2::kOpciones; ++o)
            menu->PonPantalla(o, [this, o](Estado&, Servicios&, QWidget* padre) {
                abiertas.push_back(o);
                // Left by its exit button, or closed to load a reduction picked in its index.
                st.RepiteReducir = repite-- > 0 ? Verdadero : Falso;
                auto d = std::make_unique<QDialog>(padre);
                QTimer::singleShot(0, d.get(), &QDialog::reject);
                return d;
            });
        menu->show();
    }
    void Pulsa(QPoint p) { QTest::mouseClick(menu.get(), Qt::LeftButton, {}, p); }
    std::unique_ptr<Tb1x2> menu;
    std::vector<int> abiertas;
    int repite = 0;
};

// The options' corners are theirs and a pixel beyond is not; a second press while a screen opens opens
// no other, and the reduction screen opens again while it leaves RepiteReducir set. Tab goes through the
// options, help and leave; Enter or Space open an option. Leaving writes the settings back.
TEST(Menu, BordesSegundaPulsacionReduccionQueSeReabreTecladoYSalida) {
    MenuPrueba m;
    // Between the rows, between the columns, where there is no eighth option.
    for (QPoint p : std::initializer_list<QPoint>{{150, 218}, {275, 200}, {400, 320}, {5, 5}}) m.Pulsa(p);
    EXPECT_TRUE(m.abiertas.empty());
    // Written here, not read from the menu, so that a mistyped corner shows.
    const QPoint esquinas[] = {{40, 185},  {40, 225},  {40, 265}, {40, 305},
                               {300, 185}, {300, 225}, {300, 265}};
    for (int o = 1; o <= Tb1x2::kOpciones; ++o) {
        EXPECT_EQ(Tb1x2::EsquinaOpcion(o), esquinas[o - 1]) << "opción " << o;
        m.abiertas.clear();
        for (QPoint d :
             std::initializer_list<QPoint>{{215, 27}, {0, 0}, {216, 10}, {10, 28}, {-1, 10}, {10, -1}})
            m.Pulsa(esquinas[o - 1] + d);
        EXPECT_EQ(m.abiertas, (std::vector<int>{o, o})) << "opción " << o;
    }

    m.abiertas.clear();
    const QPointF p(100, 200);
    QCoreApplication::postEvent(
        m.menu.get(), new QMouseEvent(QEvent::MouseButtonPress, p, m.menu->mapToGlobal(p), Qt::LeftButton,
                                      Qt::LeftButton, Qt::NoModifier));
    m.Pulsa(p.toPoint());  // its click sound lets the waiting press through

    m.repite = 2;
    m.sonidos.pedidos.clear();
    m.Pulsa(Tb1x2::EsquinaOpcion(OpcionMenu::Reducir) + QPoint(100, 13));
    EXPECT_EQ(m.abiertas, (std::vector<int>{1, 2, 2, 2}));
    EXPECT_EQ(m.sonidos.pedidos, std::vector<int>{6});

    m.abiertas.clear();
    fs::remove(m.st.DirDatos / "DATOSGEN.TBX");
    m.st.Jornada() = 7;  // the current selection goes back to the file too
    m.menu->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m.menu.get()));
    EXPECT_EQ(prueba::RecorridoTab(10),
              (std::vector<std::string>{"Opc_Jornadas=Datos de jornadas", "Opc_Reducir=Reducción de apuestas",
                                        "Opc_consredu=Consultar reducciones", "Opc_salida=Salida de datos",
                                        "Opc_escrutin=Escrutinio de aciertos", "Opc_DatosGen=Datos generales",
                                        "Opc_borrar=Borrado de datos", "Pic_Ayuda=Ayuda", "Pic_Salir=Salir",
                                        "Opc_Jornadas=Datos de jornadas"}));
    for (int o = 1; o <= Tb1x2::kOpciones; ++o) {
        QWidget* opcion = m.menu->Opc[o - 1];
        opcion->setFocus();
        QTest::keyClick(opcion, o % 2 ? Qt::Key_Return : Qt::Key_Space);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == m.menu.get(); })) << o;
    }
    EXPECT_EQ(m.abiertas, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    // Back on the option it opened after each screen; Escape, once too many on the way back, does not
    // end the program.
    ASSERT_EQ(QApplication::focusWidget(), m.menu->Opc[Tb1x2::kOpciones - 1]);
    QSignalSpy terminado(m.menu.get(), &Tb1x2::terminado);
    QTest::keyClick(m.menu->Opc[Tb1x2::kOpciones - 1], Qt::Key_Escape);
    QTest::keyClick(m.menu->Opc[Tb1x2::kOpciones - 1], Qt::Key_F1);
    EXPECT_EQ(m.ayuda.pedidas, std::vector<int>{0});
    m.sonidos.pedidos.clear();
    QTest::keyClick(m.menu->Pic_Salir, Qt::Key_Return);
    EXPECT_EQ(terminado.count(), 1);
    EXPECT_EQ(prueba::Bytes(m.st.DirDatos / "DATOSGEN.TBX"), "7" + kDefecto.substr(1));
    EXPECT_EQ(m.sonidos.pedidos, std::vector<int>{5});
}

TEST(Arranque, PrimerArranqueEnCarpetaVaciaYEscribible) {
    prueba::Entorno en;
    prueba::CarpetaTemporal trabajo;
    auto menu = Main(en.st, en.sv, trabajo / "Tobal31");
    EXPECT_EQ(prueba::Bytes(en.st.DirPrograma / "DATOSGEN.TBX"), kDefecto);
    const char* pantallas[] = {"Jornadas", "Reducir", "consredu", "salida", "escrutin", "DatosGen", "borrar"};
    QStringList mensajes;
    for (int opcion = 1; opcion <= Tb1x2::kOpciones; ++opcion) {
        // An empty folder has no reduction: the scoring screen says so first, as it opens.
        QString abierta;
        std::function<void(QWidget*)> cierra = [&](QWidget* w) {
            if (auto* m = qobject_cast<Mensajes*>(w)) {
                mensajes << m->Tex_Titulo->text();
                m->close();
                prueba::CuandoVentana<QWidget>(cierra);
                return;
            }
            abierta = w->objectName(), w->close();
        };
        prueba::CuandoVentana<QWidget>(cierra);
        QTest::mouseClick(menu.get(), Qt::LeftButton, {}, Tb1x2::EsquinaOpcion(opcion));
        EXPECT_EQ(abierta, pantallas[opcion - 1]);
    }
    EXPECT_EQ(mensajes, QStringList{"ERROR EN JORNADA/ORDEN"});
}

// The screen over a data folder holding the default settings.
struct Pantalla : prueba::Entorno {
    Pantalla() {
        LeeDatosGen(st);
        d = Abre<DatosGen>();
    }
    QLineEdit* Editor(int campo) const {
        return std::array{d->Tex_TotJor, d->Tex_PreApu, d->Tex_Delegacion, d->Tex_Receptor}[campo];
    }
    // What the field's editor shows right after typing, the field closed again by a press.
    QString Teclea(int campo, const QString& texto) {
        const QPoint zona(38, 68 + 46 * campo);
        QTest::mouseClick(d.get(), Qt::LeftButton, {}, zona);
        prueba::Reescribe(Editor(campo), texto);
        const QString visto = Editor(campo)->text();
        QTest::mouseClick(d.get(), Qt::LeftButton, {}, zona);
        return visto;
    }
    std::string Fichero() const { return prueba::Bytes(st.DirDatos / "DATOSGEN.TBX"); }
    std::unique_ptr<DatosGen> d;
};

// Typing filters, closing corrects; only a real change enables Guardar (a
// new price alone does not), and a disabled Guardar writes nothing.
TEST(DatosGen, CadaCampoFiltraCorrigeYSoloUnCambioActivaGuardar) {
    struct Caso {
        int campo;
        const char *tecleado, *visto, *queda;
        bool guarda;
    };
    for (const Caso& c : {Caso{DatosGen::TotJornadas, "0", "", "44", true},
                          Caso{DatosGen::TotJornadas, "42", "42", "42", false},
                          Caso{DatosGen::Receptor, "1-2.3", "123", "00123", true},
                          Caso{DatosGen::PrecioApuesta, "x.5b", ".5", "0.5 ", false}}) {
        SCOPED_TRACE(c.tecleado);
        Pantalla p;
        EXPECT_EQ(p.Teclea(c.campo, c.tecleado), c.visto);
        EXPECT_EQ(p.Editor(c.campo)->text(), c.queda);
        std::filesystem::remove(p.st.DirDatos / "DATOSGEN.TBX");
        QTest::mouseClick(p.d->Pic_Guardar, Qt::LeftButton);
        EXPECT_EQ(p.Fichero().empty(), !c.guarda);
        EXPECT_FLOAT_EQ(p.st.Datos.Precio, c.campo == DatosGen::PrecioApuesta ? 0.5f : 0.3f);
    }
}

// The keyboard opens and closes each field; Guardar writes; leaving without saving (Escape, as Salir)
// restores what was saved; on leaving, the current matchday comes down to the total.
TEST(DatosGen, ElTecladoGuardarYSalirSinGuardarRestaura) {
    Pantalla p;
    p.st.Jornada() = 40;
    QWidget* zona = prueba::Foco();
    QTest::keyClick(zona, Qt::Key_Space);
    EXPECT_EQ(QApplication::focusWidget(), p.d->Tex_TotJor);
    prueba::Reescribe(p.d->Tex_TotJor, "30", Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), zona);
    EXPECT_EQ(prueba::Descripcion(zona), "30");  // the value, for a screen reader
    EXPECT_EQ(prueba::RecorridoTab(8),
              (std::vector<std::string>{"Campo_TotJor=Total jornadas", "Campo_PreApu=Precio apuesta",
                                        "Campo_Delegacion=Código Delegación",
                                        "Campo_Receptor=Código Receptor", "Campo_Sonido=Sonido activado",
                                        "Pic_Guardar=Guardar", "Pic_Ayuda=Ayuda", "Pic_Salir=Salir"}));
    QTest::mouseClick(p.d->Pic_Guardar, Qt::LeftButton);
    EXPECT_FALSE(p.d->Pic_Guardar->Activo());
    p.Teclea(DatosGen::Receptor, "99");
    QTest::mouseClick(p.d->Pic_Ayuda, Qt::LeftButton);
    EXPECT_EQ(p.ayuda.pedidas, std::vector<int>{2700});
    EXPECT_TRUE(prueba::SaleConEscape(p.d.get()));
    EXPECT_EQ(std::make_tuple(p.st.Datos.Receptor, p.st.Datos.TotJornadas, p.st.Jornada()),
              std::make_tuple(std::string("00000"), 30, 30));
    EXPECT_EQ(p.Fichero(), "40,\"01/09/02\",1,1,0,0,0,0,1,30,\"0.3 \",\"00\",\"00000\",\"Si\"\r\n");
}

struct Borrado : prueba::Entorno {
    Borrado() {
        for (int j : {5, 15, 50}) {
            EXPECT_EQ(GrabaRegistroJornada(st, j, RegistroEditor("", j, "01/09/02", {})), 0);
            for (int o : {1, 2}) prueba::GrabaReduccionPrueba(st, j, o, 2);
        }
        b = Abre<Borrar>();
    }
    void Elige(QPoint campo, QListWidget* lista, int n) {
        QTest::mouseClick(b.get(), Qt::LeftButton, {}, campo);
        prueba::ClicFila(lista, n - 1);
    }
    bool Guardada(int j) const {
        return fs::exists(st.DirDatos / ("RED" + DosDigitos(j) + "01.TBX")) &&
               RegistroJornadaEnUso(LeeRegistroJornada(st, j), j);
    }
    std::unique_ptr<Borrar> b;
};

// The range by the keyboard, which a screen reader hears, and by clicks, where the first matchday never
// passes the last. Only the confirmation deletes, and only the range.
TEST(Borrar, ElRangoPorTecladoYClicsYSoloLaConfirmacionBorra) {
    struct Caso {
        bool desde;
        int n, queda1, queda2;
    };
    Borrado en;
    EXPECT_EQ(prueba::RecorridoTab(5),
              (std::vector<std::string>{"Campo_Desde=Desde la jornada", "Campo_Hasta=Hasta la jornada",
                                        "Pic_Borrar=Borrar", "Pic_Ayuda=Ayuda", "Pic_Salir=Salir"}));
    en.b->Campo_Hasta->setFocus();
    QTest::keyClick(en.b->Campo_Hasta, Qt::Key_Space);
    ASSERT_EQ(QApplication::focusWidget(), en.b->Lis_JorFin);
    for (int i = 0; i < 12; ++i) QTest::keyClick(en.b->Lis_JorFin, Qt::Key_Down);
    QTest::keyClick(en.b->Lis_JorFin, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), en.b->Campo_Hasta);
    EXPECT_EQ(prueba::Descripcion(en.b->Campo_Desde) + "-" + prueba::Descripcion(en.b->Campo_Hasta), "1-13");
    QTest::keyClick(en.b->Campo_Hasta, Qt::Key_F1);
    EXPECT_EQ(en.ayuda.pedidas, std::vector<int>{2800});
    ASSERT_EQ(en.b->Lis_JorIni->count(), 52);
    en.sonidos.pedidos.clear();
    for (const Caso& c : {Caso{false, 10, 1, 10}, Caso{true, 40, 40, 40}, Caso{false, 3, 3, 3}}) {
        SCOPED_TRACE(c.n);
        en.Elige(c.desde ? QPoint(38, 68) : QPoint(38, 114), c.desde ? en.b->Lis_JorIni : en.b->Lis_JorFin,
                 c.n);
        EXPECT_EQ(std::make_pair(en.b->Desde(), en.b->Hasta()), std::make_pair(c.queda1, c.queda2));
        EXPECT_EQ(en.b->Lis_JorFin->currentRow() + 1, c.queda2);
    }
    EXPECT_EQ(en.sonidos.pedidos, (std::vector<int>{6, 7, 6, 7, 6, 7}));

    en.Elige(QPoint(38, 68), en.b->Lis_JorIni, 5);
    en.sonidos.pedidos.clear();
    QStringList textos;
    const auto borra = [&] { QTest::mouseClick(en.b->Pic_Borrar, Qt::LeftButton); };
    EXPECT_EQ(prueba::TitulosMensajes(borra, 1, nullptr, &textos), QStringList{"BORRADO DE DATOS"});
    EXPECT_TRUE(textos.value(0).contains("Jornada  5 ")) << textos.join('|').toStdString();
    for (int j : {5, 15, 50}) EXPECT_TRUE(en.Guardada(j)) << j;
    // Which records and files go is the deletion's own test.
    EXPECT_EQ(prueba::TitulosMensajes(borra, 1, &Mensajes::Pic_Borrar), QStringList{"BORRADO DE DATOS"});
    EXPECT_FALSE(en.Guardada(5));
    EXPECT_TRUE(en.Guardada(15));
    EXPECT_EQ(en.sonidos.pedidos, (std::vector<int>{9, 9, 9}));
    EXPECT_TRUE(prueba::SaleConEscape(en.b->Campo_Hasta));
}

}  // namespace
}  // namespace tobal
