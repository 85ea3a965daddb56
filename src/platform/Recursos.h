#pragma once
// The program's own pictures and cursors, carried as Qt resources, and the
// screen-wide pointer.

#include <QCursor>
#include <QPixmap>
#include <QRect>
#include <QString>

class QWidget;

namespace tobal {

// Makes the resources of the platform library available; call once after
// the application object exists (static libraries do not register them).
void IniciaRecursos();

// Qt's own windows and buttons (print dialog and preview, folder chooser,
// standard buttons) in Spanish, from the system's Qt translations; nothing
// when they are not installed. Call once after the application object exists.
void TraduceQt();

// Pictures of the splash screen, also copied into the main menu.
QPixmap ImagenLogo();     // 97 x 44
QPixmap ImagenIcono();    // 40 x 41
QPixmap ImagenTitulos();  // 236 x 77: the three title strips stacked
// The part of ImagenTitulos() holding title strip 1, 2 or 3.
QRect PiezaTitulo(int n);

// The picture of a button by its control name ("Pic_Guardar", "Pic_Salir",
// "Pic_Ayuda", "Pic_Copiar", "Pic_Imprimir", "Pic_Indice", "Pic_Signosel",
// "Pic_Reducir", "Pic_Cancelar", "Pic_Borrar", "Pic_Repetir", "Pic_Siguiente",
// "Pic_VistaPrevia", "Pic_Escrutar", the team screens' "Pic_Añadir" and
// "Pic_Equipos", "Pic_Garantia"; "Pic_Orientacion1" and "Pic_Orientacion2",
// the ticket upright and on its side); a null picture for another name. Every
// button picture is TamBoton x TamBoton.
inline constexpr int TamBoton = 40;
QPixmap ImagenBoton(const QString& control);

// The application icon.
QPixmap ImagenAplicacion(int lado);

// Named cursors, letter case ignored: "ManoIndice", "ManoAbierta",
// "ManoCerrada", "lapiz", "goma"; the normal arrow for another name.
QCursor CursorPorNombre(const QString& nombre);
// Gives a control or window the cursor of that name.
void PonCursor(QWidget* control, const QString& nombre);

// The hourglass over the whole program while the object lives.
class PunteroEspera {
public:
    PunteroEspera();
    ~PunteroEspera();
    PunteroEspera(const PunteroEspera&) = delete;
    PunteroEspera& operator=(const PunteroEspera&) = delete;
};

}  // namespace tobal
