#pragma once
// Deletion of everything stored for a range of matchdays.

#include <string>

namespace tobal {

struct Estado;

inline constexpr const char* kTituloBorrado = "BORRADO DE DATOS";

// The confirmation text for the range (UTF-8).
std::string TextoConfirmacionBorrado(int desde, int hasta);

// Blanks the matchday records, frees every index record of orders 1-30 and
// deletes the columns files "REDjj*.TBX" of each matchday in the range.
// Single failures are skipped. Returns the number of columns files deleted.
int BorraJornadas(Estado& st, int desde, int hasta);

}  // namespace tobal
