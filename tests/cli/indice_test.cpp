#include <gtest/gtest.h>

#include "Soporte.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "reduction/Indice.h"

namespace tobal {
namespace {

using namespace prueba;

TEST(CliIndice, LineasComoLasDelIndice) {
    CarpetaTemporal c;
    EscribeDatosGenDefecto(c.ruta());
    const std::string reg7 = RegistroEditor(RegistroJornadaVacio(), 7, "15/03/03", {});
    EscribeBytes(c / "JORNADAS.TBX", std::string(6 * 533, ' ') + reg7);
    Reduccion a, b;
    a.Jornada = 7, a.Orden = 12, a.Metodo = 2, a.MinErrores = 3, a.MaxErrores = 11, a.ApuestasDirectas = 4782969;
    b.Jornada = 12, b.Orden = 1, b.Metodo = 3, b.Signos = {0, 5, 4, 5}, b.ApuestasReducidas = 45;
    EscribeBytes(c / "BASES.TBX", RegistroBase(a) + "\r\n" + RegistroLibre() + "\r\n" + RegistroBase(b) + "\r\n");

    auto r = EjecutaCliEn(c.ruta(), {"indice"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_TRUE(r.errores.empty()) << r.errores;
    const std::string cabecera =
        "                                       Errores     Signos     Apuestas   Apuestas\n"
        "Jor  Fecha   Ord  Método de reducción  Min Max   1   X   2    Directas   Reducidas\n";
    EXPECT_EQ(r.salida, cabecera + Cp1252AUtf8(LineaIndice(RegistroBase(a), reg7) + "\n" +
                                               LineaIndice(RegistroBase(b), RegistroJornadaVacio()) + "\n"));

    // Without BASES.TBX the headers alone; a folder in its place is refused.
    fs::remove(c / "BASES.TBX");
    r = EjecutaCliEn(c.ruta(), {"indice"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(r.salida, cabecera);
    fs::create_directory(c / "BASES.TBX");
    r = EjecutaCliEn(c.ruta(), {"indice"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("EEB ERROR "), std::string::npos) << r.errores;
}

}  // namespace
}  // namespace tobal
