#include "output/InformeEscrutinio.h"

#include "app/Formato.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "output/Impresora.h"
#include "scoring/Escrutinio.h"

namespace tobal {

namespace {

const char* const kCabeceraBoletos = "Boleto nro.  15   14   13   12   11";
const char* const kRayaBoletos = "===================================";

void En(Impresora& imp, double x, double y, const std::string& texto) {
    imp.CurrentX = x;
    imp.CurrentY = y;
    imp.Print(texto);
}

std::string Importe(double valor) {
    return AlineaDerecha(Formatea(valor, "##,###,##0.00"), 13) + Utf8ACp1252(" €");
}

// Characters desde..hasta (1-based) of a row, blanks past its end.
std::string Trozo(const std::string& fila, size_t desde, size_t hasta) {
    return Ajusta(fila, hasta).substr(desde - 1, hasta - desde + 1);
}

}  // namespace

void ImprimeInformeEscrutinio(Impresora& imp, const DatosInforme& d) {
    imp.FontName("Courier New");
    imp.FontSize(9.75);
    imp.FontBold(true);
    imp.Print();
    imp.Print("   Escrutinio de la jornada nro. " + AlineaDerecha(std::to_string(d.jornada), 2) +
              " de fecha " + d.fecha + " (Orden " + AlineaDerecha(std::to_string(d.orden), 2) + ")");
    imp.Print();
    imp.Print();
    imp.FontBold(false);
    imp.Print(std::string(13, ' ') + "Columna ganadora");
    imp.Print(std::string(41, '-'));
    const std::string ganadora = Ajusta(d.ganadora, 15);
    for (int m = 1; m <= 15; ++m) {
        std::string texto = ConCeros(m, 2) + ". " + NombreEquipo(d.regJornada, 2 * m - 1);
        const std::string visitante = NombreEquipo(d.regJornada, 2 * m);
        if (!NombreEquipo(d.regJornada, 2 * m - 1).empty() && !visitante.empty()) texto += " - ";
        texto += visitante;
        std::string linea(37, '.');
        linea.replace(0, std::min(texto.size(), linea.size()), texto.substr(0, linea.size()));
        if (linea[0] == '0') linea[0] = ' ';
        imp.Print(linea + "  " + ganadora[m - 1]);
    }

    En(imp, 6000, 1500, Utf8ACp1252("Premios a repartir por categoría"));
    En(imp, 6000, 1700, "********************************");
    for (int k = 1; k <= 5; ++k)
        En(imp, 6050, 1800 + 350 * k, " " + std::to_string(16 - k) + " aciertos.: " + Importe(d.premios[k]));

    En(imp, 1800, 5400, Utf8ACp1252("         Aciertos agrupados por categoría"));
    En(imp, 1800, 5650, " ===============================================");
    for (int i = 1; i <= 16; ++i) {
        const std::string fila = i < static_cast<int>(d.aciertos.size()) ? d.aciertos[i] : std::string();
        // Counts too wide for their six places take the blanks before them.
        const std::string cuenta = fila.empty() ? std::string(6, ' ') : std::string(TextoCuentaDeFila(fila));
        const long long n = fila.empty() ? 0 : CuentaDeFila(fila);
        std::string linea =
            cuenta + " columna" + (n != 1 ? "s" : " ") + " de " + Trozo(fila, 3, 4) + " aciertos";
        if (i < 6 && n > 0) linea += ".: " + Importe(ValorImporteDeFila(fila));
        En(imp, 1800, 5700 + 250 * i, linea);
    }
    const std::string total = d.aciertos.empty() ? std::string() : d.aciertos[0];
    En(imp, 2850, 10100,
       "Total importe premios.: " + Importe(total.empty() ? 0.0 : ValorImporteDeFila(total)));

    En(imp, 2800, 11000, Utf8ACp1252("Localización de aciertos en boletos"));
    En(imp, 2800, 11160, "-----------------------------------");
    En(imp, 2800, 11400, kCabeceraBoletos);
    En(imp, 2800, 11560, kRayaBoletos);
    double y = 11600;
    for (const std::string& b : d.boletos) {
        y += 250;
        if (y > kLimiteBoletos) {
            imp.NewPage();
            En(imp, 2800, 300, kCabeceraBoletos);
            En(imp, 2800, 460, kRayaBoletos);
            y = 750;
        }
        // Read through the row's reader, so that a ticket number of more
        // than six digits does not shift the counts.
        const BoletoPremiado bp = LeeFilaBoleto(b);
        std::string linea = AlineaDerecha(std::to_string(bp.boleto), 6) + std::string(8, ' ');
        for (int k = 1; k <= 5; ++k) {
            linea += bp.columnas[k] ? static_cast<char>('0' + bp.columnas[k] % 10) : ' ';
            if (k < 5) linea += std::string(4, ' ');
        }
        En(imp, 2800, y, linea);
    }
    y += 300;
    En(imp, 2800, y,
       "    Total boletos premiados.: " + Formatea(static_cast<double>(d.boletos.size()), "###,##0"));
    imp.EndDoc();
}

}  // namespace tobal
