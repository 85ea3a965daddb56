#!/usr/bin/python3
# Walks the running program from the keyboard (xdotool) and dumps, per
# screen, what assistive technology sees over AT-SPI: role, name, accessible
# id (the object's name where the toolkit exposes it), states. Started by
# scripts/accesibilidad.sh, which provides the X server, the buses and the
# program; see there.

import hashlib
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

PID = int(sys.argv[1])
FB = sys.argv[2] if len(sys.argv) > 2 else ""  # Xvfb's frame buffer file
SALIDA = sys.stdout
avisos = []

ESTADOS = {
    Atspi.StateType.FOCUSABLE: "focusable",
    Atspi.StateType.FOCUSED: "FOCUSED",
    Atspi.StateType.EDITABLE: "editable",
    Atspi.StateType.READ_ONLY: "read-only",
    Atspi.StateType.SENSITIVE: "sensitive",
    Atspi.StateType.SHOWING: "showing",
    Atspi.StateType.ACTIVE: "active",
    Atspi.StateType.MODAL: "modal",
    Atspi.StateType.CHECKED: "checked",
    Atspi.StateType.SELECTED: "selected",
    Atspi.StateType.FOCUSED: "FOCUSED",
}


def escribe(texto=""):
    SALIDA.write(texto + "\n")
    SALIDA.flush()


def aviso(texto):
    avisos.append(texto)
    escribe("!! " + texto)


def tecla(*teclas, pausa=0.35):
    for t in teclas:
        subprocess.run(["xdotool", "key", "--clearmodifiers", t], check=False)
        time.sleep(pausa)


def aplicacion():
    escritorio = Atspi.get_desktop(0)
    for i in range(escritorio.get_child_count()):
        app = escritorio.get_child_at_index(i)
        try:
            if app is not None and app.get_process_id() == PID:
                return app
        except Exception:
            pass
    return None


def ventanas():
    app = aplicacion()
    if app is None:
        return []
    res = []
    for i in range(app.get_child_count()):
        v = app.get_child_at_index(i)
        if v is not None and v.get_state_set().contains(Atspi.StateType.SHOWING):
            res.append(v)
    return res


def activa():
    """The window that has the keyboard: the one holding the focus, else
    the last one shown."""
    vs = ventanas()
    for v in vs:
        if enfocado(v) is not None:
            return v
    for v in vs:
        if v.get_state_set().contains(Atspi.StateType.ACTIVE):
            return v
    return vs[-1] if vs else None


def estados(nodo):
    s = nodo.get_state_set()
    return [n for t, n in ESTADOS.items() if s.contains(t)]


def ident(nodo):
    try:
        return nodo.get_accessible_id() or ""
    except Exception:
        return ""


def linea(nodo):
    nombre = nodo.get_name() or ""
    texto = "%s \"%s\"" % (nodo.get_role_name(), nombre)
    if ident(nodo):
        texto += " id=" + ident(nodo)
    try:
        desc = (nodo.get_description() or "").replace("\n", " | ")
        if desc:
            texto += " desc=\"%s\"" % (desc[:70] + ("..." if len(desc) > 70 else ""))
    except Exception:
        pass
    return texto + " [" + ",".join(estados(nodo)) + "]"


def recorre(nodo, f, prof=0):
    if nodo is None:
        return
    f(nodo, prof)
    for i in range(min(nodo.get_child_count(), 400)):
        recorre(nodo.get_child_at_index(i), f, prof + 1)


def enfocado(raiz):
    hallado = []

    def f(n, _):
        if n.get_state_set().contains(Atspi.StateType.FOCUSED) and n.get_role_name() != "list item":
            hallado.append(n)

    recorre(raiz, f)
    return hallado[-1] if hallado else None


def vuelca(titulo, ventana):
    escribe()
    escribe("=== " + titulo + " ===")
    if ventana is None:
        aviso(titulo + ": no window")
        return

    def f(n, prof):
        escribe("  " * prof + linea(n))
        s = n.get_state_set()
        rol = n.get_role_name()
        usable = s.contains(Atspi.StateType.FOCUSABLE) or s.contains(Atspi.StateType.EDITABLE)
        if prof > 0 and usable and rol not in ("list item", "scroll bar") and not (n.get_name() or "").strip():
            aviso("%s: %s without a name" % (titulo, rol))

    recorre(ventana, f)


def recorrido_tab(titulo, maximo=40):
    """Tab until the focus comes back where it started: the order the
    keyboard reaches the controls in."""
    v = activa()
    inicio = enfocado(v) if v else None
    if inicio is None:
        aviso(titulo + ": nothing has the keyboard focus")
        tecla("Tab")
        v = activa()
        inicio = enfocado(v) if v else None
        if inicio is None:
            return []
    orden = [inicio.get_name() or "(" + inicio.get_role_name() + ")"]
    for _ in range(maximo):
        tecla("Tab", pausa=0.2)
        v = activa()
        f = enfocado(v) if v else None
        nombre = (f.get_name() or "(" + f.get_role_name() + ")") if f else "(nothing)"
        if f is not None and nombre == orden[0] and len(orden) > 1:
            break
        if f is not None and not f.get_state_set().contains(Atspi.StateType.SENSITIVE):
            aviso("%s: Tab reaches \"%s\", which cannot be used" % (titulo, nombre))
        orden.append(nombre)
    escribe("  Tab order: " + " -> ".join(orden))
    return orden


def enfoca(nombre, maximo=40):
    """Tab until the control called `nombre` has the focus."""
    for _ in range(maximo):
        v = activa()
        f = enfocado(v) if v else None
        if f is not None and (f.get_name() or "") == nombre:
            return True
        tecla("Tab", pausa=0.15)
    aviso("Tab does not reach \"%s\"" % nombre)
    return False


def busca(raiz, nombre):
    """The control called `nombre`, the one shown when several are."""
    hallados = []
    recorre(raiz, lambda n, _: hallados.append(n) if (n.get_name() or "") == nombre else None)
    vistos = [n for n in hallados if n.get_state_set().contains(Atspi.StateType.SHOWING)]
    return (vistos or hallados or [None])[0]


def descripcion(nodo):
    try:
        return nodo.get_description() or ""
    except Exception:
        return ""


def exige(titulo, nombres, vacia=False):
    """Each control or drawn text called `nombres` is there and says what it
    shows (its description), or says nothing when `vacia`."""
    v = activa()
    for nombre in nombres:
        n = busca(v, nombre) if v else None
        if n is None:
            aviso("%s: a screen reader finds no \"%s\"" % (titulo, nombre))
        elif vacia and descripcion(n).strip():
            aviso("%s: \"%s\" still reads \"%s\"" % (titulo, nombre, descripcion(n)[:60]))
        elif not vacia and not descripcion(n).strip():
            aviso("%s: \"%s\" reads nothing of what it shows" % (titulo, nombre))
        else:
            escribe("  %s reads: %s" % (nombre, descripcion(n).replace("\n", " | ")[:90] or "(nothing)"))


def ayuda_f1(titulo):
    """F1 opens a help window, which Escape closes again."""
    antes = nventanas()
    tecla("F1")
    if not espera(lambda: nventanas() > antes, 4):
        aviso(titulo + ": F1 opens no help")
        return
    escribe("  F1 opens the help: yes")
    tecla("Escape")
    espera(lambda: nventanas() == antes, 4)


def espera(condicion, segundos=8.0):
    fin = time.time() + segundos
    while time.time() < fin:
        try:
            if condicion():
                return True
        except Exception:
            pass
        time.sleep(0.1)
    return False


def nventanas():
    return len(ventanas())


def pantalla(titulo, abrir, extra=None, lee=(), f1=True):
    """Opens a screen with the keys `abrir`, dumps it, walks it by Tab,
    checks that the controls and texts `lee` say what they show and that F1
    opens the help, runs `extra`, and leaves it with Escape."""
    antes = nventanas()
    abrir()
    if not espera(lambda: nventanas() > antes, 6):
        escribe()
        escribe("=== " + titulo + " ===")
        escribe("  (no screen opened)")
        return False
    time.sleep(0.8)
    # A file report of the opening screen comes first: read it, then OK.
    while activa() is not None and activa().get_role_name() == "alert":
        vuelca(titulo + ": message box", activa())
        tecla("Return")
        time.sleep(0.8)
    vuelca(titulo, activa())
    recorrido_tab(titulo)
    exige(titulo, lee)
    if f1:
        ayuda_f1(titulo)
    if extra:
        extra()
    tecla("Escape")
    if not espera(lambda: nventanas() <= antes, 4):
        aviso(titulo + ": Escape does not leave")
        return False
    escribe("  Escape leaves: yes")
    return True


def mensaje(titulo, abrir):
    """Opens a message window with the keys `abrir`, dumps it and leaves it
    with Return; the screen behind stays open."""
    antes = nventanas()
    abrir()
    if not espera(lambda: nventanas() > antes, 6):
        aviso(titulo + ": no message window opened")
        return
    time.sleep(0.5)
    vuelca(titulo, activa())
    tecla("Return")
    if espera(lambda: nventanas() == antes, 4):
        escribe("  Return leaves the message: yes")
    else:
        aviso(titulo + ": Return does not leave the message")


def marco():
    if not FB or not os.path.exists(FB):
        return ""
    with open(FB, "rb") as f:
        return hashlib.md5(f.read()).hexdigest()


def ejecucion_larga():
    """Reduction of fourteen triples by method 2, errors 0 to 14, from the
    keyboard; during the run the screen must keep repainting and answering,
    and Escape must stop it."""
    escribe()
    escribe("=== Long run: 14 triples, method 2, errors 0-14 ===")
    if not enfoca("Seleccionar todo"):
        return
    tecla("space")
    if not enfoca("Columna probable"):
        return
    # The cursor starts on match 1, sign 1: mark "1" as the probable sign of
    # matches 1 to 14.
    tecla("Home", "Left", "Left", pausa=0.1)
    for m in range(14):
        tecla("space", pausa=0.1)
        tecla("Down", pausa=0.1)
    if not enfoca("Máximo de errores"):
        return
    tecla("space", "End", "Return")
    if not enfoca("Reducir"):
        return
    vuelca("Reducir before the run", activa())
    tecla("space", pausa=0.1)
    marcos = set()
    respuestas = []
    t0 = time.time()
    while time.time() - t0 < 3.0:
        marcos.add(marco())
        a = time.time()
        v = activa()
        if v is not None:
            v.get_name()
        respuestas.append(time.time() - a)
        time.sleep(0.25)
    escribe("  distinct frames in 3 s of run: %d" % len(marcos))
    escribe("  slowest AT-SPI answer during the run: %.3f s" % max(respuestas))
    v = activa()
    f = enfocado(v) if v else None
    if f is not None and f.get_name() == "Salir del progreso":
        # The panel's exit takes the focus when the run ends.
        escribe("  the run ended within 3 s: too short to watch it repaint or to cancel it")
        exige("Reducir after the run", ("Progreso de la reducción",))
        tecla("Escape")
        return
    if FB and len(marcos) < 3:
        aviso("long run: the window does not repaint")
    vuelca("Reducir during the run", v)
    exige("Reducir during the run", ("Progreso de la reducción",))
    n = busca(v, "Progreso de la reducción") if v else None
    if n is not None and "%" not in descripcion(n):
        aviso("long run: the progress reads no percentage")
    t = time.time()
    tecla("Escape", pausa=0.0)

    antes = nventanas()

    def parado():
        f = enfocado(activa())
        return nventanas() > antes or (f is not None and f.get_name() == "Salir del progreso")

    if espera(parado, 10):
        escribe("  Escape stopped the run; panel's exit focused after %.2f s (xdotool and AT-SPI included)"
                % (time.time() - t))
    else:
        aviso("long run: Escape did not stop it within 10 s")
    vuelca("Reducir after the run", activa())
    exige("Reducir after the run", ("Progreso de la reducción",))
    tecla("Escape")  # leaves the message or the progress panel


def principal():
    if not espera(lambda: aplicacion() is not None and nventanas() > 0, 20):
        aviso("the program does not show on the accessibility bus")
        return 1
    escribe("Application: " + (aplicacion().get_name() or "?"))
    vuelca("Splash (careta)", activa())
    t = time.time()
    tecla("Escape", pausa=0.1)

    def menu():
        v = activa()
        return v is not None and enfocado(v) is not None and nventanas() == 1

    if espera(menu, 10):
        escribe("  Escape skips the splash: menu after %.2f s" % (time.time() - t))
    else:
        aviso("the splash does not give way to the menu")
    vuelca("Main menu (Tb1x2)", activa())
    recorrido_tab("Main menu")
    # Escape once too many on the way back must not end the program.
    tecla("Escape")
    time.sleep(1.0)
    if aplicacion() is None or nventanas() == 0:
        aviso("Escape on the main menu ends the program")
        return 1
    escribe("  Escape on the main menu: the program goes on")
    ayuda_f1("Main menu")

    def opcion(nombre):
        return lambda: (enfoca(nombre), tecla("Return"))

    pantalla("Help viewer (from the menu)", opcion("Ayuda"), f1=False)
    pantalla("Option 1: Jornadas", opcion("Datos de jornadas"), lambda: pantalla(
        "equipos (from Jornadas)", lambda: (enfoca("Equipos"), tecla("space"))), lee=("Jornada", "Fecha"))

    def dentro_reducir():
        pantalla("Historic (from Reducir)", lambda: (enfoca("Índice de reducciones"), tecla("space")),
                 lee=("Índice de reducciones",))
        pantalla("Help viewer (from Reducir)", lambda: (enfoca("Ayuda"), tecla("space")), f1=False)
        mensaje("mensajes (Reducir with nothing marked)", lambda: (enfoca("Reducir"), tecla("space")))

        def dentro_condiciones():
            # A condition typed and added from the keyboard reaches the list
            # and the count; Escape then leaves without keeping it.
            subprocess.run(["xdotool", "type", "--delay", "60", "X 2-5"], check=False)
            tecla("Return", pausa=0.8)
            vuelca("Condiciones with one condition", activa())
            if busca(activa(), "X 2-5") is None:
                aviso("Condiciones: the condition added is not in the list a screen reader sees")
            exige("Condiciones with one condition", ("Resultados que las cumplen",))

        pantalla("Condiciones (from Reducir)", lambda: (enfoca("Condiciones..."), tecla("space")),
                 dentro_condiciones, lee=("Condición", "Resultados que las cumplen"))
        ejecucion_larga()

    def elige_orden(n):
        """Picks order n in the browser's order box; the page follows."""
        enfoca("Orden")
        tecla("space", "Home", *(["Down"] * (n - 1)), "Return")
        time.sleep(0.8)

    def dentro_consredu():
        # The folder's settings open on order 1, where nothing is stored;
        # the reduction is order 2.
        elige_orden(2)
        vuelca("consredu, order 2", activa())
        exige("consredu, order 2", ("Método reductivo", "Columnas de la reducción", "Total de boletos",
                                    "Resumen de la reducción", "Posición en la reducción"))
        pantalla("Garantia (from consredu)", lambda: (enfoca("Garantía de la reducción"), tecla("space"),
                                                        time.sleep(2.0)),
                 lee=("Estado del cálculo", "Tabla de la garantía", "Garantía"))
        elige_orden(1)
        exige("consredu, back to order 1 (none stored)", ("Total de boletos", "Resumen de la reducción"),
              vacia=True)
        n = busca(activa(), "Columnas de la reducción")
        if n is not None and descripcion(n) != "Sin columnas":
            aviso("consredu: the page still reads \"%s\" with nothing loaded" % descripcion(n)[:60])
        pantalla("Historic (from consredu)", lambda: (enfoca("Índice de reducciones"), tecla("space")))

    pantalla("Option 3: consredu", opcion("Consultar reducciones"), dentro_consredu, lee=("Método reductivo",))

    def dentro_salida():
        pantalla("listados: relation (from salida)", lambda: (enfoca("Imprimir relación de boletos"),
                                                              tecla("space")))
        pantalla("listados: sheet tickets (from salida)", lambda: (enfoca("Imprimir boletos oficiales"),
                                                                   tecla("space")),
                 lee=("Orientación del boleto",))

    pantalla("Option 4: salida", opcion("Salida de datos"), dentro_salida, lee=("Boletos de la reducción",))
    pantalla("Option 5: escrutin", opcion("Escrutinio de aciertos"))
    pantalla("Option 6: DatosGen", opcion("Datos generales"),
             lee=("Total jornadas", "Precio apuesta", "Código Delegación", "Código Receptor", "Sonido activado"))
    pantalla("Option 7: borrar", opcion("Borrado de datos"), lee=("Desde la jornada", "Hasta la jornada"))
    # Last: the long run leaves the reduction screen in whatever state it ends.
    pantalla("Option 2: Reducir", opcion("Reducción de apuestas"), dentro_reducir, lee=("Estadística",))

    escribe()
    enfoca("Salir")
    tecla("Return")
    if espera(lambda: aplicacion() is None, 10):
        escribe("The menu's exit ended the program.")
    else:
        aviso("the program is still running after its exit button")
    escribe()
    escribe("%d finding(s)" % len(avisos))
    for a in avisos:
        escribe("  - " + a)
    return 0


if __name__ == "__main__":
    sys.exit(principal())
