#pragma once
// Test support: temporary data folders, a state over one, stored reductions
// with their columns, the command-line tool run as a child process, raw file
// bytes.

#include <gtest/gtest.h>

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/Estado.h"
#include "app/Informador.h"

namespace tobal::prueba {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed (with its
// content, write permission restored) when the object goes.
class CarpetaTemporal {
public:
    CarpetaTemporal();
    ~CarpetaTemporal();
    CarpetaTemporal(const CarpetaTemporal&) = delete;
    CarpetaTemporal& operator=(const CarpetaTemporal&) = delete;
    const fs::path& ruta() const { return ruta_; }
    fs::path operator/(const std::string& nombre) const { return ruta_ / nombre; }

private:
    fs::path ruta_;
};

// A state whose program and data folders are a temporary folder and whose
// file-error messages are recorded.
struct EstadoPrueba {
    EstadoPrueba();
    CarpetaTemporal carpeta;
    InformadorGrabador mensajes;
    Estado st;
    fs::path dir() const { return carpeta.ruta(); }
};

// Raw bytes of a file ("" when it cannot be read) and writing them.
std::string Bytes(const fs::path& ruta);
void EscribeBytes(const fs::path& ruta, const std::string& datos);

// DATOSGEN.TBX with the default line, as a first start leaves it.
void EscribeDatosGenDefecto(const fs::path& dir);

// Column n (1-based): match m carries "1", "X" or "2" by (n + m) mod 3, so
// neighbouring columns differ in every match.
std::string ColumnaPrueba(int n);
// The bytes of a columns file (REDjjoo.TBX) holding `columnas`.
std::string FicheroColumnas(const std::vector<std::string>& columnas);
// Damaged records of a columns file, each with what is wrong with it: a
// file of two good columns, one of these and a good one (or, for the cut
// one, nothing after it) is damaged at column 3.
struct ColumnaDanada {
    std::string que;
    std::string bytes;
};
const std::vector<ColumnaDanada>& ColumnasDanadas();
std::string FicheroConColumnaDanada(const ColumnaDanada& d);
// Stores reduction (jornada, orden) in BASES.TBX with its columns file and
// makes it the current one (throws when the record cannot be stored).
void GrabaReduccionConColumnas(Estado& st, int jornada, int orden, const std::vector<std::string>& columnas);
// The same with columns ColumnaPrueba(1..columnas), from three times as many
// direct bets.
void GrabaReduccionPrueba(Estado& st, int jornada, int orden, int columnas);

// The names of the files in `dir`, sorted, without hidden ones (the
// folder's lock file).
std::vector<std::string> Ficheros(const fs::path& dir);

// A random base quiniela as typed, with `triples` and `dobles` reduced
// multiples, `libres` unreduced ones, and parameters that pass the reduce
// button's checks (for method 3 now and then counts no column can reach).
void BaseAleatoria(std::mt19937& g, Reduccion& r, int metodo, int triples, int dobles, int libres);

// A matchday record as the editor builds it (teams "Equipo1".."Equipo30"),
// over a result and prizes.
std::string RegistroJornadaPrueba(int jornada, const std::string& fecha);

// True when running as root (permission tests cannot fail for root).
bool EsRoot();

// Runs `cuerpo` in a child process: its failures are printed there and fail
// the calling test; a skip there skips it.
void EnHijo(const std::function<void()>& cuerpo);
// Runs `cuerpo` as an unprivileged user (nobody, in a child process) when
// running as root, so that permissions are enforced; directly otherwise.
void ComoUsuarioSinPrivilegios(const std::function<void()>& cuerpo);

// A full disk: a tmpfs of `bytes` mounted on a temporary folder (root only),
// unmounted when the object goes. When it cannot be mounted, Montado() is
// false and Motivo() says why (for GTEST_SKIP).
class DiscoPequeno {
public:
    explicit DiscoPequeno(size_t bytes);
    ~DiscoPequeno();
    DiscoPequeno(const DiscoPequeno&) = delete;
    DiscoPequeno& operator=(const DiscoPequeno&) = delete;
    bool Montado() const { return montado_; }
    const std::string& Motivo() const { return motivo_; }
    const fs::path& ruta() const { return carpeta_.ruta(); }
    fs::path operator/(const std::string& nombre) const { return carpeta_ / nombre; }
    // Fills what is left of it with one file.
    void Llena();
    // Mounts it again read-only (a read-only folder, for root too).
    bool SoloLectura();

private:
    CarpetaTemporal carpeta_;
    bool montado_ = false;
    std::string motivo_;
};

// While alive, files written by this process and the children it starts
// cannot grow beyond `bytes` (a write past it fails as on a full disk).
class LimiteTamanoFicheros {
public:
    explicit LimiteTamanoFicheros(size_t bytes);
    ~LimiteTamanoFicheros();
    LimiteTamanoFicheros(const LimiteTamanoFicheros&) = delete;
    LimiteTamanoFicheros& operator=(const LimiteTamanoFicheros&) = delete;

private:
    unsigned long long anterior_;
    void (*senal_)(int);
};

struct ResultadoCli {
    int codigo = -1;
    std::string salida;
    std::string errores;
};
// Runs tobal31-cli with `args` (the data folder given by the caller with
// --datos when wanted), standard input empty; killed after a minute.
ResultadoCli EjecutaCli(const std::vector<std::string>& args);
// The same with stderr on a terminal (what the tool writes there, as the
// terminal hands it back, in `errores`).
ResultadoCli EjecutaCliEnTerminal(const fs::path& datos, std::vector<std::string> args);
ResultadoCli Ejecuta(const std::vector<std::string>& args, bool terminal);
// tobal31-cli started in the background (stderr on `terminal` when given).
class CliEnMarcha {
public:
    explicit CliEnMarcha(const std::vector<std::string>& args, int terminal = -1);
    ~CliEnMarcha();
    CliEnMarcha(const CliEnMarcha&) = delete;
    CliEnMarcha& operator=(const CliEnMarcha&) = delete;
    pid_t pid() const { return pid_; }
    // Waits for its end (exit code, or 128 + the signal that ended it);
    // kills it after a minute.
    ResultadoCli Espera();

private:
    std::unique_ptr<CarpetaTemporal> tmp_;
    pid_t pid_ = -1;
};
// Runs tobal31-cli --datos `datos` with `args` followed by `mas`.
ResultadoCli EjecutaCliEn(const fs::path& datos, std::vector<std::string> args,
                          const std::vector<std::string>& mas = {});
// The standard output of a shell command line (its stderr dropped).
std::string Orden(const std::string& linea);

// A usage error: exit 2, nothing on stdout, one line on stderr naming the tool.
::testing::AssertionResult ErrorDeUso(const ResultadoCli& r);
// `texto` holds `parte` (the whole text is shown when it does not).
::testing::AssertionResult Contiene(const std::string& texto, const std::string& parte);

}  // namespace tobal::prueba
