// tobal31-cli imprimir: the printed outputs of a stored reduction (summary,
// official tickets on sheets or continuous forms, relation of tickets) and
// the report of its last scoring, on the default printer or into a PDF file.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>

#include "app/Archivo.h"
#include "app/ErrorFichero.h"
#include "app/Texto.h"
#include "cli/Comando.h"
#include "data/Jornadas.h"
#include "output/Boletos.h"
#include "output/Continuo.h"
#include "output/Impresora.h"
#include "output/InformeEscrutinio.h"
#include "output/Relacion.h"
#include "output/ResumenImpreso.h"
#include "reduction/Almacen.h"
#include "scoring/Escrutinio.h"

#ifdef TOBAL31_CON_QT
#include <QCoreApplication>
#include <QGuiApplication>

#include "platform/ImpresoraQt.h"
#endif

namespace tobal::cli {
namespace {

enum class Salida { Resumen, Boletos, Relacion, Continuo, Escrutinio };

Salida LeeSalida(const std::string& s) {
    if (s == "resumen") return Salida::Resumen;
    if (s == "boletos") return Salida::Boletos;
    if (s == "relacion") return Salida::Relacion;
    if (s == "continuo") return Salida::Continuo;
    if (s == "escrutinio") return Salida::Escrutinio;
    throw ErrorUso("salida desconocida \"" + s + "\" (resumen, boletos, relacion, continuo o escrutinio)");
}

struct Opciones {
    Salida salida;
    int jornada = 0;
    int orden = 0;
    std::optional<std::string> pdf, desde, hasta, copias, ancho;
    bool prueba = false;
};

Opciones LeeOpciones(Estado& st, std::vector<std::string>& args) {
    if (args.empty() || args.front().rfind("--", 0) == 0)
        throw ErrorUso("falta la salida: resumen, boletos, relacion, continuo o escrutinio");
    Opciones o;
    o.salida = LeeSalida(args.front());
    args.erase(args.begin());
    const auto [jornada, orden] = OpcionesReduccion(st, args);
    o.jornada = jornada;
    o.orden = orden;
    o.pdf = TomaOpcion(args, "--pdf");
    o.desde = TomaOpcion(args, "--desde");
    o.hasta = TomaOpcion(args, "--hasta");
    o.copias = TomaOpcion(args, "--copias");
    o.ancho = TomaOpcion(args, "--ancho");
    o.prueba = TomaBandera(args, "--prueba");
    SinMasArgumentos(args);
    const bool conBoletos =
        o.salida == Salida::Boletos || o.salida == Salida::Relacion || o.salida == Salida::Continuo;
    if ((o.desde || o.hasta) && !conBoletos)
        throw ErrorUso("--desde y --hasta solo valen para boletos, relacion y continuo");
    if (o.copias && o.salida != Salida::Resumen) throw ErrorUso("--copias solo vale para resumen");
    if (o.ancho && o.salida != Salida::Relacion) throw ErrorUso("--ancho solo vale para relacion");
    if (o.ancho && *o.ancho != "estrecho" && *o.ancho != "ancho")
        throw ErrorUso("--ancho debe ser estrecho o ancho (se ha dado \"" + *o.ancho + "\")");
    if (o.prueba && o.salida != Salida::Boletos && o.salida != Salida::Continuo)
        throw ErrorUso("--prueba solo vale para boletos y continuo");
    if (o.prueba && (o.desde || o.hasta)) throw ErrorUso("--prueba no imprime boletos de la reducción");
    return o;
}

// The ticket range as the print screen's fields take it.
void PonIntervalo(const Opciones& o, Listado& l) {
    int desde = o.desde ? Entero(*o.desde, 1, INT_MAX, "--desde") : 1;
    int hasta = o.hasta ? Entero(*o.hasta, 1, INT_MAX, "--hasta") : l.NumBoletos;
    if (!o.hasta && desde > l.NumBoletos)
        throw ErrorUso("la reducción solo tiene " + std::to_string(l.NumBoletos) + " boletos");
    if (hasta < desde) throw ErrorUso("--hasta no puede ser menor que --desde");
    if (desde > l.NumBoletos)
        throw ErrorUso("la reducción solo tiene " + std::to_string(l.NumBoletos) + " boletos");
    CierraBoletoInicial(l, std::to_string(desde));
    CierraBoletoFinal(l, std::to_string(hasta));
}

#ifdef TOBAL31_CON_QT
// A PDF file ends with its end-of-file mark; a write that failed half way
// (a full disk) leaves a file without it.
bool PdfCompleto(const std::filesystem::path& ruta) {
    std::string cola;
    int64_t tamano = 0;
    if (LeeEnPosicion(ruta, 0, 0, cola, &tamano) != 0 || tamano < 6) return false;
    const uint64_t desde = static_cast<uint64_t>(std::max<int64_t>(0, tamano - 64));
    return LeeEnPosicion(ruta, desde, 64, cola) == 0 && cola.find("%%EOF") != std::string::npos;
}
#endif

// The scoring report's figures: the last scoring stored for the matchday,
// counted again over the columns file. nullopt, the reason told, when there
// is none or the file cannot be read.
std::optional<DatosInforme> DatosDelEscrutinio(Contexto& cx, const Opciones& o) {
    Estado& st = cx.st;
    const EntradasEscrutinio e = EntradasDeRegistro(st.RegJornada);
    const std::string ganadora = ColumnaGanadora(e.Ganadora);
    if (ganadora.size() < kPartidos) {
        Rechaza(cx, "SIN ESCRUTINIO",
                "La jornada " + std::to_string(o.jornada) +
                    " no tiene guardada una columna ganadora completa. Haga antes el escrutinio con "
                    "la orden escrutar.");
        return std::nullopt;
    }
    std::string rechazo;
    const int error = CompruebaColumnasReduccion(st, o.jornada, o.orden, rechazo);
    if (!rechazo.empty()) {
        st.ErrorFichero = static_cast<int16_t>(error);
        st.informador->ErrorFichero(rechazo);
        return std::nullopt;
    }
    ResultadoEscrutinio r =
        EscrutaColumnas(st.DirDatos / FicheroRed(o.jornada, o.orden), ganadora, e.Premios);
    if (r.fin != FinEscrutinio::Completo) {
        const std::string nombre = FicheroRed(o.jornada, o.orden);
        if (r.columnaDanada)
            st.informador->ErrorFichero(TextoColumnasDanadas(nombre, r.columnaDanada));
        else if (r.errorColumnas == Err::NoEncontrado)
            cx.err << "No se encuentra el fichero de columnas " << nombre << " de la reducción.\n";
        else
            InformaErrorFichero(st, Op::Abre(nombre), r.errorColumnas);
        return std::nullopt;
    }
    return DatosInforme{o.jornada, o.orden,   st.Datos.FechaJornada, st.RegJornada,
                        ganadora,  e.Premios, r.LisAciertos,         r.LisBoletos};
}

// The chosen output on the printer or into the PDF file.
#ifdef TOBAL31_CON_QT
int ImprimeSalida(Contexto& cx, const Opciones& o, Listado& l, const DatosInforme& informe) {
    Estado& st = cx.st;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char nombre[] = "tobal31-cli";
    static char* argv[] = {nombre, nullptr};
    // Qt's own start-up notices (a missing runtime folder under a bare
    // session) are not the user's business here; its warnings about real
    // printing problems come back through the printer's errors.
    qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
        if (tipo == QtFatalMsg || tipo == QtCriticalMsg) std::fprintf(stderr, "%s\n", qPrintable(texto));
    });
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);

    // The PDF is written beside its file and put in place only when it is
    // complete: a refused or failed run leaves the user's file alone.
    FicheroProvisional pdf;
    auto noImprime = [&](int error) {
        cx.err << "Tobal31: no se puede imprimir en el fichero " << *o.pdf << ": " << MotivoError(error)
               << '\n';
        return kSalidaRechazo;
    };
    std::unique_ptr<ImpresoraQt> imp;
    struct Descriptor {
        int fd = -1;
        ~Descriptor() {
            if (fd >= 0) ::close(fd);
        }
    } descriptor;
    if (o.pdf) {
        if (int e = pdf.Crea(*o.pdf)) return noImprime(e);
        // File names are bytes, but Qt takes them as UTF-8 text: a name that
        // is not valid UTF-8 reaches the temporary file through a descriptor.
        const std::string bytes = pdf.Ruta().string();
        QString ruta = QString::fromStdString(bytes);
        if (ruta.toStdString() != bytes) {
            descriptor.fd = ::open(bytes.c_str(), O_WRONLY | O_CLOEXEC);
            if (descriptor.fd < 0) return noImprime(NumeroErrorErrno(errno));
            ruta = QStringLiteral("/proc/self/fd/%1").arg(descriptor.fd);
        }
        imp = ImpresoraQt::Pdf(ruta);
        // The PDF stands for the paper the printer would hold.
        if (o.salida == Salida::Relacion && l.AnchoPapel == 1) imp->PonPaginaPdf(350, 297);
    } else {
        imp = ImpresoraQt::Predeterminada();
        if (!imp)
            return Rechaza(cx, "SIN IMPRESORA", "El sistema no tiene ninguna impresora predeterminada.");
    }

    bool rechazado = false;
    ControlImpresion ctl;
    ctl.mensaje = [&](const std::string& titulo, const std::string& texto) {
        cx.err << titulo << '\n' << texto << '\n';
    };
    // A long run of tickets shows how far it has gone when someone watches.
    const bool barra =
        ::isatty(STDERR_FILENO) && o.salida != Salida::Resumen && o.salida != Salida::Escrutinio;
    int ultimo = -1;
    std::string linea;
    if (barra)
        ctl.progreso = [&](const std::string& texto) {
            const int total = std::max(1, l.BoletoFinal - l.BoletoInicial + 1);
            const int porcentaje = static_cast<int>(100LL * (l.BoletoActual - l.BoletoInicial + 1) / total);
            linea = texto + " ";
            if (porcentaje == ultimo) return;
            ultimo = porcentaje;
            BarraProgreso(cx.err, porcentaje, linea);
        };
    std::string hecho;
    switch (o.salida) {
        case Salida::Resumen:
            hecho = Cuenta(ImprimeResumenReduccion(st, *imp, l, ctl), "copia", "copias") + " del resumen";
            break;
        case Salida::Boletos:
            hecho = Cuenta(ImprimeBoletosHoja(st, *imp, l, o.prueba, ctl), "boleto", "boletos");
            break;
        case Salida::Relacion:
            hecho = Cuenta(ImprimeRelacion(st, *imp, l, ctl), "bloque", "bloques") + " de la relación";
            break;
        case Salida::Continuo: {
            const ResultadoContinuo r = ImpriContinuo(st, *imp, l, o.prueba, ctl);
            rechazado = r == ResultadoContinuo::SinPapelUsuario || r == ResultadoContinuo::SinAltura;
            hecho = "boletos en papel continuo";
            break;
        }
        case Salida::Escrutinio:
            ImprimeInformeEscrutinio(*imp, informe);
            hecho = "informe del escrutinio";
            break;
    }
    imp->Termina();
    if (barra && ultimo >= 0) {
        if (!imp->Fallo()) BarraProgreso(cx.err, 100, linea);
        cx.err << '\n';
    }
    if (rechazado) return kSalidaRechazo;
    if (imp->Fallo()) {
        cx.err << "Tobal31: no se puede imprimir "
               << (o.pdf ? "en el fichero " + *o.pdf : std::string("en la impresora predeterminada")) << '\n';
        return kSalidaRechazo;
    }
    if (imp->Trabajos() == 0) {
        // A columns file that could not be used was reported already.
        if (st.ErrorFichero == 0 || st.ErrorFichero == Err::NoEncontrado)
            cx.err << "Tobal31: no hay nada que imprimir (el fichero de columnas "
                   << FicheroRed(o.jornada, o.orden) << " no existe o no tiene esos boletos)\n";
        return kSalidaRechazo;
    }
    if (o.pdf) {
        if (!PdfCompleto(pdf.Ruta())) return noImprime(Err::DiscoLleno);
        if (int e = pdf.Instala()) return noImprime(e);
    }
    cx.out << "Impreso: " << hecho << (o.pdf ? " en " + *o.pdf : std::string(" en la impresora")) << '\n';
    return kSalidaBien;
}
#else
int ImprimeSalida(Contexto& cx, const Opciones&, Listado&, const DatosInforme&) {
    return Rechaza(cx, "SIN IMPRESIÓN",
                   "Esta versión de tobal31-cli se ha construido sin Qt y no puede imprimir.");
}
#endif

int Imprimir(Contexto& cx, std::vector<std::string>& args) {
    Estado& st = cx.st;
    const Opciones o = LeeOpciones(st, args);
    cx.CargaDatosGenerales();

    if (o.prueba) {
        st.Jornada() = static_cast<int16_t>(o.jornada);
        st.Orden() = static_cast<int16_t>(o.orden);
        if (!LeeJornadaElegida(cx)) return kSalidaRechazo;
    } else if (!EligeReduccion(cx, o.jornada, o.orden)) {
        return kSalidaRechazo;
    }
    Listado l = AbreListado(NumBoletos(st.ReduccionActual.ApuestasReducidas));
    if (!o.prueba) PonIntervalo(o, l);
    if (o.copias) l.Copias = static_cast<int16_t>(Entero(*o.copias, 1, 999, "--copias"));
    if (o.ancho) l.AnchoPapel = *o.ancho == "ancho" ? 1 : 0;

    DatosInforme informe;
    if (o.salida == Salida::Escrutinio) {
        auto datos = DatosDelEscrutinio(cx, o);
        if (!datos) return kSalidaRechazo;
        informe = std::move(*datos);
    }
    return ImprimeSalida(cx, o, l, informe);
}

REGISTRA_COMANDO(
    "imprimir", "imprime una salida de una reducción o el informe de su escrutinio",
    "Uso: tobal31-cli [--datos CARPETA] imprimir SALIDA --jornada J --orden O [--pdf FICHERO]\n"
    "         [--desde B1 --hasta B2] [--copias N] [--ancho estrecho|ancho] [--prueba]\n\n"
    "SALIDA es una de:\n"
    "  resumen     los datos básicos de la reducción y sus condiciones (--copias N, 1 a 999)\n"
    "  boletos     los boletos oficiales en hojas, uno por página, sin esperas\n"
    "              (Margen y Orientación de DATOSGEN.TBX; --prueba imprime el boleto de prueba)\n"
    "  relacion    la relación de boletos (--ancho: papel estrecho, Din A4, o ancho, 350 mm)\n"
    "  continuo    los boletos en papel continuo, dos por página de 158.5 mm (--prueba)\n"
    "  escrutinio  el informe del último escrutinio guardado de la jornada, con la columna\n"
    "              ganadora y los premios de JORNADAS.TBX\n\n"
    "--desde y --hasta eligen los boletos (por omisión, todos). Sin --pdf se imprime en la\n"
    "impresora predeterminada del sistema.\n\n"
    "Las posiciones impresas y los márgenes de los boletos (décimas de milímetro, en\n"
    "DATOSGEN.TBX) se cuentan desde la esquina superior izquierda del área que la impresora\n"
    "puede imprimir; en un PDF, desde la esquina del papel. Un PDF da el alto de página en\n"
    "puntos enteros: la página del continuo mide 449 puntos (158,4 mm de 158,5).\n",
    Imprimir)

}  // namespace
}  // namespace tobal::cli
