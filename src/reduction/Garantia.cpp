#include "reduction/Garantia.h"

#include <algorithm>
#include <cstring>
#include <map>
#ifdef __SSE2__
#include <immintrin.h>
#endif

#include "app/Archivo.h"
#include "app/ErrorFichero.h"
#include "reduction/Almacen.h"
#include "reduction/Condiciones.h"

namespace tobal {

namespace {

constexpr char kSignos[] = "1X2";
// Farther than any result can be from a column (14 matches at most).
constexpr uint8_t kSinColumna = 15;
constexpr size_t kColumnasBloque = 13797;  // 256 KiB, read while the cache holds it
// The matches of smallest step, whose sweeps would run along stretches of
// one to a few bytes, are swept in strips of 16 rows of at least this many
// results, transposed so that each result of a row is one vector of 16.
constexpr size_t kFilaMinima = 256;

// A match whose sign varies among the results: its marked signs and the
// step of its digit in a result's number.
struct Eje {
    int partido;
    int n;
    size_t paso;
};

// Lowers every value to one more than the smallest among the results that
// differ from it in the match of step `s` and `n` signs only.
void BarreEje(uint8_t* d, size_t total, size_t s, int n) {
    const size_t bloque = s * static_cast<size_t>(n);
    for (size_t b = 0; b < total; b += bloque) {
        uint8_t* x = d + b;
        uint8_t* y = x + s;
        uint8_t* z = y + s;
        size_t j = 0;
#ifdef __SSE2__
        const __m128i uno = _mm_set1_epi8(1);
        auto carga = [](const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
        auto guarda = [](uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); };
        if (n == 2) {
            for (; j + 16 <= s; j += 16) {
                const __m128i vx = carga(x + j), vy = carga(y + j);
                const __m128i m = _mm_adds_epu8(_mm_min_epu8(vx, vy), uno);
                guarda(x + j, _mm_min_epu8(vx, m));
                guarda(y + j, _mm_min_epu8(vy, m));
            }
        } else {
            for (; j + 16 <= s; j += 16) {
                const __m128i vx = carga(x + j), vy = carga(y + j), vz = carga(z + j);
                const __m128i m = _mm_adds_epu8(_mm_min_epu8(_mm_min_epu8(vx, vy), vz), uno);
                guarda(x + j, _mm_min_epu8(vx, m));
                guarda(y + j, _mm_min_epu8(vy, m));
                guarda(z + j, _mm_min_epu8(vz, m));
            }
        }
#endif
        for (; j < s; ++j) {
            uint8_t m = std::min(x[j], y[j]);
            if (n == 3) m = std::min(m, z[j]);
            ++m;
            x[j] = std::min(x[j], m);
            y[j] = std::min(y[j], m);
            if (n == 3) z[j] = std::min(z[j], m);
        }
    }
}

#ifdef __SSE2__
// A 16 x 16 tile: four rounds of interleaving leave column k of the tile in
// register bitrev(k).
void TraspuestaTesela(const uint8_t* d, size_t cols, uint8_t* t, size_t filas) {
    static constexpr int kInverso[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
    __m128i x[16], y[16];
    for (size_t i = 0; i < 16; ++i) x[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i * cols));
    for (int i = 0; i < 8; ++i) {
        y[i] = _mm_unpacklo_epi8(x[2 * i], x[2 * i + 1]);
        y[i + 8] = _mm_unpackhi_epi8(x[2 * i], x[2 * i + 1]);
    }
    for (int i = 0; i < 8; ++i) {
        x[i] = _mm_unpacklo_epi16(y[2 * i], y[2 * i + 1]);
        x[i + 8] = _mm_unpackhi_epi16(y[2 * i], y[2 * i + 1]);
    }
    for (int i = 0; i < 8; ++i) {
        y[i] = _mm_unpacklo_epi32(x[2 * i], x[2 * i + 1]);
        y[i + 8] = _mm_unpackhi_epi32(x[2 * i], x[2 * i + 1]);
    }
    for (int i = 0; i < 8; ++i) {
        x[i] = _mm_unpacklo_epi64(y[2 * i], y[2 * i + 1]);
        x[i + 8] = _mm_unpackhi_epi64(y[2 * i], y[2 * i + 1]);
    }
    for (int i = 0; i < 16; ++i)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(t + static_cast<size_t>(kInverso[i]) * filas), x[i]);
}
#endif

// 16 rows of `cols` bytes (`d`, one `paso` apart) to and from `cols`
// vectors of 16 bytes (`t`): result j of row f is byte f of vector j.
void TrasponeTira(uint8_t* d, size_t paso, uint8_t* t, size_t cols, bool vuelta) {
    size_t c16 = 0;
#ifdef __SSE2__
    c16 = cols - cols % 16;
    for (size_t c = 0; c < c16; c += 16) {
        if (vuelta)
            TraspuestaTesela(t + c * 16, 16, d + c, paso);
        else
            TraspuestaTesela(d + c, paso, t + c * 16, 16);
    }
#endif
    for (size_t f = 0; f < 16; ++f)
        for (size_t c = c16; c < cols; ++c) {
            if (vuelta)
                d[f * paso + c] = t[c * 16 + f];
            else
                t[c * 16 + f] = d[f * paso + c];
        }
}

// How many values are 0, 1, 2 and 3, and the largest.
struct Recuento {
    std::array<int64_t, 4> cuenta{};
    uint8_t maximo = 0;
};

Recuento CuentaCercanos(const uint8_t* d, size_t total) {
    Recuento r;
    size_t fin = 0;
#ifdef __SSE2__
    // Byte counters, emptied before they can overflow.
    fin = total - total % 16;
    const __m128i cero = _mm_setzero_si128();
    const __m128i valor[4] = {cero, _mm_set1_epi8(1), _mm_set1_epi8(2), _mm_set1_epi8(3)};
    __m128i maximo = cero;
    for (size_t k = 0; k < fin;) {
        __m128i c[4] = {cero, cero, cero, cero};
        for (const size_t tramo = std::min(fin, k + 255 * 16); k < tramo; k += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + k));
            maximo = _mm_max_epu8(maximo, v);
            for (int h = 0; h < 4; ++h) c[h] = _mm_sub_epi8(c[h], _mm_cmpeq_epi8(v, valor[h]));
        }
        for (size_t h = 0; h < 4; ++h) {
            const __m128i s = _mm_sad_epu8(c[h], cero);
            r.cuenta[h] += _mm_cvtsi128_si32(s) + _mm_cvtsi128_si32(_mm_srli_si128(s, 8));
        }
    }
    alignas(16) uint8_t m[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(m), maximo);
    for (uint8_t v : m) r.maximo = std::max(r.maximo, v);
#endif
    for (size_t k = fin; k < total; ++k) {
        if (d[k] < 4) ++r.cuenta[d[k]];
        r.maximo = std::max(r.maximo, d[k]);
    }
    return r;
}

#ifdef __SSE2__
// Marks the results of `lineas` lines of 19 bytes (see Analisis::Marca);
// returns how many it marked, stopping before the first line that is not a
// column inside the base. Built also for processors with AVX2, whose
// three-operand instructions save the copies between registers.
__attribute__((target_clones("avx2", "default"))) size_t MarcaLineas(const unsigned char* l, size_t lineas,
                                                                     uint8_t* d, const uint8_t (*digito)[16],
                                                                     const int16_t (*paso)[8], size_t mitad) {
    auto carga = [](const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); };
    const __m128i uno = _mm_set1_epi8('1'), equis = _mm_set1_epi8('X'), dos = _mm_set1_epi8('2');
    const __m128i cero = _mm_setzero_si128();
    const __m128i d1 = carga(digito[0]), dX = carga(digito[1]), d2 = carga(digito[2]);
    const __m128i pasoBajo = carga(paso[0]), pasoAlto = carga(paso[1]);
    // Bytes 15-18 of a line: the sign of match 15, then quote, CR, LF.
    constexpr uint32_t kCierre = 0x0A0D2200u;
    for (size_t k = 0; k < lineas; ++k, l += kLongLineaColumna) {
        const __m128i v = carga(l + 1);
        const __m128i e1 = _mm_cmpeq_epi8(v, uno), eX = _mm_cmpeq_epi8(v, equis), e2 = _mm_cmpeq_epi8(v, dos);
        const __m128i dig =
            _mm_or_si128(_mm_or_si128(_mm_and_si128(e1, d1), _mm_and_si128(eX, dX)), _mm_and_si128(e2, d2));
        const int signos = _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(e1, eX), e2));
        uint32_t cierre;
        std::memcpy(&cierre, l + 15, 4);
        if ((_mm_movemask_epi8(dig) | (signos ^ 0x7FFF)) != 0 || (cierre & 0xFFFFFF00u) != kCierre ||
            l[0] != '"')
            return k;
        const __m128i a = _mm_madd_epi16(_mm_unpacklo_epi8(dig, cero), pasoBajo);
        const __m128i b = _mm_madd_epi16(_mm_unpackhi_epi8(dig, cero), pasoAlto);
        // Lanes: the low half's sum twice, the high half's twice.
        __m128i t = _mm_add_epi32(_mm_unpacklo_epi64(a, b), _mm_unpackhi_epi64(a, b));
        t = _mm_add_epi32(t, _mm_shuffle_epi32(t, 0xB1));
        d[static_cast<size_t>(_mm_extract_epi16(t, 0)) +
          static_cast<size_t>(_mm_extract_epi16(t, 4)) * mitad] = 0;
    }
    return lineas;
}

// The same, two lines at a time in the two halves of a 256-bit register,
// on processors with AVX2. A pair with a bad line is left to MarcaLineas,
// which finds which of the two it is.
__attribute__((target("avx2"))) size_t MarcaLineasAvx2(const unsigned char* l, size_t lineas, uint8_t* d,
                                                       const uint8_t (*digito)[16], const int16_t (*paso)[8],
                                                       size_t mitad) {
#define TOBAL_DOBLE(p) _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)))
    const __m256i uno = _mm256_set1_epi8('1'), equis = _mm256_set1_epi8('X'), dos = _mm256_set1_epi8('2');
    const __m256i cero = _mm256_setzero_si256();
    const __m256i d1 = TOBAL_DOBLE(digito[0]), dX = TOBAL_DOBLE(digito[1]), d2 = TOBAL_DOBLE(digito[2]);
    const __m256i pasoBajo = TOBAL_DOBLE(paso[0]), pasoAlto = TOBAL_DOBLE(paso[1]);
#undef TOBAL_DOBLE
    constexpr uint32_t kCierre = 0x0A0D2200u;
    constexpr size_t L = kLongLineaColumna;
    size_t k = 0;
    for (; k + 2 <= lineas; k += 2, l += 2 * L) {
        const __m256i v = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(l + L + 1),
                                              reinterpret_cast<const __m128i*>(l + 1));
        const __m256i e1 = _mm256_cmpeq_epi8(v, uno), eX = _mm256_cmpeq_epi8(v, equis),
                      e2 = _mm256_cmpeq_epi8(v, dos);
        const __m256i dig = _mm256_or_si256(
            _mm256_or_si256(_mm256_and_si256(e1, d1), _mm256_and_si256(eX, dX)), _mm256_and_si256(e2, d2));
        const uint32_t signos =
            static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_or_si256(_mm256_or_si256(e1, eX), e2)));
        uint32_t c1, c2;
        std::memcpy(&c1, l + 15, 4);
        std::memcpy(&c2, l + L + 15, 4);
        if ((static_cast<uint32_t>(_mm256_movemask_epi8(dig)) | (signos ^ 0x7FFF7FFFu)) != 0 ||
            ((c1 | c2) & 0xFFFFFF00u) != kCierre || ((c1 ^ c2) & 0xFFFFFF00u) != 0 || l[0] != '"' ||
            l[L] != '"')
            break;
        const __m256i a = _mm256_madd_epi16(_mm256_unpacklo_epi8(dig, cero), pasoBajo);
        const __m256i b = _mm256_madd_epi16(_mm256_unpackhi_epi8(dig, cero), pasoAlto);
        __m256i t = _mm256_add_epi32(_mm256_unpacklo_epi64(a, b), _mm256_unpackhi_epi64(a, b));
        t = _mm256_add_epi32(t, _mm256_shuffle_epi32(t, 0xB1));
        d[static_cast<size_t>(_mm256_extract_epi16(t, 0)) +
          static_cast<size_t>(_mm256_extract_epi16(t, 4)) * mitad] = 0;
        d[static_cast<size_t>(_mm256_extract_epi16(t, 8)) +
          static_cast<size_t>(_mm256_extract_epi16(t, 12)) * mitad] = 0;
    }
    return k + MarcaLineas(l, lineas - k, d, digito, paso, mitad);
}
#endif

// What a stretch of consecutive matches adds to one condition: its measure
// there, and, for joining it to the stretch that follows, the first and
// last sign of the group in it (-1 when none) and the runs they end.
struct Tramo {
    int8_t valor = 0;
    int8_t primero = -1;
    int8_t ultimo = -1;
    int8_t rachaInicial = 0;
    int8_t rachaFinal = 0;
};

// `signos[m - 1]`: 0, 1, 2 for the sign of match m, for matches desde..hasta.
Tramo MideTramo(const Condicion& c, const std::array<int8_t, 14>& signos, int desde, int hasta) {
    Tramo t;
    int racha = 0;
    bool primeraRacha = true;
    for (int m = desde; m <= hasta; ++m) {
        if (!(c.partidos >> (m - 1) & 1)) continue;
        const int8_t s = signos[static_cast<size_t>(m - 1)];
        racha = s == t.ultimo ? racha + 1 : 1;
        switch (c.medida) {
            case Medida::Unos: t.valor += s == 0; break;
            case Medida::Equis: t.valor += s == 1; break;
            case Medida::Doses: t.valor += s == 2; break;
            case Medida::Variantes: t.valor += s != 0; break;
            case Medida::Interrupciones: t.valor += t.ultimo >= 0 && s != t.ultimo; break;
            case Medida::Seguidos: t.valor = static_cast<int8_t>(std::max<int>(t.valor, racha)); break;
        }
        if (t.primero < 0) t.primero = s;
        primeraRacha = primeraRacha && s == t.primero;
        if (primeraRacha) t.rachaInicial = static_cast<int8_t>(racha);
        t.ultimo = s;
        t.rachaFinal = static_cast<int8_t>(racha);
    }
    return t;
}

// The measure over two stretches, `a` just before `b`.
int Une(Medida m, const Tramo& a, const Tramo& b) {
    const bool juntos = a.ultimo >= 0 && b.primero >= 0;
    switch (m) {
        case Medida::Interrupciones: return a.valor + b.valor + (juntos && a.ultimo != b.primero);
        case Medida::Seguidos:
            return std::max({static_cast<int>(a.valor), static_cast<int>(b.valor),
                             juntos && a.ultimo == b.primero ? a.rachaFinal + b.rachaInicial : 0});
        default: return a.valor + b.valor;
    }
}

class Analisis {
public:
    Analisis(const Reduccion& r, const Condiciones& cs, const fs::path& ruta, const std::string& nombre,
             const AvanceGarantia& avance, const std::atomic<bool>* cancelar)
        : r_(r), cs_(cs), ruta_(ruta), nombre_(nombre), avance_(avance), cancelar_(cancelar) {}
    ResultadoGarantia Ejecuta();

private:
    bool Cancelado() const { return cancelar_ && cancelar_->load(std::memory_order_relaxed); }
    void Avanza(int64_t hecho) {
        hecho_ += hecho;
        const int p = static_cast<int>(std::min<int64_t>(100, hecho_ * 100 / trabajo_));
        if (p != porcentaje_ && avance_) avance_(p);
        porcentaje_ = p;
    }
    static ResultadoGarantia Falla(int error, std::string mensaje) {
        ResultadoGarantia g;
        g.error = error;
        g.mensaje = std::move(mensaje);
        return g;
    }
    bool Prepara(ResultadoGarantia& g);
    // Marks the results the columns of `datos` hit (whole lines); false
    // with `g` failed on the first bad one.
    bool Marca(const std::string& datos, ResultadoGarantia& g);
    ResultadoGarantia ColumnaMala(int64_t n, const unsigned char* l) const;
    bool Barre(size_t desde, size_t hasta);
    bool Propaga();
    void Cuenta(ResultadoGarantia& g);
    bool CuentaCondicionadas(ResultadoGarantia& g);
    std::vector<Tramo> Tramos(size_t ejeDesde, size_t ejeHasta, int desde, int hasta) const;

    const Reduccion& r_;
    const Condiciones& cs_;
    const fs::path& ruta_;
    const std::string& nombre_;
    const AvanceGarantia& avance_;
    const std::atomic<bool>* cancelar_;

    // For each match 1-14, what a sign adds to a result's number, or -1
    // for a sign its base quiniela does not mark (and for any other byte).
    std::array<std::array<int32_t, 256>, 15> valor_{};
    std::array<size_t, 15> pasoPartido_{};  // the step of each match's digit
    std::vector<Eje> ejes_;                 // match 1 first, varying fastest
    size_t total_ = 1;
    std::vector<uint8_t> d_;
    int64_t columnas_ = 0;
    int64_t trabajo_ = 1, hecho_ = 0;
    int porcentaje_ = -1;
};

bool Analisis::Prepara(ResultadoGarantia& g) {
    for (int i = 1; i <= 14; ++i) {
        const Partido& p = r_.Partidos[i];
        int n = 0;
        int digito[3] = {-1, -1, -1};
        for (int s = 1; s <= 3; ++s)
            if (p.Signo[s]) digito[s - 1] = n++;
        if (n == 0) {
            g = Falla(Err::TipoIncorrecto,
                      "La quiniela base de la reducción no tiene ningún signo en el partido " +
                          std::to_string(i) + ".");
            return false;
        }
        valor_[i].fill(-1);
        for (int s = 0; s < 3; ++s)
            if (digito[s] >= 0)
                valor_[i][static_cast<unsigned char>(kSignos[s])] = digito[s] * static_cast<int32_t>(total_);
        pasoPartido_[static_cast<size_t>(i)] = total_;
        if (n > 1) {
            ejes_.push_back({i, n, total_});
            total_ *= static_cast<size_t>(n);
        }
    }
    return true;
}

ResultadoGarantia Analisis::ColumnaMala(int64_t n, const unsigned char* l) const {
    if (!RegistroColumnaValido(std::string_view(reinterpret_cast<const char*>(l), kLongLineaColumna)))
        return Falla(kErrorColumnasDanadas, TextoColumnasDanadas(nombre_, n));
    int i = 1;
    while (valor_[static_cast<size_t>(i)][l[i]] >= 0) ++i;
    return Falla(Err::TipoIncorrecto, "La columna " + std::to_string(n) + " del fichero " + nombre_ +
                                          " tiene el signo " + std::string(1, static_cast<char>(l[i])) +
                                          " en el partido " + std::to_string(i) +
                                          ", que la quiniela base no marca. No se analiza.");
}

bool Analisis::Marca(const std::string& datos, ResultadoGarantia& g) {
    const size_t lineas = datos.size() / kLongLineaColumna;
    const auto* l = reinterpret_cast<const unsigned char*>(datos.data());
    uint8_t* d = d_.data();
#ifdef __SSE2__
    // Byte i of the 16 bytes that follow a line's opening quote is the sign
    // of match i + 1 (the 16th, the closing quote). Per sign, each match's
    // digit, with its high bit set where the base leaves the sign out; the
    // number of a result is the sum of digit x step, in two halves (matches
    // 1-8, 9-14) whose steps fit 16 bits.
    alignas(16) uint8_t digito[3][16] = {};
    alignas(16) int16_t paso[2][8] = {};
    const size_t mitad = pasoPartido_[9];
    for (int i = 1; i <= 14; ++i) {
        for (int s = 0; s < 3; ++s) {
            const int32_t v = valor_[static_cast<size_t>(i)][static_cast<unsigned char>(kSignos[s])];
            digito[s][i - 1] = static_cast<uint8_t>(v < 0 ? 0x80 : v / static_cast<int32_t>(pasoPartido_[i]));
        }
        if (i <= 8)
            paso[0][i - 1] = static_cast<int16_t>(pasoPartido_[i]);
        else
            paso[1][i - 9] = static_cast<int16_t>(pasoPartido_[i] / mitad);
    }
    static const bool avx2 = __builtin_cpu_supports("avx2");
    const size_t buenas = avx2 ? MarcaLineasAvx2(l, lineas, d, digito, paso, mitad)
                               : MarcaLineas(l, lineas, d, digito, paso, mitad);
    if (buenas < lineas) {
        g = ColumnaMala(columnas_ + static_cast<int64_t>(buenas) + 1, l + buenas * kLongLineaColumna);
        return false;
    }
#else
    for (size_t k = 0; k < lineas; ++k, l += kLongLineaColumna) {
        // One pass of table lookups gives both the result's number and
        // whether every sign of matches 1-14 is one its base marks.
        int32_t indice = 0, malo = 0;
        for (size_t i = 1; i <= 14; ++i) {
            const int32_t v = valor_[i][l[i]];
            indice += v;
            malo |= v;
        }
        if (malo < 0 ||
            !RegistroColumnaValido(std::string_view(reinterpret_cast<const char*>(l), kLongLineaColumna))) {
            g = ColumnaMala(columnas_ + static_cast<int64_t>(k) + 1, l);
            return false;
        }
        d[indice] = 0;
    }
#endif
    columnas_ += static_cast<int64_t>(lineas);
    if (datos.size() % kLongLineaColumna) {
        // A record cut by the end of the file is damage too.
        g = Falla(kErrorColumnasDanadas, TextoColumnasDanadas(nombre_, columnas_ + 1));
        return false;
    }
    return true;
}

bool Analisis::Barre(size_t desde, size_t hasta) {
    for (size_t k = desde; k < hasta; ++k) {
        BarreEje(d_.data(), total_, ejes_[k].paso, ejes_[k].n);
        Avanza(static_cast<int64_t>(total_));
        if (Cancelado()) return false;
    }
    return true;
}

// The later matches are swept over the whole space, along stretches at
// least a row long. The earlier ones (a row holds every combination of
// their signs) are swept in strips of 16 rows, transposed in the cache so
// that every value of a row becomes one vector: their steps grow 16 times.
bool Analisis::Propaga() {
    size_t mitad = 0, fila = 1;
    if (total_ >= 16 * kFilaMinima)
        while (mitad < ejes_.size() && fila < kFilaMinima) fila *= static_cast<size_t>(ejes_[mitad++].n);
    if (!Barre(mitad, ejes_.size())) return false;
    if (mitad == 0) return true;
    std::vector<uint8_t> tira(16 * fila);
    const size_t filas = total_ / fila, tiras = filas / 16;
    for (size_t k = 0; k < tiras; ++k) {
        uint8_t* d = d_.data() + k * 16 * fila;
        TrasponeTira(d, fila, tira.data(), fila, false);
        for (size_t e = 0; e < mitad; ++e) BarreEje(tira.data(), tira.size(), 16 * ejes_[e].paso, ejes_[e].n);
        TrasponeTira(d, fila, tira.data(), fila, true);
        if (k % 8 == 7) {
            Avanza(static_cast<int64_t>(8 * 16 * fila * mitad));
            if (Cancelado()) return false;
        }
    }
    for (size_t f = tiras * 16; f < filas; ++f)
        for (size_t e = 0; e < mitad; ++e) BarreEje(d_.data() + f * fila, fila, ejes_[e].paso, ejes_[e].n);
    return !Cancelado();
}

void Analisis::Cuenta(ResultadoGarantia& g) {
    const Recuento rc = CuentaCercanos(d_.data(), total_);
    int64_t resto = g.resultados;
    for (size_t k = 0; k < 4; ++k) {
        g.porFila[k] = rc.cuenta[k];
        resto -= rc.cuenta[k];
    }
    g.porFila[4] = resto;
    const int maxima = rc.maximo;
    g.minimo = 14 - maxima;

    // A result outside the base quiniela on one match only: every column
    // misses that match (they are all inside the base), so its distance is
    // one more than the smallest along that match's line of results. For a
    // single that line is one result, its own distance.
    int peor = -1;
    for (int i = 1; i <= 14; ++i) {
        const Partido& p = r_.Partidos[i];
        const int n = p.Signo[1] + p.Signo[2] + p.Signo[3];
        if (n == 3) continue;
        g.resultadosFuera1 += static_cast<int64_t>(total_ / static_cast<size_t>(n)) * (3 - n);
        if (n == 1) {
            peor = std::max(peor, maxima);
            continue;
        }
        const auto eje =
            std::find_if(ejes_.begin(), ejes_.end(), [i](const Eje& e) { return e.partido == i; });
        const size_t s = eje->paso;
        uint8_t lineaPeor = 0;
#ifdef __SSE2__
        __m128i m = _mm_setzero_si128();
#endif
        for (size_t b = 0; b < total_; b += 2 * s) {
            size_t j = 0;
#ifdef __SSE2__
            for (; j + 16 <= s; j += 16)
                m = _mm_max_epu8(
                    m, _mm_min_epu8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&d_[b + j])),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(&d_[b + s + j]))));
#endif
            for (; j < s; ++j) lineaPeor = std::max(lineaPeor, std::min(d_[b + j], d_[b + s + j]));
        }
#ifdef __SSE2__
        alignas(16) uint8_t v[16];
        _mm_store_si128(reinterpret_cast<__m128i*>(v), m);
        for (uint8_t x : v) lineaPeor = std::max(lineaPeor, x);
#endif
        peor = std::max<int>(peor, lineaPeor);
    }
    if (peor >= 0) g.minimoFuera1 = 14 - (peor + 1);
    g.resultadosBase = g.resultados;
    g.minimoBase = g.minimo;
}

// Every combination of the signs of axes [e0, e1) (the first varying
// fastest), which hold every multiple match of desde..hasta, measured by
// each condition: entry x * conditions + c.
std::vector<Tramo> Analisis::Tramos(size_t e0, size_t e1, int desde, int hasta) const {
    size_t combinaciones = 1;
    for (size_t e = e0; e < e1; ++e) combinaciones *= static_cast<size_t>(ejes_[e].n);
    const size_t k = cs_.lista.size();
    std::vector<Tramo> t(combinaciones * k);
    std::array<int8_t, 14> signos{};
    for (size_t x = 0; x < combinaciones; ++x) {
        size_t resto = x, e = e0;
        for (int m = desde; m <= hasta; ++m) {
            int digito = 0;
            if (e < e1 && ejes_[e].partido == m) {
                const auto n = static_cast<size_t>(ejes_[e++].n);
                digito = static_cast<int>(resto % n);
                resto /= n;
            }
            const Partido& p = r_.Partidos[static_cast<size_t>(m)];
            for (int s = 1; s <= 3; ++s)
                if (p.Signo[static_cast<size_t>(s)] && digito-- == 0) {
                    signos[static_cast<size_t>(m - 1)] = static_cast<int8_t>(s - 1);
                    break;
                }
        }
        for (size_t c = 0; c < k; ++c) t[x * k + c] = MideTramo(cs_.lista[c], signos, desde, hasta);
    }
    return t;
}

// The table and the guarantee over the results that meet the conditions.
// A result's number is (its signs on the first axes) + (the rest) x the
// first axes' combinations, so the matches split in two stretches, each
// measured once per combination of its signs; a result's measures are its
// two stretches joined. The first stretches that join alike (the same
// count; for interruptions and runs also the same last sign and run) are
// one kind, and for each combination of the rest whether each kind fails
// is settled once: a result then costs one lookup per condition. False
// when cancelled.
bool Analisis::CuentaCondicionadas(ResultadoGarantia& g) {
    size_t corte = 0, bajos = 1;
    while (corte < ejes_.size() && bajos * bajos < total_) bajos *= static_cast<size_t>(ejes_[corte++].n);
    const int partidoCorte = corte ? ejes_[corte - 1].partido : 0;
    const std::vector<Tramo> primeros = Tramos(0, corte, 1, partidoCorte);
    const std::vector<Tramo> ultimos = Tramos(corte, ejes_.size(), partidoCorte + 1, 14);
    const size_t k = cs_.lista.size();

    std::vector<Tramo> clases;               // the kinds of every condition, one after another
    std::vector<size_t> primeraClase(k + 1);  // where the kinds of condition c start
    // [c * bajos + l]: the kind of first stretch l among those of condition
    // c (fewer than `bajos`, which is below 3^8).
    std::vector<uint16_t> clase(k * bajos);
    for (size_t c = 0; c < k; ++c) {
        primeraClase[c] = clases.size();
        const Medida m = cs_.lista[c].medida;
        const bool cuentaSolo = m != Medida::Interrupciones && m != Medida::Seguidos;
        std::map<std::array<int, 3>, uint16_t> vistas;
        for (size_t l = 0; l < bajos; ++l) {
            Tramo t = primeros[l * k + c];
            t.primero = -1, t.rachaInicial = 0;
            if (cuentaSolo) t.ultimo = -1, t.rachaFinal = 0;
            const auto [it, nueva] = vistas.try_emplace({t.valor, t.ultimo, t.rachaFinal},
                                                        static_cast<uint16_t>(clases.size() - primeraClase[c]));
            if (nueva) clases.push_back(t);
            clase[c * bajos + l] = it->second;
        }
    }
    primeraClase[k] = clases.size();

    std::array<int64_t, kSinColumna + 1> porDistancia{};
    std::vector<uint8_t> falla(clases.size());
    std::vector<uint16_t> fallan(bajos);  // how many conditions each result of the row fails
    const size_t altos = total_ / bajos;
    for (size_t h = 0; h < altos; ++h) {
        for (size_t c = 0; c < k; ++c) {
            const Condicion& cond = cs_.lista[c];
            for (size_t j = primeraClase[c]; j < primeraClase[c + 1]; ++j) {
                const int v = Une(cond.medida, clases[j], ultimos[h * k + c]);
                falla[j] = v < cond.minimo || v > cond.maximo;
            }
        }
        std::fill(fallan.begin(), fallan.end(), 0);
        for (size_t c = 0; c < k; ++c) {
            const uint16_t* cl = &clase[c * bajos];
            const uint8_t* f = &falla[primeraClase[c]];
            for (size_t l = 0; l < bajos; ++l) fallan[l] = static_cast<uint16_t>(fallan[l] + f[cl[l]]);
        }
        const uint8_t* d = d_.data() + h * bajos;
        for (size_t l = 0; l < bajos; ++l) porDistancia[d[l]] += fallan[l] <= cs_.fallos;
        Avanza(static_cast<int64_t>(bajos));
        if (Cancelado()) return false;
    }
    g.condicionada = true;
    g.condiciones = cs_;
    g.resultados = 0;
    g.porFila = {};
    int maxima = -1;
    for (size_t v = 0; v < porDistancia.size(); ++v) {
        if (!porDistancia[v]) continue;
        g.resultados += porDistancia[v];
        g.porFila[std::min<size_t>(v, 4)] += porDistancia[v];
        maxima = static_cast<int>(v);
    }
    g.minimo = maxima < 0 ? 0 : std::max(0, 14 - maxima);
    return true;
}

ResultadoGarantia Analisis::Ejecuta() {
    ResultadoGarantia g;
    if (!Prepara(g)) return g;

    LectorBloques fichero;
    if (int e = fichero.Abre(ruta_)) {
        if (e == Err::NoEncontrado)
            return Falla(e, "No se encuentra el fichero de columnas " + nombre_ + " de la reducción.");
        return Falla(
            e, "No se puede abrir el fichero de columnas " + nombre_ + " (ERROR " + std::to_string(e) + ").");
    }
    int errorTamano = 0;
    const int64_t tamano = std::max<int64_t>(0, TamanoFichero(ruta_, errorTamano));
    const bool condicionada = !cs_.lista.empty();
    trabajo_ = std::max<int64_t>(1, tamano / kLongLineaColumna +
                                        static_cast<int64_t>(total_ * (ejes_.size() + 1 + condicionada)));
    Avanza(0);
    d_.assign(total_, kSinColumna);

    std::string datos;
    for (;;) {
        if (int e = fichero.Lee(datos, kColumnasBloque * kLongLineaColumna))
            return Falla(e, "No se puede leer el fichero de columnas " + nombre_ + " (ERROR " +
                                std::to_string(e) + ").");
        if (datos.empty()) break;
        if (!Marca(datos, g)) return g;
        Avanza(static_cast<int64_t>(datos.size() / kLongLineaColumna));
        if (Cancelado()) {
            g.fin = FinGarantia::Cancelada;
            return g;
        }
        if (datos.size() < kColumnasBloque * kLongLineaColumna) break;
    }
    if (columnas_ != r_.ApuestasReducidas)
        return Falla(kErrorColumnasDanadas, TextoCuentaColumnas(nombre_, columnas_, r_.ApuestasReducidas));
    g.columnas = columnas_;
    g.resultados = g.resultadosBase = static_cast<int64_t>(total_);
    if (columnas_ == 0) {
        // Nothing is hit: every result is left with no hits at all.
        if (condicionada) {
            g.condicionada = true;
            g.condiciones = cs_;
            g.resultados = CuentaCumplen(r_.Partidos, cs_);
        }
        g.porFila[4] = g.resultados;
        g.fin = FinGarantia::Calculada;
        return g;
    }
    // When every result is a column (a full development) there is nothing
    // to lower: the sweeps would only read and write zeros. Only a file of
    // as many columns as results can be one.
    const bool todos = columnas_ >= static_cast<int64_t>(total_) &&
                       CuentaCercanos(d_.data(), total_).cuenta[0] == static_cast<int64_t>(total_);
    if (!todos && !Propaga()) {
        g.fin = FinGarantia::Cancelada;
        return g;
    }
    Cuenta(g);
    if (condicionada && !CuentaCondicionadas(g)) {
        g = ResultadoGarantia{};
        g.fin = FinGarantia::Cancelada;
        return g;
    }
    Avanza(trabajo_ - hecho_);
    g.fin = FinGarantia::Calculada;
    return g;
}

}  // namespace

ResultadoGarantia CalculaGarantia(const Reduccion& r, const Condiciones& cs, const fs::path& ruta,
                                  const std::string& nombre, const AvanceGarantia& avance,
                                  const std::atomic<bool>* cancelar) {
    return Analisis(r, cs, ruta, nombre, avance, cancelar).Ejecuta();
}

ResultadoGarantia CalculaGarantia(const Reduccion& r, const fs::path& ruta, const std::string& nombre,
                                  const AvanceGarantia& avance, const std::atomic<bool>* cancelar) {
    return CalculaGarantia(r, Condiciones{}, ruta, nombre, avance, cancelar);
}

ResultadoGarantia CalculaGarantia(const Estado& st, const AvanceGarantia& avance,
                                  const std::atomic<bool>* cancelar) {
    const std::string nombre = FicheroRed(st.Jornada(), st.Orden());
    Condiciones cs;
    std::string fallo;
    if (const int e = LeeCondicionesReduccion(st, st.Jornada(), st.Orden(), cs, &fallo)) {
        ResultadoGarantia g;
        g.error = e;
        g.mensaje = TextoCondicionesIlegibles(st.Jornada(), st.Orden(), e, fallo);
        return g;
    }
    return CalculaGarantia(st.ReduccionActual, cs, st.DirDatos / nombre, nombre, avance, cancelar);
}

std::vector<FilaGarantia> FilasGarantia(const ResultadoGarantia& g) {
    std::vector<FilaGarantia> filas;
    const double total = g.resultados > 0 ? static_cast<double>(g.resultados) : 1.0;
    for (size_t k = 0; k < g.porFila.size(); ++k)
        filas.push_back({k == 4 ? "10 o menos" : std::to_string(14 - k), g.porFila[k],
                         static_cast<double>(g.porFila[k]) * 100.0 / total});
    return filas;
}

std::string FraseGarantia(const ResultadoGarantia& g) {
    if (g.columnas == 0) return "La reducción no tiene columnas: no garantiza ningún acierto.";
    if (!g.condicionada)
        return "Garantía: al menos " + std::to_string(g.minimo) +
               " aciertos si el resultado está dentro de la quiniela base.";
    if (g.resultados == 0) return "Ningún resultado de la quiniela base cumple las condiciones.";
    return "Garantía: al menos " + std::to_string(g.minimo) +
           " aciertos si el resultado está dentro de la quiniela base y cumple las condiciones.";
}

std::string FraseGarantiaBase(const ResultadoGarantia& g) {
    if (g.columnas == 0 || !g.condicionada) return {};
    return "Sobre toda la quiniela base: al menos " + std::to_string(g.minimoBase) + " aciertos.";
}

std::string FraseGarantiaFuera(const ResultadoGarantia& g) {
    if (g.columnas == 0 || g.resultadosFuera1 == 0) return {};
    return "Con un partido fuera de la quiniela base: al menos " + std::to_string(g.minimoFuera1) +
           " aciertos.";
}

std::string TextoResultados(int64_t n, Separadores sep) {
    return Formatea(static_cast<double>(n), "#,###,##0", sep);
}

std::string TextoPorcentajeGarantia(double p, Separadores sep) { return Formatea(p, "##0.00", sep); }

}  // namespace tobal
