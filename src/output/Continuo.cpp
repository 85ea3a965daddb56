#include "output/Continuo.h"

#include <cmath>
#include <string>

#include "app/Estado.h"
#include "output/Boletos.h"
#include "output/Impresora.h"

namespace tobal {

namespace {

struct Rect {
    int x, y, ancho, alto;
};

// The solid marks the form reader looks for, relative to the ticket.
constexpr Rect kRectangulos[] = {
    {5120, 65, 170, 145},  {5120, 8593, 170, 145}, {964, 8748, 227, 57},
    {1651, 8748, 227, 57}, {1994, 8748, 227, 57},  {2337, 8748, 227, 57},
    {2680, 8748, 227, 57}, {3706, 8748, 227, 57},  {4048, 8748, 227, 57},
};

}  // namespace

void ImprimeBoletoContinuo(Impresora& imp, const Marcas& marcas, int32_t boleto, double ax, double ay,
                           int posicion) {
    const double ox = posicion == 1 ? kDesplazamientoDerecho : 0;
    imp.CurrentX = Twips(ax + ox);
    imp.CurrentY = Twips(ay);
    imp.Print(NumeroBoleto(boleto));
    for (int c = 8; c >= 1; --c)
        for (int s = 3; s >= 1; --s) {
            const double y = Twips(ay + 1270 + ((8 - c) * 3 + (3 - s)) * 213);
            for (int m = 1; m <= 15; ++m)
                if (marcas(c, m, s) == 1) DibujaCruz(imp, Twips(ax + ox + 1050 + (m - 1) * 284), y, 130, 70);
        }
    for (const Rect& r : kRectangulos)
        imp.RectanguloLleno(Twips(ax + ox + r.x), Twips(ay + r.y), r.ancho, r.alto);
}

int AltoPaginaContinuo(int altoA4) { return static_cast<int>(std::nearbyint(altoA4 * 158.5 / 297.0)); }

ResultadoContinuo ImpriContinuo(Estado& st, Impresora& imp, Listado& l, bool prueba,
                                const ControlImpresion& ctl) {
    if (imp.PaperSize(kPapelUsuario) != 0) {
        ctl.Mensaje(kTituloTamanoBoletos, kTextoSinPapelUsuario);
        return ResultadoContinuo::SinPapelUsuario;
    }
    if (imp.PaperSize(kPapelA4) != 0) {
        ctl.Mensaje(kTituloTamanoBoletos, kTextoSinPapelUsuario);
        return ResultadoContinuo::SinPapelUsuario;
    }
    const int alto = imp.Height();
    // A refused height is the same failure as an ignored one.
    if (imp.Height(AltoPaginaContinuo(alto)) != 0 || imp.Height() == alto) {
        ctl.Mensaje(kTituloTamanoBoletos, kTextoSinAltura);
        return ResultadoContinuo::SinAltura;
    }
    const double ax = AjusteTwips(st.Datos.AjusteXContinuo);
    const double ay = AjusteTwips(st.Datos.AjusteYContinuo);
    imp.DrawWidth(2);
    imp.FontSize(9);
    Marcas marcas;
    if (prueba) {
        MarcaPrueba(marcas);
        l.BoletoActual = 999999;
        ImprimeBoletoContinuo(imp, marcas, l.BoletoActual, ax, ay, 0);
        ImprimeBoletoContinuo(imp, marcas, l.BoletoActual, ax, ay, 1);
        imp.EndDoc();
        imp.DrawWidth(1);
        return ResultadoContinuo::Impreso;
    }
    FicheroColumnas fichero;
    if (!fichero.Abre(st)) {
        imp.DrawWidth(1);
        return ResultadoContinuo::SinFichero;
    }
    l.ColumnaActual = l.BoletoInicial * 8 - 7;
    l.UltimaColumna = l.BoletoFinal * 8;
    fichero.Posiciona(l.ColumnaActual);
    if (st.ReduccionActual.ApuestasReducidas % 8 == 1)
        ctl.Mensaje(kTituloUltimoIncompleto, kTextoUltimoIncompleto);
    int posicion = 0;
    bool cancelado = false;
    while (!fichero.Fin() && l.ColumnaActual <= l.UltimaColumna) {
        l.BoletoActual = (l.ColumnaActual + 7) / 8;
        ctl.Progreso("Imprimiendo el boleto nro. " + std::to_string(l.BoletoActual));
        LlenaMarcas(marcas, fichero, l.ColumnaActual, l.UltimaColumna);
        imp.DrawWidth(2);
        imp.FontSize(9);
        ImprimeBoletoContinuo(imp, marcas, l.BoletoActual, ax, ay, posicion);
        if (++posicion == 2) {
            imp.NewPage();
            posicion = 0;
        }
        if (ctl.Cancelado()) {
            cancelado = true;
            break;
        }
        l.ColumnaActual += 8;
    }
    imp.EndDoc();
    imp.DrawWidth(1);
    return cancelado ? ResultadoContinuo::Cancelado : ResultadoContinuo::Impreso;
}

}  // namespace tobal
