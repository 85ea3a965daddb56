// tobal31-cli exportar: writes the bets file AD243 of a stored reduction.

#include <algorithm>
#include <ostream>

#include "app/ErrorFichero.h"
#include "cli/Comando.h"
#include "data/Jornadas.h"
#include "output/Disco.h"
#include "reduction/Almacen.h"

namespace tobal::cli {
namespace {

// Answers for the user: no one can change a disk, so "NO HAY DISCO" gives
// up; the messages go to stderr and the panel's result lines to stdout.
class DialogoConsola : public DialogoDisco {
public:
    explicit DialogoConsola(Contexto& cx) : cx_(cx) {}
    bool PideDisco(const std::string& titulo, const std::string& texto) override {
        Mensaje(titulo, texto);
        return false;
    }
    void Mensaje(const std::string& titulo, const std::string& texto) override {
        // A new volume needs no disk change here: it goes beside the first.
        if (titulo == kTituloDiscoCompleto) return;
        cx_.err << titulo << '\n' << texto << '\n';
    }
    void Panel(const std::string& texto) override {
        if (texto == kTextoCopiaCancelada)
            cx_.err << texto << '\n';
        else if (texto.rfind("Se está creando", 0) != 0)
            cx_.out << texto << '\n';
    }
    void Progreso(int, const std::string&) override {}

private:
    Contexto& cx_;
};

int Exportar(Contexto& cx, std::vector<std::string>& args) {
    Estado& st = cx.st;
    const auto [jornada, orden] = OpcionesReduccion(st, args);
    auto carpeta = TomaOpcion(args, "--destino");
    if (!carpeta) throw ErrorUso("falta la opción --destino");
    SinMasArgumentos(args);
    std::error_code ec;
    if (!std::filesystem::is_directory(*carpeta, ec))
        throw ErrorUso("la carpeta de destino \"" + *carpeta + "\" no existe");
    cx.CargaDatosGenerales();

    if (!EligeReduccion(cx, jornada, orden)) return kSalidaRechazo;

    DestinoDisco destino;
    destino.unidad = *carpeta;
    destino.carpeta = *carpeta;
    destino.volumenesAparte = true;
    DialogoConsola dialogo(cx);
    ResultadoCopia r = CopiaDisco(st, destino, dialogo);
    switch (r.fin) {
        case FinCopia::Copiado:
            for (size_t v = 1; v < r.ficheros.size(); ++v)
                cx.out << "Volumen " << v + 1 << ": " << r.ficheros[v].string() << '\n';
            return kSalidaBien;
        case FinCopia::SinColumnas:
            // Other errors than a missing file were reported already.
            if (r.error == Err::NoEncontrado)
                cx.err << "No se encuentra el fichero de columnas " << AUtf8(FicheroRed(jornada, orden))
                       << " de la reducción.\n";
            return kSalidaRechazo;
        default: return kSalidaRechazo;
    }
}

REGISTRA_COMANDO("exportar", "escribe el archivo de apuestas AD243 de una reducción",
                 "Uso: tobal31-cli [--datos CARPETA] exportar --jornada J --orden O --destino CARPETA\n\n"
                 "Escribe CARPETA/AD243 como la copia de boletos a disco: una cabecera por volumen y un\n"
                 "registro por boleto de ocho columnas, 123 caracteres y CR LF cada uno. Una reducción que\n"
                 "necesita más de un volumen (11.650 boletos cada uno) escribe el volumen n como\n"
                 "CARPETA/AD243.nn y lo dice en la salida. Usa la delegación y el receptor de los datos\n"
                 "generales y la fecha de la jornada.\n",
                 Exportar)

}  // namespace
}  // namespace tobal::cli
