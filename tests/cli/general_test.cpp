#include <gtest/gtest.h>

#include "Soporte.h"

namespace tobal {
namespace {

using namespace prueba;

TEST(CliGeneral, AyudaDeLaHerramientaYDeCadaOrden) {
    const auto ayuda = EjecutaCli({"--help"});
    EXPECT_EQ(ayuda.codigo, 0);
    for (const char* orden : {"indice", "jornada", "equipos", "borrar"}) {
        EXPECT_NE(ayuda.salida.find(std::string("  ") + orden + " "), std::string::npos) << orden;
        const auto r = EjecutaCli({orden, "--help"});
        EXPECT_EQ(r.codigo, 0) << orden;
        EXPECT_EQ(r.salida.rfind("Uso: tobal31-cli", 0), 0u) << orden;
        EXPECT_TRUE(r.errores.empty());
    }
}

// Arguments are checked before anything is read or created.
TEST(CliGeneral, ErroresDeUso) {
    CarpetaTemporal c;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"noexiste"},
             {"--datos"},
             {"--datos", (c / "nohay").string(), "indice"},
             {"--datos", c.ruta().string(), "indice", "sobra"},
             {"--datos", c.ruta().string(), "equipos", "--jornada", "3"}})
        EXPECT_TRUE(ErrorDeUso(EjecutaCli(args))) << testing::PrintToString(args);
    EXPECT_TRUE(fs::is_empty(c.ruta()));
}

}  // namespace
}  // namespace tobal
