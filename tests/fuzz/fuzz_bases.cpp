// BASES.TBX: any content splits into 130-character lines; a line that
// decodes as a record is written back to the same record; the index reads it.

#include "Carpeta.h"
#include "reduction/Almacen.h"
#include "reduction/Indice.h"

using namespace tobal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    const std::string_view texto = fuzz::Texto(datos, largo);
    for (const std::string& linea : LineasBases(texto)) {
        fuzz::Exige(linea.size() == kLongRegistroBase);
        int j, o;
        LeeClave(linea, j, o);
        if (auto r = DecodificaRegistroBase(linea)) {
            const auto otra = DecodificaRegistroBase(RegistroBase(*r));
            fuzz::Exige(otra && RegistroBase(*otra) == RegistroBase(*r));
        }
        LineaIndice(linea, "");
    }
    fuzz::Escribe("BASES.TBX", datos, largo);
    Estado& st = fuzz::EstadoMudo();
    CargaIndice(st);
    st.ReduccionActual.Jornada = 1;
    st.ReduccionActual.Orden = 1;
    CargaReduccion(st);
    return 0;
}
