// The minimal reduction: the engine writes the covering of the reduced
// multiples, mapped onto their matches, and the exact guarantee proves it.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "Corrida.h"
#include "reduction/Cubierta.h"
#include "reduction/Garantia.h"

namespace tobal {
namespace {

using prueba::Bytes;
using prueba::Corrida;

int64_t Potencia(int base, int n) {
    int64_t p = 1;
    while (n-- > 0) p *= base;
    return p;
}

// The covering radius of a cell: the largest distance from a development
// of its t triples and d doubles (digits of a mixed-radix count) to the
// nearest word, by a breadth-first search from every word.
int Radio(const Cubierta& c) {
    const size_t n = static_cast<size_t>(c.triples + c.dobles);
    const auto base = [&](size_t k) { return static_cast<int64_t>(k) < c.triples ? 3 : 2; };
    std::vector<int64_t> peso(n + 1, 1);
    for (size_t k = n; k-- > 0;) peso[k] = peso[k + 1] * base(k);
    std::vector<int> dist(static_cast<size_t>(peso[0]), -1);
    std::vector<int64_t> cola;
    for (size_t w = 0; w < c.palabras; ++w) {
        int64_t x = 0;
        for (size_t k = 0; k < n; ++k) x += c.digitos[w * n + k] * peso[k + 1];
        if (dist[static_cast<size_t>(x)] < 0) dist[static_cast<size_t>(x)] = 0, cola.push_back(x);
    }
    for (size_t i = 0; i < cola.size(); ++i)
        for (size_t k = 0; k < n; ++k)
            for (int64_t v = 0, digito = cola[i] / peso[k + 1] % base(k); v < base(k); ++v) {
                const auto y = static_cast<size_t>(cola[i] + (v - digito) * peso[k + 1]);
                if (dist[y] < 0)
                    dist[y] = dist[static_cast<size_t>(cola[i])] + 1, cola.push_back(static_cast<int64_t>(y));
            }
    return cola.empty() ? -1 : dist[static_cast<size_t>(cola.back())];
}

// For random bases, every cell of reduced triples and doubles whose run is
// short, and both guarantees: the columns lie inside the base, none twice,
// as many as announced (the covering times the multiples developed in
// full), and the guarantee is 14 less the covering's radius, never below
// 14 - R. With random conditions on every other small cell: no more
// columns, and every result that meets them within R of one.
TEST(Minima, CeldasSobreBasesAleatorias) {
    std::mt19937 g(1414);
    int celdas = 0;
    for (int t = 0; t <= 14; ++t)
        for (int d = t ? 0 : 1; t + d <= 14; ++d)
            for (int radio = 1; radio <= 2; ++radio) {
                const int64_t palabras = ColumnasCubierta(t, d, radio);
                if (palabras > 2000 || Potencia(3, t) * Potencia(2, d) > 200'000) continue;
                ++celdas;
                Corrida c;
                const int libres = t + d < 14 && palabras < 1000 ? 1 : 0;
                prueba::BaseAleatoria(g, c.r, 4, t, d, libres);
                c.r.MaxErrores = static_cast<int16_t>(radio);
                c.r.Jornada = 12, c.r.Orden = 1;
                const bool condiciones = celdas % 2 && Potencia(3, t) * Potencia(2, d) <= 20'000;
                if (condiciones) {
                    c.st.CondicionesActuales = prueba::CondicionesAleatorias(g);
                    EXPECT_EQ(CalculaEstadistica(c.st).lineas.at(7).etiqueta, kReducidasMaximas);
                }
                SCOPED_TRACE(TextoBase(c.r.Partidos) + " R " + std::to_string(radio) + "\n" +
                             TextoFicheroCondiciones(c.st.CondicionesActuales));
                ASSERT_EQ(c.Ejecuta().fin, FinReduccion::Terminada);
                const auto cols = c.Columnas();
                c.r.ApuestasReducidas = -1;
                CargaReduccion(c.st);
                EXPECT_EQ(static_cast<int64_t>(cols.size()), c.r.ApuestasReducidas);
                const size_t sinCondiciones = static_cast<size_t>(palabras * c.r.ApuestasDirectas);
                const size_t escritas = cols.size() * static_cast<size_t>(Potencia(3, t) * Potencia(2, d));
                EXPECT_TRUE(condiciones ? escritas <= sinCondiciones : escritas == sinCondiciones);
                EXPECT_EQ(std::set<std::string>(cols.begin(), cols.end()).size(), cols.size());
                for (const std::string& col : cols)
                    for (int i = 1; i <= 15; ++i)
                        ASSERT_TRUE(c.r.Partidos[i].Signo[1 + std::string_view("1X2").find(col[i - 1])])
                            << col << " match " << i;

                const ResultadoGarantia gar = CalculaGarantia(c.st);
                ASSERT_EQ(gar.fin, FinGarantia::Calculada) << gar.mensaje;
                EXPECT_GE(gar.minimo, gar.resultados ? 14 - radio : 0);
                if (condiciones) continue;
                const int propio = Radio(ConstruyeCubierta(t, d, radio));
                EXPECT_LE(propio, radio);
                EXPECT_EQ(gar.minimo, 14 - propio);
            }
    EXPECT_GT(celdas, 80);
}

// The k-th triple digit of a word is the sign 1, X, 2 of the k-th reduced
// triple in match order; the k-th double digit the first or second marked
// sign of the k-th reduced double; the covering is written whole for each
// state of the multiples developed in full, match 1 varying fastest. The
// record says method 4 with 0 and R errors.
TEST(Minima, OrdenDeLasColumnasYRegistro) {
    Corrida c;
    c.Prepara(4, "1X2* X2* 1X 12* 1X2* 1 1 1 1 1 1 1 1 1 2");
    c.r.Signos = {0, 1, 1, 1};  // left by another method: not stored
    const Cubierta cub = ConstruyeCubierta(2, 2, 1);
    ASSERT_EQ(cub.digitos.size(), cub.palabras * 4);
    std::vector<std::string> esperadas;
    for (char libre : {'1', 'X'})
        for (size_t w = 0; w < cub.palabras; ++w) {
            const uint8_t* dg = &cub.digitos[w * 4];
            esperadas.push_back(std::string{"1X2"[dg[0]], "X2"[dg[2]], libre, "12"[dg[3]], "1X2"[dg[1]]} +
                                "1111111112");
        }
    ASSERT_EQ(c.Ejecuta().fin, FinReduccion::Terminada);
    EXPECT_EQ(c.Columnas(), esperadas);
    EXPECT_EQ(Bytes(c.e.dir() / kFicheroBases).substr(0, 15), "12014 0 1 0 0 0");
}

}  // namespace
}  // namespace tobal
