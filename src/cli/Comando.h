#pragma once
// The command-line tool's commands: each lives in its own file and
// registers itself with REGISTRA_COMANDO.
//
// Exit codes: 0 done, 1 refused (the program's own title and text on
// stderr), 2 usage error (one clear line on stderr).

#include <signal.h>

#include <atomic>
#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Cerrojo.h"
#include "app/Estado.h"
#include "app/Informador.h"

namespace tobal::cli {

inline constexpr int kSalidaBien = 0;
inline constexpr int kSalidaRechazo = 1;
inline constexpr int kSalidaUso = 2;

// A usage error: main prints "tobal31-cli COMANDO: " + what() and exits 2.
struct ErrorUso : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// File-error reports go to stderr, in UTF-8.
class InformadorConsola : public Informador {
public:
    void ErrorFichero(const std::string& texto) override;
};

struct Contexto {
    Estado& st;
    std::ostream& out;
    std::ostream& err;
    // The settings are already in `st` when a command starts (read without
    // messages and without creating anything, so that the arguments can be
    // checked against them). A command calls this once its arguments are
    // good: it reads DATOSGEN.TBX as the program does, creating it when
    // missing and reporting what is wrong with it.
    void CargaDatosGenerales();
};

struct Comando {
    std::string nombre;
    std::string resumen;  // one line for the tool's --help
    std::string ayuda;    // the command's --help text
    std::function<int(Contexto&, std::vector<std::string>&)> ejecuta;
};

std::vector<Comando>& Comandos();

struct Registro {
    explicit Registro(Comando c) { Comandos().push_back(std::move(c)); }
};

#define TOBAL31_CONCAT2(a, b) a##b
#define TOBAL31_CONCAT(a, b) TOBAL31_CONCAT2(a, b)
#define REGISTRA_COMANDO(...) \
    static ::tobal::cli::Registro TOBAL31_CONCAT(registro_, __LINE__){::tobal::cli::Comando{__VA_ARGS__}};

// Argument helpers. Each removes what it takes from `args`.
// An option with a value ("--jornada 12"); nullopt when absent.
std::optional<std::string> TomaOpcion(std::vector<std::string>& args, const std::string& nombre);
// Every occurrence of an option with `n` values.
std::vector<std::vector<std::string>> TomaOpcionMultiple(std::vector<std::string>& args,
                                                         const std::string& nombre, int n);
// A flag ("--reemplazar").
bool TomaBandera(std::vector<std::string>& args, const std::string& nombre);
// An integer within [min, max]; a usage error naming `que` otherwise.
int Entero(const std::string& texto, int min, int max, const std::string& que);
// A required option holding an integer within [min, max].
int OpcionEntera(std::vector<std::string>& args, const std::string& nombre, int min, int max);
// The stored reduction named by the required options --jornada (1 to the
// settings' TotJornadas) and --orden (1 to 30).
struct ClaveReduccionCli {
    int jornada = 0;
    int orden = 0;
};
ClaveReduccionCli OpcionesReduccion(const Estado& st, std::vector<std::string>& args);
// The conditions of --condicion TEXTO (repeatable, in the notation of a
// conditions file) and --fallos K (0 to the number of conditions; only
// with some condition); none when neither is given.
Condiciones OpcionesCondiciones(std::vector<std::string>& args);
// The title of the refusal of conditions by the direct method.
inline constexpr const char* kTituloCondicionesRechazadas = "CONDICIONES NO ADMITIDAS";
// The help of --condicion and --fallos, shared by the commands that take them.
#define AYUDA_CONDICIONES                                                                        \
    "--condicion TEXTO (se puede repetir): una condición que deben cumplir las columnas,\n"     \
    "MEDIDA MIN-MAX [partidos GRUPO]; MEDIDA es 1, X, 2 (cuántos signos de ese tipo),\n"        \
    "variantes (X o 2), interrupciones (cambios de signo) o seguidos (la racha más larga);\n"  \
    "GRUPO, partidos del 1 al 14 (1-7, 1,3,5-9), todos si no se da. Ejemplos: \"X 2-5\",\n"   \
    "\"2 0-3 partidos 1-7\", \"seguidos 1-4\". --fallos K: condiciones que una columna puede\n" \
    "no cumplir (0 si no se da; solo con alguna --condicion).\n"
// Fails with a usage error when arguments remain.
void SinMasArgumentos(const std::vector<std::string>& args);

// A team name given in UTF-8, as the files hold it: Windows-1252, blanks
// at both ends removed. A usage error when a character has no byte there.
std::string NombreCp1252(const std::string& utf8);
// A text as a one-line message can show it: control characters written as
// \n, \r, \t or \xNN.
std::string Visible(std::string_view texto);
// "1 equipo", "3 equipos": a count with its noun.
std::string Cuenta(long long n, const std::string& singular, const std::string& plural);

// Takes the data folder's lock into `cerrojo` for a change that reads and
// writes back; when another writer keeps it, says so and that `sinCambios`,
// and returns false.
bool TomaCarpeta(Contexto& cx, std::optional<Cerrojo>& cerrojo, const std::string& sinCambios);

// Prints a refusal: title line, then text, on stderr; returns 1.
int Rechaza(Contexto& cx, const std::string& titulo, const std::string& texto);

// Reads record st.Jornada() of JORNADAS.TBX as LeeJornada does; when it
// cannot be read prints the refusal "ERROR EN LA JORNADA" and returns false.
bool LeeJornadaElegida(Contexto& cx);

// Makes (jornada, orden) the current reduction as a screen does when one is
// chosen: reads its matchday record and loads the reduction. When there is
// no such reduction, or its files cannot be read, prints the refusal
// "ERROR EN JORNADA/ORDEN", pointing at the index, and returns false.
bool EligeReduccion(Contexto& cx, int jornada, int orden);

// The progress bar of a long run on a terminal: `linea`, then 20 cells
// filled by `porcentaje`, redrawn in place.
void BarraProgreso(std::ostream& err, int porcentaje, const std::string& linea);

// Lines of label and value (UTF-8), the values lined up after dotted labels
// ("Importe reducidas.....: 9.00"); a line without a value is written as is.
void EscribeFiguras(std::ostream& os, const std::vector<std::pair<std::string, std::string>>& figuras);

// While it lives, Ctrl+C and a request to end (kill, a closed terminal)
// set a flag that a long run tests to cancel and clean up, instead of
// killing the tool half way through.
class InterrupcionCtrlC {
public:
    InterrupcionCtrlC();
    ~InterrupcionCtrlC();
    InterrupcionCtrlC(const InterrupcionCtrlC&) = delete;
    InterrupcionCtrlC& operator=(const InterrupcionCtrlC&) = delete;
    const std::atomic<bool>* bandera() const;

private:
    struct sigaction anteriores_[3];
};

// Writes Windows-1252 bytes as UTF-8 text.
std::string AUtf8(const std::string& cp1252);

}  // namespace tobal::cli
