// DATOSGEN.TBX: any line is read into settings within their bounds, and the
// settings written back read again as the same line.

#include "Carpeta.h"
#include "data/DatosGen.h"

using namespace tobal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    fuzz::Escribe("DATOSGEN.TBX", datos, largo);
    Estado& st = fuzz::EstadoMudo();
    LeeDatosGen(st, false);
    const std::string linea = LineaDatosGen(st);
    fuzz::Exige(linea.size() > 2 && linea.compare(linea.size() - 2, 2, "\r\n") == 0);
    fuzz::Escribe("DATOSGEN.TBX", reinterpret_cast<const uint8_t*>(linea.data()), linea.size());
    LeeDatosGen(st, false);
    fuzz::Exige(LineaDatosGen(st) == linea);
    NormalizaPrecio(fuzz::Texto(datos, largo));
    return 0;
}
