#include <gtest/gtest.h>

#include "Soporte.h"

namespace tobal {
namespace {

using namespace prueba;

TEST(CliEquipos, ListaEnUtf8) {
    CarpetaTemporal c;
    EscribeDatosGenDefecto(c.ruta());
    EscribeBytes(c / "EQUIPOS.TBX", "Betis\r\nM\xE1laga\r\n\"Real Madrid\"\r\n");
    auto r = EjecutaCliEn(c.ruta(), {"equipos"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(r.salida, "Betis\nMálaga\nReal Madrid\n");
    EXPECT_TRUE(r.errores.empty());

    // Missing: the program's message, an empty list, nothing created.
    fs::remove(c / "EQUIPOS.TBX");
    r = EjecutaCliEn(c.ruta(), {"equipos"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(r.salida, "");
    EXPECT_NE(r.errores.find("No se encuentra el fichero de equipos EQUIPOS.TBX."), std::string::npos);
    EXPECT_FALSE(fs::exists(c / "EQUIPOS.TBX"));

    fs::create_directory(c / "EQUIPOS.TBX");
    r = EjecutaCliEn(c.ruta(), {"equipos"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("CLE ERROR "), std::string::npos) << r.errores;
}

}  // namespace
}  // namespace tobal
