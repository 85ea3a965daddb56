// The command-line tool's argument helpers.

#include <algorithm>

#include "app/Texto.h"
#include "cli/Comando.h"
#include "reduction/Condiciones.h"

namespace tobal::cli {

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

ClaveReduccionCli OpcionesReduccion(const Estado& st, std::vector<std::string>& args) {
    ClaveReduccionCli c;
    c.jornada = OpcionEntera(args, "--jornada", 1, std::clamp<int>(st.Datos.TotJornadas, 1, 52));
    c.orden = OpcionEntera(args, "--orden", 1, 30);
    return c;
}

Condiciones OpcionesCondiciones(std::vector<std::string>& args) {
    Condiciones cs;
    while (const auto texto = TomaOpcion(args, "--condicion")) {
        Condicion c;
        if (const auto fallo = LeeCondicion(*texto, c))
            throw ErrorUso("--condicion \"" + Visible(*texto) + "\": " + *fallo);
        cs.lista.push_back(c);
    }
    if (const auto fallos = TomaOpcion(args, "--fallos")) {
        if (cs.lista.empty()) throw ErrorUso("--fallos necesita al menos una --condicion");
        cs.fallos = Entero(*fallos, 0, static_cast<int>(cs.lista.size()), "--fallos");
    }
    return cs;
}

void SinMasArgumentos(const std::vector<std::string>& args) {
    if (!args.empty()) throw ErrorUso("argumento no esperado: " + args.front());
}

std::string NombreCp1252(const std::string& utf8) {
    bool perdida = false;
    std::string nombre = Utf8ACp1252(utf8, &perdida);
    if (perdida)
        throw ErrorUso("el nombre \"" + Visible(utf8) + "\" tiene caracteres que no caben en el fichero");
    return std::string(Recorta(nombre));
}

std::string Visible(std::string_view texto) {
    std::string v;
    for (const char c : texto) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\n') {
            v += "\\n";
        } else if (b == '\r') {
            v += "\\r";
        } else if (b == '\t') {
            v += "\\t";
        } else if (b < 0x20 || b == 0x7F) {
            const char* hex = "0123456789abcdef";
            v += std::string("\\x") + hex[b >> 4] + hex[b & 15];
        } else {
            v += c;
        }
    }
    return v;
}

std::string Cuenta(long long n, const std::string& singular, const std::string& plural) {
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

}  // namespace tobal::cli
