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

// A usage error: exit 2 and one line on stderr naming the tool, and the
// arguments are checked before anything is read or created.
TEST(CliGeneral, ErroresDeUso) {
    CarpetaTemporal c;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"noexiste"},
             {"--datos"},
             {"--datos", (c / "nohay").string(), "indice"},
             {"--datos", c.ruta().string(), "indice", "sobra"},
             {"--datos", c.ruta().string(), "equipos", "--jornada", "3"}}) {
        const auto r = EjecutaCli(args);
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_EQ(r.codigo, 2);
        EXPECT_EQ(r.errores.rfind("tobal31-cli", 0), 0u) << r.errores;
        EXPECT_EQ(std::count(r.errores.begin(), r.errores.end(), '\n'), 1) << r.errores;
        EXPECT_TRUE(r.salida.empty());
    }
    EXPECT_TRUE(fs::is_empty(c.ruta()));
}

}  // namespace
}  // namespace tobal
