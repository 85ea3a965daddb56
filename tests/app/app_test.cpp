#include <gtest/gtest.h>

#include <sys/stat.h>

#include "Soporte.h"
#include "app/Archivo.h"

namespace tobal {
namespace {

using namespace prueba;

size_t Cuantos(const fs::path& dir) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(Archivo, OperacionesYSusErrores) {
    CarpetaTemporal c;
    const fs::path f = c / "BASES.TBX";
    ASSERT_EQ(AnexaFichero(f, "aaaa\r\n"), 0);  // creates
    ASSERT_EQ(AnexaFichero(f, "bbbb\r\n"), 0);
    ASSERT_EQ(EscribeEnPosicion(f, 6, "cc"), 0);  // in place, the rest stays
    EXPECT_EQ(Bytes(f), "aaaa\r\nccbb\r\n");
    std::string datos;
    int64_t tam = 0;
    EXPECT_EQ(LeeEnPosicion(f, 10, 100, datos, &tam), 0);
    EXPECT_EQ(datos, "\r\n");
    EXPECT_EQ(tam, 12);
    ASSERT_EQ(EscribeFicheroAtomico(f, std::string("x\0\xE1\r\n", 5)), 0);
    EXPECT_EQ(Bytes(f), std::string("x\0\xE1\r\n", 5));
    EXPECT_EQ(Cuantos(c.ruta()), 1u);  // no temporary file left

    EXPECT_EQ(BorraFichero(f), 0);
    int error = 0;
    EXPECT_EQ(TamanoFichero(f, error), -1);
    EXPECT_EQ(error, 53);
    EXPECT_EQ(BorraFichero(f), 53);
    EXPECT_EQ(LeeFichero(f, datos), 53);
    EXPECT_EQ(LeeFichero(c / "nohay" / "f", datos), 76);
    EXPECT_EQ(EscribeFicheroAtomico(c / "nohay" / "f", "x"), 76);

    // A data file that is a folder fails every operation, for root too.
    const fs::path d = c / "JORNADAS.TBX";
    fs::create_directory(d);
    EXPECT_EQ(TamanoFichero(d, error), -1);
    EXPECT_NE(error, 0);
    EXPECT_NE(LeeFichero(d, datos), 0);
    EXPECT_TRUE(datos.empty());
    EXPECT_NE(LeeEnPosicion(d, 0, 10, datos), 0);
    EXPECT_NE(EscribeEnPosicion(d, 0, "x"), 0);
    EXPECT_NE(AnexaFichero(d, "x"), 0);
    EXPECT_NE(EscribeFicheroAtomico(d, "x"), 0);
    EXPECT_NE(BorraFichero(d), 0);
    EXPECT_TRUE(fs::is_directory(d));
    EXPECT_EQ(Cuantos(c.ruta()), 1u);
}

TEST(Archivo, CarpetaDeSoloLectura) {
    if (EsRoot()) GTEST_SKIP() << "root writes into read-only folders";
    CarpetaTemporal c;
    EscribeBytes(c / "EQUIPOS.TBX", "Betis\r\n");
    ::chmod(c.ruta().c_str(), 0555);
    EXPECT_NE(EscribeFicheroAtomico(c / "EQUIPOS.TBX", "nada\r\n"), 0);
    EXPECT_NE(AnexaFichero(c / "BASES.TBX", "x"), 0);
    ::chmod(c.ruta().c_str(), 0755);
    EXPECT_EQ(Bytes(c / "EQUIPOS.TBX"), "Betis\r\n");
    EXPECT_EQ(Cuantos(c.ruta()), 1u);
}

TEST(Archivo, BloquesEscritosYLeidos) {
    CarpetaTemporal c;
    const fs::path f = c / "RED0101.TBX";
    std::string esperado;
    for (int i = 0; i < 1000; ++i) esperado += "\"" + std::string(15, "12X"[i % 3]) + "\"\r\n";
    EscritorBloques w;
    ASSERT_EQ(w.Abre(f, 64), 0);
    w.Escribe(esperado.substr(0, 50));
    w.Escribe(esperado.substr(50));  // larger than a block
    EXPECT_EQ(w.Escritos(), esperado.size());
    EXPECT_EQ(w.Cierra(), 0);
    LectorBloques r;
    ASSERT_EQ(r.Abre(f), 0);
    std::string leido, trozo;
    while (r.Lee(trozo, 100) == 0 && !trozo.empty()) leido += trozo;
    EXPECT_EQ(leido, esperado);

    fs::create_directory(c / "RED0102.TBX");
    EscritorBloques mal;
    EXPECT_NE(mal.Abre(c / "RED0102.TBX"), 0);
    mal.Escribe("algo");  // ignored after the failure
    EXPECT_NE(mal.Cierra(), 0);
    EXPECT_NE(r.Abre(c / "RED0102.TBX"), 0);
    EXPECT_EQ(r.Abre(c / "RED0103.TBX"), 53);
}

}  // namespace
}  // namespace tobal
