// tobal31-cli exportar sobre una carpeta de datos temporal.

#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/Jornadas.h"

namespace tobal {
namespace {

using prueba::Bytes;
using prueba::EscribeBytes;
using prueba::EstadoPrueba;

const std::string A = "1X21X21X21X21X2";
const std::string B = "2X12X12X12X12X1";

struct CliExportar : ::testing::Test {
    EstadoPrueba p;
    prueba::CarpetaTemporal destino;

    void SetUp() override {
        EscribeBytes(p.dir() / "DATOSGEN.TBX",
                     "12,\"01/09/02\",1,1,0,0,0,0,1,42,\"0.3 \",\"07\",\"00123\",\"Si\"\r\n");
        std::array<std::string, 30> equipos;
        ASSERT_EQ(GrabaRegistroJornada(p.st, 12, RegistroEditor(RegistroJornadaVacio(), 12, "14/09/03", equipos)),
                  0);
    }
    void Reduccion(int columnas, const std::string& col = A) {
        std::vector<std::string> v;
        for (int i = 0; i < columnas; ++i) v.push_back(i % 2 ? B : col);
        prueba::GrabaReduccionConColumnas(p.st, 12, 2, v);
    }
    prueba::ResultadoCli Exportar(const std::string& orden = "2", const std::string& a = "") {
        return prueba::EjecutaCliEn(p.dir(), {"exportar", "--jornada", "12", "--orden", orden, "--destino",
                                              (a.empty() ? destino.ruta() : destino / a).string()});
    }
};

TEST_F(CliExportar, EscribeElFicheroDeApuestasComoLaCopiaADisco) {
    Reduccion(2);
    auto r = Exportar();
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(Bytes(destino / "AD243"),
              "C0124312140903070012300000201000001" "08" + std::string(86, ' ') + "\r\n" + "D000000012" +
                  A.substr(0, 14) + B.substr(0, 14) + std::string(84, ' ') + "2\r\n");
    EXPECT_EQ(r.errores, "");
    EXPECT_NE(r.salida.find("Se ha copiado a la unidad " + destino.ruta().string() + " el archivo AD243"),
              std::string::npos);
}

TEST_F(CliExportar, UltimaColumnaSolaSeAvisaEnStderr) {
    Reduccion(9);
    auto r = Exportar();
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.errores.rfind("ÚLTIMO BOLETO INCOMPLETO\nCon esta reducción,", 0), 0u) << r.errores;
    EXPECT_EQ(Bytes(destino / "AD243").size(), 3u * 125);
}

TEST_F(CliExportar, VolumenesSiguientesJuntoAlPrimero) {
    Reduccion(11651 * 8);
    auto r = Exportar();
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("Volumen 2: " + (destino / "AD243.02").string()), std::string::npos) << r.salida;
    EXPECT_NE(r.salida.find("Número de disquetes necesarios para esta reducción: 2"), std::string::npos);
    std::string v2 = Bytes(destino / "AD243.02");
    ASSERT_EQ(v2.size(), 2u * 125);
    EXPECT_EQ(v2.substr(0, 3), "C02");
    EXPECT_EQ(v2.substr(125, 9), "D00011651");
}

TEST_F(CliExportar, RechazosNoDejanFichero) {
    Reduccion(4);
    auto r = Exportar("3");  // no existe esa reducción
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("ERROR EN JORNADA/ORDEN"), std::string::npos);

    Reduccion(3, "1X21X21X21X21X");  // fichero de columnas dañado
    r = Exportar();
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("ERROR EN LA COPIA A DISCO"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(destino / "AD243"));

    std::filesystem::remove(p.dir() / "RED1202.TBX");
    r = Exportar();
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("RED1202.TBX"), std::string::npos);

    EXPECT_TRUE(prueba::ErrorDeUso(Exportar("2", "no existe")));
}

}  // namespace
}  // namespace tobal
