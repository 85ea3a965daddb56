#pragma once
// Conditions on the columns of a reduction, as players write them: a range
// of one measure of a column over a group of its matches. A set of
// conditions keeps a column when at most `fallos` of them fail.
//
// Notation of one condition (parts separated by blanks, letters in either
// case):
//
//     MEDIDA MIN-MAX [partidos GRUPO]
//
//   MEDIDA   1, X or 2: how many matches of the group take that sign;
//            variantes: how many take X or 2;
//            interrupciones: how many times the sign changes from one match
//            of the group to the next;
//            seguidos: the longest run of one sign along the group.
//   MIN-MAX  the values kept, both ends included; a lone number N is N-N.
//   GRUPO    matches 1 to 14 as numbers and ranges separated by commas
//            ("1-7", "1,3,5-9"); all fourteen when absent. The group's
//            matches are taken in their order, so "consecutive" means next
//            in the group.
//
// Examples: "X 2-5", "2 0-3 partidos 1-7", "variantes 4-8",
// "interrupciones 5-9", "seguidos 1-4".
//
// A reduction's conditions are kept beside its columns file in a text file
// of the same name ending in ".CON": one condition a line in this notation,
// then the line "fallos K". Lines end in CR LF; a reader also takes LF.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ErrorFichero.h"
#include "reduction/Base.h"

namespace tobal {

// Reads one condition. On a fault returns what is wrong (UTF-8) and leaves
// `c` as it was. A range that no column of the group can reach (a maximum
// over the group's size, or over its size less one for interruptions) is a
// fault.
std::optional<std::string> LeeCondicion(std::string_view texto, Condicion& c);
// The condition in the notation, its group left out when it is 1-14:
// "2 0-3 partidos 1-7".
std::string TextoCondicion(const Condicion& c);

// A reduction's conditions on one line, as the index and the guarantee
// show them: "X 2-5; seguidos 1-4; fallos 1" (the failures left out when
// none is allowed); empty without conditions.
std::string TextoCondiciones(const Condiciones& cs);

// The measure of a column (the signs of matches 1 to 14, '1', 'X', '2')
// over the condition's group.
int ValorMedida(const Condicion& c, std::string_view columna);
bool Cumple(const Condicion& c, std::string_view columna);
// Whether the column fails at most `fallos` of the conditions.
bool CumpleCondiciones(const Condiciones& cs, std::string_view columna);

// How many results inside the base quiniela (its marked signs on matches 1
// to 14) the conditions keep, counted over the matches without going
// through the results one by one.
int64_t CuentaCumplen(const Quiniela& base, const Condiciones& cs);

// What a reduction method adds to that count: two small numbers (0 to 255)
// that each match's sign moves, and the end values the method keeps. The
// count then is of the results the method keeps that meet the conditions.
struct CuentaMetodo {
    // Match m (1 to 14) takes sign s (0, 1, 2 for "1", "X", "2"); false
    // when no result going on from here can be kept.
    std::function<bool(int m, int s, std::array<uint8_t, 2>& v)> avanza;
    std::function<bool(const std::array<uint8_t, 2>& v)> acepta;
};
int64_t CuentaCumplen(const Quiniela& base, const Condiciones& cs, const CuentaMetodo& metodo);

// "RED0101.CON" for matchday 1, order 1.
std::string FicheroCon(int jornada, int orden);
// The text of a conditions file.
std::string TextoFicheroCondiciones(const Condiciones& cs);
// Reads a conditions file's text; on a fault says which line is wrong and
// leaves `cs` as it was.
std::optional<std::string> LeeTextoCondiciones(std::string_view texto, Condiciones& cs);
// Writes the file whole or leaves what was there (temporary and rename);
// the error number.
int GrabaCondiciones(const std::filesystem::path& ruta, const Condiciones& cs);
// Reads the file: the error number, kErrorCondiciones for a text that does
// not read, with `fallo` saying why.
inline constexpr int kErrorCondiciones = Err::TipoIncorrecto;
int LeeCondiciones(const std::filesystem::path& ruta, Condiciones& cs, std::string* fallo = nullptr);
// The conditions of the stored reduction (jornada, orden) in st.DirDatos:
// none, and 0, when it has no conditions file; otherwise as LeeCondiciones.
int LeeCondicionesReduccion(const Estado& st, int jornada, int orden, Condiciones& cs,
                            std::string* fallo = nullptr);
// What LeeCondicionesReduccion's error `error` (with its `fallo`) means, for
// the reduction (jornada, orden): "el fichero de condiciones RED0101.CON
// está dañado, línea 2 (...): ..." or "no se puede leer el fichero de
// condiciones RED0101.CON (error 70)"; no full stop.
std::string TextoErrorCondiciones(int jornada, int orden, int error, const std::string& fallo);

}  // namespace tobal
