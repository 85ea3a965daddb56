// EQUIPOS.TBX: any content gives a list of items, and reading the file
// never gives more names than its items.

#include "Carpeta.h"
#include "app/ErrorFichero.h"
#include "data/Equipos.h"

using namespace tobal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    const std::vector<std::string> items = ItemsEquipos(fuzz::Texto(datos, largo));
    fuzz::Escribe("EQUIPOS.TBX", datos, largo);
    std::vector<std::string> leidos;
    LeeEquipos(fuzz::EstadoMudo(), leidos, Op::CLE);
    for (const std::string& e : leidos) ProblemaNombreEquipo(e);
    fuzz::Exige(items.size() >= leidos.size() || leidos.size() <= 1);
    return 0;
}
