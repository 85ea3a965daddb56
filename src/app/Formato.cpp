#include "app/Formato.h"

#include <clocale>
#include <cmath>
#include <cstdio>

namespace tobal {

Separadores SeparadoresLocales() {
    Separadores s;
    const std::lconv* lc = std::localeconv();
    if (lc) {
        if (lc->decimal_point && lc->decimal_point[0] && lc->decimal_point[1] == '\0')
            s.decimal = lc->decimal_point[0];
        if (lc->thousands_sep && lc->thousands_sep[0] && lc->thousands_sep[1] == '\0')
            s.miles = lc->thousands_sep[0];
        else if (s.decimal == ',')
            s.miles = '.';
    }
    if (s.miles == s.decimal) s.miles = s.decimal == ',' ? '.' : ',';
    return s;
}

std::string Formatea(double valor, const std::string& patron) {
    return Formatea(valor, patron, SeparadoresLocales());
}

std::string Formatea(double valor, const std::string& patron, Separadores sep) {
    const size_t punto = patron.find('.');
    const std::string entera = patron.substr(0, punto);
    const std::string decimales = punto == std::string::npos ? "" : patron.substr(punto + 1);
    const bool agrupa = entera.find(',') != std::string::npos;
    int minEnteros = 0;
    for (char c : entera)
        if (c == '0') ++minEnteros;
    const int numDec = static_cast<int>(decimales.size());

    const bool negativo = valor < 0;
    double a = std::fabs(valor);
    // Round half away from zero on the decimal text.
    char buf[128];
    double escala = std::pow(10.0, numDec);
    double redondeado = std::floor(a * escala + 0.5 + 1e-9) / escala;
    std::snprintf(buf, sizeof buf, "%.*f", numDec, redondeado);
    std::string texto(buf);
    // snprintf honours the C locale's decimal point; find either.
    size_t p = texto.find_first_of(".,");
    std::string ent = p == std::string::npos ? texto : texto.substr(0, p);
    std::string dec = p == std::string::npos ? "" : texto.substr(p + 1);
    if (ent == "0" && minEnteros == 0) ent.clear();
    while (static_cast<int>(ent.size()) < minEnteros) ent.insert(0, "0");
    if (agrupa && ent.size() > 3) {
        std::string g;
        int cuenta = 0;
        for (size_t i = ent.size(); i-- > 0;) {
            g.insert(g.begin(), ent[i]);
            if (++cuenta % 3 == 0 && i > 0) g.insert(g.begin(), sep.miles);
        }
        ent = g;
    }
    std::string r = ent;
    if (numDec > 0) r += sep.decimal + dec;
    bool cero = redondeado == 0.0;
    if (negativo && !cero) r.insert(0, "-");
    return r;
}

}  // namespace tobal
