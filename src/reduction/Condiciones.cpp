#include "reduction/Condiciones.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstring>

#include "app/Archivo.h"
#include "app/ErrorFichero.h"
#include "app/Texto.h"

namespace tobal {

namespace {

constexpr const char* kNombres[] = {"1", "X", "2", "variantes", "interrupciones", "seguidos"};

std::string Minusculas(std::string_view t) {
    std::string s(t);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The words of a text, blanks beside a hyphen or a comma left out ("2 - 5"
// is "2-5").
std::vector<std::string> Palabras(std::string_view texto) {
    std::string t;
    for (size_t i = 0; i < texto.size(); ++i) {
        const bool blanco = texto[i] == ' ' || texto[i] == '\t';
        if (blanco && !t.empty() && (t.back() == '-' || t.back() == ',')) continue;
        if (blanco) {
            const size_t sig = texto.find_first_not_of(" \t", i);
            if (sig != std::string_view::npos && (texto[sig] == '-' || texto[sig] == ',')) continue;
        }
        t += texto[i];
    }
    std::vector<std::string> v;
    size_t i = 0;
    while (i < t.size()) {
        while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
        size_t fin = i;
        while (fin < t.size() && t[fin] != ' ' && t[fin] != '\t') ++fin;
        if (fin > i) v.push_back(t.substr(i, fin - i));
        i = fin;
    }
    return v;
}

// A whole number of one or two digits.
std::optional<int> Numero(std::string_view t) {
    int v = 0;
    if (t.empty() || t.size() > 2) return std::nullopt;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || p != t.data() + t.size()) return std::nullopt;
    return v;
}

// "N" or "N-M".
std::optional<std::pair<int, int>> Intervalo(std::string_view t) {
    const size_t guion = t.find('-');
    auto a = Numero(t.substr(0, guion));
    auto b = guion == std::string_view::npos ? a : Numero(t.substr(guion + 1));
    if (!a || !b) return std::nullopt;
    return std::pair{*a, *b};
}

// "1-7", "1,3,5-9": matches 1 to 14, each range in order.
std::optional<uint16_t> Grupo(std::string_view t) {
    uint16_t g = 0;
    size_t i = 0;
    while (i <= t.size()) {
        size_t fin = std::min(t.find(',', i), t.size());
        auto r = Intervalo(t.substr(i, fin - i));
        if (!r || r->first < 1 || r->second > 14 || r->first > r->second) return std::nullopt;
        for (int m = r->first; m <= r->second; ++m) g = static_cast<uint16_t>(g | 1u << (m - 1));
        i = fin + 1;
    }
    return g;
}

std::string TextoGrupo(uint16_t g) {
    std::string t;
    for (int m = 1; m <= 14;) {
        if (!(g >> (m - 1) & 1)) {
            ++m;
            continue;
        }
        int fin = m;
        while (fin < 14 && (g >> fin & 1)) ++fin;
        if (!t.empty()) t += ',';
        t += std::to_string(m);
        if (fin > m) t += '-' + std::to_string(fin);
        m = fin + 1;
    }
    return t;
}

// The largest value the measure takes over a group of `n` matches.
int Tope(Medida m, int n) { return m == Medida::Interrupciones ? n - 1 : n; }

// 0, 1, 2 for "1", "X", "2"; -1 for anything else.
int Indice(char c) {
    switch (c) {
        case '1': return 0;
        case 'X': return 1;
        case '2': return 2;
        default: return -1;
    }
}

// Whether a sign (0, 1, 2) adds to a count.
bool Suma(Medida m, int s) {
    switch (m) {
        case Medida::Unos: return s == 0;
        case Medida::Equis: return s == 1;
        case Medida::Doses: return s == 2;
        default: return s != 0;  // variants
    }
}

}  // namespace

std::optional<std::string> LeeCondicion(std::string_view texto, Condicion& c) {
    const auto p = Palabras(texto);
    if (p.empty()) return "la condición está vacía";
    Condicion n;
    const std::string medida = Minusculas(p[0]);
    const auto* nombre = std::find_if(std::begin(kNombres), std::end(kNombres),
                                      [&](const char* k) { return Minusculas(k) == medida; });
    if (nombre == std::end(kNombres))
        return "\"" + std::string(p[0]) +
               "\" no es una medida (1, X, 2, variantes, interrupciones o seguidos)";
    n.medida = static_cast<Medida>(nombre - std::begin(kNombres));
    if (p.size() < 2) return "falta el intervalo MIN-MAX tras \"" + std::string(p[0]) + "\"";
    const auto r = Intervalo(p[1]);
    if (!r) return "\"" + std::string(p[1]) + "\" no es un intervalo MIN-MAX de números";
    n.minimo = r->first;
    n.maximo = r->second;
    size_t i = 2;
    if (i < p.size() && (Minusculas(p[i]) == "partidos" || Minusculas(p[i]) == "partido")) {
        if (++i == p.size()) return "faltan los partidos del grupo tras \"" + p[i - 1] + "\"";
        const auto g = Grupo(p[i]);
        if (!g) return "\"" + p[i] + "\" no es un grupo de partidos del 1 al 14 (por ejemplo 1-7 o 1,3,5-9)";
        n.partidos = *g;
        ++i;
    }
    if (i < p.size()) return "\"" + std::string(p[i]) + "\" sobra o no se entiende";
    if (n.minimo > n.maximo)
        return "el mínimo " + std::to_string(n.minimo) + " pasa del máximo " + std::to_string(n.maximo);
    const int tamano = std::popcount(n.partidos);
    const int tope = Tope(n.medida, tamano);
    if (n.maximo > tope)
        return "el máximo " + std::to_string(n.maximo) + " pasa de " + std::to_string(tope) +
               ", el mayor valor posible en un grupo de " + std::to_string(tamano) +
               (tamano == 1 ? " partido" : " partidos");
    c = n;
    return std::nullopt;
}

std::string TextoCondicion(const Condicion& c) {
    std::string t = kNombres[static_cast<int>(c.medida)];
    t += ' ' + std::to_string(c.minimo) + '-' + std::to_string(c.maximo);
    if (c.partidos != kTodosLosPartidos) t += " partidos " + TextoGrupo(c.partidos);
    return t;
}

std::string TextoCondiciones(const Condiciones& cs) {
    std::string t;
    for (const Condicion& c : cs.lista) t += (t.empty() ? "" : "; ") + TextoCondicion(c);
    if (!t.empty() && cs.fallos > 0) t += "; fallos " + std::to_string(cs.fallos);
    return t;
}

int ValorMedida(const Condicion& c, std::string_view columna) {
    int valor = 0, racha = 0, anterior = -1;
    for (int m = 1; m <= 14 && m <= static_cast<int>(columna.size()); ++m) {
        if (!(c.partidos >> (m - 1) & 1)) continue;
        const int s = Indice(columna[static_cast<size_t>(m - 1)]);
        switch (c.medida) {
            case Medida::Interrupciones: valor += anterior >= 0 && s != anterior; break;
            case Medida::Seguidos:
                racha = s == anterior ? racha + 1 : 1;
                valor = std::max(valor, racha);
                break;
            default: valor += Suma(c.medida, s); break;
        }
        anterior = s;
    }
    return valor;
}

bool Cumple(const Condicion& c, std::string_view columna) {
    const int v = ValorMedida(c, columna);
    return v >= c.minimo && v <= c.maximo;
}

bool CumpleCondiciones(const Condiciones& cs, std::string_view columna) {
    int fallan = 0;
    for (const Condicion& c : cs.lista) fallan += !Cumple(c, columna);
    return fallan <= cs.fallos;
}

namespace {

// One step of the count: its states, all of one width, each with its
// number of results, in a flat table (there are many short states).
class Capa {
public:
    explicit Capa(size_t ancho) : ancho_(ancho) {}
    void Vacia(size_t previstos) {
        estados_.clear();
        resultados_.clear();
        size_t n = 64;
        while (n < previstos * 2) n <<= 1;
        huecos_.assign(n, kLibre);
    }
    void Suma(const char* estado, int64_t n) {
        uint32_t& i = Hueco(estado);
        if (i != kLibre) {
            resultados_[i] += n;
            return;
        }
        i = static_cast<uint32_t>(resultados_.size());
        estados_.insert(estados_.end(), estado, estado + ancho_);
        resultados_.push_back(n);
        if (resultados_.size() * 2 > huecos_.size()) Crece();
    }
    size_t size() const { return resultados_.size(); }
    const char* Estado(size_t i) const { return estados_.data() + i * ancho_; }
    int64_t Resultados(size_t i) const { return resultados_[i]; }

private:
    static constexpr uint32_t kLibre = ~uint32_t{0};
    uint64_t Mezcla(const char* estado) const {
        uint64_t h = ancho_;
        for (size_t i = 0; i < ancho_; i += 8) {
            uint64_t w = 0;
            std::memcpy(&w, estado + i, std::min<size_t>(8, ancho_ - i));
            h = (h ^ w) * 0x9E3779B97F4A7C15u;
            h ^= h >> 31;
        }
        return h;
    }
    // The slot of the state, or the free slot where it goes.
    uint32_t& Hueco(const char* estado) {
        const size_t mascara = huecos_.size() - 1;
        for (size_t h = Mezcla(estado) & mascara;; h = (h + 1) & mascara) {
            uint32_t& i = huecos_[h];
            if (i == kLibre || std::memcmp(Estado(i), estado, ancho_) == 0) return i;
        }
    }
    void Crece() {
        huecos_.assign(huecos_.size() * 2, kLibre);
        for (size_t i = 0; i < resultados_.size(); ++i) Hueco(Estado(i)) = static_cast<uint32_t>(i);
    }

    size_t ancho_;
    std::vector<char> estados_;
    std::vector<int64_t> resultados_;
    std::vector<uint32_t> huecos_;
};

// The count is a walk over the matches whose states are what the
// conditions still need to know: per condition whether it is already met
// or failed for sure, else its value so far, and for interruptions and runs
// the group's last sign and the current run. States that agree on all of it
// are counted together. A state is a byte of failures, then three 4-bit
// fields per condition: its standing with the last sign, its value, its run
// (short enough for the string to stay in place for up to nine conditions).
class Cuenta {
public:
    explicit Cuenta(const Condiciones& cs) : cs_(cs) {
        for (const Condicion& c : cs.lista) {
            std::array<int, 15> quedan{};
            for (int m = 14; m >= 1; --m) quedan[m - 1] = quedan[m] + (c.partidos >> (m - 1) & 1);
            quedan_.push_back(quedan);
        }
    }

    // `metodo`, when given, adds its two numbers at the end of the state.
    int64_t Total(const Quiniela& base, const CuentaMetodo* metodo = nullptr) {
        const size_t propio = 1 + (3 * cs_.lista.size() + 1) / 2;
        std::string inicial(propio + (metodo ? 2 : 0), '\0');
        for (size_t k = 0; k < cs_.lista.size(); ++k)
            if (!Decide(inicial, k, 0)) return 0;
        Capa capa(inicial.size()), siguiente(inicial.size());
        capa.Vacia(1);
        capa.Suma(inicial.data(), 1);
        std::string e = inicial;
        for (int m = 1; m <= 14; ++m) {
            siguiente.Vacia(capa.size() * 3);
            const Partido& p = base[static_cast<size_t>(m)];
            for (size_t i = 0; i < capa.size(); ++i)
                for (int s = 0; s < 3; ++s) {
                    if (!p.Signo[static_cast<size_t>(s + 1)]) continue;
                    e.assign(capa.Estado(i), inicial.size());
                    if (!Avanza(e, m, s)) continue;
                    if (metodo) {
                        std::array<uint8_t, 2> v{static_cast<uint8_t>(e[propio]),
                                                 static_cast<uint8_t>(e[propio + 1])};
                        if (!metodo->avanza(m, s, v)) continue;
                        e[propio] = static_cast<char>(v[0]);
                        e[propio + 1] = static_cast<char>(v[1]);
                    }
                    siguiente.Suma(e.data(), capa.Resultados(i));
                }
            std::swap(capa, siguiente);
        }
        int64_t total = 0;
        for (size_t i = 0; i < capa.size(); ++i)
            if (!metodo || metodo->acepta({static_cast<uint8_t>(capa.Estado(i)[propio]),
                                           static_cast<uint8_t>(capa.Estado(i)[propio + 1])}))
                total += capa.Resultados(i);
        return total;
    }

private:
    enum : int { kAbierta = 0, kCumplida = 1, kFallida = 2 };
    enum Campo : size_t { kPosicion = 0, kValor = 1, kRacha = 2 };

    // Field f of condition k.
    static int Lee(const std::string& e, size_t k, Campo f) {
        const size_t i = 2 + 3 * k + f;
        return (static_cast<unsigned char>(e[i / 2]) >> (i % 2 * 4)) & 15;
    }
    static void Pon(std::string& e, size_t k, Campo f, int v) {
        const size_t i = 2 + 3 * k + f;
        const int desplaza = static_cast<int>(i % 2 * 4);
        auto& b = reinterpret_cast<unsigned char&>(e[i / 2]);
        b = static_cast<unsigned char>((b & ~(15 << desplaza)) | v << desplaza);
    }

    bool Avanza(std::string& e, int m, int s) {
        for (size_t k = 0; k < cs_.lista.size(); ++k) {
            const Condicion& c = cs_.lista[k];
            const int posicion = Lee(e, k, kPosicion);
            if (!(c.partidos >> (m - 1) & 1) || (posicion & 3) != kAbierta) continue;
            const int anterior = (posicion >> 2) - 1;
            int valor = Lee(e, k, kValor);
            switch (c.medida) {
                case Medida::Interrupciones:
                    valor += anterior >= 0 && s != anterior;
                    Pon(e, k, kPosicion, (s + 1) << 2);
                    break;
                case Medida::Seguidos: {
                    const int racha = s == anterior ? Lee(e, k, kRacha) + 1 : 1;
                    valor = std::max(valor, racha);
                    Pon(e, k, kRacha, racha);
                    Pon(e, k, kPosicion, (s + 1) << 2);
                    break;
                }
                default: valor += Suma(c.medida, s); break;
            }
            Pon(e, k, kValor, valor);
            if (!Decide(e, k, m)) return false;
        }
        return true;
    }

    // Settles condition k when the matches after m can no longer change
    // whether it is met; false when the state fails too many.
    bool Decide(std::string& e, size_t k, int m) {
        const Condicion& c = cs_.lista[k];
        const int quedan = quedan_[k][static_cast<size_t>(m)];
        const int v = Lee(e, k, kValor), racha = Lee(e, k, kRacha);
        // The least and the most the measure can end at.
        const int menor = v;
        const int mayor = c.medida == Medida::Seguidos ? std::max(v, racha + quedan) : v + quedan;
        int estado = kAbierta;
        if (menor > c.maximo || mayor < c.minimo)
            estado = kFallida;
        else if (menor >= c.minimo && mayor <= c.maximo)
            estado = kCumplida;
        if (estado == kAbierta) {
            // Past the minimum, only whether a run passes the maximum matters.
            if (c.medida == Medida::Seguidos) Pon(e, k, kValor, std::min(v, c.minimo));
            return true;
        }
        Pon(e, k, kPosicion, estado);
        Pon(e, k, kValor, 0);
        Pon(e, k, kRacha, 0);
        return estado != kFallida || ++e[0] <= cs_.fallos;
    }

    const Condiciones& cs_;
    std::vector<std::array<int, 15>> quedan_;  // [k][m]: matches of the group after m
};

}  // namespace

int64_t CuentaCumplen(const Quiniela& base, const Condiciones& cs) {
    return cs.fallos < 0 ? 0 : Cuenta(cs).Total(base);
}

int64_t CuentaCumplen(const Quiniela& base, const Condiciones& cs, const CuentaMetodo& metodo) {
    return cs.fallos < 0 ? 0 : Cuenta(cs).Total(base, &metodo);
}

std::string FicheroCon(int jornada, int orden) {
    return "RED" + DosDigitos(jornada) + DosDigitos(orden) + ".CON";
}

std::string TextoFicheroCondiciones(const Condiciones& cs) {
    std::string t;
    for (const Condicion& c : cs.lista) t += TextoCondicion(c) + "\r\n";
    return t + "fallos " + std::to_string(cs.fallos) + "\r\n";
}

std::optional<std::string> LeeTextoCondiciones(std::string_view texto, Condiciones& cs) {
    Condiciones n;
    std::optional<int> fallos;
    int numero = 0;
    for (size_t i = 0; i < texto.size();) {
        size_t fin = std::min(texto.find('\n', i), texto.size());
        std::string_view linea = texto.substr(i, fin - i);
        i = fin + 1;
        ++numero;
        if (!linea.empty() && linea.back() == '\r') linea.remove_suffix(1);
        // A line that no condition could be is named by its number alone,
        // so that the message stays short and printable whatever it holds.
        if (linea.size() > 100 ||
            std::any_of(linea.begin(), linea.end(), [](char c) { return c != '\t' && (c < ' ' || c > '~'); }))
            return "línea " + std::to_string(numero) +
                   ": es demasiado larga o tiene caracteres que ninguna condición lleva";
        const auto p = Palabras(linea);
        if (p.empty()) continue;
        const std::string donde = "línea " + std::to_string(numero) + " (\"" + std::string(linea) + "\"): ";
        if (Minusculas(p[0]) == "fallos") {
            if (fallos) return donde + "los fallos ya se han dado";
            fallos = p.size() == 2 ? Numero(p[1]) : std::nullopt;
            if (!fallos) return donde + "los fallos son un número de 0 a 99";
            continue;
        }
        Condicion c;
        if (auto fallo = LeeCondicion(linea, c)) return donde + *fallo;
        n.lista.push_back(c);
    }
    n.fallos = fallos.value_or(0);
    cs = n;
    return std::nullopt;
}

int GrabaCondiciones(const std::filesystem::path& ruta, const Condiciones& cs) {
    return EscribeFicheroAtomico(ruta, TextoFicheroCondiciones(cs));
}

int LeeCondiciones(const std::filesystem::path& ruta, Condiciones& cs, std::string* fallo) {
    std::string texto;
    if (int e = LeeFichero(ruta, texto)) return e;
    auto f = LeeTextoCondiciones(texto, cs);
    if (!f) return 0;
    if (fallo) *fallo = *f;
    return kErrorCondiciones;
}

int LeeCondicionesReduccion(const Estado& st, int jornada, int orden, Condiciones& cs, std::string* fallo) {
    const std::filesystem::path ruta = st.DirDatos / FicheroCon(jornada, orden);
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(ruta, ec))) {
        if (ec && ec != std::errc::no_such_file_or_directory) return LeeCondiciones(ruta, cs, fallo);
        cs = Condiciones{};
        return 0;
    }
    return LeeCondiciones(ruta, cs, fallo);
}

std::string TextoErrorCondiciones(int jornada, int orden, int error, const std::string& fallo) {
    const std::string con = FicheroCon(jornada, orden);
    if (error == kErrorCondiciones) return "el fichero de condiciones " + con + " está dañado, " + fallo;
    return "no se puede leer el fichero de condiciones " + con + " (error " + std::to_string(error) + ")";
}

}  // namespace tobal
