// Deletion of everything stored for a range of matchdays: their records,
// their reductions in the store and their columns files.

#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "reduction/Borrado.h"

namespace tobal {
namespace {

using namespace prueba;
using Lista = std::vector<std::string>;

const auto Registro = RegistroJornadaPrueba;

TEST(Borrado, TextoDeConfirmacion) {
    const std::string inicio = "Se  va  a  proceder  a  la  eliminación  de  todos  los  datos";
    const std::string fin = " .  Si  desea  continuar  con  el  proceso,  pulse Borrar. Si desea cancelar el proceso, pulse Salir.";
    EXPECT_EQ(TextoConfirmacionBorrado(5, 5), inicio + " de la Jornada  5" + fin);
    EXPECT_EQ(TextoConfirmacionBorrado(3, 12), inicio + "  desde la  jornada   3  hasta  la  jornada 12  " + fin);
}

// Matchdays 1 to 5, reductions of matchdays 3 (one of them twice), 4, 13
// and 30, and columns files.
struct Carpeta : EstadoPrueba {
    std::string jornadas, bases;
    const Lista quedan{"RED0401.TBX", "RED3001.TBX", "RED3003.TBX", "RED1303.TBX", "EQUIPOS.TBX"};
    const Lista van{"RED0301.TBX", "RED0302.TBX", "RED0330.TBX", "RED0399.TBX"};
    Carpeta() {
        for (int j = 1; j <= 5; ++j) jornadas += Registro(j, "01/01/03");
        for (auto [j, o] : {std::pair{3, 1}, {4, 1}, {30, 1}, {3, 2}, {3, 30}, {30, 3}, {3, 1}, {13, 3}}) {
            Reduccion r;
            r.Jornada = static_cast<int16_t>(j), r.Orden = static_cast<int16_t>(o);
            bases += RegistroBase(r) + "\r\n";
        }
        EscribeBytes(dir() / "JORNADAS.TBX", jornadas);
        EscribeBytes(dir() / "BASES.TBX", bases);
        for (const auto& n : quedan) EscribeBytes(dir() / n, n);
        for (const auto& n : van) EscribeBytes(dir() / n, n);
    }
};

TEST(Borrado, UnaJornadaSinTocarLasDemas) {
    Carpeta c;
    EXPECT_EQ(BorraJornadas(c.st, 3, 3), 4);
    EXPECT_EQ(Bytes(c.dir() / "JORNADAS.TBX"), c.jornadas.replace(2 * 533, 533, std::string(533, ' ')));
    for (int n : {0, 3, 4, 6}) c.bases.replace(n * 132, 130, RegistroLibre());  // every record of 3, in place
    EXPECT_EQ(Bytes(c.dir() / "BASES.TBX"), c.bases);
    for (const auto& n : c.van) EXPECT_FALSE(fs::exists(c.dir() / n)) << n;
    for (const auto& n : c.quedan) EXPECT_EQ(Bytes(c.dir() / n), n) << n;
    EXPECT_TRUE(c.mensajes.mensajes.empty());
    BorraJornadas(c.st, 1, 52);  // then all of them
    EXPECT_EQ(Bytes(c.dir() / "JORNADAS.TBX").substr(0, 5 * 533), std::string(5 * 533, ' '));
    for (int n : {1, 2, 5, 7}) c.bases.replace(n * 132, 130, RegistroLibre());
    EXPECT_EQ(Bytes(c.dir() / "BASES.TBX"), c.bases);
}

TEST(Borrado, SinFicherosOConFicherosQueSonCarpetas) {
    EstadoPrueba e;
    EXPECT_EQ(BorraJornadas(e.st, 1, 52), 0);  // nothing there: no crash
    EXPECT_LE(e.mensajes.mensajes.size(), 1u);  // never one message per order
    // The matchday file and a columns file are folders: those steps are
    // skipped, the others run.
    Carpeta c;
    fs::remove(c.dir() / "JORNADAS.TBX");
    fs::create_directory(c.dir() / "JORNADAS.TBX");
    fs::create_directory(c.dir() / "RED0303.TBX");
    BorraJornadas(c.st, 3, 3);
    EXPECT_TRUE(fs::is_directory(c.dir() / "JORNADAS.TBX"));
    EXPECT_FALSE(ExisteReduccion(c.st, 3, 2) || fs::exists(c.dir() / "RED0301.TBX"));
    EXPECT_EQ(Bytes(c.dir() / "RED0401.TBX"), "RED0401.TBX");
}

}  // namespace
}  // namespace tobal
