#pragma once
// Numbers formatted by the display patterns of the original ("#,###,##0.00",
// "##0.00", ...): "#" a digit or nothing, "0" a digit or zero, "," grouping,
// "." decimal point. Separators follow the locale (LC_NUMERIC); under the C
// or POSIX locale they are "," and ".".

#include <string>

namespace tobal {

struct Separadores {
    char miles = ',';
    char decimal = '.';
};

// The separators of the current C locale, with "," and "." where it has none.
Separadores SeparadoresLocales();

// Formats `valor` with `patron`; rounding half away from zero, as the
// original's Format does.
std::string Formatea(double valor, const std::string& patron, Separadores sep);
std::string Formatea(double valor, const std::string& patron);

}  // namespace tobal
