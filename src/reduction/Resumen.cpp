#include "reduction/Resumen.h"

#include "app/Texto.h"

namespace tobal {

double ImporteApuestas(double apuestas, float precio) { return apuestas * ValDecimal(DecimalCorto(precio)); }

std::vector<LineaResumen> LineasResumen(const Reduccion& r, float precio) {
    return LineasResumen(r, precio, SeparadoresLocales());
}

std::vector<LineaResumen> LineasResumen(const Reduccion& r, float precio, Separadores sep) {
    std::vector<LineaResumen> lineas;
    if (r.ApuestasDirectas == 1) return lineas;
    const double directas = r.ApuestasDirectas;
    const double reducidas = r.ApuestasReducidas;
    auto cociente = [&](double a, double b, const char* patron, const char* unidad) {
        return b == 0 ? std::string() : Formatea(a / b, patron, sep) + unidad;
    };

    lineas.push_back({Formatea(directas, "#,###,###", sep) + " apuestas reducidas a " +
                          Formatea(reducidas, "#,###,###", sep),
                      ""});
    lineas.push_back({"Factor de  reducción.....:", cociente(directas, reducidas, "######0.00", "")});
    if (r.Metodo == 2)
        lineas.push_back({"Errores permitidos.........:",
                          "De " + std::to_string(r.MinErrores) + " a " + std::to_string(r.MaxErrores)});
    if (r.Metodo == 4) lineas.push_back({"Errores garantizados.......:", std::to_string(r.MaxErrores)});
    if (r.Metodo == 3)
        lineas.push_back({"Signos 1..: " + std::to_string(r.Signos[1]) + "     Signos X..: " +
                              std::to_string(r.Signos[2]) + "     Signos 2..: " + std::to_string(r.Signos[3]),
                          ""});
    lineas.push_back({"Importe reducidas.........:",
                      Formatea(ImporteApuestas(reducidas, precio), "#,###,##0.00", sep) + " €"});
    lineas.push_back({r.Metodo == 1 ? "Probabilidad 14 aciertos:" : "Posibilidades cubiertas.:",
                      cociente(reducidas * 100, directas, "##0.00", " %")});
    if (r.Metodo == 1)
        lineas.push_back(
            {"Probabilidad 13 aciertos:", cociente((directas - reducidas) * 100, directas, "##0.00", " %")});
    return lineas;
}

}  // namespace tobal
