#include <gtest/gtest.h>

#include <QTest>

#include "Entorno.h"
#include "app/Estado.h"
#include "screens/Arranque.h"
#include "platform/BotonImagen.h"
#include "screens/Tb1x2.h"

namespace tobal {
namespace {

using prueba::Entorno;
namespace fs = std::filesystem;

const std::string kDefecto = "1,\"01/09/02\",1,1,0,0,0,0,1,42,\"0.3 \",\"00\",\"00000\",\"Si\"\r\n";

TEST(Arranque, PrimerArranqueEnCarpetaVaciaYEscribible) {
    Entorno en;
    prueba::CarpetaTemporal trabajo;
    auto menu = Main(en.st, en.sv, trabajo.ruta() / "Tobal31");
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(en.st.DirDatos, en.st.DirPrograma);
    ASSERT_EQ(en.e.mensajes.mensajes.size(), 1u);
    EXPECT_NE(en.e.mensajes.mensajes[0].find("DATOSGEN.TBX"), std::string::npos);
    EXPECT_EQ(prueba::Bytes(en.st.DirPrograma / "DATOSGEN.TBX"), kDefecto);
    EXPECT_FALSE(fs::exists(en.st.DirPrograma / "CSCD.WRK"));
    EXPECT_FALSE(fs::exists(trabajo.ruta() / "Tobal31"));
}

// The work folder is filled once from the program folder and then left to
// the user.
void CompruebaCarpetaDeTrabajo(const fs::path& programa, const fs::path& trabajo, bool hayFicheros) {
    {
        Entorno en;
        en.st.DirPrograma = programa;
        auto menu = Main(en.st, en.sv, trabajo);
        EXPECT_EQ(en.st.DirDatos, trabajo);
        EXPECT_TRUE(fs::exists(trabajo / "DATOSGEN.TBX"));
        if (hayFicheros) {
            EXPECT_EQ(prueba::Bytes(trabajo / "EQUIPOS.TBX"), "equipos\r\n");
            EXPECT_FALSE(fs::exists(trabajo / "BASES.TBX"));
            EXPECT_TRUE(en.e.mensajes.mensajes.empty());
        } else {
            EXPECT_EQ(en.e.mensajes.mensajes.size(), 1u);
        }
        en.st.Jornada() = 9;
        QTest::mouseClick(menu->Pic_Salir, Qt::LeftButton);
    }
    const std::string delUsuario = prueba::Bytes(trabajo / "DATOSGEN.TBX");
    EXPECT_EQ(delUsuario.substr(0, 2), "9,");
    prueba::EscribeBytes(trabajo / "EQUIPOS.TBX", "mios\r\n");
    {
        Entorno en;
        en.st.DirPrograma = programa;
        auto menu = Main(en.st, en.sv, trabajo);
        EXPECT_EQ(en.st.Jornada(), 9);
        EXPECT_TRUE(en.e.mensajes.mensajes.empty());
    }
    EXPECT_EQ(prueba::Bytes(trabajo / "DATOSGEN.TBX"), delUsuario);
    EXPECT_EQ(prueba::Bytes(trabajo / "EQUIPOS.TBX"), "mios\r\n");
}

TEST(Arranque, CarpetaDelProgramaDeSoloLectura) {
    prueba::CarpetaTemporal programa, trabajo;
    prueba::EscribeBytes(programa / "DATOSGEN.TBX", "3,\"01/09/02\",1,1,0,0,0,0,1,42,\"0.3 \",\"00\",\"00000\",\"No\"\r\n");
    prueba::EscribeBytes(programa / "EQUIPOS.TBX", "equipos\r\n");
    if (prueba::EsRoot())
        // Root writes into read-only folders; a folder in the probe's place
        // makes the probe fail all the same.
        fs::create_directory(programa / "CSCD.WRK");
    else
        fs::permissions(programa.ruta(), fs::perms::owner_read | fs::perms::owner_exec);
    CompruebaCarpetaDeTrabajo(programa.ruta(), trabajo / "Tobal31", true);
}

TEST(Arranque, CarpetaDelProgramaQueNoSePuedeEscribir) {
    // A folder nobody can create files in, root included.
    prueba::CarpetaTemporal trabajo;
    CompruebaCarpetaDeTrabajo("/proc/self", trabajo / "Tobal31", false);
}

}  // namespace
}  // namespace tobal
