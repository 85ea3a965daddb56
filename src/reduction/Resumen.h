#pragma once
// The summary of a stored reduction as text: one line per item, a label at
// the left and a value in a second column. The screens draw it on their
// cyan box, the printed summary prints it. Texts are UTF-8.

#include <string>
#include <vector>

#include "app/Estado.h"
#include "app/Formato.h"

namespace tobal {

// One line of a summary or of the statistics. A line that is a sentence of
// its own (the bet counts, the method 3 signs) has it all in `etiqueta`
// and an empty `valor`; a value whose division has a zero divisor is empty.
struct LineaResumen {
    std::string etiqueta;
    std::string valor;
};

// The amount of `apuestas` bets of price `precio`, taken at the decimal
// value the price was typed with (0.3, not the nearest single-precision
// number), so that millions of bets do not show cents that are not there.
double ImporteApuestas(double apuestas, float precio);

// The summary of `r` (ImprimeResumen) for bets of price `precio`, numbers
// with the locale's separators. Empty when no reduction is loaded
// (ApuestasDirectas = 1).
std::vector<LineaResumen> LineasResumen(const Reduccion& r, float precio);
// The same with the given separators.
std::vector<LineaResumen> LineasResumen(const Reduccion& r, float precio, Separadores sep);

}  // namespace tobal
