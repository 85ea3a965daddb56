// Conditions on what the engine writes: methods 2 and 3 and the full
// development write their own columns that meet the conditions, in their
// order, and the statistics announce exactly that many; the direct method
// with a table refuses conditions without touching the folder.

#include <gtest/gtest.h>

#include <random>

#include "Corrida.h"
#include "reduction/Condiciones.h"

namespace tobal {
namespace {

using prueba::Corrida;
using prueba::kSignos;

// Whether the method keeps a column, from the method's definition.
bool LoGuardaElMetodo(const Reduccion& r, const std::string& c) {
    int errores = 0, cuenta[3] = {};
    for (int i = 1; i <= 14; ++i) {
        const Partido& p = r.Partidos[i];
        const char s = c[static_cast<size_t>(i - 1)];
        errores += p.SignoBase && s != kSignos[p.SignoBase - 1];
        if (p.AReducir == 1) ++cuenta[std::string_view(kSignos).find(s)];
    }
    if (r.Metodo == 1) return true;
    if (r.Metodo == 2) return errores >= r.MinErrores && errores <= r.MaxErrores;
    return cuenta[0] == r.Signos[1] && cuenta[1] == r.Signos[2] && cuenta[2] == r.Signos[3];
}

Condiciones CondicionesAleatorias(std::mt19937& g) {
    Condiciones cs;
    cs.fallos = static_cast<int>(g() % 3);
    for (int k = 1 + static_cast<int>(g() % 5); k > 0; --k) {
        Condicion c;
        c.medida = static_cast<Medida>(g() % 6);
        if (g() % 2)
            while (!(c.partidos = static_cast<uint16_t>(g() & kTodosLosPartidos))) {
            }
        const int n = __builtin_popcount(c.partidos);
        const int tope = c.medida == Medida::Interrupciones ? n - 1 : n;
        c.minimo = static_cast<int>(g() % static_cast<unsigned>(tope + 1));
        c.maximo = c.minimo + static_cast<int>(g() % static_cast<unsigned>(tope - c.minimo + 1));
        cs.lista.push_back(c);
    }
    return cs;
}

TEST(Filtro, EscribeLasColumnasDelMetodoQueCumplenYLasAnuncia) {
    std::mt19937 g(31);
    for (int caso = 0; caso < 90; ++caso) {
        const int metodo = 1 + caso % 3;  // method 1: no multiple reduced, all developed in full
        Corrida c;
        const int triples = metodo == 1 ? 0 : static_cast<int>(g() % 6);
        const int dobles = metodo == 1 ? 0 : static_cast<int>(g() % 4) + (triples ? 0 : 1);
        const int libres = static_cast<int>(g() % static_cast<unsigned>(std::max(1, 11 - triples - dobles)));
        prueba::BaseAleatoria(g, c.r, metodo, triples, dobles, libres);
        c.r.Jornada = 7;
        c.r.Orden = static_cast<int16_t>(1 + caso % 30);
        c.st.CondicionesActuales = CondicionesAleatorias(g);
        const ResultadoEstadistica est = CalculaEstadistica(c.st, Separadores{});
        const int32_t anunciadas = c.r.ApuestasReducidas;
        SCOPED_TRACE(TextoBase(c.r.Partidos) + " metodo " + std::to_string(metodo) + "\n" +
                     TextoFicheroCondiciones(c.st.CondicionesActuales));

        std::vector<std::string> esperadas;
        int64_t cumplen = 0;
        for (const auto& col : prueba::Desarrollo(c.r)) {
            const bool cumple = CumpleCondiciones(c.st.CondicionesActuales, col);
            cumplen += cumple;
            if (cumple && LoGuardaElMetodo(c.r, col)) esperadas.push_back(col);
        }
        ASSERT_FALSE(est.lineas.empty());
        EXPECT_EQ(est.lineas.back().etiqueta, kCumplenCondiciones);
        EXPECT_EQ(est.lineas.back().valor,
                  Formatea(static_cast<double>(cumplen), "#,###,##0", Separadores{}));
        EXPECT_EQ(anunciadas, static_cast<int64_t>(esperadas.size()));

        const ResultadoReduccion res = c.Ejecuta();
        ASSERT_EQ(res.fin, FinReduccion::Terminada) << res.mensaje;
        EXPECT_EQ(res.columnas, anunciadas);
        EXPECT_EQ(c.Columnas(), esperadas);
    }
}

// The direct method's table would lose its guarantee under a filter: the run
// refuses before writing anything, while the full development and the same
// table without conditions go on.
TEST(Filtro, ElMetodoDirectoConTablaRechazaLasCondiciones) {
    Corrida c;
    c.Prepara(1, "1X2* 1X2* 1X2* 1X2* 1X 1 1 1 1 1 1 1 1 1 1");
    ASSERT_GT(c.st.Esta.ApuestasTabla, 1);
    c.st.CondicionesActuales.lista = {Condicion{Medida::Equis, 0, 2}};
    const auto antes = prueba::Ficheros(c.e.dir());
    EXPECT_TRUE(RechazaCondiciones(c.st));
    const ResultadoReduccion res = c.Ejecuta();
    EXPECT_EQ(res.fin, FinReduccion::Fallida);
    EXPECT_EQ(res.mensaje, kDirectoSinCondiciones);
    EXPECT_EQ(res.columnas, 0);
    EXPECT_EQ(prueba::Ficheros(c.e.dir()), antes);

    c.st.CondicionesActuales = {};
    EXPECT_FALSE(RechazaCondiciones(c.st));
    EXPECT_EQ(c.Ejecuta().columnas, 18);
}

}  // namespace
}  // namespace tobal
