#!/usr/bin/env python3
"""Writes the program's click sounds (sonidos/N.wav): short 16-bit mono WAVE
files made of damped tones and a little noise. Run from resources/."""
import math
import random
import struct
import wave

TASA = 22050


def tono(frecuencias, duracion, amortiguacion, ruido=0.0, volumen=0.5):
    n = int(TASA * duracion)
    random.seed(31)
    muestras = []
    for i in range(n):
        t = i / TASA
        # The frequency glides from the first value to the last.
        f = frecuencias[0] + (frecuencias[-1] - frecuencias[0]) * i / n
        v = math.sin(2 * math.pi * f * t) * (1 - ruido) + random.uniform(-1, 1) * ruido
        ataque = min(1.0, i / (TASA * 0.002))
        muestras.append(v * ataque * math.exp(-amortiguacion * t) * volumen)
    return muestras


def graba(numero, muestras):
    with wave.open(f"sonidos/{numero}.wav", "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(TASA)
        w.writeframes(b"".join(struct.pack("<h", int(max(-1, min(1, m)) * 32767)) for m in muestras))


graba(1, tono([2200, 2000], 0.035, 90, ruido=0.2))             # a mark in a grid
graba(5, tono([880, 440], 0.18, 14) )                          # leaving
graba(6, tono([700, 1100], 0.07, 45, ruido=0.1))               # opening
graba(7, tono([1100, 700], 0.07, 45, ruido=0.1))               # closing
graba(9, tono([1500, 1400], 0.05, 70, ruido=0.15))             # a button
graba(10, tono([3000, 1500], 0.12, 25, ruido=0.7, volumen=0.35))  # a page turned
