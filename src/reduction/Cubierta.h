#pragma once
// Coverings of the reduced multiples for the minimal reduction: as few
// columns as known such that every development of t triples and d doubles
// lies within R signs of one of them.
//
// A word has t + d digits: first the t triples (0, 1, 2 for the signs 1, X,
// 2), then the d doubles (0, 1 for the first and the second of its two marked
// signs in the order 1, X, 2). The triples and the doubles follow the order
// of their matches. The same cell always gives the same words in the same
// order, so a reduction is reproducible byte for byte.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tobal {

struct Cubierta {
    int triples = 0;
    int dobles = 0;
    int radio = 0;
    std::size_t palabras = 0;          // words in the covering
    std::vector<std::uint8_t> digitos;  // palabras * (triples + dobles) digits, word after word
};

// Cells a covering exists for: triples, dobles >= 0, triples + dobles <= 14,
// radio 1 or 2.
bool CeldaCubiertaValida(int triples, int dobles, int radio);

// Words of the covering of a cell without building it (for the statistics).
std::int64_t ColumnasCubierta(int triples, int dobles, int radio);

// The covering of a cell.
Cubierta ConstruyeCubierta(int triples, int dobles, int radio);

// What the direct method's tables write for the same multiples (one error
// guaranteed), for comparison.
std::int64_t ColumnasMetodoDirecto(int triples, int dobles);

}  // namespace tobal
