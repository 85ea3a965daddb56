#include "reduction/Condiciones.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "Corrida.h"

namespace tobal {
namespace {

// The measure straight from its definition, over the group's signs in order.
int Oraculo(const Condicion& c, const std::string& col) {
    std::string s;
    for (int m = 0; m < 14; ++m)
        if (c.partidos >> m & 1) s += col[static_cast<size_t>(m)];
    const auto n = [&](char x) { return static_cast<int>(std::count(s.begin(), s.end(), x)); };
    int cambios = 0, racha = 1, larga = 1;
    for (size_t i = 1; i < s.size(); ++i) {
        cambios += s[i] != s[i - 1];
        racha = s[i] == s[i - 1] ? racha + 1 : 1;
        larga = std::max(larga, racha);
    }
    switch (c.medida) {
        case Medida::Unos: return n('1');
        case Medida::Equis: return n('X');
        case Medida::Doses: return n('2');
        case Medida::Variantes: return n('X') + n('2');
        case Medida::Interrupciones: return cambios;
        default: return larga;
    }
}

// Random bases of up to some 20,000 results and random sets of conditions:
// the count over the matches is the enumeration's, a column is kept as the
// definitions say, and each condition reads back from its text.
TEST(Condiciones, LaCuentaEsLaDeLaEnumeracion) {
    std::mt19937 g(2211);
    for (int caso = 0; caso < 120; ++caso) {
        Reduccion r;
        int64_t producto = 1;
        for (size_t m = 1; m <= 14; ++m) {
            const int n = producto * 3 <= 20000 ? 1 + static_cast<int>(g() % 3) : 1;
            std::string s = "1X2";
            std::shuffle(s.begin(), s.end(), g);
            for (int k = 0; k < n; ++k)
                r.Partidos[m].Signo[1 + std::string_view("1X2").find(s[static_cast<size_t>(k)])] = 1;
            producto *= n;
        }
        const Condiciones cs = prueba::CondicionesAleatorias(g);
        for (const Condicion& c : cs.lista) {
            Condicion leida;
            ASSERT_EQ(LeeCondicion(TextoCondicion(c), leida), std::nullopt) << TextoCondicion(c);
            EXPECT_EQ(leida, c) << TextoCondicion(c);
        }
        SCOPED_TRACE(TextoFicheroCondiciones(cs) + TextoBase(r.Partidos));
        int64_t esperadas = 0;
        for (const std::string& col : prueba::Desarrollo(r)) {
            int fallan = 0;
            for (const Condicion& c : cs.lista) {
                const int v = Oraculo(c, col);
                fallan += v < c.minimo || v > c.maximo;
            }
            esperadas += fallan <= cs.fallos;
            ASSERT_EQ(CumpleCondiciones(cs, col), fallan <= cs.fallos) << col;
        }
        EXPECT_EQ(CuentaCumplen(r.Partidos, cs), esperadas);
    }
}

TEST(Condiciones, NotacionFicheroYRechazos) {
    struct Caso {
        const char* texto;
        const char* leida;  // its text once read, or the start of the fault
    };
    const Caso buenas[] = {
        {"  x   2-5 ", "X 2-5"},
        {"2 0-3 PARTIDOS 7,1-6", "2 0-3 partidos 1-7"},
        {"Interrupciones 5", "interrupciones 5-5"},
        {"seguidos 1-4 partidos 1, 3, 5-9", "seguidos 1-4 partidos 1,3,5-9"},
        {"variantes 0-1 partido 14", "variantes 0-1 partidos 14"},
    };
    for (const Caso& c : buenas) {
        Condicion leida;
        EXPECT_EQ(LeeCondicion(c.texto, leida), std::nullopt) << c.texto;
        EXPECT_EQ(TextoCondicion(leida), c.leida);
    }
    const Caso malas[] = {
        {" ", "la condición está vacía"},
        {"Y 2-5", "\"Y\" no es una medida"},
        {"X", "falta el intervalo"},
        {"X 2-a", "\"2-a\" no es un intervalo"},
        {"X 5-2", "el mínimo 5 pasa del máximo 2"},
        {"X 2-15", "el máximo 15 pasa de 14, el mayor valor posible en un grupo de 14 partidos"},
        {"interrupciones 0-7 partidos 1-7", "el máximo 7 pasa de 6"},
        {"X 2-5 partidos 0-3", "\"0-3\" no es un grupo de partidos"},
        {"X 2-5 partidos", "faltan los partidos"},
        {"X 2-5 todos", "\"todos\" sobra"},
    };
    for (const Caso& c : malas) {
        Condicion antes{Medida::Doses, 1, 2, 3}, leida = antes;
        const auto fallo = LeeCondicion(c.texto, leida);
        ASSERT_TRUE(fallo.has_value()) << c.texto;
        EXPECT_EQ(fallo->rfind(c.leida, 0), 0u) << *fallo;
        EXPECT_EQ(leida, antes);
    }

    prueba::EstadoPrueba p;
    const std::filesystem::path ruta = p.dir() / FicheroCon(3, 12);
    EXPECT_EQ(ruta.filename(), "RED0312.CON");
    Condiciones cs;
    ASSERT_EQ(LeeTextoCondiciones("X 2-5\n\n2 0-3 partidos 1-7\r\nfallos 1\n", cs), std::nullopt);
    ASSERT_EQ(GrabaCondiciones(ruta, cs), 0);
    EXPECT_EQ(prueba::Bytes(ruta), "X 2-5\r\n2 0-3 partidos 1-7\r\nfallos 1\r\n");
    Condiciones leidas;
    EXPECT_EQ(LeeCondiciones(ruta, leidas), 0);
    EXPECT_EQ(leidas, cs);
    for (const auto& [texto, fallo] : std::vector<std::pair<const char*, const char*>>{
             {"fallos 1\nfallos 2\n", "línea 2 (\"fallos 2\"): los fallos ya se han dado"},
             {"fallos uno\n", "línea 1 (\"fallos uno\"): los fallos son un número"},
             {"X 2-5\r\nX\xF1 2\r\n", "línea 2: es demasiado larga o tiene caracteres"}}) {
        prueba::EscribeBytes(ruta, texto);
        std::string por;
        EXPECT_EQ(LeeCondiciones(ruta, leidas, &por), kErrorCondiciones);
        EXPECT_EQ(por.rfind(fallo, 0), 0u) << por;
        EXPECT_EQ(leidas, cs);
    }
    EXPECT_EQ(LeeCondiciones(p.dir() / "RED0101.CON", leidas), Err::NoEncontrado);
}

}  // namespace
}  // namespace tobal
