#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "Entorno.h"
#include "app/Estado.h"
#include "data/DatosGen.h"
#include "platform/BotonImagen.h"
#include "screens/Tb1x2.h"

namespace tobal {
namespace {

using prueba::Entorno;

// A menu whose every option opens a screen that closes at once and notes
// which option it belongs to.
struct MenuPrueba : Entorno {
    MenuPrueba() {
        LeeDatosGen(st);
        e.mensajes.mensajes.clear();
        menu = std::make_unique<Tb1x2>(st, sv);
        for (int o = 1; o <= Tb1x2::kOpciones; ++o)
            menu->PonPantalla(o, [this, o](Estado&, Servicios&, QWidget* padre) {
                abiertas.push_back(o);
                st.RepiteReducir = Falso;  // as a screen left by its exit button
                pulsadaAlAbrir = menu->Pulsada(o);
                auto d = std::make_unique<QDialog>(padre);
                QTimer::singleShot(0, d.get(), &QDialog::reject);
                return d;
            });
        menu->show();
    }
    void Pulsa(int x, int y) { QTest::mouseClick(menu.get(), Qt::LeftButton, {}, QPoint(x, y)); }
    std::unique_ptr<Tb1x2> menu;
    std::vector<int> abiertas;
    bool pulsadaAlAbrir = false;
};

TEST(Menu, BordesDeLasOpcionesIncluidosYUnPixelMasAllaNo) {
    MenuPrueba m;
    for (int o = 1; o <= Tb1x2::kOpciones; ++o) {
        const QPoint c = Tb1x2::EsquinaOpcion(o);
        m.abiertas.clear();
        m.Pulsa(c.x() + 215, c.y() + 27);  // bottom right corner
        m.Pulsa(c.x(), c.y());              // top left corner
        m.Pulsa(c.x() + 216, c.y() + 10);
        m.Pulsa(c.x() + 10, c.y() + 28);
        m.Pulsa(c.x() - 1, c.y() + 10);
        m.Pulsa(c.x() + 10, c.y() - 1);
        EXPECT_EQ(m.abiertas, (std::vector<int>{o, o})) << "opción " << o;
    }
}

TEST(Menu, UnaOpcionSeVePulsadaMientrasSuPantallaEstaAbierta) {
    MenuPrueba m;
    m.Pulsa(100, 200);
    EXPECT_TRUE(m.pulsadaAlAbrir);
    EXPECT_FALSE(m.menu->Pulsada(1));
    EXPECT_EQ(m.sonidos.pedidos, std::vector<int>{6});
}

TEST(Menu, UnaSegundaPulsacionMientrasSeAbreNoAbreOtraPantalla) {
    MenuPrueba m;
    const QPointF p(100, 200);
    QCoreApplication::postEvent(m.menu.get(), new QMouseEvent(QEvent::MouseButtonPress, p, m.menu->mapToGlobal(p),
                                                             Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    m.Pulsa(100, 200);  // its click sound lets the waiting press through
    EXPECT_EQ(m.abiertas, std::vector<int>{1});
}

TEST(Menu, UnaPulsacionEntreOpcionesNoSuenaNiAbre) {
    MenuPrueba m;
    m.Pulsa(150, 218);  // between the rows
    m.Pulsa(275, 200);  // between the columns
    m.Pulsa(400, 320);  // where there is no eighth option
    m.Pulsa(5, 5);
    EXPECT_TRUE(m.abiertas.empty());
    EXPECT_TRUE(m.sonidos.pedidos.empty());
}

TEST(Menu, OpcionesSinPantallaNoAbrenNadaNiSuenan) {
    Entorno en;
    Tb1x2 menu(en.st, en.sv);
    menu.show();
    en.sonidos.pedidos.clear();
    for (int o : {1, 2, 3, 4, 5, 7}) {
        const QPoint c = Tb1x2::EsquinaOpcion(o);
        QTest::mouseClick(&menu, Qt::LeftButton, {}, c + QPoint(20, 10));
    }
    EXPECT_TRUE(en.sonidos.pedidos.empty());
    EXPECT_EQ(en.st.RepiteReducir, Falso);
}

TEST(Menu, LaReduccionSeReabreMientrasRepiteReducir) {
    MenuPrueba m;
    int veces = 0;
    m.menu->PonPantalla(OpcionMenu::Reducir, [&](Estado& st, Servicios&, QWidget* padre) {
        EXPECT_EQ(st.RepiteReducir, Verdadero);
        auto d = std::make_unique<QDialog>(padre);
        // The screen asks to be opened again twice (a reduction picked in
        // its index), then the user leaves it.
        const bool repite = ++veces < 3;
        QTimer::singleShot(0, d.get(), [&st, repite, p = d.get()] {
            st.RepiteReducir = repite ? Verdadero : Falso;
            p->reject();
        });
        return d;
    });
    const QPoint c = Tb1x2::EsquinaOpcion(OpcionMenu::Reducir);
    m.Pulsa(c.x() + 100, c.y() + 13);
    EXPECT_EQ(veces, 3);
    EXPECT_EQ(m.sonidos.pedidos, std::vector<int>{6});
    EXPECT_FALSE(m.menu->Pulsada(OpcionMenu::Reducir));
}

TEST(Menu, SalirGrabaLosDatosGeneralesAunqueNadaHayaCambiado) {
    MenuPrueba m;
    const auto fichero = m.st.DirDatos / "DATOSGEN.TBX";
    std::filesystem::remove(fichero);
    m.st.Jornada() = 7;  // the current selection goes back to the file too
    QSignalSpy terminado(m.menu.get(), &Tb1x2::terminado);
    QTest::mouseClick(m.menu->Pic_Salir, Qt::LeftButton);
    EXPECT_EQ(terminado.count(), 1);
    EXPECT_FALSE(m.menu->isVisible());
    EXPECT_EQ(prueba::Bytes(fichero), "7,\"01/09/02\",1,1,0,0,0,0,1,42,\"0.3 \",\"00\",\"00000\",\"Si\"\r\n");
    EXPECT_EQ(m.sonidos.pedidos, std::vector<int>{5});
    EXPECT_TRUE(m.e.mensajes.mensajes.empty());
}

TEST(Menu, SalirSinPoderGrabarLoDice) {
    MenuPrueba m;
    m.st.DirDatos = m.st.DirDatos / "no-existe";
    QTest::mouseClick(m.menu->Pic_Salir, Qt::LeftButton);
    ASSERT_EQ(m.e.mensajes.mensajes.size(), 1u);
    EXPECT_NE(m.e.mensajes.mensajes[0].find("DATOSGEN.TBX"), std::string::npos);
}

TEST(Menu, LosSonidosSoloSuenanConSonidoSiEnCualquierCaja) {
    for (const char* valor : {"No", "no", "S ", "  ", "Sí", "x"}) {
        MenuPrueba m;
        PonSonido(m.st, valor);
        m.Pulsa(100, 200);
        QTest::mouseClick(m.menu->Pic_Ayuda, Qt::LeftButton);
        EXPECT_TRUE(m.sonidos.pedidos.empty()) << valor;
        EXPECT_EQ(m.abiertas.size(), 1u);
        EXPECT_EQ(m.ayuda.pedidas, std::vector<int>{0});
    }
    for (const char* valor : {"Si", "sI", "SI", "si"}) {
        MenuPrueba m;
        PonSonido(m.st, valor);
        m.Pulsa(100, 200);
        QTest::mouseClick(m.menu->Pic_Ayuda, Qt::LeftButton);
        EXPECT_EQ(m.sonidos.pedidos, (std::vector<int>{6, 9})) << valor;
    }
}

TEST(Menu, ElCursorEsLaManoSobreUnaOpcion) {
    MenuPrueba m;
    QTest::mouseMove(m.menu.get(), QPoint(100, 200));
    EXPECT_EQ(m.menu->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(m.menu.get(), QPoint(150, 218));
    EXPECT_EQ(m.menu->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(m.menu->Pic_Salir->cursor().shape(), Qt::PointingHandCursor);
}

TEST(Menu, LaOpcionDeDatosGeneralesAbreSuPantalla) {
    Entorno en;
    Tb1x2 menu(en.st, en.sv);
    menu.show();
    QString abierta;
    prueba::CuandoModal([&](QWidget* w) {
        abierta = w->objectName();
        w->close();
    });
    QTest::mouseClick(&menu, Qt::LeftButton, {}, QPoint(400, 240));
    EXPECT_EQ(abierta, "DatosGen");
}

}  // namespace
}  // namespace tobal
