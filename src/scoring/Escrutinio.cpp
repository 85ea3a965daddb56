#include "scoring/Escrutinio.h"

#include <algorithm>
#include <cmath>
#include <cstring>
// The portable path is built in place of the SSE2 one by defining
// TOBAL31_ESCRUTINIO_PORTABLE (its tests do).
#if defined(__SSE2__) && !defined(TOBAL31_ESCRUTINIO_PORTABLE)
#define TOBAL31_ESCRUTINIO_SSE2 1
#include <immintrin.h>
#endif

#include "app/Archivo.h"
#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "app/Informador.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"

namespace tobal {

namespace {

// The cell geometry: one coordinate is inside a cell when it lies within
// the picture and its rounded offset falls on the cell, not on the gap.
int CeldaEje(double v, double min, double max, double desplaza, int paso, int celda) {
    if (!(v > min && v < max)) return 0;
    const long long redondeado = std::llrint(v + desplaza);  // to even, as the original rounds
    if (redondeado % paso >= celda) return 0;
    return static_cast<int>(std::floor((v + desplaza) / paso));
}

std::string_view Campo(std::string_view fila, size_t pos1, size_t ancho) {
    if (fila.size() < pos1) return {};
    return fila.substr(pos1 - 1, ancho);
}

}  // namespace

CeldaGanadora QueGanadoraHaPulsado(double x, double y) {
    CeldaGanadora c;
    c.fila = CeldaEje(y, 3, 274, 14, 18, 15);
    if (c.fila) c.columna = CeldaEje(x, 3, 48, 12, 15, 13);
    return c;
}

void MarcaCeldaGanadora(Rejilla& rejilla, int fila, int columna) {
    if (fila < 1 || fila > kPartidos || columna < 1 || columna > 3) return;
    rejilla[fila] = rejilla[fila] == columna ? 0 : static_cast<int16_t>(columna);
}

char SignoDeColumna(int columna) {
    switch (columna) {
        case 1: return '1';
        case 2: return 'X';
        case 3: return '2';
        default: return ' ';
    }
}

std::string ColumnaGanadora(const Rejilla& rejilla) {
    std::string g;
    for (int m = 1; m <= kPartidos; ++m) {
        if (rejilla[m] < 1 || rejilla[m] > 3) break;
        g += SignoDeColumna(rejilla[m]);
    }
    return g;
}

EntradasEscrutinio EntradasDeRegistro(std::string_view registro) {
    std::string reg = Ajusta(registro, kLongRegJornada);
    EntradasEscrutinio e;
    for (int m = 1; m <= kPartidos; ++m) {
        char d = reg[kPosResultados - 1 + m - 1];
        e.Ganadora[m] = (d >= '1' && d <= '3') ? static_cast<int16_t>(d - '0') : 0;
    }
    for (int k = 1; k <= 5; ++k) {
        // The field shows what its filter lets through, and the amount is
        // the value of what it shows.
        std::string t(
            Recorta(std::string_view(reg).substr(kPosPremios - 1 + (k - 1) * kLongPremio, kLongPremio)));
        FiltraPremioCompleto(t);
        e.TextoPremios[k] = t;
        e.Premios[k] = ValorPremio(t);
    }
    return e;
}

void PonEntradasEnRegistro(std::string& registro, int jornada, std::string_view fecha,
                           const EntradasEscrutinio& entradas) {
    registro = Ajusta(registro, kLongRegJornada);
    registro.replace(0, 5, "Jor" + DosDigitos(jornada).substr(0, 2));
    registro.replace(5, 8, Ajusta(fecha, 8));
    for (int m = 1; m <= kPartidos; ++m) {
        int16_t c = entradas.Ganadora[m];
        registro[kPosResultados - 1 + m - 1] = (c >= 1 && c <= 3) ? static_cast<char>('0' + c) : '0';
    }
    for (int k = 1; k <= 5; ++k) {
        std::string campo = AlineaDerecha(Recorta(entradas.TextoPremios[k]), kLongPremio);
        registro.replace(kPosPremios - 1 + (k - 1) * kLongPremio, kLongPremio, Ajusta(campo, kLongPremio));
    }
}

std::string FilaAciertos(int aciertos, int32_t cuenta, std::string_view importe) {
    // A count of more than six digits takes the blanks before it, so that the
    // amount keeps its place (a full reduction has 4,782,969 columns).
    std::string fila = "  " + AlineaDerecha(std::to_string(aciertos), 2);
    fila += AlineaDerecha(std::to_string(cuenta), 8);
    fila += "  ";
    fila += importe;
    return fila;
}

std::string FilaTotal(std::string_view importe) { return std::string(kTotalPremios) + std::string(importe); }

std::string FilaBoleto(int32_t boleto, const std::array<int16_t, 16>& cuentas) {
    std::string fila = AlineaDerecha(std::to_string(boleto), 6) + "  ";
    for (int k = 15; k >= 11; --k) {
        fila += "  ";
        fila += cuentas[k] ? std::to_string(cuentas[k]) : " ";
    }
    return fila;
}

void AgregaLisBoletos(std::vector<std::string>& lista, int32_t boleto,
                      const std::array<int16_t, 16>& cuentas) {
    int suma = 0;
    for (int k = 11; k <= 15; ++k) suma += cuentas[k];
    if (suma > 0) lista.push_back(FilaBoleto(boleto, cuentas));
}

int AciertosDeFila(std::string_view fila) { return static_cast<int>(ValEntero(Campo(fila, 3, 2))); }

int32_t CuentaDeFila(std::string_view fila) { return static_cast<int32_t>(ValEntero(Campo(fila, 5, 8))); }

std::string_view TextoCuentaDeFila(std::string_view fila) {
    std::string_view c = Campo(fila, 5, 8);
    size_t inicio = std::min<size_t>(2, c.size());
    while (inicio > 0 && c[inicio - 1] != ' ') --inicio;
    return c.substr(inicio);
}

std::string_view ImporteDeFila(std::string_view fila) {
    if (fila.size() < static_cast<size_t>(kPosImporte)) return {};
    return fila.substr(kPosImporte - 1);
}

double ValorImporteDeFila(std::string_view fila) { return ValDecimal(ImporteDeFila(fila)); }

BoletoPremiado LeeFilaBoleto(std::string_view fila) {
    // The counts stand at fixed places from the end of the row, so a ticket
    // number of more than six digits still reads right.
    BoletoPremiado b;
    if (fila.size() < static_cast<size_t>(kAnchoFilaBoleto)) fila = {};
    const size_t cola = fila.empty() ? 0 : fila.size() - (kAnchoFilaBoleto - 6);
    b.boleto = static_cast<int32_t>(ValEntero(fila.substr(0, cola)));
    for (int k = 1; k <= 5; ++k) {
        size_t pos = cola + 4 + static_cast<size_t>(k - 1) * 3;
        char c = pos < fila.size() ? fila[pos] : ' ';
        b.columnas[k] = (c >= '0' && c <= '9') ? c - '0' : 0;
    }
    return b;
}

namespace {

// Blocks read at a time: small enough for the processor's cache to still
// hold each when it is scored.
constexpr size_t kBloqueLectura = 256 << 10;

// Added to the hits of a column from 11 up in the histograms of the
// four-at-a-time path, where the ticket counts.
constexpr uint8_t kPremio = 16;

#if defined(TOBAL31_ESCRUTINIO_SSE2)
// The number of bits set in each 7-bit value.
constexpr std::array<uint8_t, 128> kUnos = [] {
    std::array<uint8_t, 128> t{};
    for (size_t i = 1; i < t.size(); ++i) t[i] = static_cast<uint8_t>(t[i >> 1] + (i & 1));
    return t;
}();
// The hits of a record from the mask of its matches 1-15 equal to the
// winning column's: those of matches 1-14, 15 when all fifteen are; with
// kPremio from 11 up.
const std::array<uint8_t, 1 << 15> kAciertos = [] {
    std::array<uint8_t, 1 << 15> t{};
    for (size_t m = 0; m < t.size(); ++m) {
        const int a = m == 0x7FFF ? 15 : kUnos[m & 0x7F] + kUnos[(m >> 7) & 0x7F];
        t[m] = static_cast<uint8_t>(a >= 11 ? a | kPremio : a);
    }
    return t;
}();
#endif

// Counts the hits of every record of a columns file, read in large blocks.
// Every record must be a quote, 15 signs among "1", "X" and "2", a quote,
// CR LF; the first one that is not (a record cut by the end of the file
// too) stops the count, and `danada` is its column number.
class Contador {
public:
    Contador(std::string_view ganadora, std::vector<std::string>& boletos) : boletos_(boletos) {
        std::memcpy(ganadora_, ganadora.data(), kPartidos);
        ganadora_[kPartidos] = '"';
#if defined(TOBAL31_ESCRUTINIO_SSE2)
        ganadora128_ = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ganadora_));
#endif
    }

    // A block of the file; a record may run on into the next block.
    void Bloque(const char* p, size_t largo) {
        const char* fin = p + largo;
        if (danada) return;
        if (largoResto_ > 0) {
            const size_t n = std::min<size_t>(kLongLineaColumna - largoResto_, largo);
            std::memcpy(resto_ + largoResto_, p, n);
            largoResto_ += n;
            p += n;
            if (largoResto_ < static_cast<size_t>(kLongLineaColumna)) return;
            largoResto_ = 0;
            if (!Uno(resto_)) return;
        }
        p = Regulares(p, fin);
        if (fin - p >= kLongLineaColumna) {
            danada = columnas + 1;
            return;
        }
        largoResto_ = static_cast<size_t>(fin - p);
        std::memcpy(resto_, p, largoResto_);
    }

    // The end of the file: a record cut short is damage.
    void Fin() {
        if (!danada && largoResto_ > 0) danada = columnas + 1;
        AgregaLisBoletos(boletos_, static_cast<int32_t>(boleto_), cuentaBoleto_);
        for (const auto& h : histograma_)
            for (int a = 0; a <= kPartidos; ++a) cuenta[a] += h[a] + h[a | kPremio];
        cuenta[14] += cuenta[15];  // a 15 also wins the 14 category
    }

    int64_t columnas = 0;
    int64_t danada = 0;
    std::array<int64_t, 16> cuenta{};

private:
#if defined(TOBAL31_ESCRUTINIO_SSE2)
    // Hits of the record at `p`; -1 when it is not a good record.
    int AciertosLinea(const char* p) const {
        if (p[0] != '"' || p[17] != '\r' || p[18] != '\n') return -1;
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const __m128i signos = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('1')), _mm_cmpeq_epi8(v, _mm_set1_epi8('X'))),
            _mm_cmpeq_epi8(v, _mm_set1_epi8('2')));
        const int iguales = _mm_movemask_epi8(_mm_cmpeq_epi8(v, ganadora128_));
        // Signs in bytes 0-14 and the closing quote in byte 15 (the
        // winning column's 16th byte is a quote).
        if (((_mm_movemask_epi8(signos) & 0x7FFF) | (iguales & 0x8000)) != 0xFFFF) return -1;
        const int a = kUnos[iguales & 0x7F] + kUnos[(iguales >> 7) & 0x7F];
        return a == 14 && (iguales & 0x4000) ? 15 : a;
    }
#else
    int AciertosLinea(const char* p) const {
        if (!RegistroColumnaValido(std::string_view(p, kLongLineaColumna))) return -1;
        int a = 0;
        for (int i = 0; i < 14; ++i) a += p[1 + i] == ganadora_[i];
        return a == 14 && p[15] == ganadora_[14] ? 15 : a;
    }
#endif

#if defined(TOBAL31_ESCRUTINIO_SSE2)
    // Scores records four at a time, two in the halves of each 256-bit
    // register, on processors with AVX2, and returns where it stopped:
    // before the first four with a bad record, which the one-at-a-time path
    // then names.
    __attribute__((target("avx2"))) const char* Cuartetos(const char* p, const char* fin) {
        constexpr ptrdiff_t L = kLongLineaColumna;
        const __m256i ganadora = _mm256_broadcastsi128_si256(ganadora128_);
        const __m256i signo =
            _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(kTablaSignos)));
#define TOBAL_CARGA(r)                                                 \
    _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>((r) + L + 1), \
                        reinterpret_cast<const __m128i*>((r) + 1))
#define TOBAL_SIGNOS(v) \
    static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, _mm256_shuffle_epi8(signo, v))))
        auto junta = [](const char* r) {
            uint32_t j;
            std::memcpy(&j, r + 16, 4);
            return j ^ kJuntaColumnas;
        };
        if (p == fin || p[0] != '"') return p;
        int64_t n = columnas;
        // The last record is left to the other path: its end has no next quote.
        for (; fin - p > 4 * L; p += 4 * L) {
            const __m256i v = TOBAL_CARGA(p), w = TOBAL_CARGA(p + 2 * L);
            if ((TOBAL_SIGNOS(v) & TOBAL_SIGNOS(w) & 0x7FFF7FFFu) != 0x7FFF7FFFu ||
                (junta(p) | junta(p + L) | junta(p + 2 * L) | junta(p + 3 * L)) != 0)
                break;
            const auto iv = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, ganadora)));
            const auto iw = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(w, ganadora)));
            const int a0 = kAciertos[iv & 0x7FFF], a1 = kAciertos[(iv >> 16) & 0x7FFF],
                      a2 = kAciertos[iw & 0x7FFF], a3 = kAciertos[(iw >> 16) & 0x7FFF];
            ++histograma_[0][a0];
            ++histograma_[1][a1];
            ++histograma_[2][a2];
            ++histograma_[3][a3];
            if ((a0 | a1 | a2 | a3) & kPremio) {
                if (a0 & kPremio) Premiada(n, a0 & 15);
                if (a1 & kPremio) Premiada(n + 1, a1 & 15);
                if (a2 & kPremio) Premiada(n + 2, a2 & 15);
                if (a3 & kPremio) Premiada(n + 3, a3 & 15);
            }
            n += 4;
        }
#undef TOBAL_CARGA
#undef TOBAL_SIGNOS
        columnas = n;
        return p;
    }
#endif

    // Scores the run of good records at `p` and returns where it ends. The
    // counters live in registers meanwhile.
    const char* Regulares(const char* p, const char* fin) {
#if defined(TOBAL31_ESCRUTINIO_SSE2)
        static const bool avx2 = __builtin_cpu_supports("avx2");
        if (avx2) p = Cuartetos(p, fin);
#endif
        int64_t n = columnas;
        for (; fin - p >= kLongLineaColumna; p += kLongLineaColumna) {
            const int aciertos = AciertosLinea(p);
            if (aciertos < 0) break;
            Anota(aciertos, n);
        }
        columnas = n;
        return p;
    }

    // One record; false when it is damaged.
    bool Uno(const char* p) {
        const int aciertos = AciertosLinea(p);
        if (aciertos < 0) {
            danada = columnas + 1;
            return false;
        }
        Anota(aciertos, columnas);
        return true;
    }

    // Counts column `n` (from 0) and sets `n` to the next.
    void Anota(int aciertos, int64_t& n) {
        // Four histograms in turn, so that runs of equal hits do not wait on
        // one counter.
        ++histograma_[n & 3][aciertos];
        if (aciertos >= 11) Premiada(n, aciertos);
        ++n;
    }

    // Tickets hold 8 columns in file order; the counts matter only from 11
    // hits up, and a ticket is listed once its last such column is met.
    void Premiada(int64_t n, int aciertos) {
        const int64_t boleto = n / kColumnasPorBoleto + 1;
        if (boleto != boleto_) {
            AgregaLisBoletos(boletos_, static_cast<int32_t>(boleto_), cuentaBoleto_);
            cuentaBoleto_.fill(0);
            boleto_ = boleto;
        }
        ++cuentaBoleto_[aciertos];
    }

    std::vector<std::string>& boletos_;
    char ganadora_[16];
#if defined(TOBAL31_ESCRUTINIO_SSE2)
    __m128i ganadora128_;
#endif
    char resto_[kLongLineaColumna];
    size_t largoResto_ = 0;
    int64_t boleto_ = 1;
    std::array<int16_t, 16> cuentaBoleto_{};
    int64_t histograma_[4][32] = {};
};

}  // namespace

ResultadoEscrutinio EscrutaColumnas(const std::filesystem::path& rutaColumnas, std::string_view ganadora,
                                    const std::array<double, 6>& premios,
                                    const ProgresoEscrutinio& progreso) {
    ResultadoEscrutinio r;
    r.ganadora = std::string(ganadora);
    r.premios = premios;
    if (ganadora.size() != static_cast<size_t>(kPartidos)) {
        r.fin = FinEscrutinio::Incompleta;
        return r;
    }
    LectorBloques lector;
    if (int e = lector.Abre(rutaColumnas)) {
        r.fin = FinEscrutinio::SinColumnas;
        r.errorColumnas = e;
        return r;
    }
    int error = 0;
    const int64_t tamano = std::max<int64_t>(1, TamanoFichero(rutaColumnas, error));
    int64_t leidos = 0;
    int ultimoPorcentaje = -1;

    Contador contador(ganadora, r.LisBoletos);
    std::string bloque;
    for (;;) {
        if (int e = lector.Lee(bloque, kBloqueLectura)) {
            // A table of part of the file would be a wrong result.
            r.fin = FinEscrutinio::SinColumnas;
            r.errorColumnas = e;
            r.LisBoletos.clear();
            return r;
        }
        if (bloque.empty()) break;
        contador.Bloque(bloque.data(), bloque.size());
        if (contador.danada) break;
        leidos += static_cast<int64_t>(bloque.size());
        if (progreso) {
            int p = static_cast<int>(std::min<int64_t>(100, leidos * 100 / tamano));
            if (p != ultimoPorcentaje) progreso(ultimoPorcentaje = p);
        }
    }
    contador.Fin();
    if (contador.danada) {
        // A table of part of the file would be a wrong result.
        r.fin = FinEscrutinio::SinColumnas;
        r.errorColumnas = kErrorColumnasDanadas;
        r.columnaDanada = contador.danada;
        r.LisBoletos.clear();
        return r;
    }
    const int64_t n = contador.columnas;
    const std::array<int64_t, 16>& cuenta = contador.cuenta;

    r.columnas = n;
    r.LisAciertos.reserve(kFilasAciertos);
    r.LisAciertos.emplace_back(" ");
    double total = 0;
    for (int h = 15; h >= 0; --h) {
        r.cuenta[h] = static_cast<int32_t>(cuenta[h]);
        std::string importe = " ";
        if (cuenta[h] > 0 && h >= 11) {
            importe = CampoImporte(static_cast<double>(cuenta[h]) * premios[16 - h]);
            r.importe[16 - h] = ValDecimal(importe);
        }
        r.LisAciertos.push_back(FilaAciertos(h, r.cuenta[h], importe));
        total += ValDecimal(importe);
    }
    r.total = total;
    r.LisAciertos[0] = FilaTotal(CampoImporte(total));
    r.fin = FinEscrutinio::Completo;
    if (progreso && ultimoPorcentaje != 100) progreso(100);
    return r;
}

ResultadoEscrutinio Escruta(Estado& st, const EntradasEscrutinio& entradas, const ProgresoEscrutinio& progreso,
                            std::optional<std::string_view> cargado) {
    const int jornada = st.Jornada();
    std::string nuevo = st.RegJornada;
    PonEntradasEnRegistro(nuevo, jornada, st.Datos.FechaJornada, entradas);
    // Only the results and prizes are scoring's: the date and the teams
    // stay as stored, whoever changed them since the record was read.
    const GrabacionJornada g = GrabaCamposJornada(st, jornada, CamposJornada::ResultadosYPremios, nuevo,
                                                  cargado.value_or(st.RegJornada), cargado.has_value());
    const int errorRegistro = g.error;
    if (!errorRegistro) {
        st.RegJornada = g.registro;
        st.Datos.FechaJornada = g.registro.substr(5, 8);
    }
    if (g.cambiada || g.borrada) {
        ResultadoEscrutinio r;
        r.fin = FinEscrutinio::Cambiada;
        return r;
    }
    if (errorRegistro && st.informador)
        st.informador->ErrorFichero(
            "No se han podido guardar la columna ganadora y los premios en el fichero de jornadas "
            "JORNADAS.TBX (ERROR " +
            std::to_string(errorRegistro) + ").");

    ResultadoEscrutinio r;
    const std::string ganadora = ColumnaGanadora(entradas.Ganadora);
    if (ganadora.size() != static_cast<size_t>(kPartidos)) {
        r.fin = FinEscrutinio::Incompleta;
        r.ganadora = ganadora;
        r.premios = entradas.Premios;
    } else {
        st.NomFichero = FicheroRed(jornada, st.Orden());
        st.ErrorFichero = 0;
        // The whole file is checked against its record first: a table of
        // columns the record does not announce would be a wrong result.
        std::string rechazo;
        const int e = CompruebaColumnasReduccion(st, jornada, st.Orden(), rechazo);
        if (!rechazo.empty()) {
            r.fin = FinEscrutinio::SinColumnas;
            r.ganadora = ganadora;
            r.premios = entradas.Premios;
            r.errorColumnas = e;
            st.ErrorFichero = static_cast<int16_t>(e);
            if (st.informador) st.informador->ErrorFichero(rechazo);
        } else {
            r = EscrutaColumnas(st.DirDatos / st.NomFichero, ganadora, entradas.Premios, progreso);
            if (r.columnaDanada) {
                st.ErrorFichero = kErrorColumnasDanadas;
                if (st.informador)
                    st.informador->ErrorFichero(TextoColumnasDanadas(st.NomFichero, r.columnaDanada));
            } else if (r.fin == FinEscrutinio::SinColumnas) {
                InformaErrorFichero(st, Op::Abre(st.NomFichero), r.errorColumnas);
            }
        }
    }
    r.errorRegistro = errorRegistro;
    return r;
}

}  // namespace tobal
