#!/usr/bin/env python3
"""Writes the program's two sounds: error.wav (a low buzz, about 61 ms) and push.wav (a short
click, about 25 ms), mono 8-bit PCM at 22050 Hz. Run from any directory; the files land beside
this script."""

import math
import os
import struct

RATE = 22050


def wav_bytes(samples):
    data = bytes(samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)  # PCM, mono, 1 byte a frame, 8 bits
    return (b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE" +
            b"fmt " + struct.pack("<I", len(fmt)) + fmt +
            b"data" + struct.pack("<I", len(data)) + data)


def tone(milliseconds, partials, decay, attack_ms=2.0):
    """partials: (frequency, amplitude) pairs. The short attack and the exponential decay keep
    the sound from clicking at its ends."""
    count = round(RATE * milliseconds / 1000)
    attack = RATE * attack_ms / 1000
    samples = []
    for n in range(count):
        t = n / RATE
        value = sum(a * math.sin(2 * math.pi * f * t) for f, a in partials)
        envelope = min(1.0, n / attack) * math.exp(-decay * t) * (1 - n / count)
        samples.append(max(0, min(255, round(128 + 110 * value * envelope))))
    return samples


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    # A wrong key: two close low tones beat into a rough buzz that is hard to mistake.
    error = tone(61, [(220, 0.55), (233, 0.35), (660, 0.10)], decay=12)
    # A right key: a short, bright tick that stays out of the way of fast typing.
    push = tone(25, [(1800, 0.7), (3600, 0.3)], decay=90, attack_ms=1.0)
    for name, samples in (("error.wav", error), ("push.wav", push)):
        with open(os.path.join(here, name), "wb") as out:
            out.write(wav_bytes(samples))


if __name__ == "__main__":
    main()
