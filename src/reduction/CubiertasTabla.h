#pragma once
// The shipped data of the coverings (CubiertasTabla.cpp is written by
// tools/cubiertas; README.md, "Coverings of the minimal reduction", says how).

#include <cstdint>

namespace tobal::cubiertas {

// A covering found by search: the words whose syndrome is in S (see
// tools/BuscaCubierta.h). The last `a` triples and the last `b` doubles are
// solved from the others; the others carry the columns listed.
struct Pieza {
    int8_t triples, dobles, radio, a, b;
    int32_t columnasH;  // first of the triples - a columns in Columnas
    int32_t columnasG;  // first of the dobles - b columns in Columnas
    int32_t sindromes;  // first of `numSindromes` in Sindromes, ascending
    int32_t numSindromes;
    uint32_t semilla;   // how the search found it
    int32_t pasos;
    int16_t conjunta;   // 0: S sought for the columns listed; k: columns and k syndromes sought together
};

enum TipoReceta : uint8_t {
    kNinguna = 0,
    kUnaPalabra = 1,  // no more signs than errors: one column
    kPieza = 2,       // Piezas[pieza]
    kSuma = 3,        // the first part's covering beside the second's, radii added
    kRadioUno = 4,    // at two errors, the one-error covering is smallest
};

// The covering of a cell. A sum's first part is (t1, d1, r1), the second the
// rest; a part of radius 0 is its whole development, of radius at least its
// signs one column, otherwise its own cell.
struct Receta {
    uint8_t tipo;
    int8_t t1, d1, r1;
    int16_t pieza;
    int64_t palabras;
};

extern const Pieza Piezas[];
extern const uint16_t Columnas[];
extern const uint16_t Sindromes[];
// Index ((triples * 15) + dobles) * 2 + radio - 1.
extern const Receta Recetas[15 * 15 * 2];

}  // namespace tobal::cubiertas
