#pragma once
// Test support: temporary data folders, stored reductions, tobal31-cli run
// as a child process, full disks and raw file bytes.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "app/Estado.h"
#include "app/Informador.h"

namespace tobal::prueba {

namespace fs = std::filesystem;

// A fresh temporary folder, removed with its content when the object goes.
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

// A state over a temporary folder, its file-error messages recorded.
struct EstadoPrueba {
    EstadoPrueba();
    CarpetaTemporal carpeta;
    InformadorGrabador mensajes;
    Estado st;
    fs::path dir() const { return carpeta.ruta(); }
};

// Raw bytes of a file ("" when it cannot be read).
std::string Bytes(const fs::path& ruta);
void EscribeBytes(const fs::path& ruta, const std::string& datos);

// Column n: match m carries "1X2"[(n + m) % 3], so neighbours differ everywhere.
std::string ColumnaPrueba(int n);
// The bytes of a columns file (REDjjoo.TBX) holding `columnas`.
std::string FicheroColumnas(const std::vector<std::string>& columnas);
// Damaged records of a columns file; FicheroConColumnaDanada puts one as
// column 3 of four (the cut one last).
struct ColumnaDanada {
    std::string que;
    std::string bytes;
};
const std::vector<ColumnaDanada>& ColumnasDanadas();
std::string FicheroConColumnaDanada(const ColumnaDanada& d);
// Stores reduction (jornada, orden) with its columns file as the current one.
void GrabaReduccionConColumnas(Estado& st, int jornada, int orden, const std::vector<std::string>& columnas);
// The same with columns ColumnaPrueba(1..columnas).
void GrabaReduccionPrueba(Estado& st, int jornada, int orden, int columnas);

// The files of `dir`, sorted, without hidden ones (the lock file).
std::vector<std::string> Ficheros(const fs::path& dir);
// Each of those files with its bytes.
std::map<std::string, std::string> Contenido(const fs::path& dir);

// A random base quiniela with `triples` and `dobles` reduced, `libres`
// unreduced multiples, and parameters that pass the reduce button's checks.
void BaseAleatoria(std::mt19937& g, Reduccion& r, int metodo, int triples, int dobles, int libres);

// A matchday record as the editor builds it, with a result and prizes.
std::string RegistroJornadaPrueba(int jornada, const std::string& fecha);

bool EsRoot();
// Runs `cuerpo` in a child process, whose failures fail the calling test.
void EnHijo(const std::function<void()>& cuerpo);
// Runs `cuerpo` as nobody when root, so that permissions are enforced.
void ComoUsuarioSinPrivilegios(const std::function<void()>& cuerpo);

// A tmpfs of `bytes` (root only).
class DiscoPequeno {
public:
    explicit DiscoPequeno(size_t bytes);
    ~DiscoPequeno();
    DiscoPequeno(const DiscoPequeno&) = delete;
    DiscoPequeno& operator=(const DiscoPequeno&) = delete;
    bool Montado() const { return montado_; }
    const fs::path& ruta() const { return carpeta_.ruta(); }
    fs::path operator/(const std::string& nombre) const { return carpeta_ / nombre; }
    void Llena();        // fills it up with one file
    bool SoloLectura();  // mounts it again read-only

private:
    CarpetaTemporal carpeta_;
    bool montado_ = false;
};

// While alive, no file this process or its children write grows past `bytes`.
class LimiteTamanoFicheros {
public:
    explicit LimiteTamanoFicheros(size_t bytes);
    ~LimiteTamanoFicheros();
    LimiteTamanoFicheros(const LimiteTamanoFicheros&) = delete;
    LimiteTamanoFicheros& operator=(const LimiteTamanoFicheros&) = delete;

private:
    rlimit anterior_;
    void (*senal_)(int);
};

struct ResultadoCli {
    int codigo = -1;
    std::string salida;
    std::string errores;
};
// Runs tobal31-cli with `args`, standard input empty; killed after a minute.
ResultadoCli EjecutaCli(const std::vector<std::string>& args);
// tobal31-cli started in the background; Espera() gives its exit code, or
// 128 + the signal that ended it. `parada` names the step where the run
// stops itself until Continua().
class CliEnMarcha {
public:
    explicit CliEnMarcha(std::vector<std::string> args, const std::string& parada = {});
    ~CliEnMarcha();
    CliEnMarcha(const CliEnMarcha&) = delete;
    CliEnMarcha& operator=(const CliEnMarcha&) = delete;
    pid_t pid() const { return pid_; }
    ResultadoCli Espera();
    // Waits (up to ten seconds) until the run stops at its step: false when
    // it ended or did not get there.
    bool EsperaParada();
    void Continua();

private:
    CarpetaTemporal tmp_;
    pid_t pid_ = -1;
    int estado_ = -1;  // how it ended, once EsperaParada saw it end
};
// Runs tobal31-cli --datos `datos` with `args` followed by `mas`.
ResultadoCli EjecutaCliEn(const fs::path& datos, std::vector<std::string> args,
                          const std::vector<std::string>& mas = {});
// The standard output of a shell command line.
std::string Orden(const std::string& linea);

// Exit 2, nothing on stdout, one line on stderr naming the tool.
::testing::AssertionResult ErrorDeUso(const ResultadoCli& r);
::testing::AssertionResult Contiene(const std::string& texto, const std::string& parte);

}  // namespace tobal::prueba
