"""Pixel checks of the end-to-end tests: python3 -m kit.pixels CHECK PICTURE..."""
import sys

from kit import shots


def changed(a, b):
    """Positions (byte offsets) where two pictures of one size differ."""
    return [i for i in range(0, len(a[2]), 3) if a[2][i:i + 3] != b[2][i:i + 3]]


def main(check, *paths):
    pics = [shots.load(p) for p in paths]
    if check in ("same-under-leaves", "leaves-over", "all-colours-over"):
        # The picture is the first one with leaves on it: every changed pixel is a pure leaf colour.
        # "same-under-leaves" allows no leaf yet (a first frame); "leaves-over" needs some;
        # "all-colours-over" needs leaves of each of the three colours.
        diff = changed(pics[0], pics[1])
        seen = {pics[1][2][i:i + 3] for i in diff}
        odd = seen - set(shots.LEAF_COLOURS)
        enough = {"same-under-leaves": True, "leaves-over": bool(diff),
                  "all-colours-over": seen >= set(shots.LEAF_COLOURS)}[check]
        return enough and not odd or print(f"{len(diff)} changed, colours {sorted(seen)[:5]}")
    if check == "has-leaves":  # some pixel of a leaf colour
        every = {pics[0][2][i:i + 3] for i in range(0, len(pics[0][2]), 3)}
        return bool(every & set(shots.LEAF_COLOURS)) or print("no leaf")
    if check == "moved":
        return bool(changed(pics[0], pics[1])) or print("no pixel moved")
    if check == "dark":  # leaves on one dark colour, and nothing of the desktop
        every = {pics[0][2][i:i + 3] for i in range(0, len(pics[0][2]), 3)}
        px = every - set(shots.LEAF_COLOURS)
        if not every & set(shots.LEAF_COLOURS):
            return print("no leaf")
        return (len(px) == 1 and max(next(iter(px))) < 64) or print(f"backdrop colours {sorted(px)[:5]}")
    raise SystemExit(f"unknown check {check}")


if __name__ == "__main__":
    sys.exit(0 if main(*sys.argv[1:]) else 1)
