#pragma once
// JORNADAS.TBX: one 533-byte record per matchday, record N = matchday N.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tobal {

struct Estado;

inline constexpr int kPosResultados = 464;  // 1-based
inline constexpr int kPosPremios = 479;
inline constexpr int kAnchoEquipo = 15;

// "     00/00/00" followed by 520 blanks.
std::string RegistroJornadaVacio();

// True when `reg` starts with "Jor" and `jornada` in two digits (any case).
bool RegistroJornadaEnUso(std::string_view reg, int jornada);

// Reads record st.Jornada() into st.RegJornada (the empty record when it is
// not in use or cannot be read) and sets FechaJornada. A missing file is
// created empty. Errors: LJO texts.
void LeeJornada(Estado& st);

// Reads record `jornada` without reporting anything and without touching
// the shared state: the empty record when it cannot be read or is unused.
std::string LeeRegistroJornada(const Estado& st, int jornada);

// Writes the whole record `jornada` (533 bytes), as deletion does; a gap
// before it is filled with blank records. Returns the error number.
int GrabaRegistroJornada(const Estado& st, int jornada, std::string_view registro);

// Changes record `jornada` as a read-modify-write under the folder's lock,
// so that what another writer stored in its own fields meanwhile survives:
// `cambia` gets the record as stored (the empty record when unused) and
// changes the fields its writer owns, or returns false to write nothing.
// `registro` receives the record as stored afterwards. Error number.
int CambiaRegistroJornada(const Estado& st, int jornada, const std::function<bool(std::string&)>& cambia,
                          std::string& registro);

// The fields of a record and their writers: the key, the date and the teams
// (positions 1-463) belong to the matchday editor and tobal31-cli jornada;
// the results and prizes (464-533) to scoring. Deletion blanks it all.
enum class CamposJornada { FechaYEquipos, ResultadosYPremios };
bool MismosCampos(std::string_view a, std::string_view b, CamposJornada campos);

struct GrabacionJornada {
    int error = 0;          // error number of reading or writing the file
    bool cambiada = false;  // the stored fields are no longer those read: nothing written
    bool borrada = false;   // the matchday was deleted since it was read: nothing written
    std::string registro;   // the record as stored afterwards
};
// Stores fields `campos` of `nuevo` in record `jornada`, the rest of the
// record as stored; an unused record becomes one in use (key, date
// 00/00/00). `leido` is the record the caller read earlier: a matchday in
// use then and deleted since stays deleted. With `comprueba` (a screen that
// has shown `leido`), stored fields `campos` that differ from its own are
// not overwritten either.
GrabacionJornada GrabaCamposJornada(const Estado& st, int jornada, CamposJornada campos, std::string_view nuevo,
                                    std::string_view leido, bool comprueba);

// What a screen says, in its message window, when the fields `campos` it
// showed changed on disk since it read them: nothing was written.
inline constexpr const char* kTituloJornadaCambiada = "JORNADA CAMBIADA";
std::string TextoJornadaCambiada(int jornada, CamposJornada campos);

// The matchday editor's record: positions 1-463 from the key, the date and
// the 30 names (each trimmed and cut to 15), 464-533 kept from `anterior`.
std::string RegistroEditor(std::string_view anterior, int jornada, std::string_view fecha,
                           const std::array<std::string, 30>& equipos);

// Slot s (1..30) trimmed of blanks; home team of match m is slot 2m-1.
std::string NombreEquipo(std::string_view reg, int slot);
// Slot s as stored: its 15 characters.
std::string SlotEquipo(std::string_view reg, int slot);

// The date validation of the matchday editor: day/month/two-digit year,
// each 1 or 2 digits (a single digit gets a "0" in front), a real calendar
// date. Years 00-29 are 2000-2029, 30-99 are 1930-1999.
bool FechaValida(std::string_view dia, std::string_view mes, std::string_view ano);
// The same for a "DD/MM/AA" text.
bool FechaValida(std::string_view fecha);

inline constexpr const char* kTituloErrorFecha = "ERROR EN LA FECHA";
inline constexpr const char* kTextoErrorFecha =
    "No ha indicado la fecha de la jornada o no es correcta. No se pueden guardar los datos de "
    "la jornada  si  no  se incluye una fecha válida.  Introduzca  un  valor  correcto  antes  de "
    " intentar guardar los datos de la jornada.";

// The items of a matchday selection list: " 1" .. "NN"; and its columns.
std::vector<std::string> ItemsListaJornadas(int totJornadas);
int ColumnasListaJornadas(int totJornadas);

}  // namespace tobal
