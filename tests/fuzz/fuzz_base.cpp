// The BASE notation of the command line and the reduction's parameters: a
// base that reads is written back in the same notation and reads the same.

#include "Carpeta.h"
#include "reduction/Base.h"

using namespace tobal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    if (largo < 1) return 0;
    const int metodo = datos[0] % 4;
    const std::string_view resto = fuzz::Texto(datos + 1, largo - 1);
    const size_t corte = resto.find('|');
    const std::string_view base = resto.substr(0, corte);
    const std::string parametros(corte == std::string_view::npos ? std::string_view()
                                                                 : resto.substr(corte + 1));
    Quiniela q{};
    if (!LeeBase(base, q)) {
        Quiniela otra{};
        fuzz::Exige(!LeeBase(TextoBase(q), otra) && TextoBase(otra) == TextoBase(q));
    }
    Reduccion r;
    LeeReduccion(metodo, base, parametros, parametros, r);
    return 0;
}
