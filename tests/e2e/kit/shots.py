"""Screenshots for the end-to-end tests' pixel checks (the tests run it through kv_python)."""
import subprocess

# The three pure leaf colours as RGB bytes.
LEAF_COLOURS = {b"\xff\x00\x00": "red", b"\xff\xff\x00": "yellow", b"\x80\xff\x00": "green"}


def load(path):
    """A picture as (width, height, RGB bytes row by row), read through ImageMagick as binary PPM."""
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
    fields, pos = [], 0
    while len(fields) < 4:  # P6 width height maxval, separated by whitespace
        while data[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    return int(fields[1]), int(fields[2]), data[pos + 1:]
