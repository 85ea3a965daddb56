// tobal31-cli escrutar: scores a stored reduction as the scoring screen does.

#include <algorithm>
#include <ostream>

#include "app/ErrorFichero.h"
#include "cli/Comando.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "scoring/Escrutinio.h"

namespace tobal::cli {
namespace {

Rejilla LeeGanadora(const std::string& texto) {
    if (texto.size() != static_cast<size_t>(kPartidos))
        throw ErrorUso("--ganadora necesita 15 signos (1, X, 2 o - para un partido sin resultado), se han dado " +
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

// The five prize texts, each as the prize field leaves it.
std::array<std::string, 6> LeePremios(const std::string& lista) {
    std::array<std::string, 6> textos;
    size_t inicio = 0;
    for (int k = 1; k <= 5; ++k) {
        size_t coma = lista.find(',', inicio);
        if ((k < 5) != (coma != std::string::npos))
            throw ErrorUso("--premios necesita cinco premios separados por comas (15, 14, 13, 12 y 11 aciertos)");
        std::string t = lista.substr(inicio, coma == std::string::npos ? std::string::npos : coma - inicio);
        if (!FiltraPremioCompleto(t))
            throw ErrorUso("el premio de " + std::to_string(16 - k) + " aciertos tiene más de " +
                           std::to_string(kLongPremio) + " cifras y puntos");
        textos[k] = NormalizaPremio(t);
        inicio = coma + 1;
    }
    return textos;
}

int Escrutar(Contexto& cx, std::vector<std::string>& args) {
    Estado& st = cx.st;
    const int maxJornada = std::clamp<int>(st.Datos.TotJornadas, 1, 52);
    const int jornada = OpcionEntera(args, "--jornada", 1, maxJornada);
    const int orden = OpcionEntera(args, "--orden", 1, 30);
    auto ganadora = TomaOpcion(args, "--ganadora");
    if (!ganadora) throw ErrorUso("falta la opción --ganadora");
    const Rejilla rejilla = LeeGanadora(*ganadora);
    auto premios = TomaOpcion(args, "--premios");
    std::array<std::string, 6> textos;
    if (premios) textos = LeePremios(*premios);
    SinMasArgumentos(args);
    cx.CargaDatosGenerales();

    if (!EligeReduccion(cx, jornada, orden, kTextoErrorJornadaOrden)) return kSalidaRechazo;

    EntradasEscrutinio entradas = EntradasDeRegistro(st.RegJornada);
    entradas.Ganadora = rejilla;
    if (premios)
        for (int k = 1; k <= 5; ++k) {
            entradas.TextoPremios[k] = textos[k];
            entradas.Premios[k] = ValorPremio(textos[k]);
        }

    ResultadoEscrutinio r = Escruta(st, entradas);
    if (r.fin == FinEscrutinio::Incompleta) return Rechaza(cx, kTituloGanadoraIncompleta, kTextoGanadoraIncompleta);
    if (r.fin == FinEscrutinio::SinColumnas) {
        // Other errors than a missing file were reported already.
        if (r.errorColumnas == Err::NoEncontrado)
            cx.err << "No se encuentra el fichero de columnas " << AUtf8(FicheroRed(jornada, orden))
                   << " de la reducción.\n";
        return kSalidaRechazo;
    }
    for (const std::string& fila : r.LisAciertos) cx.out << AUtf8(fila) << '\n';
    for (const std::string& fila : r.LisBoletos) cx.out << AUtf8(fila) << '\n';
    return r.errorRegistro ? kSalidaRechazo : kSalidaBien;
}

REGISTRA_COMANDO(
    "escrutar", "escrutinio de aciertos de una reducción guardada",
    "Uso: tobal31-cli [--datos CARPETA] escrutar --jornada J --orden O --ganadora COLUMNA\n"
    "                 [--premios P15,P14,P13,P12,P11]\n\n"
    "Guarda la columna ganadora y los premios en el registro de la jornada, como la pantalla\n"
    "de escrutinio, y escruta la reducción J/O. COLUMNA son 15 signos 1, X o 2 (x vale X; - para\n"
    "un partido sin resultado). Los premios por columna de 15, 14, 13, 12 y 11 aciertos pasan\n"
    "por el mismo filtro que los campos de premio (solo cifras y punto, como mucho 11); sin\n"
    "--premios se usan los guardados en la jornada.\n\n"
    "Escribe las 17 filas de la tabla de aciertos (la primera, el total de premios) y después\n"
    "una fila por boleto con alguna columna de 11 o más aciertos.\n"
    "Una columna ganadora incompleta se guarda igualmente y termina con el código 1.\n",
    Escrutar)

}  // namespace
}  // namespace tobal::cli
