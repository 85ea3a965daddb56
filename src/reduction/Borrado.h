#pragma once
// Deletion of everything stored for a range of matchdays.

#include <string>
#include <vector>

namespace tobal {

struct Estado;

inline constexpr const char* kTituloBorrado = "BORRADO DE DATOS";

// The confirmation text for the range (UTF-8).
std::string TextoConfirmacionBorrado(int desde, int hasta);

// What a deletion did: the columns files deleted, and one line (UTF-8) for
// every step that failed, empty when all went well.
struct ResultadoBorrado {
    int ficheros = 0;
    std::vector<std::string> fallos;
};
inline constexpr const char* kTituloBorradoIncompleto = "BORRADO INCOMPLETO";

// Blanks the matchday records, frees every index record of orders 1-30 and
// deletes the columns files "REDjj*.TBX" of each matchday in the range. A
// failed step does not stop the others; it is told in the result. A
// matchday without columns files or without records is no failure.
ResultadoBorrado BorraJornadas(Estado& st, int desde, int hasta);

}  // namespace tobal
