#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/DatosGen.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"

namespace tobal {
namespace {

using namespace prueba;

TEST(CliBorrar, BorraElIntervaloSinPreguntar) {
    CarpetaTemporal c;
    EscribeBytes(c / "DATOSGEN.TBX", std::string(kLineaDatosGenDefecto) + "\r\n");
    std::array<std::string, 30> eq;
    std::string jornadas;
    for (int j = 1; j <= 4; ++j) jornadas += RegistroEditor("", j, "01/01/03", eq);
    Reduccion r;
    r.Jornada = 3;
    const std::string bases = RegistroBase(r) + "\r\n";
    EscribeBytes(c / "JORNADAS.TBX", jornadas);
    EscribeBytes(c / "BASES.TBX", bases);
    for (const char* n : {"RED0301.TBX", "RED3001.TBX"}) EscribeBytes(c / n, n);

    for (const auto& u : std::vector<std::vector<std::string>>{
             {"--desde", "5", "--hasta", "3"}, {"--desde", "0", "--hasta", "3"}, {"--desde", "3"}, {"--hasta", "x"}}) {
        std::vector<std::string> args{"--datos", c.ruta().string(), "borrar"};
        args.insert(args.end(), u.begin(), u.end());
        const auto res = EjecutaCli(args);
        EXPECT_EQ(res.codigo, 2) << testing::PrintToString(u);
        EXPECT_EQ(std::count(res.errores.begin(), res.errores.end(), '\n'), 1) << res.errores;
    }
    EXPECT_EQ(Bytes(c / "BASES.TBX"), bases);
    EXPECT_EQ(Bytes(c / "JORNADAS.TBX"), jornadas);

    const auto res = EjecutaCli({"--datos", c.ruta().string(), "borrar", "--desde", "3", "--hasta", "3"});
    EXPECT_EQ(res.codigo, 0);
    EXPECT_TRUE(res.errores.empty()) << res.errores;
    EXPECT_EQ(Bytes(c / "JORNADAS.TBX"), jornadas.replace(2 * 533, 533, std::string(533, ' ')));
    EXPECT_EQ(Bytes(c / "BASES.TBX"), RegistroLibre() + "\r\n");
    EXPECT_FALSE(std::filesystem::exists(c / "RED0301.TBX"));
    EXPECT_EQ(Bytes(c / "RED3001.TBX"), "RED3001.TBX");
}

}  // namespace
}  // namespace tobal
