#pragma once
// What the tests of reductions share: a reduction run by the engine over its
// own data folder (key 12/1), the enumeration of a base quiniela's columns,
// the distance between two columns, random conditions and whether a column
// meets them.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>

#include "Soporte.h"
#include "reduction/Almacen.h"
#include "reduction/Base.h"
#include "reduction/Condiciones.h"
#include "reduction/Cubierta.h"
#include "reduction/Estadistica.h"
#include "reduction/Motor.h"

namespace tobal::prueba {

inline constexpr char kSignos[] = "1X2";

inline char PrimerSigno(const Partido& p) { return kSignos[p.Signo[1] ? 0 : p.Signo[2] ? 1 : 2]; }

// Every column of the base quiniela, match 1 varying fastest.
inline std::vector<std::string> Desarrollo(const Reduccion& r) {
    std::vector<std::string> todas{std::string(15, PrimerSigno(r.Partidos[15]))};
    for (int i = 14; i >= 1; --i) {
        std::vector<std::string> mas;
        for (const auto& t : todas)
            for (int s = 1; s <= 3; ++s)
                if (r.Partidos[i].Signo[s])
                    mas.push_back(t), mas.back()[static_cast<size_t>(i - 1)] = kSignos[s - 1];
        todas.swap(mas);
    }
    return todas;
}

// The matches 1-14 on which two columns differ.
inline int Distancia(std::string_view a, std::string_view b) {
    int d = 0;
    for (size_t m = 0; m < 14; ++m) d += a[m] != b[m];
    return d;
}

// Whether a column meets the conditions, each measure straight from its
// definition over the group's signs in order.
inline bool Cumple(const Condiciones& cs, std::string_view col) {
    int fallan = 0;
    for (const Condicion& c : cs.lista) {
        std::string s;
        for (int m = 0; m < 14; ++m)
            if (c.partidos >> m & 1) s += col[static_cast<size_t>(m)];
        const auto n = [&](char x) { return static_cast<int>(std::count(s.begin(), s.end(), x)); };
        int cambios = 0, racha = 1, larga = 1;
        for (size_t i = 1; i < s.size(); ++i) {
            cambios += s[i] != s[i - 1];
            racha = s[i] == s[i - 1] ? racha + 1 : 1;
            larga = std::max(larga, racha);
        }
        const int v = c.medida == Medida::Unos             ? n('1')
                      : c.medida == Medida::Equis          ? n('X')
                      : c.medida == Medida::Doses          ? n('2')
                      : c.medida == Medida::Variantes      ? n('X') + n('2')
                      : c.medida == Medida::Interrupciones ? cambios
                                                           : larga;
        fallan += v < c.minimo || v > c.maximo;
    }
    return fallan <= cs.fallos;
}

// One to four conditions on all the matches or on a random group, each
// interval inside what its measure can take, 0 or 1 of them allowed to fail.
inline Condiciones CondicionesAleatorias(std::mt19937& g) {
    Condiciones cs;
    cs.fallos = static_cast<int>(g() % 2);
    for (int k = 1 + static_cast<int>(g() % 4); k > 0; --k) {
        Condicion c;
        c.medida = static_cast<Medida>(g() % 6);
        if (g() % 2)
            while (!(c.partidos = static_cast<uint16_t>(g() & kTodosLosPartidos))) {
            }
        const int n = __builtin_popcount(c.partidos);
        const int tope = c.medida == Medida::Interrupciones ? n - 1 : n;
        c.minimo = static_cast<int>(g() % static_cast<unsigned>(tope + 1));
        c.maximo = c.minimo + static_cast<int>(g() % static_cast<unsigned>(tope - c.minimo + 1));
        cs.lista.push_back(c);
    }
    return cs;
}

// The covering radius of a cell, `hasta` + 1 when it is larger than `hasta`
// (at most 2): the largest distance from a development of its t triples
// and d doubles (digits of a mixed-radix count, inside their bases) to the
// nearest word, by marking the ball of every word.
inline int Radio(const Cubierta& c, int hasta) {
    const int n = c.triples + c.dobles;
    std::vector<int64_t> peso(static_cast<size_t>(n));
    std::vector<int> base(static_cast<size_t>(n));
    int64_t total = 1;
    for (int i = n - 1; i >= 0; --i) base[i] = i < c.triples ? 3 : 2, peso[i] = total, total *= base[i];
    std::vector<uint8_t> dist(static_cast<size_t>(total), static_cast<uint8_t>(hasta + 1));
    const auto baja = [&](int64_t i, int d) { dist[i] = std::min(dist[i], static_cast<uint8_t>(d)); };
    for (size_t w = 0; w < c.palabras; ++w) {
        const uint8_t* x = c.digitos.data() + w * static_cast<size_t>(n);
        int64_t idx = 0;
        for (int i = 0; i < n; ++i) idx += x[i] * peso[i];
        baja(idx, 0);
        for (int i = 0; i < n && hasta > 0; ++i)
            for (int v = 0; v < base[i]; ++v) {
                if (v == x[i]) continue;
                const int64_t uno = idx + (v - x[i]) * peso[i];
                baja(uno, 1);
                for (int j = i + 1; j < n && hasta > 1; ++j)
                    for (int u = 0; u < base[j]; ++u)
                        if (u != x[j]) baja(uno + (u - x[j]) * peso[j], 2);
            }
    }
    return *std::max_element(dist.begin(), dist.end());
}

// Every file of a folder with its bytes.
inline std::map<std::string, std::string> Contenido(const fs::path& dir) {
    std::map<std::string, std::string> m;
    for (const auto& n : Ficheros(dir)) m[n] = Bytes(dir / n);
    return m;
}

struct Corrida {
    EstadoPrueba e;
    Estado& st = e.st;
    Reduccion& r = e.st.ReduccionActual;

    // `parametros`: the errors (method 2) or the signs (method 3) as typed.
    void Prepara(int metodo, const std::string& base, const std::string& parametros = "") {
        const auto texto = parametros.empty() ? std::nullopt : std::optional(parametros);
        ASSERT_FALSE(LeeReduccion(metodo, base, metodo == 2 ? texto : std::nullopt,
                                  metodo == 3 ? texto : std::nullopt, r));
        r.Jornada = 12, r.Orden = 1;
        CalculaEstadistica(st);
    }
    ResultadoReduccion Ejecuta(const AvanceReduccion& avance = {},
                               const std::atomic<bool>* cancelar = nullptr) {
        return EjecutaReduccion(st, avance, cancelar);
    }
    void Reduce(int metodo, const std::string& base, const std::string& parametros = "") {
        Prepara(metodo, base, parametros);
        ASSERT_EQ(Ejecuta().fin, FinReduccion::Terminada);
    }
    fs::path Red() const { return e.dir() / FicheroRed(r.Jornada, r.Orden); }
    std::vector<std::string> Columnas() const {
        const std::string b = Bytes(Red());
        std::vector<std::string> cols;
        for (size_t p = 0; p < b.size(); p += kLongLineaColumna) cols.push_back(b.substr(p + 1, 15));
        EXPECT_EQ(b, FicheroColumnas(cols));
        return cols;
    }
};

}  // namespace tobal::prueba
