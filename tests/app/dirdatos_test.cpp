#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "Soporte.h"
#include "app/DirDatos.h"

namespace tobal {
namespace {

using namespace prueba;

// A program folder holding five of the data files (their names as content)
// and one file that is not a data file.
struct Programa {
    CarpetaTemporal raiz;
    fs::path prog = raiz / "prog", trabajo = raiz / "usuario" / "Tobal31" / "";
    const std::vector<std::string> presentes{"BASES.TBX", "DATOSGEN.TBX", "JORNADAS.TBX", "RED0101.TBX",
                                             "RED0402.TBX"};
    Programa() {
        fs::create_directory(prog);
        for (const auto& n : presentes) EscribeBytes(prog / n, n);
        EscribeBytes(prog / "RED0501.TBX", "otro");
    }
    fs::path Prepara() {
        Estado st;
        st.DirPrograma = prog;
        PreparaDirDatos(st, trabajo);
        return st.DirDatos;
    }
};

TEST(DirDatos, CarpetaDelProgramaEscribible) {
    Programa p;
    EXPECT_EQ(p.Prepara(), p.prog);
    EXPECT_FALSE(fs::exists(p.prog / "CSCD.WRK"));
    EXPECT_FALSE(fs::exists(p.trabajo));
}

TEST(DirDatos, CarpetaNoEscribibleSeCopiaUnaVez) {
    Programa p;
    fs::create_directory(p.prog / "CSCD.WRK");  // the probe fails, for root too
    EXPECT_EQ(p.Prepara(), p.trabajo);
    for (const auto& n : p.presentes) EXPECT_EQ(Bytes(p.trabajo / n), n) << n;
    EXPECT_EQ(std::distance(fs::directory_iterator(p.trabajo), fs::directory_iterator()), 5);  // not RED0501.TBX

    // A later start keeps the user's changes, even with new program files.
    EscribeBytes(p.trabajo / "DATOSGEN.TBX", "cambiado");
    fs::remove(p.trabajo / "BASES.TBX");
    EscribeBytes(p.prog / "EQUIPOS.TBX", "nuevo");
    EXPECT_EQ(p.Prepara(), p.trabajo);
    EXPECT_EQ(Bytes(p.trabajo / "DATOSGEN.TBX"), "cambiado");
    EXPECT_FALSE(fs::exists(p.trabajo / "BASES.TBX"));
    EXPECT_FALSE(fs::exists(p.trabajo / "EQUIPOS.TBX"));

    // Without DATOSGEN.TBX the work folder is filled again, over what it has.
    fs::remove(p.trabajo / "DATOSGEN.TBX");
    EscribeBytes(p.trabajo / "JORNADAS.TBX", "viejo");
    p.Prepara();
    EXPECT_EQ(Bytes(p.trabajo / "JORNADAS.TBX"), "JORNADAS.TBX");
    EXPECT_EQ(Bytes(p.trabajo / "EQUIPOS.TBX"), "nuevo");
}

TEST(DirDatos, CarpetaDeSoloLectura) {
    if (EsRoot()) GTEST_SKIP() << "root writes into read-only folders";
    Programa p;
    ::chmod(p.prog.c_str(), 0555);
    const fs::path d = p.Prepara();
    ::chmod(p.prog.c_str(), 0755);
    EXPECT_EQ(d, p.trabajo);
    EXPECT_EQ(Bytes(p.trabajo / "BASES.TBX"), "BASES.TBX");
}

TEST(DirDatos, CarpetasQueNoSePuedenCrear) {
    // The program folder lies under a regular file: the work folder is made
    // and stays empty. A work folder under a regular file: no crash either.
    Programa p;
    EscribeBytes(p.raiz / "fichero", "x");
    p.prog = p.raiz / "fichero" / "prog";
    EXPECT_EQ(p.Prepara(), p.trabajo);
    EXPECT_TRUE(fs::is_directory(p.trabajo) && fs::is_empty(p.trabajo));
    p.trabajo = p.raiz / "fichero" / "trabajo" / "";
    EXPECT_EQ(p.Prepara(), p.trabajo);
    EXPECT_EQ(Bytes(p.raiz / "fichero"), "x");
}

TEST(DirDatos, CarpetaDeTrabajoPorUsuario) {
    CarpetaTemporal c;
    ::setenv("XDG_DATA_HOME", c.ruta().c_str(), 1);
    EXPECT_EQ(DirTrabajo(), c.ruta() / "Tobal31" / "");  // ends in a separator
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", c.ruta().c_str(), 1);
    EXPECT_EQ(DirTrabajo(), c.ruta() / ".local" / "share" / "Tobal31" / "");
}

}  // namespace
}  // namespace tobal
