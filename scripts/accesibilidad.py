"""What a screen reader sees of VELTRA: started with Qt's accessibility on,
the main window's objects are read back through AT-SPI, as Orca reads them."""
import os
import subprocess
import sys
import time

import pyatspi

NOMBRE_APLICACION = "VELTRA, el IDE para TORVIC"


def buscar_aplicacion(segundos=20):
    limite = time.time() + segundos
    while time.time() < limite:
        escritorio = pyatspi.Registry.getDesktop(0)
        for aplicacion in escritorio:
            if aplicacion is not None and aplicacion.name == NOMBRE_APLICACION:
                return aplicacion
        time.sleep(0.5)
    sys.exit("accesibilidad: VELTRA no aparece en el bus de accesibilidad")


def texto(objeto):
    try:
        t = objeto.queryText()
        return t.getText(0, t.characterCount)
    except NotImplementedError:
        return ""


def atajo(objeto):
    try:
        accion = objeto.queryAction()
        return accion.getKeyBinding(0) if accion.nActions else ""
    except NotImplementedError:
        return ""


def listar(objeto, sangria=0):
    """Every object with a name or a text, indented by depth."""
    nombre = objeto.name or ""
    contenido = texto(objeto)
    rol = objeto.getRoleName()
    if nombre or contenido:
        linea = "  " * sangria + f"[{rol}] {nombre}"
        if contenido and contenido != nombre:
            linea += f" = {contenido}"
        tecla = (atajo(objeto) or objeto.description) if rol == "push button" else ""
        if tecla:
            linea += f" ({tecla})"
        print(linea)
    for hijo in objeto:
        if hijo is not None:
            listar(hijo, sangria + 1)


def buscar(objeto, nombre):
    if objeto.name == nombre:
        return objeto
    for hijo in objeto:
        if hijo is not None:
            encontrado = buscar(hijo, nombre)
            if encontrado:
                return encontrado
    return None


def ventana_principal(aplicacion):
    for ventana in aplicacion:
        if ventana is not None and ventana.name.startswith("VELTRA 0.1.0"):
            return ventana
    sys.exit("accesibilidad: no se encuentra la ventana principal")


def main():
    entorno = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    veltra = subprocess.Popen(sys.argv[1:], env=entorno)
    try:
        aplicacion = buscar_aplicacion()
        time.sleep(1)
        print("== VELTRA con TORVIC apagado ==")
        listar(ventana_principal(aplicacion))
        # On/Off's own action, as a reader presses it.
        boton = buscar(ventana_principal(aplicacion), "On/Off")
        boton.queryAction().doAction(0)
        time.sleep(1)
        print("== Tras pulsar On/Off ==")
        listar(ventana_principal(aplicacion))
    finally:
        veltra.terminate()
        veltra.wait()


if __name__ == "__main__":
    main()
