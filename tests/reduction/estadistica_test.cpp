#include "reduction/Estadistica.h"

#include <gtest/gtest.h>

#include <map>

#include "Soporte.h"
#include "reduction/Base.h"

namespace tobal {
namespace {

using prueba::EstadoPrueba;

const Separadores kPunto{',', '.'};

// The lines of the statistics by label.
struct Calculo {
    Estado st;
    ResultadoEstadistica res;
    std::map<std::string, std::string> valor;

    Calculo(int metodo, const std::string& base, int minErr = 0, int maxErr = 0, std::array<int16_t, 4> signos = {},
            Separadores sep = kPunto, float precio = 0.3f) {
        Reduccion& r = st.ReduccionActual;
        r.Metodo = static_cast<int16_t>(metodo);
        r.MinErrores = static_cast<int16_t>(minErr);
        r.MaxErrores = static_cast<int16_t>(maxErr);
        r.Signos = signos;
        EXPECT_FALSE(LeeBase(base, r.Partidos)) << base;
        st.Datos.Precio = precio;
        res = CalculaEstadistica(st, sep);
        for (const auto& l : res.lineas) valor[l.etiqueta] = l.valor;
    }
    int32_t Reducidas() const { return st.ReduccionActual.ApuestasReducidas; }
    int32_t Directas() const { return st.ReduccionActual.ApuestasDirectas; }
};

TEST(Estadistica, LineasDelMetodoDirecto) {
    Calculo c(1, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1");
    std::vector<std::pair<std::string, std::string>> esperado{
        {"Partidos a doble", "0"},         {"Partidos a triple", "4"},   {"Total múltiples", "4"},
        {"Apuest. directas", "81"},        {"Dobles a reducir", "0"},    {"Triples a reducir", "4"},
        {"Múltiples a reducir", "4"},      {"Apuest. reducidas", "9"},   {"Importe total", "24.30 €"},
        {"Importe reducidas", "2.70 €"},   {"Factor reducción", "9.00"}, {"Probab. 14 aciertos", "11.11 %"},
        {"Probab. 13 aciertos", "88.89 %"}};
    ASSERT_EQ(c.res.lineas.size(), esperado.size());
    for (size_t i = 0; i < esperado.size(); ++i) {
        EXPECT_EQ(c.res.lineas[i].etiqueta, esperado[i].first);
        EXPECT_EQ(c.res.lineas[i].valor, esperado[i].second) << esperado[i].first;
    }
    EXPECT_EQ(c.st.Esta.ApuestasTabla, 9);
    EXPECT_EQ(c.st.Esta.Disponibles, (std::array<int16_t, 4>{0, 4, 4, 4}));

    Calculo sinReducir(1, "1X 1X X2 1 1 1 1 1 1 1 1 1 1 1 1");
    EXPECT_EQ(sinReducir.Directas(), 8);
    EXPECT_EQ(sinReducir.Reducidas(), 8);
    EXPECT_EQ(sinReducir.valor["Factor reducción"], "1.00");
    EXPECT_EQ(sinReducir.valor["Probab. 14 aciertos"], "100.00 %");
    EXPECT_EQ(sinReducir.valor["Probab. 13 aciertos"], "0.00 %");
    EXPECT_EQ(sinReducir.valor["Partidos a doble"], "3");
}

// The reduced bets are the columns the run writes, also where the table's
// factor is not a whole number and other multiples are developed in full.
TEST(Estadistica, DirectoCuentaLasColumnasQueSeEscriben) {
    Calculo c(1, "1X2* 1X* 1X* 12* X2* 1X* 1X 1X 1X 1X 1X 1X 1X 1X 1");
    EXPECT_EQ(c.Directas(), 24576);
    EXPECT_EQ(c.Reducidas(), 18 * 256);  // not 24576 / 5.33 = 4611
    EXPECT_EQ(c.valor["Factor reducción"], "5.33");
    EXPECT_EQ(c.valor["Apuest. reducidas"], "4,608");

    // Five triples: table A takes the first four, the fifth is developed.
    Calculo cinco(1, "1X2* 1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1");
    EXPECT_EQ(cinco.Directas(), 243);
    EXPECT_EQ(cinco.Reducidas(), 27);
    // Fourteen triples ("Seleccionar todo"): 3^10 x 9.
    Calculo todo(1, "1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1");
    EXPECT_EQ(todo.Reducidas(), 531441);
    EXPECT_EQ(todo.valor["Apuest. directas"], "4,782,969");
    EXPECT_EQ(todo.valor["Importe total"], "1,434,890.70 €");
}

TEST(Estadistica, ColumnaProbable) {
    Calculo c(2, "1X2*=1 1X2*=X 12*=2 1 1 1 1 1 1 1 1 1 1 1 1", 0, 1);
    EXPECT_EQ(c.Directas(), 18);
    EXPECT_EQ(c.Reducidas(), 6);
    EXPECT_EQ(c.valor["Factor reducción"], "3.00");
    EXPECT_EQ(c.valor["Posibil. cubiertas"], "33.33 %");
    EXPECT_EQ(c.res.lineas.size(), 12u);
    EXPECT_EQ(c.res.lineas.back().etiqueta, "Posibil. cubiertas");

    // Base signs still missing: counted as if they were chosen.
    Calculo sinBase(2, "1X2* 1X2* 12* 1 1 1 1 1 1 1 1 1 1 1 1", 0, 1);
    EXPECT_EQ(sinBase.Reducidas(), 6);

    // Errors 0 to 0: the product of the unreduced multiples.
    Calculo cero(2, "1X2*=1 1X*=X 1X2 12 1 1 1 1 1 1 1 1 1 1 1", 0, 0);
    EXPECT_EQ(cero.Reducidas(), 6);

    Calculo alto(2, "1X2*=1 1X2*=X 12*=2 1 1 1 1 1 1 1 1 1 1 1 1", 4, 5);
    EXPECT_EQ(alto.st.ReduccionActual.MinErrores, 3);
    EXPECT_EQ(alto.st.ReduccionActual.MaxErrores, 3);
    EXPECT_TRUE(alto.res.bajaMinErrores);
    EXPECT_TRUE(alto.res.bajaMaxErrores);
    EXPECT_EQ(alto.Reducidas(), 4);  // 2 x 2 x 1

    // Minimum above maximum: no bets, and the factor has no divisor.
    Calculo cruzado(2, "1X2*=1 1X2*=X 12*=2 1 1 1 1 1 1 1 1 1 1 1 1", 2, 1);
    EXPECT_EQ(cruzado.Reducidas(), 0);
    EXPECT_EQ(cruzado.valor["Factor reducción"], "");
    EXPECT_EQ(cruzado.valor["Posibil. cubiertas"], "0.00 %");
}

TEST(Estadistica, SeleccionDeSignos) {
    Calculo c(3, "1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1 1", 0, 0, {0, 1, 1, 1});
    EXPECT_EQ(c.Directas(), 27);
    EXPECT_EQ(c.Reducidas(), 6);
    EXPECT_EQ(c.valor["Factor reducción"], "4.50");

    Calculo noSuma(3, "1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1 1", 0, 0, {0, 1, 1, 0});
    EXPECT_EQ(noSuma.Reducidas(), 0);
    EXPECT_EQ(noSuma.valor["Factor reducción"], "0.00");
    EXPECT_EQ(noSuma.valor["Posibil. cubiertas"], "0.00 %");

    // Doubles limit the signs on offer; an unreduced triple multiplies.
    Calculo bajado(3, "1X* 1X* X2* 1X2 1 1 1 1 1 1 1 1 1 1 1", 0, 0, {0, 3, 2, 1});
    EXPECT_EQ(bajado.st.Esta.Disponibles, (std::array<int16_t, 4>{0, 2, 3, 1}));
    EXPECT_EQ(bajado.st.ReduccionActual.Signos, (std::array<int16_t, 4>{0, 2, 2, 1}));
    EXPECT_TRUE(bajado.res.bajaSignos[1]);
    EXPECT_FALSE(bajado.res.bajaSignos[2]);
    EXPECT_FALSE(bajado.res.bajaSignos[3]);
    // Signs 1, X, 2 = 1, 1, 1: one of the "1X" is 1, the other X, "X2" is 2.
    Calculo uno(3, "1X* 1X* X2* 1X2 1 1 1 1 1 1 1 1 1 1 1", 0, 0, {0, 1, 1, 1});
    EXPECT_EQ(uno.Reducidas(), 2 * 3);
}

TEST(Estadistica, DivisionPorCeroDejaLaLineaVacia) {
    for (int metodo = 1; metodo <= 3; ++metodo) {
        Calculo c(metodo, "1X2* - 1 1 1 1 1 1 1 1 1 1 1 1 1", 0, 1, {0, 1, 0, 0});
        EXPECT_EQ(c.Directas(), 0);
        EXPECT_EQ(c.valor["Apuest. directas"], "0");
        EXPECT_EQ(c.res.lineas.back().valor, "") << metodo;
        EXPECT_EQ(c.valor[metodo == 1 ? "Probab. 14 aciertos" : "Posibil. cubiertas"], "");
    }
}

TEST(Estadistica, SeparadoresDeLaRegion) {
    Calculo c(1, "1X2* 1X2* 1X2* 1X2* 1X2 1X2 1X2 1 1 1 1 1 1 1 1", 0, 0, {}, Separadores{'.', ','});
    EXPECT_EQ(c.valor["Apuest. directas"], "2.187");
    EXPECT_EQ(c.valor["Importe total"], "656,10 €");
    EXPECT_EQ(c.valor["Factor reducción"], "9,00");
    EXPECT_EQ(c.valor["Probab. 13 aciertos"], "88,89 %");
}

TEST(Estadistica, Combinaciones) {
    EXPECT_EQ(Combinaciones(14, 7), 3432);
    EXPECT_EQ(Combinaciones(5, 2), 10);
    EXPECT_EQ(Combinaciones(3, 0), 1);
    EXPECT_EQ(Combinaciones(0, 0), 1);
    EXPECT_EQ(Combinaciones(2, 3), 0);
    EXPECT_EQ(Combinaciones(14, 14), 1);
}

}  // namespace
}  // namespace tobal
