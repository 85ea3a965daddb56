#include "output/ResumenImpreso.h"

#include "app/Estado.h"
#include "app/Formato.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "output/Impresora.h"
#include "reduction/Condiciones.h"
#include "reduction/Resumen.h"
#include "reduction/Tablas.h"

namespace tobal {

namespace {

std::string Dos(int n) { return AlineaDerecha(std::to_string(n), 2); }

}  // namespace

std::vector<std::string> LineasPartidosResumen(const Estado& st) {
    const Reduccion& r = st.ReduccionActual;
    std::vector<std::string> v;
    std::string cab1 = std::string(36, ' ') + "Quiniela  Partidos ";
    std::string cab2 = std::string(36, ' ') + "  base    reducidos ";
    if (r.Metodo == 2) {
        cab1 += "   Columna";
        cab2 += "  probable";
    }
    v.push_back(cab1);
    v.push_back(cab2);
    v.push_back("");
    for (int k = 1; k <= 15; ++k) {
        const Partido& p = r.Partidos[k];
        std::string a(35, '.');
        std::string texto = (k < 10 ? " " : "") + std::to_string(k) + ". ";
        const std::string local = NombreEquipo(st.RegJornada, 2 * k - 1);
        const std::string visitante = NombreEquipo(st.RegJornada, 2 * k);
        texto += local;
        if (!local.empty() && !visitante.empty()) texto += "-" + visitante;
        a.replace(0, std::min(texto.size(), a.size()), texto.substr(0, a.size()));
        std::string b(27, ' ');
        const char signos[] = {' ', '1', 'X', '2'};
        for (int s = 1; s <= 3; ++s)
            if (p.Signo[s]) b[2 * (s - 1)] = signos[s];
        if (p.NumSignos > 1) b.replace(12, 3, p.AReducir == 1 ? "[X]" : "[ ]");
        if (r.Metodo == 2 && p.AReducir == 1 && p.SignoBase >= 1 && p.SignoBase <= 3)
            b[22 + 2 * (p.SignoBase - 1)] = signos[p.SignoBase];
        v.push_back(a + "  " + b);
        v.push_back("");
    }
    return v;
}

std::vector<std::string> LineasCifrasResumen(const Estado& st) {
    const Reduccion& r = st.ReduccionActual;
    const double directas = r.ApuestasDirectas;
    const double reducidas = r.ApuestasReducidas;
    const std::string sangria(10, ' ');
    std::vector<std::string> v;
    auto linea = [&](const std::string& t) {
        v.push_back(t.empty() ? t : sangria + t);
        v.push_back("");
    };
    // A figure that would divide by zero leaves its line empty, as the
    // statistics box on screen does.
    linea(std::string(Recorta(NombreMetodoLargo(r.Metodo))));
    linea(Formatea(directas, "#,###,###") + " apuestas reducidas a " + Formatea(reducidas, "#,###,###"));
    linea(reducidas != 0
              ? Utf8ACp1252("Factor de reducción......: ") + Formatea(directas / reducidas, "##0.00")
              : "");
    if (r.Metodo == 2)
        linea("Errores permitidos.......: De " + Formatea(r.MinErrores, "#0") + " a " +
              Formatea(r.MaxErrores, "#0"));
    if (r.Metodo == 4) linea("Errores garantizados.....: " + Formatea(r.MaxErrores, "#0"));
    if (r.Metodo == 3)
        linea("Signos 1..: " + Formatea(r.Signos[1], "#0") + "     Signos X..: " +
              Formatea(r.Signos[2], "#0") + "     Signos 2..: " + Formatea(r.Signos[3], "#0"));
    linea("Importe reducidas........: " +
          Formatea(ImporteApuestas(reducidas, st.Datos.Precio), "#,###,##0.00") + Utf8ACp1252(" €"));
    const std::string etiqueta =
        r.Metodo == 1 ? "Probabilidad 14 aciertos.: " : "Posibilidades cubiertas..: ";
    linea(directas != 0 ? etiqueta + Formatea(reducidas * 100 / directas, "##0.00") + " %" : "");
    if (r.Metodo == 1)
        linea(directas != 0 ? "Probabilidad 13 aciertos.: " +
                                  Formatea((directas - reducidas) * 100 / directas, "##0.00") + " %"
                            : "");
    return v;
}

std::vector<std::string> LineasCondicionesResumen(const Estado& st) {
    const Condiciones& cs = st.CondicionesActuales;
    std::vector<std::string> v;
    if (cs.lista.empty()) return v;
    const std::string sangria(10, ' ');
    for (size_t k = 0; k < cs.lista.size(); ++k)
        v.push_back(sangria + (k == 0 ? "Condiciones..............: " : std::string(27, ' ')) +
                    TextoCondicion(cs.lista[k]));
    v.push_back("");
    v.push_back(sangria + "Fallos permitidos........: " + std::to_string(cs.fallos));
    v.push_back("");
    return v;
}

int ImprimeResumenReduccion(Estado& st, Impresora& imp, const Listado& l, const ControlImpresion& ctl) {
    imp.FontName("Courier New");
    imp.FontSize(9.75);
    const int copias = l.Copias < 1 ? 1 : l.Copias;
    const auto partidos = LineasPartidosResumen(st);
    const auto cifras = LineasCifrasResumen(st);
    const auto condiciones = LineasCondicionesResumen(st);
    int hechas = 0;
    for (int copia = 1; copia <= copias; ++copia) {
        ctl.Progreso("Imprimiendo la copia nro. " + Formatea(copia, "###") + " de " +
                     Formatea(copias, "###"));
        imp.FontBold(true);
        for (int i = 0; i < 3; ++i) imp.Print();
        imp.Print("     JORNADA NRO. " + Dos(st.Jornada()) + " DE FECHA " + st.Datos.FechaJornada +
                  " (Orden " + Dos(st.Orden()) + ")");
        imp.Print();
        imp.Print();
        imp.FontBold(false);
        for (const auto& t : partidos) imp.Print(t);
        for (int i = 0; i < 4; ++i) imp.Print();
        for (const auto& t : cifras) imp.Print(t);
        // Many conditions go on to the next page rather than off the sheet
        // (half an inch kept for the edges the printer cannot print on).
        for (const auto& t : condiciones) {
            if (imp.CurrentY + imp.TextHeight() > imp.Height() - kTwipsPorPulgada / 2) imp.NewPage();
            imp.Print(t);
        }
        imp.NewPage();
        ++hechas;
        if (ctl.Cancelado()) break;
    }
    imp.EndDoc();
    return hechas;
}

}  // namespace tobal
