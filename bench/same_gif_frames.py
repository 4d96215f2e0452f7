#!/usr/bin/python3
# same_gif_frames.py A.gif B.gif: exit 0 when Pillow shows the two animations
# alike (frame count, durations and every composited frame, compared as RGBA),
# else 1 with the first difference. A fully transparent pixel counts as equal
# whatever colour it hides.
import sys
from PIL import Image, ImageSequence


def shown(path):
    with Image.open(path) as im:
        for frame in ImageSequence.Iterator(im):
            rgba = frame.convert("RGBA")
            seen = rgba.getchannel("A").point(lambda a: 255 if a else 0)
            yield frame.info.get("duration"), rgba.size, Image.composite(rgba, Image.new("RGBA", rgba.size), seen).tobytes()


a, b = list(shown(sys.argv[1])), list(shown(sys.argv[2]))
if len(a) != len(b):
    sys.exit("%d frames against %d" % (len(a), len(b)))
for i, (x, y) in enumerate(zip(a, b)):
    if x != y:
        sys.exit("frame %d differs" % i)
print("%d frames alike" % len(a))
