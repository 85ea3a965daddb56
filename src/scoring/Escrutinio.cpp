#include "scoring/Escrutinio.h"

#include <algorithm>
#include <cmath>

#include "app/Archivo.h"
#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "app/Informador.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"

namespace tobal {

namespace {

// The cell geometry: one coordinate is inside a cell when it lies within
// the picture and its rounded offset falls on the cell, not on the gap.
int CeldaEje(double v, double min, double max, double desplaza, int paso, int celda) {
    if (!(v > min && v < max)) return 0;
    const long long redondeado = std::llrint(v + desplaza);  // to even, as the original rounds
    if (redondeado % paso >= celda) return 0;
    return static_cast<int>(std::floor((v + desplaza) / paso));
}

std::string_view Campo(std::string_view fila, size_t pos1, size_t ancho) {
    if (fila.size() < pos1) return {};
    return fila.substr(pos1 - 1, ancho);
}

}  // namespace

CeldaGanadora QueGanadoraHaPulsado(double x, double y) {
    CeldaGanadora c;
    c.fila = CeldaEje(y, 3, 274, 14, 18, 15);
    if (c.fila) c.columna = CeldaEje(x, 3, 48, 12, 15, 13);
    return c;
}

void MarcaCeldaGanadora(Rejilla& rejilla, int fila, int columna) {
    if (fila < 1 || fila > kPartidos || columna < 1 || columna > 3) return;
    rejilla[fila] = rejilla[fila] == columna ? 0 : static_cast<int16_t>(columna);
}

char SignoDeColumna(int columna) {
    switch (columna) {
        case 1: return '1';
        case 2: return 'X';
        case 3: return '2';
        default: return ' ';
    }
}

std::string ColumnaGanadora(const Rejilla& rejilla) {
    std::string g;
    for (int m = 1; m <= kPartidos; ++m) {
        if (rejilla[m] < 1 || rejilla[m] > 3) break;
        g += SignoDeColumna(rejilla[m]);
    }
    return g;
}

EntradasEscrutinio EntradasDeRegistro(std::string_view registro) {
    std::string reg = Ajusta(registro, kLongRegJornada);
    EntradasEscrutinio e;
    for (int m = 1; m <= kPartidos; ++m) {
        char d = reg[kPosResultados - 1 + m - 1];
        e.Ganadora[m] = (d >= '1' && d <= '3') ? static_cast<int16_t>(d - '0') : 0;
    }
    for (int k = 1; k <= 5; ++k) {
        // The field shows what its filter lets through, and the amount is
        // the value of what it shows.
        std::string t(Recorta(std::string_view(reg).substr(kPosPremios - 1 + (k - 1) * kLongPremio, kLongPremio)));
        FiltraPremioCompleto(t);
        e.TextoPremios[k] = t;
        e.Premios[k] = ValorPremio(t);
    }
    return e;
}

void PonEntradasEnRegistro(std::string& registro, int jornada, std::string_view fecha,
                           const EntradasEscrutinio& entradas) {
    registro = Ajusta(registro, kLongRegJornada);
    registro.replace(0, 5, "Jor" + DosDigitos(jornada).substr(0, 2));
    registro.replace(5, 8, Ajusta(fecha, 8));
    for (int m = 1; m <= kPartidos; ++m) {
        int16_t c = entradas.Ganadora[m];
        registro[kPosResultados - 1 + m - 1] = (c >= 1 && c <= 3) ? static_cast<char>('0' + c) : '0';
    }
    for (int k = 1; k <= 5; ++k) {
        std::string campo = AlineaDerecha(Recorta(entradas.TextoPremios[k]), kLongPremio);
        registro.replace(kPosPremios - 1 + (k - 1) * kLongPremio, kLongPremio, Ajusta(campo, kLongPremio));
    }
}

std::string FilaAciertos(int aciertos, int32_t cuenta, std::string_view importe) {
    // A count of more than six digits takes the blanks before it, so that the
    // amount keeps its place (a full reduction has 4,782,969 columns).
    std::string fila = "  " + AlineaDerecha(std::to_string(aciertos), 2);
    fila += AlineaDerecha(std::to_string(cuenta), 8);
    fila += "  ";
    fila += importe;
    return fila;
}

std::string FilaTotal(std::string_view importe) { return std::string(kTotalPremios) + std::string(importe); }

std::string FilaBoleto(int32_t boleto, const std::array<int16_t, 16>& cuentas) {
    std::string fila = AlineaDerecha(std::to_string(boleto), 6) + "  ";
    for (int k = 15; k >= 11; --k) {
        fila += "  ";
        fila += cuentas[k] ? std::to_string(cuentas[k]) : " ";
    }
    return fila;
}

void AgregaLisBoletos(std::vector<std::string>& lista, int32_t boleto, const std::array<int16_t, 16>& cuentas) {
    int suma = 0;
    for (int k = 11; k <= 15; ++k) suma += cuentas[k];
    if (suma > 0) lista.push_back(FilaBoleto(boleto, cuentas));
}

int AciertosDeFila(std::string_view fila) { return static_cast<int>(ValEntero(Campo(fila, 3, 2))); }

int32_t CuentaDeFila(std::string_view fila) { return static_cast<int32_t>(ValEntero(Campo(fila, 5, 8))); }

std::string_view TextoCuentaDeFila(std::string_view fila) {
    std::string_view c = Campo(fila, 5, 8);
    size_t inicio = std::min<size_t>(2, c.size());
    while (inicio > 0 && c[inicio - 1] != ' ') --inicio;
    return c.substr(inicio);
}

std::string_view ImporteDeFila(std::string_view fila) {
    if (fila.size() < static_cast<size_t>(kPosImporte)) return {};
    return fila.substr(kPosImporte - 1);
}

double ValorImporteDeFila(std::string_view fila) { return ValDecimal(ImporteDeFila(fila)); }

BoletoPremiado LeeFilaBoleto(std::string_view fila) {
    // The counts stand at fixed places from the end of the row, so a ticket
    // number of more than six digits still reads right.
    BoletoPremiado b;
    if (fila.size() < static_cast<size_t>(kAnchoFilaBoleto)) fila = {};
    const size_t cola = fila.empty() ? 0 : fila.size() - (kAnchoFilaBoleto - 6);
    b.boleto = static_cast<int32_t>(ValEntero(fila.substr(0, cola)));
    for (int k = 1; k <= 5; ++k) {
        size_t pos = cola + 4 + static_cast<size_t>(k - 1) * 3;
        char c = pos < fila.size() ? fila[pos] : ' ';
        b.columnas[k] = (c >= '0' && c <= '9') ? c - '0' : 0;
    }
    return b;
}

ResultadoEscrutinio EscrutaColumnas(const std::filesystem::path& rutaColumnas, std::string_view ganadora,
                                    const std::array<double, 6>& premios, const ProgresoEscrutinio& progreso) {
    ResultadoEscrutinio r;
    r.ganadora = std::string(ganadora);
    if (ganadora.size() != static_cast<size_t>(kPartidos)) {
        r.fin = FinEscrutinio::Incompleta;
        return r;
    }
    LectorColumnas lector;
    if (int e = lector.Abre(rutaColumnas)) {
        r.fin = FinEscrutinio::SinColumnas;
        r.errorColumnas = e;
        return r;
    }
    int error = 0;
    const int64_t tamano = TamanoFichero(rutaColumnas, error);
    const int64_t previstas = tamano > 0 ? std::max<int64_t>(1, tamano / kLongLineaColumna) : 1;
    int ultimoPorcentaje = -1;

    std::array<int64_t, 16> cuenta{};
    std::array<int16_t, 16> cuentaBoleto{};
    int64_t n = 0;
    int64_t boletoActual = 1;
    std::string_view col;
    while (lector.Siguiente(col)) {
        // Characters beyond the line's end are blanks, which never equal a sign.
        const size_t largo = std::min(col.size(), static_cast<size_t>(kPartidos));
        int aciertos = 0;
        for (size_t i = 0; i < std::min<size_t>(largo, 14); ++i) aciertos += col[i] == ganadora[i];
        if (aciertos == 14 && largo == 15 && col[14] == ganadora[14]) aciertos = 15;
        ++n;
        ++cuenta[aciertos];
        if (aciertos == 15) ++cuenta[14];
        const int64_t boleto = (n + 7) / 8;
        if (boleto != boletoActual) {
            AgregaLisBoletos(r.LisBoletos, static_cast<int32_t>(boletoActual), cuentaBoleto);
            boletoActual = boleto;
            cuentaBoleto.fill(0);
        }
        ++cuentaBoleto[aciertos];
        if (progreso && (n & 0xFFFF) == 0) {
            int p = static_cast<int>(std::min<int64_t>(100, n * 100 / previstas));
            if (p != ultimoPorcentaje) progreso(ultimoPorcentaje = p);
        }
    }
    if (lector.Error()) {
        // A table of part of the file would be a wrong result.
        r.fin = FinEscrutinio::SinColumnas;
        r.errorColumnas = lector.Error();
        r.LisBoletos.clear();
        return r;
    }
    AgregaLisBoletos(r.LisBoletos, static_cast<int32_t>(boletoActual), cuentaBoleto);

    r.columnas = n;
    r.LisAciertos.reserve(kFilasAciertos);
    r.LisAciertos.emplace_back(" ");
    double total = 0;
    for (int h = 15; h >= 0; --h) {
        r.cuenta[h] = static_cast<int32_t>(cuenta[h]);
        std::string importe = " ";
        if (cuenta[h] > 0 && h >= 11) {
            importe = CampoImporte(static_cast<double>(cuenta[h]) * premios[16 - h]);
            r.importe[16 - h] = ValDecimal(importe);
        }
        r.LisAciertos.push_back(FilaAciertos(h, r.cuenta[h], importe));
        total += ValDecimal(importe);
    }
    r.total = total;
    r.LisAciertos[0] = FilaTotal(CampoImporte(total));
    r.fin = FinEscrutinio::Completo;
    if (progreso && ultimoPorcentaje != 100) progreso(100);
    return r;
}

ResultadoEscrutinio Escruta(Estado& st, const EntradasEscrutinio& entradas, const ProgresoEscrutinio& progreso) {
    const int jornada = st.Jornada();
    PonEntradasEnRegistro(st.RegJornada, jornada, st.Datos.FechaJornada, entradas);
    const int errorRegistro = GrabaRegistroJornada(st, jornada, st.RegJornada);
    if (errorRegistro && st.informador)
        st.informador->ErrorFichero(
            "No se han podido guardar la columna ganadora y los premios en el fichero de jornadas "
            "JORNADAS.TBX (ERROR " +
            std::to_string(errorRegistro) + ").");

    ResultadoEscrutinio r;
    const std::string ganadora = ColumnaGanadora(entradas.Ganadora);
    if (ganadora.size() != static_cast<size_t>(kPartidos)) {
        r.fin = FinEscrutinio::Incompleta;
        r.ganadora = ganadora;
    } else {
        st.NomFichero = FicheroRed(jornada, st.Orden());
        st.ErrorFichero = 0;
        r = EscrutaColumnas(st.DirDatos / st.NomFichero, ganadora, entradas.Premios, progreso);
        if (r.fin == FinEscrutinio::SinColumnas) InformaErrorFichero(st, Op::Abre(st.NomFichero), r.errorColumnas);
    }
    r.errorRegistro = errorRegistro;
    return r;
}

}  // namespace tobal
