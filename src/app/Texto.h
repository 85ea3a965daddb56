#pragma once
// Fixed-width text helpers over Windows-1252 byte strings, and conversion to
// and from UTF-8 at the screen and command-line boundary.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tobal {

// Windows-1252 bytes to UTF-8; undefined bytes become U+FFFD.
std::string Cp1252AUtf8(std::string_view cp1252);
// UTF-8 to Windows-1252; characters without a byte become "?" and set
// `perdida` when given. Malformed UTF-8 bytes are taken as Windows-1252.
std::string Utf8ACp1252(std::string_view utf8, bool* perdida = nullptr);

// Cut to `ancho` or pad with blanks on the right (assignment to a fixed field).
std::string Ajusta(std::string_view s, size_t ancho);
// Right-aligned in `ancho`, blank-filled on the left; cut on the left side
// never happens: a longer text is returned whole.
std::string AlineaDerecha(std::string_view s, size_t ancho);
// A number with leading zeros in `ancho` digits ("07").
std::string DosDigitos(int n);
std::string ConCeros(long long n, size_t ancho);

std::string_view Recorta(std::string_view s);  // blanks at both ends
std::string_view RecortaIzq(std::string_view s);
std::string_view RecortaDer(std::string_view s);
std::string Mayusculas(std::string_view s);  // ASCII letters only
bool IgualSinMayusculas(std::string_view a, std::string_view b);

// The numeric value of a text as the original's Val does for plain
// integers: leading blanks skipped, optional sign, digits up to the first
// other character. Nothing numeric gives 0.
long long ValEntero(std::string_view s);
// Strict integer: optional blanks around, optional sign, digits only.
std::optional<long long> EnteroEstricto(std::string_view s);
// Decimal number with "." as separator, independent of the locale; reads
// as far as it can ("0.3 " -> 0.3, ".5" -> 0.5, "" -> 0).
double ValDecimal(std::string_view s);
// Shortest decimal text for a single-precision value ("0.5", "12.5", "3").
std::string DecimalCorto(float v);

}  // namespace tobal
