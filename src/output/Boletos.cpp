#include "output/Boletos.h"

#include "app/Archivo.h"
#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "app/Formato.h"
#include "app/Informador.h"
#include "app/Texto.h"
#include "output/Impresora.h"
#include "reduction/Almacen.h"

namespace tobal {

int Marcas::Cuenta() const {
    int n = 0;
    for (const auto& c : v_)
        for (const auto& m : c)
            for (int16_t s : m) n += s != 0;
    return n;
}

void MarcaPrueba(Marcas& marcas) {
    marcas.Limpia();
    for (int c = 1; c <= 8; ++c)
        for (int m = 1; m <= 14; ++m)
            for (int s = 1; s <= 3; ++s) marcas(c, m, s) = 1;
    marcas(4, 15, 3) = 1;
    marcas(5, 15, 2) = 1;
    marcas(6, 15, 1) = 1;
}

void MarcaColumna(Marcas& marcas, int slot, std::string_view columna) {
    const std::string col = Ajusta(columna, 15);
    for (int m = 1; m <= 14; ++m) {
        switch (col[m - 1]) {
            case '1': marcas(slot, m, 1) = 1; break;
            case 'X': marcas(slot, m, 2) = 1; break;
            case '2': marcas(slot, m, 3) = 1; break;
            default: break;
        }
    }
    // The ticket has one set of boxes for match 15, printed in row 15 of
    // slots 4 to 6; only the first column fills it.
    if (slot != 1) return;
    switch (col[14]) {
        case '1': marcas(4, 15, 3) = 1; break;
        case 'X': marcas(5, 15, 2) = 1; break;
        case '2': marcas(6, 15, 1) = 1; break;
        default: break;
    }
}

bool FicheroColumnas::Abre(Estado& st) {
    st.ErrorFichero = 0;
    st.NomFichero = FicheroRed(st.Jornada(), st.Orden());
    ruta_ = st.DirDatos / st.NomFichero;
    hay_ = false;
    std::string rechazo;
    if (int error = CompruebaColumnasReduccion(st, st.Jornada(), st.Orden(), rechazo); !rechazo.empty()) {
        st.ErrorFichero = static_cast<int16_t>(error);
        if (st.informador) st.informador->ErrorFichero(rechazo);
        return false;
    } else if (error) {
        InformaErrorFichero(st, Op::Abre(st.NomFichero), error);
        return false;
    }
    Posiciona(1);
    return true;
}

void FicheroColumnas::Posiciona(int64_t n) {
    hay_ = false;
    if (lector_.Abre(ruta_, n) == 0) Avanza();
}

void FicheroColumnas::Avanza() {
    std::string_view col;
    hay_ = lector_.Siguiente(col);
    if (hay_) siguiente_ = col;
}

std::string FicheroColumnas::Lee() {
    if (!hay_) return std::string(15, ' ');
    std::string col = siguiente_;
    Avanza();
    return col;
}

void LlenaMarcas(Marcas& marcas, FicheroColumnas& fichero, int32_t columnaActual, int32_t ultimaColumna) {
    marcas.Limpia();
    for (int c = 1; c <= 8; ++c) {
        std::string col(15, ' ');
        if (!fichero.Fin() && columnaActual + c - 1 <= ultimaColumna) col = fichero.Lee();
        MarcaColumna(marcas, c, col);
    }
}

void DibujaCruz(Impresora& imp, double x, double y, double ancho, double alto) {
    imp.CurrentX = x;
    imp.CurrentY = y;
    imp.Line(ancho, alto);
    imp.CurrentX = x;
    imp.CurrentY = y + alto;
    imp.Line(ancho, -alto);
}

std::string NumeroBoleto(int32_t boleto) { return Formatea(boleto, "###,###"); }

namespace {

// Position of box s of slot c counted from slot 8, box "2".
int Casilla(int c, int s) { return (8 - c) * 3 + (3 - s); }

}  // namespace

void ImprimeBoletoVertical(Impresora& imp, const Marcas& marcas, int32_t boleto, double ax, double ay) {
    for (int m = 15; m >= 1; --m) {
        const double y = Twips(ay + 10 + (15 - m) * 284);
        for (int c = 8; c >= 1; --c)
            for (int s = 3; s >= 1; --s)
                if (marcas(c, m, s) == 1) DibujaCruz(imp, Twips(ax + 940 + Casilla(c, s) * 212), y, 70, 130);
        if (m == 15) {
            imp.FontSize(9);
            imp.CurrentX = Twips(ax + 6500);
            imp.CurrentY = y;
            imp.Print(NumeroBoleto(boleto));
        }
    }
}

void ImprimeBoletoApaisado(Impresora& imp, const Marcas& marcas, int32_t boleto, double ax, double ay) {
    imp.FontSize(9);
    imp.CurrentX = Twips(ax);
    imp.CurrentY = Twips(ay);
    imp.Print(NumeroBoleto(boleto));
    for (int c = 8; c >= 1; --c)
        for (int s = 3; s >= 1; --s) {
            const double y = Twips(ay + 1090 + Casilla(c, s) * 213);
            for (int m = 1; m <= 15; ++m)
                if (marcas(c, m, s) == 1) DibujaCruz(imp, Twips(ax + 1050 + (m - 1) * 284), y, 130, 70);
        }
}

namespace {

void ImprimeBoletoHoja(const Estado& st, Impresora& imp, const Marcas& marcas, int32_t boleto) {
    const double ax = AjusteTwips(st.Datos.AjusteXHoja);
    const double ay = AjusteTwips(st.Datos.AjusteYHoja);
    imp.DrawWidth(2);
    imp.FontSize(9);
    if (st.Datos.Orientacion == 2)
        ImprimeBoletoApaisado(imp, marcas, boleto, ax, ay);
    else
        ImprimeBoletoVertical(imp, marcas, boleto, ax, ay);
    imp.EndDoc();
}

}  // namespace

bool CorridaHoja::Abre() {
    if (!fichero_.Abre(st_)) return false;
    l_.ColumnaActual = l_.BoletoInicial * 8 - 7;
    l_.UltimaColumna = l_.BoletoFinal * 8;
    fichero_.Posiciona(l_.ColumnaActual);
    return true;
}

bool CorridaHoja::QuedaBoleto() { return !fichero_.Fin() && l_.ColumnaActual <= l_.UltimaColumna; }

void CorridaHoja::Lee() {
    l_.BoletoActual = (l_.ColumnaActual + 7) / 8;
    LlenaMarcas(marcas_, fichero_, l_.ColumnaActual, l_.UltimaColumna);
}

void CorridaHoja::Imprime(Impresora& imp) const { ImprimeBoletoHoja(st_, imp, marcas_, l_.BoletoActual); }

void ImprimePruebaHoja(const Estado& st, Impresora& imp, Listado& l) {
    Marcas marcas;
    MarcaPrueba(marcas);
    l.BoletoActual = 999999;
    ImprimeBoletoHoja(st, imp, marcas, l.BoletoActual);
    imp.DrawWidth(1);
}

int ImprimeBoletosHoja(Estado& st, Impresora& imp, Listado& l, bool prueba, const ControlImpresion& ctl) {
    if (prueba) {
        ImprimePruebaHoja(st, imp, l);
        return 1;
    }
    int impresos = 0;
    imp.DrawWidth(2);
    imp.FontSize(9);
    CorridaHoja corrida(st, l);
    if (corrida.Abre()) {
        if (st.ReduccionActual.ApuestasReducidas % 8 == 1)
            ctl.Mensaje(kTituloUltimoIncompleto, kTextoUltimoIncompleto);
        while (corrida.QuedaBoleto()) {
            corrida.Lee();
            ctl.Progreso("Imprimiendo el boleto nro. " + Formatea(l.BoletoActual, "#######"));
            corrida.Imprime(imp);
            ++impresos;
            if (ctl.Cancelado()) break;
            corrida.Avanza();
        }
    }
    imp.DrawWidth(1);
    return impresos;
}

}  // namespace tobal
