#include <gtest/gtest.h>

#include "Soporte.h"

namespace tobal {
namespace {

// The figures are the library's; here the table, the sentences and the CSV
// rows that carry them.
TEST(CliGarantia, TablaFrasesYCsv) {
    prueba::CarpetaTemporal d;
    const std::vector<std::string> clave{"--jornada", "12", "--orden", "1"};
    auto r = prueba::EjecutaCliEn(
        d.ruta(), {"reducir", "--metodo", "1", "--base", "1X2* 1X2* 1X2* 1X2* 1X 1 1 1 1 1 1 1 1 1 X"},
        clave);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    r = prueba::EjecutaCliEn(d.ruta(), {"garantia"}, clave);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.errores, "") << "no progress bar without a terminal";
    EXPECT_EQ(r.salida,
              "Jornada 12, orden 1: Método Directo\n"
              "162 resultados dentro de la quiniela base, 18 columnas\n\n"
              "Aciertos    Resultados       %\n"
              "        14            18   11.11\n"
              "        13           144   88.89\n"
              "        12             0    0.00\n"
              "        11             0    0.00\n"
              "10 o menos             0    0.00\n\n"
              "Garantía: al menos 13 aciertos si el resultado está dentro de la quiniela base.\n"
              "Con un partido fuera de la quiniela base: al menos 12 aciertos.\n");

    // The same as CSV: the base has a double, so results outside it on one
    // match exist and their row differs from the guarantee's.
    r = prueba::EjecutaCliEn(d.ruta(), {"garantia", "--formato", "csv"}, clave);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida,
              "Aciertos,Resultados,%\n14,18,11.11\n13,144,88.89\n12,0,0.00\n11,0,0.00\n10 o menos,0,0.00\n"
              "Garantía,13,\nGarantía con un partido fuera,12,\n");
}

}  // namespace
}  // namespace tobal
