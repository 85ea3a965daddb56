#include "reduction/Condiciones.h"

#include <gtest/gtest.h>

#include "Soporte.h"

namespace tobal {
namespace {

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
        {"X", "falta el intervalo"},
        {"X 2-a", "\"2-a\" no es un intervalo"},
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
