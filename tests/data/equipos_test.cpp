#include <gtest/gtest.h>

#include <sys/stat.h>

#include "Soporte.h"
#include "app/ErrorFichero.h"
#include "data/Equipos.h"

namespace tobal {
namespace {

using namespace prueba;
using Lista = std::vector<std::string>;

TEST(Equipos, GrabaYLee) {
    EXPECT_EQ(ItemsEquipos("Betis\r\n  \"Real Madrid\"\r\nAlaves,Eibar\r\n\"Uno, Dos\"\nOsasuna"),
              (Lista{"Betis", "Real Madrid", "Alaves", "Eibar", "Uno, Dos", "Osasuna"}));
    EXPECT_TRUE(ItemsEquipos("").empty());

    EstadoPrueba e;
    ASSERT_EQ(GrabaEquipos(e.st, {"  Betis ", "M\xE1laga", "Real Madrid"}), 0);
    EXPECT_EQ(Bytes(e.dir() / "EQUIPOS.TBX"), "Betis\r\nM\xE1laga\r\nReal Madrid\r\n");
    Lista l;
    LeeEquipos(e.st, l, Op::CLE);
    EXPECT_EQ(l, (Lista{"Betis", "M\xE1laga", "Real Madrid"}));
    ASSERT_EQ(GrabaEquipos(e.st, {}), 0);
    EXPECT_EQ(Bytes(e.dir() / "EQUIPOS.TBX"), "");
    EXPECT_TRUE(e.mensajes.mensajes.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(e.dir()), fs::directory_iterator()), 1);
}

TEST(Equipos, FicheroQueFaltaOEsCarpeta) {
    EstadoPrueba e;
    Lista l;
    LeeEquipos(e.st, l, Op::CLE);  // the matchday editor's reading: not created
    EXPECT_EQ(e.mensajes.mensajes, Lista{"No se encuentra el fichero de equipos EQUIPOS.TBX."});
    EXPECT_EQ(e.st.ErrorFichero, 53);
    EXPECT_FALSE(fs::exists(e.dir() / "EQUIPOS.TBX"));
    e.mensajes.mensajes.clear();
    CargaLisEquipos(e.st, l);  // the team screen's: created empty
    EXPECT_EQ(e.mensajes.mensajes, Lista{TextoErrorFichero(Op::CLECrea, 53)});
    EXPECT_TRUE(l.empty());
    EXPECT_TRUE(fs::is_regular_file(e.dir() / "EQUIPOS.TBX"));
    EXPECT_EQ(Bytes(e.dir() / "EQUIPOS.TBX"), "");

    EstadoPrueba c;
    fs::create_directory(c.dir() / "EQUIPOS.TBX");
    CargaLisEquipos(c.st, l);
    ASSERT_EQ(c.mensajes.mensajes.size(), 1u);
    EXPECT_EQ(c.mensajes.mensajes[0].rfind("CLE ERROR ", 0), 0u) << c.mensajes.mensajes[0];
    EXPECT_TRUE(l.empty());
    EXPECT_NE(GrabaEquipos(c.st, {"Betis"}), 0);
    EXPECT_TRUE(fs::is_directory(c.dir() / "EQUIPOS.TBX"));
}

TEST(Equipos, NoSePuedeGrabar) {
    EstadoPrueba e;
    EscribeBytes(e.dir() / "fichero", "x");
    e.st.DirDatos = e.dir() / "fichero";  // a folder that is a regular file
    EXPECT_NE(GrabaEquipos(e.st, {"Betis"}), 0);
    EXPECT_EQ(Bytes(e.dir() / "fichero"), "x");

    if (EsRoot()) GTEST_SKIP() << "root writes into read-only folders";
    e.st.DirDatos = e.dir();
    EscribeBytes(e.dir() / "EQUIPOS.TBX", "Betis\r\n");
    ::chmod(e.dir().c_str(), 0555);
    const int r = GrabaEquipos(e.st, {"Eibar"});
    ::chmod(e.dir().c_str(), 0755);
    EXPECT_NE(r, 0);
    EXPECT_EQ(Bytes(e.dir() / "EQUIPOS.TBX"), "Betis\r\n");
}

}  // namespace
}  // namespace tobal
