#include <gtest/gtest.h>

#include "Soporte.h"
#include "app/Texto.h"
#include "data/DatosGen.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "reduction/Indice.h"

namespace tobal {
namespace {

using namespace prueba;

TEST(CliIndice, LineasComoLasDelIndice) {
    CarpetaTemporal c;
    EscribeBytes(c / "DATOSGEN.TBX", std::string(kLineaDatosGenDefecto) + "\r\n");
    std::array<std::string, 30> eq;
    const std::string reg7 = RegistroEditor(RegistroJornadaVacio(), 7, "15/03/03", eq);
    EscribeBytes(c / "JORNADAS.TBX", std::string(6 * 533, ' ') + reg7);
    Reduccion a, b;
    a.Jornada = 7, a.Orden = 12, a.Metodo = 2, a.MinErrores = 3, a.MaxErrores = 11, a.ApuestasDirectas = 4782969;
    b.Jornada = 12, b.Orden = 1, b.Metodo = 3, b.Signos = {0, 5, 4, 5}, b.ApuestasReducidas = 45;
    EscribeBytes(c / "BASES.TBX", RegistroBase(a) + "\r\n" + RegistroLibre() + "\r\n" + RegistroBase(b) + "\r\n");

    const auto r = EjecutaCli({"--datos", c.ruta().string(), "indice"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_TRUE(r.errores.empty()) << r.errores;
    const std::string esperado = Cp1252AUtf8(std::string(kCabeceraIndice1) + "\n" + kCabeceraIndice2 + "\n" +
                                             LineaIndice(RegistroBase(a), reg7) + "\n" +
                                             LineaIndice(RegistroBase(b), RegistroJornadaVacio()) + "\n");
    EXPECT_EQ(r.salida, esperado);
    EXPECT_NE(r.salida.find("15/03/03  12  Columna Probable"), std::string::npos);
    EXPECT_NE(r.salida.find("Selección de Signos"), std::string::npos);
}

TEST(CliIndice, SinFicheroOConFicheroIlegible) {
    CarpetaTemporal c;
    EscribeBytes(c / "DATOSGEN.TBX", std::string(kLineaDatosGenDefecto) + "\r\n");
    auto r = EjecutaCli({"--datos", c.ruta().string(), "indice"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(r.salida, Cp1252AUtf8(std::string(kCabeceraIndice1) + "\n" + kCabeceraIndice2 + "\n"));
    std::filesystem::create_directory(c / "BASES.TBX");
    r = EjecutaCli({"--datos", c.ruta().string(), "indice"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("EEB ERROR "), std::string::npos) << r.errores;
}

}  // namespace
}  // namespace tobal
