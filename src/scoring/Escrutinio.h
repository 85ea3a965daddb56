#pragma once
// Scoring of a stored reduction against the winning column of its matchday:
// the hits of every column, the columns per hit level, the prize of every
// category and the tickets that hold winning columns.
//
// The results are two tables of text rows, those of the scoring screen's
// lists Lis_Aciertos (hits) and Lis_Boletos (tickets). The printed report
// reads its figures back from the rows by character position, so the
// layouts are fixed:
//
// Lis_Aciertos, 17 rows. Row 0: "Total premios:" and the amount field from
//   position 15. Rows 1..16, hit level h = 16 - row (15 down to 0): two
//   blanks, h in 2, two blanks, the count in 6, two blanks, and from
//   position 15 the amount field (levels 11 to 15 with columns) or one blank.
//   The amount field is 11 characters, more for an amount over 99999999.99:
//   read it with ImporteDeFila, which takes the whole rest of the row. A
//   count of 7 or 8 digits (a full reduction has 4,782,969 columns) takes
//   the blanks before it: read it with CuentaDeFila / TextoCuentaDeFila.
// Lis_Boletos, one row per ticket with a column of 11 or more hits, in
//   ticket order: the ticket number in 6, four blanks, and at positions 11,
//   14, 17, 20 and 23 the ticket's columns with 15, 14, 13, 12 and 11 hits
//   (one digit, a blank for none), blanks between. 23 characters.
//
// Positions are 1-based as in the matchday record.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scoring/Premios.h"

namespace tobal {

struct Estado;

inline constexpr int kPartidos = 15;
inline constexpr int kFilasAciertos = 17;
inline constexpr int kColumnasPorBoleto = 8;
inline constexpr int kAnchoFilaBoleto = 23;
inline constexpr int kPosImporte = 15;  // 1-based, rows of Lis_Aciertos
inline constexpr const char* kTotalPremios = "Total premios:";

// The winning-column grid: Rejilla[m] (m = 1..15) is the marked sign column
// of match m, 1 for "1", 2 for "X", 3 for "2", 0 when the row has no mark.
// Index 0 is unused. A row has at most one mark.
using Rejilla = std::array<int16_t, 16>;

// A cell of the grid picture; fila (1..15) or columna (1..3) is 0 when the
// pointer is over no cell.
struct CeldaGanadora {
    int fila = 0;
    int columna = 0;
    bool operator==(const CeldaGanadora&) const = default;
};

// Hit test of the grid picture Pic_Ganadora, pointer position in pixels
// inside it. Cells are 13 wide and 15 high on a pitch of 15 across and 18
// down.
CeldaGanadora QueGanadoraHaPulsado(double x, double y);

// A press on cell (fila, columna): the cell toggles and the other cells of
// its row are cleared. Out-of-range cells are ignored.
void MarcaCeldaGanadora(Rejilla& rejilla, int fila, int columna);

// The sign of a sign column: '1', 'X', '2'; ' ' for 0.
char SignoDeColumna(int columna);

// The winning column: the signs of matches 1 to 15, stopping at the first
// match without a mark (so a complete column has 15 characters).
std::string ColumnaGanadora(const Rejilla& rejilla);

// The entries of the scoring screen: the grid and the five prize fields
// (index 1..5: 15, 14, 13, 12 and 11 hits) with their amounts.
struct EntradasEscrutinio {
    Rejilla Ganadora{};
    std::array<std::string, 6> TextoPremios{};  // Tex_Premios(1..5)
    std::array<double, 6> Premios{};            // prize per column, [1..5]
};

// The entries as stored in a matchday record (positions 464-533): a result
// digit 1..3 marks its cell, anything else none; each prize text trimmed,
// its amount the text's numeric value.
EntradasEscrutinio EntradasDeRegistro(std::string_view registro);

// Sets positions 1-13 ("Jor", matchday, date) and 464-533 (results and
// prize fields, each prize text trimmed and right-aligned in 11) of a
// 533-character matchday record.
void PonEntradasEnRegistro(std::string& registro, int jornada, std::string_view fecha,
                           const EntradasEscrutinio& entradas);

// Row layouts.
std::string FilaAciertos(int aciertos, int32_t cuenta, std::string_view importe);
std::string FilaTotal(std::string_view importe);
// The ticket row of one ticket from its per-level counts (index 0..15).
std::string FilaBoleto(int32_t boleto, const std::array<int16_t, 16>& cuentas);
// Appends the ticket's row to `lista` when it has a column of 11 or more hits.
void AgregaLisBoletos(std::vector<std::string>& lista, int32_t boleto,
                      const std::array<int16_t, 16>& cuentas);

// Readers of the rows of Lis_Aciertos.
int AciertosDeFila(std::string_view fila);    // positions 3-4
int32_t CuentaDeFila(std::string_view fila);  // positions 7-12 (5-12)
// The count as the row shows it: positions 7-12, and 5-6 when they hold digits.
std::string_view TextoCuentaDeFila(std::string_view fila);
std::string_view ImporteDeFila(std::string_view fila);  // position 15 to the end
double ValorImporteDeFila(std::string_view fila);       // its value, 0 for a blank

// A row of Lis_Boletos read back.
struct BoletoPremiado {
    int32_t boleto = 0;
    std::array<int, 6> columnas{};  // [1..5]: columns with 15, 14, 13, 12, 11 hits
};
BoletoPremiado LeeFilaBoleto(std::string_view fila);

enum class FinEscrutinio {
    Completo,     // both tables filled
    Incompleta,   // the winning column lacks a result: nothing counted
    SinColumnas,  // the columns file could not be opened or read: nothing shown
    Cambiada,     // the matchday was deleted, or (for a screen) its stored results or prizes
                  // changed, since it was read: nothing written
};

struct ResultadoEscrutinio {
    FinEscrutinio fin = FinEscrutinio::SinColumnas;
    int errorRegistro = 0;                 // error number of writing the matchday record
    int errorColumnas = 0;                 // error number of the columns file
    int64_t columnaDanada = 0;             // the first damaged column of the file, 0 when none
    std::string ganadora;                  // the winning column as built (short when incomplete)
    int64_t columnas = 0;                  // columns read
    std::array<int32_t, 16> cuenta{};      // columns per hit level 0..15
    std::array<double, 6> premios{};       // [1..5] prize per column used
    std::array<double, 6> importe{};       // [1..5] rounded amount of each category
    double total = 0;                      // sum of the rounded amounts
    std::vector<std::string> LisAciertos;  // empty unless Completo
    std::vector<std::string> LisBoletos;
};

inline constexpr const char* kTituloGanadoraIncompleta = "COLUMNA GANADORA INCOMPLETA";
inline constexpr const char* kTextoGanadoraIncompleta =
    "Es necesario que marque los 15 resultados de la columna ganadora para poder realizar el "
    "escrutinio de aciertos.";
inline constexpr const char* kTituloErrorJornadaOrden = "ERROR EN JORNADA/ORDEN";
inline constexpr const char* kTextoErrorJornadaOrden =
    "No existe una reducción que coincida con la Jornada y el número de Orden que se ha "
    "indicado. Sólo se puede realizar el escrutinio de una reducción existente. Indique los "
    "datos correctos o busque en el Índice la reducción de la que desea efectuar el escrutinio.";

// Progress of a long count, 0..100, called when the value changes.
using ProgresoEscrutinio = std::function<void(int porcentaje)>;

// Counts a columns file against a complete winning column of 15 signs and
// builds both tables. Reads the file once, in large blocks. A file that
// cannot be opened or read, or a damaged one (columnaDanada names its first
// bad column), gives SinColumnas and errorColumnas; nothing is reported.
ResultadoEscrutinio EscrutaColumnas(const std::filesystem::path& rutaColumnas, std::string_view ganadora,
                                    const std::array<double, 6>& premios,
                                    const ProgresoEscrutinio& progreso = {});

// The scoring run of the scoring screen (Pic_Escrutar): stores the results
// and prizes in record st.Jornada() of JORNADAS.TBX (always, also when the
// column is incomplete) and st.RegJornada takes the record as stored. A
// matchday deleted since st.RegJornada was read, or, with `cargado` (the
// record the screen loaded), a stored result or prize changed since, ends
// the run as Cambiada, nothing written. Then builds the winning column and, when it is
// complete, scores the columns file of st.Jornada() and st.Orden() of the
// data folder. A missing columns file is silent; other errors of the
// columns file and a failed write of the record are reported through
// st.informador. The caller shows the incomplete-column message.
ResultadoEscrutinio Escruta(Estado& st, const EntradasEscrutinio& entradas, const ProgresoEscrutinio& progreso = {},
                            std::optional<std::string_view> cargado = std::nullopt);

}  // namespace tobal
