#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"

namespace tobal {
namespace {

using namespace prueba;

TEST(CliBorrar, BorraElIntervaloSinPreguntar) {
    CarpetaTemporal c;
    EscribeDatosGenDefecto(c.ruta());
    std::string jornadas;
    for (int j = 1; j <= 4; ++j) jornadas += RegistroEditor("", j, "01/01/03", {});
    Reduccion r;
    r.Jornada = 3;
    const std::string bases = RegistroBase(r) + "\r\n";
    EscribeBytes(c / "JORNADAS.TBX", jornadas);
    EscribeBytes(c / "BASES.TBX", bases);
    EscribeBytes(c / "RED0301.TBX", "x");

    for (const auto& u : std::vector<std::vector<std::string>>{
             {"--desde", "5", "--hasta", "3"}, {"--desde", "0", "--hasta", "3"}, {"--desde", "3"}, {"--hasta", "x"}})
        EXPECT_TRUE(ErrorDeUso(EjecutaCliEn(c.ruta(), {"borrar"}, u))) << testing::PrintToString(u);
    EXPECT_EQ(Bytes(c / "BASES.TBX"), bases);
    EXPECT_EQ(Bytes(c / "JORNADAS.TBX"), jornadas);

    const auto res = EjecutaCliEn(c.ruta(), {"borrar", "--desde", "3", "--hasta", "3"});
    EXPECT_EQ(res.codigo, 0);
    EXPECT_TRUE(res.errores.empty()) << res.errores;
    EXPECT_EQ(Bytes(c / "JORNADAS.TBX"), jornadas.replace(2 * 533, 533, std::string(533, ' ')));
    EXPECT_EQ(Bytes(c / "BASES.TBX"), RegistroLibre() + "\r\n");
    EXPECT_FALSE(fs::exists(c / "RED0301.TBX"));
}

}  // namespace
}  // namespace tobal
