#include <gtest/gtest.h>

#include "Soporte.h"
#include "reduction/Almacen.h"
#include "reduction/Cubierta.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;
using prueba::Bytes;
using prueba::CarpetaTemporal;
using prueba::Contiene;

const std::string kCuatroTriples = "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 X";

prueba::ResultadoCli Reducir(const CarpetaTemporal& d, const std::vector<std::string>& mas, int orden = 3) {
    return prueba::EjecutaCliEn(d.ruta(), {"reducir", "--jornada", "12", "--orden", std::to_string(orden)},
                                mas);
}

// The figures are the statistics'; here the wording, what is stored and
// what a refusal leaves untouched.
TEST(CliReducir, ReduceRechazaYReemplaza) {
    CarpetaTemporal d;
    auto r = Reducir(d, {"--metodo", "1", "--base", kCuatroTriples});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida.rfind("Jornada 12, orden 3: Método Directo\n", 0), 0u) << r.salida;
    // Labels lined up by letters, not bytes.
    EXPECT_TRUE(Contiene(r.salida, "\nFactor de  reducción...............: 9.00\n"));
    EXPECT_TRUE(Contiene(r.salida, "\nColumnas escritas en RED1203.TBX...: 9\n"));
    EXPECT_EQ(Bytes(d / "RED1203.TBX").size(), 9u * kLongLineaColumna);
    EXPECT_FALSE(Contiene(r.errores, "REDUCIENDO")) << "no progress bar without a terminal";

    std::vector<std::string> otra{"--metodo",  "2",  "--base", "1X2*=1 1 1 1 1 1 1 1 1 1 1 1 1 1 1",
                                  "--errores", "0,0"};
    r = Reducir(d, otra);
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(
        r.errores,
        "REDUCCIÓN YA EXISTE\nYa existe una reducción de la jornada 12 con el número de orden 3. Para "
        "conservarla, dé otro número de orden con --orden; para sustituirla, repita la orden con "
        "--reemplazar.\n"));
    r = Reducir(d, {"--metodo", "3", "--base", kCuatroTriples, "--signos", "2,1,0", "--reemplazar"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "ERROR EN LA SUMA DE SIGNOS\nLa  suma  de  los signos  1 ,  X  y  2 "));
    EXPECT_EQ(Bytes(d / "RED1203.TBX").size(), 9u * kLongLineaColumna);
    otra.push_back("--reemplazar");
    r = Reducir(d, otra);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(Bytes(d / "RED1203.TBX"), "\"111111111111111\"\r\n");
    EXPECT_EQ(Bytes(d / "BASES.TBX").size(), static_cast<size_t>(kLongLineaBase));

    fs::create_directory(d / "RED1204.TBX");  // cannot write the columns
    r = Reducir(d, {"--metodo", "1", "--base", kCuatroTriples}, 4);
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "RED1204.TBX"));
    EXPECT_FALSE(Contiene(Bytes(d / "BASES.TBX"), "1204"));
}

// Method 4 and its one parameter, 1 when not given.
TEST(CliReducir, ReduccionMinima) {
    CarpetaTemporal d;
    auto r = Reducir(d, {"--metodo", "4", "--garantia", "2", "--base", kCuatroTriples});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(Contiene(r.salida, "Jornada 12, orden 3: Método de Reducción Mínima\n"));
    EXPECT_TRUE(Contiene(r.salida, "\nErrores garantizados...............: 2\n"));
    EXPECT_EQ(Bytes(d / "BASES.TBX").substr(0, 9), "12034 0 2");
    r = prueba::EjecutaCliEn(d.ruta(), {"estadistica", "--metodo", "4", "--base", kCuatroTriples});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(
        Contiene(r.salida, "\nApuest. reducidas: " + std::to_string(ColumnasCubierta(4, 0, 1)) + "\n"));
}

TEST(CliEstadistica, ImprimeLasLineasSinEscribirNada) {
    CarpetaTemporal d;
    auto r =
        prueba::EjecutaCliEn(d.ruta(), {"estadistica", "--metodo", "2", "--base",
                                        "1X2*=1 1X2*=X 12*=2 1 1 1 1 1 1 1 1 1 1 1 1", "--errores", "0,5"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(Contiene(r.salida, "Apuest. reducidas: 18\n"));
    EXPECT_TRUE(Contiene(r.errores, "El máximo de errores baja a 3"));
    EXPECT_TRUE(prueba::Ficheros(d.ruta()).empty());
}

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
