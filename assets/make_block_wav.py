#!/usr/bin/env python3
# Writes the block sound Block.wav: a short, soft two-tone click that decays quickly.
import math
import struct
import sys
import wave

RATE = 22050          # samples per second, mono, 16-bit
LENGTH_MS = 60
ATTACK_MS = 2         # a ramp-in keeps the start from popping
DECAY_MS = 11         # time constant of the exponential fade
PEAK = 0.45           # of full scale: audible without being harsh
TONES = ((1760.0, 0.7), (2640.0, 0.3))   # a fifth apart, so it sounds like a click, not a beep


def samples():
    count = RATE * LENGTH_MS // 1000
    attack = RATE * ATTACK_MS / 1000
    for n in range(count):
        t = n / RATE
        envelope = min(1.0, n / attack) * math.exp(-t * 1000 / DECAY_MS)
        # The last few milliseconds fade to exact silence so the end never clicks.
        tail = min(1.0, (count - 1 - n) / attack)
        value = sum(weight * math.sin(2 * math.pi * freq * t) for freq, weight in TONES)
        yield int(round(32767 * PEAK * envelope * tail * value))


def main(path):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", s) for s in samples()))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_block_wav.py OUTPUT.wav")
    main(sys.argv[1])
