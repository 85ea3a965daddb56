#include <gtest/gtest.h>

#include <sys/stat.h>

#include "Soporte.h"
#include "app/Archivo.h"

namespace tobal {
namespace {

using namespace prueba;

// No file but the expected ones is left in the folder.
std::vector<std::string> Nombres(const fs::path& dir) {
    std::vector<std::string> r;
    for (const auto& e : fs::directory_iterator(dir)) r.push_back(e.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
}

TEST(Archivo, EscrituraAtomicaReemplazaSinDejarRestos) {
    CarpetaTemporal c;
    const fs::path f = c / "DATOSGEN.TBX";
    ASSERT_EQ(EscribeFicheroAtomico(f, "uno\r\n"), 0);
    ASSERT_EQ(EscribeFicheroAtomico(f, std::string("dos\0\xE1\r\n", 7)), 0);
    EXPECT_EQ(Bytes(f), std::string("dos\0\xE1\r\n", 7));
    EXPECT_EQ(Nombres(c.ruta()), std::vector<std::string>{"DATOSGEN.TBX"});

    // Onto a folder, or into a missing folder: an error, nothing changed.
    fs::create_directory(c / "EQUIPOS.TBX");
    EXPECT_NE(EscribeFicheroAtomico(c / "EQUIPOS.TBX", "x"), 0);
    EXPECT_TRUE(fs::is_directory(c / "EQUIPOS.TBX"));
    EXPECT_EQ(EscribeFicheroAtomico(c / "nohay" / "X.TBX", "x"), 76);
    EXPECT_EQ(Nombres(c.ruta()), (std::vector<std::string>{"DATOSGEN.TBX", "EQUIPOS.TBX"}));
}

TEST(Archivo, EscrituraAtomicaEnCarpetaDeSoloLectura) {
    if (prueba::EsRoot()) GTEST_SKIP() << "root writes into read-only folders";
    CarpetaTemporal c;
    const fs::path f = c / "EQUIPOS.TBX";
    EscribeBytes(f, "Betis\r\n");
    ::chmod(c.ruta().c_str(), 0555);
    EXPECT_NE(EscribeFicheroAtomico(f, "nada\r\n"), 0);
    EXPECT_NE(AnexaFichero(c / "BASES.TBX", "x"), 0);
    ::chmod(c.ruta().c_str(), 0755);
    EXPECT_EQ(Bytes(f), "Betis\r\n");
    EXPECT_EQ(Nombres(c.ruta()), std::vector<std::string>{"EQUIPOS.TBX"});
}

TEST(Archivo, PosicionAnexoBorradoYTamano) {
    CarpetaTemporal c;
    const fs::path f = c / "BASES.TBX";
    ASSERT_EQ(AnexaFichero(f, "aaaa\r\n"), 0);  // creates
    ASSERT_EQ(AnexaFichero(f, "bbbb\r\n"), 0);
    ASSERT_EQ(EscribeEnPosicion(f, 6, "cc"), 0);  // in place, the rest stays
    EXPECT_EQ(Bytes(f), "aaaa\r\nccbb\r\n");
    int error = -1;
    EXPECT_EQ(TamanoFichero(f, error), 12);
    EXPECT_EQ(error, 0);

    std::string datos = "basura";
    EXPECT_EQ(LeeFichero(f, datos), 0);
    EXPECT_EQ(datos, "aaaa\r\nccbb\r\n");

    EXPECT_EQ(BorraFichero(f), 0);
    EXPECT_EQ(BorraFichero(f), 53);
    EXPECT_EQ(BorraFichero(c / "nohay" / "f"), 76);
    EXPECT_EQ(TamanoFichero(f, error), -1);
    EXPECT_EQ(error, 53);
    EXPECT_EQ(LeeFichero(f, datos), 53);
    EXPECT_EQ(LeeFichero(c / "nohay" / "f", datos), 76);

    // A data file that is a folder fails every operation, for root too.
    fs::create_directory(c / "JORNADAS.TBX");
    const fs::path d = c / "JORNADAS.TBX";
    EXPECT_EQ(TamanoFichero(d, error), -1);
    EXPECT_NE(error, 0);
    EXPECT_NE(LeeFichero(d, datos), 0);
    EXPECT_TRUE(datos.empty());
    EXPECT_NE(EscribeEnPosicion(d, 0, "x"), 0);
    EXPECT_NE(AnexaFichero(d, "x"), 0);
    EXPECT_NE(BorraFichero(d), 0);
    EXPECT_TRUE(fs::is_directory(d));
}

TEST(Archivo, BloquesEscritosYLeidos) {
    CarpetaTemporal c;
    const fs::path f = c / "RED0101.TBX";
    std::string esperado;
    {
        EscritorBloques w;
        ASSERT_EQ(w.Abre(f, 64), 0);
        for (int i = 0; i < 1000; ++i) {
            std::string linea = "\"" + std::string(15, "12X"[i % 3]) + "\"\r\n";
            w.Escribe(linea);
            esperado += linea;
        }
        w.Escribe(std::string(200, 'z'));  // larger than a block
        esperado += std::string(200, 'z');
        EXPECT_EQ(w.Escritos(), esperado.size());
        EXPECT_EQ(w.Cierra(), 0);
    }
    EXPECT_EQ(Bytes(f), esperado);

    LectorBloques r;
    ASSERT_EQ(r.Abre(f), 0);
    std::string leido, trozo;
    do {
        ASSERT_EQ(r.Lee(trozo, 100), 0);
        leido += trozo;
    } while (!trozo.empty());
    EXPECT_EQ(leido, esperado);

    EscritorBloques mal;
    fs::create_directory(c / "RED0102.TBX");
    EXPECT_NE(mal.Abre(c / "RED0102.TBX"), 0);
    mal.Escribe("algo");  // ignored after the failure
    EXPECT_NE(mal.Cierra(), 0);
    EXPECT_NE(r.Abre(c / "RED0102.TBX"), 0);
    EXPECT_EQ(r.Abre(c / "RED0103.TBX"), 53);
}

}  // namespace
}  // namespace tobal
