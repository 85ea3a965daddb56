#pragma once
// The bets file "AD243" for magnetic validation: every column of the
// current reduction, eight to a ticket, in fixed records of 123 characters
// and CR LF. One header record opens each volume (diskette); a volume holds
// at most 11,650 tickets and the ticket numbers run on across volumes.
//
// Header (CabeceraDisco): "C", volume in 2, "243", matchday in 2, date as
// ddmmyy, delegation (2), receiver (5), columns in 6, volumes in 2, tickets
// in 6, check digit in 2, blanks to 123.
// Ticket (BoletoDisco): "D", ticket number in 8, columns on the ticket (1),
// eight slots of 14 signs (matches 1 to 14), the 15th sign of the ticket's
// first column at 123.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "output/Relacion.h"

namespace tobal {

struct Estado;

inline constexpr int kLongRegistroDisco = 123;
inline constexpr int kBoletosPorDisco = 11650;
inline constexpr int64_t kMaxColumnasDisco = 999999;  // the header's 6-digit field
inline constexpr const char* kFicheroDisco = "AD243";

// (d1 + 2 d2 + 3 r1 + 4 r2 + 5 r3 + 6 r4 + 7 r5) mod 11 over the digits of
// the delegation and the receiver; a character that is not a digit counts 0.
int DigitoControl(std::string_view delegacion, std::string_view receptor);

// The values every header of a run carries.
struct DatosDisco {
    int jornada = 0;
    std::string fecha;       // "dd/mm/yy"
    std::string delegacion;  // 2 characters
    std::string receptor;    // 5 characters
    int64_t columnas = 0;    // after doubling a lone last column
    int64_t boletos = 0;
    int discos = 0;
    int digito = 0;
    bool ultimoIncompleto = false;  // the last ticket has one column, copied into slot 2
};

// The run's values for a reduction of `columnas` columns.
DatosDisco CalculaDatosDisco(int64_t columnas, int jornada, std::string_view fecha,
                             std::string_view delegacion, std::string_view receptor);

// The record of ticket number `boleto` holding `columnas` (1 to 8 columns
// of 15 signs), 123 characters: "D", the number in 8 digits, how many
// columns it holds, the first 14 signs of each column in its slot of 14
// (blank slots after the last), and the 15th sign of its first column. With
// `duplica`, a ticket of one column holds it twice and says 2.
std::string RegistroBoletoDisco(int64_t boleto, const std::vector<std::string>& columnas, bool duplica);

// The header record of a volume, 123 characters.
std::string CabeceraDisco(const DatosDisco& d, int volumen);

// Where the file goes. `unidad` is the drive as the user sees it; the file
// is carpeta/AD243. A screen asks for a new diskette and writes every volume
// to that same file; the command-line tool sets `volumenesAparte` and
// writes volume n >= 2 as carpeta/AD243.nn beside the first.
struct DestinoDisco {
    std::string unidad;  // UTF-8
    std::filesystem::path carpeta;
    bool volumenesAparte = false;
};
std::filesystem::path RutaVolumen(const DestinoDisco& destino, int volumen);

// What the copy asks and tells the user. Texts are UTF-8.
class DialogoDisco {
public:
    virtual ~DialogoDisco() = default;
    // "NO HAY DISCO": the message window with its Copiar button. True when
    // the user pressed Copiar (try again), false when the user left it.
    virtual bool PideDisco(const std::string& titulo, const std::string& texto) = 0;
    // The message window with only its exit button: "ÚLTIMO BOLETO
    // INCOMPLETO", "DISCO COMPLETO" (returns once the diskette is changed)
    // and the error that stops a copy.
    virtual void Mensaje(const std::string& titulo, const std::string& texto) = 0;
    // A line on the progress panel.
    virtual void Panel(const std::string& texto) = 0;
    // The percentage copied; by default its panel line.
    virtual void Progreso(int porcentaje, const std::string& texto) { Panel(texto); }
    // Called after every column: lets the screen run pending events; true
    // once the user pressed Cancelar.
    virtual bool Cancelado() { return false; }
};

enum class FinCopia {
    Copiado,      // every volume written
    Cancelado,    // by the user (Cancelar, or leaving "NO HAY DISCO"); the file is deleted
    SinColumnas,  // the columns file could not be opened: nothing done
    Error,        // refused or failed with a message; no file of the run is left
};

struct ResultadoCopia {
    FinCopia fin = FinCopia::SinColumnas;
    int error = 0;  // error number of the failed file operation, 0 when none
    DatosDisco datos;
    std::vector<std::filesystem::path> ficheros;  // the volumes written, in order
};

inline constexpr const char* kTituloNoHayDisco = "NO HAY DISCO";
// Under the title kTituloUltimoIncompleto.
inline constexpr const char* kTextoDiscoIncompleto =
    "Con esta reducción, el último boleto sólo contiene una columna. Como cada boleto debe tener "
    "dos columnas como mínimo,  se duplicará la última columna y,  por lo tanto, aumentará en una "
    "el número total de columnas incluidas en el disco.";
inline constexpr const char* kTituloDiscoCompleto = "DISCO COMPLETO";
inline constexpr const char* kTituloErrorCopia = "ERROR EN LA COPIA A DISCO";
inline constexpr const char* kTextoCopiaCancelada = "   Se ha cancelado la operación de copiado";

std::string TextoNoHayDisco(const std::string& unidad);
std::string TextoDiscoCompleto(int volumen);  // the volume that starts

// The whole copy (CopiaDisco) of the reduction st.Jornada() / st.Orden()
// with st.Datos' date, delegation and receiver. The columns file is read
// twice: first to count and check its columns, so that the headers tell what
// the file holds and a damaged column never reaches the bets file.
// Once the columns file has been read, any earlier "AD243" (and, with
// volumenesAparte, its volumes "AD243.nn") at the destination is deleted,
// also when the copy is then refused.
ResultadoCopia CopiaDisco(Estado& st, const DestinoDisco& destino, DialogoDisco& dialogo);

}  // namespace tobal
