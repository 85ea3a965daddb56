#pragma once
// The checks the reduce button makes before a run, in its order, with the
// program's own titles and texts (UTF-8).

#include <optional>
#include <string>

#include "app/Estado.h"

namespace tobal {

struct Aviso {
    std::string titulo;
    std::string texto;
};

// The first check that fails for st.ReduccionActual, whose statistics
// (st.Esta) are up to date, or nothing when the reduction may run. The
// existence of an earlier reduction is asked apart (AvisoReduccionExiste).
std::optional<Aviso> ComprobacionesReducir(const Estado& st);

// The question shown when a reduction of that matchday and order exists;
// the run goes on only when the user answers "Reducir".
Aviso AvisoReduccionExiste();

}  // namespace tobal
