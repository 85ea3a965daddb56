#pragma once
// EQUIPOS.TBX: the list of team names, one a line.

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

// Writes the names trimmed, one a line, replacing the file. Error number.
int GrabaEquipos(const Estado& st, const std::vector<std::string>& equipos);

}  // namespace tobal
