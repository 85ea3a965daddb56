#include "reduction/CubiertaCondicionada.h"

#include <algorithm>
#include <bit>

namespace tobal {

namespace {

constexpr uint16_t kCatorce = 0x3FFF;
// Results covered between two calls of the progress callback.
constexpr int64_t kPasoAvance = 1 << 12;
// Words judged or weighed between two calls while nothing is covered yet.
constexpr uint32_t kPasoRecorrido = 1 << 14;

// The bits of x at the places of g's bits, packed in g's order.
uint16_t Compacta(unsigned x, unsigned g) {
    uint16_t r = 0;
    for (int j = 0; g; g &= g - 1, ++j)
        if (x & g & (~g + 1)) r = static_cast<uint16_t>(r | 1u << j);
    return r;
}

// The longest run of set bits.
int RachaMayor(unsigned x) {
    int n = 0;
    for (; x; ++n) x &= x >> 1;
    return n;
}

uint64_t Bit(int signo, int partido) { return uint64_t{1} << (16 * signo + partido - 1); }

}  // namespace

// The conditions judged on a column given as three 14-bit masks: the
// matches with "1" (bits 0-13), with "X" (16-29) and with "2" (32-45).
class CubiertaCondicionada::Evaluador {
public:
    explicit Evaluador(const Condiciones& cs) : fallos_(cs.fallos) {
        for (const Condicion& c : cs.lista) {
            Regla r{c.medida, c.minimo, c.maximo, static_cast<unsigned>(c.partidos & kCatorce), 0, {}, {}};
            r.n = std::popcount(r.grupo);
            const int bajos = std::popcount(r.grupo & 127u);
            for (unsigned x = 0; x < 128; ++x) {
                r.bajo[x] = Compacta(x, r.grupo & 127u);
                r.alto[x] = static_cast<uint16_t>(Compacta(x, r.grupo >> 7) << bajos);
            }
            reglas_.push_back(r);
        }
    }

    bool Cumple(uint64_t m) const {
        int fallan = 0;
        for (const Regla& r : reglas_) {
            const int v = Valor(r, m);
            if ((v < r.minimo || v > r.maximo) && ++fallan > fallos_) return false;
        }
        return fallan <= fallos_;
    }

private:
    struct Regla {
        Medida medida;
        int minimo, maximo;
        unsigned grupo;
        int n;
        std::array<uint16_t, 128> bajo, alto;  // packing of matches 1-7 and 8-14
    };

    static int Valor(const Regla& r, uint64_t m) {
        const auto signo = [&](int s) { return static_cast<unsigned>(m >> (16 * s)) & kCatorce; };
        switch (r.medida) {
            case Medida::Unos: return std::popcount(signo(0) & r.grupo);
            case Medida::Equis: return std::popcount(signo(1) & r.grupo);
            case Medida::Doses: return std::popcount(signo(2) & r.grupo);
            case Medida::Variantes: return std::popcount((signo(1) | signo(2)) & r.grupo);
            default: break;
        }
        if (r.n == 0) return 0;
        unsigned igual = 0;  // bit j: the group's match j+1 repeats the sign of match j
        for (int s = 0; s < 3; ++s) {
            const unsigned x = signo(s);
            const unsigned c = r.bajo[x & 127u] | r.alto[x >> 7];
            igual |= c & (c >> 1);
        }
        igual &= (1u << (r.n - 1)) - 1;
        return r.medida == Medida::Interrupciones ? r.n - 1 - std::popcount(igual) : 1 + RachaMayor(igual);
    }

    int fallos_;
    std::vector<Regla> reglas_;
};

CubiertaCondicionada::CubiertaCondicionada(const Reduccion& r, const Condiciones& cs, int radio)
    : radio_(std::clamp(radio, 0, 2)), reducido_(15, false), evaluador_(std::make_unique<Evaluador>(cs)) {
    for (const int tipo : {3, 2})
        for (int m = 1; m <= 14; ++m) {
            const Partido& p = r.Partidos[static_cast<size_t>(m)];
            std::array<int, 3> signos{};
            int n = 0;
            for (int s = 0; s < 3; ++s)
                if (p.Signo[static_cast<size_t>(s + 1)]) signos[static_cast<size_t>(n++)] = s;
            if (p.AReducir != 1 || n != tipo) continue;
            partido_.push_back(m);
            signos_.push_back(signos);
            base_.push_back(n);
            reducido_[static_cast<size_t>(m)] = true;
            ++(tipo == 3 ? triples_ : dobles_);
        }
    n_ = triples_ + dobles_;
    peso_.assign(static_cast<size_t>(n_), 1);
    for (int k = n_ - 2; k >= 0; --k)
        peso_[static_cast<size_t>(k)] = peso_[static_cast<size_t>(k + 1)] * base_[static_cast<size_t>(k + 1)];
    total_ = n_ ? static_cast<uint32_t>(peso_[0] * base_[0]) : 1;

    // Masks of the first half of the coordinates and of the last half.
    const int corte = n_ / 2;
    auto mascaras = [&](int desde, int hasta) {
        std::vector<uint64_t> v{0};
        for (int k = desde; k < hasta; ++k) {
            std::vector<uint64_t> w;
            for (const uint64_t x : v)
                for (int d = 0; d < base_[static_cast<size_t>(k)]; ++d)
                    w.push_back(x | Bit(signos_[static_cast<size_t>(k)][static_cast<size_t>(d)],
                                        partido_[static_cast<size_t>(k)]));
            v.swap(w);
        }
        return v;
    };
    mascaraAlta_ = mascaras(0, corte);
    mascaraBaja_ = mascaras(corte, n_);

    sinCondiciones_ = ConstruyeCubierta(triples_, dobles_, radio_);
    for (size_t w = 0; w < sinCondiciones_.palabras; ++w) {
        uint32_t x = 0;
        for (int k = 0; k < n_; ++k)
            x += sinCondiciones_.digitos[w * static_cast<size_t>(n_) + static_cast<size_t>(k)] *
                 static_cast<uint32_t>(peso_[static_cast<size_t>(k)]);
        palabrasSinCondiciones_.push_back(x);
    }
    marca_.resize(total_);
    cuenta8_.resize(total_);
    if (radio_ == 2) cuenta16_.resize(total_);
}

CubiertaCondicionada::~CubiertaCondicionada() = default;

void CubiertaCondicionada::Digitos(uint32_t x, uint8_t* d) const {
    for (int k = n_ - 1; k >= 0; --k) {
        const auto b = static_cast<uint32_t>(base_[static_cast<size_t>(k)]);
        d[k] = static_cast<uint8_t>(x % b);
        x /= b;
    }
}

template <class F>
void CubiertaCondicionada::Bola(uint32_t x, const uint8_t* d, F&& f) const {
    uint8_t e[14];
    std::copy(d, d + n_, e);
    f(x, e);
    if (radio_ == 0) return;
    for (int k = 0; k < n_; ++k) {
        const int dk = e[k], pk = peso_[static_cast<size_t>(k)];
        for (int v = 0; v < base_[static_cast<size_t>(k)]; ++v) {
            if (v == dk) continue;
            const auto y = static_cast<uint32_t>(static_cast<int32_t>(x) + (v - dk) * pk);
            e[k] = static_cast<uint8_t>(v);
            f(y, e);
            if (radio_ < 2) continue;
            for (int l = k + 1; l < n_; ++l) {
                const int dl = e[l], pl = peso_[static_cast<size_t>(l)];
                for (int u = 0; u < base_[static_cast<size_t>(l)]; ++u) {
                    if (u == dl) continue;
                    e[l] = static_cast<uint8_t>(u);
                    f(static_cast<uint32_t>(static_cast<int32_t>(y) + (u - dl) * pl), e);
                }
                e[l] = static_cast<uint8_t>(dl);
            }
        }
        e[k] = static_cast<uint8_t>(dk);
    }
}

template <class F>
void CubiertaCondicionada::Vecinos(uint32_t x, const uint8_t* d, F&& f) const {
    // The steps to the words one sign away, those of each coordinate
    // together, and where the next coordinate's steps start.
    int32_t paso[28];
    int siguiente[28];
    int m = 0;
    for (int k = 0; k < n_; ++k) {
        const int inicio = m, pk = peso_[static_cast<size_t>(k)];
        for (int v = 0; v < base_[static_cast<size_t>(k)]; ++v)
            if (v != d[k]) paso[m++] = (v - d[k]) * pk;
        for (int j = inicio; j < m; ++j) siguiente[j] = m;
    }
    f(x);
    if (radio_ == 0) return;
    for (int a = 0; a < m; ++a) {
        const uint32_t y = static_cast<uint32_t>(static_cast<int32_t>(x) + paso[a]);
        f(y);
        if (radio_ == 2)
            for (int b = siguiente[a]; b < m; ++b)
                f(static_cast<uint32_t>(static_cast<int32_t>(y) + paso[b]));
    }
}

bool CubiertaCondicionada::Construye(std::string_view columna, const Avance& avance) {
    resultado_ = Cubierta{};
    resultado_.triples = triples_;
    resultado_.dobles = dobles_;
    resultado_.radio = radio_;
    condicionados_ = 0;
    uint64_t fija = 0;
    for (int m = 1; m <= 14 && m <= static_cast<int>(columna.size()); ++m) {
        if (reducido_[static_cast<size_t>(m)]) continue;
        const char c = columna[static_cast<size_t>(m - 1)];
        const int s = c == '1' ? 0 : c == 'X' ? 1 : c == '2' ? 2 : -1;
        if (s >= 0) fija |= Bit(s, m);
    }
    uint32_t y = 0;
    for (const uint64_t alta : mascaraAlta_)
        for (const uint64_t baja : mascaraBaja_) {
            const bool cumple = evaluador_->Cumple(fija | alta | baja);
            marca_[y] = cumple;
            condicionados_ += cumple;
            if ((++y % kPasoRecorrido) == 0 && avance && !avance(0)) return false;
        }
    if (condicionados_ == 0) return true;

    std::vector<uint32_t> elegidas;
    if (!Ganancias(avance)) return false;
    if (radio_ == 2) {
        if (!Voraz(cuenta16_, avance, elegidas) || !QuitaRedundantes(cuenta16_, avance, elegidas))
            return false;
    } else if (!Voraz(cuenta8_, avance, elegidas) || !QuitaRedundantes(cuenta8_, avance, elegidas)) {
        return false;
    }
    std::sort(elegidas.begin(), elegidas.end());

    // The covering without conditions, less its words that cover nothing
    // here, when that is smaller.
    if (sinCondiciones_.palabras > 0) {
        std::vector<uint32_t> utiles;
        uint8_t d[14];
        for (const uint32_t w : palabrasSinCondiciones_) {
            bool sirve = false;
            Digitos(w, d);
            Vecinos(w, d, [&](uint32_t z) { sirve |= (marca_[z] & 1) != 0; });
            if (sirve) utiles.push_back(w);
        }
        if (utiles.size() < elegidas.size()) elegidas.swap(utiles);
    }

    resultado_.palabras = elegidas.size();
    resultado_.digitos.resize(elegidas.size() * static_cast<size_t>(n_));
    for (size_t i = 0; i < elegidas.size(); ++i)
        Digitos(elegidas[i], resultado_.digitos.data() + i * static_cast<size_t>(n_));
    return true;
}

// The results met within the radius of every word, counted along the
// lines of each coordinate (the words that differ only there): at distance
// one, a line's results less the word's own; at distance two, the same over
// the counts at distance one before that coordinate was taken.
bool CubiertaCondicionada::Ganancias(const Avance& avance) {
    uint8_t* uno = cuenta8_.data();
    uint16_t* dos = radio_ == 2 ? cuenta16_.data() : nullptr;
    std::fill(cuenta8_.begin(), cuenta8_.end(), uint8_t{0});
    std::fill(cuenta16_.begin(), cuenta16_.end(), uint16_t{0});
    for (int k = 0; k < n_ && radio_ > 0; ++k) {
        const uint32_t paso = static_cast<uint32_t>(peso_[static_cast<size_t>(k)]);
        const int r = base_[static_cast<size_t>(k)];
        for (uint32_t b = 0; b < total_; b += paso * static_cast<uint32_t>(r))
            for (uint32_t i = b; i < b + paso; ++i) {
                if (dos) {
                    int s1 = 0;
                    for (int v = 0; v < r; ++v) s1 += uno[i + static_cast<uint32_t>(v) * paso];
                    for (int v = 0; v < r; ++v) {
                        const uint32_t j = i + static_cast<uint32_t>(v) * paso;
                        dos[j] = static_cast<uint16_t>(dos[j] + s1 - uno[j]);
                    }
                }
                int s0 = 0;
                for (int v = 0; v < r; ++v) s0 += marca_[i + static_cast<uint32_t>(v) * paso];
                for (int v = 0; v < r; ++v) {
                    const uint32_t j = i + static_cast<uint32_t>(v) * paso;
                    uno[j] = static_cast<uint8_t>(uno[j] + s0 - marca_[j]);
                }
            }
        if (avance && !avance(0)) return false;
    }
    for (uint32_t x = 0; x < total_; ++x) {
        if (dos)
            dos[x] = static_cast<uint16_t>(dos[x] + uno[x] + marca_[x]);
        else
            uno[x] = static_cast<uint8_t>(uno[x] + marca_[x]);
    }
    return true;
}

template <class T>
bool CubiertaCondicionada::Voraz(std::vector<T>& ganancia, const Avance& avance,
                                 std::vector<uint32_t>& elegidas) {
    const T mayor = *std::max_element(ganancia.begin(), ganancia.end());
    uint8_t d[14] = {};
    // Bucket queue by gain. A word's gain only falls; one found in a bucket
    // above its gain moves down to it. Each bucket is taken in the words'
    // order, so that each step takes the first word of the greatest gain.
    std::vector<std::vector<uint32_t>> cubos(static_cast<size_t>(mayor) + 1);
    for (uint32_t x = 0; x < total_; ++x)
        if (ganancia[x]) cubos[ganancia[x]].push_back(x);
    int64_t cubiertos = 0, aviso = kPasoAvance;
    uint32_t pasos = 0;
    for (int g = mayor; g > 0; --g) {
        std::vector<uint32_t> cubo;
        cubo.swap(cubos[static_cast<size_t>(g)]);
        std::sort(cubo.begin(), cubo.end());
        for (const uint32_t x : cubo) {
            // By results covered, and by words moved down where few are.
            if (cubiertos >= aviso || ++pasos % kPasoRecorrido == 0) {
                aviso = cubiertos + kPasoAvance;
                if (avance && !avance(cubiertos)) return false;
            }
            const T gx = ganancia[x];
            if (gx == 0) continue;
            if (gx < g) {
                cubos[gx].push_back(x);
                continue;
            }
            elegidas.push_back(x);
            Digitos(x, d);
            Bola(x, d, [&](uint32_t z, const uint8_t* dz) {
                if (marca_[z] != 1) return;  // not conditioned, or covered already
                marca_[z] = 3;
                ++cubiertos;
                Vecinos(z, dz, [&](uint32_t w) { --ganancia[w]; });
            });
        }
    }
    return true;
}

template <class T>
bool CubiertaCondicionada::QuitaRedundantes(std::vector<T>& cuenta, const Avance& avance,
                                            std::vector<uint32_t>& elegidas) {
    std::fill(cuenta.begin(), cuenta.end(), T{0});
    uint8_t d[14];
    const auto sigue = [&](size_t i) {
        return i % (kPasoRecorrido / 4) != 0 || !avance || avance(condicionados_);
    };
    for (size_t i = 0; i < elegidas.size(); ++i) {
        if (!sigue(i)) return false;
        const uint32_t x = elegidas[i];
        Digitos(x, d);
        Vecinos(x, d, [&](uint32_t z) { cuenta[z] = static_cast<T>(cuenta[z] + (marca_[z] & 1)); });
    }
    // The last taken first: they cover the fewest new results.
    std::vector<bool> fuera(elegidas.size(), false);
    for (size_t i = elegidas.size(); i-- > 0;) {
        if (!sigue(i)) return false;
        bool necesaria = false;
        Digitos(elegidas[i], d);
        Vecinos(elegidas[i], d, [&](uint32_t z) { necesaria |= (marca_[z] & 1) && cuenta[z] == 1; });
        if (necesaria) continue;
        fuera[i] = true;
        Vecinos(elegidas[i], d, [&](uint32_t z) { cuenta[z] = static_cast<T>(cuenta[z] - (marca_[z] & 1)); });
    }
    size_t j = 0;
    for (size_t i = 0; i < elegidas.size(); ++i)
        if (!fuera[i]) elegidas[j++] = elegidas[i];
    elegidas.resize(j);
    return true;
}

}  // namespace tobal
