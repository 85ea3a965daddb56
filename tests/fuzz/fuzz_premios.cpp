// Prize fields: the stored text cleaned and the amount a player
// writes on the command line never grow past the field, and a stored text
// keeps its value when it is stored again.

#include "Carpeta.h"
#include "scoring/Premios.h"

using namespace tobal;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
    const std::string_view texto = fuzz::Texto(datos, largo);
    std::string completo(texto);
    const auto cabe = [](const std::string& t) {
        return t.size() <= static_cast<size_t>(kLongPremio) &&
               ValorPremio(NormalizaPremio(t)) == ValorPremio(t);
    };
    if (FiltraPremioCompleto(completo)) fuzz::Exige(cabe(NormalizaPremio(completo)));
    if (const ImporteEscrito e = LeeImporteEscrito(texto); e.error.empty()) fuzz::Exige(cabe(e.texto));
    CampoImporte(ValorPremio(completo));
    return 0;
}
