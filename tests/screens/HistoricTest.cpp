#include "Entorno.h"
#include "reduction/Almacen.h"
#include "screens/Historic.h"

namespace tobal {
namespace {

// An index of `reducciones` stored reductions (matchday 1 + n / 30, order
// 1 + n % 30), with `actual` (0-based, -1 none) as the current reduction.
struct Indice : prueba::Entorno {
    explicit Indice(int reducciones, int actual = -1) {
        prueba::EscribeBytes(st.DirDatos / kFicheroBases, "");
        for (int n = 0; n < reducciones; ++n) prueba::GrabaReduccionPrueba(st, 1 + n / 30, 1 + n % 30, 2);
        st.Jornada() = actual >= 0 ? static_cast<int16_t>(1 + actual / 30) : 50;
        st.Orden() = actual >= 0 ? static_cast<int16_t>(1 + actual % 30) : 1;
        st.IndiceElegido = Verdadero;  // the window clears it
        h = Abre<Historic>();
    }
    void Pulsa(int x, int y) { QTest::mouseClick(h->Pic_Carpeta, Qt::LeftButton, {}, QPoint(x, y)); }
    int w() const { return h->Pic_Carpeta->width(); }
    int hh() const { return h->Pic_Carpeta->height(); }
    std::unique_ptr<Historic> h;
};

TEST(Historic, LasEsquinasPasanPaginaSoloSiLaHay) {
    struct Caso {
        int reducciones, actual;
        int trasSiguiente, trasAnterior;  // top index after a press on each corner
    };
    for (const Caso& c : {Caso{20, -1, 0, 0}, Caso{21, -1, 20, 0}, Caso{45, 44, 40, 20}}) {
        SCOPED_TRACE(c.reducciones);
        Indice ind(c.reducciones, c.actual);
        EXPECT_EQ(ind.h->Superior(), c.actual >= 0 ? 40 : 0);
        // One pixel outside each zone does nothing.
        ind.Pulsa(ind.w() - 26, ind.hh() - 16);
        ind.Pulsa(ind.w() - 25, ind.hh() - 17);
        ind.Pulsa(26, ind.hh() - 1);
        EXPECT_EQ(ind.h->Superior(), c.actual >= 0 ? 40 : 0);
        EXPECT_TRUE(ind.sonidos.pedidos.empty());
        int pausas = 0;
        ind.sv.pausa = [&](int centesimas) { pausas += centesimas; };
        ind.Pulsa(ind.w() - 25, ind.hh() - 16);
        EXPECT_EQ(ind.h->Superior(), c.trasSiguiente);
        ind.Pulsa(0, ind.hh() - 1);
        EXPECT_EQ(ind.h->Superior(), c.trasAnterior);
        const int pasos = (c.trasSiguiente != (c.actual >= 0 ? 40 : 0)) + (c.trasAnterior != c.trasSiguiente);
        EXPECT_EQ(ind.sonidos.pedidos, std::vector<int>(pasos, 10));
        EXPECT_EQ(pausas, 50 * pasos);
        ind.Pulsa(100, 53);  // the page's second line: picked, and the window closes
        EXPECT_EQ(std::make_tuple(ind.h->isVisible(), ind.st.IndiceElegido, ind.st.Orden()),
                  std::make_tuple(false, Verdadero, int16_t(c.trasAnterior + 2)));
    }
}

TEST(Historic, ElTecladoRecorreLasLineasYEligeOSale) {
    Indice ind(23, 1);
    ASSERT_EQ(QApplication::focusWidget(), ind.h->Pic_Carpeta);
    EXPECT_EQ(ind.h->Pic_Carpeta->Marcada(), 1);
    for (int i = 0; i < 19; ++i) QTest::keyClick(ind.h->Pic_Carpeta, Qt::Key_Down);  // over the page's end
    EXPECT_EQ(ind.h->Superior(), 20);
    QTest::keyClick(ind.h->Pic_Carpeta, Qt::Key_PageDown);  // no third page
    QTest::keyClick(ind.h->Pic_Carpeta, Qt::Key_Down);
    EXPECT_EQ(ind.sonidos.pedidos, std::vector<int>{10});
    // A screen reader hears the line with its column headings.
    const QString leida = prueba::Descripcion(ind.h->Pic_Carpeta);
    EXPECT_TRUE(leida.startsWith("Jornada: 1, Orden: 22, Método de reducción: ") &&
                leida.endsWith(", Apuestas reducidas: 2"))
        << leida.toStdString();
    QTest::keyClick(ind.h->Pic_Carpeta, Qt::Key_Return);
    EXPECT_FALSE(ind.h->isVisible());
    EXPECT_EQ(std::make_pair(ind.st.IndiceElegido, ind.st.Orden()), std::make_pair(Verdadero, int16_t(22)));

    Indice sale(3);
    QTest::keyClick(sale.h->Pic_Carpeta, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), sale.h->Pic_BotSalir);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(sale.h->isVisible());
    EXPECT_EQ(std::make_pair(sale.st.IndiceElegido, sale.sonidos.pedidos), std::make_pair(Falso, std::vector<int>{5}));
}

}  // namespace
}  // namespace tobal
