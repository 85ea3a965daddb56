#pragma once
// Text boxes whose text goes to a data file: a character the file cannot
// hold (outside Windows-1252, an emoji for one) is refused as it is typed or
// pasted, so that it is never written as "?".

#include <QString>
#include <QValidator>

class QListWidget;

namespace tobal {

class ValidadorCp1252 : public QValidator {
public:
    // `prohibidos`: characters refused besides those outside Windows-1252.
    explicit ValidadorCp1252(QString prohibidos = {}, QObject* padre = nullptr);
    State validate(QString& texto, int& posicion) const override;

private:
    QString prohibidos_;
};

// Fills a matchday selection list with " 1" .. `total`, in columns of ten,
// sized to show them all, no entry selected.
void LlenaListaJornadas(QListWidget* lista, int total);

// A text of the screen as Windows-1252 bytes, and back.
std::string ACp1252(const QString& texto);
QString DeCp1252(const std::string& bytes);

}  // namespace tobal
