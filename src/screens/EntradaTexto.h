#pragma once
// Text boxes whose text goes to a data file: a character the file cannot
// hold (outside Windows-1252, an emoji for one) is refused as it is typed or
// pasted, so that it is never written as "?".

#include <QString>
#include <QValidator>

class QLineEdit;
class QListWidget;

namespace tobal {

struct Estado;
class Servicios;

// Line breaks and the other control characters are refused too.
class ValidadorCp1252 : public QValidator {
public:
    // `prohibidos`: characters refused besides those outside Windows-1252.
    explicit ValidadorCp1252(QString prohibidos = {}, QObject* padre = nullptr);
    State validate(QString& texto, int& posicion) const override;
    // The character that made the last text checked fail, null when it passed.
    QChar Rechazado() const { return rechazado_; }

private:
    QString prohibidos_;
    mutable QChar rechazado_;
};

// Makes `caja` a box for a team name: it refuses what a name cannot hold
// (a comma, a double quote, a control character, a character outside
// Windows-1252) and, when such a character is typed or pasted, beeps and
// says why in the message window.
void CajaNombreEquipo(QLineEdit* caja, Estado& st, Servicios& sv, QWidget* ventana);

// Fills a matchday selection list with " 1" .. `total`, in columns of ten,
// sized to show them all, no entry selected.
void LlenaListaJornadas(QListWidget* lista, int total);

// A text of the screen as Windows-1252 bytes, and back.
std::string ACp1252(const QString& texto);
QString DeCp1252(const std::string& bytes);

}  // namespace tobal
