"""Leaf magnification on one output: python3 leaf_blocks.py SCALE PICTURE.

A leaf drawn at scale s is made of s x s blocks of one colour on the s-pixel grid. Passes when every
leaf-coloured pixel lies in such a block and, for SCALE 1, when some leaf pixel does not lie in a 2 x 2
block (so the check can tell the two apart). Needs leaf pixels to be present."""
import sys

sys.path.insert(0, __file__.rsplit("/", 2)[0] + "/kit")
import shots  # noqa: E402


def main(scale, path):
    scale = int(scale)
    width, height, data = shots.load(path)
    leaf = set(shots.LEAF_COLOURS)

    def at(x, y):
        i = (y * width + x) * 3
        return data[i:i + 3]

    def in_block(x, y, s):
        bx, by = x - x % s, y - y % s
        if bx + s > width or by + s > height:
            return True  # the leftover edge columns and rows hold parts of blocks
        colour = at(x, y)
        return all(at(bx + i, by + j) == colour for i in range(s) for j in range(s))

    leaf_pixels = [(x, y) for y in range(height) for x in range(width) if at(x, y) in leaf]
    if not leaf_pixels:
        return print("no leaf")
    if scale == 1:
        return any(not in_block(x, y, 2) for x, y in leaf_pixels) or print("every leaf pixel is a 2x2 block")
    odd = [(x, y) for x, y in leaf_pixels if not in_block(x, y, scale)]
    return not odd or print(f"{len(odd)} of {len(leaf_pixels)} leaf pixels outside {scale}x{scale} blocks, e.g. {odd[:3]}")


if __name__ == "__main__":
    sys.exit(0 if main(*sys.argv[1:]) else 1)
