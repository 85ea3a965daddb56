#include "platform/InformadorQt.h"

#include <QApplication>
#include <QMessageBox>

namespace tobal {

void InformadorQt::ErrorFichero(const std::string& texto) {
    QString t = QString::fromUtf8(texto.data(), qsizetype(texto.size()));
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox caja(QMessageBox::Warning, QStringLiteral("Tobal31"), t, QMessageBox::Ok,
                     QApplication::activeWindow());
    caja.exec();
}

}  // namespace tobal
