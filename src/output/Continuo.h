#pragma once
// Official tickets on continuous forms: two tickets to a page of 158.5 mm,
// every page in one print job.

#include <cstdint>

#include "output/Relacion.h"

namespace tobal {

struct Estado;
class Impresora;
class Marcas;

// Offset of the right-hand ticket of a page, twips.
inline constexpr int kDesplazamientoDerecho = 5990;

// One ticket at position 0 (left) or 1 (right) of the page; adjustments in
// twips.
void ImprimeBoletoContinuo(Impresora& imp, const Marcas& marcas, int32_t boleto, double ax, double ay,
                           int posicion);

// The page height of a form from the A4 height (twips): 158.5 mm of 297.
int AltoPaginaContinuo(int altoA4);

inline constexpr const char* kTituloTamanoBoletos = "IMPOSIBLE DEFINIR TAMAÑO BOLETOS";
inline constexpr const char* kTextoSinPapelUsuario =
    "El controlador de esta impresora no admite tamaños de impresión definidos   por   el   usuario.   "
    "La impresión   de   boletos   en   papel continuo  exige  definir  una  altura  de  la  página  de  "
    "impresión de 158.5 mm.  y  el  controlador de la impresora  no  lo permite.  Por lo tanto, no se "
    "pueden imprimir los boletos en papel continuo en esta impresora.";
inline constexpr const char* kTextoSinAltura =
    "El  controlador  de  esta  impresora  no  permite  definir  la altura de página necesaria para "
    "imprimir los boletos en  papel  continuo.  La impresión de boletos en papel continuo exige definir "
    "la altura de la página de impresión a  158.5 mm.  y el controlador de la impresora no lo permite.  "
    "Por lo tanto,  no  se  pueden  imprimir los  boletos en papel continuo en esta impresora.";

enum class ResultadoContinuo { Impreso, Cancelado, SinFichero, SinPapelUsuario, SinAltura };

// The continuous run: tickets BoletoInicial..BoletoFinal of the current
// reduction, or two test tickets when `prueba`.
ResultadoContinuo ImpriContinuo(Estado& st, Impresora& imp, Listado& l, bool prueba,
                                const ControlImpresion& ctl);

}  // namespace tobal
