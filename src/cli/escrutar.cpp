// tobal31-cli escrutar: scores a stored reduction as the scoring screen does.

#include <algorithm>
#include <ostream>

#include "app/ErrorFichero.h"
#include "app/Texto.h"
#include "cli/Comando.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "scoring/Escrutinio.h"

namespace tobal::cli {
namespace {

Rejilla LeeGanadora(const std::string& escrita) {
    std::string texto;
    for (char c : escrita)
        if (c != ' ' && c != '\t') texto += c;
    if (texto.size() != static_cast<size_t>(kPartidos))
        throw ErrorUso(
            "--ganadora necesita 15 signos (1, X, 2 o - para un partido sin resultado), se han dado " +
            std::to_string(texto.size()));
    Rejilla g{};
    for (int m = 1; m <= kPartidos; ++m) {
        switch (texto[m - 1]) {
            case '1': g[m] = 1; break;
            case 'X':
            case 'x': g[m] = 2; break;
            case '2': g[m] = 3; break;
            case '-': g[m] = 0; break;
            default:
                throw ErrorUso("signo no válido \"" + std::string(1, texto[m - 1]) + "\" en el partido " +
                               std::to_string(m) + " de --ganadora (1, X, 2 o -)");
        }
    }
    return g;
}

// The five prize texts, each as it is stored. Amounts are separated by
// blanks or ";" only: a comma is always the decimal comma.
std::array<std::string, 6> LeePremios(const std::string& lista) {
    std::vector<std::string> importes;
    std::string actual;
    for (char c : lista + " ") {
        if (c == ' ' || c == '\t' || c == ';') {
            if (!actual.empty()) importes.push_back(std::move(actual));
            actual.clear();
        } else {
            actual += c;
        }
    }
    if (importes.size() != 5)
        throw ErrorUso(
            "--premios necesita cinco importes separados por blancos o \";\" (15, 14, 13, 12 y 11 "
            "aciertos), se han dado " +
            std::to_string(importes.size()));
    std::array<std::string, 6> textos;
    for (int k = 1; k <= 5; ++k) {
        ImporteEscrito i = LeeImporteEscrito(importes[k - 1]);
        if (!i.error.empty())
            throw ErrorUso("el premio de " + std::to_string(16 - k) + " aciertos (\"" + importes[k - 1] +
                           "\") " + i.error);
        textos[k] = std::move(i.texto);
    }
    return textos;
}

// The two tables under the scoring screen's headings, each figure under
// the end of its heading.
void EscribeTablas(std::ostream& os, const ResultadoEscrutinio& r) {
    os << "Aciertos     Columnas         Importe\n";
    for (size_t i = 0; i < r.LisAciertos.size(); ++i) {
        const std::string& fila = r.LisAciertos[i];
        const std::string importe(Recorta(ImporteDeFila(fila)));
        if (i == 0) {
            os << kTotalPremios << AlineaDerecha(importe, 37 - std::string(kTotalPremios).size()) << '\n';
            continue;
        }
        std::string linea = "  " + AlineaDerecha(std::to_string(AciertosDeFila(fila)), 2) +
                            AlineaDerecha(Recorta(TextoCuentaDeFila(fila)), 17);
        // At least one blank between count and amount, however wide the amount.
        if (!importe.empty()) linea += " " + AlineaDerecha(importe, 15);
        os << linea << '\n';
    }
    os << "\nBoleto nro.    15   14   13   12   11\n";
    for (const std::string& fila : r.LisBoletos) {
        const BoletoPremiado b = LeeFilaBoleto(fila);
        std::string linea = AlineaDerecha(std::to_string(b.boleto), 10) + "  ";
        for (int k = 1; k <= 5; ++k)
            linea += std::string(4, ' ') + (b.columnas[k] ? std::to_string(b.columnas[k]) : std::string(" "));
        os << RecortaDer(linea) << '\n';
    }
}

int Escrutar(Contexto& cx, std::vector<std::string>& args) {
    Estado& st = cx.st;
    const auto [jornada, orden] = OpcionesReduccion(st, args);
    auto ganadora = TomaOpcion(args, "--ganadora");
    if (!ganadora) throw ErrorUso("falta la opción --ganadora");
    const Rejilla rejilla = LeeGanadora(*ganadora);
    auto premios = TomaOpcion(args, "--premios");
    std::array<std::string, 6> textos;
    if (premios) textos = LeePremios(*premios);
    SinMasArgumentos(args);
    cx.CargaDatosGenerales();

    if (!EligeReduccion(cx, jornada, orden)) return kSalidaRechazo;

    EntradasEscrutinio entradas = EntradasDeRegistro(st.RegJornada);
    entradas.Ganadora = rejilla;
    if (premios)
        for (int k = 1; k <= 5; ++k) {
            entradas.TextoPremios[k] = textos[k];
            entradas.Premios[k] = ValorPremio(textos[k]);
        }

    ResultadoEscrutinio r = Escruta(st, entradas);
    if (r.fin == FinEscrutinio::Cambiada)
        return Rechaza(cx, "JORNADA BORRADA",
                       "La jornada " + std::to_string(jornada) +
                           " se ha borrado mientras se hacía el escrutinio; no se ha grabado nada.");
    if (r.fin == FinEscrutinio::Incompleta)
        return Rechaza(
            cx, kTituloGanadoraIncompleta,
            "La columna ganadora se ha guardado, pero tiene partidos sin resultado (-) y el escrutinio "
            "necesita los 15.");
    if (r.fin == FinEscrutinio::SinColumnas) {
        // Other errors than a missing file were reported already.
        if (r.errorColumnas == Err::NoEncontrado)
            cx.err << "No se encuentra el fichero de columnas " << AUtf8(FicheroRed(jornada, orden))
                   << " de la reducción.\n";
        return kSalidaRechazo;
    }
    EscribeTablas(cx.out, r);
    return r.errorRegistro ? kSalidaRechazo : kSalidaBien;
}

REGISTRA_COMANDO(
    "escrutar", "escrutinio de aciertos de una reducción guardada",
    "Uso: tobal31-cli [--datos CARPETA] escrutar --jornada J --orden O --ganadora COLUMNA\n"
    "                 [--premios \"P15 P14 P13 P12 P11\"]\n\n"
    "Guarda la columna ganadora y los premios en el registro de la jornada, como la pantalla\n"
    "de escrutinio, y escruta la reducción J/O. COLUMNA son 15 signos 1, X o 2 (x vale X; - para\n"
    "un partido sin resultado), juntos o separados por blancos.\n\n"
    "--premios da el premio por columna de 15, 14, 13, 12 y 11 aciertos: cinco importes\n"
    "separados por blancos o \";\". La coma nunca separa importes: es la coma decimal. Cada\n"
    "importe se escribe sin separador de miles y con punto decimal (1500000.50, 4.5) o como\n"
    "se escribe a mano, con puntos entre grupos de tres cifras y coma decimal (1.500.000,50;\n"
    "12,50); como mucho dos decimales. Un importe que se lee de las dos formas, como 1.500,\n"
    "se rechaza: escriba 1500 o 1,50. Sin --premios se usan los guardados en la jornada.\n\n"
    "Escribe la tabla de aciertos (la primera fila, el total de premios) y, tras una línea en\n"
    "blanco, una fila por boleto con alguna columna de 11 o más aciertos, cada una con su\n"
    "cabecera. Una columna ganadora incompleta se guarda igualmente y termina con el código 1.\n",
    Escrutar)

}  // namespace
}  // namespace tobal::cli
