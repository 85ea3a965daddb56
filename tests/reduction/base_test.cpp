#include "reduction/Base.h"

#include <gtest/gtest.h>

#include "reduction/Comprobaciones.h"
#include "reduction/Estadistica.h"

namespace tobal {
namespace {

TEST(Base, LeeElEjemploYLoVuelveAEscribir) {
    Quiniela q{};
    ASSERT_FALSE(LeeBase("1X2*=1 1X* 1 1 X2*=2 1 1 1 1 1 1 1 1 1 X", q));
    EXPECT_EQ(q[1].Signo, (std::array<int16_t, 4>{0, 1, 1, 1}));
    EXPECT_EQ(q[1].NumSignos, 3);
    EXPECT_EQ(TextoBase(q), "1X2*=1 1X* 1 1 X2*=2 1 1 1 1 1 1 1 1 1 X");

    // Commas, several blanks, small x and a match without signs.
    Quiniela c{};
    ASSERT_FALSE(LeeBase(" 1x2*=x,1X*  - ,1,12*=2,1,1,1,1,1,1,1,1,1,2 ", c));
    EXPECT_EQ(TextoBase(c), "1X2*=X 1X* - 1 12*=2 1 1 1 1 1 1 1 1 1 2");
    EXPECT_EQ(c[3].NumSignos, 0);
}

TEST(Base, NombraElPartidoYLaFalta) {
    const std::pair<const char*, const char*> casos[] = {
        {"1 1 1", "la quiniela base lleva 15 partidos y se han dado 3"},
        {"1 1 1Y 1 1 1 1 1 1 1 1 1 1 1 1", "partido 3 (\"1Y\"): \"Y\" sobra o no se entiende"},
        {"1 X1 1 1 1 1 1 1 1 1 1 1 1 1 1", "partido 2 (\"X1\"): los signos van en el orden 1, X, 2"},
        {"11 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "partido 1 (\"11\"): el signo 1 está repetido"},
        {"1* 1 1 1 1 1 1 1 1 1 1 1 1 1 1",
         "partido 1 (\"1*\"): solo se reducen los partidos dobles o triples"},
        {"1X=1 1 1 1 1 1 1 1 1 1 1 1 1 1 1",
         "partido 1 (\"1X=1\"): el signo de la columna base solo se elige en un partido a reducir (falta *)"},
        {"1X*=2 1 1 1 1 1 1 1 1 1 1 1 1 1 1",
         "partido 1 (\"1X*=2\"): el signo de la columna base no está marcado en el partido"},
        {"1X*= 1 1 1 1 1 1 1 1 1 1 1 1 1 1",
         "partido 1 (\"1X*=\"): falta el signo de la columna base tras ="},
        {"1 1 1 1 1 1 1 1 1 1 1 1 1 1 1X", "partido 15 (\"1X\"): el partido 15 lleva un solo signo"},
        {"1 1 1 1 1 1 1 1 1 1 1 1 1 1 1X*", "partido 15 (\"1X*\"): el partido 15 no se reduce"},
        {"1 1 * 1 1 1 1 1 1 1 1 1 1 1 1", "partido 3 (\"*\"): falta el signo (1, X, 2, o - para ninguno)"},
    };
    for (const auto& [base, texto] : casos) {
        Quiniela q{};
        q[1].NumSignos = 7;
        auto fallo = LeeBase(base, q);
        ASSERT_TRUE(fallo) << base;
        EXPECT_EQ(*fallo, texto);
        EXPECT_EQ(q[1].NumSignos, 7) << "left as it was";
    }
}

TEST(Base, ParametrosDelMetodo) {
    Reduccion r;
    const std::string base = "1X2*=1 1X2*=2 1 1 1 1 1 1 1 1 1 1 1 1 1";
    ASSERT_FALSE(LeeReduccion(2, base, std::string("0,2"), std::nullopt, r));
    EXPECT_EQ(r.MaxErrores, 2);
    ASSERT_FALSE(LeeReduccion(3, base, std::nullopt, std::string("1,0,1"), r));
    EXPECT_EQ(r.Signos, (std::array<int16_t, 4>{0, 1, 0, 1}));
    EXPECT_EQ(r.MaxErrores, 0);
    ASSERT_FALSE(LeeReduccion(4, base, std::nullopt, std::nullopt, r));
    EXPECT_EQ(r.MaxErrores, 1);
    ASSERT_FALSE(LeeReduccion(4, base, std::nullopt, std::nullopt, r, std::string("2")));
    EXPECT_EQ(r.MaxErrores, 2);
    const std::tuple<int, const char*, const char*, const char*> rechazos[] = {
        {1, "0,1", "", ""},    {2, "0,15", "", ""}, {2, "0", "", ""}, {3, "", "1,1,", ""},
        {3, "", "1,-1,2", ""}, {4, "", "", "3"},    {4, "", "", "0"}, {4, "0,1", "", ""},
        {2, "0,1", "", "1"},   {5, "", "", ""}};
    for (auto [metodo, errores, signos, garantia] : rechazos) {
        auto texto = [](const char* t) { return *t ? std::optional<std::string>(t) : std::nullopt; };
        EXPECT_TRUE(LeeReduccion(metodo, base, texto(errores), texto(signos), r, texto(garantia)))
            << metodo << errores << signos << garantia;
    }
}

// The reduce button's first refusal as "TITLE|text", "" when it reduces.
std::string Comprueba(int metodo, const std::string& base, const char* parametros = "") {
    Estado st;
    const auto texto = *parametros ? std::optional<std::string>(parametros) : std::nullopt;
    EXPECT_FALSE(LeeReduccion(metodo, base, metodo == 2 ? texto : std::nullopt,
                              metodo == 3 ? texto : std::nullopt, st.ReduccionActual));
    CalculaEstadistica(st);
    const auto aviso = ComprobacionesReducir(st);
    return aviso ? aviso->titulo + "|" + aviso->texto : "";
}

::testing::AssertionResult Empieza(const std::string& s, const std::string& inicio) {
    if (s.rfind(inicio, 0) == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << s << "\" does not start with \"" << inicio << "\"";
}

// In their order: a match without signs before "no multiple to reduce".
TEST(Base, ComprobacionesDelBotonReducir) {
    const std::string dos = "1X2*=1 1X*=1 1 1 1 1 1 1 1 1 1 1 1 1 1",
                      cuatro = "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1";
    EXPECT_TRUE(Empieza(
        Comprueba(2, "1X2* 1X* 1X2*=1 1 1 1 1 1 1 1 1 1 1 1 1"),
        "ERROR EN LA QUINIELA BASE|Hay  2 partidos múltiples a reducir de la Quiniela Base de los que"));
    EXPECT_TRUE(Empieza(
        Comprueba(2, "1X2* 1X*=1 1 1 1 1 1 1 1 1 1 1 1 1 1"),
        "ERROR EN LA QUINIELA BASE|Hay  1  partido  múltiple  a  reducir de  la   Quiniela  Base  del "
        " que no se ha seleccionado ningun signo en la  Columna  Base."));
    EXPECT_TRUE(Empieza(Comprueba(2, dos, "2,1"),
                        "NO CONCUERDAN LOS ERRORES PERMITIDOS|El mínimo de errores permitidos es superior"));
    EXPECT_EQ(Comprueba(2, dos, "1,1"), "");
    const std::string suma = Comprueba(3, cuatro, "2,1,0");
    EXPECT_TRUE(Empieza(suma, "ERROR EN LA SUMA DE SIGNOS|") &&
                suma.find("( 2  +  1  +  0   ->  3 )") != suma.npos &&
                suma.find("para reducir ( 4 )") != suma.npos)
        << suma;
    EXPECT_EQ(Comprueba(3, cuatro, "2,1,1"), "");
    EXPECT_TRUE(
        Empieza(Comprueba(1, "1 1 1 1 1 1 1 1 - 1 1 1 1 1 1"),
                "ERROR EN LA QUINIELA BASE|Hay  algún  partido  de  la  Quiniela Base  que  no tiene"));
    EXPECT_TRUE(Empieza(Comprueba(1, "1X2 1 1 1 1 1 1 1 1 1 1 1 1 1 1"), "MULTIPLES A REDUCIR|"));
    EXPECT_EQ(Comprueba(1, "1X2* 1 1 1 1 1 1 1 1 1 1 1 1 1 1"), "");
}

}  // namespace
}  // namespace tobal
