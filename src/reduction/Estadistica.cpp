#include "reduction/Estadistica.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "reduction/Condiciones.h"
#include "reduction/Cubierta.h"
#include "reduction/Tablas.h"

namespace tobal {

int16_t Combinaciones(int n, int k) {
    if (k == 0) return 1;
    if (k > n || k < 0) return 0;
    double arriba = 1, abajo = 1;
    for (int i = 0; i < k; ++i) {
        arriba *= n - i;
        abajo *= k - i;
    }
    return static_cast<int16_t>(std::nearbyint(arriba / abajo));
}

int64_t CuentaPorSignos(const Reduccion& r) {
    const int s1 = r.Signos[1], sX = r.Signos[2];
    // cuenta[a][b]: assignments so far with a ones and b Xs.
    int64_t cuenta[16][16] = {};
    cuenta[0][0] = 1;
    int tratados = 0;
    for (int i = 1; i <= 14; ++i) {
        const Partido& p = r.Partidos[i];
        if (p.AReducir != 1) continue;
        int64_t nueva[16][16] = {};
        for (int a = 0; a <= tratados; ++a)
            for (int b = 0; a + b <= tratados; ++b) {
                const int64_t c = cuenta[a][b];
                if (!c) continue;
                if (p.Signo[1]) nueva[a + 1][b] += c;
                if (p.Signo[2]) nueva[a][b + 1] += c;
                if (p.Signo[3]) nueva[a][b] += c;
            }
        ++tratados;
        std::copy(&nueva[0][0], &nueva[0][0] + 16 * 16, &cuenta[0][0]);
    }
    const int s2 = tratados - s1 - sX;
    if (s1 < 0 || sX < 0 || s2 != r.Signos[3] || s1 + sX > tratados) return 0;
    return cuenta[s1][sX];
}

int64_t CuentaPorErrores(const Reduccion& r) {
    // porErrores[e]: columns so far with e differences from the base column.
    int64_t porErrores[16] = {1};
    int64_t resto = 1;
    int maximo = 0;
    for (int i = 1; i <= 14; ++i) {
        const Partido& p = r.Partidos[i];
        if (p.AReducir != 1 && p.SignoBase == 0) {
            resto *= p.NumSignos;
            continue;
        }
        const int base = p.SignoBase >= 1 && p.SignoBase <= 3 ? p.SignoBase : 0;
        const int64_t aciertan = base ? (p.Signo[base] ? 1 : 0) : (p.NumSignos > 0 ? 1 : 0);
        const int64_t fallan = p.NumSignos - aciertan;
        for (int e = maximo + 1; e-- > 0;)
            porErrores[e + 1] += porErrores[e] * fallan, porErrores[e] *= aciertan;
        ++maximo;
    }
    int64_t total = 0;
    for (int e = std::max<int>(r.MinErrores, 0); e <= std::min<int>(r.MaxErrores, maximo); ++e)
        total += porErrores[e];
    return total * resto;
}

std::array<int16_t, 16> FilasTabla(const Reduccion& r, const Estadistica& esta) {
    std::array<int16_t, 16> filas{};
    int triples = 0, dobles = 0;
    for (int i = 1; i <= 14; ++i) {
        const Partido& p = r.Partidos[i];
        if (p.AReducir != 1) continue;
        if (p.NumSignos == 3 && triples < esta.TriplesTabla)
            filas[i] = static_cast<int16_t>(++triples);
        else if (p.NumSignos == 2 && dobles < esta.DoblesTabla)
            filas[i] = static_cast<int16_t>(esta.TriplesTabla + ++dobles);
    }
    return filas;
}

int64_t CuentaMinimaCondiciones(const Estado& st) {
    const Reduccion& r = st.ReduccionActual;
    int64_t desarrollo = 1;
    for (int i = 1; i <= 14; ++i)
        if (r.Partidos[i].AReducir != 1 && r.Partidos[i].NumSignos > 1) desarrollo *= r.Partidos[i].NumSignos;
    return ColumnasCubierta(st.Esta.TriplesReducir, st.Esta.DoblesReducir, r.MaxErrores) * desarrollo;
}

int64_t CuentaConCondiciones(const Reduccion& r, const Condiciones& cs) {
    CuentaMetodo metodo;
    if (r.Metodo == 2) {
        // The differences from the base column, v[0], over the matches that
        // count them; v[1] = 1 once the window holds whatever follows, so
        // that those states are counted together.
        std::array<int, 15> quedan{};  // matches after m that count differences
        for (int m = 14; m >= 1; --m) {
            const Partido& p = r.Partidos[static_cast<size_t>(m)];
            quedan[static_cast<size_t>(m - 1)] =
                quedan[static_cast<size_t>(m)] + (p.AReducir == 1 || p.SignoBase != 0);
        }
        metodo.avanza = [&r, quedan](int m, int s, std::array<uint8_t, 2>& v) {
            const Partido& p = r.Partidos[static_cast<size_t>(m)];
            if (v[1] || (p.AReducir != 1 && p.SignoBase == 0)) return true;
            int base = p.SignoBase >= 1 && p.SignoBase <= 3 ? p.SignoBase : 0;
            // A reduced match still without a base sign counts as if its first sign were it.
            for (int t = 1; t <= 3 && !base; ++t)
                if (p.Signo[static_cast<size_t>(t)]) base = t;
            v[0] = static_cast<uint8_t>(v[0] + (s + 1 != base));
            const int mas = quedan[static_cast<size_t>(m)];
            if (v[0] >= r.MinErrores && v[0] + mas <= r.MaxErrores) v = {0, 1};
            return v[1] || (v[0] <= r.MaxErrores && v[0] + mas >= r.MinErrores);
        };
        metodo.acepta = [&r](const std::array<uint8_t, 2>& v) {
            return v[1] || (v[0] >= r.MinErrores && v[0] <= r.MaxErrores);
        };
    } else if (r.Metodo == 3) {
        // The ones and Xs of the reduced matches; the twos are the rest.
        std::array<int, 15> hechos{};  // reduced matches among 1..m
        for (int m = 1; m <= 14; ++m)
            hechos[static_cast<size_t>(m)] =
                hechos[static_cast<size_t>(m - 1)] + (r.Partidos[static_cast<size_t>(m)].AReducir == 1);
        metodo.avanza = [&r, hechos](int m, int s, std::array<uint8_t, 2>& v) {
            if (r.Partidos[static_cast<size_t>(m)].AReducir != 1) return true;
            if (s < 2) ++v[static_cast<size_t>(s)];
            const int hecho = hechos[static_cast<size_t>(m)], quedan = hechos[14] - hecho;
            return v[0] <= r.Signos[1] && v[1] <= r.Signos[2] && hecho - v[0] - v[1] <= r.Signos[3] &&
                   v[0] + quedan >= r.Signos[1] && v[1] + quedan >= r.Signos[2];
        };
        metodo.acepta = [&r](const std::array<uint8_t, 2>& v) {
            return v[0] == r.Signos[1] && v[1] == r.Signos[2];
        };
    } else {
        return CuentaCumplen(r.Partidos, cs);
    }
    return CuentaCumplen(r.Partidos, cs, metodo);
}

namespace {

// Lowers `valor` to `tope` when it is above; says whether it did.
bool Baja(int16_t& valor, int16_t tope) {
    if (valor <= tope) return false;
    valor = tope;
    return true;
}

}  // namespace

ResultadoEstadistica CalculaEstadistica(Estado& st) { return CalculaEstadistica(st, SeparadoresLocales()); }

ResultadoEstadistica CalculaEstadistica(Estado& st, Separadores sep) {
    ResultadoEstadistica res;
    Reduccion& r = st.ReduccionActual;
    Estadistica& e = st.Esta;
    e.PartidosDobles = e.PartidosTriples = e.DoblesReducir = e.TriplesReducir = e.MultiplesReducir = 0;
    e.Disponibles = {0, 0, 0, 0};
    e.FactorReduccion = 1.0f;

    int64_t directas = 1;
    for (int i = 1; i <= 14; ++i) {
        const Partido& p = r.Partidos[i];
        directas *= p.NumSignos;
        const bool reducir = p.AReducir == 1;
        if (p.NumSignos == 2) {
            ++e.PartidosDobles;
            if (reducir) ++e.DoblesReducir;
        } else if (p.NumSignos == 3) {
            ++e.PartidosTriples;
            if (reducir) ++e.TriplesReducir;
        }
        if (reducir) {
            ++e.MultiplesReducir;
            for (int s = 1; s <= 3; ++s)
                e.Disponibles[s] = static_cast<int16_t>(e.Disponibles[s] + p.Signo[s]);
        }
    }
    // Unreduced multiples are developed in full by every method.
    int64_t desarrollo = 1;
    for (int i = 1; i <= 14; ++i) {
        const Partido& p = r.Partidos[i];
        if (p.AReducir != 1 && p.NumSignos > 1) desarrollo *= p.NumSignos;
    }

    const Condiciones& cs = st.CondicionesActuales;
    const bool condiciones = !cs.lista.empty();
    bool filtrado = false;  // the direct method's full development under conditions
    int64_t reducidas = directas;
    bool factorValido = true;
    if (r.Metodo == 1) {
        if (e.TriplesReducir + e.DoblesReducir == 0) {
            // Nothing a table could take: every column is its own bet.
            e.ApuestasTabla = 1;
            e.InicioTabla = e.TriplesTabla = e.DoblesTabla = 0;
        } else {
            EligeTabla(e);
        }
        // The columns the run writes: the table's bets for every state of
        // the matches the table does not take. Dividing the direct bets by
        // the factor would be off when the factor is not a whole number.
        const auto filas = FilasTabla(r, e);
        reducidas = e.ApuestasTabla;
        for (int i = 1; i <= 14; ++i)
            if (!filas[i]) reducidas *= r.Partidos[i].NumSignos;
        // Conditions filter the full development only (a table refuses them).
        filtrado = condiciones && std::all_of(filas.begin(), filas.end(), [](int16_t f) { return f == 0; });
        if (filtrado) {
            reducidas = CuentaConCondiciones(r, cs);
            factorValido = reducidas != 0;
            if (factorValido)
                e.FactorReduccion = static_cast<float>(static_cast<double>(directas) / reducidas);
        }
    } else if (r.Metodo == 2) {
        res.bajaMinErrores = Baja(r.MinErrores, e.MultiplesReducir);
        res.bajaMaxErrores = Baja(r.MaxErrores, e.MultiplesReducir);
        reducidas = condiciones ? CuentaConCondiciones(r, cs) : CuentaPorErrores(r);
        factorValido = reducidas != 0;
        if (factorValido) e.FactorReduccion = static_cast<float>(static_cast<double>(directas) / reducidas);
    } else if (r.Metodo == 3) {
        for (int s = 1; s <= 3; ++s) res.bajaSignos[s] = Baja(r.Signos[s], e.Disponibles[s]);
        reducidas = 0;
        e.FactorReduccion = 0.0f;
        if (r.Signos[1] + r.Signos[2] + r.Signos[3] == e.MultiplesReducir && e.MultiplesReducir > 0) {
            reducidas = condiciones ? CuentaConCondiciones(r, cs) : CuentaPorSignos(r) * desarrollo;
            if (reducidas) e.FactorReduccion = static_cast<float>(static_cast<double>(directas) / reducidas);
        }
    } else if (r.Metodo == 4) {
        // A guarantee left by another method becomes one the coverings give.
        res.bajaMaxErrores = Baja(r.MaxErrores, 2);
        if (r.MaxErrores < 1) r.MaxErrores = 1;
        r.MinErrores = 0;
        reducidas = condiciones
                        ? CuentaMinimaCondiciones(st)
                        : ColumnasCubierta(e.TriplesReducir, e.DoblesReducir, r.MaxErrores) * desarrollo;
        factorValido = reducidas != 0;
        if (factorValido) e.FactorReduccion = static_cast<float>(static_cast<double>(directas) / reducidas);
    }
    r.ApuestasDirectas = static_cast<int32_t>(directas);
    r.ApuestasReducidas = static_cast<int32_t>(reducidas);

    const double d = static_cast<double>(directas), rd = static_cast<double>(reducidas);
    auto porciento = [&](double a) {
        return directas == 0 ? std::string() : Formatea(a * 100 / d, "##0.00", sep) + " %";
    };
    auto& l = res.lineas;
    l.push_back({"Partidos a doble", std::to_string(e.PartidosDobles)});
    l.push_back({"Partidos a triple", std::to_string(e.PartidosTriples)});
    l.push_back({"Total múltiples", std::to_string(e.PartidosDobles + e.PartidosTriples)});
    l.push_back({"Apuest. directas", Formatea(d, "#,###,##0", sep)});
    l.push_back({"Dobles a reducir", std::to_string(e.DoblesReducir)});
    l.push_back({"Triples a reducir", std::to_string(e.TriplesReducir)});
    l.push_back({"Múltiples a reducir", std::to_string(e.MultiplesReducir)});
    // Method 4 under conditions knows only a bound until its covering is
    // built: the labels say so.
    const bool cota = r.Metodo == 4 && condiciones;
    l.push_back({cota ? kReducidasMaximas : "Apuest. reducidas", Formatea(rd, "#,###,##0", sep)});
    l.push_back({"Importe total", Formatea(ImporteApuestas(d, st.Datos.Precio), "#,###,##0.00", sep) + " €"});
    l.push_back({cota ? "Importe red. máx." : "Importe reducidas",
                 Formatea(ImporteApuestas(rd, st.Datos.Precio), "#,###,##0.00", sep) + " €"});
    l.push_back({cota ? "Factor red. mín." : "Factor reducción",
                 factorValido ? Formatea(e.FactorReduccion, "##0.00", sep) : std::string()});
    // A filtered development keeps no column one sign away from the others.
    if (r.Metodo == 1 && !filtrado) {
        l.push_back({"Probab. 14 aciertos", porciento(rd)});
        l.push_back({"Probab. 13 aciertos", porciento(d - rd)});
    } else {
        l.push_back({cota ? "Posibil. cub. máx." : "Posibil. cubiertas", porciento(rd)});
    }
    if (condiciones) {
        // The full development's filter keeps exactly the results that meet them.
        const int64_t cumplen = filtrado ? reducidas : CuentaCumplen(r.Partidos, cs);
        l.push_back({kCumplenCondiciones, Formatea(static_cast<double>(cumplen), "#,###,##0", sep)});
    }
    return res;
}

}  // namespace tobal
