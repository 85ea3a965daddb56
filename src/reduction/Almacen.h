#pragma once
// The reduction store: BASES.TBX (one 130-character record per reduction,
// CR LF, rewritten in place as 132-byte records) and one columns file per
// reduction ("RED" + matchday + order + ".TBX", 19-byte lines).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// when there is none. Errors: LFB texts.
void CargaReduccion(Estado& st);

// Frees every record of (jornada, orden). Leaves the columns file alone.
// Errors: BRB texts.
void BorraReduccion(Estado& st, int jornada, int orden);

// Frees, in one pass and without any message, every record of the
// matchdays `desde` to `hasta` and orders 1 to 30. Returns how many.
int LiberaReducciones(Estado& st, int desde, int hasta);

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
// A note left by a crash is finished or undone by LimpiaTemporales. On
// failure the earlier pair is put back. Returns the error number.
int InstalaReduccion(Estado& st, const std::string& id);

// Removes the temporary files of runs and rewrites that are no longer alive
// (their owner ended, even by kill -9) and finishes or undoes a change of a
// reduction a crash interrupted. Never touches a live run's files. Quiet.
void LimpiaTemporales(const Estado& st);

// Reader of a columns file: one line at a time, the text between the
// quotes (or the whole line when it has none), CR and LF removed.
class LectorColumnas {
public:
    LectorColumnas();
    ~LectorColumnas();
    LectorColumnas(const LectorColumnas&) = delete;
    LectorColumnas& operator=(const LectorColumnas&) = delete;
    // Returns the error number.
    int Abre(const std::filesystem::path& ruta);
    // False at the end of the file (or after a read error: see Error()).
    bool Siguiente(std::string_view& columna);
    int Error() const { return error_; }

private:
    bool Rellena();
    struct Impl;
    Impl* impl_;
    int error_ = 0;
};

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
