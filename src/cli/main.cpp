// tobal31-cli: the headless companion of the desktop program.

#include <algorithm>
#include <charconv>
#include <clocale>
#include <iostream>

#include "app/DirDatos.h"
#include "app/Texto.h"
#include "cli/Comando.h"
#include "data/DatosGen.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"

namespace tobal::cli {

std::vector<Comando>& Comandos() {
    static std::vector<Comando> comandos;
    return comandos;
}

void InformadorConsola::ErrorFichero(const std::string& texto) {
    std::string t = texto;
    for (size_t p; (p = t.find("\r\n")) != std::string::npos;) t.replace(p, 2, "\n");
    std::cerr << "Tobal31: " << t << '\n';
}

std::optional<std::string> TomaOpcion(std::vector<std::string>& args, const std::string& nombre) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == nombre) {
            if (i + 1 >= args.size()) throw ErrorUso("falta el valor de " + nombre);
            std::string v = args[i + 1];
            args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
            return v;
        }
        if (args[i].rfind(nombre + "=", 0) == 0) {
            std::string v = args[i].substr(nombre.size() + 1);
            args.erase(args.begin() + static_cast<long>(i));
            return v;
        }
    }
    return std::nullopt;
}

std::vector<std::vector<std::string>> TomaOpcionMultiple(std::vector<std::string>& args,
                                                         const std::string& nombre, int n) {
    std::vector<std::vector<std::string>> r;
    for (size_t i = 0; i < args.size();) {
        if (args[i] != nombre) {
            ++i;
            continue;
        }
        if (i + static_cast<size_t>(n) >= args.size())
            throw ErrorUso(nombre + " necesita " + std::to_string(n) + " valores");
        std::vector<std::string> valores(args.begin() + static_cast<long>(i) + 1,
                                         args.begin() + static_cast<long>(i) + 1 + n);
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 1 + n);
        r.push_back(std::move(valores));
    }
    return r;
}

bool TomaBandera(std::vector<std::string>& args, const std::string& nombre) {
    auto it = std::find(args.begin(), args.end(), nombre);
    if (it == args.end()) return false;
    args.erase(it);
    return true;
}

int Entero(const std::string& texto, int min, int max, const std::string& que) {
    auto v = EnteroEstricto(texto);
    if (!v || *v < min || *v > max)
        throw ErrorUso(que + " debe ser un número entre " + std::to_string(min) + " y " +
                       std::to_string(max) + " (se ha dado \"" + texto + "\")");
    return static_cast<int>(*v);
}

int OpcionEntera(std::vector<std::string>& args, const std::string& nombre, int min, int max) {
    auto v = TomaOpcion(args, nombre);
    if (!v) throw ErrorUso("falta la opción " + nombre);
    return Entero(*v, min, max, nombre);
}

void SinMasArgumentos(const std::vector<std::string>& args) {
    if (!args.empty()) throw ErrorUso("argumento no esperado: " + args.front());
}

int Rechaza(Contexto& cx, const std::string& titulo, const std::string& texto) {
    cx.err << titulo << '\n' << texto << '\n';
    return kSalidaRechazo;
}

std::string AUtf8(const std::string& cp1252) { return Cp1252AUtf8(cp1252); }

bool EligeReduccion(Contexto& cx, int jornada, int orden, const std::string& texto) {
    Estado& st = cx.st;
    st.Jornada() = static_cast<int16_t>(jornada);
    st.Orden() = static_cast<int16_t>(orden);
    LeeJornada(st);
    // Without BASES.TBX there is nothing to choose; the lookup would only
    // say the file is missing.
    std::error_code ec;
    const bool existe = std::filesystem::exists(st.DirDatos / kFicheroBases, ec) &&
                        ExisteReduccion(st, jornada, orden) && st.ErrorFichero == 0;
    if (existe) CargaReduccion(st);
    if (existe && st.ErrorFichero == 0) return true;
    Rechaza(cx, "ERROR EN JORNADA/ORDEN", texto);
    return false;
}

void Contexto::CargaDatosGenerales() { LeeDatosGen(st); }

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
    {
        InformadorMudo mudo;
        st.informador = &mudo;
        LeeDatosGen(st, false);
        st.informador = &informador;
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
