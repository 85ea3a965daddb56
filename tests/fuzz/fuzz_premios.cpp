// Prize fields: the stored text cleaned and the amount a player
// writes on the command line never grow past the field, and a stored text
// keeps its value when it is stored again.

#include "Carpeta.h"
#include "scoring/Premios.h"

using namespace tobal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    const std::string_view texto = fuzz::Texto(datos, largo);
    std::string completo(texto);
    if (FiltraPremioCompleto(completo)) {
        const std::string n = NormalizaPremio(completo);
        fuzz::Exige(n.size() <= static_cast<size_t>(kLongPremio) &&
                    ValorPremio(NormalizaPremio(n)) == ValorPremio(n));
    }
    const ImporteEscrito e = LeeImporteEscrito(texto);
    if (e.error.empty())
        fuzz::Exige(e.texto.size() <= static_cast<size_t>(kLongPremio) &&
                    ValorPremio(NormalizaPremio(e.texto)) == ValorPremio(e.texto));
    CampoImporte(ValorPremio(completo));
    return 0;
}
