#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/DatosGen.h"

namespace tobal {
namespace {

using prueba::EjecutaCli;

// A usage error: exit 2 and one line on stderr naming the tool.
void EsErrorDeUso(const prueba::ResultadoCli& r) {
    EXPECT_EQ(r.codigo, 2);
    EXPECT_EQ(r.errores.rfind("tobal31-cli", 0), 0u) << r.errores;
    EXPECT_EQ(std::count(r.errores.begin(), r.errores.end(), '\n'), 1) << r.errores;
    EXPECT_TRUE(r.salida.empty());
}

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

TEST(CliGeneral, ErroresDeUso) {
    prueba::CarpetaTemporal c;
    prueba::EscribeBytes(c / "DATOSGEN.TBX", std::string(kLineaDatosGenDefecto) + "\r\n");
    EsErrorDeUso(EjecutaCli({}));
    EsErrorDeUso(EjecutaCli({"noexiste"}));
    EsErrorDeUso(EjecutaCli({"--datos"}));
    EsErrorDeUso(EjecutaCli({"--datos", (c / "nohay").string(), "indice"}));
    EsErrorDeUso(EjecutaCli({"--datos", c.ruta().string(), "indice", "sobra"}));
    EsErrorDeUso(EjecutaCli({"--datos", c.ruta().string(), "equipos", "--jornada", "3"}));
}

TEST(CliGeneral, ErrorDeUsoEnCarpetaSinDatosGenerales) {
    // Arguments are checked before anything is read or created.
    prueba::CarpetaTemporal c;
    EsErrorDeUso(EjecutaCli({"--datos", c.ruta().string(), "indice", "sobra"}));
    EXPECT_TRUE(std::filesystem::is_empty(c.ruta()));
}

}  // namespace
}  // namespace tobal
