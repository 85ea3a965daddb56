// The guarantee of a reduction with conditions, against the plain answer:
// every result inside the base, its conditions and its best column.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "Corrida.h"
#include "reduction/Condiciones.h"
#include "reduction/Garantia.h"

namespace tobal {
namespace {

Condiciones CondicionesAleatorias(std::mt19937& g) {
    Condiciones cs;
    for (int k = 1 + static_cast<int>(g() % 4); k > 0; --k) {
        Condicion c;
        // Runs and interruptions, whose stretches join, twice as often.
        c.medida = static_cast<Medida>(g() % 2 ? g() % 6 : 4 + g() % 2);
        if (g() % 2)
            while (!(c.partidos = static_cast<uint16_t>(g() & kTodosLosPartidos))) {
            }
        const int n = __builtin_popcount(c.partidos);
        const int tope = c.medida == Medida::Interrupciones ? n - 1 : n;
        c.minimo = static_cast<int>(g() % static_cast<unsigned>(tope + 1));
        c.maximo = c.minimo + static_cast<int>(g() % static_cast<unsigned>(tope - c.minimo + 1));
        cs.lista.push_back(c);
    }
    cs.fallos = static_cast<int>(g() % cs.lista.size());
    return cs;
}

// Random bases of the three methods with random conditions: the table and
// the guarantee over the results that meet them, and the guarantee over
// the whole base, are the enumeration's.
TEST(GarantiaCondiciones, CoincideConLaEnumeracion) {
    std::mt19937 g(2718);
    int sinNinguno = 0, conAlguno = 0;
    for (int caso = 0; caso < 60; ++caso) {
        const int metodo = 1 + caso % 3;
        prueba::Corrida c;
        const int triples = 1 + static_cast<int>(g() % 4);
        prueba::BaseAleatoria(g, c.r, metodo, triples, static_cast<int>(g() % 3), static_cast<int>(g() % 2));
        c.r.Jornada = 12, c.r.Orden = 1;
        ASSERT_EQ(c.Ejecuta().fin, FinReduccion::Terminada);
        const auto cols = c.Columnas();
        if (cols.empty()) continue;
        const Condiciones cs = CondicionesAleatorias(g);
        SCOPED_TRACE(TextoBase(c.r.Partidos) + "\n" + TextoFicheroCondiciones(cs));
        const ResultadoGarantia res = CalculaGarantia(c.r, cs, c.Red(), "RED1201.TBX");
        ASSERT_EQ(res.fin, FinGarantia::Calculada) << res.mensaje;

        std::array<int64_t, 5> porFila{};
        int64_t cumplen = 0, todos = 0;
        int minimo = 14, minimoBase = 14;
        for (const auto& t : prueba::Desarrollo(c.r)) {
            int mejor = 0;
            for (const auto& col : cols) {
                int h = 0;
                for (size_t i = 0; i < 14; ++i) h += col[i] == t[i];
                mejor = std::max(mejor, h);
            }
            ++todos;
            minimoBase = std::min(minimoBase, mejor);
            if (!CumpleCondiciones(cs, t)) continue;
            ++cumplen;
            ++porFila[static_cast<size_t>(std::min(4, 14 - mejor))];
            minimo = std::min(minimo, mejor);
        }
        EXPECT_EQ(std::tuple(res.condicionada, res.resultadosBase, res.minimoBase, res.resultados, res.porFila),
                  std::tuple(true, todos, minimoBase, cumplen, porFila));
        EXPECT_EQ(res.condiciones, cs);
        EXPECT_EQ(FraseGarantiaBase(res),
                  "Sobre toda la quiniela base: al menos " + std::to_string(minimoBase) + " aciertos.");
        ++(cumplen ? conAlguno : sinNinguno);
        EXPECT_EQ(res.minimo, cumplen ? minimo : 0);
        EXPECT_EQ(FraseGarantia(res), cumplen ? "Garantía: al menos " + std::to_string(minimo) +
                                                    " aciertos si el resultado está dentro de la quiniela base y "
                                                    "cumple las condiciones."
                                              : "Ningún resultado de la quiniela base cumple las condiciones.");
    }
    EXPECT_GT(conAlguno, 20);
    EXPECT_GT(sinNinguno, 0);

    // A run of X from match 1 to 4 when both triples take X, cut by the 1
    // of match 5 and taken up again by the X of match 6: only that result
    // has a run longer than 3.
    prueba::Corrida c;
    c.Reduce(2, "1X2*=1 1X2*=X X X 1 X 2 1 2 1 2 1 2 1 1", "0,2");
    Condiciones cs;
    ASSERT_EQ(LeeCondicion("seguidos 1-3", cs.lista.emplace_back()), std::nullopt);
    EXPECT_EQ(CalculaGarantia(c.r, cs, c.Red(), "RED1201.TBX").resultados, 8);
}

// A stored reduction's conditions file is read beside its columns; a
// damaged one is not analysed.
TEST(GarantiaCondiciones, LeeElFicheroDeCondiciones) {
    prueba::Corrida c;
    c.Reduce(2, "1X2*=1 1X2*=X 1X2*=2 1X2*=1 1 1 1 1 1 1 1 1 1 1 1", "0,1");
    EXPECT_FALSE(CalculaGarantia(c.st).condicionada);
    // The 3 results with the base column's signs on matches 1, 2 and 4,
    // each at most one sign from it: a column.
    prueba::EscribeBytes(c.e.dir() / "RED1201.CON", "1 2 partidos 1,4\r\nX 1 partidos 2\r\n");
    const ResultadoGarantia g = CalculaGarantia(c.st);
    EXPECT_EQ(std::tuple(g.fin, g.resultados, g.minimo, g.minimoBase), std::tuple(FinGarantia::Calculada, 3, 14, 11));
    prueba::EscribeBytes(c.e.dir() / "RED1201.CON", "X 2-5\r\nseguidos cinco\r\n");
    const ResultadoGarantia mala = CalculaGarantia(c.st);
    EXPECT_EQ(mala.fin, FinGarantia::Fallida);
    EXPECT_EQ(mala.mensaje, "El fichero de condiciones RED1201.CON está dañado, línea 2 (\"seguidos cinco\"): "
                            "\"cinco\" no es un intervalo MIN-MAX de números. No se analiza.");
}

}  // namespace
}  // namespace tobal
