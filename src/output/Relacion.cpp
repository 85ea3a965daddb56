#include "output/Relacion.h"

#include <algorithm>
#include <array>

#include "app/Estado.h"
#include "app/Texto.h"
#include "output/Boletos.h"
#include "output/Impresora.h"

namespace tobal {

int32_t NumBoletos(int32_t apuestasReducidas) { return (apuestasReducidas + 7) / 8; }

Listado AbreListado(int32_t numBoletos) {
    Listado l;
    l.NumBoletos = numBoletos;
    l.BoletoFinal = numBoletos;
    return l;
}

size_t LongitudCampoBoleto(int32_t numBoletos) { return std::to_string(std::max(numBoletos, 0)).size(); }

namespace {

std::string Corta(std::string_view texto, size_t largo) { return std::string(texto.substr(0, largo)); }

}  // namespace

std::string FiltraBoleto(std::string_view texto, int32_t numBoletos) {
    std::string t = Corta(texto, LongitudCampoBoleto(numBoletos));
    return ValEntero(t) < 1 ? std::string() : t;
}

std::string FiltraCopias(std::string_view texto) {
    std::string t = Corta(texto, 3);
    return ValEntero(t) < 1 ? std::string() : t;
}

std::string FiltraMargen(std::string_view texto) {
    std::string t = Corta(texto, 3);
    return ValEntero(t) < 0 ? std::string("0") : t;
}

void CierraBoletoInicial(Listado& l, std::string_view texto) {
    long long v = ValEntero(texto);
    l.BoletoInicial = v < 1 ? 1 : static_cast<int32_t>(std::min<long long>(v, l.NumBoletos));
    if (l.BoletoInicial > l.NumBoletos) l.BoletoInicial = l.NumBoletos;
    if (l.BoletoFinal < l.BoletoInicial) l.BoletoFinal = l.BoletoInicial;
}

void CierraBoletoFinal(Listado& l, std::string_view texto) {
    long long v = ValEntero(texto);
    l.BoletoFinal = v < 1 ? l.NumBoletos : static_cast<int32_t>(std::min<long long>(v, l.NumBoletos));
    if (l.BoletoFinal < l.BoletoInicial) l.BoletoInicial = l.BoletoFinal;
}

void CierraCopias(Listado& l, std::string_view texto) {
    // An emptied box would print no copy at all; one copy is what the user
    // pressing the print button wants.
    long long v = ValEntero(texto);
    l.Copias = static_cast<int16_t>(std::clamp<long long>(v, 1, 999));
}

int16_t CierraMargen(std::string_view texto) {
    return static_cast<int16_t>(std::clamp<long long>(ValEntero(texto), 0, 999));
}

void ImprimeCabecera(const Estado& st, Impresora& imp, const Listado& l) {
    for (int i = 0; i < 3; ++i) imp.Print();
    std::string linea = std::string(20, ' ') + "JORNADA NRO. " +
                        AlineaDerecha(std::to_string(st.Jornada()), 2) + " DE FECHA " +
                        st.Datos.FechaJornada + " (Orden " + AlineaDerecha(std::to_string(st.Orden()), 2) +
                        ")" + std::string(14 + 50 * l.AnchoPapel, ' ') + Utf8ACp1252("Página..: ") +
                        std::to_string(imp.Page());
    imp.Print(linea);
    imp.Print();
}

int ImprimeRelacion(Estado& st, Impresora& imp, Listado& l, const ControlImpresion& ctl) {
    FicheroColumnas fichero;
    if (!fichero.Abre(st)) return 0;
    l.ColumnaActual = l.BoletoInicial * 8 - 7;
    l.UltimaColumna = l.BoletoFinal * 8;
    const int boletosBloque = 4 + 3 * l.AnchoPapel;
    fichero.Posiciona(l.ColumnaActual);
    imp.FontName("Courier New");
    imp.FontSize(9.75);
    imp.FontBold(false);
    ImprimeCabecera(st, imp, l);
    int bloques = 0;
    int enPagina = 0;
    auto quedaAlgo = [&] { return !fichero.Fin() && l.ColumnaActual <= l.UltimaColumna; };
    while (quedaAlgo()) {
        std::array<std::string, 16> filas;
        for (int i = 0; i < 8 * boletosBloque; ++i) {
            std::string col(15, ' ');
            if (!fichero.Fin() && l.ColumnaActual + i <= l.UltimaColumna) col = fichero.Lee();
            for (int m = 1; m <= 15; ++m) {
                filas[m] += ' ';
                filas[m] += col[m - 1];
            }
        }
        l.BoletoActual = (l.ColumnaActual + 7) / 8;
        std::string linea1(10, ' ');
        std::string linea2(10, ' ');
        for (int t = 1; t <= boletosBloque; ++t) {
            if (filas[1][16 * t - 15] == ' ') continue;
            linea1 +=
                "Boleto" + AlineaDerecha(std::to_string(l.BoletoActual + t - 1), 6) + std::string(9, ' ');
            linea2 += "---------------      ";
        }
        for (int i = 0; i < 4; ++i) imp.Print();
        imp.Print(linea1);
        imp.Print(linea2);
        imp.Print();
        for (int m = 1; m <= 15; ++m) {
            // The ticket's match 15 sits apart from the other rows.
            if (m == 15) imp.CurrentY += 60;
            std::string fila = "   " + AlineaDerecha(std::to_string(m), 2) + " -  ";
            for (int t = 1; t <= boletosBloque; ++t)
                fila += filas[m].substr(16 * (t - 1), 16) + std::string(5, ' ');
            imp.Print(fila);
        }
        ctl.Progreso("Imprimiendo el boleto nro. " +
                     std::to_string(std::min(l.BoletoActual + boletosBloque - 1, l.NumBoletos)));
        ++bloques;
        l.ColumnaActual += 8 * boletosBloque;
        if (++enPagina == 3) {
            imp.NewPage();
            if (quedaAlgo()) ImprimeCabecera(st, imp, l);
            enPagina = 0;
        }
        if (ctl.Cancelado()) break;
    }
    imp.EndDoc();
    return bloques;
}

}  // namespace tobal
