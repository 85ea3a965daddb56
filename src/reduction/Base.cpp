#include "reduction/Base.h"

#include <vector>

namespace tobal {

namespace {

constexpr char kSignos[] = "1X2";

int IndiceSigno(char c) {
    switch (c) {
        case '1': return 1;
        case 'X':
        case 'x': return 2;
        case '2': return 3;
        default: return 0;
    }
}

// One token into `p`; an empty result when it is sound.
std::string LeePartido(std::string_view t, int partido, Partido& p) {
    p = Partido{};
    size_t i = 0;
    if (t == "-") return {};
    for (; i < t.size() && IndiceSigno(t[i]); ++i) {
        const int s = IndiceSigno(t[i]);
        if (p.Signo[s]) return "el signo " + std::string(1, kSignos[s - 1]) + " está repetido";
        for (int mayor = s + 1; mayor <= 3; ++mayor)
            if (p.Signo[mayor]) return "los signos van en el orden 1, X, 2";
        p.Signo[s] = 1;
        ++p.NumSignos;
    }
    if (p.NumSignos == 0) return "falta el signo (1, X, 2, o - para ninguno)";
    if (i < t.size() && t[i] == '*') {
        if (partido == 15) return "el partido 15 no se reduce";
        if (p.NumSignos < 2) return "solo se reducen los partidos dobles o triples";
        p.AReducir = 1;
        ++i;
    }
    if (i < t.size() && t[i] == '=') {
        if (!p.AReducir) return "el signo de la columna base solo se elige en un partido a reducir (falta *)";
        if (i + 1 >= t.size()) return "falta el signo de la columna base tras =";
        const int s = IndiceSigno(t[i + 1]);
        if (!s) return "\"" + std::string(1, t[i + 1]) + "\" no es un signo (1, X, 2)";
        if (!p.Signo[s]) return "el signo de la columna base no está marcado en el partido";
        p.SignoBase = static_cast<int16_t>(s);
        i += 2;
    }
    if (partido == 15 && p.NumSignos > 1) return "el partido 15 lleva un solo signo";
    if (i < t.size()) return "\"" + std::string(t.substr(i)) + "\" sobra o no se entiende";
    return {};
}

}  // namespace

std::optional<std::string> LeeBase(std::string_view texto, Quiniela& partidos) {
    std::vector<std::string_view> fichas;
    size_t i = 0;
    auto separador = [](char c) { return c == ' ' || c == '\t' || c == ','; };
    while (i < texto.size()) {
        while (i < texto.size() && separador(texto[i])) ++i;
        size_t fin = i;
        while (fin < texto.size() && !separador(texto[fin])) ++fin;
        if (fin > i) fichas.push_back(texto.substr(i, fin - i));
        i = fin;
    }
    if (fichas.size() != 15)
        return "la quiniela base lleva 15 partidos y se han dado " + std::to_string(fichas.size());
    Quiniela nueva{};
    for (int m = 1; m <= 15; ++m) {
        std::string fallo = LeePartido(fichas[static_cast<size_t>(m - 1)], m, nueva[static_cast<size_t>(m)]);
        if (!fallo.empty())
            return "partido " + std::to_string(m) + " (\"" + std::string(fichas[static_cast<size_t>(m - 1)]) +
                   "\"): " + fallo;
    }
    partidos = nueva;
    return std::nullopt;
}

namespace {

// `n` whole numbers 0..14 separated by commas.
std::optional<std::vector<int16_t>> LeeNumeros(std::string_view texto, size_t n) {
    std::vector<int16_t> v;
    size_t i = 0;
    while (i <= texto.size()) {
        size_t fin = texto.find(',', i);
        if (fin == std::string_view::npos) fin = texto.size();
        const std::string_view t = texto.substr(i, fin - i);
        if (t.empty() || t.size() > 2 || t.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        const int valor = std::stoi(std::string(t));
        if (valor > 14) return std::nullopt;
        v.push_back(static_cast<int16_t>(valor));
        i = fin + 1;
    }
    if (v.size() != n) return std::nullopt;
    return v;
}

}  // namespace

std::optional<std::string> LeeReduccion(int metodo, std::string_view base,
                                        const std::optional<std::string>& errores,
                                        const std::optional<std::string>& signos, Reduccion& r,
                                        const std::optional<std::string>& garantia) {
    if (metodo < 1 || metodo > kMetodos) return "el método es 1, 2, 3 o 4";
    Reduccion nueva = r;
    nueva.Metodo = static_cast<int16_t>(metodo);
    nueva.MinErrores = nueva.MaxErrores = 0;
    nueva.Signos = {0, 0, 0, 0};
    if (auto fallo = LeeBase(base, nueva.Partidos)) return fallo;
    if (errores) {
        if (metodo != 2) return "los errores permitidos solo valen para el método 2";
        auto v = LeeNumeros(*errores, 2);
        if (!v)
            return "los errores permitidos son MIN,MAX, números de 0 a 14 (se ha dado \"" + *errores + "\")";
        nueva.MinErrores = (*v)[0];
        nueva.MaxErrores = (*v)[1];
    }
    if (signos) {
        if (metodo != 3) return "los signos solo valen para el método 3";
        auto v = LeeNumeros(*signos, 3);
        if (!v) return "los signos son N1,NX,N2, números de 0 a 14 (se ha dado \"" + *signos + "\")";
        for (int s = 1; s <= 3; ++s) nueva.Signos[s] = (*v)[static_cast<size_t>(s - 1)];
    }
    if (garantia && metodo != 4) return "los errores garantizados solo valen para el método 4";
    if (metodo == 4) {
        if (garantia && *garantia != "1" && *garantia != "2")
            return "los errores garantizados son 1 o 2 (se ha dado \"" + *garantia + "\")";
        nueva.MaxErrores = static_cast<int16_t>(garantia && *garantia == "2" ? 2 : 1);
    }
    r = nueva;
    return std::nullopt;
}

std::string TextoBase(const Quiniela& partidos) {
    std::string t;
    for (int m = 1; m <= 15; ++m) {
        const Partido& p = partidos[static_cast<size_t>(m)];
        if (m > 1) t += ' ';
        const size_t antes = t.size();
        for (int s = 1; s <= 3; ++s)
            if (p.Signo[s]) t += kSignos[s - 1];
        if (t.size() == antes) t += '-';
        if (p.AReducir == 1) t += '*';
        if (p.SignoBase >= 1 && p.SignoBase <= 3) t += std::string("=") + kSignos[p.SignoBase - 1];
    }
    return t;
}

}  // namespace tobal
