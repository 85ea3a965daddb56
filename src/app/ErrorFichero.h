#pragma once
// The common report of a failed file operation: an operation code, the error
// number (the numbering the data files' users expect: 7, 6, 53, 68, 76, ...),
// a fixed text per number. Execution goes on; the caller tests ErrorFichero.

#include <string>
#include <system_error>

namespace tobal {

struct Estado;

// Error numbers.
namespace Err {
inline constexpr int SinMemoria = 7;
inline constexpr int Desbordamiento = 6;  // passed over silently
inline constexpr int TipoIncorrecto = 13;
inline constexpr int NombreIncorrecto = 52;
inline constexpr int NoEncontrado = 53;
inline constexpr int ErrorES = 57;
inline constexpr int DiscoLleno = 61;
inline constexpr int FinDeFichero = 62;
inline constexpr int UnidadNoDisponible = 68;
inline constexpr int PermisoDenegado = 70;
inline constexpr int DiscoNoPreparado = 71;
inline constexpr int AccesoRuta = 75;
inline constexpr int RutaNoEncontrada = 76;
// The folder's lock file (.tobal31.lck) cannot be used: nothing is written.
inline constexpr int CerrojoInutilizable = 77;
}  // namespace Err

// The texts of one guarded operation. An empty codigo is AbreFichero's
// report: messages begin with the file name, 76 has no own text and 53 is
// silent.
struct OperacionFichero {
    std::string codigo;   // "LDG", "LJO", "CLE", "EEB", "LFB", "BRB", or ""
    std::string texto53;  // text for file not found; empty = silent
    std::string texto76;  // text after "XXX ERROR 76: "
};

namespace Op {
extern const OperacionFichero LDG;
extern const OperacionFichero LJO;
extern const OperacionFichero CLE;      // list of teams, editor screen
extern const OperacionFichero CLECrea;  // list of teams, created when missing
extern const OperacionFichero EEB;
extern const OperacionFichero LFB;
extern const OperacionFichero BRB;
OperacionFichero Abre(const std::string& nomFichero);  // AbreFichero
}  // namespace Op

// Maps an operating-system error onto the program's error numbers.
int NumeroError(const std::error_code& ec);
int NumeroErrorErrno(int errnoValor);

// The message for error `numero` of operation `op`; `unidad` fills the
// error-68 text. Empty when the error is reported silently.
std::string TextoErrorFichero(const OperacionFichero& op, int numero, const std::string& unidad = "");

// Why a file could not be written or created, for a message that names the
// file itself: "el disco está lleno", ... (UTF-8).
std::string MotivoError(int numero);

// What error `numero` means, for the text after "ERROR n: " (UTF-8).
std::string DescripcionError(int numero);

// Sets ErrorFichero and shows the message through the state's reporter.
void InformaErrorFichero(Estado& st, const OperacionFichero& op, int numero, const std::string& unidad = "");

}  // namespace tobal
