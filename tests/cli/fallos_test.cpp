// tobal31-cli ante ficheros dañados o que no son ficheros: un mensaje claro,
// el código 1 y ninguna salida hecha de ellos.

#include <gtest/gtest.h>

#include <algorithm>

#include "Soporte.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "scoring/Escrutinio.h"

namespace tobal {
namespace {

using namespace prueba;

// Jornada 12 con fecha y escrutinio guardado; reducción 12/1 de 24 columnas.
struct CliFallos : ::testing::Test {
    EstadoPrueba p;
    CarpetaTemporal destino;

    void SetUp() override {
        EscribeDatosGenDefecto(p.dir());
        std::string reg =
            RegistroEditor(RegistroJornadaVacio(), 12, "14/09/02", {"REAL MADRID", "BARCELONA"});
        EntradasEscrutinio e;
        for (int m = 1; m <= 15; ++m) e.Ganadora[m] = static_cast<int16_t>(m % 3 + 1);
        PonEntradasEnRegistro(reg, 12, "14/09/02", e);
        ASSERT_EQ(GrabaRegistroJornada(p.st, 12, reg), 0);
        GrabaReduccionPrueba(p.st, 12, 1, 24);
    }
    ResultadoCli Cli(std::vector<std::string> args) {
        return EjecutaCliEn(p.dir(), std::move(args), {"--jornada", "12", "--orden", "1"});
    }
    fs::path Pdf() const { return destino / "salida.pdf"; }
    // Every command that reads the columns file, with the output it would make.
    std::vector<std::pair<std::vector<std::string>, fs::path>> Lectores() const {
        std::vector<std::pair<std::vector<std::string>, fs::path>> r = {
            {{"escrutar", "--ganadora", "1X21X21X21X21X2"}, {}},
            {{"exportar", "--destino", destino.ruta().string()}, destino / "AD243"}};
#ifdef TOBAL31_CON_QT
        for (const char* salida : {"boletos", "continuo", "relacion", "escrutinio"})
            r.push_back({{"imprimir", salida, "--pdf", Pdf().string()}, Pdf()});
#endif
        return r;
    }
};

// A damaged columns file, or a conditions file that does not read, is
// refused by every command that reads it with one message and no output.
// The kinds of damage are the readers' own tests; here one of each file.
TEST_F(CliFallos, FicheroDanadoSeRechazaEnTodasLasOrdenes) {
    const std::pair<std::string, std::string> casos[] = {
        {"RED1201.TBX", TextoColumnasDanadas("RED1201.TBX", 3)},
        {"RED1201.CON", "El fichero de condiciones RED1201.CON está dañado, línea 1 (\"X 0-20\"): "}};
    auto lectores = Lectores();
    lectores.push_back({{"garantia"}, {}});
    for (const auto& [fichero, mensaje] : casos) {
        GrabaReduccionPrueba(p.st, 12, 1, 24);
        EscribeBytes(p.dir() / fichero,
                     fichero.ends_with("TBX") ? FicheroConColumnaDanada(ColumnasDanadas()[8]) : "X 0-20\r\nX 2\r\n");
        for (const auto& [args, salida] : lectores) {
            SCOPED_TRACE(testing::PrintToString(args) + " " + mensaje);
            const auto r = Cli(args);
            EXPECT_EQ(r.codigo, 1);
            EXPECT_TRUE(Contiene(r.errores, mensaje));
            EXPECT_EQ(r.salida, "");
            EXPECT_TRUE(salida.empty() || !fs::exists(salida));
        }
    }
}

// exportar and imprimir refuse when the matchday cannot be read (no bets
// file dated 000000); an export that reads the columns replaces every
// leftover of an earlier one, the volumes beyond the first included.
TEST_F(CliFallos, ExportarSinJornadaNoSigueYNoDejaRestosDeOtraCopia) {
    const std::vector<std::string> exportar{"exportar", "--destino", destino.ruta().string()};
    auto restos = [&] {
        for (const char* n : {"AD243", "AD243.02", "AD243.03"}) EscribeBytes(destino / n, "anterior");
    };
    restos();
    auto r = Cli(exportar);  // 24 columns: one volume
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(std::distance(fs::directory_iterator(destino.ruta()), {}), 1);
    EXPECT_EQ(Bytes(destino / "AD243").substr(0, 6), "C01243");
    fs::remove(destino / "AD243");

    fs::remove(p.dir() / "JORNADAS.TBX");
    fs::create_directory(p.dir() / "JORNADAS.TBX");
    std::vector<std::vector<std::string>> ordenes{exportar};
#ifdef TOBAL31_CON_QT
    ordenes.push_back({"imprimir", "boletos", "--pdf", Pdf().string()});
#endif
    for (const auto& args : ordenes) {
        SCOPED_TRACE(testing::PrintToString(args));
        r = Cli(args);
        EXPECT_EQ(r.codigo, 1);
        EXPECT_TRUE(Contiene(r.errores, "ERROR EN LA JORNADA"));
        EXPECT_TRUE(fs::is_empty(destino.ruta()));
    }
}

// indice in a read-only folder without BASES.TBX does not promise to create it.
TEST_F(CliFallos, IndiceSinBasesEnCarpetaDeSoloLectura) {
    DiscoPequeno disco(1 << 20);
    if (!disco.Montado()) GTEST_SKIP() << disco.Motivo();
    ASSERT_TRUE(disco.SoloLectura());
    const auto i = EjecutaCliEn(disco.ruta(), {"indice"});
    EXPECT_FALSE(Contiene(i.errores, "proceder a crearlo"));
    EXPECT_TRUE(Contiene(i.errores, "No se encuentra el fichero BASES.TBX"));
}

// borrar on a read-only folder or with a data file it cannot write: the
// failed step is told, the exit status is 1 and "Borradas" is not said.
TEST_F(CliFallos, BorrarQueFallaLoDiceYSaleConUno) {
    DiscoPequeno disco(1 << 20);
    std::vector<std::pair<fs::path, std::string>> casos;
    if (disco.Montado()) {
        for (const auto& f : fs::directory_iterator(p.dir()))
            fs::copy(f.path(), disco / f.path().filename().string());
        ASSERT_TRUE(disco.SoloLectura());
        casos.push_back({disco.ruta(), "(error 70: "});
    }
    fs::remove(p.dir() / "BASES.TBX");
    fs::create_directory(p.dir() / "BASES.TBX");
    casos.push_back({p.dir(), "No se han podido borrar las reducciones de BASES.TBX (error 75"});
    for (const auto& [carpeta, fallo] : casos) {
        SCOPED_TRACE(carpeta);
        const auto r = EjecutaCliEn(carpeta, {"borrar", "--desde", "12", "--hasta", "12"});
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.salida, "");
        EXPECT_EQ(r.errores.rfind("BORRADO INCOMPLETO\n", 0), 0u) << r.errores;
        EXPECT_TRUE(Contiene(r.errores, fallo));
    }
    if (!disco.Montado()) GTEST_SKIP() << "read-only folder not tried: " << disco.Motivo();
}

#ifdef TOBAL31_CON_QT
// imprimir --pdf F: F is replaced only by a complete PDF. A run with nothing
// to print, a folder F and a full disk leave everything as it was, with a
// message and exit 1; none leaves a temporary file.
TEST_F(CliFallos, ElPdfSoloSustituyeAlFicheroCuandoEstaCompleto) {
    EscribeBytes(Pdf(), "del usuario");
    fs::create_directory(destino / "carpeta.pdf");
    struct Caso {
        std::string que;
        std::vector<std::string> args;
        std::string error;
    };
    const Caso casos[] = {
        Caso("nothing to print", {"imprimir", "boletos", "--pdf", Pdf().string()},
             "no hay nada que imprimir"),
        Caso("a folder", {"imprimir", "relacion", "--pdf", (destino / "carpeta.pdf").string()},
             "no se puede imprimir en el fichero " + (destino / "carpeta.pdf").string() + ": ")};
    fs::rename(p.dir() / "RED1201.TBX", p.dir() / "guardado");
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.que);
        if (c.que == "a folder") fs::rename(p.dir() / "guardado", p.dir() / "RED1201.TBX");
        const auto r = Cli(c.args);
        EXPECT_EQ(r.codigo, 1);
        EXPECT_TRUE(Contiene(r.errores, c.error));
        EXPECT_EQ(r.salida, "");
        EXPECT_EQ(Bytes(Pdf()), "del usuario");
        EXPECT_TRUE(fs::is_directory(destino / "carpeta.pdf") && fs::is_empty(destino / "carpeta.pdf"));
        EXPECT_EQ(std::distance(fs::directory_iterator(destino.ruta()), {}), 2);  // no temporary file
    }
    // A complete one replaces it. File names are bytes: a folder and a name
    // that are not UTF-8 are written as they are, nothing left beside them.
    fs::create_directory(destino / "carpeta\xfe");
    for (const fs::path& pdf : {Pdf(), destino / "carpeta\xfe" / "r\xe9lacion.pdf"}) {
        const auto r = Cli({"imprimir", "relacion", "--pdf", pdf.string()});
        EXPECT_EQ(r.codigo, 0) << r.errores;
        EXPECT_EQ(Bytes(pdf).rfind("%PDF", 0), 0u);
        EXPECT_EQ(std::distance(fs::directory_iterator(pdf.parent_path()), {}), pdf == Pdf() ? 3 : 1);
    }
}

TEST_F(CliFallos, ElPdfEnUnDiscoLlenoEsUnFallo) {
    DiscoPequeno disco(64 * 1024);
    if (!disco.Montado()) GTEST_SKIP() << disco.Motivo();
    disco.Llena();
    const fs::path pdf = disco / "relacion.pdf";
    const auto r = Cli({"imprimir", "relacion", "--pdf", pdf.string()});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.salida, "");
    EXPECT_TRUE(
        Contiene(r.errores, "no se puede imprimir en el fichero " + pdf.string() + ": el disco está lleno"));
    EXPECT_EQ(std::distance(fs::directory_iterator(disco.ruta()), {}), 1);  // only what filled it
}
#endif

}  // namespace
}  // namespace tobal
