#pragma once
// The statistics of the current base quiniela and its reduction: counts of
// doubles and triples, direct and reduced bets, amounts, factor and
// probabilities, and the 13 lines the reduction screen shows. Everything is
// counted by formulas: it runs after every click on the screen.

#include <array>
#include <cstdint>
#include <vector>

#include "app/Estado.h"
#include "app/Formato.h"
#include "reduction/Resumen.h"

namespace tobal {

using LineaEstadistica = LineaResumen;

// The line added after the others when the reduction has conditions: the
// results inside the base quiniela that meet them (CuentaCumplen).
inline constexpr const char* kCumplenCondiciones = "Cumplen condiciones";

struct ResultadoEstadistica {
    // Label (UTF-8, without the colon) and formatted value, in screen order:
    // 13 lines for the direct method, 12 for the others. With conditions
    // (st.CondicionesActuales), the direct method's full development shows
    // "Posibil. cubiertas" instead of its two probabilities, and every
    // method one more line, kCumplenCondiciones.
    std::vector<LineaEstadistica> lineas;
    // Parameters lowered to what the base quiniela allows; their boxes and
    // lists must be redrawn.
    bool bajaMinErrores = false;
    bool bajaMaxErrores = false;
    std::array<bool, 4> bajaSignos{false, false, false, false};  // [1..3]
};

// Recomputes st.Esta and the bet counts of st.ReduccionActual (with
// conditions, the columns the run writes: CuentaConCondiciones,
// CuentaMinimaCondiciones), lowers the
// parameters the base quiniela cannot meet (method 2: MinErrores and
// MaxErrores to MultiplesReducir; method 3: each Signos to its Disponibles)
// and returns the lines to show. A value whose divisor is 0 is left empty.
ResultadoEstadistica CalculaEstadistica(Estado& st);
ResultadoEstadistica CalculaEstadistica(Estado& st, Separadores sep);

// The binomial coefficient C(n, k) as the original computes it: both
// products in double precision, rounded; 1 for k = 0, 0 for k > n.
int16_t Combinaciones(int n, int k);

// Method 3: the sign assignments of the reduced matches (each taking one of
// its marked signs) with exactly Signos (1), (2), (3) ones, Xs and twos.
int64_t CuentaPorSignos(const Reduccion& r);

// Method 2: the columns of the full development whose differences from the
// base column, over the matches that have a base sign, lie between
// MinErrores and MaxErrores. A reduced match still without a base sign is
// counted as if it had one, so the screen shows what the reduction will
// give once the base column is complete.
int64_t CuentaPorErrores(const Reduccion& r);

// The columns methods 2 and 3 and the full development (any other method
// number) keep under the conditions `cs`, counted over the matches with the
// method's own state joined to the conditions'. Method 3 expects its signs
// to add up to the reduced matches.
int64_t CuentaConCondiciones(const Reduccion& r, const Condiciones& cs);

// Method 4 with conditions: the columns of the covering of the results the
// conditions keep are known only once the run has built it (the run then
// stores them in the record). Before, the statistics show this bound, the
// covering of every result, which the run never exceeds, under the labels
// kReducidasMaximas, "Importe red. máx.", "Factor red. mín." and "Posibil.
// cub. máx." instead of "Apuest. reducidas", "Importe reducidas", "Factor
// reducción" and "Posibil. cubiertas".
int64_t CuentaMinimaCondiciones(const Estado& st);
inline constexpr const char* kReducidasMaximas = "Apuest. red. máx.";

// Direct method: the row of the selected table that serves each match
// (index 1..14), 0 for a match developed in full. Triples take the table's
// triple rows and doubles its double rows, in match order.
std::array<int16_t, 16> FilasTabla(const Reduccion& r, const Estadistica& esta);

}  // namespace tobal
