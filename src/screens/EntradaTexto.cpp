#include "screens/EntradaTexto.h"

#include <algorithm>

#include <QListWidget>

#include "app/Texto.h"
#include "data/Jornadas.h"
#include "platform/Dibujo.h"

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

void LlenaListaJornadas(QListWidget* lista, int total) {
    constexpr int kAnchoColumna = 34, kAltoFila = 20;
    lista->clear();
    lista->setFont(LetraCampo());
    lista->setFlow(QListView::TopToBottom);
    lista->setWrapping(true);
    lista->setGridSize(QSize(kAnchoColumna, kAltoFila));
    lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lista->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const std::string& item : ItemsListaJornadas(total)) lista->addItem(QString::fromStdString(item));
    const int columnas = ColumnasListaJornadas(total);
    lista->setFixedSize(columnas * kAnchoColumna + 6, std::min(total, 10) * kAltoFila + 6);
}

std::string ACp1252(const QString& texto) { return Utf8ACp1252(texto.toStdString()); }

QString DeCp1252(const std::string& bytes) { return QString::fromStdString(Cp1252AUtf8(bytes)); }

}  // namespace tobal
