"""Seconds of sound in a recording: python3 loudness.py RAW RATE prints them (one decimal), counting
each tenth of a second of 16-bit mono samples whose RMS level is above a whisper."""
import math
import struct
import sys

WHISPER_RMS = 300  # a tone at half volume is near 16000; a null sink's silence is 0


def loud_seconds(data, rate):
    tenth = rate // 10
    count = len(data) // 2
    samples = struct.unpack(f"<{count}h", data[:count * 2])
    chunks = [samples[i:i + tenth] for i in range(0, count - tenth + 1, tenth)]
    return sum(math.sqrt(sum(s * s for s in c) / tenth) > WHISPER_RMS for c in chunks) / 10


if __name__ == "__main__":
    with open(sys.argv[1], "rb") as raw:
        print(loud_seconds(raw.read(), int(sys.argv[2])))
