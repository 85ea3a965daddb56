#include "reduction/Garantia.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "Corrida.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;
using prueba::Bytes;
using prueba::Corrida;
using prueba::EscribeBytes;

// A stored reduction's conditions file is read beside its columns; a
// damaged one is not analysed. A run of X from match 1 to 4 when both
// triples take X, cut by the 1 of match 5 and taken up again by the X of
// match 6: only that result has a run longer than 3.
TEST(Garantia, ConElFicheroDeCondiciones) {
    Corrida c;
    c.Reduce(2, "1X2*=1 1X2*=X X X 1 X 2 1 2 1 2 1 2 1 1", "0,2");
    EXPECT_FALSE(CalculaGarantia(c.st).condicionada);
    prueba::EscribeBytes(c.e.dir() / "RED1201.CON", "seguidos 1-3\r\n");
    const ResultadoGarantia g = CalculaGarantia(c.st);
    EXPECT_EQ(std::tuple(g.fin, g.resultados, g.minimo), std::tuple(FinGarantia::Calculada, 8, 14));
    prueba::EscribeBytes(c.e.dir() / "RED1201.CON", "X 2-5\r\nseguidos cinco\r\n");
    const ResultadoGarantia mala = CalculaGarantia(c.st);
    EXPECT_EQ(mala.fin, FinGarantia::Fallida);
    EXPECT_EQ(mala.mensaje,
              "El fichero de condiciones RED1201.CON está dañado, línea 2 (\"seguidos cinco\"): "
              "\"cinco\" no es un intervalo MIN-MAX de números. No se puede usar la reducción sin saber sus "
              "condiciones.");
}

// Every reduction table, alone on its own matches, guarantees 13 (its rows'
// whole product is within one sign of its bets); its columns are the
// results with 14, every other result has 13.
TEST(Garantia, CadaTablaGarantiza13) {
    struct Caso {
        int triples, dobles, columnas;
    };
    const Caso casos[] = {{4, 0, 9},  {3, 3, 24}, {0, 7, 16}, {1, 2, 3}, {2, 5, 36}, {2, 3, 12},
                          {1, 6, 24}, {1, 5, 18}, {0, 6, 12}, {0, 3, 2}, {1, 0, 1},  {0, 1, 1}};
    const char* dobles[] = {"1X*", "12*", "X2*"};
    for (const Caso& k : casos) {
        SCOPED_TRACE(std::to_string(k.triples) + " triples, " + std::to_string(k.dobles) + " doubles");
        std::string base;
        for (int i = 0; i < 15; ++i)
            base += std::string(i < k.triples              ? "1X2*"
                                : i < k.triples + k.dobles ? dobles[i % 3]
                                                           : "X") +
                    " ";
        Corrida c;
        c.Reduce(1, base);
        const ResultadoGarantia res = CalculaGarantia(c.st);
        ASSERT_EQ(res.fin, FinGarantia::Calculada) << res.mensaje;
        EXPECT_EQ(res.columnas, k.columnas);
        EXPECT_EQ(res.minimo, 13);
        EXPECT_EQ(res.porFila, (std::array<int64_t, 5>{k.columnas, res.resultados - k.columnas, 0, 0, 0}));
        EXPECT_EQ(FraseGarantia(res),
                  "Garantía: al menos 13 aciertos si el resultado está dentro de la quiniela base.");
        if (k.triples != 4) continue;
        // Table A, outside on a single: that match is lost on top of the one error.
        EXPECT_EQ(res.resultadosFuera1, 81 * 10 * 2);
        EXPECT_EQ(FraseGarantiaFuera(res), "Con un partido fuera de la quiniela base: al menos 12 aciertos.");
    }
}

// Method 2 with errors 0 to k on m reduced matches: a result e errors from
// the probable column is max(0, e - k) from the nearest column, so the
// guarantee is 14 - (m - k). Errors 0 to m keep the full development, which
// guarantees 14. Without singles, a result outside the base on a double
// loses that match on top of the others: on an unreduced double it keeps
// m - k errors beyond the window, on a reduced one at most m - 1 - k.
// The rows are counted too: the results e errors away are
// C(t, a) 2^a C(d, b) over a + b = e (t triples and d doubles reduced),
// times the other multiples' signs. The larger spaces are swept in strips.
TEST(Garantia, ColumnaProbableGarantiza14MenosErroresNoCubiertos) {
    struct Caso {
        std::string base;
        int m, k;
    };
    const Caso casos[] = {
        {"1X2*=1 1X*=X 12*=2 X2*=2 1X2*=X 1X2*=1 1X2 12 1 1 1 1 1 1 1", 6, 2},
        {"1X2*=1 1X2*=X 1X2*=2 1X2*=1 1X2*=1 1X2*=X 1X2*=2 1X2*=1 1 1 1 1 1 1 1", 8, 3},
        {"1X2*=1 1X2*=X 12*=2 1X2 1X2 1 1 1 1 1 1 1 1 1 1", 3, 3},
        {"1X2 1X2 1X2 1X2 1X 12 X2 1 1 1 1 1 1 1 1", 0, 0},
        {"1X2*=1 1X*=X 1X2*=2 12*=2 1X2*=X X2*=X 1X2*=1 1X2*=1 1X2*=2 1X*=1 1X2 12 1 1 1", 10, 3},
        {"12 1X2*=X X2*=2 1X2*=1 1X*=1 1X2*=2 1X2*=X 1X2*=1 12*=1 1X2*=X 1X2*=2 X2*=X 1X2*=1 1 X", 12, 6},
        {"1X*=1 12*=2 X2*=X 1X*=X 12*=1 X2*=2 1X*=1 12*=2 X2*=X 1X*=X 1X 12 X2 1X 1", 10, 3},
        {"1X*=1 12*=2 X2*=X 1X*=X 12*=1 X2*=2 1X*=1 12*=2 X2*=X 1X*=X 1X*=1 12*=1 X2*=2 1X2*=X 1", 14, 5}};
    auto binomial = [](int n, int r) {
        int64_t v = 1;
        for (int i = 1; i <= r; ++i) v = v * (n - r + i) / i;
        return v;
    };
    for (const Caso& k : casos) {
        SCOPED_TRACE(k.base);
        Corrida c;
        c.Reduce(2, k.base, "0," + std::to_string(k.k));
        const ResultadoGarantia res = CalculaGarantia(c.st);
        ASSERT_EQ(res.fin, FinGarantia::Calculada) << res.mensaje;
        EXPECT_EQ(res.minimo, 14 - (k.m - k.k));
        EXPECT_EQ(k.m == k.k, res.columnas == res.resultados);

        int triples = 0, dobles = 0;
        int64_t otros = 1;
        bool sencillo = false, dobleLibre = false;
        for (int i = 1; i <= 14; ++i) {
            const Partido& p = c.r.Partidos[i];
            if (p.AReducir) (p.NumSignos == 3 ? triples : dobles) += 1;
            if (!p.AReducir) otros *= p.NumSignos;
            sencillo |= p.NumSignos == 1;
            dobleLibre |= p.NumSignos == 2 && !p.AReducir;
        }
        ASSERT_EQ(triples + dobles, k.m);
        if (!sencillo) {
            EXPECT_EQ(res.minimoFuera1, 13 - std::max(0, k.m - k.k - (dobleLibre ? 0 : 1)));
        }
        std::array<int64_t, 5> filas{};
        for (int a = 0; a <= triples; ++a)
            for (int b = 0; b <= dobles; ++b)
                filas[static_cast<size_t>(std::min(4, std::max(0, a + b - k.k)))] +=
                    binomial(triples, a) * (int64_t{1} << a) * binomial(dobles, b) * otros;
        EXPECT_EQ(res.porFila, filas);
    }
}

// A file that is missing, damaged or outside its base quiniela is refused,
// naming the first bad column; nothing of it is analysed. Every kind of
// damage at every place is the columns reader's test.
TEST(Garantia, RechazaFicherosMalos) {
    Corrida c;
    c.Reduce(1, "1X2* 1X2* 1X2* 1X2* 1X 1 1 1 1 1 1 1 1 1 1");
    const std::string bueno = Bytes(c.Red());
    ASSERT_EQ(bueno.size(), 18u * kLongLineaColumna);
    auto conLinea = [&](int columna, const std::string& linea) {
        std::string b = bueno;
        EXPECT_EQ(linea.size(), static_cast<size_t>(kLongLineaColumna)) << linea;
        return b.replace(static_cast<size_t>(columna - 1) * kLongLineaColumna, kLongLineaColumna, linea);
    };
    const std::pair<std::string, std::string> casos[] = {
        {conLinea(4, "\"1X2111111111111\"\n\n"),
         "RED1201.TBX está dañado: la columna 4 no tiene sus 15 signos"},
        {conLinea(18, "\"1X211X111111112\"\r\n"),
         "La columna 18 del fichero RED1201.TBX tiene el signo X en el partido 6, que la quiniela base no "
         "marca"}};
    for (const auto& [bytes, mensaje] : casos) {
        SCOPED_TRACE(mensaje);
        EscribeBytes(c.Red(), bytes);
        const ResultadoGarantia res = CalculaGarantia(c.st);
        EXPECT_EQ(res.fin, FinGarantia::Fallida);
        EXPECT_NE(res.mensaje.find(mensaje), std::string::npos) << res.mensaje;
        EXPECT_EQ(res.porFila, (std::array<int64_t, 5>{}));
    }
    EscribeBytes(c.Red(), conLinea(18, "\"1X2111111111112\"\r\n"));  // match 15 is not analysed
    EXPECT_EQ(CalculaGarantia(c.st).fin, FinGarantia::Calculada);

    fs::remove(c.Red());
    const ResultadoGarantia res = CalculaGarantia(c.st);
    EXPECT_EQ(res.fin, FinGarantia::Fallida);
    EXPECT_EQ(res.error, 53);
    EXPECT_EQ(res.mensaje, "No se encuentra el fichero de columnas RED1201.TBX de la reducción.");
}

TEST(Garantia, AvanceYCancelacion) {
    Corrida c;
    c.Reduce(2, "1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2 1 1",
             "0,3");
    std::vector<int> vistos;
    ResultadoGarantia res = CalculaGarantia(c.st, [&](int p) { vistos.push_back(p); });
    ASSERT_EQ(res.fin, FinGarantia::Calculada);
    EXPECT_EQ(res.minimo, 5);
    ASSERT_GE(vistos.size(), 10u);
    EXPECT_TRUE(vistos.front() == 0 && vistos.back() == 100);
    EXPECT_TRUE(std::is_sorted(vistos.begin(), vistos.end()));
    EXPECT_EQ(std::adjacent_find(vistos.begin(), vistos.end()), vistos.end());

    // Cancelled while reading the columns and while sweeping the results.
    for (int en : {0, 60}) {
        std::atomic<bool> parar{false};
        int ultimo = 0;
        res = CalculaGarantia(
            c.st, [&](int p) { ultimo = p, parar = p >= en; }, &parar);
        EXPECT_EQ(res.fin, FinGarantia::Cancelada) << en;
        EXPECT_LT(ultimo, std::min(100, en + 10)) << en;
    }
}

TEST(Garantia, TablaYFrases) {
    ResultadoGarantia g;
    g.resultados = 2000, g.columnas = 5, g.minimo = 0;
    g.porFila = {1000, 400, 500, 90, 10};
    const std::string esperadas[] = {"14|1,000|50.00", "13|400|20.00", "12|500|25.00", "11|90|4.50",
                                     "10 o menos|10|0.50"};
    const auto filas = FilasGarantia(g);
    ASSERT_EQ(filas.size(), 5u);
    for (size_t f = 0; f < 5; ++f)
        EXPECT_EQ(filas[f].aciertos + "|" + TextoResultados(filas[f].resultados, {',', '.'}) + "|" +
                      TextoPorcentajeGarantia(filas[f].porcentaje, {',', '.'}),
                  esperadas[f]);
    EXPECT_EQ(FraseGarantiaFuera(g), "") << "no result outside on one match";
}

}  // namespace
}  // namespace tobal
