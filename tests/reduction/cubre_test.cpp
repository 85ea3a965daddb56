// The minimal reduction with conditions: the covering of the results that
// meet them, checked against an enumeration of the reduced multiples and a
// plain greedy covering of the same results.

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "Corrida.h"
#include "reduction/Condiciones.h"
#include "reduction/CubiertaCondicionada.h"

namespace tobal {
namespace {

Condiciones CondicionesAzar(std::mt19937& g) {
    Condiciones cs;
    cs.fallos = static_cast<int>(g() % 2);
    for (int k = 1 + static_cast<int>(g() % 3); k > 0; --k) {
        Condicion c;
        c.medida = static_cast<Medida>(g() % 6);
        if (g() % 2)
            while (!(c.partidos = static_cast<uint16_t>(g() & kTodosLosPartidos))) {
            }
        const int n = __builtin_popcount(c.partidos);
        const int tope = c.medida == Medida::Interrupciones ? n - 1 : n;
        c.minimo = static_cast<int>(g() % static_cast<unsigned>(tope / 2 + 1));
        c.maximo = c.minimo + static_cast<int>(g() % static_cast<unsigned>(tope - c.minimo + 1));
        cs.lista.push_back(c);
    }
    return cs;
}

// The reduced multiples in the covering's order: triples, then doubles.
struct Coordenadas {
    std::vector<int> partido;
    std::vector<std::string> signos;
    explicit Coordenadas(const Reduccion& r) {
        for (size_t n : {3u, 2u})
            for (int m = 1; m <= 14; ++m) {
                std::string s;
                for (int k = 1; k <= 3; ++k)
                    if (r.Partidos[m].Signo[k]) s += "1X2"[k - 1];
                if (r.Partidos[m].AReducir == 1 && s.size() == n) partido.push_back(m), signos.push_back(s);
            }
    }
};

// For random bases, states and conditions: every result of the state that
// meets the conditions is within R of a word; the words lie inside the base,
// none twice, no more than the covering without conditions nor than a plain
// greedy covering (the first word of greatest gain each step); the same
// input gives the same words.
TEST(CubreCondiciones, CubreLoQueCumpleConNoMasQueLasOtrasCubiertas) {
    std::mt19937 g(3131);
    int conResultados = 0;
    for (int caso = 0; caso < 80; ++caso) {
        const int t = static_cast<int>(g() % 5), d = static_cast<int>(g() % 4),
                  radio = 1 + static_cast<int>(g() % 2);
        Reduccion r;
        prueba::BaseAleatoria(g, r, 4, t, d, static_cast<int>(g() % 3));
        const Condiciones cs = CondicionesAzar(g);
        std::string estado(14, '1');
        for (int m = 1; m <= 14; ++m) {
            std::string s;
            for (int k = 1; k <= 3; ++k)
                if (r.Partidos[m].Signo[k]) s += "1X2"[k - 1];
            estado[static_cast<size_t>(m - 1)] = s[g() % s.size()];
        }
        SCOPED_TRACE(TextoBase(r.Partidos) + " | " + estado + " R " + std::to_string(radio) + "\n" +
                     TextoFicheroCondiciones(cs));
        const Coordenadas co(r);
        ASSERT_EQ(co.partido.size(), static_cast<size_t>(t + d));
        const size_t n = co.partido.size();

        // Every word of the reduced space, the last coordinate fastest.
        std::vector<std::vector<int>> palabras{{}};
        for (size_t k = 0; k < n; ++k) {
            std::vector<std::vector<int>> mas;
            for (const auto& w : palabras)
                for (int v = 0; v < static_cast<int>(co.signos[k].size()); ++v)
                    mas.push_back(w), mas.back().push_back(v);
            palabras.swap(mas);
        }
        std::vector<bool> cumple;
        for (const auto& w : palabras) {
            std::string col = estado;
            for (size_t k = 0; k < n; ++k)
                col[static_cast<size_t>(co.partido[k] - 1)] = co.signos[k][static_cast<size_t>(w[k])];
            cumple.push_back(CumpleCondiciones(cs, col));
        }
        const auto cerca = [&](const std::vector<int>& a, const std::vector<int>& b) {
            int dist = 0;
            for (size_t k = 0; k < n; ++k) dist += a[k] != b[k];
            return dist <= radio;
        };

        // The plain greedy covering.
        std::vector<bool> cubierta(palabras.size(), false);
        size_t voraz = 0;
        for (;;) {
            size_t mejor = 0, ganancia = 0;
            for (size_t x = 0; x < palabras.size(); ++x) {
                size_t gx = 0;
                for (size_t y = 0; y < palabras.size(); ++y)
                    gx += cumple[y] && !cubierta[y] && cerca(palabras[x], palabras[y]);
                if (gx > ganancia) mejor = x, ganancia = gx;
            }
            if (!ganancia) break;
            ++voraz;
            for (size_t y = 0; y < palabras.size(); ++y)
                cubierta[y] = cubierta[y] || cerca(palabras[mejor], palabras[y]);
        }

        CubiertaCondicionada cc(r, cs, radio);
        ASSERT_TRUE(cc.Construye(estado));
        const Cubierta& c = cc.Resultado();
        EXPECT_EQ(cc.Condicionados(), std::count(cumple.begin(), cumple.end(), true));
        ASSERT_EQ(c.digitos.size(), c.palabras * n);
        std::set<std::vector<int>> escritas;
        for (size_t w = 0; w < c.palabras; ++w) {
            std::vector<int> x(c.digitos.begin() + static_cast<ptrdiff_t>(w * n),
                               c.digitos.begin() + static_cast<ptrdiff_t>((w + 1) * n));
            for (size_t k = 0; k < n; ++k) ASSERT_LT(x[k], static_cast<int>(co.signos[k].size()));
            EXPECT_TRUE(escritas.insert(x).second) << "word " << w << " twice";
        }
        for (size_t y = 0; y < palabras.size(); ++y) {
            const bool cerca_de_una = std::any_of(escritas.begin(), escritas.end(),
                                                  [&](const auto& x) { return cerca(x, palabras[y]); });
            EXPECT_TRUE(!cumple[y] || cerca_de_una) << "result " << y << " not covered";
        }
        EXPECT_LE(c.palabras, voraz);
        EXPECT_LE(c.palabras, ConstruyeCubierta(t, d, radio).palabras);
        conResultados += c.palabras > 0;

        CubiertaCondicionada otra(r, cs, radio);
        ASSERT_TRUE(otra.Construye(estado));
        EXPECT_EQ(otra.Resultado().digitos, c.digitos);
        EXPECT_EQ(otra.Resultado().palabras, c.palabras);
    }
    EXPECT_GT(conResultados, 40);
}

}  // namespace
}  // namespace tobal
