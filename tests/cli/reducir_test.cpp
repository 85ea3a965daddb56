#include <gtest/gtest.h>

#include "Soporte.h"
#include "reduction/Almacen.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;
using prueba::Bytes;
using prueba::CarpetaTemporal;

const std::string kCuatroTriples = "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 X";

prueba::ResultadoCli Reducir(const CarpetaTemporal& d, const std::vector<std::string>& mas) {
    return prueba::EjecutaCliEn(d.ruta(), {"reducir", "--jornada", "12", "--orden", "3"}, mas);
}

TEST(CliReducir, ReduceYRechazaLaQueYaExiste) {
    CarpetaTemporal d;
    auto r = Reducir(d, {"--metodo", "1", "--base", kCuatroTriples});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("Jornada 12, orden 3: Método Directo\n81 apuestas reducidas a 9\n"), std::string::npos)
        << r.salida;
    EXPECT_NE(r.salida.find("Columnas escritas en RED1203.TBX: 9\n"), std::string::npos) << r.salida;
    EXPECT_EQ(Bytes(d / "RED1203.TBX").size(), 9u * kLongLineaColumna);
    EXPECT_EQ(Bytes(d / "BASES.TBX").substr(0, 5), "12031");
    EXPECT_EQ(r.errores.find("REDUCIENDO"), std::string::npos) << "no progress bar without a terminal";

    r = Reducir(d, {"--metodo", "2", "--base", "1X2*=1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "--errores", "0,0"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("REDUCCIÓN YA EXISTE\nYa existe una reducción correspondiente a esa jornada  y  con"),
              std::string::npos)
        << r.errores;
    EXPECT_EQ(Bytes(d / "RED1203.TBX").size(), 9u * kLongLineaColumna);

    r = Reducir(
        d, {"--metodo", "2", "--base", "1X2*=1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "--errores", "0,0", "--reemplazar"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("Errores permitidos.........: De 0 a 0\n"), std::string::npos) << r.salida;
    EXPECT_EQ(Bytes(d / "RED1203.TBX"), "\"111111111111111\"\r\n");
    EXPECT_EQ(Bytes(d / "BASES.TBX").size(), static_cast<size_t>(kLongLineaBase));
}

TEST(CliReducir, ComprobacionesYErroresDeUso) {
    CarpetaTemporal d;
    auto r = Reducir(d, {"--metodo", "3", "--base", kCuatroTriples, "--signos", "2,1,0"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("ERROR EN LA SUMA DE SIGNOS\nLa  suma  de  los signos  1 ,  X  y  2  seleccionados "
                             "como patrón de reducción   ( 2  +  1  +  0   ->  3 )"),
              std::string::npos)
        << r.errores;
    r = Reducir(d, {"--metodo", "1", "--base", "1X2 1 1 1 1 1 1 1 1 1 1 1 1 1 1"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("MULTIPLES A REDUCIR\nNo ha seleccionado ningún múltiple"), std::string::npos);
    EXPECT_FALSE(fs::exists(d / "BASES.TBX"));
    EXPECT_FALSE(fs::exists(d / "RED1203.TBX"));

    r = Reducir(d, {"--metodo", "1", "--base", "1X2* 1X2* 1Y 1 1 1 1 1 1 1 1 1 1 1 1"});
    EXPECT_TRUE(prueba::ErrorDeUso(r));
    EXPECT_NE(r.errores.find("partido 3 (\"1Y\")"), std::string::npos) << r.errores;
    EXPECT_TRUE(prueba::ErrorDeUso(Reducir(d, {"--metodo", "4", "--base", kCuatroTriples})));
    EXPECT_TRUE(prueba::ErrorDeUso(Reducir(d, {"--metodo", "1", "--base", kCuatroTriples, "--signos", "1,1,2"})));
    r = prueba::EjecutaCliEn(d.ruta(), {"reducir", "--orden", "3", "--metodo", "1", "--base", kCuatroTriples});
    EXPECT_TRUE(prueba::ErrorDeUso(r));
    EXPECT_NE(r.errores.find("--jornada"), std::string::npos);
    EXPECT_FALSE(fs::exists(d / "BASES.TBX"));
}

TEST(CliReducir, FalloAlEscribirLasColumnas) {
    CarpetaTemporal d;
    fs::create_directory(d / "RED1203.TBX");
    auto r = Reducir(d, {"--metodo", "1", "--base", kCuatroTriples});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("RED1203.TBX"), std::string::npos) << r.errores;
    EXPECT_EQ(Bytes(d / "BASES.TBX").find("1203"), std::string::npos);
}

TEST(CliEstadistica, TreceLineas) {
    CarpetaTemporal d;
    auto r = prueba::EjecutaCliEn(
        d.ruta(), {"estadistica", "--metodo", "1", "--base", "1X2*,1X2*,1X2*,1X2*,1X2,1,1,1,1,1,1,1,1,1,1"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida,
              "Partidos a doble: 0\n"
              "Partidos a triple: 5\n"
              "Total múltiples: 5\n"
              "Apuest. directas: 243\n"
              "Dobles a reducir: 0\n"
              "Triples a reducir: 4\n"
              "Múltiples a reducir: 4\n"
              "Apuest. reducidas: 27\n"
              "Importe total: 72.90 €\n"
              "Importe reducidas: 8.10 €\n"
              "Factor reducción: 9.00\n"
              "Probab. 14 aciertos: 11.11 %\n"
              "Probab. 13 aciertos: 88.89 %\n");
    for (const auto& f : fs::directory_iterator(d.ruta()))
        EXPECT_EQ(f.path().filename(), "DATOSGEN.TBX") << "only the settings the tool creates on first use";

    r = prueba::EjecutaCliEn(d.ruta(), {"estadistica", "--metodo", "2", "--base",
                                        "1X2*=1 1X2*=X 12*=2 1 1 1 1 1 1 1 1 1 1 1 1", "--errores", "0,5"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("Apuest. reducidas: 18\nImporte total"), std::string::npos) << r.salida;
    EXPECT_NE(r.salida.find("Posibil. cubiertas: 100.00 %\n"), std::string::npos) << r.salida;
    EXPECT_NE(r.errores.find("El máximo de errores baja a 3"), std::string::npos) << r.errores;
    EXPECT_FALSE(fs::exists(d / "BASES.TBX"));
}

}  // namespace
}  // namespace tobal
