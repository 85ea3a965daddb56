#include "reduction/Cubierta.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "Corrida.h"

#include "../../tools/BuscaCubierta.h"
#include "reduction/CubiertasTabla.h"

namespace tobal {
namespace {

// Checks a built covering: its cell, its size, its digits inside their
// bases, no word twice and its radius; the first fault found, empty when
// there is none.
std::string Falla(const Cubierta& c, int t, int d, int r) {
    const size_t n = static_cast<size_t>(t + d);
    if (c.triples != t || c.dobles != d || c.radio != r) return "cell";
    if (c.palabras != static_cast<size_t>(ColumnasCubierta(t, d, r))) return "size announced";
    if (c.digitos.size() != c.palabras * n) return "digits";
    std::set<std::vector<uint8_t>> vistas;
    for (auto x = c.digitos.begin(); x != c.digitos.end(); x += static_cast<ptrdiff_t>(n)) {
        for (size_t i = 0; i < n; ++i)
            if (x[static_cast<ptrdiff_t>(i)] >= (i < static_cast<size_t>(t) ? 3 : 2))
                return "digit outside the base";
        if (!vistas.emplace(x, x + static_cast<ptrdiff_t>(n)).second) return "repeated word";
    }
    return prueba::Radio(c, r) <= r ? "" : "a development not covered";
}

TEST(Cubierta, EveryCellCoversItsSpaceWithTheAnnouncedWords) {
    for (int r = 1; r <= 2; ++r)
        for (int t = 0; t <= 14; ++t)
            for (int d = 0; t + d <= 14; ++d) {
                const Cubierta c = ConstruyeCubierta(t, d, r);
                ASSERT_EQ(Falla(c, t, d, r), "") << t << "+" << d << " r" << r;
                if (t + d > 0 && r == 1) {
                    EXPECT_LE(ColumnasCubierta(t, d, 1), ColumnasMetodoDirecto(t, d)) << t << "+" << d;
                }
                if (r == 2) {
                    EXPECT_LE(ColumnasCubierta(t, d, 2), ColumnasCubierta(t, d, 1)) << t << "+" << d;
                }
            }
}

TEST(Cubierta, OutsideTheCellsNothing) {
    for (auto [t, d, r] : {std::array{15, 0, 1}, {7, 8, 1}, {-1, 3, 1}, {3, -1, 2}, {3, 3, 0}, {3, 3, 3}}) {
        EXPECT_FALSE(CeldaCubiertaValida(t, d, r));
        EXPECT_EQ(ColumnasCubierta(t, d, r), 0);
        EXPECT_EQ(ConstruyeCubierta(t, d, r).palabras, 0u);
    }
}

// The sizes known to be reachable at one error.
TEST(Cubierta, ReachesTheKnownSizes) {
    const std::array<int, 3> conocidas[] = {{3, 1, 9},       {3, 2, 16},    {1, 5, 16},     {0, 9, 62},
                                            {6, 0, 73},      {10, 0, 3645}, {13, 0, 59049}, {0, 7, 16},
                                            {14, 0, 177147}, {4, 0, 9}};
    for (auto [t, d, max] : conocidas) EXPECT_LE(ColumnasCubierta(t, d, 1), max) << t << "+" << d;
    EXPECT_EQ(ColumnasCubierta(11, 0, 2), 729);
}

// The shipped searches come out the same when run again from their seeds:
// those of the smallest cells, and the first one that sought its columns too.
TEST(Cubierta, ShippedSearchesAreReproducible) {
    int repetidas = 0;
    bool conjunta = false;
    for (const auto& re : cubiertas::Recetas) {
        if (re.tipo != cubiertas::kPieza) continue;
        const cubiertas::Pieza& p = cubiertas::Piezas[re.pieza];
        if (p.conjunta ? conjunta : p.triples + p.dobles > 5) continue;
        busqueda::Grupo g{p.a, p.b, p.radio, {}, {}};
        std::vector<int> s;
        if (p.conjunta) {
            conjunta = true;
            ASSERT_TRUE(busqueda::BuscaConjunta(g, p.triples, p.dobles, p.conjunta, p.semilla, p.pasos, s));
        } else {
            g.h.assign(cubiertas::Columnas + p.columnasH, cubiertas::Columnas + p.columnasG);
            g.g.assign(cubiertas::Columnas + p.columnasG,
                       cubiertas::Columnas + p.columnasG + (p.dobles - p.b));
            s = busqueda::BuscaSindromes(busqueda::Espacio(g), p.semilla, p.pasos);
        }
        std::vector<int> columnas(cubiertas::Columnas + p.columnasH,
                                  cubiertas::Columnas + p.columnasG + (p.dobles - p.b));
        const std::vector<int> enviada(cubiertas::Sindromes + p.sindromes,
                                       cubiertas::Sindromes + p.sindromes + p.numSindromes);
        g.h.insert(g.h.end(), g.g.begin(), g.g.end());
        EXPECT_EQ(g.h, columnas) << p.triples << "+" << p.dobles << " r" << int(p.radio);
        EXPECT_EQ(s, enviada) << p.triples << "+" << p.dobles << " r" << int(p.radio);
        ++repetidas;
    }
    EXPECT_GT(repetidas, 3);
    EXPECT_TRUE(conjunta);
}

}  // namespace
}  // namespace tobal
