#include "screens/EntradaTexto.h"

#include <algorithm>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "app/Texto.h"
#include "data/Jornadas.h"
#include "platform/Dibujo.h"
#include "screens/mensajes.h"

namespace tobal {

ValidadorCp1252::ValidadorCp1252(QString prohibidos, QObject* padre)
    : QValidator(padre), prohibidos_(std::move(prohibidos)) {}

QValidator::State ValidadorCp1252::validate(QString& texto, int&) const {
    rechazado_ = QChar();
    for (const QChar c : texto) {
        bool perdida = c.isSurrogate() || c.unicode() < 0x20 || c.unicode() == 0x7F || prohibidos_.contains(c);
        if (!perdida) Utf8ACp1252(QString(c).toStdString(), &perdida);
        if (perdida) {
            rechazado_ = c;
            return Invalid;
        }
    }
    return Acceptable;
}

void CajaNombreEquipo(QLineEdit* caja, Estado& st, Servicios& sv, QWidget* ventana) {
    auto* validador = new ValidadorCp1252(QStringLiteral(",\""), caja);
    caja->setValidator(validador);
    // A text longer than the box is cut without a word. A character refused
    // is told once the box has dropped it, which tells a user's typing or
    // pasting from a text the screen puts in the box (a name read from a
    // file keeps what the box would refuse, and is checked on saving).
    QObject::connect(caja, &QLineEdit::inputRejected, ventana, [caja, validador, &st, &sv, ventana] {
        const QChar c = validador->Rechazado();
        if (c.isNull()) return;
        QTimer::singleShot(0, caja, [caja, c, &st, &sv, ventana] {
            if (caja->text().contains(c)) return;
            QString que;
            if (c == u'\n' || c == u'\r')
                que = QStringLiteral("un salto de línea");
            else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                que = QStringLiteral("un carácter de control");
            else if (c == u',')
                que = QStringLiteral("una coma");
            else if (c == u'"')
                que = QStringLiteral("unas comillas");
            else
                que = QStringLiteral("un carácter que no cabe en los ficheros del programa");
            QApplication::beep();
            Mensaje(st, sv, ventana, QStringLiteral("CARÁCTER NO ADMITIDO"),
                    QStringLiteral("Un nombre de equipo no puede llevar %1: no se ha tomado lo que se ha "
                                   "escrito. Un nombre no lleva comas, comillas, saltos de línea ni otros "
                                   "caracteres de control, ni caracteres que no caben en los ficheros del "
                                   "programa (Windows-1252).")
                        .arg(que));
        });
    });
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
