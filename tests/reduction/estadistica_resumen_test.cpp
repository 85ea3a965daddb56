#include <gtest/gtest.h>

#include "reduction/Resumen.h"

namespace tobal {
namespace {

const Separadores kPunto{',', '.'};

Reduccion Guardada(int metodo, int32_t directas, int32_t reducidas) {
    Reduccion r;
    r.Metodo = static_cast<int16_t>(metodo);
    r.ApuestasDirectas = directas;
    r.ApuestasReducidas = reducidas;
    return r;
}

std::vector<std::pair<std::string, std::string>> Pares(const std::vector<LineaResumen>& v) {
    std::vector<std::pair<std::string, std::string>> p;
    for (const auto& l : v) p.emplace_back(l.etiqueta, l.valor);
    return p;
}

TEST(EstadisticaResumen, LineasDeCadaMetodo) {
    using P = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(Pares(LineasResumen(Guardada(1, 4782969, 531441), 0.3f, kPunto)),
              (P{{"4,782,969 apuestas reducidas a 531,441", ""},
                 {"Factor de  reducción.....:", "9.00"},
                 {"Importe reducidas.........:", "159,432.30 €"},
                 {"Probabilidad 14 aciertos:", "11.11 %"},
                 {"Probabilidad 13 aciertos:", "88.89 %"}}));

    Reduccion dos = Guardada(2, 18, 6);
    dos.MinErrores = 0;
    dos.MaxErrores = 1;
    EXPECT_EQ(Pares(LineasResumen(dos, 0.5f, Separadores{'.', ','})), (P{{"18 apuestas reducidas a 6", ""},
                                                                         {"Factor de  reducción.....:", "3,00"},
                                                                         {"Errores permitidos.........:", "De 0 a 1"},
                                                                         {"Importe reducidas.........:", "3,00 €"},
                                                                         {"Posibilidades cubiertas.:", "33,33 %"}}));

    // Method 3 with no column: the factor has no divisor.
    Reduccion tres = Guardada(3, 27, 0);
    tres.Signos = {0, 2, 1, 0};
    EXPECT_EQ(Pares(LineasResumen(tres, 0.3f, kPunto)), (P{{"27 apuestas reducidas a ", ""},
                                                           {"Factor de  reducción.....:", ""},
                                                           {"Signos 1..: 2     Signos X..: 1     Signos 2..: 0", ""},
                                                           {"Importe reducidas.........:", "0.00 €"},
                                                           {"Posibilidades cubiertas.:", "0.00 %"}}));

    // Nothing loaded.
    EXPECT_TRUE(LineasResumen(Guardada(1, 1, 1), 0.3f, kPunto).empty());
}

}  // namespace
}  // namespace tobal
