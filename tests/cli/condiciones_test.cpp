// Conditions on the command line: --condicion and --fallos, and how indice
// and garantia show a reduction's conditions.

#include <gtest/gtest.h>

#include "Soporte.h"

namespace tobal {
namespace {

using prueba::CarpetaTemporal;
using prueba::Contiene;
using prueba::EjecutaCliEn;
using prueba::EscribeBytes;

const std::string kBase = "1X2*=1 1X2*=X 1X2*=2 1X2*=1 1 1 1 1 1 1 1 1 1 1 1";

std::vector<std::string> Orden(const std::string& orden, int metodo, const std::string& base) {
    std::vector<std::string> a{orden, "--metodo", std::to_string(metodo), "--base", base};
    if (metodo == 2) a.insert(a.end(), {"--errores", "0,2"});
    if (orden == "reducir") a.insert(a.end(), {"--jornada", "12", "--orden", "1"});
    return a;
}

// Wrong options are usage errors that name them; the direct method with a
// table refuses conditions. Nothing is stored.
TEST(CliCondiciones, OpcionesMalasYMetodoDirecto) {
    CarpetaTemporal d;
    const std::pair<std::vector<std::string>, std::string> casos[] = {
        {{"--condicion"}, "falta el valor de --condicion"},
        {{"--condicion", "Y 1-2"},
         "--condicion \"Y 1-2\": \"Y\" no es una medida (1, X, 2, variantes, interrupciones o seguidos)"},
        {{"--condicion=X 5-2"}, "--condicion \"X 5-2\": el mínimo 5 pasa del máximo 2"},
        {{"--condicion", "X 1 partidos 1-20"},
         "--condicion \"X 1 partidos 1-20\": \"1-20\" no es un grupo de partidos del 1 al 14 (por ejemplo "
         "1-7 o 1,3,5-9)"},
        {{"--fallos", "0"}, "--fallos necesita al menos una --condicion"},
        {{"--condicion", "X 1-2", "--fallos", "2"}, "--fallos debe ser un número entre 0 y 1 (se ha dado \"2\")"},
        {{"--condicion", "X 1-2", "--fallos", "1", "--fallos", "0"}, "argumento no esperado: --fallos"},
    };
    for (const std::string orden : {"estadistica", "reducir"}) {
        for (const auto& [mas, error] : casos) {
            const auto r = EjecutaCliEn(d.ruta(), Orden(orden, 2, kBase), mas);
            EXPECT_TRUE(prueba::ErrorDeUso(r)) << orden << " " << mas.front();
            EXPECT_EQ(r.errores, "tobal31-cli " + orden + ": " + error + "\n");
        }
        const auto r =
            EjecutaCliEn(d.ruta(), Orden(orden, 1, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1"), {"--condicion", "X 1-2"});
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.salida, "");
        EXPECT_TRUE(Contiene(r.errores,
                  "CONDICIONES NO ADMITIDAS\nEl método directo no admite condiciones: filtrar las columnas de su "
                  "tabla rompe su garantía. Use el método 4 (reducción mínima), que cubre los resultados que "
                  "cumplen las condiciones.\n"));
    }
    EXPECT_FALSE(std::filesystem::exists(d / "BASES.TBX"));
    EXPECT_FALSE(std::filesystem::exists(d / "RED1201.TBX"));
}

// Conditions given are used: estadistica counts the results that meet
// them, reducir says which it applied.
TEST(CliCondiciones, EstadisticaYReducirLasUsan) {
    CarpetaTemporal d;
    const std::vector<std::string> cs{"--condicion", "X 0 partidos 1-2", "--condicion",
                                      "interrupciones 1 partidos 3-4"};
    auto r = EjecutaCliEn(d.ruta(), Orden("estadistica", 2, kBase), cs);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    // 2 x 2 signs on matches 1-2, 6 pairs of different signs on 3-4.
    EXPECT_TRUE(Contiene(r.salida, "\nCumplen condiciones: 24\n"));
    r = EjecutaCliEn(d.ruta(), Orden("reducir", 2, kBase), cs);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(Contiene(r.salida, "Método de Columna Probable\nCondiciones: X 0-0 partidos 1-2; interrupciones 1-1 partidos 3-4\n"));
}

// indice adds a line under a reduction with conditions, and says when its
// file is damaged; garantia takes them, or refuses a damaged file.
TEST(CliCondiciones, IndiceYGarantiaLasMuestran) {
    CarpetaTemporal d;
    for (const char* orden : {"1", "2"}) {
        auto a = Orden("reducir", 2, kBase);
        a.back() = orden;
        ASSERT_EQ(EjecutaCliEn(d.ruta(), a).codigo, 0);
    }
    const auto sin = EjecutaCliEn(d.ruta(), {"indice"});
    const auto garantiaSin = EjecutaCliEn(d.ruta(), {"garantia", "--jornada", "12", "--orden", "1"});
    ASSERT_EQ(sin.codigo, 0);
    const size_t linea2 = sin.salida.find("\n 12            2");
    ASSERT_NE(linea2, std::string::npos) << sin.salida;

    EscribeBytes(d / "RED1201.CON", "X 1-3\r\nseguidos 1-3 partidos 1-4\r\nfallos 1\r\n");
    EscribeBytes(d / "RED1202.CON", "X 1-3\r\nseguidos tres\r\n");
    const auto con = EjecutaCliEn(d.ruta(), {"indice"});
    EXPECT_EQ(con.codigo, 0);
    EXPECT_EQ(con.salida, sin.salida.substr(0, linea2) +
                              "\n    condiciones: X 1-3; seguidos 1-3 partidos 1-4; fallos 1" +
                              sin.salida.substr(linea2) +
                              "    condiciones: el fichero de condiciones RED1202.CON está dañado, línea 2 (\"seguidos tres\"): "
                              "\"tres\" no es un intervalo MIN-MAX de números\n");

    auto r = EjecutaCliEn(d.ruta(), {"garantia", "--jornada", "12", "--orden", "1"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    // The unconditioned text with its second line and its sentences changed.
    EXPECT_TRUE(Contiene(r.salida, "Columna Probable\nCondiciones: X 1-3; seguidos 1-3 partidos 1-4; fallos 1\n"
                                   "78 de los 81 resultados dentro de la quiniela base cumplen las condiciones, "));
    EXPECT_TRUE(Contiene(r.salida, " aciertos si el resultado está dentro de la quiniela base y cumple las "
                                   "condiciones.\nSobre toda la quiniela base: al menos 12 aciertos.\n"));
    EXPECT_TRUE(Contiene(garantiaSin.salida, "81 resultados dentro de la quiniela base, "));
    r = EjecutaCliEn(d.ruta(), {"garantia", "--jornada", "12", "--orden", "1", "--formato", "csv"});
    EXPECT_TRUE(Contiene(r.salida, "\nGarantía en toda la quiniela base,12,\n"));

    r = EjecutaCliEn(d.ruta(), {"garantia", "--jornada", "12", "--orden", "2"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.salida, "");
    EXPECT_TRUE(Contiene(r.errores, "El fichero de condiciones RED1202.CON está dañado, línea 2"));

    // The printed summary lists them, and is not printed over a damaged file.
    const std::string pdf = (d / "r.pdf").string();
    r = EjecutaCliEn(d.ruta(), {"imprimir", "resumen", "--jornada", "12", "--orden", "2", "--pdf", pdf});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "El fichero de condiciones RED1202.CON está dañado, línea 2"));
    EXPECT_FALSE(std::filesystem::exists(pdf));
#ifdef TOBAL31_CON_QT
    r = EjecutaCliEn(d.ruta(), {"imprimir", "resumen", "--jornada", "12", "--orden", "1", "--pdf", pdf});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(Contiene(prueba::Orden("pdftotext -layout " + pdf + " -"),
                         "Condiciones..............: X 1-3\n"));
#endif
}

}  // namespace
}  // namespace tobal
