#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/Borrado.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"

namespace tobal {
namespace {

using namespace prueba;

std::string Linea(int j, int o) {
    Reduccion r;
    r.Jornada = static_cast<int16_t>(j);
    r.Orden = static_cast<int16_t>(o);
    return RegistroBase(r) + "\r\n";
}

TEST(Borrado, TextoDeConfirmacion) {
    EXPECT_EQ(TextoConfirmacionBorrado(5, 5),
              "Se  va  a  proceder  a  la  eliminación  de  todos  los  datos de la Jornada  5 .  Si  desea  "
              "continuar  con  el  proceso,  pulse Borrar. Si desea cancelar el proceso, pulse Salir.");
    EXPECT_EQ(TextoConfirmacionBorrado(3, 12),
              "Se  va  a  proceder  a  la  eliminación  de  todos  los  datos  desde la  jornada   3  hasta  "
              "la  jornada 12   .  Si  desea  continuar  con  el  proceso,  pulse Borrar. Si desea cancelar "
              "el proceso, pulse Salir.");
    EXPECT_STREQ(kTituloBorrado, "BORRADO DE DATOS");
}

// Matchdays 1 to 5, reductions of matchdays 3, 4 and 30 (one of them
// twice), and their columns files.
struct Carpeta {
    EstadoPrueba e;
    std::string jornadas, bases;
    const std::vector<std::string> quedan{"RED0401.TBX", "RED3001.TBX", "RED3003.TBX", "RED1303.TBX",
                                          "EQUIPOS.TBX"};
    const std::vector<std::string> van{"RED0301.TBX", "RED0302.TBX", "RED0330.TBX", "RED0399.TBX"};
    Carpeta() {
        std::array<std::string, 30> eq;
        eq.fill("Betis");
        for (int j = 1; j <= 5; ++j) jornadas += RegistroEditor(RegistroJornadaVacio(), j, "01/01/03", eq);
        for (auto [j, o] : {std::pair{3, 1}, {4, 1}, {30, 1}, {3, 2}, {3, 30}, {30, 3}, {3, 1}, {13, 3}})
            bases += Linea(j, o);
        EscribeBytes(e.dir() / "JORNADAS.TBX", jornadas);
        EscribeBytes(e.dir() / "BASES.TBX", bases);
        for (const auto& n : quedan) EscribeBytes(e.dir() / n, n);
        for (const auto& n : van) EscribeBytes(e.dir() / n, n);
    }
};

TEST(Borrado, UnaJornadaSinTocarLasDemas) {
    Carpeta c;
    EXPECT_EQ(BorraJornadas(c.e.st, 3, 3), 4);
    const std::string j = Bytes(c.e.dir() / "JORNADAS.TBX");
    ASSERT_EQ(j.size(), c.jornadas.size());
    EXPECT_EQ(j.substr(0, 2 * 533), c.jornadas.substr(0, 2 * 533));
    EXPECT_EQ(j.substr(2 * 533, 533), std::string(533, ' '));
    EXPECT_EQ(j.substr(3 * 533), c.jornadas.substr(3 * 533));

    // Every record of matchday 3 freed in place, the rest as it was.
    std::string esperado = c.bases;
    for (int n : {0, 3, 4, 6}) esperado.replace(n * 132, 130, RegistroLibre());
    EXPECT_EQ(Bytes(c.e.dir() / "BASES.TBX"), esperado);

    for (const auto& n : c.van) EXPECT_FALSE(fs::exists(c.e.dir() / n)) << n;
    for (const auto& n : c.quedan) EXPECT_EQ(Bytes(c.e.dir() / n), n) << n;
    EXPECT_TRUE(c.e.mensajes.mensajes.empty());
    EXPECT_FALSE(ExisteReduccion(c.e.st, 3, 1));
    EXPECT_TRUE(ExisteReduccion(c.e.st, 30, 3));
}

TEST(Borrado, TodasLasJornadas) {
    Carpeta c;
    BorraJornadas(c.e.st, 1, 52);
    const std::string j = Bytes(c.e.dir() / "JORNADAS.TBX");
    EXPECT_EQ(j.size() % 533, 0u);
    EXPECT_EQ(j.substr(0, 5 * 533), std::string(5 * 533, ' '));
    const std::string b = Bytes(c.e.dir() / "BASES.TBX");
    ASSERT_EQ(b.size(), c.bases.size());
    for (size_t n = 0; n < b.size() / 132; ++n) {
        EXPECT_EQ(b.substr(n * 132, 130), RegistroLibre()) << n;
        EXPECT_EQ(b.substr(n * 132 + 130, 2), "\r\n");
    }
    EXPECT_EQ(Bytes(c.e.dir() / "EQUIPOS.TBX"), "EQUIPOS.TBX");
    for (const auto& n : c.van) EXPECT_FALSE(fs::exists(c.e.dir() / n)) << n;
}

TEST(Borrado, SinFicherosOConFicherosQueSonCarpetas) {
    EstadoPrueba e;
    EXPECT_EQ(BorraJornadas(e.st, 1, 52), 0);  // nothing to delete: no crash
    EXPECT_LE(e.mensajes.mensajes.size(), 1u);  // never one message per order

    // The matchday file is a folder: that step is skipped, the others run.
    Carpeta c;
    fs::remove(c.e.dir() / "JORNADAS.TBX");
    fs::create_directory(c.e.dir() / "JORNADAS.TBX");
    fs::create_directory(c.e.dir() / "RED0303.TBX");
    BorraJornadas(c.e.st, 3, 3);
    EXPECT_TRUE(fs::is_directory(c.e.dir() / "JORNADAS.TBX"));
    EXPECT_FALSE(ExisteReduccion(c.e.st, 3, 2));
    EXPECT_FALSE(fs::exists(c.e.dir() / "RED0301.TBX"));
    EXPECT_EQ(Bytes(c.e.dir() / "RED0401.TBX"), "RED0401.TBX");
}

}  // namespace
}  // namespace tobal
