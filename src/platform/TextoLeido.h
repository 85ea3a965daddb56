#pragma once
// What a screen paints for the eye (a table, a sentence, a figure, a
// progress line) made readable for assistive technology: an invisible label
// over the painted area, named by what it is, whose description is the text
// shown. The mouse passes through it to the screen; it takes no focus.

#include <QRect>
#include <QString>
#include <QWidget>

namespace tobal {

class TextoLeido : public QWidget {
    Q_OBJECT
public:
    TextoLeido(const QString& control, const QString& nombre, const QRect& area, QWidget* padre);
    // The text shown; empty when the area shows nothing.
    void PonTexto(const QString& texto);
    QString Texto() const { return accessibleDescription(); }
};

}  // namespace tobal
