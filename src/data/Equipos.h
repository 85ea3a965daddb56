#pragma once
// EQUIPOS.TBX: the list of team names, one a line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tobal {

struct Estado;
struct OperacionFichero;

// The items of the file's text: an item ends at a comma or a line end,
// leading blanks skipped, surrounding double quotes removed.
std::vector<std::string> ItemsEquipos(std::string_view contenido);

// Reads the list; on failure reports with `op`, sets ErrorFichero and leaves
// `equipos` with what was read.
void LeeEquipos(Estado& st, std::vector<std::string>& equipos, const OperacionFichero& op);

// The team screen's load: as LeeEquipos, creating an empty file (after the
// two-line message) when there is none.
void CargaLisEquipos(Estado& st, std::vector<std::string>& equipos);

// A name is at most this many characters, the width of a team slot of a
// matchday record.
inline constexpr size_t kLongNombreEquipo = 15;

// What keeps a team name (Windows-1252), of the list or of a match, out of
// the files, or "": a line break or another control character, which would
// split the list's line or hide in the matchday record, or a comma or a
// double quote, which the list's reader takes as the end of a name or drops.
std::string ProblemaCaracteresNombre(std::string_view nombre);

// What keeps a new name (Windows-1252, trimmed) out of the list, or "" when
// it can go in: empty, longer than kLongNombreEquipo, or a character above.
std::string ProblemaNombreEquipo(std::string_view nombre);

// Writes the names trimmed, one a line, replacing the file. Error number.
int GrabaEquipos(const Estado& st, const std::vector<std::string>& equipos);

}  // namespace tobal
