#include "screens/EntradaTexto.h"

#include "app/Texto.h"

namespace tobal {

ValidadorCp1252::ValidadorCp1252(QString prohibidos, QObject* padre)
    : QValidator(padre), prohibidos_(std::move(prohibidos)) {}

QValidator::State ValidadorCp1252::validate(QString& texto, int&) const {
    for (const QChar c : texto) {
        if (c.isSurrogate() || prohibidos_.contains(c)) return Invalid;
        bool perdida = false;
        Utf8ACp1252(QString(c).toStdString(), &perdida);
        if (perdida) return Invalid;
    }
    return Acceptable;
}

std::string ACp1252(const QString& texto) { return Utf8ACp1252(texto.toStdString()); }

QString DeCp1252(const std::string& bytes) { return QString::fromStdString(Cp1252AUtf8(bytes)); }

}  // namespace tobal
