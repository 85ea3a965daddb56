#pragma once
// Colours given as Windows colour values (0x00BBGGRR).

#include <QColor>

namespace tobal {

inline QColor ColorWin(unsigned valor) {
    return QColor(int(valor & 0xFF), int((valor >> 8) & 0xFF), int((valor >> 16) & 0xFF));
}

namespace Color {
inline constexpr unsigned Negro = 0;
inline constexpr unsigned Verde = 65280;
inline constexpr unsigned VerdeOscuro = 32768;
inline constexpr unsigned VerdeMuyOscuro = 16384;
inline constexpr unsigned Amarillo = 65535;
inline constexpr unsigned GrisClaro = 12632256;
inline constexpr unsigned Gris = 8421504;
inline constexpr unsigned Blanco = 16777215;
inline constexpr unsigned Rojo = 255;
}  // namespace Color

}  // namespace tobal
