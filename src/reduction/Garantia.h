#pragma once
// What a stored reduction really guarantees: for every result of matches 1
// to 14 that its base quiniela allows, the hits of the best of its columns,
// computed exactly, and from them the distribution of the best hits and
// the smallest one, the guarantee.
//
// One byte per result holds its distance (differing matches) to the
// nearest column. The columns file is read once: each column marks its
// result with 0. Then one sweep per multiple match lowers every value to
// the smallest value among the results that differ from it in that match
// only, plus one. Hamming distance is a sum over the matches, so the
// sweeps, one match after another, give every result its exact distance.
//
// A reduction with conditions guarantees its hits only for the results
// that meet them: the table and the guarantee are then taken over the
// results inside the base quiniela that meet the conditions (each result's
// conditions evaluated once, in the final pass), and the smallest hits
// over the whole base quiniela are given beside them.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/Estado.h"
#include "app/Formato.h"

namespace tobal {

// Called each time the whole percentage of the analysis changes.
using AvanceGarantia = std::function<void(int porcentaje)>;

enum class FinGarantia { Calculada, Cancelada, Fallida };

struct ResultadoGarantia {
    FinGarantia fin = FinGarantia::Fallida;
    // The results the table and `minimo` are about: those of matches 1-14
    // that the base quiniela allows and, with conditions, that meet them.
    int64_t resultados = 0;
    int64_t columnas = 0;  // columns read
    // Results whose best column has 14, 13, 12, 11, and 10 or fewer hits
    // on matches 1-14.
    std::array<int64_t, 5> porFila{};
    // The hits every one of `resultados` is sure of; 0 when the reduction
    // has no column or no result meets its conditions.
    int minimo = 0;
    // Whether the analysis was over conditions (at least one condition).
    bool condicionada = false;
    // Every result the base quiniela allows, conditions or not, and the
    // hits each of them is sure of (0 without columns). Without conditions,
    // the same as `resultados` and `minimo`.
    int64_t resultadosBase = 0;
    int minimoBase = 0;
    // The conditions analysed over (the stored ones for a stored
    // reduction), so that what shows the result can name them.
    Condiciones condiciones;
    // Results that differ from the base quiniela on exactly one match (it
    // takes a sign the base does not mark) and the hits they are sure of;
    // none when every match 1-14 is a triple. Conditions or not: every one
    // of them counts.
    int64_t resultadosFuera1 = 0;
    int minimoFuera1 = 0;
    int error = 0;        // the program's error number when Fallida
    std::string mensaje;  // what is wrong, when Fallida (UTF-8)
};

// Analyses the columns file `ruta` of reduction `r` (its base quiniela;
// `nombre` is how messages call the file). A missing or unreadable file,
// a line that is not the 19 bytes of a column (quote, 15 signs among 1 X
// 2, quote, CR LF; a cut last line too) or a column with a sign that its
// base quiniela does not mark on matches 1-14 make it Fallida with a
// message naming the first bad column: a damaged file is never analysed.
// `cancelar` is tested after every 50,000 columns and every sweep.
ResultadoGarantia CalculaGarantia(const Reduccion& r, const std::filesystem::path& ruta,
                                  const std::string& nombre, const AvanceGarantia& avance = {},
                                  const std::atomic<bool>* cancelar = nullptr);
// The same over the results that meet `cs` (none in its list: as above).
ResultadoGarantia CalculaGarantia(const Reduccion& r, const Condiciones& cs,
                                  const std::filesystem::path& ruta, const std::string& nombre,
                                  const AvanceGarantia& avance = {},
                                  const std::atomic<bool>* cancelar = nullptr);
// The stored reduction of st.ReduccionActual, its columns file in DirDatos,
// with the conditions stored beside it (its .CON file, read again here); a
// damaged conditions file makes it Fallida with what is wrong in it.
ResultadoGarantia CalculaGarantia(const Estado& st, const AvanceGarantia& avance = {},
                                  const std::atomic<bool>* cancelar = nullptr);

// One row of the table: "14", "13", "12", "11", "10 o menos".
struct FilaGarantia {
    std::string aciertos;
    int64_t resultados = 0;
    double porcentaje = 0;
};
std::vector<FilaGarantia> FilasGarantia(const ResultadoGarantia& g);

inline constexpr const char* kCabeceraAciertos = "Aciertos";
inline constexpr const char* kCabeceraResultados = "Resultados";
inline constexpr const char* kCabeceraPorcentaje = "%";

// "Garantía: al menos 13 aciertos si el resultado está dentro de la
// quiniela base." With conditions: "... dentro de la quiniela base y
// cumple las condiciones."
std::string FraseGarantia(const ResultadoGarantia& g);
// With conditions, what is sure over the whole base quiniela: "Sobre toda
// la quiniela base: al menos 11 aciertos."; empty without conditions or
// without columns.
std::string FraseGarantiaBase(const ResultadoGarantia& g);
// "Con un partido fuera de la quiniela base: al menos 12 aciertos." Empty
// when no result can be outside on one match.
std::string FraseGarantiaFuera(const ResultadoGarantia& g);
// The row's numbers as the table shows them: "4,782,969" and "100.00".
std::string TextoResultados(int64_t n, Separadores sep);
std::string TextoPorcentajeGarantia(double p, Separadores sep);

}  // namespace tobal
