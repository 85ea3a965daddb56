#pragma once
// Test data for the printed outputs: a stored reduction whose columns can be
// told apart, and the reading of recorded crosses back into boxes.

#include <string>

#include "Soporte.h"
#include "app/Estado.h"
#include "reduction/Almacen.h"

namespace tobal::prueba {

// Column n (1-based): match m carries "1", "X" or "2" by (n + m) mod 3, so
// neighbouring columns differ in every match.
inline std::string ColumnaPrueba(int n) {
    std::string c;
    for (int m = 1; m <= 15; ++m) c += "1X2"[(n + m) % 3];
    return c;
}

// Stores reduction (jornada, orden) with `columnas` columns and makes it
// the current one.
inline void GrabaReduccionPrueba(Estado& st, int jornada, int orden, int columnas) {
    st.ReduccionActual = Reduccion{};
    st.Jornada() = static_cast<int16_t>(jornada);
    st.Orden() = static_cast<int16_t>(orden);
    st.ReduccionActual.ApuestasDirectas = columnas * 3;
    st.ReduccionActual.ApuestasReducidas = columnas;
    if (GrabaReduccion(st) != 0) throw std::runtime_error("GrabaReduccion");
    std::string s;
    for (int n = 1; n <= columnas; ++n) s += LineaColumna(ColumnaPrueba(n));
    EscribeBytes(st.DirDatos / FicheroRed(jornada, orden), s);
}

}  // namespace tobal::prueba
