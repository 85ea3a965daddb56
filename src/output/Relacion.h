#pragma once
// The print screen's settings (ticket range, copies, paper width) with the
// rules of its fields, and the relation of tickets: the columns of a range
// of tickets listed four (narrow paper) or seven (wide paper) side by side.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tobal {

struct Estado;
class Impresora;

// Number of official tickets for a number of columns, eight to a ticket.
int32_t NumBoletos(int32_t apuestasReducidas);

// The print screen's own variables; they start again from these defaults
// each time the screen opens.
struct Listado {
    int32_t NumBoletos = 0;
    int32_t BoletoInicial = 1;
    int32_t BoletoFinal = 0;
    int16_t Copias = 1;
    int16_t AnchoPapel = 0;  // 0 narrow (A4), 1 wide (350 mm)
    // Position of a run.
    int32_t ColumnaActual = 0;
    int32_t UltimaColumna = 0;
    int32_t BoletoActual = 0;
};

Listado AbreListado(int32_t numBoletos);

inline constexpr const char* kPapelEstrecho = "Papel estrecho (Din A4)";
inline constexpr const char* kPapelAncho = "Papel ancho (350 mm.)";

// Field rules. The Filtra* functions give what a text box keeps while the
// user types (cut to its length, emptied or corrected); the Cierra*
// functions validate and store the value when the field is closed.
size_t LongitudCampoBoleto(int32_t numBoletos);  // digits of NumBoletos
std::string FiltraBoleto(std::string_view texto, int32_t numBoletos);
std::string FiltraCopias(std::string_view texto);
std::string FiltraMargen(std::string_view texto);
// Both ticket fields return the texts their boxes show afterwards, since
// closing one may move the other.
void CierraBoletoInicial(Listado& l, std::string_view texto);
void CierraBoletoFinal(Listado& l, std::string_view texto);
void CierraCopias(Listado& l, std::string_view texto);
// A margin in tenths of a millimetre, 0..999.
int16_t CierraMargen(std::string_view texto);

// How a printing run talks to whoever started it. Every member is optional.
struct ControlImpresion {
    // Text of the progress bar (UTF-8).
    std::function<void(const std::string&)> progreso;
    // Set by the cancel button, cleared by whoever starts the run; read after
    // every step.
    const std::atomic<bool>* cancelado = nullptr;
    // The program's message window: title and text (UTF-8). The run goes on
    // when it returns.
    std::function<void(const std::string& titulo, const std::string& texto)> mensaje;

    bool Cancelado() const { return cancelado && cancelado->load(); }
    void Progreso(const std::string& t) const {
        if (progreso) progreso(t);
    }
    void Mensaje(const std::string& titulo, const std::string& texto) const {
        if (mensaje) mensaje(titulo, texto);
    }
};

// A reduction whose last ticket holds a single column (the text depends on
// the output).
inline constexpr const char* kTituloUltimoIncompleto = "ÚLTIMO BOLETO INCOMPLETO";

// The page header: three empty lines, the heading with the page number,
// one empty line.
void ImprimeCabecera(const Estado& st, Impresora& imp, const Listado& l);

// The relation of tickets BoletoInicial..BoletoFinal of the current
// reduction, one print job. Returns the number of blocks printed.
int ImprimeRelacion(Estado& st, Impresora& imp, Listado& l, const ControlImpresion& ctl);

}  // namespace tobal
