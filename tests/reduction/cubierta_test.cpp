#include "reduction/Cubierta.h"

#include <gtest/gtest.h>

#include <vector>

#include "../../tools/BuscaCubierta.h"
#include "reduction/CubiertasTabla.h"

namespace tobal {
namespace {

int64_t Desarrollo(int t, int d) {
    int64_t n = 1;
    for (int i = 0; i < t; ++i) n *= 3;
    return n << d;
}

// Checks a built covering by marking the ball of every word over the whole
// space; returns the first fault found, empty when there is none.
std::string Falla(const Cubierta& c, int t, int d, int r) {
    const int n = t + d;
    if (c.triples != t || c.dobles != d || c.radio != r) return "cell";
    if (c.palabras != static_cast<size_t>(ColumnasCubierta(t, d, r))) return "size announced";
    if (c.digitos.size() != c.palabras * static_cast<size_t>(n)) return "digits";
    std::vector<int64_t> peso(n);
    std::vector<int> base(n);
    for (int i = n - 1, p = 1; i >= 0; --i) base[i] = i < t ? 3 : 2, peso[i] = p, p *= base[i];
    const int64_t total = Desarrollo(t, d);
    std::vector<bool> vista(total), cubierta(total);
    for (size_t w = 0; w < c.palabras; ++w) {
        const uint8_t* x = c.digitos.data() + w * n;
        int64_t idx = 0;
        for (int i = 0; i < n; ++i) {
            if (x[i] >= base[i]) return "digit outside the base";
            idx += x[i] * peso[i];
        }
        if (vista[idx]) return "repeated word";
        vista[idx] = cubierta[idx] = true;
        for (int i = 0; i < n; ++i)
            for (int v = 0; v < base[i]; ++v) {
                if (v == x[i]) continue;
                const int64_t uno = idx + (v - x[i]) * peso[i];
                cubierta[uno] = true;
                if (r < 2) continue;
                for (int j = i + 1; j < n; ++j)
                    for (int u = 0; u < base[j]; ++u)
                        if (u != x[j]) cubierta[uno + (u - x[j]) * peso[j]] = true;
            }
    }
    for (int64_t i = 0; i < total; ++i)
        if (!cubierta[i]) return "word " + std::to_string(i) + " not covered";
    return "";
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
    for (auto [t, d, max] : {std::array<int64_t, 3>{3, 1, 9}, {3, 2, 16}, {1, 5, 16}, {0, 9, 62}, {6, 0, 73},
                             {10, 0, 3645}, {13, 0, 59049}, {14, 0, 177147}, {0, 7, 16}, {4, 0, 9}})
        EXPECT_LE(ColumnasCubierta(static_cast<int>(t), static_cast<int>(d), 1), max) << t << "+" << d;
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
            g.g.assign(cubiertas::Columnas + p.columnasG, cubiertas::Columnas + p.columnasG + (p.dobles - p.b));
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
