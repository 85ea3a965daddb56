#pragma once
// DATOSGEN.TBX: the general settings and the current selection, one line of
// 14 comma-separated values.

#include <string>
#include <string_view>

namespace tobal {

struct Estado;

// The line the defaults produce, without its CR LF.
inline constexpr const char* kLineaDatosGenDefecto =
    "1,\"01/09/02\",1,1,0,0,0,0,1,42,\"0.3 \",\"00\",\"00000\",\"Si\"";

void DatosGenPorDefecto(Estado& st);

// The file's line for the current settings, CR LF included.
std::string LineaDatosGen(const Estado& st);

// Loads the settings; a missing file is created with the defaults (one
// message); other errors are reported with the LDG texts, and the fields not
// read keep their previous values. Computes Precio. With `creaSiFalta`
// false a missing file is left missing.
void LeeDatosGen(Estado& st, bool creaSiFalta = true);

// Writes the settings, replacing the file. Returns the error number (0 on
// success); reports nothing itself. A file that exists but cannot be read
// is left alone (its error number is returned): it may hold settings the
// user has not lost yet.
int GrabaDatosGen(const Estado& st);

// Assignments to the fixed-width fields: cut or padded to their width.
void PonPrecioApuesta(Estado& st, std::string_view texto);  // also sets Precio
void PonDelegacion(Estado& st, std::string_view texto);
void PonReceptor(Estado& st, std::string_view texto);
void PonSonido(Estado& st, std::string_view texto);
void PonFechaJornada(Estado& st, std::string_view texto);

// The numeric value of a price text ("0.3 " -> 0.3f).
float ValorPrecio(std::string_view precioApuesta);

// The price field's closing rule: shortest decimal text, "0" before a
// leading ".", cut or padded to 4 (".355" -> "0.35").
std::string NormalizaPrecio(std::string_view tecleado);

// True when the click sounds are on ("Si" in any letter case).
bool SonidoActivado(const Estado& st);

}  // namespace tobal
