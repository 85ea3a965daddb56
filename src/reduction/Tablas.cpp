#include "reduction/Tablas.h"

namespace tobal {

const std::array<std::string_view, 57> PatronesReduccion = {
    "",
    // A: 4 triples, 9 bets
    "123123123", "123231312", "321132213", "111222333",
    // B: 3 triples + 3 doubles, 24 bets
    "123123123123123123123123", "123231312123123231312123", "123312231123123312231123",
    "111222111222222111222111", "111222222111222111111222", "111111111111222222222222",
    // C: 7 doubles, 16 bets
    "1212121212121212", "1122112211221122", "1111222211112222", "1111111122222222", "1122221122111122",
    "1212212121211212", "1221122121122112",
    // D: 1 triple + 2 doubles, 3 bets
    "123", "212", "121",
    // E: 2 triples + 5 doubles, 36 bets
    "111122221111222233333333111122223333", "111111112222222211112222333333333333",
    "121212121212121212121212121212121212", "112211221122112211221122112211221122",
    "112222112211112211222211112222111122", "121221212121121212122121121221211212",
    "122112212112211212212112122112211221",
    // F: 2 triples + 3 doubles, 12 bets
    "123123123123", "123321321123", "121212121212", "121121212212", "111222111222",
    // G: 1 triple + 6 doubles, 24 bets
    "111111112222222233333333", "121212121212121212121212", "112211221122112211221122",
    "111122221111222211112222", "112222112211112211222211", "121221212121121212122121",
    "122112212112211212211221",
    // H: 1 triple + 5 doubles, 18 bets
    "111211221222333333", "111121212222121222", "111112122222112222", "211222111221211221",
    "121222111212211212", "112222111122211122",
    // I: 6 doubles, 12 bets
    "111211221222", "111121212222", "111112122222", "211222111221", "121222111212", "112222111122",
    // J: 3 doubles, 2 bets
    "12", "21", "12",
    // K: 1 triple, 1 bet
    "2",
    // L: 1 double, 1 bet
    "2"};

const std::array<RegistroTabla, 24> TablaReduccion = {{
    {0, 0, 0.0f, 0, 0, 0, 0},    {3, 2, 4.0f, 17, 3, 1, 2},  {3, 1, 3.0f, 54, 1, 1, 0},
    {3, 0, 3.0f, 54, 1, 1, 0},   {2, 6, 8.0f, 20, 36, 2, 5}, {2, 5, 8.0f, 20, 36, 2, 5},
    {2, 4, 6.0f, 27, 12, 2, 3},  {2, 3, 6.0f, 27, 12, 2, 3}, {2, 2, 4.0f, 17, 3, 1, 2},
    {2, 1, 3.0f, 54, 1, 1, 0},   {2, 0, 3.0f, 54, 1, 1, 0},  {1, 6, 8.0f, 32, 24, 1, 6},
    {1, 5, 5.33f, 39, 18, 1, 5}, {1, 4, 4.0f, 17, 3, 1, 2},  {1, 3, 4.0f, 17, 3, 1, 2},
    {1, 2, 4.0f, 17, 3, 1, 2},   {1, 1, 3.0f, 54, 1, 1, 0},  {1, 0, 3.0f, 54, 1, 1, 0},
    {0, 6, 5.33f, 45, 12, 0, 6}, {0, 5, 4.0f, 51, 2, 0, 3},  {0, 4, 4.0f, 51, 2, 0, 3},
    {0, 3, 4.0f, 51, 2, 0, 3},   {0, 2, 2.0f, 55, 1, 0, 1},  {0, 1, 2.0f, 55, 1, 0, 1},
}};

namespace {
void Toma(Estadistica& e, float factor, int inicio, int apuestas, int triples, int dobles) {
    e.FactorReduccion = factor;
    e.InicioTabla = static_cast<int16_t>(inicio);
    e.ApuestasTabla = static_cast<int16_t>(apuestas);
    e.TriplesTabla = static_cast<int16_t>(triples);
    e.DoblesTabla = static_cast<int16_t>(dobles);
}
}  // namespace

void EligeTabla(Estadistica& e) {
    const int t = e.TriplesReducir, d = e.DoblesReducir;
    if (t >= 4) return Toma(e, 9.0f, 0, 9, 4, 0);
    if (t == 3 && d >= 3) return Toma(e, 9.0f, 4, 24, 3, 3);
    if (d >= 7) return Toma(e, 8.0f, 10, 16, 0, 7);
    for (size_t k = 1; k < TablaReduccion.size(); ++k) {
        const RegistroTabla& r = TablaReduccion[k];
        if (r.Triples == t && r.Dobles == d)
            return Toma(e, r.Factor, r.Inicio, r.Apuestas, r.TriplesTabla, r.DoblesTabla);
    }
}

std::string_view NombreMetodoLargo(int metodo) {
    switch (metodo) {
        case 1: return "M\xE9todo Directo               ";
        case 2: return "M\xE9todo de Columna Probable   ";
        case 3: return "M\xE9todo de Selecci\xF3n de Signos";
        case 4: return "M\xE9todo de Reducci\xF3n M\xEDnima   ";
        default: return "";
    }
}

std::string_view NombreMetodoCorto(int metodo) {
    switch (metodo) {
        case 1: return "Directo            ";
        case 2: return "Columna Probable   ";
        case 3: return "Selecci\xF3n de Signos";
        case 4: return "Reducci\xF3n M\xEDnima   ";
        default: return "";
    }
}

}  // namespace tobal
