#pragma once
// What every fuzz target shares: one data folder for the whole run (the
// readers take files, as the program does), a state over it that reports
// nothing, and a way to stop on a wrong answer.

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "app/Estado.h"
#include "app/Informador.h"

namespace tobal::fuzz {

inline const std::filesystem::path& Carpeta() {
    static const std::filesystem::path ruta = [] {
        std::string plantilla = (std::filesystem::temp_directory_path() / "tobal31-fuzz-XXXXXX").string();
        if (!::mkdtemp(plantilla.data())) ::abort();
        return std::filesystem::path(plantilla);
    }();
    return ruta;
}

inline Estado& EstadoMudo() {
    static InformadorMudo mudo;
    static Estado st;
    st.DirDatos = st.DirPrograma = Carpeta();
    st.informador = &mudo;
    st.ErrorFichero = 0;
    return st;
}

inline std::string_view Texto(const uint8_t* datos, size_t largo) {
    return {reinterpret_cast<const char*>(datos), largo};
}

// Writes the input as a data file of the folder.
inline void Escribe(const char* nombre, const uint8_t* datos, size_t largo) {
    if (!(std::ofstream(Carpeta() / nombre, std::ios::binary) << Texto(datos, largo))) ::abort();
}

// A property that does not hold is a finding.
inline void Exige(bool cierto) {
    if (!cierto) __builtin_trap();
}

}  // namespace tobal::fuzz
