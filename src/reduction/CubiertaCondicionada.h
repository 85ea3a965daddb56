#pragma once
// The minimal reduction of a reduction with conditions: the covering of
// radius R is built at run time over the results that meet the conditions,
// so that every such result inside the base lies within R signs of a column.
//
// The reduced multiples (AReducir = 1 with two or three signs) are the
// coordinates of a word exactly as in ConstruyeCubierta: the reduced triples
// in match order, then the reduced doubles in match order. The other matches
// take the signs of one state of the development, given to Construye.
//
// The builder is a greedy one (each step takes the word, inside the base,
// that covers most results still uncovered, the first such word in the
// words' order), followed by a pass that drops every word whose results are
// all covered by the words kept. When the words of the covering without
// conditions that cover some result are fewer, those are taken instead; so
// the result is never larger than the covering without conditions nor than
// the plain greedy covering of the same results. Same input, same words in
// the same order.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "app/Estado.h"
#include "reduction/Cubierta.h"

namespace tobal {

class CubiertaCondicionada {
public:
    // The reduction's base quiniela (signs and AReducir of matches 1 to 14),
    // its conditions and the radius (1 or 2; 0 covers each result by
    // itself).
    CubiertaCondicionada(const Reduccion& r, const Condiciones& cs, int radio);
    ~CubiertaCondicionada();

    // Called now and then while a covering is built with the results of the
    // current state covered so far; returning false stops the build.
    using Avance = std::function<bool(int64_t cubiertos)>;

    // Builds the covering for the state whose unreduced matches take the
    // signs of `columna` ("1", "X", "2" of matches 1 to 14; the signs at the
    // reduced matches are not read). False when stopped by `avance`; then
    // Resultado() is empty.
    bool Construye(std::string_view columna, const Avance& avance = {});

    // The words of the last build, in the layout of Cubierta (no words when
    // no result of the state meets the conditions).
    const Cubierta& Resultado() const { return resultado_; }
    // The results of the last state that meet the conditions.
    int64_t Condicionados() const { return condicionados_; }

    // The match (1 to 14) of each coordinate.
    const std::vector<int>& PartidoDe() const { return partido_; }

private:
    class Evaluador;

    // Calls f(y, digits of y) for every word y within the radius of the
    // word x whose digits are d.
    template <class F>
    void Bola(uint32_t x, const uint8_t* d, F&& f) const;
    // The same, f(y) without the digits: the greedy's innermost loop.
    template <class F>
    void Vecinos(uint32_t x, const uint8_t* d, F&& f) const;
    void Digitos(uint32_t x, uint8_t* d) const;
    bool Ganancias(const Avance& avance);
    template <class T>
    bool Voraz(std::vector<T>& ganancia, const Avance& avance, std::vector<uint32_t>& elegidas);
    template <class T>
    bool QuitaRedundantes(std::vector<T>& cuenta, const Avance& avance, std::vector<uint32_t>& elegidas);

    int radio_;
    int triples_ = 0, dobles_ = 0, n_ = 0;
    std::vector<int> partido_;
    std::vector<std::array<int, 3>> signos_;  // [coordinate][digit]: 0, 1, 2 for 1, X, 2
    std::vector<int> base_;                   // radix of each coordinate
    std::vector<int32_t> peso_;               // index weight, the last coordinate fastest
    uint32_t total_ = 1;                      // words of the reduced space
    // The words split in two: first coordinates and last ones; the signs of
    // each part as masks of the "1", "X" and "2" matches (bits 0, 16, 32).
    std::vector<uint64_t> mascaraAlta_, mascaraBaja_;
    std::vector<bool> reducido_;  // [match 1..14]
    Cubierta sinCondiciones_;
    std::vector<uint32_t> palabrasSinCondiciones_;
    std::unique_ptr<Evaluador> evaluador_;

    // Per word: bit 0 meets the conditions, bit 1 covered.
    std::vector<uint8_t> marca_;
    // Per word: results within the radius still uncovered (the greedy's
    // gain), then how many kept words cover it; in bytes up to radius 1
    // (at most 29), else in 16 bits (at most 393) with the bytes holding
    // the results at distance one while the gains are counted.
    std::vector<uint8_t> cuenta8_;
    std::vector<uint16_t> cuenta16_;
    int64_t condicionados_ = 0;
    Cubierta resultado_;
};

}  // namespace tobal
