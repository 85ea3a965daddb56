#pragma once
// Official tickets: the marks of one ticket, the two sheet layouts and the
// sheet printing run, one print job per ticket.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "output/Relacion.h"
#include "reduction/Almacen.h"

namespace tobal {

struct Estado;
class Impresora;

// Marks of one ticket: column slot c 1..8, match row m 1..15, box s 1..3
// (box 1 sign "1", box 2 "X", box 3 "2"); 1 = cross the box.
class Marcas {
public:
    int16_t& operator()(int c, int m, int s) { return v_[c][m][s]; }
    int16_t operator()(int c, int m, int s) const { return v_[c][m][s]; }
    void Limpia() { v_ = {}; }
    int Cuenta() const;

private:
    std::array<std::array<std::array<int16_t, 4>, 16>, 9> v_{};
};

// Every box of matches 1..14 and the three boxes of match 15.
void MarcaPrueba(Marcas& marcas);

// The marks of one ticket's columns (up to eight; a missing one is blank).
// Match 15 is marked once per ticket, from the first column, in three fixed
// boxes of row 15.
void MarcaColumna(Marcas& marcas, int slot, std::string_view columna);

// The columns file of a reduction, opened as the shared open routine does
// (a missing file is silent, other errors are reported) and read from any
// column on. The whole file is checked when it is opened, so that nothing
// is printed from a damaged one.
class FicheroColumnas {
public:
    // Opens FicheroRed of the current reduction; sets NomFichero and
    // ErrorFichero. A damaged file is reported and not opened. True when open.
    bool Abre(Estado& st);
    // Positions the file at the start of column `n` (1-based).
    void Posiciona(int64_t n);
    bool Fin() const { return !hay_; }
    // The next column: its 15 signs; 15 blanks at the end of the file.
    std::string Lee();

private:
    void Avanza();
    std::filesystem::path ruta_;
    LectorColumnas lector_;
    std::string siguiente_;
    bool hay_ = false;
};

// Reads the ticket's columns ColumnaActual.. (at most UltimaColumna) and
// fills the marks.
void LlenaMarcas(Marcas& marcas, FicheroColumnas& fichero, int32_t columnaActual, int32_t ultimaColumna);

// A cross of two strokes over the box (x, y, w, h).
void DibujaCruz(Impresora& imp, double x, double y, double ancho, double alto);

// The ticket number as printed on the ticket ("999,999").
std::string NumeroBoleto(int32_t boleto);

// The two sheet layouts, adjustments ax, ay already in twips.
void ImprimeBoletoVertical(Impresora& imp, const Marcas& marcas, int32_t boleto, double ax, double ay);
void ImprimeBoletoApaisado(Impresora& imp, const Marcas& marcas, int32_t boleto, double ax, double ay);

inline constexpr const char* kTextoUltimoIncompleto =
    "Con esta reducción,  el último boleto sólo contiene una columna. Como  cada  boleto  debe  "
    "tener  dos  columnas  como  mínimo,  deberá  rellenar  manualmente  la  segunda  columna del "
    "último boleto  y,  por  lo  tanto,  aumentará  en  una  el  número  total  de columnas de la "
    "reducción.";

// The sheet run one ticket at a time, for whoever waits for the user between
// tickets: Abre, then while QuedaBoleto: Lee, Imprime (again to repeat),
// Avanza.
class CorridaHoja {
public:
    CorridaHoja(Estado& st, Listado& l) : st_(st), l_(l) {}
    // Opens the columns file at the first ticket of the range; false when
    // it cannot be opened (a missing file is silent).
    bool Abre();
    bool QuedaBoleto();
    // Reads the marks of the ticket at ColumnaActual; sets BoletoActual.
    void Lee();
    bool Ultimo() const { return l_.BoletoActual == l_.BoletoFinal; }
    // Prints the marks read as one print job.
    void Imprime(Impresora& imp) const;
    void Avanza() { l_.ColumnaActual += 8; }

private:
    Estado& st_;
    Listado& l_;
    FicheroColumnas fichero_;
    Marcas marcas_;
};

// The test ticket of the sheet layout of Orientacion, one job.
void ImprimePruebaHoja(const Estado& st, Impresora& imp, Listado& l);

// The sheet run: tickets BoletoInicial..BoletoFinal of the current
// reduction in the layout of Orientacion, or the test ticket when `prueba`.
// Returns the number of tickets printed.
int ImprimeBoletosHoja(Estado& st, Impresora& imp, Listado& l, bool prueba, const ControlImpresion& ctl);

}  // namespace tobal
