// TOBAL31_ENSAYOS dice cuántas veces se repiten las corridas a la vez
// (scripts/escritores.sh).

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <map>
#include <set>
#include <thread>

#include "Soporte.h"
#include "app/Cerrojo.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"

namespace tobal {
namespace {

using namespace prueba;

int Ensayos() {
    const char* v = std::getenv("TOBAL31_ENSAYOS");
    return v && std::atoi(v) > 0 ? std::atoi(v) : 3;
}

// The arguments of a method-2 run of (jornada, orden) over `triples` triples
// to reduce, every error allowed: 3^triples columns, also with a `condicion`
// every column meets. It replaces any earlier reduction of its key.
std::vector<std::string> Reduccion(const fs::path& d, int jornada, int orden, int triples,
                                   const std::string& condicion = "") {
    std::string base;
    for (int i = 1; i <= 15; ++i) base += i <= triples ? "1X2*=1 " : "1 ";
    std::vector<std::string> a{"--datos", d.string(), "reducir", "--jornada", std::to_string(jornada)};
    a.insert(a.end(), {"--orden", std::to_string(orden), "--metodo", "2", "--base", base, "--errores"});
    a.insert(a.end(), {"0," + std::to_string(triples), "--reemplazar"});
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
        std::deque<CliEnMarcha> corridas;
        for (int orden = 1; orden <= 6; ++orden)
            corridas.emplace_back(Reduccion(d.ruta(), 5, orden, 7 + orden % 3));
        for (int orden = 1; orden <= 6; ++orden) {
            const ResultadoCli r = corridas[static_cast<size_t>(orden - 1)].Espera();
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
    const ResultadoCli r = EjecutaCli(Reduccion(d.ruta(), 7, 1, 2));
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "fichero de bloqueo .tobal31.lck"));
    EXPECT_TRUE(Ficheros(d.ruta()).empty());
}

// True when another process holds the folder's lock.
bool CarpetaRetenida(const fs::path& d) {
    const int fd = ::open((d / kFicheroCerrojo).c_str(), O_RDONLY | O_CLOEXEC);
    const bool retenida = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (fd >= 0) ::close(fd);
    return retenida;
}

// A run killed while it writes its columns, or held at a step of their
// installation, leaves the earlier reduction or the new one, whole with its
// conditions file, and the next use of the folder removes what the dead run
// left. Asked to end (terminate, hang-up), a run cancels and cleans up itself.
TEST(Interrupciones, MatadaOCanceladaDejaUnaReduccionEntera) {
    using Paso = std::pair<std::string, int>;
    for (const bool condiciones : {false, true}) {
        SCOPED_TRACE(condiciones ? "with conditions" : "without conditions");
        CarpetaTemporal d;
        ASSERT_EQ(EjecutaCli(Reduccion(d.ruta(), 12, 3, 2, condiciones ? "X 0-14" : "")).codigo, 0);
        const auto antes = Contenido(d.ruta());
        for (const auto& [paso, senal] : {Paso{"", SIGKILL}, Paso{"nota", SIGKILL}, Paso{"columnas", SIGKILL},
                                          Paso{"", SIGTERM}, Paso{"", SIGHUP}}) {
            SCOPED_TRACE("signal " + std::to_string(senal) + " at " +
                         (paso.empty() ? "a temporary file" : paso));
            {
                CliEnMarcha c(Reduccion(d.ruta(), 12, 3, 12, condiciones ? "seguidos 1-14" : ""), paso);
                ASSERT_TRUE(paso.empty() ? EsperaTemporal(d.ruta()) : c.EsperaParada());
                // Held inside its installation, the run keeps every other writer out.
                EXPECT_TRUE(paso.empty() || CarpetaRetenida(d.ruta()));
                ::kill(c.pid(), senal);
                const ResultadoCli r = c.Espera();
                if (senal != SIGKILL) {
                    EXPECT_TRUE(r.codigo == 1 && r.errores == "El proceso de reducción ha sido cancelado\n")
                        << r.errores;
                    EXPECT_EQ(Contenido(d.ruta()), antes);
                }
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

// Scoring and a matchday edit change one record: whichever writes last,
// each keeps what the other stored (the first is held just before it
// stores, the second runs meanwhile). A matchday deleted meanwhile stays
// deleted.
TEST(VariosEscritores, EscrutinioYEdicionDeLaJornadaSobrevivenLasDos) {
    const std::vector<std::string> escrutar{"escrutar",   "--jornada",       "12",        "--orden",   "1",
                                            "--ganadora", "1X21X21X21X21X2", "--premios", "10 9 8 7 6"};
    const std::vector<std::string> jornada{"jornada",   "12", "--fecha", "02/10/02",
                                           "--partido", "1",  "Nuevo1",  "Nuevo2"};
    using Caso = std::tuple<const char*, std::vector<std::string>, std::vector<std::string>, int>;
    for (const auto& [que, retenida, otra, codigo] :
         {Caso{"scoring held, edit", escrutar, jornada, 0}, Caso{"edit held, scoring", jornada, escrutar, 0},
          Caso{"scoring held, deletion", escrutar, {"borrar", "--desde", "12", "--hasta", "12"}, 1}}) {
        SCOPED_TRACE(que);
        EstadoPrueba p;
        GrabaReduccionPrueba(p.st, 12, 1, 9);
        ASSERT_EQ(GrabaRegistroJornada(p.st, 12, RegistroJornadaPrueba(12, "01/09/02")), 0);
        std::vector<std::string> a{"--datos", p.dir().string()};
        a.insert(a.end(), retenida.begin(), retenida.end());
        CliEnMarcha enMarcha(a, "jornada");
        ASSERT_TRUE(enMarcha.EsperaParada());
        const ResultadoCli r2 = EjecutaCliEn(p.dir(), otra);
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
