#include "data/Equipos.h"

#include "app/Archivo.h"
#include "app/Cerrojo.h"
#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "app/Texto.h"

namespace tobal {

namespace {
constexpr const char* kFichero = "EQUIPOS.TBX";
}

std::vector<std::string> ItemsEquipos(std::string_view contenido) {
    std::vector<std::string> items;
    size_t i = 0;
    const size_t n = contenido.size();
    while (i < n) {
        // Leading blanks, and blank lines, are skipped.
        while (i < n && (contenido[i] == ' ' || contenido[i] == '\t')) ++i;
        if (i < n && (contenido[i] == '\r' || contenido[i] == '\n')) {
            ++i;
            continue;
        }
        if (i >= n) break;
        std::string item;
        if (contenido[i] == '"') {
            size_t cierre = contenido.find('"', i + 1);
            if (cierre == std::string_view::npos) cierre = n;
            item = std::string(contenido.substr(i + 1, cierre - i - 1));
            i = cierre + 1;
            // Up to the separator that ends the item.
            while (i < n && contenido[i] != ',' && contenido[i] != '\r' && contenido[i] != '\n') ++i;
        } else {
            size_t fin = i;
            while (fin < n && contenido[fin] != ',' && contenido[fin] != '\r' && contenido[fin] != '\n')
                ++fin;
            item = std::string(RecortaDer(contenido.substr(i, fin - i)));
            i = fin;
        }
        if (i < n && contenido[i] == ',') ++i;
        items.push_back(std::move(item));
    }
    return items;
}

void LeeEquipos(Estado& st, std::vector<std::string>& equipos, const OperacionFichero& op) {
    st.ErrorFichero = 0;
    std::string contenido;
    if (int e = LeeFichero(st.DirDatos / kFichero, contenido)) {
        InformaErrorFichero(st, op, e);
        return;
    }
    for (std::string& item : ItemsEquipos(contenido)) equipos.push_back(std::move(item));
}

void CargaLisEquipos(Estado& st, std::vector<std::string>& equipos) {
    LeeEquipos(st, equipos, Op::CLECrea);
    if (st.ErrorFichero == Err::NoEncontrado) AnexaFichero(st.DirDatos / kFichero, "");
}

std::string ProblemaCaracteresNombre(std::string_view nombre) {
    for (const char c : nombre) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\n' || b == '\r') return "lleva un salto de línea";
        if (b == '\t') return "lleva un tabulador";
        if (b < 0x20 || b == 0x7F) return "lleva un carácter de control (código " + std::to_string(b) + ")";
    }
    if (nombre.find_first_of(",\"") != std::string_view::npos) return "lleva una coma o unas comillas";
    return "";
}

std::string ProblemaNombreEquipo(std::string_view nombre) {
    if (nombre.empty()) return "está vacío";
    if (nombre.size() > kLongNombreEquipo)
        return "tiene " + std::to_string(nombre.size()) + " caracteres y caben " +
               std::to_string(kLongNombreEquipo);
    return ProblemaCaracteresNombre(nombre);
}

int GrabaEquipos(const Estado& st, const std::vector<std::string>& equipos) {
    std::string datos;
    for (const std::string& e : equipos) {
        datos += Recorta(e);
        datos += SaltoLinea;
    }
    Cerrojo cerrojo(st.DirDatos);
    if (cerrojo.Error()) return cerrojo.Error();
    return EscribeFicheroAtomico(st.DirDatos / kFichero, datos);
}

}  // namespace tobal
