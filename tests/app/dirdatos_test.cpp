#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "Soporte.h"
#include "app/DirDatos.h"

namespace tobal {
namespace {

using namespace prueba;

// A program folder holding some of the data files, with their names as
// content, plus one file that is not a data file.
struct Programa {
    CarpetaTemporal raiz;
    fs::path prog = raiz / "prog";
    fs::path trabajo = raiz / "usuario" / "share" / "Tobal31" / "";
    const std::vector<std::string> presentes{"BASES.TBX", "DATOSGEN.TBX", "JORNADAS.TBX", "RED0101.TBX",
                                             "RED0402.TBX"};
    Programa() {
        fs::create_directory(prog);
        for (const auto& n : presentes) EscribeBytes(prog / n, n + "\r\n");
        EscribeBytes(prog / "RED0501.TBX", "otro\r\n");
    }
    // Makes the probe fail for everybody, root included: the probe's name
    // is taken by a folder.
    void ProgramaNoEscribible() { fs::create_directory(prog / "CSCD.WRK"); }
};

TEST(DirDatos, CarpetaDelProgramaEscribible) {
    Programa p;
    Estado st;
    st.DirPrograma = p.prog;
    PreparaDirDatos(st, p.trabajo);
    EXPECT_EQ(st.DirDatos, p.prog);
    EXPECT_FALSE(fs::exists(p.prog / "CSCD.WRK"));
    EXPECT_FALSE(fs::exists(p.trabajo));
}

TEST(DirDatos, CarpetaNoEscribibleSeCopiaUnaVez) {
    Programa p;
    p.ProgramaNoEscribible();
    Estado st;
    st.DirPrograma = p.prog;
    PreparaDirDatos(st, p.trabajo);
    EXPECT_EQ(st.DirDatos, p.trabajo);
    ASSERT_TRUE(fs::is_directory(p.trabajo));
    for (const auto& n : FicherosDatosIniciales()) {
        const bool esta = std::find(p.presentes.begin(), p.presentes.end(), n) != p.presentes.end();
        EXPECT_EQ(fs::exists(p.trabajo / n), esta) << n;
        if (esta) {
            EXPECT_EQ(Bytes(p.trabajo / n), n + "\r\n");
        }
    }
    EXPECT_FALSE(fs::exists(p.trabajo / "RED0501.TBX"));
    EXPECT_FALSE(fs::exists(p.trabajo / "CSCD.WRK"));

    // A later start keeps the user's changes, even with new program files.
    EscribeBytes(p.trabajo / "DATOSGEN.TBX", "cambiado\r\n");
    fs::remove(p.trabajo / "BASES.TBX");
    EscribeBytes(p.prog / "EQUIPOS.TBX", "nuevo\r\n");
    Estado otro;
    otro.DirPrograma = p.prog;
    PreparaDirDatos(otro, p.trabajo);
    EXPECT_EQ(otro.DirDatos, p.trabajo);
    EXPECT_EQ(Bytes(p.trabajo / "DATOSGEN.TBX"), "cambiado\r\n");
    EXPECT_FALSE(fs::exists(p.trabajo / "BASES.TBX"));
    EXPECT_FALSE(fs::exists(p.trabajo / "EQUIPOS.TBX"));

    // Without DATOSGEN.TBX the work folder is filled again, over what it has.
    fs::remove(p.trabajo / "DATOSGEN.TBX");
    EscribeBytes(p.trabajo / "JORNADAS.TBX", "viejo");
    PreparaDirDatos(otro, p.trabajo);
    EXPECT_EQ(Bytes(p.trabajo / "JORNADAS.TBX"), "JORNADAS.TBX\r\n");
    EXPECT_EQ(Bytes(p.trabajo / "EQUIPOS.TBX"), "nuevo\r\n");
    EXPECT_EQ(Bytes(p.trabajo / "DATOSGEN.TBX"), "DATOSGEN.TBX\r\n");
}

TEST(DirDatos, CarpetaDeSoloLectura) {
    if (prueba::EsRoot()) GTEST_SKIP() << "root writes into read-only folders";
    Programa p;
    ::chmod(p.prog.c_str(), 0555);
    Estado st;
    st.DirPrograma = p.prog;
    PreparaDirDatos(st, p.trabajo);
    ::chmod(p.prog.c_str(), 0755);
    EXPECT_EQ(st.DirDatos, p.trabajo);
    EXPECT_EQ(Bytes(p.trabajo / "BASES.TBX"), "BASES.TBX\r\n");
}

TEST(DirDatos, CarpetaQueNoSePuedeCrear) {
    // The program folder lies under a regular file: nothing can be made or
    // copied there, for root too. The work folder is still chosen.
    CarpetaTemporal raiz;
    EscribeBytes(raiz / "fichero", "x");
    Estado st;
    st.DirPrograma = raiz / "fichero" / "prog";
    const fs::path trabajo = raiz / "trabajo" / "";
    PreparaDirDatos(st, trabajo);
    EXPECT_EQ(st.DirDatos, trabajo);
    EXPECT_TRUE(fs::is_directory(trabajo));
    EXPECT_TRUE(fs::is_empty(trabajo));
    EXPECT_EQ(Bytes(raiz / "fichero"), "x");

    // A work folder that cannot be made either: no crash, nothing written.
    Estado otro;
    otro.DirPrograma = st.DirPrograma;
    PreparaDirDatos(otro, raiz / "fichero" / "trabajo" / "");
    EXPECT_EQ(Bytes(raiz / "fichero"), "x");
}

TEST(DirDatos, CarpetaDeTrabajoPorUsuario) {
    CarpetaTemporal c;
    ::setenv("XDG_DATA_HOME", c.ruta().c_str(), 1);
    const fs::path d = DirTrabajo();
    EXPECT_EQ(d, c.ruta() / "Tobal31" / "");
    EXPECT_TRUE(d.filename().empty());  // ends in a separator
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", c.ruta().c_str(), 1);
    EXPECT_EQ(DirTrabajo(), c.ruta() / ".local" / "share" / "Tobal31" / "");
    EXPECT_EQ(FicherosDatosIniciales().size(), 11u);
}

}  // namespace
}  // namespace tobal
