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
    std::string jornadas, bases;
    std::array<std::string, 30> eq;
    eq.fill("Betis");
    for (int j = 1; j <= 5; ++j) jornadas += RegistroEditor("", j, "01/01/03", eq);
    for (auto [j, o] : {std::pair{3, 1}, {30, 1}, {4, 2}}) {
        Reduccion r;
        r.Jornada = static_cast<int16_t>(j), r.Orden = static_cast<int16_t>(o);
        bases += RegistroBase(r) + "\r\n";
    }
    EscribeBytes(c / "JORNADAS.TBX", jornadas);
    EscribeBytes(c / "BASES.TBX", bases);
    for (const char* n : {"RED0301.TBX", "RED0302.TBX", "RED3001.TBX", "RED0402.TBX"}) EscribeBytes(c / n, n);

    const std::vector<std::vector<std::string>> usos = {
        {"--desde", "5", "--hasta", "3"}, {"--desde", "0", "--hasta", "3"}, {"--desde", "3"}, {"--desde", "x", "--hasta", "3"}};
    for (const auto& u : usos) {
        std::vector<std::string> args{"--datos", c.ruta().string(), "borrar"};
        args.insert(args.end(), u.begin(), u.end());
        const auto r = EjecutaCli(args);
        EXPECT_EQ(r.codigo, 2) << testing::PrintToString(u);
        EXPECT_EQ(std::count(r.errores.begin(), r.errores.end(), '\n'), 1) << r.errores;
    }
    EXPECT_EQ(Bytes(c / "BASES.TBX"), bases);
    EXPECT_TRUE(std::filesystem::exists(c / "RED0301.TBX"));

    const auto r = EjecutaCli({"--datos", c.ruta().string(), "borrar", "--desde", "3", "--hasta", "3"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_TRUE(r.errores.empty()) << r.errores;
    const std::string j = Bytes(c / "JORNADAS.TBX");
    EXPECT_EQ(j, jornadas.substr(0, 2 * 533) + std::string(533, ' ') + jornadas.substr(3 * 533));
    EXPECT_EQ(Bytes(c / "BASES.TBX"), RegistroLibre() + bases.substr(130));
    EXPECT_FALSE(std::filesystem::exists(c / "RED0301.TBX"));
    EXPECT_FALSE(std::filesystem::exists(c / "RED0302.TBX"));
    EXPECT_EQ(Bytes(c / "RED3001.TBX"), "RED3001.TBX");
    EXPECT_EQ(Bytes(c / "RED0402.TBX"), "RED0402.TBX");
}

}  // namespace
}  // namespace tobal
