#pragma once
// A reduction run by the engine over its own data folder (key 12/1).

#include <gtest/gtest.h>

#include <optional>

#include "Soporte.h"
#include "reduction/Almacen.h"
#include "reduction/Base.h"
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
