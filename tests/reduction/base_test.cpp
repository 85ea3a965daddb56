#include "reduction/Base.h"

#include <gtest/gtest.h>

#include <map>

#include "Soporte.h"
#include "reduction/Comprobaciones.h"
#include "reduction/Estadistica.h"
#include "reduction/Resumen.h"

namespace tobal {
namespace {

using prueba::Contiene;

TEST(Base, LeeEscribeYNombraElPartidoDeLaFalta) {
    // Commas, several blanks, small x and a match without signs.
    Quiniela c{};
    ASSERT_FALSE(LeeBase(" 1x2*=x,1X*=1  - ,X2*,12*=2,1,1,1,1,1,1,1,1,1,X ", c));
    EXPECT_EQ(TextoBase(c), "1X2*=X 1X*=1 - X2* 12*=2 1 1 1 1 1 1 1 1 1 X");

    // A fault names its match and leaves the base as it was.
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
        EXPECT_EQ(LeeBase(base, q).value_or(""), texto) << base;
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

const Separadores kPunto{',', '.'}, kComa{'.', ','};

// The lines of the statistics by label.
struct Calculo {
    Estado st;
    ResultadoEstadistica res;
    std::map<std::string, std::string> valor;

    Calculo(int metodo, const std::string& base, int minErr = 0, int maxErr = 0,
            std::array<int16_t, 4> signos = {}, Separadores sep = kPunto) {
        Reduccion& r = st.ReduccionActual;
        r.Metodo = static_cast<int16_t>(metodo);
        r.MinErrores = static_cast<int16_t>(minErr);
        r.MaxErrores = static_cast<int16_t>(maxErr);
        r.Signos = signos;
        EXPECT_FALSE(LeeBase(base, r.Partidos)) << base;
        st.Datos.Precio = 0.3f;
        res = CalculaEstadistica(st, sep);
        for (const auto& l : res.lineas) valor[l.etiqueta] = l.valor;
    }
    // The values of `etiquetas`, joined by "|".
    std::string Valores(std::initializer_list<const char*> etiquetas) {
        std::string v;
        for (const char* e : etiquetas) v += (v.empty() ? "" : "|") + valor[e];
        return v;
    }
};

const char *kDirectas = "Apuest. directas", *kReducidas = "Apuest. reducidas", *kFactor = "Factor reducción",
           *kP14 = "Probab. 14 aciertos", *kP13 = "Probab. 13 aciertos", *kCubiertas = "Posibil. cubiertas";

// The reduce button's first refusal as "TITLE|text", "" when it reduces.
std::string Comprueba(Calculo&& c) {
    const auto aviso = ComprobacionesReducir(c.st);
    return aviso ? aviso->titulo + "|" + aviso->texto : "";
}

// In their order: a match without signs before "no multiple to reduce".
TEST(Base, ComprobacionesDelBotonReducir) {
    const std::string dos = "1X2*=1 1X*=1 1 1 1 1 1 1 1 1 1 1 1 1 1",
                      cuatro = "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1";
    EXPECT_TRUE(Contiene(
        Comprueba({2, "1X2* 1X* 1X2*=1 1 1 1 1 1 1 1 1 1 1 1 1"}),
        "ERROR EN LA QUINIELA BASE|Hay  2 partidos múltiples a reducir de la Quiniela Base de los que"));
    EXPECT_TRUE(Contiene(
        Comprueba({2, "1X2* 1X*=1 1 1 1 1 1 1 1 1 1 1 1 1 1"}),
        "ERROR EN LA QUINIELA BASE|Hay  1  partido  múltiple  a  reducir de  la   Quiniela  Base  del "
        " que no se ha seleccionado ningun signo en la  Columna  Base."));
    EXPECT_TRUE(Contiene(Comprueba({2, dos, 2, 1}),
                         "NO CONCUERDAN LOS ERRORES PERMITIDOS|El mínimo de errores permitidos es superior"));
    EXPECT_EQ(Comprueba({2, dos, 1, 1}), "");
    const std::string suma = Comprueba({3, cuatro, 0, 0, {0, 2, 1, 0}});
    EXPECT_TRUE(Contiene(suma, "ERROR EN LA SUMA DE SIGNOS|") &&
                suma.find("( 2  +  1  +  0   ->  3 )") != suma.npos &&
                suma.find("para reducir ( 4 )") != suma.npos)
        << suma;
    EXPECT_EQ(Comprueba({3, cuatro, 0, 0, {0, 2, 1, 1}}), "");
    EXPECT_TRUE(
        Contiene(Comprueba({1, "1 1 1 1 1 1 1 1 - 1 1 1 1 1 1"}),
                 "ERROR EN LA QUINIELA BASE|Hay  algún  partido  de  la  Quiniela Base  que  no tiene"));
    EXPECT_TRUE(Contiene(Comprueba({1, "1X2 1 1 1 1 1 1 1 1 1 1 1 1 1 1"}), "MULTIPLES A REDUCIR|"));
    EXPECT_EQ(Comprueba({1, "1X2* 1 1 1 1 1 1 1 1 1 1 1 1 1 1"}), "");
}

TEST(Estadistica, MetodoDirecto) {
    const std::string cuatro = "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1";
    Calculo c(1, cuatro);
    ASSERT_EQ(c.res.lineas.size(), 13u);
    EXPECT_EQ(c.Valores({"Total múltiples", kDirectas, "Triples a reducir", kReducidas, "Importe total",
                         "Importe reducidas", kFactor, kP14, kP13}),
              "4|81|4|9|24.30 €|2.70 €|9.00|11.11 %|88.89 %");
    EXPECT_EQ(Calculo(1, cuatro, 0, 0, {}, kComa).Valores({"Importe total", kP13}), "24,30 €|88,89 %");
    EXPECT_EQ(
        Calculo(1, "1X 1X X2 1 1 1 1 1 1 1 1 1 1 1 1").Valores({kDirectas, kReducidas, kFactor, kP14, kP13}),
        "8|8|1.00|100.00 %|0.00 %");
    // The largest amount: in single precision it loses its cents.
    EXPECT_EQ(Calculo(1, "1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1")
                  .valor["Importe total"],
              "1,434,890.70 €");
}

TEST(Estadistica, ColumnaProbable) {
    const std::string base = "1X2*=1 1X2*=X 12*=2 1 1 1 1 1 1 1 1 1 1 1 1";
    Calculo c(2, base, 0, 1);
    EXPECT_EQ(c.Valores({kDirectas, kReducidas, kFactor, kCubiertas}), "18|6|3.00|33.33 %");
    Calculo alto(2, base, 4, 5);
    EXPECT_EQ(alto.st.ReduccionActual.MinErrores, 3);
    EXPECT_EQ(alto.st.ReduccionActual.MaxErrores, 3);
    EXPECT_TRUE(alto.res.bajaMinErrores && alto.res.bajaMaxErrores);
    EXPECT_EQ(alto.valor[kReducidas], "4");
    EXPECT_EQ(Calculo(2, base, 2, 1).Valores({kReducidas, kFactor}), "0|") << "minimum above maximum";
}

TEST(Estadistica, SeleccionDeSignos) {
    const std::string base = "1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1 1";
    EXPECT_EQ(Calculo(3, base, 0, 0, {0, 1, 1, 0}).Valores({kReducidas, kFactor, kCubiertas}),
              "0|0.00|0.00 %");
    // Doubles limit the signs on offer.
    Calculo bajado(3, "1X* 1X* X2* 1X2 1 1 1 1 1 1 1 1 1 1 1", 0, 0, {0, 3, 2, 1});
    EXPECT_EQ(bajado.st.Esta.Disponibles, (std::array<int16_t, 4>{0, 2, 3, 1}));
    EXPECT_EQ(bajado.st.ReduccionActual.Signos, (std::array<int16_t, 4>{0, 2, 2, 1}));
    EXPECT_EQ(bajado.res.bajaSignos, (decltype(bajado.res.bajaSignos){false, true, false, false}));
}

// Its lines and parameters; what it announces is what the run writes (the
// engine's tests).
TEST(Estadistica, ReduccionMinima) {
    const std::string base = "1X2* 1X2* 12* 1X 1 1 1 1 1 1 1 1 1 1 1";
    Calculo c(4, base, 0, 2), cero(4, base, 3, 0), alto(4, base, 0, 5);
    ASSERT_EQ(c.res.lineas.size(), 12u);
    EXPECT_EQ(c.res.lineas.back().etiqueta, kCubiertas);
    // A guarantee left by another method becomes 1 or 2; the minimum is 0.
    EXPECT_TRUE(cero.st.ReduccionActual.MaxErrores == 1 && cero.st.ReduccionActual.MinErrores == 0);
    EXPECT_TRUE(alto.st.ReduccionActual.MaxErrores == 2 && alto.res.bajaMaxErrores);
}

TEST(Estadistica, DivisionPorCeroDejaLaLineaVacia) {
    for (int metodo = 1; metodo <= kMetodos; ++metodo)
        EXPECT_EQ(Calculo(metodo, "1X2* - 1 1 1 1 1 1 1 1 1 1 1 1 1", 0, 1, {0, 1, 0, 0})
                      .Valores({kDirectas, metodo == 1 ? kP14 : kCubiertas}),
                  "0|")
            << metodo;
}

// The summary of a stored reduction, one "label|value" a line.
std::string Resumen(int metodo, int32_t directas, int32_t reducidas, float precio, Separadores sep,
                    std::array<int16_t, 4> signos = {}) {
    Reduccion r;
    r.Metodo = static_cast<int16_t>(metodo);
    r.ApuestasDirectas = directas, r.ApuestasReducidas = reducidas;
    r.MaxErrores = 1;
    r.Signos = signos;
    std::string s;
    for (const auto& l : LineasResumen(r, precio, sep)) s += l.etiqueta + "|" + l.valor + "\n";
    return s;
}

TEST(EstadisticaResumen, LineasDeCadaMetodo) {
    EXPECT_EQ(Resumen(1, 4782969, 531441, 0.3f, kPunto),
              "4,782,969 apuestas reducidas a 531,441|\nFactor de  reducción.....:|9.00\n"
              "Importe reducidas.........:|159,432.30 €\nProbabilidad 14 aciertos:|11.11 %\n"
              "Probabilidad 13 aciertos:|88.89 %\n");
    // The other methods: the line of their parameters after the factor, and
    // the share covered; no column leaves the factor without a divisor.
    EXPECT_TRUE(Contiene(Resumen(2, 18, 6, 0.5f, kComa), "|3,00\nErrores permitidos.........:|De 0 a 1\n"));
    EXPECT_TRUE(Contiene(Resumen(3, 27, 0, 0.3f, kPunto, {0, 2, 1, 0}),
                         "|\nSignos 1..: 2     Signos X..: 1     Signos 2..: 0|\n"));
    EXPECT_TRUE(Contiene(Resumen(4, 81, 9, 0.5f, kPunto),
                         "Errores garantizados.......:|1\nImporte reducidas.........:|4.50 €\nPosibilidades "
                         "cubiertas.:|11.11 %\n"));
    EXPECT_EQ(Resumen(1, 1, 1, 0.3f, kPunto), "") << "nothing loaded";
}

}  // namespace
}  // namespace tobal
