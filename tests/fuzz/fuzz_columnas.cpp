// Columns files: the scoring count and the columns reader agree on every
// file, on whether it is damaged and where, and on the number of columns.

#include "Carpeta.h"
#include "reduction/Almacen.h"
#include "scoring/Escrutinio.h"

using namespace tobal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    fuzz::Escribe("RED0101.TBX", datos, largo);
    const auto ruta = fuzz::Carpeta() / "RED0101.TBX";
    const ResultadoEscrutinio r = EscrutaColumnas(ruta, "1X21X21X21X21X2", {0, 1, 1, 1, 1, 1});
    int64_t columnas = 0, danada = 0;
    const int error = CompruebaColumnas(ruta, columnas, danada);
    fuzz::Exige(r.columnaDanada == danada);
    fuzz::Exige((r.fin == FinEscrutinio::Completo) == (error == 0));
    if (error == 0) {
        fuzz::Exige(r.columnas == columnas && largo == static_cast<size_t>(columnas) * kLongLineaColumna);
        int64_t suma = 0;
        for (int h = 0; h <= 15; ++h) suma += h == 14 ? r.cuenta[14] - r.cuenta[15] : r.cuenta[h];
        fuzz::Exige(suma == columnas);
    }
    return 0;
}
