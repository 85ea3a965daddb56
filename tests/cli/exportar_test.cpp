// tobal31-cli exportar sobre una carpeta de datos temporal.

#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/Jornadas.h"

namespace tobal {
namespace {

using prueba::Bytes;
using prueba::Contiene;

const std::string A = "1X21X21X21X21X2";
const std::string B = "2X12X12X12X12X1";

struct CliExportar : ::testing::Test {
    prueba::EstadoPrueba p;
    prueba::CarpetaTemporal destino;

    void SetUp() override {
        prueba::EscribeBytes(p.dir() / "DATOSGEN.TBX",
                             "12,\"01/09/02\",1,1,0,0,0,0,1,42,\"0.3 \",\"07\",\"00123\",\"Si\"\r\n");
        std::array<std::string, 30> equipos;
        ASSERT_EQ(
            GrabaRegistroJornada(p.st, 12, RegistroEditor(RegistroJornadaVacio(), 12, "14/09/03", equipos)),
            0);
    }
    prueba::ResultadoCli Exportar(int columnas, const std::string& orden = "2") {
        std::vector<std::string> v;
        for (int i = 0; i < columnas; ++i) v.push_back(i % 2 ? B : A);
        if (columnas) prueba::GrabaReduccionConColumnas(p.st, 12, 2, v);
        return prueba::EjecutaCliEn(
            p.dir(), {"exportar", "--jornada", "12", "--orden", orden, "--destino", destino.ruta().string()});
    }
};

TEST_F(CliExportar, EscribeElFicheroDeApuestasComoLaCopiaADisco) {
    auto r = Exportar(2);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    // The records are the disk copy's; here the name, the settings it takes and the messages.
    EXPECT_EQ(Bytes(destino / "AD243").substr(0, 21), "C01243121409030700123");
    EXPECT_EQ(Bytes(destino / "AD243").size(), 2u * 125);
    EXPECT_EQ(r.errores, "");
    EXPECT_TRUE(
        Contiene(r.salida, "Se ha copiado a la unidad " + destino.ruta().string() + " el archivo AD243"));

    r = Exportar(9);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.errores.rfind("ÚLTIMO BOLETO INCOMPLETO\nCon esta reducción,", 0), 0u) << r.errores;

    r = Exportar(11651 * 8);  // los volúmenes siguientes junto al primero
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(Contiene(r.salida, "Volumen 2: " + (destino / "AD243.02").string()));
}

}  // namespace
}  // namespace tobal
