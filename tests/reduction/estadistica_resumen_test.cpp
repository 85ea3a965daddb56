#include <gtest/gtest.h>

#include "reduction/Resumen.h"

namespace tobal {
namespace {

// The summary of a stored reduction, one "label|value" a line.
std::string Resumen(int metodo, int32_t directas, int32_t reducidas, float precio, Separadores sep,
                    std::array<int16_t, 4> signos = {}) {
    Reduccion r;
    r.Metodo = static_cast<int16_t>(metodo);
    r.ApuestasDirectas = directas;
    r.ApuestasReducidas = reducidas;
    r.MaxErrores = 1;
    r.Signos = signos;
    std::string s;
    for (const auto& l : LineasResumen(r, precio, sep)) s += l.etiqueta + "|" + l.valor + "\n";
    return s;
}

TEST(EstadisticaResumen, LineasDeCadaMetodo) {
    const Separadores punto{',', '.'}, coma{'.', ','};
    EXPECT_EQ(Resumen(1, 4782969, 531441, 0.3f, punto),
              "4,782,969 apuestas reducidas a 531,441|\nFactor de  reducción.....:|9.00\n"
              "Importe reducidas.........:|159,432.30 €\nProbabilidad 14 aciertos:|11.11 %\n"
              "Probabilidad 13 aciertos:|88.89 %\n");
    EXPECT_EQ(
        Resumen(2, 18, 6, 0.5f, coma),
        "18 apuestas reducidas a 6|\nFactor de  reducción.....:|3,00\nErrores permitidos.........:|De 0 a 1\n"
        "Importe reducidas.........:|3,00 €\nPosibilidades cubiertas.:|33,33 %\n");
    // No column: the factor has no divisor.
    EXPECT_EQ(Resumen(3, 27, 0, 0.3f, punto, {0, 2, 1, 0}),
              "27 apuestas reducidas a |\nFactor de  reducción.....:|\n"
              "Signos 1..: 2     Signos X..: 1     Signos 2..: 0|\nImporte reducidas.........:|0.00 €\n"
              "Posibilidades cubiertas.:|0.00 %\n");
    EXPECT_EQ(Resumen(1, 1, 1, 0.3f, punto).size(), 0u) << "nothing loaded";
}

}  // namespace
}  // namespace tobal
