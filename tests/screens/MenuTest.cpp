#include <QAccessible>
#include <QMouseEvent>
#include <QSignalSpy>

#include "Entorno.h"
#include "data/DatosGen.h"
#include "platform/Teclado.h"
#include "screens/Arranque.h"
#include "screens/Tb1x2.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;

const std::string kDefecto = "1,\"01/09/02\",1,1,0,0,0,0,1,42,\"0.3 \",\"00\",\"00000\",\"Si\"\r\n";

// A menu whose every option opens a screen that closes at once and notes
// which option it belongs to.
struct MenuPrueba : prueba::Entorno {
    explicit MenuPrueba(const char* sonido = "Si") {
        menu = std::make_unique<Tb1x2>(st, sv);  // creates the default settings
        e.mensajes.mensajes.clear();
        PonSonido(st, sonido);
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

TEST(Menu, BordesDeLasOpcionesIncluidosYUnPixelMasAllaNoNiEntreOpciones) {
    MenuPrueba m;
    // Between the rows, between the columns, where there is no eighth option.
    for (QPoint p : std::initializer_list<QPoint>{{150, 218}, {275, 200}, {400, 320}, {5, 5}}) m.Pulsa(p);
    EXPECT_TRUE(m.abiertas.empty());
    EXPECT_TRUE(m.sonidos.pedidos.empty());
    // The corners as the menu's layout fixes them, written here rather than
    // read from the menu, so that a mistyped corner shows.
    const QPoint esquinas[] = {{40, 185},  {40, 225},  {40, 265}, {40, 305},
                               {300, 185}, {300, 225}, {300, 265}};
    for (int o = 1; o <= Tb1x2::kOpciones; ++o) {
        const QPoint c = esquinas[o - 1];
        EXPECT_EQ(Tb1x2::EsquinaOpcion(o), c) << "opción " << o;
        m.abiertas.clear();
        m.sonidos.pedidos.clear();
        for (QPoint d :
             std::initializer_list<QPoint>{{215, 27}, {0, 0}, {216, 10}, {10, 28}, {-1, 10}, {10, -1}})
            m.Pulsa(c + d);
        EXPECT_EQ(m.abiertas, (std::vector<int>{o, o})) << "opción " << o;
        EXPECT_EQ(m.sonidos.pedidos, (std::vector<int>{6, 6})) << "opción " << o;
    }
}

TEST(Menu, UnaSegundaPulsacionNoAbreOtraPantallaYLaReduccionSeReabre) {
    MenuPrueba m;
    const QPointF p(100, 200);
    QCoreApplication::postEvent(
        m.menu.get(), new QMouseEvent(QEvent::MouseButtonPress, p, m.menu->mapToGlobal(p), Qt::LeftButton,
                                      Qt::LeftButton, Qt::NoModifier));
    m.Pulsa(p.toPoint());  // its click sound lets the waiting press through
    EXPECT_EQ(m.abiertas, std::vector<int>{1});

    // The reduction screen opens again while it leaves RepiteReducir set.
    m.repite = 2;
    m.sonidos.pedidos.clear();
    m.Pulsa(Tb1x2::EsquinaOpcion(OpcionMenu::Reducir) + QPoint(100, 13));
    EXPECT_EQ(m.abiertas, (std::vector<int>{1, 2, 2, 2}));
    EXPECT_EQ(m.sonidos.pedidos, std::vector<int>{6});
}

// Tab goes through the seven options, help and leave; Enter or Space open
// an option. Leaving writes the settings back even when nothing changed.
TEST(Menu, ElTecladoRecorreYAbreLasOpcionesYEscapeNoSale) {
    RetornoTeclado::Instala();
    MenuPrueba m;
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
    // The keyboard came back to the menu, where it was, after each screen.
    // Escape, once too many on the way back, does not end the program; F1
    // opens the help, the exit button leaves.
    ASSERT_EQ(QApplication::focusWidget(), m.menu->Opc[Tb1x2::kOpciones - 1]);
    QSignalSpy terminado(m.menu.get(), &Tb1x2::terminado);
    QTest::keyClick(m.menu->Opc[Tb1x2::kOpciones - 1], Qt::Key_Escape);
    EXPECT_EQ(terminado.count(), 0);
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
    for (int opcion = 1; opcion <= Tb1x2::kOpciones; ++opcion) {
        // An empty folder has no reduction: the scoring screen says so as it
        // opens, and the message goes first.
        QString abierta;
        std::function<void(QWidget*)> cierra = [&](QWidget* w) {
            if (w->objectName() == QLatin1String("mensajes")) {
                w->close();
                prueba::CuandoModal(cierra);
                return;
            }
            abierta = w->objectName(), w->close();
        };
        prueba::CuandoModal(cierra);
        QTest::mouseClick(menu.get(), Qt::LeftButton, {}, Tb1x2::EsquinaOpcion(opcion));
        EXPECT_EQ(abierta, pantallas[opcion - 1]);
    }
}

}  // namespace
}  // namespace tobal
