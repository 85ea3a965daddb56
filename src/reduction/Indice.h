#pragma once
// The index of stored reductions: lines built from BASES.TBX, pages of 20,
// and the hit tests of the folder picture.

#include <string>
#include <string_view>
#include <vector>

namespace tobal {

struct Estado;

// Heading lines (Windows-1252).
extern const char* const kCabeceraIndice1;
extern const char* const kCabeceraIndice2;
inline constexpr int kLineasPagina = 20;

// The 81-character index line of a record; `regJornada` is the record of
// the matchday the reduction belongs to (its date shows when in use).
std::string LineaIndice(std::string_view registro, std::string_view regJornada);

struct Indice {
    std::vector<std::string> lineas;  // Lis_Datos
    int superior = 0;                 // top index, a multiple of 20
    int actual = -1;                  // list index of the current reduction
};

// Reads BASES.TBX (free slots skipped) and the matchday file; opens on the
// page of the current Jornada/Orden. Errors of BASES.TBX: EEB texts.
Indice CargaIndice(Estado& st);

// The line 0..19 under height y of the folder, or 99 for none.
int HallaCualLinea(int y, int superior, int totalLineas);

bool HayPaginaSiguiente(int superior, int totalLineas);
bool HayPaginaAnterior(int superior);

enum class ZonaCarpeta { Nada, Siguiente, Anterior, Linea };
// What a press at (x, y) of a folder of w x h pixels does; `linea` receives
// the line of the page for ZonaCarpeta::Linea.
ZonaCarpeta ZonaEnCarpeta(int x, int y, int w, int h, int superior, int totalLineas, int& linea);

// Picking line `linea` of the page: sets Jornada and Orden and
// IndiceElegido. False when the line does not exist.
bool EligeLineaIndice(Estado& st, const Indice& indice, int linea);

}  // namespace tobal
