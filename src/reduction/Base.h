#pragma once
// A base quiniela written as text, one token per match 1 to 15, separated
// by blanks or commas: the marked signs among 1, X, 2 in that order ("x"
// counts as "X"; "-" for a match without signs), then "*" when the match is
// one of the multiples to reduce, then "=" and its sign in the base column.
// Example: "1X2*=1 1X* 1 1 X2*=2 1 1 1 1 1 1 1 1 1 X".

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/Estado.h"

namespace tobal {

using Quiniela = std::array<Partido, 16>;  // [1..15]

// Reads `texto` into `partidos`. On a fault returns what is wrong (UTF-8,
// naming the match) and leaves `partidos` as it was.
std::optional<std::string> LeeBase(std::string_view texto, Quiniela& partidos);

// The method, parameters and base quiniela of a reduction from their
// texts: `errores` "MIN,MAX" (method 2 only), `signos` "N1,NX,N2" (method
// 3 only), numbers 0 to 14; an absent text leaves zeros. `garantia` "1" or
// "2" (method 4 only) goes into MaxErrores, 1 when absent. On a fault
// returns what is wrong and leaves `r` as it was.
std::optional<std::string> LeeReduccion(int metodo, std::string_view base,
                                        const std::optional<std::string>& errores,
                                        const std::optional<std::string>& signos, Reduccion& r,
                                        const std::optional<std::string>& garantia = std::nullopt);

// The text of a base quiniela in the same notation.
std::string TextoBase(const Quiniela& partidos);

}  // namespace tobal
