#pragma once
// The reduction store: BASES.TBX (one 130-character record per reduction,
// CR LF, rewritten in place as 132-byte records) and one columns file per
// reduction ("RED" + matchday + order + ".TBX", 19-byte lines).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ErrorFichero.h"
#include "app/Estado.h"

namespace tobal {

inline constexpr int kLongRegistroBase = 130;
inline constexpr int kLongLineaBase = 132;
inline constexpr int kLongLineaColumna = 19;
inline constexpr const char* kFicheroBases = "BASES.TBX";

// "RED0101.TBX" for matchday 1, order 1.
std::string FicheroRed(int jornada, int orden);

// The 130-character record of a reduction.
std::string RegistroBase(const Reduccion& r);
// "0000" followed by 126 blanks.
std::string RegistroLibre();
// Decodes a record. nullopt when a field that must hold digits does not;
// a short line is taken as padded with blanks, a long one cut to 130.
std::optional<Reduccion> DecodificaRegistroBase(std::string_view linea);
// The key of a line ("0302"): its first 4 characters, padded.
std::string ClaveRegistro(std::string_view linea);
// The matchday and order of a line whose key is four digits; false for a
// key that is not (a damaged line cannot name a reduction).
bool LeeClave(std::string_view linea, int& jornada, int& orden);
// The lines of BASES.TBX's text, each padded or cut to 130 characters.
std::vector<std::string> LineasBases(std::string_view contenido);

// Lookup: true when a record of (jornada, orden) exists; sets NumRegistro
// to it, or to the number of records read. (0, 0) finds the first free
// slot. Errors: EEB texts; a missing file answers false.
bool ExisteReduccion(Estado& st, int jornada, int orden);

// Loads the record of ReduccionActual's Jornada and Orden, or the defaults
// (every match a single "1", bets 1) when there is none. Metodo is kept
// when there is none. Errors: LFB texts. CondicionesActuales gets the
// conditions file of the record, none without one or without a record.
// A conditions file that does not read is reported (its name and line) and
// leaves ErrorFichero set and no conditions: the record is loaded, so that
// it can be run again, but the reduction is not to be used as stored, and
// CompruebaColumnasReduccion refuses its columns with the same text.
void CargaReduccion(Estado& st);

// Why the conditions file of (jornada, orden) cannot be used: `error` from
// LeeCondicionesReduccion, `fallo` its text for a damaged file.
std::string TextoCondicionesIlegibles(int jornada, int orden, int error, const std::string& fallo);

// Frees every record of (jornada, orden). Leaves the columns and conditions
// files alone. Errors: BRB texts.
void BorraReduccion(Estado& st, int jornada, int orden);

// Frees, in one pass and without any message, every record of the
// matchdays `desde` to `hasta` and orders 1 to 30. Returns how many.
// `error` (when given) receives the error number, 0 also when there is no
// BASES.TBX.
int LiberaReducciones(Estado& st, int desde, int hasta, int* error = nullptr);

// The keys (jornada * 100 + orden) of every record of BASES.TBX: the error
// number, 0 also when there is no BASES.TBX (no records).
int ClavesGuardadas(const Estado& st, std::vector<int>& claves);

// Clears the parameters the method does not use (in ReduccionActual too)
// and writes its record: in place over the same key, else into the first
// free slot, else appended. Returns the error number (0 on success; 52 for
// a matchday or order outside 1-99 or a method outside 1-3); it reports
// nothing itself.
int GrabaReduccion(Estado& st);

// The record GrabaReduccion would write for `r`, whose unused parameters it
// clears; the error number (52 as above).
int PreparaRegistro(Reduccion& r, std::string& registro);

// Puts the complete, synced columns file FicheroRed + `id` + kFinTemporal of
// ReduccionActual in place and writes its record (as GrabaReduccion), so
// that a crash at any moment leaves the folder with either the earlier pair
// of record and columns file or the new pair: a note of the new record is
// written first, the old columns file kept under a second name, the columns
// renamed into place, the record written, the note and the old file removed.
// The conditions file (FicheroCon) goes with the columns: the one of
// CondicionesActuales is written before the note, which says there is one,
// an earlier one kept under a second name, and it is renamed into place (or
// the earlier one removed, for a reduction without conditions) once the
// columns are. A note left by a crash is finished or undone by
// LimpiaTemporales. On failure the earlier pair is put back. Returns the
// error number.
int InstalaReduccion(Estado& st, const std::string& id);

// For tests: called at each step of InstalaReduccion ("nota" once the note
// is written, "columnas" once the columns are in place, "condiciones" once
// the conditions file is, "registro" once the record is), so that a test
// can stop the process there; TOBAL31_PARADA stops it there too.
extern void (*gPasoInstalacion)(const std::string& paso);

// Removes the temporary files of runs and rewrites that are no longer alive
// (their owner ended, even by kill -9) and finishes or undoes a change of a
// reduction or a deletion a crash interrupted. Never touches a live run's files. Quiet.
void LimpiaTemporales(const Estado& st);

// A columns file is made of 19-byte records: a quote, 15 signs among "1",
// "X" and "2", a quote, CR LF. Anything else (a short, long or cut line,
// another character) is damage, and a damaged file is used for nothing.
bool RegistroColumnaValido(std::string_view registro);
// How many of the `registros` records at `p` are good before the first one
// that is not; checked several at a time where the processor allows.
size_t RegistrosValidos(const char* p, size_t registros);
// For checks with vector instructions: a byte is one of the signs 1, X, 2
// exactly when it equals the entry of kTablaSignos at its low four bits (the
// other entries match no byte with those bits, and a byte with the high bit
// set looks up 0); bytes 16-19 from a good record's start (its closing
// quote, CR, LF and the next record's opening quote) read as kJuntaColumnas
// on a little-endian processor.
alignas(16) inline constexpr char kTablaSignos[16] = {1, '1', '2', 0, 0, 0, 0, 0, 'X', 0, 0, 0, 0, 0, 0, 0};
inline constexpr uint32_t kJuntaColumnas = 0x220A0D22u;
// The error number of a damaged columns file.
inline constexpr int kErrorColumnasDanadas = Err::TipoIncorrecto;
// The message that refuses a damaged columns file, naming its first bad
// column (1-based).
std::string TextoColumnasDanadas(const std::string& nomFichero, int64_t columna);

// Reader of a columns file: one column at a time, its 15 signs.
class LectorColumnas {
public:
    LectorColumnas();
    ~LectorColumnas();
    LectorColumnas(const LectorColumnas&) = delete;
    LectorColumnas& operator=(const LectorColumnas&) = delete;
    // Opens the file at column `desde` (1-based). Returns the error number.
    int Abre(const std::filesystem::path& ruta, int64_t desde = 1);
    // False at the end of the file, after a read error or at the first
    // damaged record (see Error() and ColumnaDanada()).
    bool Siguiente(std::string_view& columna);
    int Error() const { return error_; }
    // The number of the damaged column met, 0 when none.
    int64_t ColumnaDanada() const { return danada_; }

private:
    bool Rellena();
    struct Impl;
    Impl* impl_;
    int error_ = 0;
    int64_t danada_ = 0;
};

// Reads the whole columns file: the error number (kErrorColumnasDanadas for
// damage, with `danada` the first bad column) and the number of columns.
int CompruebaColumnas(const std::filesystem::path& ruta, int64_t& columnas, int64_t& danada);

// The message that refuses a columns file of `columnas` whole records whose
// record in BASES.TBX announces `anunciadas`.
std::string TextoCuentaColumnas(const std::string& nomFichero, int64_t columnas, int64_t anunciadas);

// Checks the columns file of reduction (jornada, orden) against its record
// in BASES.TBX before any reader uses it, in one pass (and, with a record,
// that its conditions file, if any, reads): every record whole,
// in matches 1 to 14 only signs the base marks, and as many columns as the
// record announces. Returns 0 when it may be used (without a record there is
// nothing to compare but the records themselves), else the error number
// with `texto` the message that refuses it; `texto` stays empty for a file
// that cannot be opened or read, which the reader reports as its own.
// `columnas` (when given) receives the columns counted.
int CompruebaColumnasReduccion(const Estado& st, int jornada, int orden, std::string& texto,
                               int64_t* columnas = nullptr);

// A column as its 19-byte line: quote, 15 signs, quote, CR LF.
inline std::string LineaColumna(std::string_view col15) {
    std::string s;
    s.reserve(kLongLineaColumna);
    s += '"';
    s.append(col15.substr(0, 15));
    s += "\"\r\n";
    return s;
}

}  // namespace tobal
