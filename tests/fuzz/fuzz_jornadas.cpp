// JORNADAS.TBX: any file is read record by record; a record's scoring
// entries go back into a record and read again the same.

#include "Carpeta.h"
#include "data/Jornadas.h"
#include "scoring/Escrutinio.h"

using namespace tobal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    fuzz::Escribe("JORNADAS.TBX", datos, largo);
    Estado& st = fuzz::EstadoMudo();
    for (int j = 1; j <= 3; ++j) {
        st.Jornada() = static_cast<int16_t>(j);
        LeeJornada(st);
        fuzz::Exige(st.RegJornada.size() == 533);
        for (int s = 1; s <= 30; ++s) fuzz::Exige(SlotEquipo(st.RegJornada, s).size() == 15);
        const EntradasEscrutinio e = EntradasDeRegistro(st.RegJornada);
        std::string reg = st.RegJornada;
        PonEntradasEnRegistro(reg, j, st.Datos.FechaJornada, e);
        const EntradasEscrutinio otra = EntradasDeRegistro(reg);
        fuzz::Exige(otra.Ganadora == e.Ganadora && otra.TextoPremios == e.TextoPremios);
    }
    FechaValida(fuzz::Texto(datos, largo));
    return 0;
}
