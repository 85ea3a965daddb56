#include <gtest/gtest.h>

#include "Soporte.h"
#include "reduction/Almacen.h"

namespace tobal {
namespace {

using namespace prueba;

const std::string kCuatroTriples = "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 X";

ResultadoCli Reducir(const CarpetaTemporal& d, const std::vector<std::string>& mas, int orden = 3) {
    return EjecutaCliEn(d.ruta(), {"reducir", "--jornada", "12", "--orden", std::to_string(orden)}, mas);
}

const std::string kBase = "1X2*=1 1X2*=X 1X2*=2 1X2*=1 1 1 1 1 1 1 1 1 1 1 1";

std::vector<std::string> Probable(const std::string& orden, const std::string& orden2 = "1") {
    std::vector<std::string> a{orden, "--metodo", "2", "--base", kBase, "--errores", "0,2"};
    if (orden == "reducir") a.insert(a.end(), {"--jornada", "12", "--orden", orden2});
    return a;
}

// The figures are the library's; here the options, the wording, what is
// stored and what a refusal leaves untouched.
TEST(CliReducir, EstadisticaReducirGarantiaEIndice) {
    CarpetaTemporal d;
    auto r = EjecutaCliEn(d.ruta(), {"estadistica", "--metodo", "2", "--base",
                                     "1X2*=1 1X2*=X 12*=2 1 1 1 1 1 1 1 1 1 1 1 1", "--errores", "0,5"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(Contiene(r.salida, "Apuest. reducidas: 18\n"));
    EXPECT_TRUE(Contiene(r.errores, "El máximo de errores baja a 3"));
    EXPECT_TRUE(Ficheros(d.ruta()).empty());
    const std::pair<std::vector<std::string>, std::string> casos[] = {
        {{"--condicion"}, "falta el valor de --condicion"},
        {{"--condicion", "Y 1-2"},
         "--condicion \"Y 1-2\": \"Y\" no es una medida (1, X, 2, variantes, interrupciones o seguidos)"},
        {{"--condicion=X 5-2"}, "--condicion \"X 5-2\": el mínimo 5 pasa del máximo 2"},
        {{"--fallos", "0"}, "--fallos necesita al menos una --condicion"},
        {{"--condicion", "X 1-2", "--fallos", "2"},
         "--fallos debe ser un número entre 0 y 1 (se ha dado \"2\")"},
        {{"--condicion", "X 1-2", "--fallos", "1", "--fallos", "0"}, "argumento no esperado: --fallos"},
    };
    for (const std::string orden : {"estadistica", "reducir"}) {
        for (const auto& [mas, error] : casos) {
            r = EjecutaCliEn(d.ruta(), Probable(orden), mas);
            EXPECT_TRUE(ErrorDeUso(r)) << orden << " " << mas.front();
            EXPECT_EQ(r.errores, "tobal31-cli " + orden + ": " + error + "\n");
        }
        const std::vector<std::string> directo{"--metodo",     "1",           "--base",
                                               kCuatroTriples, "--condicion", "X 1-2"};
        r = orden == "reducir" ? Reducir(d, directo) : EjecutaCliEn(d.ruta(), {orden}, directo);
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.salida, "");
        EXPECT_TRUE(Contiene(r.errores,
                             "CONDICIONES NO ADMITIDAS\nEl método directo no admite condiciones: "
                             "filtrar las columnas de su tabla rompe su garantía. Use el método 4"));
    }
    EXPECT_FALSE(fs::exists(d / "BASES.TBX"));
    // Without BASES.TBX, only the index's two headers in UTF-8.
    const std::string cabecera =
        "                                       Errores     Signos     Apuestas   Apuestas\n"
        "Jor  Fecha   Ord  Método de reducción  Min Max   1   X   2    Directas   Reducidas\n";
    r = EjecutaCliEn(d.ruta(), {"indice"});
    EXPECT_TRUE(r.codigo == 0 && r.salida == cabecera) << r.errores;

    r = Reducir(d, {"--metodo", "1", "--base", "1X2* 1X2* 1X2* 1X2* 1X 1 1 1 1 1 1 1 1 1 X"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(r.salida.starts_with("Jornada 12, orden 3: Método Directo\n")) << r.salida;
    // Labels lined up by letters, not bytes.
    EXPECT_TRUE(Contiene(r.salida, "\nFactor de  reducción...............: 9.00\n"));
    EXPECT_TRUE(Contiene(r.salida, "\nColumnas escritas en RED1203.TBX...: 18\n"));
    EXPECT_FALSE(Contiene(r.errores, "REDUCIENDO")) << "no progress bar without a terminal";
    const std::vector<std::string> clave{"--jornada", "12", "--orden", "3"};
    r = EjecutaCliEn(d.ruta(), {"garantia"}, clave);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.errores, "") << "no progress bar without a terminal";
    EXPECT_EQ(r.salida,
              "Jornada 12, orden 3: Método Directo\n"
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
    r = EjecutaCliEn(d.ruta(), {"garantia", "--formato", "csv"}, clave);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida,
              "Aciertos,Resultados,%\n14,18,11.11\n13,144,88.89\n12,0,0.00\n11,0,0.00\n10 o menos,0,0.00\n"
              "Garantía,13,\nGarantía con un partido fuera,12,\n");

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
    EXPECT_EQ(Bytes(d / "RED1203.TBX").size(), 18u * kLongLineaColumna);
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

    // Method 4 and its one parameter; its default is the base reader's.
    r = Reducir(d, {"--metodo", "4", "--garantia", "2", "--base", kCuatroTriples}, 5);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(Contiene(r.salida, "\nErrores garantizados...............: 2\n"));

    // Under a reduction, the line of its conditions or of their damaged file.
    for (const char* orden : {"1", "2"})
        ASSERT_EQ(EjecutaCliEn(d.ruta(), Probable("reducir", orden)).codigo, 0);
    const auto sin = EjecutaCliEn(d.ruta(), {"indice"});
    EXPECT_TRUE(sin.codigo == 0 && sin.errores.empty()) << sin.errores;
    const size_t linea2 = sin.salida.find("\n 12            2");
    ASSERT_NE(linea2, std::string::npos) << sin.salida;
    EscribeBytes(d / "RED1201.CON", "X 1-3\r\nseguidos 1-3 partidos 1-4\r\nfallos 1\r\n");
    EscribeBytes(d / "RED1202.CON", "X 1-3\r\nseguidos tres\r\n");
    EXPECT_EQ(EjecutaCliEn(d.ruta(), {"indice"}).salida,
              sin.salida.substr(0, linea2) + "\n    condiciones: X 1-3; seguidos 1-3 partidos 1-4; fallos 1" +
                  sin.salida.substr(linea2) +
                  "    condiciones: El fichero de condiciones RED1202.CON está dañado, línea 2 (\"seguidos "
                  "tres\"): \"tres\" no es un intervalo MIN-MAX de números. No se puede usar la reducción "
                  "sin saber sus condiciones.\n");

    // With conditions, both guarantees.
    r = EjecutaCliEn(d.ruta(), {"garantia"}, {"--jornada", "12", "--orden", "1"});
    EXPECT_TRUE(Contiene(r.salida,
                         "Probable\nCondiciones: X 1-3; seguidos 1-3 partidos 1-4; fallos 1\n78 de los "
                         "81 resultados dentro de la quiniela base cumplen las condiciones, 33 columnas"));
    EXPECT_TRUE(Contiene(r.salida, "\nSobre toda la quiniela base: al menos 12 aciertos.\n"));
    r = EjecutaCliEn(d.ruta(), {"garantia", "--formato", "csv"}, {"--jornada", "12", "--orden", "1"});
    EXPECT_TRUE(Contiene(r.salida, "\nGarantía en toda la quiniela base,12,\n"));
    // Conditions given to reducir are used.
    r = EjecutaCliEn(d.ruta(), Probable("reducir", "6"),
                     {"--condicion", "X 0 partidos 1-2", "--condicion", "interrupciones 1 partidos 3-4"});
    EXPECT_TRUE(
        Contiene(r.salida, "Probable\nCondiciones: X 0-0 partidos 1-2; interrupciones 1-1 partidos 3-4\n"))
        << r.errores;

    std::filesystem::remove(d / "BASES.TBX");
    std::filesystem::create_directory(d / "BASES.TBX");
    r = EjecutaCliEn(d.ruta(), {"indice"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "EEB ERROR "));
    // In a read-only folder it does not promise to create BASES.TBX.
    DiscoPequeno disco(1 << 20);
    if (disco.Montado()) {
        ASSERT_TRUE(disco.SoloLectura());
        r = EjecutaCliEn(disco.ruta(), {"indice"});
        EXPECT_FALSE(Contiene(r.errores, "proceder a crearlo"));
        EXPECT_TRUE(Contiene(r.errores, "No se encuentra el fichero BASES.TBX"));
    }
}

}  // namespace
}  // namespace tobal
