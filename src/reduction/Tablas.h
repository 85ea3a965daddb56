#pragma once
// The reduction tables of the direct method and the rule that picks one.

#include <array>
#include <cstdint>
#include <string_view>

#include "app/Estado.h"

namespace tobal {

// Rows of the twelve tables, index 1..56 (index 0 unused).
extern const std::array<std::string_view, 57> PatronesReduccion;

struct RegistroTabla {
    int16_t Triples;
    int16_t Dobles;
    float Factor;
    int16_t Inicio;  // first row - 1
    int16_t Apuestas;
    int16_t TriplesTabla;
    int16_t DoblesTabla;
};

// The 23 selection records, index 1..23 (index 0 unused).
extern const std::array<RegistroTabla, 24> TablaReduccion;

// Selects the table for esta.TriplesReducir and esta.DoblesReducir into
// FactorReduccion, ApuestasTabla, InicioTabla, TriplesTabla, DoblesTabla.
// With nothing to reduce the previous selection stays.
void EligeTabla(Estadistica& esta);

// The method names, indexed 1..kMetodos like Metodo, as Windows-1252 bytes:
// long (29 characters) and short (19 characters). Empty for another number.
std::string_view NombreMetodoLargo(int metodo);
std::string_view NombreMetodoCorto(int metodo);

}  // namespace tobal
