#pragma once
// The printed report of a scoring: winning column with the teams, prizes per
// category, columns per hit level and where the hits are, ticket by ticket.
// The figures are read back from the hits and ticket tables by character
// position, as the scoring screen lists them.

#include <array>
#include <string>
#include <vector>

namespace tobal {

class Impresora;

struct DatosInforme {
    int jornada = 0;
    int orden = 0;
    std::string fecha;                  // "DD/MM/AA"
    std::string regJornada;             // the matchday record (team names), Windows-1252
    std::string ganadora;               // 15 signs
    std::array<double, 6> premios{};    // [1..5]: categories 15..11
    std::vector<std::string> aciertos;  // 17 rows: total, then hits 15..0
    std::vector<std::string> boletos;   // one row per ticket with prizes
};

// Down position past which the ticket rows continue on a new page.
inline constexpr int kLimiteBoletos = 15000;

void ImprimeInformeEscrutinio(Impresora& imp, const DatosInforme& d);

}  // namespace tobal
