#pragma once
// Prize texts and amounts of the scoring screen: a stored prize text cleaned,
// how a prize reads when the user leaves its field, and the amount field of
// the hits table.

#include <string>
#include <string_view>

namespace tobal {

// A prize field of the matchday record holds 11 characters, so a prize text
// never grows beyond them.
inline constexpr int kLongPremio = 11;

// The amount field of the hits table: 11 characters for amounts up to
// 99999999.99. A larger amount is never cut: the field grows to the left.
inline constexpr int kAnchoImporte = 11;

// A prize text read from a matchday record, cleaned: blanks and every
// character other than a digit or "." removed ("12,50" leaves "1250"); true
// when the result fits the field.
bool FiltraPremioCompleto(std::string& texto);

// The prize text when the user leaves the field: the shortest decimal form
// of its leading number ("" and "." read 0), "." as the decimal point; a
// value below 1 keeps "0" and at most two decimals, cut (".5" -> "0.5",
// ".125" -> "0.12"). From a filtered text the result always fits the field.
std::string NormalizaPremio(std::string_view texto);

// The numeric value of a prize text: its leading number, 0 when none.
double ValorPremio(std::string_view texto);

// The amount field: the value rounded to two decimals (half away from
// zero), "." as decimal point, no grouping, right-aligned in kAnchoImporte
// characters, or longer when the amount needs more.
std::string CampoImporte(double valor);

// A prize amount written by a player outside the prize field (the command
// line): either plain, "." before the decimals and no grouping ("1500000.50",
// "4.5"), or as a Spanish player writes it, "." between groups of three
// digits and "," before the decimals ("1.500.000,50", "12,50", "1.500.000").
// At most two decimals. A text that reads both ways ("1.500": 1.5 or 1500?)
// is refused. On success `texto` is the prize text to store (as
// NormalizaPremio leaves it, fitting the field) and `error` is empty;
// otherwise `error` says what is wrong.
struct ImporteEscrito {
    std::string texto;
    std::string error;
};
ImporteEscrito LeeImporteEscrito(std::string_view escrito);

}  // namespace tobal
