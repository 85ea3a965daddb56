#pragma once
// The reduction run: writes the record of ReduccionActual to BASES.TBX and
// its reduced columns to the columns file, for the four methods. It never
// touches a widget: progress goes through a callback, cancelling through a
// flag, failures through the state's reporter and the result.
//
// Column order: the multiples a method does not take are developed in full,
// match 1 varying fastest, each through its signs in the order 1, X, 2. For
// each of those states the direct method writes its table's columns in
// table order, and the minimal reduction (method 4) the words of
// ConstruyeCubierta (reduced triples, reduced doubles, radius MaxErrores) in
// the covering's order: its k-th triple digit 0, 1, 2 is the sign 1, X, 2
// of the k-th reduced triple in match order, its k-th double digit the
// first or second marked sign of the k-th reduced double. Methods 2 and 3
// write, in that order, the states their filter lets through.
//
// Conditions (st.CondicionesActuales): methods 2 and 3 and the full
// development (the direct method with no table, every multiple developed in
// full) write, in the same order, those of their columns that fail at most
// `fallos` of the conditions. The direct method with a table refuses them.
// Method 4 with conditions writes instead, for each state, the words of the
// covering of that state's results that meet them (CubiertaCondicionada),
// and nothing for a state without such results; the record then announces
// the columns written, known only once every covering is built.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "app/Estado.h"

namespace tobal {

// Fixed texts of the progress panel (UTF-8).
inline constexpr const char* kTituloReduciendo = "REDUCIENDO APUESTAS";
inline constexpr const char* kAvisoCancelar = "Si desea suspender el proceso, pulse Cancelar.";
inline constexpr const char* kReduccionFinalizada = "Ha finalizado el proceso de reducción";
inline constexpr const char* kReduccionCancelada = "El proceso de reducción ha sido cancelado";

// Why the direct method with a table refuses conditions (UTF-8): the screen
// and the command line say it in these words.
inline constexpr const char* kDirectoSinCondiciones =
    "El método directo no admite condiciones: filtrar las columnas de su tabla rompe su garantía. "
    "Use el método 4 (reducción mínima), que cubre los resultados que cumplen las condiciones.";

// Whether the run refuses the conditions of st.ReduccionActual: the direct
// method when its table takes some match and there are conditions. Reads
// st.Esta as the statistics left it.
bool RechazaCondiciones(const Estado& st);

// "        81 apuestas reducidas a 9      ": the direct bets right-aligned in
// 9 characters, the reduced ones left-aligned in 7; "hasta 9" for the bound
// of a minimal reduction under conditions.
std::string TextoCuentas(const Estado& st);
// "Se ha realizado el  40 % de la reducción ".
std::string TextoPorcentaje(int porcentaje);

// The lock key of a reduction (Cerrojo) and the refusal of a second run.
int ClaveReduccion(int jornada, int orden);
std::string TextoReduccionEnCurso(int jornada, int orden);

// Called each time the whole percentage of the run changes, with the
// percentage and its progress line (TextoPorcentaje).
using AvanceReduccion = std::function<void(int porcentaje, const std::string& linea)>;

enum class FinReduccion { Terminada, Cancelada, Fallida };

struct ResultadoReduccion {
    FinReduccion fin = FinReduccion::Fallida;
    int64_t columnas = 0;  // columns written (none kept unless Terminada)
    int error = 0;         // the program's error number when Fallida
    std::string mensaje;   // the panel's closing line, or what failed (UTF-8)
};

// Runs the reduction of st.ReduccionActual, whose base quiniela has passed
// the checks of the reduction button (every match has a sign). It
// recomputes the statistics first, so the record always announces the
// columns the file holds.
//
// Order of the writes, so that a crash at any moment never leaves a record
// beside a partial or different columns file, and the earlier reduction of
// the key stays whole and usable until the new one is complete: the columns
// go to a temporary file of this run, which is synced; only then, under the
// folder's lock, are the columns renamed into place and the record written
// (InstalaReduccion). A cancelled or failed run leaves the folder as it
// found it, BASES.TBX byte for byte; a failure is also reported through
// st.informador. While it runs, the run holds the lock of its key: a second
// run of the same matchday and order fails at once with
// TextoReduccionEnCurso (error 70).
//
// `cancelar`, when given, is tested once per state of the development;
// otherwise st.Cancelado is (the run clears it at the start and the end),
// which suits a run on the interface's own thread that lets events through
// in `avance`. A run on a worker thread passes an atomic flag; `avance` is
// then called on that thread.
ResultadoReduccion EjecutaReduccion(Estado& st, const AvanceReduccion& avance = {},
                                    const std::atomic<bool>* cancelar = nullptr);

}  // namespace tobal
