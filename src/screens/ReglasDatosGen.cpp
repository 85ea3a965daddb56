#include "screens/ReglasDatosGen.h"

#include "app/Texto.h"

namespace tobal {

std::string FiltraTotJornadas(std::string_view texto) {
    const std::string_view limpio = Recorta(texto);
    const long long v = ValEntero(limpio);
    if (v < 1 || v > 99) return {};
    return std::string(limpio);
}

int CierraTotJornadas(std::string_view texto) {
    const long long v = ValEntero(texto);
    if (v < 1) return 44;
    if (v > 52) return 52;
    return static_cast<int>(v);
}

TextoFiltrado QuitaCaracteres(std::string_view texto, int cursor, std::string_view permitidos) {
    TextoFiltrado r;
    r.cursor = cursor;
    for (size_t i = 0; i < texto.size(); ++i) {
        if (permitidos.find(texto[i]) != std::string_view::npos) {
            r.texto += texto[i];
        } else if (static_cast<int>(i) < cursor) {
            --r.cursor;
        }
    }
    return r;
}

std::string CerosDelante(std::string_view texto, size_t ancho) {
    if (texto.size() >= ancho) return std::string(texto);
    return std::string(ancho - texto.size(), '0') + std::string(texto);
}

}  // namespace tobal
