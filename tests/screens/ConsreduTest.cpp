#include "Entorno.h"
#include "platform/TextoLeido.h"
#include "reduction/Almacen.h"
#include "reduction/Condiciones.h"
#include "screens/Garantia.h"
#include "screens/Historic.h"
#include "screens/Reducir.h"
#include "screens/VistaReduccion.h"
#include "screens/consredu.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;

// The slider's ends: the thumb travels from x = 440 to x = 640.
constexpr int L = 440, R = 640;

// A browser over reduction (1, 1) of the columns ColumnaPrueba(1..columnas), beside reduction (2, 5).
struct Consulta : prueba::Entorno {
    explicit Consulta(int columnas) {
        prueba::GrabaReduccionPrueba(st, 2, 5, 30);
        if (columnas > 0) prueba::GrabaReduccionPrueba(st, 1, 1, columnas);
        d = Abre<consredu>();
    }
    // The columns the page shows, read back from its match lines.
    std::vector<std::string> Pagina() const {
        std::vector<std::string> cols;
        for (int k = 0; k < consredu::kColumnasPagina; ++k) {
            std::string c;
            for (int m = 1; m <= 15; ++m) {
                const std::string linea = d->Lineas()[size_t(m)].toStdString();
                c += size_t(k) < linea.size() ? linea[size_t(k)] : ' ';
            }
            cols.push_back(c);
        }
        return cols;
    }
    std::unique_ptr<consredu> d;
};

TEST(Consulta, PaginasBoletosFlechasYPulgarSegunLasColumnas) {
    struct Caso {
        int columnas;
        const char* total;
        std::array<const char*, 3> cabeceras;
        int pulgar;
        bool derecha;
    };
    for (const Caso& c : {Caso{8, "1 Boleto", {"Boleto 1", "", ""}, (L + R) / 2, false},
                          Caso{25, "4 Boletos", {"Boleto 1", "Boleto 2", "Boleto 3"}, L, true},
                          Caso{100, "13 Boletos", {"Boleto 1", "Boleto 2", "Boleto 3"}, L, true}}) {
        SCOPED_TRACE(c.columnas);
        Consulta p(c.columnas);
        EXPECT_EQ(p.d->TotalBoletos(), c.total);
        for (int g = 0; g < 3; ++g) EXPECT_EQ(p.d->Cabeceras()[size_t(g)], c.cabeceras[size_t(g)]);
        const auto pagina = p.Pagina();
        for (int k = 0; k < consredu::kColumnasPagina; ++k)
            EXPECT_EQ(pagina[size_t(k)],
                      k < c.columnas ? prueba::ColumnaPrueba(k + 1) : std::string(15, ' '));
        EXPECT_FALSE(p.d->Pic_FleIzq->Activo());
        EXPECT_EQ(p.d->Pic_FleDer->Activo(), c.derecha);
        EXPECT_EQ(p.d->Pic_Boton->x(), c.pulgar);
        // Dragged beyond the end, held there: the last page, its last column.
        QWidget* pulgar = p.d->Pic_Boton;
        QTest::mousePress(pulgar, Qt::LeftButton, {}, QPoint(10, 10));
        QMouseEvent mover(QEvent::MouseMove, QPointF(10 + R + 80 - pulgar->x(), 10),
                          pulgar->mapToGlobal(QPointF(10, 10)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pulgar, &mover);
        QTest::mouseRelease(pulgar, Qt::LeftButton, {}, QPoint(10, 10));
        const int ultima = c.columnas > 24 ? (c.columnas - 1) / 24 * 24 + 1 : 1;
        EXPECT_EQ(p.d->PrimeraColumna(), ultima);
        EXPECT_EQ(p.Pagina()[size_t(c.columnas - ultima)], prueba::ColumnaPrueba(c.columnas));
        EXPECT_EQ(p.d->Pic_FleDer->Activo(), false);
        p.sonidos.pedidos.clear();
        QTest::mouseClick(p.d->Pic_FleIzq, Qt::LeftButton);  // a page back when there is one
        p.d->Pic_Colum->setFocus();
        QTest::keyClick(p.d->Pic_Colum, Qt::Key_PageDown);
        EXPECT_EQ(p.d->PrimeraColumna(), ultima);
        EXPECT_EQ(p.sonidos.pedidos, std::vector<int>(c.columnas > 24 ? 2 : 0, 9));
    }
}

TEST(Consulta, UnFicheroDanadoSeRehusaYEscapeCierraElFichero) {
    Consulta p(30);
    const fs::path red = p.st.DirDatos / FicheroRed(1, 1);
    // A bad sign in column 27, on the second page: refused as it loads, by its number, nothing shown.
    prueba::EscribeBytes(red, prueba::Bytes(red).replace(26 * 19 + 5, 1, "3"));
    p.d = p.Abre<consredu>();
    EXPECT_EQ(p.e.mensajes.mensajes, std::vector<std::string>{TextoColumnasDanadas("RED0101.TBX", 27)});
    EXPECT_EQ(p.Pagina()[0], std::string(15, ' '));
    EXPECT_FALSE(p.d->FicheroAbierto() || p.d->Pic_FleDer->Activo() || p.d->Pic_Garantia->Activo());

    // A conditions file that does not read: refused once, by the load.
    prueba::GrabaReduccionPrueba(p.st, 1, 1, 30);
    prueba::EscribeBytes(p.st.DirDatos / FicheroCon(1, 1), "Z 1-2\r\nfallos 0\r\n");
    p.e.mensajes.mensajes.clear();
    p.d->CargaConsulta();
    EXPECT_EQ(p.e.mensajes.mensajes.size(), 1u);
    EXPECT_FALSE(p.d->FicheroAbierto());
    fs::remove(p.st.DirDatos / FicheroCon(1, 1));

    p.d->CargaConsulta();  // Escape leaves and closes the file
    ASSERT_TRUE(p.d->FicheroAbierto());
    EXPECT_TRUE(prueba::SaleConEscape(p.d.get()) && !p.d->FicheroAbierto());
}

// What a screen reader gets, the conditions as the guarantee, the reduction screen and the index show them
// too, and nothing of a reduction once another without columns is loaded.
TEST(Consulta, ElLectorOyeLaPaginaYLasCondicionesYNadaDeLaReduccionAnteriorYElIndiceCarga) {
    Consulta p(25);
    Condiciones cs;
    cs.lista = {Condicion{Medida::Equis, 2, 5, kTodosLosPartidos}, Condicion{Medida::Seguidos, 1, 4, 0x7F}};
    cs.fallos = 1;
    ASSERT_EQ(GrabaCondiciones(p.st.DirDatos / FicheroCon(1, 1), cs), 0);
    const QString texto = "X 2-5; seguidos 1-4 partidos 1-7; 1 fallo permitido";
    p.d = p.Abre<consredu>();
    EXPECT_EQ(p.d->Tex_Metodo->Texto(), "Directo");
    const QString pagina = prueba::Descripcion(p.d->Pic_Colum);
    EXPECT_TRUE(pagina.startsWith(QStringLiteral("Boleto 1: %1, %2, ")
                                      .arg(QString::fromStdString(prueba::ColumnaPrueba(1)),
                                           QString::fromStdString(prueba::ColumnaPrueba(2)))) &&
                pagina.contains(". Boleto 3: "))
        << pagina.toStdString();
    EXPECT_EQ(p.d->Tex_Boletos->Texto(), "4 Boletos");
    EXPECT_TRUE(p.d->Tex_Resumen->Texto().contains("apuestas reducidas a 25"));
    EXPECT_EQ(p.d->vista->Tex_Condiciones->Texto(), texto);
    prueba::Captura(p.d.get(), "consredu-condiciones");
    QTest::mouseClick(p.d->Pic_FleDer, Qt::LeftButton);
    EXPECT_EQ(prueba::Descripcion(p.d->Pic_Boton), "Página 2 de 2");
    // The browser's button opens the guarantee over the results that meet them, and over the whole base.
    bool vista = false;
    prueba::CuandoVentana<Garantia>([&](Garantia* g) {
        EXPECT_EQ(g->Tex_Condiciones->Texto(), "Condiciones: " + texto);
        ASSERT_TRUE(QTest::qWaitFor([g] { return g->fase() != Garantia::Fase::Calculando; }, 5000));
        EXPECT_TRUE(g->Tex_Estado->Texto().contains(" cumplen las condiciones, "));
        EXPECT_EQ(g->Tex_Frase->Texto().count('\n'), 2) << g->Tex_Frase->Texto().toStdString();
        prueba::Captura(g, "garantia-condiciones");
        QTest::mouseClick(g->Pic_Salir, Qt::LeftButton);
        vista = true;
    });
    QTest::mouseClick(p.d->Pic_Garantia, Qt::LeftButton);
    EXPECT_TRUE(vista);
    EXPECT_EQ(Reducir(p.st, p.sv).Pic_Condiciones->Rotulo(), "Condiciones (2)...");  // reopened on it

    p.d->vista->Orden->Pulsa();
    prueba::ClicFila(p.d->vista->Orden->lista(), 1);  // order 2: nothing stored
    EXPECT_EQ(prueba::Descripcion(p.d->Pic_Colum) + prueba::Descripcion(p.d->Pic_Boton),
              "Sin columnasSin páginas");
    EXPECT_EQ(p.d->Tex_Boletos->Texto() + p.d->Tex_Resumen->Texto() + p.d->vista->Tex_Condiciones->Texto(),
              "");
    EXPECT_EQ(Garantia(p.st, p.sv).AreaTabla().top(), 86);
    prueba::CuandoVentana<Historic>([&](Historic* h) {
        ASSERT_EQ(h->TotalLineas(), 2);
        EXPECT_EQ(h->MarcaCondiciones(0) + "|" + h->MarcaCondiciones(1), "|C");
        QTest::keyClick(h->Pic_Carpeta, Qt::Key_Down);
        EXPECT_TRUE(prueba::Descripcion(h->Pic_Carpeta).endsWith(", Condiciones: " + texto));
        prueba::Captura(h, "historic-condiciones");
        h->Elige(0);
    });
    QTest::mouseClick(p.d->Pic_Indice, Qt::LeftButton);
    EXPECT_TRUE(p.d->isVisible());
    EXPECT_EQ(p.d->TotalBoletos(), "4 Boletos");
    EXPECT_EQ(p.d->vista->Orden->lista()->currentRow(), 4);
}

// An index of `reducciones` stored reductions (matchday 1 + n / 30, order
// 1 + n % 30), with `actual` (0-based, -1 none) as the current reduction.
struct Indice : prueba::Entorno {
    explicit Indice(int reducciones, int actual = -1) {
        for (int n = 0; n < reducciones; ++n) prueba::GrabaReduccionPrueba(st, 1 + n / 30, 1 + n % 30, 2);
        st.Jornada() = actual >= 0 ? static_cast<int16_t>(1 + actual / 30) : 50;
        st.Orden() = actual >= 0 ? static_cast<int16_t>(1 + actual % 30) : 1;
        st.IndiceElegido = Verdadero;  // the window clears it
        h = Abre<Historic>();
    }
    void Pulsa(int x, int y) { QTest::mouseClick(h->Pic_Carpeta, Qt::LeftButton, {}, QPoint(x, y)); }
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
        // The page corners are the bottom 25 x 16 pixels at each end of the 660 x 372 folder; one pixel
        // outside each does nothing.
        ind.Pulsa(634, 356);
        ind.Pulsa(635, 355);
        ind.Pulsa(26, 371);
        EXPECT_EQ(ind.h->Superior(), c.actual >= 0 ? 40 : 0);
        int pausas = 0;
        ind.sv.pausa = [&](int centesimas) { pausas += centesimas; };
        ind.Pulsa(635, 356);
        EXPECT_EQ(ind.h->Superior(), c.trasSiguiente);
        ind.Pulsa(0, 371);
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
    EXPECT_TRUE(prueba::SaleConEscape(prueba::Foco()));
    EXPECT_EQ(std::make_pair(sale.st.IndiceElegido, sale.sonidos.pedidos),
              std::make_pair(Falso, std::vector<int>{5}));
}

}  // namespace
}  // namespace tobal
