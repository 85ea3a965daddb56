#pragma once
// Deletion of everything stored for a range of matchdays.

#include <filesystem>
#include <string>
#include <vector>

namespace tobal {

struct Estado;

inline constexpr const char* kTituloBorrado = "BORRADO DE DATOS";

// The confirmation text for the range (UTF-8).
std::string TextoConfirmacionBorrado(int desde, int hasta);

// What a deletion did: the columns files deleted (conditions files are not
// counted), and one line (UTF-8) for
// every step that failed, empty when all went well.
struct ResultadoBorrado {
    int ficheros = 0;
    std::vector<std::string> fallos;
};
inline constexpr const char* kTituloBorradoIncompleto = "BORRADO INCOMPLETO";

// Blanks the matchday records, frees every index record of orders 1-30 and
// deletes the columns files "REDjjoo.TBX" and conditions files "REDjjoo.CON"
// of each matchday in the range that no record names any longer. A failed step does not stop the others; it is
// told in the result, but the columns files stay when their records could
// not be freed. A matchday without columns files or without records is no
// failure. A deletion cut short (kill -9) leaves a note that the next use of
// the folder finishes (LimpiaTemporales).
ResultadoBorrado BorraJornadas(Estado& st, int desde, int hasta);

// The note of a deletion in progress: the names of its columns and
// conditions files.
inline constexpr const char* kFinBorrado = ".del~";
// Finishes the deletion of note `nota` (a file name in the data folder) a
// dead process left: its files that no record names go, then the note.
// Under the folder's lock.
void AcabaBorrado(const Estado& st, const std::string& nota);

// For tests: called at each step of a deletion, "liberar" before the index
// records are freed and a file's name before it is deleted, so that a test
// can stop the process there.
extern void (*gPasoBorrado)(const std::string& paso);

}  // namespace tobal
