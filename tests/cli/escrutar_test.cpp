// tobal31-cli escrutar sobre una carpeta de datos temporal.

#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/Jornadas.h"

namespace tobal {
namespace {

using prueba::Bytes;
using prueba::EstadoPrueba;

const std::string kGanadora = "1X21X21X21X21X2";

struct CliEscrutar : ::testing::Test {
    EstadoPrueba p;

    void SetUp() override { prueba::EscribeDatosGenDefecto(p.dir()); }
    // Guarda la reducción 12/3 con estas columnas.
    void Reduccion(const std::vector<std::string>& columnas) {
        prueba::GrabaReduccionConColumnas(p.st, 12, 3, columnas);
    }
    prueba::ResultadoCli Escrutar(const std::vector<std::string>& mas) {
        return prueba::EjecutaCliEn(p.dir(), {"escrutar", "--jornada", "12", "--orden", "3"}, mas);
    }
};

std::vector<std::string> Lineas(const std::string& s) {
    std::vector<std::string> v;
    size_t i = 0;
    for (size_t nl; (nl = s.find('\n', i)) != std::string::npos; i = nl + 1) v.push_back(s.substr(i, nl - i));
    return v;
}

TEST_F(CliEscrutar, MuestraLasDosTablasYGuardaLasEntradas) {
    Reduccion({kGanadora, "1X21X21X21X21X1", "2X21X21X21X21X2"});
    // "12,50" no puede ser un premio aquí: las comas separan los cinco.
    EXPECT_TRUE(ErrorDeUso(Escrutar({"--ganadora", "1x21X21X21X21X2", "--premios", "12,50,.125,1e3,,0"})));

    auto r = Escrutar({"--ganadora", "1x21X21X21X21X2", "--premios", "1250,.125,1e3,,0"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    auto l = Lineas(r.salida);
    ASSERT_EQ(l.size(), 18u);
    EXPECT_EQ(l[0], "Total premios:    1263.24");
    EXPECT_EQ(l[1], "  15       1      1250.00");
    EXPECT_EQ(l[2], "  14       2         0.24");
    EXPECT_EQ(l[3], "  13       1        13.00");
    EXPECT_EQ(l[16], "   0       0   ");
    EXPECT_EQ(l[17], "     1    1  1  1      ");

    std::string reg = LeeRegistroJornada(p.st, 12);
    EXPECT_EQ(reg.substr(0, 13), "Jor1200/00/00");
    EXPECT_EQ(reg.substr(463, 15), "123123123123123");
    EXPECT_EQ(reg.substr(478), "       1250       0.12         13          0          0");

    // Sin --premios se usan de nuevo los premios guardados.
    r = Escrutar({"--ganadora", kGanadora});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(Lineas(r.salida)[0], "Total premios:    1263.24");
}

TEST_F(CliEscrutar, ColumnaIncompletaSeGuardaYSeRechaza) {
    Reduccion({kGanadora});
    auto r = Escrutar({"--ganadora", "1X21X-1X21X21X2"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.salida, "");
    EXPECT_NE(r.errores.find("COLUMNA GANADORA INCOMPLETA\nEs necesario que marque los 15 resultados"),
              std::string::npos)
        << r.errores;
    EXPECT_EQ(LeeRegistroJornada(p.st, 12).substr(463, 15), "123120123123123");
}

TEST_F(CliEscrutar, ReduccionQueNoExisteSeRechazaSinTocarLaJornada) {
    Reduccion({kGanadora});
    auto r = prueba::EjecutaCliEn(p.dir(), {"escrutar", "--jornada", "12", "--orden", "4", "--ganadora", kGanadora});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("ERROR EN JORNADA/ORDEN\nNo existe una reducción"), std::string::npos) << r.errores;
    EXPECT_EQ(Bytes(p.dir() / "JORNADAS.TBX").find("Jor12"), std::string::npos);

    // Una reducción guardada cuyo fichero de columnas ya no está.
    std::filesystem::remove(p.dir() / "RED1203.TBX");
    r = Escrutar({"--ganadora", kGanadora});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("RED1203.TBX"), std::string::npos);
}

TEST_F(CliEscrutar, ArgumentosMalosSonErroresDeUso) {
    Reduccion({kGanadora});
    for (std::vector<std::string> mas : {std::vector<std::string>{"--ganadora", "1X2"},
                                         {"--ganadora", "1X21X21X21X21XA"},
                                         {},
                                         {"--ganadora", kGanadora, "--premios", "1,2,3,4"},
                                         {"--ganadora", kGanadora, "--premios", "123456789012,0,0,0,0"}})
        EXPECT_TRUE(ErrorDeUso(Escrutar(mas))) << testing::PrintToString(mas);
    EXPECT_EQ(Bytes(p.dir() / "JORNADAS.TBX").find("Jor12"), std::string::npos);
}

}  // namespace
}  // namespace tobal
