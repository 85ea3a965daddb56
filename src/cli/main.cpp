// tobal31-cli: the headless companion of the desktop program.

#include <algorithm>
#include <clocale>
#include <iostream>

#include "app/DirDatos.h"
#include "app/Texto.h"
#include "cli/Comando.h"
#include "data/DatosGen.h"
#include "reduction/Almacen.h"

namespace tobal::cli {

std::vector<Comando>& Comandos() {
    static std::vector<Comando> comandos;
    return comandos;
}

namespace {

void AyudaGeneral(std::ostream& os) {
    os << "Uso: tobal31-cli [--datos CARPETA] ORDEN [opciones]\n"
          "\n"
          "Compañero de línea de órdenes de Tobal31: trabaja sobre la misma carpeta de datos\n"
          "que el programa (DATOSGEN.TBX, JORNADAS.TBX, EQUIPOS.TBX, BASES.TBX, RED*.TBX).\n"
          "\n"
          "Opciones generales:\n"
          "  --datos CARPETA   carpeta de datos; sin ella, la que elegiría el programa al empezar\n"
          "  --help            esta ayuda; ORDEN --help da la ayuda de cada orden\n"
          "\n"
          "Las jornadas van de 1 al número de jornadas de los datos generales (TotJornadas),\n"
          "salvo en borrar, que admite de 1 a 52; los números de orden, de 1 a 30.\n"
          "Salida: 0 hecho, 1 rechazado (el motivo en la salida de errores), 2 error de uso.\n"
          "\n"
          "Órdenes:\n";
    std::vector<const Comando*> lista;
    for (const Comando& c : Comandos()) lista.push_back(&c);
    std::sort(lista.begin(), lista.end(), [](auto* a, auto* b) { return a->nombre < b->nombre; });
    for (const Comando* c : lista) {
        std::string n = c->nombre;
        n.resize(std::max<size_t>(n.size() + 2, 14), ' ');
        os << "  " << n << c->resumen << '\n';
    }
}

}  // namespace

int Main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<std::string> datos;
    try {
        datos = TomaOpcion(args, "--datos");
    } catch (const ErrorUso& e) {
        std::cerr << "tobal31-cli: " << e.what() << '\n';
        return kSalidaUso;
    }
    if (args.empty()) {
        std::cerr << "tobal31-cli: falta la orden (tobal31-cli --help da la lista)\n";
        return kSalidaUso;
    }
    if (args.front() == "--help" || args.front() == "-h" || args.front() == "ayuda") {
        AyudaGeneral(std::cout);
        return kSalidaBien;
    }
    const std::string nombre = args.front();
    args.erase(args.begin());
    auto it = std::find_if(Comandos().begin(), Comandos().end(),
                           [&](const Comando& c) { return c.nombre == nombre; });
    if (it == Comandos().end()) {
        std::cerr << "tobal31-cli: orden desconocida \"" << nombre << "\" (tobal31-cli --help da la lista)\n";
        return kSalidaUso;
    }
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::cout << it->ayuda;
        if (!it->ayuda.empty() && it->ayuda.back() != '\n') std::cout << '\n';
        return kSalidaBien;
    }

    InformadorConsola informador;
    Estado st;
    st.informador = &informador;
    st.DirPrograma = DirEjecutable();
    if (datos) {
        std::error_code ec;
        if (!std::filesystem::is_directory(*datos, ec)) {
            std::cerr << "tobal31-cli: la carpeta de datos \"" << *datos << "\" no existe\n";
            return kSalidaUso;
        }
        st.DirDatos = *datos;
    } else {
        PreparaDirDatos(st);
    }
    LimpiaTemporales(st);
    {
        Silencio silencio(st.informador);
        LeeDatosGen(st, false);
        st.ErrorFichero = 0;
    }

    Contexto cx{st, std::cout, std::cerr};
    try {
        return it->ejecuta(cx, args);
    } catch (const ErrorUso& e) {
        std::cerr << "tobal31-cli " << nombre << ": " << e.what() << '\n';
        return kSalidaUso;
    }
}

}  // namespace tobal::cli

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    return tobal::cli::Main(argc, argv);
}
