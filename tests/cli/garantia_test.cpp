#include <gtest/gtest.h>

#include "Soporte.h"
#include "reduction/Almacen.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;
using prueba::Bytes;
using prueba::CarpetaTemporal;
using prueba::Contiene;
using prueba::ErrorDeUso;

prueba::ResultadoCli Garantia(const CarpetaTemporal& d, int orden, const std::vector<std::string>& mas = {}) {
    return prueba::EjecutaCliEn(d.ruta(), {"garantia", "--jornada", "12", "--orden", std::to_string(orden)},
                                mas);
}

void Reduce(const CarpetaTemporal& d, int orden, const std::vector<std::string>& mas) {
    const auto r =
        prueba::EjecutaCliEn(d.ruta(), {"reducir", "--jornada", "12", "--orden", std::to_string(orden)}, mas);
    ASSERT_EQ(r.codigo, 0) << r.errores;
}

TEST(CliGarantia, TablaFrasesYCsv) {
    CarpetaTemporal d;
    Reduce(d, 1, {"--metodo", "1", "--base", "1X2* 1X2* 1X2* 1X2* 1X 1 1 1 1 1 1 1 1 1 X"});
    auto r = Garantia(d, 1);
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
    r = Garantia(d, 1, {"--formato", "csv"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida,
              "Aciertos,Resultados,%\n14,18,11.11\n13,144,88.89\n12,0,0.00\n11,0,0.00\n10 o menos,0,0.00\n"
              "Garantía,13,\nGarantía con un partido fuera,12,\n");
}

TEST(CliGarantia, RechazosYErroresDeUso) {
    CarpetaTemporal d;
    Reduce(d, 1, {"--metodo", "3", "--base", "1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1 1", "--signos", "1,1,1"});
    // The library names the bad column; the tool prints it, exits 1 and shows no table.
    const fs::path red = d / "RED1201.TBX";
    prueba::EscribeBytes(red, Bytes(red).substr(0, 19) + "\"2X1211111111111\"\r\n");
    auto r = Garantia(d, 1);
    EXPECT_TRUE(r.codigo == 1 && r.salida.empty()) << r.codigo << r.salida;
    EXPECT_TRUE(Contiene(r.errores, "La columna 2 del fichero RED1201.TBX tiene el signo 2 en el partido 4"));
    fs::remove(red);
    r = Garantia(d, 1);
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "No se encuentra el fichero de columnas RED1201.TBX"));

    EXPECT_TRUE(ErrorDeUso(Garantia(d, 1, {"--formato", "xml"})));
    EXPECT_TRUE(ErrorDeUso(Garantia(d, 31)));
    EXPECT_TRUE(ErrorDeUso(prueba::EjecutaCliEn(d.ruta(), {"garantia", "--jornada", "12"})));
}

}  // namespace
}  // namespace tobal
