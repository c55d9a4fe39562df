#!/usr/bin/env python3
# Checks the generated block sound: format, length, loudness and a clean, decaying shape.
import struct
import sys
import wave


def fail(message):
    sys.exit("Block.wav: " + message)


def main(path):
    with wave.open(path, "rb") as sound:
        if (sound.getnchannels(), sound.getsampwidth(), sound.getframerate()) != (1, 2, 22050):
            fail("expected 16-bit 22050 Hz mono, got %r" % (sound.getparams(),))
        frames = sound.readframes(sound.getnframes())
    samples = struct.unpack("<%dh" % (len(frames) // 2), frames)
    length_ms = len(samples) * 1000 / 22050
    if not 30 <= length_ms <= 120:
        fail("a click lasts 30 to 120 ms, this one %.1f ms" % length_ms)

    peak = max(abs(s) for s in samples)
    if not 0.2 * 32767 <= peak <= 0.8 * 32767:
        fail("peak %d is too quiet or too harsh" % peak)
    # Starting and ending at silence keeps the speaker from popping.
    if abs(samples[0]) > 0.02 * 32767 or abs(samples[-1]) > 0.02 * 32767:
        fail("does not start and end at silence")

    quarter = len(samples) // 4
    energy = [sum(s * s for s in samples[i * quarter:(i + 1) * quarter]) for i in range(4)]
    if not energy[0] > energy[1] > energy[2] > energy[3]:
        fail("does not decay: quarter energies %r" % energy)
    print("Block.wav: %.1f ms, peak %d" % (length_ms, peak))


if __name__ == "__main__":
    main(sys.argv[1])
