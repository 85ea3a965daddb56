#include "scoring/Premios.h"

#include <algorithm>
#include <charconv>

#include "app/Formato.h"
#include "app/Texto.h"

namespace tobal {

namespace {

bool CaracterDePremio(char c) { return (c >= '0' && c <= '9') || c == '.'; }

}  // namespace

bool FiltraPremioCompleto(std::string& texto) {
    std::erase_if(texto, [](char c) { return !CaracterDePremio(c); });  // blanks included
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

namespace {

bool SoloCifras(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The digits of the whole part written with "." between groups of three:
// "1.500.000" -> "1500000"; empty when the grouping is wrong.
std::string SinGrupos(std::string_view entera) {
    std::string cifras;
    size_t inicio = 0;
    for (bool primero = true;; primero = false) {
        const size_t punto = entera.find('.', inicio);
        const std::string_view grupo =
            entera.substr(inicio, punto == std::string_view::npos ? punto : punto - inicio);
        const bool bien = SoloCifras(grupo) && (primero ? grupo.size() <= 3 : grupo.size() == 3);
        if (!bien) return "";
        cifras += grupo;
        if (punto == std::string_view::npos) return cifras;
        inicio = punto + 1;
    }
}

}  // namespace

ImporteEscrito LeeImporteEscrito(std::string_view escrito) {
    const std::string_view t = Recorta(escrito);
    if (t.empty()) return {"", "falta el importe"};
    const size_t coma = t.find(',');
    const size_t puntos = static_cast<size_t>(std::count(t.begin(), t.end(), '.'));
    std::string entera, decimales;
    if (coma != std::string_view::npos) {
        // As a player writes it: grouped whole part, decimal comma.
        entera = SinGrupos(t.substr(0, coma));
        decimales = std::string(t.substr(coma + 1));
        if (entera.empty() || !SoloCifras(decimales))
            return {"", "no es un importe (se escribe 1500000.50 o 1.500.000,50)"};
    } else if (puntos == 1 && t.size() >= 5 && t[t.size() - 4] == '.' &&
               SoloCifras(t.substr(0, t.size() - 4)) && t.substr(0, t.size() - 4).size() <= 3 &&
               t[0] != '0' && SoloCifras(t.substr(t.size() - 3))) {
        // "1.500": 1.50 or 1500?
        const std::string ent(t.substr(0, t.size() - 4)), dec(t.substr(t.size() - 3));
        return {"",
                "se puede leer de dos formas; escriba " + ent + dec +
                    (dec[2] == '0' ? " o " + ent + "," + dec.substr(0, 2) : std::string(" (sin el punto)"))};
    } else if (puntos > 1) {
        entera = SinGrupos(t);
        if (entera.empty()) return {"", "no es un importe (se escribe 1500000.50 o 1.500.000,50)"};
    } else {
        const size_t punto = t.find('.');
        entera = std::string(t.substr(0, punto));
        if (punto != std::string_view::npos) decimales = std::string(t.substr(punto + 1));
        if (!SoloCifras(entera) || (punto != std::string_view::npos && !SoloCifras(decimales)))
            return {"", "no es un importe (se escribe 1500000.50 o 1.500.000,50)"};
    }
    if (decimales.size() > 2) return {"", "tiene más de dos decimales"};
    const std::string plano = decimales.empty() ? entera : entera + "." + decimales;
    std::string texto = NormalizaPremio(plano);
    if (texto.size() > static_cast<size_t>(kLongPremio))
        return {"", "no cabe en el campo de premio (" + std::to_string(kLongPremio) + " caracteres)"};
    return {std::move(texto), ""};
}

}  // namespace tobal
