#include "scoring/Escrutinio.h"

#include <algorithm>
#include <cmath>
#include <cstring>
// The portable path is built in place of the SSE2 one by defining
// TOBAL31_ESCRUTINIO_PORTABLE (its tests do).
#if defined(__SSE2__) && !defined(TOBAL31_ESCRUTINIO_PORTABLE)
#define TOBAL31_ESCRUTINIO_SSE2 1
#include <emmintrin.h>
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
        std::string t(Recorta(std::string_view(reg).substr(kPosPremios - 1 + (k - 1) * kLongPremio, kLongPremio)));
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

void AgregaLisBoletos(std::vector<std::string>& lista, int32_t boleto, const std::array<int16_t, 16>& cuentas) {
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

#if defined(TOBAL31_ESCRUTINIO_SSE2)
// The number of bits set in each 7-bit value.
constexpr std::array<uint8_t, 128> kUnos = [] {
    std::array<uint8_t, 128> t{};
    for (size_t i = 1; i < t.size(); ++i) t[i] = static_cast<uint8_t>(t[i >> 1] + (i & 1));
    return t;
}();
#endif

// Counts the hits of every line of a columns file, read in large blocks.
// A line is taken as the columns reader gives it: the text between the
// quotes, or the whole line when it does not start with one; then padded
// with blanks or cut to 15. Blanks, quotes and line ends never equal a sign,
// so only the first 16 bytes of a line matter, however long it is.
class Contador {
public:
    Contador(std::string_view ganadora, std::vector<std::string>& boletos) : boletos_(boletos) {
        std::memcpy(ganadora_, ganadora.data(), kPartidos);
        ganadora_[kPartidos] = '"';
        std::memcpy(&g1_, ganadora_, 8);
        std::memcpy(&g2_, ganadora_ + 8, 8);
        const unsigned char mascara[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};
        std::memcpy(&mascara2_, mascara, 8);
#if defined(TOBAL31_ESCRUTINIO_SSE2)
        ganadora128_ = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ganadora_));
#endif
    }

    // A block of the file; a line may run on into the next block.
    void Bloque(const char* p, size_t largo) {
        const char* fin = p + largo;
        if (enLinea_) {
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', largo));
            Guarda(p, nl ? nl : fin);
            if (!nl) return;
            CierraLinea();
            p = nl + 1;
        }
        while (p < fin) {
            p = Regulares(p, fin);
            if (p >= fin) return;
            const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(fin - p)));
            enLinea_ = true;
            Guarda(p, nl ? nl : fin);
            if (!nl) return;
            CierraLinea();
            p = nl + 1;
        }
    }

    // The end of the file: a last line without its line end counts.
    void Fin() {
        if (enLinea_) CierraLinea();
        AgregaLisBoletos(boletos_, static_cast<int32_t>(boleto_), cuentaBoleto_);
        for (const auto& h : histograma_)
            for (int a = 0; a <= kPartidos; ++a) cuenta[a] += h[a];
        cuenta[14] += cuenta[15];  // a 15 also wins the 14 category
    }

    int64_t columnas = 0;
    std::array<int64_t, 16> cuenta{};

private:
    static uint64_t NoCeros(uint64_t x) {
        // High bit of every byte of x that is not zero.
        constexpr uint64_t k7f = 0x7F7F7F7F7F7F7F7FULL;
        return (((x & k7f) + k7f) | x) & ~k7f;
    }

#if defined(TOBAL31_ESCRUTINIO_SSE2)
    // Hits of a line of quote, 15 signs, quote, CR LF at `p` with no quote
    // among the first 14 signs (one would end the column early); -1 for any
    // other line.
    int AciertosLinea(const char* p) const {
        if (p[0] != '"' || p[17] != '\r' || p[18] != '\n') return -1;
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
        const int comillas = _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')));
        if ((comillas & 0xBFFF) != 0x8000) return -1;
        const int iguales = _mm_movemask_epi8(_mm_cmpeq_epi8(v, ganadora128_));
        const int a = kUnos[iguales & 0x7F] + kUnos[(iguales >> 7) & 0x7F];
        return a == 14 && (iguales & 0x4000) ? 15 : a;
    }
#else
    int AciertosLinea(const char* p) const {
        constexpr uint64_t kComillas = 0x2222222222222222ULL;
        constexpr uint64_t k80 = 0x8080808080808080ULL;
        constexpr uint64_t k01 = 0x0101010101010101ULL;
        if (p[0] != '"' || p[16] != '"' || p[17] != '\r' || p[18] != '\n') return -1;
        uint64_t w1, w2;
        std::memcpy(&w1, p + 1, 8);
        std::memcpy(&w2, p + 9, 8);
        if (NoCeros(w1 ^ kComillas) != k80 || NoCeros((w2 ^ kComillas) | ~mascara2_) != k80) return -1;
        // Each differing byte leaves a 1 in its byte; the product adds them up.
        const uint64_t d = (NoCeros(w1 ^ g1_) >> 7) + (NoCeros((w2 ^ g2_) & mascara2_) >> 7);
        const int a = 14 - static_cast<int>((d * k01) >> 56);
        return a == 14 && p[15] == ganadora_[14] ? 15 : a;
    }
#endif

    // Scores the run of regular lines at `p`, nearly every line of a columns
    // file, and returns where it ends. The counters live in registers meanwhile.
    const char* Regulares(const char* p, const char* fin) {
        int64_t n = columnas;
        int enBoleto = enBoleto_;
        for (; fin - p >= kLongLineaColumna; p += kLongLineaColumna) {
            const int aciertos = AciertosLinea(p);
            if (aciertos < 0) break;
            Anota(aciertos, n, enBoleto);
        }
        columnas = n;
        enBoleto_ = enBoleto;
        return p;
    }

    void Guarda(const char* desde, const char* hasta) {
        const size_t cabe = sizeof linea_ - largoLinea_;
        const size_t n = std::min(cabe, static_cast<size_t>(hasta - desde));
        std::memcpy(linea_ + largoLinea_, desde, n);
        largoLinea_ += n;
    }

    void CierraLinea() {
        std::string_view col(linea_, largoLinea_);
        if (!col.empty() && col.front() == '"') {
            col.remove_prefix(1);
            col = col.substr(0, col.find('"'));
        }
        const size_t largo = std::min(col.size(), static_cast<size_t>(kPartidos));
        int a = 0;
        for (size_t i = 0; i < std::min<size_t>(largo, 14); ++i) a += col[i] == ganadora_[i];
        if (a == 14 && largo == 15 && col[14] == ganadora_[14]) a = 15;
        Anota(a, columnas, enBoleto_);
        enLinea_ = false;
        largoLinea_ = 0;
    }

    // Counts a column; `n` and `enBoleto` are the column count and the
    // place on the current ticket.
    void Anota(int aciertos, int64_t& n, int& enBoleto) {
        // Four histograms in turn, so that runs of equal hits do not wait on
        // one counter; the ticket counts matter only from 11 hits up.
        ++histograma_[n & 3][aciertos];
        ++n;
        if (++enBoleto > kColumnasPorBoleto) {
            CierraBoleto();
            enBoleto = 1;
        }
        if (aciertos >= 11) {
            ++cuentaBoleto_[aciertos];
            premiado_ = true;
        }
    }

    // Tickets hold 8 columns in file order.
    void CierraBoleto() {
        if (premiado_) {
            AgregaLisBoletos(boletos_, static_cast<int32_t>(boleto_), cuentaBoleto_);
            cuentaBoleto_.fill(0);
            premiado_ = false;
        }
        ++boleto_;
    }

    std::vector<std::string>& boletos_;
    char ganadora_[16];
    uint64_t g1_ = 0, g2_ = 0, mascara2_ = 0;
#if defined(TOBAL31_ESCRUTINIO_SSE2)
    __m128i ganadora128_;
#endif
    char linea_[16];
    size_t largoLinea_ = 0;
    bool enLinea_ = false;
    int64_t boleto_ = 1;
    int enBoleto_ = 0;
    bool premiado_ = false;
    std::array<int16_t, 16> cuentaBoleto_{};
    int64_t histograma_[4][16] = {};
};

}  // namespace

ResultadoEscrutinio EscrutaColumnas(const std::filesystem::path& rutaColumnas, std::string_view ganadora,
                                    const std::array<double, 6>& premios, const ProgresoEscrutinio& progreso) {
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
        if (int e = lector.Lee(bloque, 1 << 20)) {
            // A table of part of the file would be a wrong result.
            r.fin = FinEscrutinio::SinColumnas;
            r.errorColumnas = e;
            r.LisBoletos.clear();
            return r;
        }
        if (bloque.empty()) break;
        contador.Bloque(bloque.data(), bloque.size());
        leidos += static_cast<int64_t>(bloque.size());
        if (progreso) {
            int p = static_cast<int>(std::min<int64_t>(100, leidos * 100 / tamano));
            if (p != ultimoPorcentaje) progreso(ultimoPorcentaje = p);
        }
    }
    contador.Fin();
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

ResultadoEscrutinio Escruta(Estado& st, const EntradasEscrutinio& entradas, const ProgresoEscrutinio& progreso) {
    const int jornada = st.Jornada();
    PonEntradasEnRegistro(st.RegJornada, jornada, st.Datos.FechaJornada, entradas);
    const int errorRegistro = GrabaRegistroJornada(st, jornada, st.RegJornada);
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
        r = EscrutaColumnas(st.DirDatos / st.NomFichero, ganadora, entradas.Premios, progreso);
        if (r.fin == FinEscrutinio::SinColumnas) InformaErrorFichero(st, Op::Abre(st.NomFichero), r.errorColumnas);
    }
    r.errorRegistro = errorRegistro;
    return r;
}

}  // namespace tobal
