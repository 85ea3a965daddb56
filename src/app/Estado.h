#pragma once
// The program's shared state: one object created at start-up and passed by
// reference to every screen and routine. Texts that come from or go to data
// files are Windows-1252 byte strings; messages are UTF-8.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tobal {

class Informador;

// One match of a base quiniela. Index 1..3 of Signo means "1", "X", "2";
// index 0 is unused so that the code reads like the data layout.
struct Partido {
    std::array<int16_t, 4> Signo{0, 0, 0, 0};
    int16_t NumSignos = 0;
    int16_t AReducir = 0;
    int16_t SignoBase = 0;  // 0 none, 1 "1", 2 "X", 3 "2"
    bool operator==(const Partido&) const = default;
};

// The reduction methods: 1 direct, 2 probable column, 3 sign selection,
// 4 minimal reduction (a covering of the reduced multiples).
inline constexpr int kMetodos = 4;

// Conditions on a reduction's columns (their notation, evaluation and file
// in reduction/Condiciones.h): a range of one measure over a group of
// matches; a column is kept when at most `fallos` of them fail.
enum class Medida { Unos, Equis, Doses, Variantes, Interrupciones, Seguidos };

inline constexpr uint16_t kTodosLosPartidos = 0x3FFF;  // bit m-1: match m (1..14)

struct Condicion {
    Medida medida = Medida::Equis;
    int minimo = 0;
    int maximo = 14;
    uint16_t partidos = kTodosLosPartidos;
    bool operator==(const Condicion&) const = default;
};

struct Condiciones {
    std::vector<Condicion> lista;
    int fallos = 0;  // conditions a column may fail and still be kept
    bool operator==(const Condiciones&) const = default;
};

// A reduction: its key, method, parameters, bet counts and base quiniela.
// Partidos[1..15]; index 0 is unused.
struct Reduccion {
    int16_t Jornada = 1;
    int16_t Orden = 1;
    int16_t Metodo = 1;
    int16_t MinErrores = 0;
    int16_t MaxErrores = 0;                     // method 4: the errors its covering guarantees, 1 or 2
    std::array<int16_t, 4> Signos{0, 0, 0, 0};  // [1..3]
    int32_t ApuestasDirectas = 1;
    int32_t ApuestasReducidas = 1;
    std::array<Partido, 16> Partidos{};
    bool operator==(const Reduccion&) const = default;
};

// Values derived from the base quiniela by the statistics, and the reduction
// table chosen for the direct method.
struct Estadistica {
    int16_t PartidosDobles = 0;
    int16_t PartidosTriples = 0;
    int16_t DoblesReducir = 0;
    int16_t TriplesReducir = 0;
    int16_t MultiplesReducir = 0;
    std::array<int16_t, 4> Disponibles{0, 0, 0, 0};  // [1..3]
    float FactorReduccion = 1.0f;
    // Selected table (EligeTabla).
    int16_t ApuestasTabla = 0;
    int16_t InicioTabla = 0;
    int16_t TriplesTabla = 0;
    int16_t DoblesTabla = 0;
};

// The general settings of DATOSGEN.TBX. Jornada, Orden and Metodo live in
// ReduccionActual; the rest here. Fixed-width texts keep their full width.
struct DatosGenerales {
    std::string FechaJornada = "01/09/02";
    int16_t AjusteXHoja = 0;
    int16_t AjusteYHoja = 0;
    int16_t AjusteXContinuo = 0;
    int16_t AjusteYContinuo = 0;
    int16_t Orientacion = 1;
    int16_t TotJornadas = 42;
    std::string PrecioApuesta = "0.3 ";  // exactly 4
    std::string Delegacion = "00";       // exactly 2
    std::string Receptor = "00000";      // exactly 5
    std::string Sonido = "Si";           // exactly 2
    float Precio = 0.3f;
};

inline constexpr int16_t Verdadero = -1;
inline constexpr int16_t Falso = 0;
inline constexpr int kLongRegJornada = 533;
inline constexpr const char* SaltoLinea = "\r\n";

struct Estado {
    // Folders. DirPrograma is the folder of the executable (help pages and
    // the data files shipped with the program); DirDatos holds the data.
    std::filesystem::path DirPrograma;
    std::filesystem::path DirDatos;

    int16_t ErrorFichero = 0;
    std::string NomFichero;
    int16_t NumRegistro = 0;

    DatosGenerales Datos;
    Reduccion ReduccionActual;
    // The conditions of ReduccionActual; none for a reduction without them.
    Condiciones CondicionesActuales;
    Estadistica Esta;

    // Current matchday record, 533 Windows-1252 bytes.
    std::string RegJornada = std::string("     00/00/00") + std::string(520, ' ');

    // Answer flags of the message window and screen flags (true = -1).
    int16_t PulsoReducir = Falso;
    int16_t PulsoBorrar = Falso;
    int16_t PulsoCopiar = Falso;
    int16_t RepiteReducir = Falso;
    int16_t IndiceElegido = Falso;
    int16_t CambioInterno = Falso;
    int16_t Cancelado = Falso;
    // The method chosen on the reduction screen, which reopens with it
    // instead of the stored one; 0 when the screen opens otherwise.
    int16_t MetodoElegido = 0;
    // The conditions on the screen when its method was changed, which it
    // reopens with instead of the stored ones, not yet run nor written.
    std::optional<Condiciones> CondicionesElegidas;

    // The output the output screen hands to the print screen (0 summary,
    // 1 sheet tickets, 2 relation, 3 disk copy, 4 continuous forms) and the
    // tickets of the current reduction.
    int16_t TipoSalida = 0;
    int32_t NumBoletos = 0;

    // Where file-error messages go: a message box, stderr, or a recorder.
    Informador* informador = nullptr;

    // Shorthands for the current selection.
    int16_t& Jornada() { return ReduccionActual.Jornada; }
    int16_t& Orden() { return ReduccionActual.Orden; }
    int16_t& Metodo() { return ReduccionActual.Metodo; }
    int16_t Jornada() const { return ReduccionActual.Jornada; }
    int16_t Orden() const { return ReduccionActual.Orden; }
    int16_t Metodo() const { return ReduccionActual.Metodo; }
};

}  // namespace tobal
