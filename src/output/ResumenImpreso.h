#pragma once
// The printed summary of a stored reduction: heading, the base quiniela
// match by match, method and figures; as many copies as asked, one job.

#include <string>
#include <vector>

#include "output/Relacion.h"

namespace tobal {

struct Estado;
class Impresora;

// The lines of one copy below its bold heading (Windows-1252), empty lines
// included: the column headings and the matches; the method and figures.
std::vector<std::string> LineasPartidosResumen(const Estado& st);
std::vector<std::string> LineasCifrasResumen(const Estado& st);
// The reduction's conditions (CondicionesActuales) after the figures: one
// line each, then the failures allowed; none without conditions.
std::vector<std::string> LineasCondicionesResumen(const Estado& st);

// Prints Copias copies of the summary of ReduccionActual. Returns the
// number of copies printed.
int ImprimeResumenReduccion(Estado& st, Impresora& imp, const Listado& l, const ControlImpresion& ctl);

}  // namespace tobal
