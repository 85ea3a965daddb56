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
    EXPECT_EQ(q[1].AReducir, 1);
    EXPECT_EQ(q[1].SignoBase, 1);
    EXPECT_EQ(q[2].NumSignos, 2);
    EXPECT_EQ(q[2].SignoBase, 0);
    EXPECT_EQ(q[5].Signo, (std::array<int16_t, 4>{0, 0, 1, 1}));
    EXPECT_EQ(q[5].SignoBase, 3);
    EXPECT_EQ(q[15].Signo, (std::array<int16_t, 4>{0, 0, 1, 0}));
    EXPECT_EQ(q[15].AReducir, 0);
    EXPECT_EQ(TextoBase(q), "1X2*=1 1X* 1 1 X2*=2 1 1 1 1 1 1 1 1 1 X");

    // Commas, several blanks, small x and a match without signs.
    Quiniela c{};
    ASSERT_FALSE(LeeBase(" 1x2*=x,1X*  - ,1,12*=2,1,1,1,1,1,1,1,1,1,2 ", c));
    EXPECT_EQ(TextoBase(c), "1X2*=X 1X* - 1 12*=2 1 1 1 1 1 1 1 1 1 2");
    EXPECT_EQ(c[3].NumSignos, 0);
}

TEST(Base, NombraElPartidoYLaFalta) {
    struct Caso {
        const char* base;
        const char* fallo;
    };
    const Caso casos[] = {
        {"1 1 1", "la quiniela base lleva 15 partidos y se han dado 3"},
        {"1 1 1Y 1 1 1 1 1 1 1 1 1 1 1 1", "partido 3 (\"1Y\"): \"Y\" sobra o no se entiende"},
        {"1 X1 1 1 1 1 1 1 1 1 1 1 1 1 1", "partido 2 (\"X1\"): los signos van en el orden 1, X, 2"},
        {"11 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "partido 1 (\"11\"): el signo 1 está repetido"},
        {"1* 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "partido 1 (\"1*\"): solo se reducen los partidos dobles o triples"},
        {"1X=1 1 1 1 1 1 1 1 1 1 1 1 1 1 1",
         "partido 1 (\"1X=1\"): el signo de la columna base solo se elige en un partido a reducir (falta *)"},
        {"1X*=2 1 1 1 1 1 1 1 1 1 1 1 1 1 1",
         "partido 1 (\"1X*=2\"): el signo de la columna base no está marcado en el partido"},
        {"1X*= 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "partido 1 (\"1X*=\"): falta el signo de la columna base tras ="},
        {"1 1 1 1 1 1 1 1 1 1 1 1 1 1 1X", "partido 15 (\"1X\"): el partido 15 lleva un solo signo"},
        {"1 1 1 1 1 1 1 1 1 1 1 1 1 1 1X*", "partido 15 (\"1X*\"): el partido 15 no se reduce"},
        {"1 1 * 1 1 1 1 1 1 1 1 1 1 1 1", "partido 3 (\"*\"): falta el signo (1, X, 2, o - para ninguno)"},
    };
    for (const Caso& c : casos) {
        Quiniela q{};
        q[1].NumSignos = 7;
        auto fallo = LeeBase(c.base, q);
        ASSERT_TRUE(fallo) << c.base;
        EXPECT_EQ(*fallo, c.fallo);
        EXPECT_EQ(q[1].NumSignos, 7) << "left as it was";
    }
}

TEST(Base, ParametrosDelMetodo) {
    Reduccion r;
    const std::string base = "1X2*=1 1X2*=2 1 1 1 1 1 1 1 1 1 1 1 1 1";
    ASSERT_FALSE(LeeReduccion(2, base, std::string("0,2"), std::nullopt, r));
    EXPECT_EQ(r.MinErrores, 0);
    EXPECT_EQ(r.MaxErrores, 2);
    ASSERT_FALSE(LeeReduccion(3, base, std::nullopt, std::string("1,0,1"), r));
    EXPECT_EQ(r.Signos, (std::array<int16_t, 4>{0, 1, 0, 1}));
    EXPECT_EQ(r.MaxErrores, 0);
    EXPECT_TRUE(LeeReduccion(1, base, std::string("0,1"), std::nullopt, r));
    EXPECT_TRUE(LeeReduccion(2, base, std::string("0,15"), std::nullopt, r));
    EXPECT_TRUE(LeeReduccion(2, base, std::string("0"), std::nullopt, r));
    EXPECT_TRUE(LeeReduccion(3, base, std::nullopt, std::string("1,1,"), r));
    EXPECT_TRUE(LeeReduccion(3, base, std::nullopt, std::string("1,-1,2"), r));
    EXPECT_EQ(r.Metodo, 3);
}

// The reduce button's checks, in their order.
struct Comprobacion {
    Estado st;
    Comprobacion(int metodo, const std::string& base, const char* errores = nullptr, const char* signos = nullptr) {
        auto e = errores ? std::optional<std::string>(errores) : std::nullopt;
        auto s = signos ? std::optional<std::string>(signos) : std::nullopt;
        EXPECT_FALSE(LeeReduccion(metodo, base, e, s, st.ReduccionActual));
        CalculaEstadistica(st);
    }
    std::optional<Aviso> aviso() const { return ComprobacionesReducir(st); }
};

TEST(Base, ComprobacionesDelBotonReducir) {
    const std::string comun =
        " que no se ha seleccionado ningun signo en la  Columna  Base.   Debe seleccionar  en  la   Columna Base  un "
        " "
        "signo  de  cada  partido  a reducir antes de efectuar la reducción.";
    auto a = Comprobacion(2, "1X2* 1X* 1X2*=1 1 1 1 1 1 1 1 1 1 1 1 1").aviso();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->titulo, "ERROR EN LA QUINIELA BASE");
    EXPECT_EQ(a->texto, "Hay  2 partidos múltiples a reducir de la Quiniela Base de los" + comun);
    a = Comprobacion(2, "1X2* 1X*=1 1 1 1 1 1 1 1 1 1 1 1 1 1").aviso();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->texto, "Hay  1  partido  múltiple  a  reducir de  la   Quiniela  Base  del " + comun);

    a = Comprobacion(2, "1X2*=1 1X*=1 1 1 1 1 1 1 1 1 1 1 1 1 1", "2,1").aviso();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->titulo, "NO CONCUERDAN LOS ERRORES PERMITIDOS");
    EXPECT_EQ(a->texto.rfind("El mínimo de errores permitidos es superior", 0), 0u);
    EXPECT_FALSE(Comprobacion(2, "1X2*=1 1X*=1 1 1 1 1 1 1 1 1 1 1 1 1 1", "1,1").aviso());

    a = Comprobacion(3, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1", nullptr, "2,1,0").aviso();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->titulo, "ERROR EN LA SUMA DE SIGNOS");
    EXPECT_EQ(
        a->texto,
        "La  suma  de  los signos  1 ,  X  y  2  seleccionados como patrón de reducción   ( 2  +  1  +  0   ->  3 "
        ")   no  se  corresponde  con el total de partidos seleccionados para reducir ( 4 ). Estos parámetros "
        "deben coincidir para poder efectuar correctamente la reducción.");
    EXPECT_FALSE(Comprobacion(3, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1", nullptr, "2,1,1").aviso());

    // A match without signs comes before "no multiple to reduce".
    a = Comprobacion(1, "1 1 1 1 1 1 1 1 - 1 1 1 1 1 1").aviso();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->titulo, "ERROR EN LA QUINIELA BASE");
    EXPECT_EQ(a->texto.rfind("Hay  algún  partido  de  la  Quiniela Base  que  no tiene", 0), 0u);
    a = Comprobacion(1, "1X2 1 1 1 1 1 1 1 1 1 1 1 1 1 1").aviso();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->titulo, "MULTIPLES A REDUCIR");
    EXPECT_FALSE(Comprobacion(1, "1X2* 1 1 1 1 1 1 1 1 1 1 1 1 1 1").aviso());

    EXPECT_EQ(AvisoReduccionExiste().titulo, "REDUCCIÓN YA EXISTE");
}

}  // namespace
}  // namespace tobal
