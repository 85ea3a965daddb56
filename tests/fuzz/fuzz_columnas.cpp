// Columns files: the scoring count, the columns reader and the check every
// reader makes first agree on every file, on whether it is damaged and
// where, and on the number of columns.

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
    // Without a record only damage is refused, and it names the same column.
    std::string texto;
    int64_t cuenta = -1;
    const int previo = CompruebaColumnasReduccion(fuzz::EstadoMudo(), 1, 1, texto, &cuenta);
    fuzz::Exige((previo == 0) == (error == 0));
    fuzz::Exige(danada == 0 ? texto.empty() : texto == TextoColumnasDanadas("RED0101.TBX", danada));
    if (error == 0) fuzz::Exige(cuenta == columnas);
    fuzz::Exige((r.fin == FinEscrutinio::Completo) == (error == 0));
    if (error == 0) {
        fuzz::Exige(r.columnas == columnas && largo == static_cast<size_t>(columnas) * kLongLineaColumna);
        int64_t suma = 0;
        for (int h = 0; h <= 15; ++h) suma += h == 14 ? r.cuenta[14] - r.cuenta[15] : r.cuenta[h];
        fuzz::Exige(suma == columnas);
    }
    return 0;
}
