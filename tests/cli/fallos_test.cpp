// tobal31-cli ante ficheros dañados o que no son ficheros, varios escritores
// sobre una carpeta y corridas matadas a medias, como procesos separados:
// un mensaje claro, el código 1 y ningún fichero a medias. TOBAL31_ENSAYOS
// dice cuántas veces se repiten las corridas a la vez (scripts/escritores.sh).

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include "Soporte.h"
#include "app/Cerrojo.h"
#include "app/Texto.h"
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
};

// A damaged columns file, a conditions file that does not read or a
// matchday that cannot be read (no bets file dated 000000, no tickets of no
// matchday) is refused by every command that reads it with one message and
// no output. The kinds of damage are the readers' own tests.
TEST_F(CliFallos, FicheroDanadoSeRechazaEnTodasLasOrdenes) {
    std::vector<std::pair<std::vector<std::string>, fs::path>> lectores = {
        {{"escrutar", "--ganadora", "1X21X21X21X21X2"}, {}},
        {{"exportar", "--destino", destino.ruta().string()}, destino / "AD243"},
        {{"garantia"}, {}}};
#ifdef TOBAL31_CON_QT
    for (const char* salida : {"boletos", "continuo", "relacion", "escrutinio"})
        lectores.push_back({{"imprimir", salida, "--pdf", Pdf().string()}, Pdf()});
#endif
    const std::pair<std::string, std::string> casos[] = {
        {"RED1201.TBX", TextoColumnasDanadas("RED1201.TBX", 3)},
        {"RED1201.CON", "El fichero de condiciones RED1201.CON está dañado, línea 1 (\"X 0-20\"): "},
        {"JORNADAS.TBX", "ERROR EN LA JORNADA"}};
    for (const auto& [fichero, mensaje] : casos) {
        GrabaReduccionPrueba(p.st, 12, 1, 24);
        if (fichero == "JORNADAS.TBX") {
            fs::remove(p.dir() / "RED1201.CON");
            fs::remove(p.dir() / fichero);
            fs::create_directory(p.dir() / fichero);
        } else {
            EscribeBytes(p.dir() / fichero, fichero.ends_with("TBX")
                                                ? FicheroConColumnaDanada(ColumnasDanadas()[8])
                                                : "X 0-20\r\nX 2\r\n");
        }
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

// borrar that cannot free the records says so under its title and exits 1
// (which steps fail is the deletion's own test); indice in a read-only
// folder without BASES.TBX does not promise to create it.
TEST_F(CliFallos, BorradoQueFallaEIndiceEnCarpetaDeSoloLectura) {
    fs::remove(p.dir() / "BASES.TBX");
    fs::create_directory(p.dir() / "BASES.TBX");
    const auto r = EjecutaCliEn(p.dir(), {"borrar", "--desde", "12", "--hasta", "12"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.salida, "");
    EXPECT_EQ(r.errores.rfind(
                  "BORRADO INCOMPLETO\nNo se han podido borrar las reducciones de BASES.TBX (error 75", 0),
              0u)
        << r.errores;
    DiscoPequeno disco(1 << 20);
    if (!disco.Montado()) GTEST_SKIP() << disco.Motivo();
    ASSERT_TRUE(disco.SoloLectura());
    const auto i = EjecutaCliEn(disco.ruta(), {"indice"});
    EXPECT_FALSE(Contiene(i.errores, "proceder a crearlo"));
    EXPECT_TRUE(Contiene(i.errores, "No se encuentra el fichero BASES.TBX"));
}

#ifdef TOBAL31_CON_QT
// imprimir --pdf F: F is replaced only by a complete PDF. Nothing to print,
// a folder F and a full disk leave everything as it was, with a message and
// exit 1, and no temporary file. File names are bytes: a folder and a name
// that are not UTF-8 are written as they are.
TEST_F(CliFallos, ElPdfSoloSustituyeAlFicheroCuandoEstaCompleto) {
    EscribeBytes(Pdf(), "del usuario");
    fs::create_directory(destino / "carpeta.pdf");
    const auto falla = [&](const std::string& salida, const fs::path& pdf, const std::string& error) {
        SCOPED_TRACE(pdf);
        const auto r = Cli({"imprimir", salida, "--pdf", pdf.string()});
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.salida, "");
        EXPECT_TRUE(Contiene(r.errores, error)) << r.errores;
    };
    fs::rename(p.dir() / "RED1201.TBX", p.dir() / "guardado");
    falla("boletos", Pdf(), "no hay nada que imprimir");
    fs::rename(p.dir() / "guardado", p.dir() / "RED1201.TBX");
    const fs::path carpeta = destino / "carpeta.pdf";
    falla("relacion", carpeta, "no se puede imprimir en el fichero " + carpeta.string() + ": ");
    EXPECT_EQ(Bytes(Pdf()), "del usuario");
    EXPECT_TRUE(fs::is_empty(carpeta));
    EXPECT_EQ(std::distance(fs::directory_iterator(destino.ruta()), {}), 2);  // no temporary file
    DiscoPequeno disco(64 * 1024);
    if (disco.Montado()) {
        disco.Llena();
        const fs::path lleno = disco / "relacion.pdf";
        falla("relacion", lleno,
              "no se puede imprimir en el fichero " + lleno.string() + ": el disco está lleno");
        EXPECT_EQ(std::distance(fs::directory_iterator(disco.ruta()), {}), 1);  // only what filled it
    }
    fs::create_directory(destino / "carpeta\xfe");
    for (const fs::path& pdf : {Pdf(), destino / "carpeta\xfe" / "r\xe9lacion.pdf"}) {
        const auto r = Cli({"imprimir", "relacion", "--pdf", pdf.string()});
        EXPECT_EQ(r.codigo, 0) << r.errores;
        EXPECT_EQ(Bytes(pdf).rfind("%PDF", 0), 0u);
        EXPECT_EQ(std::distance(fs::directory_iterator(pdf.parent_path()), {}), pdf == Pdf() ? 3 : 1);
    }
}
#endif

int Ensayos() {
    const char* v = std::getenv("TOBAL31_ENSAYOS");
    return v && std::atoi(v) > 0 ? std::atoi(v) : 3;
}

// The arguments of a method-2 run of (jornada, orden) over `triples` triples
// to reduce, every error allowed: 3^triples columns, also with a `condicion`
// every column meets.
std::vector<std::string> Reduccion(const fs::path& d, int jornada, int orden, int triples, bool reemplazar,
                                   const std::string& condicion = "") {
    std::string base;
    for (int i = 1; i <= 15; ++i) base += i <= triples ? "1X2*=1 " : "1 ";
    std::vector<std::string> a{"--datos", d.string(), "reducir", "--jornada", std::to_string(jornada)};
    a.insert(a.end(), {"--orden", std::to_string(orden), "--metodo", "2", "--base", base, "--errores"});
    a.push_back("0," + std::to_string(triples));
    if (reemplazar) a.push_back("--reemplazar");
    if (!condicion.empty()) a.insert(a.end(), {"--condicion", condicion});
    return a;
}

int64_t Columnas(int triples) { return triples ? 3 * Columnas(triples - 1) : 1; }

// Every record announces a columns file that holds exactly its columns, and
// no temporary file is left. `cuentas` receives the columns of each key.
::testing::AssertionResult Coherente(const fs::path& d, std::map<std::string, int64_t>* cuentas = nullptr) {
    for (const std::string& f : Ficheros(d))
        if (f.back() == '~') return ::testing::AssertionFailure() << "temporary file left: " << f;
    std::set<std::string> claves;
    for (const std::string& linea : LineasBases(Bytes(d / kFicheroBases))) {
        const std::string clave = ClaveRegistro(linea);
        if (clave == "0000" || clave == "    ") continue;
        if (!claves.insert(clave).second) return ::testing::AssertionFailure() << "key twice: " << clave;
        auto r = DecodificaRegistroBase(linea);
        if (!r) return ::testing::AssertionFailure() << "damaged record: " << linea;
        const std::string red = Bytes(d / FicheroRed(r->Jornada, r->Orden));
        if (red.size() != static_cast<size_t>(r->ApuestasReducidas) * kLongLineaColumna ||
            (!red.empty() && red.substr(0, kLongLineaColumna) != LineaColumna(std::string(15, '1'))))
            return ::testing::AssertionFailure() << clave << " announces " << r->ApuestasReducidas
                                                 << " columns; its file has " << red.size() << " bytes";
        if (cuentas) (*cuentas)[clave] = r->ApuestasReducidas;
    }
    return ::testing::AssertionSuccess();
}

std::map<std::string, std::string> Contenido(const fs::path& d) {
    std::map<std::string, std::string> c;
    for (const std::string& f : Ficheros(d)) c[f] = Bytes(d / f);
    return c;
}

// Waits (up to 10 s) until a temporary columns file appears in `d`.
bool EsperaTemporal(const fs::path& d) {
    for (int i = 0; i < 10000; ++i) {
        for (const std::string& f : Ficheros(d))
            if (f.back() == '~') return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

TEST(VariosEscritores, SeisReduccionesALaVezNoPierdenNada) {
    for (int ensayo = 0; ensayo < Ensayos(); ++ensayo) {
        SCOPED_TRACE("trial " + std::to_string(ensayo));
        CarpetaTemporal d;
        // Two free slots in a file of fixed records, or a short line that
        // makes every change rewrite the whole file.
        const bool fijo = ensayo % 2 == 0;
        EscribeBytes(d / kFicheroBases,
                     fijo ? RegistroLibre() + SaltoLinea + RegistroLibre() + SaltoLinea : "0000 corto\r\n");
        std::vector<std::unique_ptr<CliEnMarcha>> corridas;
        for (int orden = 1; orden <= 6; ++orden)
            corridas.push_back(
                std::make_unique<CliEnMarcha>(Reduccion(d.ruta(), 5, orden, 7 + orden % 3, false)));
        for (int orden = 1; orden <= 6; ++orden) {
            const ResultadoCli r = corridas[static_cast<size_t>(orden - 1)]->Espera();
            EXPECT_EQ(r.codigo, 0) << "order " << orden << ": " << r.errores;
        }
        std::map<std::string, int64_t> cuentas;
        ASSERT_TRUE(Coherente(d.ruta(), &cuentas));
        for (int orden = 1; orden <= 6; ++orden)
            EXPECT_EQ(cuentas["05" + DosDigitos(orden)], Columnas(7 + orden % 3)) << "order " << orden;
        EXPECT_TRUE(!fijo || Bytes(d / kFicheroBases).size() == 6u * kLongLineaBase)
            << "the free slots reused";
    }
}

// A lock file that cannot be used stops a change with a message that names
// it; nothing is written unlocked.
TEST(VariosEscritores, FicheroDeBloqueoInutilizableNoDejaEscribir) {
    CarpetaTemporal d;
    fs::create_directory(d / kFicheroCerrojo);
    const ResultadoCli r = EjecutaCli(Reduccion(d.ruta(), 7, 1, 2, false));
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "fichero de bloqueo .tobal31.lck"));
    EXPECT_TRUE(Ficheros(d.ruta()).empty());
}

// A run killed while it writes its columns, or held at a step of their
// installation, leaves the earlier reduction or the new one,
// whole with its conditions file, and the next use of the folder removes
// what the dead run left.
// True when another process holds the folder's lock.
bool CarpetaRetenida(const fs::path& d) {
    const int fd = ::open((d / kFicheroCerrojo).c_str(), O_RDONLY | O_CLOEXEC);
    const bool retenida = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (fd >= 0) ::close(fd);
    return retenida;
}

TEST(Interrupciones, MatadaConSigkillDejaUnaReduccionEntera) {
    for (const bool condiciones : {false, true}) {
        SCOPED_TRACE(condiciones ? "with conditions" : "without conditions");
        CarpetaTemporal d;
        ASSERT_EQ(EjecutaCli(Reduccion(d.ruta(), 12, 3, 2, false, condiciones ? "X 0-14" : "")).codigo, 0);
        const auto antes = Contenido(d.ruta());
        for (const std::string paso : {"", "nota", "columnas"}) {
            SCOPED_TRACE("kill at " + (paso.empty() ? "a temporary file" : paso));
            {
                CliEnMarcha c(Reduccion(d.ruta(), 12, 3, 12, true, condiciones ? "seguidos 1-14" : ""), paso);
                ASSERT_TRUE(paso.empty() ? EsperaTemporal(d.ruta()) : c.EsperaParada());
                // Held inside its installation, the run keeps every other writer out.
                EXPECT_TRUE(paso.empty() || CarpetaRetenida(d.ruta()));
                ::kill(c.pid(), SIGKILL);
                c.Espera();
            }
            // The next command finishes or undoes what the dead run left.
            ASSERT_EQ(EjecutaCliEn(d.ruta(), {"indice"}).codigo, 0);
            std::map<std::string, int64_t> cuentas;
            const bool nueva = Bytes(d / kFicheroBases) != antes.at(kFicheroBases);
            ASSERT_TRUE(Coherente(d.ruta(), &cuentas));
            EXPECT_EQ(cuentas["1203"], nueva ? Columnas(12) : Columnas(2));
            EXPECT_TRUE(nueva || Contenido(d.ruta()) == antes);
            EXPECT_TRUE(paso.empty() || nueva == (paso == "columnas"));
            EXPECT_TRUE(!nueva ||
                        Bytes(d / "RED1203.CON") == (condiciones ? "seguidos 1-14\r\nfallos 0\r\n" : ""));
            for (const auto& [f, bytes] : antes) EscribeBytes(d / f, bytes);
        }
    }
}

TEST(Interrupciones, TerminarOColgarCancelanSinTocarNada) {
    CarpetaTemporal d;
    ASSERT_EQ(EjecutaCli(Reduccion(d.ruta(), 12, 3, 2, false)).codigo, 0);
    const auto antes = Contenido(d.ruta());
    for (int senal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(senal);
        CliEnMarcha c(Reduccion(d.ruta(), 12, 3, 13, true));
        ASSERT_TRUE(EsperaTemporal(d.ruta()));
        ::kill(c.pid(), senal);
        const ResultadoCli r = c.Espera();
        EXPECT_EQ(r.codigo, 1);
        EXPECT_EQ(r.errores, "El proceso de reducción ha sido cancelado\n");
        EXPECT_EQ(Contenido(d.ruta()), antes);
    }
}

// Scoring and a matchday edit change one record: whichever writes last,
// each keeps what the other stored (the first is held just before it
// stores, the second runs meanwhile). A matchday deleted meanwhile stays
// deleted.
TEST(VariosEscritores, EscrutinioYEdicionDeLaJornadaSobrevivenLasDos) {
    const std::vector<std::string> escrutar{"escrutar",   "--jornada",       "12",        "--orden",   "1",
                                            "--ganadora", "1X21X21X21X21X2", "--premios", "10 9 8 7 6"};
    const std::vector<std::string> jornada{"jornada",   "12", "--fecha", "02/10/02",
                                           "--partido", "1",  "Nuevo1",  "Nuevo2"};
    const std::vector<std::string> borrar{"borrar", "--desde", "12", "--hasta", "12"};
    using Caso = std::tuple<const char*, std::vector<std::string>, std::vector<std::string>, int>;
    for (const auto& [que, retenida, otra, codigo] :
         {Caso{"scoring held, edit", escrutar, jornada, 0}, Caso{"edit held, scoring", jornada, escrutar, 0},
          Caso{"scoring held, deletion", escrutar, borrar, 1}}) {
        SCOPED_TRACE(que);
        EstadoPrueba p;
        EscribeDatosGenDefecto(p.dir());
        GrabaReduccionPrueba(p.st, 12, 1, 9);
        ASSERT_EQ(GrabaRegistroJornada(p.st, 12, RegistroJornadaPrueba(12, "01/09/02")), 0);
        const auto conDatos = [&](std::vector<std::string> a) {
            a.insert(a.begin(), {"--datos", p.dir().string()});
            return a;
        };
        CliEnMarcha enMarcha(conDatos(retenida), "jornada");
        ASSERT_TRUE(enMarcha.EsperaParada());
        const ResultadoCli r2 = EjecutaCli(conDatos(otra));
        EXPECT_EQ(r2.codigo, 0) << r2.errores;
        enMarcha.Continua();
        const ResultadoCli r = enMarcha.Espera();
        EXPECT_EQ(r.codigo, codigo) << r.errores;
        const std::string reg = LeeRegistroJornada(p.st, 12);
        if (codigo) {
            EXPECT_TRUE(Contiene(r.errores, "JORNADA BORRADA"));
            EXPECT_EQ(reg, RegistroJornadaVacio());
            continue;
        }
        EXPECT_EQ(reg.substr(5, 8), "02/10/02");
        EXPECT_EQ(NombreEquipo(reg, 1) + NombreEquipo(reg, 3), "Nuevo1Equipo3");
        EXPECT_EQ(reg.substr(kPosResultados - 1, 15 + 11), "123123123123123         10");
    }
}

}  // namespace
}  // namespace tobal
