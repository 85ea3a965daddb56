// tobal31-cli escrutar sobre una carpeta de datos temporal.

#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/Jornadas.h"

namespace tobal {
namespace {

using prueba::Bytes;
using prueba::Contiene;

const std::string kGanadora = "1X21X21X21X21X2";

struct CliEscrutar : ::testing::Test {
    prueba::EstadoPrueba p;

    void SetUp() override { prueba::EscribeDatosGenDefecto(p.dir()); }
    prueba::ResultadoCli Escrutar(const std::vector<std::string>& mas, const std::string& orden = "3") {
        return prueba::EjecutaCliEn(p.dir(), {"escrutar", "--jornada", "12", "--orden", orden}, mas);
    }
};

TEST_F(CliEscrutar, MuestraLasDosTablasYGuardaLasEntradas) {
    prueba::GrabaReduccionConColumnas(p.st, 12, 3, {kGanadora, "1X21X21X21X21X1", "2X21X21X21X21X2"});
    // La coma es siempre decimal: "12,50,..." es un único importe, y faltan cuatro.
    for (std::vector<std::string> mas :
         {std::vector<std::string>{"--ganadora", "1x21X21X21X21X2", "--premios", "12,50,.125,1e3,,0"},
          {"--ganadora", "1X21X21X21X21XA"},
          {"--ganadora", kGanadora, "--premios", "123456789012 0 0 0 0"},
          {"--ganadora", kGanadora, "--premios", "1250 0 0 0"},
          {"--ganadora", kGanadora, "--premios", "1 2 3 4 5 6"}})
        EXPECT_TRUE(ErrorDeUso(Escrutar(mas))) << testing::PrintToString(mas);
    // Un importe dudoso nombra su categoría; lo que tiene mal lo prueban los importes.
    auto r = Escrutar({"--ganadora", kGanadora, "--premios", "0 1.500 0 0 0"});
    EXPECT_TRUE(ErrorDeUso(r));
    EXPECT_TRUE(
        Contiene(r.errores, "14 aciertos (\"1.500\") se puede leer de dos formas; escriba 1500 o 1,50"));
    EXPECT_FALSE(Contiene(Bytes(p.dir() / "JORNADAS.TBX"), "Jor12"));

    // La columna ganadora admite blancos; los importes, blancos y ";".
    r = Escrutar({"--ganadora", "1x2 1X2 1X2 1X2 1X2", "--premios", "1.250,00; 0,12 13 ;0 0"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida.substr(0, 4 * 38),
              "Aciertos     Columnas         Importe\n"
              "Total premios:                1263.24\n"
              "  15                1         1250.00\n"
              "  14                2            0.24\n")
        << r.salida;
    EXPECT_EQ(r.salida.substr(r.salida.size() - 89),
              "   0                0\n\nBoleto nro.    15   14   13   12   11\n         1      1    1    1\n")
        << r.salida;
    const std::string reg = LeeRegistroJornada(p.st, 12);
    EXPECT_EQ(reg.substr(0, 13), "Jor1200/00/00");
    EXPECT_EQ(reg.substr(463), "123123123123123       1250       0.12         13          0          0");

    // Sin --premios se usan de nuevo los premios guardados.
    r = Escrutar({"--ganadora", kGanadora});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida.substr(38, 38), "Total premios:                1263.24\n");
}

TEST_F(CliEscrutar, ColumnaIncompletaOReduccionQueNoExiste) {
    prueba::GrabaReduccionConColumnas(p.st, 12, 3, {kGanadora});
    auto r = Escrutar({"--ganadora", kGanadora}, "4");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores,
                         "ERROR EN JORNADA/ORDEN\nNo existe una reducción de la jornada 12 con el número de "
                         "orden 4. La orden indice lista las reducciones guardadas."));
    EXPECT_FALSE(Contiene(Bytes(p.dir() / "JORNADAS.TBX"), "Jor12"));

    r = Escrutar({"--ganadora", "1X21X-1X21X21X2"});  // se guarda y se rechaza
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.salida, "");
    EXPECT_TRUE(
        Contiene(r.errores,
                 "COLUMNA GANADORA INCOMPLETA\nLa columna ganadora se ha guardado, pero tiene partidos sin "
                 "resultado (-)"));
    EXPECT_EQ(LeeRegistroJornada(p.st, 12).substr(463, 15), "123120123123123");

    std::filesystem::remove(p.dir() / "RED1203.TBX");  // guardada, pero sin su fichero de columnas
    r = Escrutar({"--ganadora", kGanadora});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "RED1203.TBX"));
}

}  // namespace
}  // namespace tobal
