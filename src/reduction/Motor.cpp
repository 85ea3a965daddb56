#include "reduction/Motor.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "app/Archivo.h"
#include "app/Cerrojo.h"
#include "app/ErrorFichero.h"
#include "app/Informador.h"
#include "app/Texto.h"
#include "reduction/Almacen.h"
#include "reduction/Condiciones.h"
#include "reduction/Cubierta.h"
#include "reduction/CubiertaCondicionada.h"
#include "reduction/Estadistica.h"
#include "reduction/Tablas.h"

namespace tobal {

std::string TextoCuentas(const Estado& st) {
    const Reduccion& r = st.ReduccionActual;
    const std::string reducidas = std::to_string(r.ApuestasReducidas);
    // A minimal reduction under conditions knows its size only once its
    // covering is built: until then the count is the bound.
    const bool cota = r.Metodo == 4 && !st.CondicionesActuales.lista.empty();
    return AlineaDerecha(std::to_string(r.ApuestasDirectas), 9) + " apuestas reducidas a " +
           (cota ? "hasta " + reducidas : Ajusta(reducidas, 7));
}

int ClaveReduccion(int jornada, int orden) { return jornada * 100 + orden; }

std::string TextoReduccionEnCurso(int jornada, int orden) {
    return "La reducción de la jornada " + std::to_string(jornada) + ", orden " + std::to_string(orden) +
           " se está calculando ya en otra ventana o en otro programa. Espere a que termine antes de "
           "volver a reducirla.";
}

bool RechazaCondiciones(const Estado& st) {
    if (st.ReduccionActual.Metodo != 1 || st.CondicionesActuales.lista.empty()) return false;
    const auto filas = FilasTabla(st.ReduccionActual, st.Esta);
    return std::any_of(filas.begin(), filas.end(), [](int16_t f) { return f != 0; });
}

std::string TextoPorcentaje(int porcentaje) {
    return "Se ha realizado el " + AlineaDerecha(std::to_string(porcentaje), 3) + " % de la reducción ";
}

namespace {

constexpr char kSignos[] = "1X2";
constexpr size_t kColumnasBloque = 1 << 14;  // 311 KB of lines per write, while the cache holds them
// The most states of the inner part of the development (see Recorre).
constexpr int64_t kMaxInteriores = 4096;
// The counts of "1", "X" and "2" (0 to 14 each) as one number.
constexpr int kClases = 15 * 15 * 15;
int ClaseCuentas(const int cuenta[3]) { return (cuenta[0] * 15 + cuenta[1]) * 15 + cuenta[2]; }

// The first 16 bytes of a line (its quote and the signs of matches 1 to 15)
// as two words. A part of the development sets the bytes of its own matches
// and leaves the others zero, so that a line is the OR of its parts.
struct Trozo {
    uint64_t w[2] = {0, 0};
};

// A match whose sign changes from one state of the development to the next.
struct Rueda {
    int linea;      // position of its sign in the line (1..14)
    int n;          // marked signs
    char signo[3];  // the marked signs, in the order 1, X, 2
    int error[3];   // method 2: 1 when the sign differs from the base sign
    int clase[3];   // method 3: 0, 1, 2 for a counted "1", "X", "2"; 3 not counted
};

// One side of a column as a condition sees it: the measure over the side's
// matches of the condition's group, the first and last signs there (0, 1,
// 2; -1 when the side has none of the group) and the runs of one sign it
// starts and ends with.
struct Tramo {
    int valor = 0, primero = -1, ultimo = -1, cabeza = 0, cola = 0;
};

// The side of matches desde..hasta-1 of a line's bytes.
Tramo Resume(const Condicion& c, const unsigned char* linea, int desde, int hasta) {
    Tramo t;
    int racha = 0;
    bool enCabeza = true;
    for (int m = desde; m < hasta; ++m) {
        if (!(c.partidos >> (m - 1) & 1)) continue;
        const int s = linea[m] == '1' ? 0 : linea[m] == 'X' ? 1 : 2;
        const bool sigue = s == t.ultimo;
        racha = sigue ? racha + 1 : 1;
        enCabeza = enCabeza && (t.ultimo < 0 || sigue);
        if (enCabeza) ++t.cabeza;
        if (t.primero < 0) t.primero = s;
        switch (c.medida) {
            case Medida::Unos: t.valor += s == 0; break;
            case Medida::Equis: t.valor += s == 1; break;
            case Medida::Doses: t.valor += s == 2; break;
            case Medida::Variantes: t.valor += s != 0; break;
            case Medida::Interrupciones: t.valor += t.ultimo >= 0 && !sigue; break;
            case Medida::Seguidos: t.valor = std::max(t.valor, racha); break;
        }
        t.ultimo = s;
    }
    t.cola = racha;
    return t;
}

// The measure of the whole column from its two sides.
int Junta(const Condicion& c, const Tramo& a, const Tramo& b) {
    const bool unidos = a.ultimo >= 0 && a.ultimo == b.primero;
    switch (c.medida) {
        case Medida::Interrupciones: return a.valor + b.valor + (a.ultimo >= 0 && b.primero >= 0 && !unidos);
        case Medida::Seguidos: return std::max({a.valor, b.valor, unidos ? a.cola + b.cabeza : 0});
        default: return a.valor + b.valor;
    }
}

// What of a side the joint measure depends on, as one number under 1024:
// the first side's end or the second side's start.
int Clave(const Condicion& c, const Tramo& t, bool primero) {
    const int signo = (primero ? t.ultimo : t.primero) + 1, racha = primero ? t.cola : t.cabeza;
    switch (c.medida) {
        case Medida::Interrupciones: return t.valor * 4 + signo;
        case Medida::Seguidos: return (t.valor * 16 + racha) * 4 + signo;
        default: return t.valor;
    }
}
constexpr int kClavesTramo = 1024;

// The conditions over the columns of a run. The development splits at its
// first outer wheel: an inner state fixes the matches before it, an outer
// state the matches from it on. A condition's measure follows from a
// summary of each side (Tramo), so the inner states are grouped by their
// summary, and the inner states an outer state lets through are a union of
// groups, kept as a bitset for each summary of the outer side met. Judging
// a column is then one bit, whatever the conditions.
class Filtro {
public:
    // `interiores`: the bytes of matches 1..corte-1 of each inner state.
    Filtro(const Condiciones& cs, int corte, const std::vector<std::array<unsigned char, 16>>& interiores)
        : cs_(cs), corte_(corte), palabras_((interiores.size() + 63) / 64) {
        for (const Condicion& c : cs.lista) {
            Lado lado;
            std::map<int, size_t> grupo;
            for (size_t j = 0; j < interiores.size(); ++j) {
                const Tramo t = Resume(c, interiores[j].data(), 1, corte);
                const auto [it, nuevo] = grupo.try_emplace(Clave(c, t, true), lado.grupos.size());
                if (nuevo) lado.grupos.push_back({t, std::vector<uint64_t>(palabras_, 0)});
                lado.grupos[it->second].estados[j / 64] |= uint64_t{1} << (j % 64);
            }
            lado.indice.assign(kClavesTramo, -1);
            lados_.push_back(std::move(lado));
        }
        capas_.assign(static_cast<size_t>(std::max(cs.fallos + 1, 1)), std::vector<uint64_t>(palabras_));
    }

    // The inner states kept with the outer side of `linea`, one bit each.
    const uint64_t* Pasan(const unsigned char* linea) {
        // capas_[f]: the states failing at most f of the conditions so far.
        for (auto& capa : capas_) std::fill(capa.begin(), capa.end(), cs_.fallos < 0 ? 0 : ~uint64_t{0});
        if (cs_.fallos < 0) return capas_[0].data();
        for (size_t k = 0; k < lados_.size(); ++k) {
            const uint64_t* cumplen = Cumplen(k, linea);
            for (size_t f = capas_.size(); f-- > 1;)
                for (size_t w = 0; w < palabras_; ++w)
                    capas_[f][w] = (capas_[f][w] & cumplen[w]) | capas_[f - 1][w];
            for (size_t w = 0; w < palabras_; ++w) capas_[0][w] &= cumplen[w];
        }
        return capas_.back().data();
    }

private:
    struct Grupo {
        Tramo tramo;
        std::vector<uint64_t> estados;
    };
    struct Lado {
        std::vector<Grupo> grupos;  // the inner states by summary
        std::vector<int> indice;    // outer summary -> its set in `cumplen`, -1 not yet
        std::vector<std::vector<uint64_t>> cumplen;
    };

    // The inner states that meet condition k with the outer side of `linea`.
    const uint64_t* Cumplen(size_t k, const unsigned char* linea) {
        const Condicion& c = cs_.lista[k];
        Lado& lado = lados_[k];
        const Tramo b = Resume(c, linea, corte_, 15);
        int& i = lado.indice[static_cast<size_t>(Clave(c, b, false))];
        if (i < 0) {
            std::vector<uint64_t> cumplen(palabras_, 0);
            for (const Grupo& g : lado.grupos) {
                const int v = Junta(c, g.tramo, b);
                if (v < c.minimo || v > c.maximo) continue;
                for (size_t w = 0; w < palabras_; ++w) cumplen[w] |= g.estados[w];
            }
            i = static_cast<int>(lado.cumplen.size());
            lado.cumplen.push_back(std::move(cumplen));
        }
        return lado.cumplen[static_cast<size_t>(i)].data();
    }

    const Condiciones& cs_;
    const int corte_;
    const size_t palabras_;
    std::vector<Lado> lados_;
    std::vector<std::vector<uint64_t>> capas_;
};

class Ejecucion {
public:
    Ejecucion(Estado& st, const AvanceReduccion& avance, const std::atomic<bool>* cancelar)
        : st_(st), r_(st.ReduccionActual), avance_(avance), cancelar_(cancelar) {}
    ResultadoReduccion Ejecuta();

private:
    bool Cancelado() const {
        return cancelar_ ? cancelar_->load(std::memory_order_relaxed) : st_.Cancelado != Falso;
    }
    bool Prepara();
    void Recorre();
    void RecorreCubierta();
    void Vuelca() {
        escritor_.Escribe(std::string_view(bloque_.data(), usado_));
        usado_ = 0;
    }
    void EscribeLinea() {
        std::memcpy(bloque_.data() + usado_, linea_, kLongLineaColumna);
        usado_ += kLongLineaColumna;
        ++columnas_;
        if (usado_ == bloque_.size()) Vuelca();
    }
    ResultadoReduccion Falla(int numero, const std::string& que);

    Estado& st_;
    Reduccion& r_;
    const AvanceReduccion& avance_;
    const std::atomic<bool>* cancelar_;

    EscritorBloques escritor_;
    std::vector<char> bloque_;
    size_t usado_ = 0;
    char linea_[kLongLineaColumna];
    std::vector<Rueda> ruedas_;
    int64_t combinaciones_ = 1;
    int64_t columnas_ = 0;
    bool cancelado_ = false;
    // Method 2: differences of the fixed matches; method 3: their counts.
    int erroresFijos_ = 0;
    int cuentaFija_[4] = {0, 0, 0, 0};
    // Method 1: for each table column, the signs it puts on the table's
    // matches, as (position in the line, sign).
    std::vector<std::vector<std::pair<int, char>>> tabla_;
    // Method 4: the covering of the reduced multiples and, for each of its
    // coordinates, the match's position in the line and its marked signs.
    Cubierta cubierta_;
    // With conditions, the covering of each state is built as the run
    // reaches it, over that state's results that meet them.
    std::unique_ptr<CubiertaCondicionada> condicionada_;
    std::vector<int> lineaCubierta_;
    std::vector<std::array<char, 3>> signosCubierta_;
};

// The marked signs of a match, in the order 1, X, 2.
int SignosMarcados(const Partido& p, char signos[3]) {
    int n = 0;
    for (int s = 1; s <= 3; ++s)
        if (p.Signo[s]) signos[n++] = kSignos[s - 1];
    return n;
}

bool Ejecucion::Prepara() {
    const Estadistica& e = st_.Esta;
    const int metodo = r_.Metodo;
    // Method 4 takes every reduced multiple into its covering: the reduced
    // triples first, then the reduced doubles, each in match order.
    Estadistica celda = e;
    celda.TriplesTabla = e.TriplesReducir;
    celda.DoblesTabla = e.DoblesReducir;
    const auto filas = metodo == 1   ? FilasTabla(r_, e)
                       : metodo == 4 ? FilasTabla(r_, celda)
                                     : std::array<int16_t, 16>{};
    linea_[0] = '"';
    linea_[16] = '"';
    linea_[17] = '\r';
    linea_[18] = '\n';
    for (int i = 1; i <= 15; ++i) {
        const Partido& p = r_.Partidos[i];
        char signos[3];
        const int n = SignosMarcados(p, signos);
        if (n == 0) return false;
        linea_[i] = signos[0];
        if (i == 15) break;  // match 15 always takes its first sign
        const int base = p.SignoBase >= 1 && p.SignoBase <= 3 ? p.SignoBase : 0;
        // What the statistics count must be what is written.
        if (n != p.NumSignos || (metodo == 2 && p.AReducir == 1 && !base)) return false;
        Rueda w{i, n, {}, {}, {}};
        for (int k = 0; k < n; ++k) {
            w.signo[k] = signos[k];
            w.error[k] = base && signos[k] != kSignos[base - 1] ? 1 : 0;
            w.clase[k] = p.AReducir == 1 ? static_cast<int>(std::strchr(kSignos, signos[k]) - kSignos) : 3;
        }
        if (n > 1 && !filas[i]) {
            ruedas_.push_back(w);
            combinaciones_ *= n;
        } else {
            erroresFijos_ += w.error[0];
            ++cuentaFija_[w.clase[0]];
        }
    }
    if (metodo == 1) {
        tabla_.resize(static_cast<size_t>(std::max<int>(e.ApuestasTabla, 1)));
        for (int i = 1; i <= 14; ++i) {
            if (!filas[i]) continue;
            char signos[3];
            SignosMarcados(r_.Partidos[i], signos);
            const std::string_view fila = PatronesReduccion[static_cast<size_t>(e.InicioTabla + filas[i])];
            for (size_t k = 0; k < tabla_.size() && k < fila.size(); ++k)
                tabla_[k].emplace_back(i, signos[fila[k] - '1']);
        }
    }
    if (metodo == 4) {
        const size_t n = static_cast<size_t>(e.TriplesReducir + e.DoblesReducir);
        lineaCubierta_.assign(n, 0);
        signosCubierta_.assign(n, {});
        for (int i = 1; i <= 14; ++i) {
            if (!filas[i]) continue;
            const size_t k = static_cast<size_t>(filas[i] - 1);
            lineaCubierta_[k] = i;
            SignosMarcados(r_.Partidos[i], signosCubierta_[k].data());
        }
        if (!st_.CondicionesActuales.lista.empty()) {
            condicionada_ =
                std::make_unique<CubiertaCondicionada>(r_, st_.CondicionesActuales, r_.MaxErrores);
            // Its words must read on the same matches as the ones written.
            return condicionada_->PartidoDe() == lineaCubierta_;
        }
        cubierta_ = ConstruyeCubierta(e.TriplesReducir, e.DoblesReducir, r_.MaxErrores);
        // The statistics announce ColumnasCubierta; a covering that is not
        // that many words of digits its matches have would break the record.
        if (static_cast<int64_t>(cubierta_.palabras) !=
                ColumnasCubierta(e.TriplesReducir, e.DoblesReducir, r_.MaxErrores) ||
            cubierta_.digitos.size() != cubierta_.palabras * n)
            return false;
        for (size_t p = 0; p < cubierta_.digitos.size(); ++p)
            if (cubierta_.digitos[p] >= (p % n < static_cast<size_t>(e.TriplesReducir) ? 3 : 2)) return false;
    }
    return true;
}

// Method 4: for each state of the multiples developed in full (match 1
// fastest), the covering's words in the covering's order. Progress and
// cancelling go by columns, as one state may hold the whole covering; with
// conditions, by the results that meet them, covered or passed, as building
// a state's covering takes longer than writing it.
void Ejecucion::RecorreCubierta() {
    const size_t n = lineaCubierta_.size(), nRuedas = ruedas_.size();
    const int64_t total = condicionada_
                              ? std::max<int64_t>(CuentaCumplen(r_.Partidos, st_.CondicionesActuales), 1)
                              : combinaciones_ * static_cast<int64_t>(cubierta_.palabras);
    int64_t hechos = 0;  // with conditions: the results of the states done
    std::vector<int> pos(nRuedas, 0);
    int ultimo = -1;
    const auto informa = [&](int64_t hecho) {
        const int porcentaje = static_cast<int>(std::min<int64_t>(hecho * 100 / total, 100));
        if (porcentaje != ultimo && avance_) avance_(porcentaje, TextoPorcentaje(porcentaje));
        ultimo = porcentaje;
        if (Cancelado()) cancelado_ = true;
        return !cancelado_ && !escritor_.Error();
    };
    const auto informaCubiertos = [&](int64_t cubiertos) { return informa(hechos + cubiertos); };
    for (;;) {
        const Cubierta* c = &cubierta_;
        if (condicionada_) {
            if (!informa(hechos) ||
                !condicionada_->Construye(std::string_view(linea_ + 1, 14), informaCubiertos))
                return;
            c = &condicionada_->Resultado();
            hechos += condicionada_->Condicionados();
        }
        const uint8_t* d = c->digitos.data();
        for (size_t w = 0; w < c->palabras; ++w, d += n) {
            if ((columnas_ & 0xFFFF) == 0 && !informa(condicionada_ ? hechos : columnas_)) return;
            for (size_t k = 0; k < n; ++k) linea_[lineaCubierta_[k]] = signosCubierta_[k][d[k]];
            EscribeLinea();
        }
        size_t k = 0;
        for (; k < nRuedas; ++k) {
            const Rueda& w = ruedas_[k];
            pos[k] = pos[k] + 1 == w.n ? 0 : pos[k] + 1;
            linea_[w.linea] = w.signo[pos[k]];
            if (pos[k] != 0) break;
        }
        if (k == nRuedas) break;
    }
    if (ultimo != 100 && avance_) avance_(100, TextoPorcentaje(100));
}

void Ejecucion::Recorre() {
    const int metodo = r_.Metodo;
    if (metodo == 4) return RecorreCubierta();
    const size_t nRuedas = ruedas_.size();
    const size_t columnasTabla = std::max<size_t>(tabla_.size(), 1);
    // The inner part: the table's columns and the fastest wheels, as long as
    // its states stay few and each step of the outer wheels stays under 1 %
    // of the development (so that every percentage is reported).
    size_t nInteriores = 0;
    int64_t estadosInteriores = 1;
    while (nInteriores < nRuedas) {
        const int64_t siguiente = estadosInteriores * ruedas_[nInteriores].n;
        if (static_cast<int64_t>(columnasTabla) * siguiente > kMaxInteriores ||
            siguiente * 100 > combinaciones_)
            break;
        estadosInteriores = siguiente;
        ++nInteriores;
    }

    // The inner states in the order of the development (the table's column
    // fastest), each with its bytes, differences and counts.
    const size_t nEstados = columnasTabla * static_cast<size_t>(estadosInteriores);
    std::vector<Trozo> interior(nEstados);
    std::vector<int> erroresInterior(nEstados);
    std::vector<int> claseInterior(nEstados);  // counts of "1", "X", "2" as one number
    {
        std::vector<int> pos(nInteriores, 0);
        for (size_t j = 0; j < nEstados; ++j) {
            const size_t t = j % columnasTabla;
            if (t == 0 && j > 0)
                for (size_t k = 0; k < nInteriores && ++pos[k] == ruedas_[k].n; ++k) pos[k] = 0;
            unsigned char bytes[16] = {};
            int errores = 0, cuenta[4] = {0, 0, 0, 0};
            if (!tabla_.empty())
                for (const auto& [i, signo] : tabla_[t]) bytes[i] = static_cast<unsigned char>(signo);
            for (size_t k = 0; k < nInteriores; ++k) {
                const Rueda& w = ruedas_[k];
                bytes[w.linea] = static_cast<unsigned char>(w.signo[pos[k]]);
                errores += w.error[pos[k]];
                ++cuenta[w.clase[pos[k]]];
            }
            std::memcpy(interior[j].w, bytes, 16);
            erroresInterior[j] = errores;
            claseInterior[j] = ClaseCuentas(cuenta);
        }
    }
    // The inner states each state of the outer wheels writes, by the key of
    // that state: method 2 its differences, method 3 the counts the inner
    // part must bring; method 1 writes them all.
    std::vector<std::vector<uint16_t>> listas(metodo == 2 ? 15 : metodo == 3 ? kClases : 1);
    for (size_t j = 0; j < nEstados; ++j) {
        if (metodo == 2) {
            for (int e = 0; e < 15; ++e)
                if (e + erroresInterior[j] >= r_.MinErrores && e + erroresInterior[j] <= r_.MaxErrores)
                    listas[static_cast<size_t>(e)].push_back(static_cast<uint16_t>(j));
        } else {
            listas[metodo == 3 ? static_cast<size_t>(claseInterior[j]) : 0].push_back(
                static_cast<uint16_t>(j));
        }
    }

    // The outer wheels' odometer: its line bytes, differences and counts.
    std::vector<int> pos(nRuedas, 0);
    unsigned char exterior[16];
    std::memcpy(exterior, linea_, 16);
    int errores = erroresFijos_;
    int cuenta[4] = {cuentaFija_[0], cuentaFija_[1], cuentaFija_[2], cuentaFija_[3]};
    for (size_t k = 0; k < nRuedas; ++k) {
        const Rueda& w = ruedas_[k];
        if (k < nInteriores) {
            exterior[w.linea] = 0;
        } else {
            errores += w.error[0];
            ++cuenta[w.clase[0]];
        }
    }
    if (!tabla_.empty())
        for (const auto& [i, signo] : tabla_[0]) exterior[i] = 0;
    char cola[4];
    std::memcpy(cola, linea_ + 15, 4);

    // Conditions that some column could fail: each outer state writes only
    // the inner states they keep. Failures allowed for all of them keep all.
    const Condiciones& cs = st_.CondicionesActuales;
    std::optional<Filtro> filtro;
    std::vector<std::vector<uint64_t>> mascaras;
    if (!cs.lista.empty() && cs.fallos < static_cast<int>(cs.lista.size())) {
        const int corte = nInteriores < nRuedas ? ruedas_[nInteriores].linea : 15;
        std::vector<std::array<unsigned char, 16>> interiores(nEstados);
        for (size_t j = 0; j < nEstados; ++j) {
            std::memcpy(interiores[j].data(), interior[j].w, 16);
            for (size_t i = 0; i < 16; ++i) interiores[j][i] |= exterior[i];
        }
        filtro.emplace(cs, corte, interiores);
        // Each list of inner states as a bitset too.
        mascaras.resize(listas.size());
        for (size_t l = 0; l < listas.size(); ++l) {
            if (listas[l].empty()) continue;
            mascaras[l].assign((nEstados + 63) / 64, 0);
            for (const uint16_t j : listas[l]) mascaras[l][j / 64] |= uint64_t{1} << (j % 64);
        }
    }

    int64_t contador = 0, umbral = 1;
    for (;;) {
        if ((contador += estadosInteriores) >= umbral) {
            const int porcentaje = static_cast<int>(contador * 100 / combinaciones_);
            if (avance_) avance_(porcentaje, TextoPorcentaje(porcentaje));
            umbral = ((porcentaje + 1) * combinaciones_ + 99) / 100;
        }
        if (Cancelado()) {
            cancelado_ = true;
            return;
        }
        const std::vector<uint16_t>* lista = &listas[0];
        if (metodo == 2) {
            lista = &listas[static_cast<size_t>(std::min(errores, 14))];
        } else if (metodo == 3) {
            const int falta[3] = {r_.Signos[1] - cuenta[0], r_.Signos[2] - cuenta[1],
                                  r_.Signos[3] - cuenta[2]};
            lista = nullptr;
            if (falta[0] >= 0 && falta[1] >= 0 && falta[2] >= 0 && falta[0] <= 14 && falta[1] <= 14 &&
                falta[2] <= 14)
                lista = &listas[static_cast<size_t>(ClaseCuentas(falta))];
        }
        if (lista && !lista->empty()) {
            if (usado_ + lista->size() * kLongLineaColumna > bloque_.size()) Vuelca();
            Trozo fuera;
            std::memcpy(fuera.w, exterior, 16);
            char* p = bloque_.data() + usado_;
            if (!filtro) {
                for (const uint16_t j : *lista) {
                    const Trozo& dentro = interior[j];
                    const uint64_t w[2] = {fuera.w[0] | dentro.w[0], fuera.w[1] | dentro.w[1]};
                    std::memcpy(p, w, 16);
                    std::memcpy(p + 15, cola, 4);
                    p += kLongLineaColumna;
                }
                usado_ += lista->size() * kLongLineaColumna;
                columnas_ += static_cast<int64_t>(lista->size());
            } else {
                // The list's states the conditions keep, in the list's order.
                const uint64_t* pasan = filtro->Pasan(exterior);
                const std::vector<uint64_t>& en = mascaras[static_cast<size_t>(lista - listas.data())];
                const auto escribe = [&](const Trozo& dentro) {
                    const uint64_t x[2] = {fuera.w[0] | dentro.w[0], fuera.w[1] | dentro.w[1]};
                    std::memcpy(p, x, 16);
                    std::memcpy(p + 15, cola, 4);
                    p += kLongLineaColumna;
                };
                for (size_t w = 0; w < en.size(); ++w) {
                    const Trozo* dentro = interior.data() + w * 64;
                    uint64_t quedan = en[w] & pasan[w];
                    if (quedan == ~uint64_t{0}) {  // the common case of a wide filter
                        for (size_t b = 0; b < 64; ++b) escribe(dentro[b]);
                        continue;
                    }
                    for (; quedan; quedan &= quedan - 1) escribe(dentro[std::countr_zero(quedan)]);
                }
                const size_t escritas =
                    static_cast<size_t>(p - (bloque_.data() + usado_)) / kLongLineaColumna;
                usado_ += escritas * kLongLineaColumna;
                columnas_ += static_cast<int64_t>(escritas);
            }
            if (escritor_.Error()) return;
        }
        // Next state: the first outer wheel varies fastest, each through its
        // signs in order.
        size_t k = nInteriores;
        for (; k < nRuedas; ++k) {
            const Rueda& w = ruedas_[k];
            const int antes = pos[k];
            const int ahora = antes + 1 == w.n ? 0 : antes + 1;
            pos[k] = ahora;
            exterior[w.linea] = static_cast<unsigned char>(w.signo[ahora]);
            errores += w.error[ahora] - w.error[antes];
            --cuenta[w.clase[antes]];
            ++cuenta[w.clase[ahora]];
            if (ahora != 0) break;
        }
        if (k == nRuedas) return;
    }
}

ResultadoReduccion Ejecucion::Falla(int numero, const std::string& que) {
    ResultadoReduccion res;
    res.fin = FinReduccion::Fallida;
    res.error = numero;
    res.mensaje = que + " (ERROR " + std::to_string(numero) + ": " + DescripcionError(numero) + ").";
    res.mensaje += " La reducción no se ha guardado.";
    st_.ErrorFichero = static_cast<int16_t>(numero);
    if (st_.informador) st_.informador->ErrorFichero(res.mensaje);
    return res;
}

ResultadoReduccion Ejecucion::Ejecuta() {
    CalculaEstadistica(st_);
    std::string registro;
    if (r_.Metodo < 1 || r_.Metodo > kMetodos || !Prepara() || PreparaRegistro(r_, registro)) {
        ResultadoReduccion res;
        res.error = Err::TipoIncorrecto;
        res.mensaje =
            "La quiniela base no se puede reducir: hay un partido sin signo o sin signo en la "
            "columna base, o el método no es válido.";
        return res;
    }
    if (RechazaCondiciones(st_)) {
        ResultadoReduccion res;
        res.error = Err::TipoIncorrecto;
        res.mensaje = kDirectoSinCondiciones;
        return res;
    }
    const std::string nombre = FicheroRed(r_.Jornada, r_.Orden);
    // The run holds its key to the end; the folder only while it installs
    // the result, so that other keys and other changes go on meanwhile.
    Cerrojo clave(st_.DirDatos, ClaveReduccion(r_.Jornada, r_.Orden));
    if (clave.Ocupado()) {
        ResultadoReduccion res;
        res.error = Err::PermisoDenegado;
        res.mensaje = TextoReduccionEnCurso(r_.Jornada, r_.Orden);
        st_.ErrorFichero = static_cast<int16_t>(res.error);
        if (st_.informador) st_.informador->ErrorFichero(res.mensaje);
        return res;
    }
    if (clave.Error()) return Falla(clave.Error(), "No se puede reservar la reducción " + nombre);
    LimpiaTemporales(st_);
    const std::string id = SufijoUnico();
    fs::path temporal = st_.DirDatos / nombre;
    temporal += id + kFinTemporal;

    // A name taken by a folder would only fail at the end of a long run.
    std::error_code ec;
    if (fs::is_directory(st_.DirDatos / nombre, ec))
        return Falla(Err::AccesoRuta, "No se ha podido crear el fichero de columnas " + nombre);
    // Whole blocks go straight to the file.
    bloque_.resize(kColumnasBloque * kLongLineaColumna);
    if (int e = escritor_.Abre(temporal, bloque_.size()))
        return Falla(e, "No se ha podido crear el fichero de columnas " + nombre);

    if (!cancelar_) st_.Cancelado = Falso;
    Recorre();
    if (usado_ && !cancelado_) Vuelca();
    // With conditions the size of the covering is known only now.
    if (condicionada_) r_.ApuestasReducidas = static_cast<int32_t>(columnas_);
    int e = escritor_.Cierra();
    if (!cancelar_) st_.Cancelado = Falso;

    ResultadoReduccion res;
    res.columnas = columnas_;
    if (cancelado_) {
        BorraFichero(temporal);
        res.fin = FinReduccion::Cancelada;
        res.mensaje = kReduccionCancelada;
        return res;
    }
    if (e) {
        BorraFichero(temporal);
        return Falla(e, "No se ha podido escribir el fichero de columnas " + nombre);
    }
    if (int ei = InstalaReduccion(st_, id)) {
        BorraFichero(temporal);
        return Falla(ei, "No se ha podido guardar la reducción en " + nombre + " y " + kFicheroBases);
    }
    res.fin = FinReduccion::Terminada;
    res.mensaje = kReduccionFinalizada;
    return res;
}

}  // namespace

ResultadoReduccion EjecutaReduccion(Estado& st, const AvanceReduccion& avance,
                                    const std::atomic<bool>* cancelar) {
    return Ejecucion(st, avance, cancelar).Ejecuta();
}

}  // namespace tobal
