// A conditions file's text: any bytes are read or refused; a refusal is
// short and printable and leaves what was there; what is read is written
// back to the same conditions; and the count over the matches of the
// results they keep equals the count of the results one by one, over a base
// the input also chooses.

#include <algorithm>
#include <bit>
#include <functional>

#include "Carpeta.h"
#include "reduction/Condiciones.h"

using namespace tobal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    Condiciones cs;
    cs.lista.push_back(Condicion{});
    cs.fallos = 7;
    const Condiciones antes = cs;
    if (const auto fallo = LeeTextoCondiciones(fuzz::Texto(datos, largo), cs)) {
        fuzz::Exige(cs == antes && fallo->size() < 400 &&
                    std::none_of(fallo->begin(), fallo->end(),
                                 [](char c) { return c >= 0 && c < ' ' && c != '\t'; }));
        return 0;
    }
    fuzz::Exige(cs.fallos >= 0 && cs.fallos <= 99);
    for (const Condicion& c : cs.lista)
        fuzz::Exige(c.minimo >= 0 && c.minimo <= c.maximo && c.maximo <= 14 && c.partidos != 0 &&
                    (c.partidos & ~kTodosLosPartidos) == 0);
    Condiciones otra;
    fuzz::Exige(!LeeTextoCondiciones(TextoFicheroCondiciones(cs), otra) && otra == cs);
    if (cs.lista.size() > 8) return 0;

    // Signs marked on each match from the input's bytes, at most 2187 results.
    Quiniela base{};
    int resultados = 1;
    for (int i = 1; i <= 14; ++i) {
        int marcas = largo ? 1 + datos[static_cast<size_t>(i * 31) % largo] % 7 : 1;
        if (resultados * std::popcount(static_cast<unsigned>(marcas)) > 2187) marcas &= -marcas;
        resultados *= std::popcount(static_cast<unsigned>(marcas));
        Partido& p = base[static_cast<size_t>(i)];
        for (size_t s = 1; s <= 3; ++s) p.Signo[s] = static_cast<int16_t>(marcas >> (s - 1) & 1);
        p.NumSignos = static_cast<int16_t>(std::popcount(static_cast<unsigned>(marcas)));
    }
    int64_t cumplen = 0;
    std::string columna(14, '1');
    std::function<void(int)> recorre = [&](int i) {
        if (i > 14) {
            cumplen += CumpleCondiciones(cs, columna);
            return;
        }
        for (size_t s = 1; s <= 3; ++s) {
            if (!base[static_cast<size_t>(i)].Signo[s]) continue;
            columna[static_cast<size_t>(i - 1)] = "1X2"[s - 1];
            recorre(i + 1);
        }
    };
    recorre(1);
    fuzz::Exige(CuentaCumplen(base, cs) == cumplen);
    return 0;
}
