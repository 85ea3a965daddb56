// tobal31-cli ante ficheros dañados o que no son ficheros: un mensaje claro,
// el código 1 y ninguna salida hecha de ellos.

#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

#include "Soporte.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "scoring/Escrutinio.h"

namespace tobal {
namespace {

using prueba::Bytes;
namespace fs = std::filesystem;

// Jornada 12 con fecha y escrutinio guardado; reducción 12/1 de 24 columnas.
struct CliFallos : ::testing::Test {
    prueba::EstadoPrueba p;
    prueba::CarpetaTemporal destino;

    void SetUp() override {
        prueba::EscribeDatosGenDefecto(p.dir());
        std::string reg = RegistroEditor(RegistroJornadaVacio(), 12, "14/09/02", {"REAL MADRID", "BARCELONA"});
        EntradasEscrutinio e;
        for (int m = 1; m <= 15; ++m) e.Ganadora[m] = static_cast<int16_t>(m % 3 + 1);
        PonEntradasEnRegistro(reg, 12, "14/09/02", e);
        ASSERT_EQ(GrabaRegistroJornada(p.st, 12, reg), 0);
        prueba::GrabaReduccionPrueba(p.st, 12, 1, 24);
    }
    prueba::ResultadoCli Cli(std::vector<std::string> args) {
        return prueba::EjecutaCliEn(p.dir(), std::move(args), {"--jornada", "12", "--orden", "1"});
    }
    fs::path Pdf() const { return destino / "salida.pdf"; }
    // Every command that reads the columns file, with the output it would make.
    std::vector<std::pair<std::vector<std::string>, fs::path>> Lectores() const {
        return {{{"escrutar", "--ganadora", "1X21X21X21X21X2"}, {}},
                {{"exportar", "--destino", destino.ruta().string()}, destino / "AD243"},
                {{"imprimir", "boletos", "--pdf", Pdf().string()}, Pdf()},
                {{"imprimir", "continuo", "--pdf", Pdf().string()}, Pdf()},
                {{"imprimir", "relacion", "--pdf", Pdf().string()}, Pdf()},
                {{"imprimir", "escrutinio", "--pdf", Pdf().string()}, Pdf()}};
    }
};

// Un fichero de columnas dañado se rechaza en todas las órdenes con el mismo
// mensaje, que nombra su primera columna dañada, y no deja salida.
TEST_F(CliFallos, FicheroDeColumnasDanadoSeRechazaEnTodasLasOrdenes) {
    for (const char* que : {"short", "line feed inside", "cut by the end"}) {
        const auto& danadas = prueba::ColumnasDanadas();
        const auto d = *std::find_if(danadas.begin(), danadas.end(), [&](const auto& c) { return c.que == que; });
        prueba::EscribeBytes(p.dir() / "RED1201.TBX", prueba::FicheroConColumnaDanada(d));
        for (const auto& [args, salida] : Lectores()) {
            SCOPED_TRACE(testing::PrintToString(args) + " " + que);
            const auto r = Cli(args);
            EXPECT_EQ(r.codigo, 1);
            EXPECT_NE(r.errores.find(TextoColumnasDanadas("RED1201.TBX", 3)), std::string::npos) << r.errores;
            EXPECT_EQ(r.salida, "");
            EXPECT_TRUE(salida.empty() || !fs::exists(salida));
        }
    }
}

// Un fichero de columnas que es un enlace a /dev/zero o una FIFO, y un
// BASES.TBX que es una FIFO: se rechazan al momento (la FIFO sin escritor
// bloquearía la apertura, /dev/zero no se acabaría nunca).
TEST_F(CliFallos, SoloFicherosRegularesComoFicherosDeDatos) {
    fs::remove(p.dir() / "RED1201.TBX");
    fs::create_symlink("/dev/zero", p.dir() / "RED1201.TBX");
    for (const auto& [args, salida] : Lectores()) {
        SCOPED_TRACE(testing::PrintToString(args));
        const auto r = Cli(args);
        EXPECT_EQ(r.codigo, 1) << r.errores;
        EXPECT_NE(r.errores.find("RED1201.TBX ERROR 75"), std::string::npos) << r.errores;
        EXPECT_TRUE(salida.empty() || !fs::exists(salida));
    }
    fs::remove(p.dir() / "RED1201.TBX");
    ASSERT_EQ(::mkfifo((p.dir() / "RED1201.TBX").c_str(), 0600), 0);
    EXPECT_EQ(Cli(Lectores().front().first).codigo, 1);
    fs::remove(p.dir() / "BASES.TBX");
    ASSERT_EQ(::mkfifo((p.dir() / "BASES.TBX").c_str(), 0600), 0);
    const auto r = prueba::EjecutaCliEn(p.dir(), {"indice"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("ERROR 75"), std::string::npos) << r.errores;
}

}  // namespace
}  // namespace tobal
