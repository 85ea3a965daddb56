#pragma once
// Typing filters and closing rules of the general data screen's fields.

#include <string>
#include <string_view>

namespace tobal {

// "Total jornadas" while typing: the trimmed text, or empty when its value
// is below 1 or above 99.
std::string FiltraTotJornadas(std::string_view texto);
// "Total jornadas" on closing: below 1 (empty included) gives 44, above 52
// gives 52.
int CierraTotJornadas(std::string_view texto);

// Removes every character not in `permitidos`; `cursor` (a character
// position) moves back by the characters removed before it.
struct TextoFiltrado {
    std::string texto;
    int cursor = 0;
};
TextoFiltrado QuitaCaracteres(std::string_view texto, int cursor, std::string_view permitidos);

inline constexpr std::string_view kDigitos = "0123456789";
inline constexpr std::string_view kCaracteresPrecio = "0123456789.";

// Zeros in front up to `ancho` characters ("7" -> "07"); longer texts stay.
std::string CerosDelante(std::string_view texto, size_t ancho);

}  // namespace tobal
