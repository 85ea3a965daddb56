#include "scoring/Premios.h"

#include <algorithm>
#include <charconv>

#include "app/Formato.h"
#include "app/Texto.h"

namespace tobal {

namespace {

bool CaracterDePremio(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// Trims and removes what is not a digit or ".", keeping `cursor` on the
// same character.
void LimpiaPremio(std::string& texto, int& cursor) {
    cursor = std::clamp(cursor, 0, static_cast<int>(texto.size()));
    std::string limpio;
    limpio.reserve(texto.size());
    int nuevoCursor = 0;
    for (size_t i = 0; i < texto.size(); ++i) {
        if (!CaracterDePremio(texto[i])) continue;  // blanks included: trimmed away
        limpio += texto[i];
        if (static_cast<int>(i) < cursor) ++nuevoCursor;
    }
    texto = std::move(limpio);
    cursor = nuevoCursor;
}

}  // namespace

void FiltraPremio(std::string& texto, int& cursor) {
    LimpiaPremio(texto, cursor);
    size_t sobran = texto.size() > static_cast<size_t>(kLongPremio) ? texto.size() - kLongPremio : 0;
    // What does not fit goes where it came in: just before the caret.
    size_t antes = std::min(sobran, static_cast<size_t>(cursor));
    texto.erase(static_cast<size_t>(cursor) - antes, antes);
    cursor -= static_cast<int>(antes);
    sobran -= antes;
    if (sobran) texto.erase(texto.size() - sobran);
}

bool FiltraPremioCompleto(std::string& texto) {
    int cursor = static_cast<int>(texto.size());
    LimpiaPremio(texto, cursor);
    return texto.size() <= static_cast<size_t>(kLongPremio);
}

double ValorPremio(std::string_view texto) { return ValDecimal(texto); }

std::string NormalizaPremio(std::string_view texto) {
    const double valor = ValorPremio(texto);
    if (valor == 0) return "0";
    char buf[400];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::fixed);
    std::string forma(buf, ec == std::errc() ? p : buf);
    // The original form of a value below 1 has no "0" before the point; it
    // gets one, and the form keeps its first three characters.
    if (forma.size() > 1 && forma[0] == '0' && forma[1] == '.') forma = "0" + forma.substr(1, 3);
    return forma;
}

std::string CampoImporte(double valor) {
    return AlineaDerecha(Formatea(valor, "0.00", Separadores{',', '.'}), kAnchoImporte);
}

}  // namespace tobal
