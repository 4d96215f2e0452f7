#!/usr/bin/python3
# Drives quillmere-cli from outside, as a user's script would:
#   test_cli.py /path/to/quillmere-cli [unittest options]
# Inputs are assembled with struct from the byte layouts, never with Quillmere's own writers, so a
# fault shared by its reader and writer still shows up. cases.json holds the key order of every JSON
# object the tool prints, the exact wording of its messages and the cases; this file holds the bytes.
import hashlib, json, pathlib, struct, subprocess, sys, tempfile, unittest
from collections import namedtuple

CASES = json.loads((pathlib.Path(__file__).resolve().parent / "cases.json").read_text())
CLI = None  # set from argv


def M(entry):  # "name" or "name answer"; "general" leaves out the text, which is the platform's own
    name, answer = (entry.split() + ["ok"])[:2]
    return {**CASES["messages"][name], "answer": answer}


F = namedtuple("F", "w h data fmt sx sy fx fy op enc ext", defaults=(1, 0, 0, 0, 0, 255, 0, b""))
S = namedtuple("S", "frames flags repl script", defaults=(0, -1, ()))


def px(n, seed=1):
    return bytes((i * 37 + seed * 101) & 0xFF for i in range(n))


def fox(shapes, version=1, encrypted=0):
    v3 = version == 3  # version 3 adds a block to each shape (its length) and frame (length,
    out = b"FSHX" + struct.pack("<6i", version, len(shapes), 0, encrypted, 0, 0)  # opacity, encoding)
    for s in shapes:
        out += struct.pack("<HhHH", s.flags, s.repl, len(s.frames), len(s.script)) + b"\x02\x00" * v3
        for f in s.frames:
            out += struct.pack("<hHHhhhhi", f.fmt, f.w, f.h, f.sx, f.sy, f.fx, f.fy, len(f.data))
            out += (struct.pack("<HBB", 4 + len(f.ext), f.op, f.enc) + f.ext) * v3 + f.data
        out += b"".join(struct.pack("<hhh", *step) for step in s.script)
    return out


def fsh(recs, sizes=None):  # recs: (width, height, x, y, pixels)
    sizes = sizes or [4 + len(r[4]) for r in recs]
    return (struct.pack("<%dH" % (len(recs) + 1), len(recs), *sizes)
            + b"".join(struct.pack("<BBbb", *r[:4]) + r[4] for r in recs) + b"FSH1.002")


def fs2(recs):  # recs: (width, height, x, y, replacement, pixels)
    return (b"FSH2.002" + struct.pack("<HHBHB", len(recs), 0, 0, 0, 0)
            + b"".join(struct.pack("<BBbbh", *r[:5]) + r[5] for r in recs))


def fbj(recs, version=b"01"):
    return b"FO" + version + struct.pack("<HH", len(recs), 0) + bytes(b & 0xFF for r in recs for b in r)


def shape(s, v3=False):  # what info reports; before version 3 every frame is opaque and raw
    return {"flags": s.flags, "replacement_index": s.repl, "script": [list(t) for t in s.script],
            "frames": [{"format": f.fmt, "width": f.w, "height": f.h, "shape_x": f.sx, "shape_y": f.sy,
                        "furre_x": f.fx, "furre_y": f.fy, "opacity": f.op if v3 else 255,
                        "encoding": f.enc if v3 else 0, "size": len(f.data),
                        "sha1": hashlib.sha1(f.data).hexdigest()} for f in s.frames]}


def plane(w, h, x, y, data, flags=0, repl=-1, fx=0, fy=0):
    return shape(S([F(w, h, data, 1, x, y, fx, fy)], flags, repl))


MIXED = [S([F(10, 10, px(100), 1, -5, 10, 3, -2, 128, 1, b"\xEE\xEE"), F(4, 3, b"", 3, -32768, 32767)],
           0xFFFF, 7, [(1, 2, 3), (-1, 32767, -32768)]), S([F(2, 1, b"\x10\x20", 2, op=0)], 0x1C)]
# FSH keeps neither the second frame nor the script; a format 2 frame or no frame leaves an empty record.
LOSSY = [S([F(3, 2, px(6), 1, -5, 10, 3, -2), F(3, 2, px(6, 2))], 0x1C, -1, [(1, 2, 3)]),
         S([F(1, 1, b"\x09", fx=7, fy=7)], 0x01, 3), S([F(4, 4, px(48), 2, 1, -1, -4, 9)], 0x08, 0x1234),
         S([], 0x10, 5)]
INFO_FILES = {
    "v1.fox": fox(MIXED), "v3.fox": fox(MIXED, 3), "warn.fsh": fox(LOSSY[:1]),
    "enc.fox": fox(LOSSY, encrypted=1), "cut.fox": fox(LOSSY[:2])[:-1],
    "o.fsh": fsh([(3, 2, -5, 10, px(6)), (2, 2, 127, -128, px(4))]),
    "o.fbj": fbj([[0x1C, 3, -2], [0xF0]]),  # a flag byte is signed, widened to 16 bits
    # Object 3 lies past records of 1 and 2 furre bytes; replacement 65535 (-1) names no object.
    "p.fs2": fs2([(3, 2, -1, 2, 3, px(6)), (2, 2, 0, 0, -1, px(4))]),
    "p.fbj": fbj([[0x08, 1], [0x18, 1, 1], [0x1C, 4, -3]]),
    "chunk.fsh": fsh([(2, 2, 0, 0, px(4)), (2, 2, 0, 0, px(4, 2))], sizes=[8, 0]),  # 8 < 4 + 2 x 2
    "new.fsh": fsh([(1, 1, 0, 0, b"\x01")]), "new.fbj": fbj([[0x1C, 3, -2]], version=b"02")}
SHAPES = {
    "mixed v1": [shape(s) for s in MIXED], "mixed v3": [shape(s, True) for s in MIXED],
    "o.fsh": [plane(3, 2, -5, 10, px(6), 28, -1, 3, -2), plane(2, 2, 127, -128, px(4), 0xFFF0)],
    "p.fs2": [plane(3, 2, -1, 2, px(6), 28, 3, 4, -3), plane(2, 2, 0, 0, px(4))],
    "lossy first": [shape(LOSSY[0])], "none": [], "chunk": [plane(2, 2, 0, 0, px(4))],
    "new declined": [plane(1, 1, 0, 0, b"\x01")], "new agreed": [plane(1, 1, 0, 0, b"\x01", 28, -1, 3, -2)]}
CONVERT_FILES = {"lossy.fox": fox(LOSSY), "named.fsh": fox(LOSSY), "cut.fox": fox(LOSSY)[:-1],
                 "wide.fox": fox([S([F(1, 1, b"\x01")]), S([F(300, 2, px(600))])])}
EXPECTED = {**CONVERT_FILES,
            "lossy.fsh": fsh([(3, 2, -5, 10, px(6)), (1, 1, 0, 0, b"\x09"), (0, 0, 1, -1, b""),
                              (0, 0, 0, 0, b"")]),
            # Furre bytes only where the flags announce them: 0x08 the x offset, 0x10 the y offset.
            "lossy.fbj": b"FO01\x04\x00\x00\x00" + b"\x1C\x03\xFE" + b"\x01" + b"\x08\xFC" + b"\x10\x00",
            "lossy.fs2": fs2([(3, 2, -5, 10, -1, px(6)), (1, 1, 0, 0, 3, b"\x09"),
                              (0, 0, 1, -1, 0x1234, b""), (0, 0, 0, 0, 5, b"")])}


class CliTest(unittest.TestCase):
    def setUp(self):
        self.d = pathlib.Path(self.enterContext(tempfile.TemporaryDirectory(prefix="quillmere-cli-")))

    def cli(self, *args, answers=()):
        argv = [CLI, *map(str, args)] + [x for a in answers for x in ("--answer", a)]
        p = subprocess.run(argv, capture_output=True, timeout=120)  # turns a hang into a failure
        orders = []  # json.loads refuses anything after the one object
        r = json.loads(p.stdout, object_pairs_hook=lambda kv: orders.append([k for k, _ in kv]) or dict(kv))
        self.assertIsInstance(r, dict)
        for keys in orders:
            self.assertIn(keys, CASES["key_orders"])
        return p.returncode, r, p.stderr.decode("utf-8", "replace")

    def assertMessages(self, actual, entries):
        expected = [M(entry) for entry in entries]
        self.assertEqual([{k: a[k] for k in e} for a, e in zip(actual, expected)], expected)
        self.assertEqual(len(actual), len(expected))
        self.assertTrue(all(a["text"].strip() for a in actual))

    def test_info(self):
        for name, data in INFO_FILES.items():
            (self.d / name).write_bytes(data)
        for case in CASES["info"]:
            with self.subTest(case["why"]):
                status, r, err = self.cli("info", self.d / case["file"], answers=case.get("answers", ()))
                # A document that was not read in full has no file name.
                want = {k: case[k] for k in ("type", "extension_matches", "complete") if k in case}
                want.update(file=str(self.d / case["file"]) if case["status"] == 0 else "None",
                             shapes=SHAPES[case["shapes"]], messages=r["messages"])
                self.assertEqual((status, r), (case["status"], want))
                self.assertMessages(r["messages"], case["messages"])
                if "stderr_line" in case:
                    self.assertIn(case["stderr_line"], err.splitlines())

    def test_convert(self):
        for i, case in enumerate(CASES["convert"]):
            with self.subTest(case["why"]):
                d = self.d / str(i)
                d.mkdir()
                files = {**CONVERT_FILES, **{n: t.encode() for n, t in case.get("existing", {}).items()}}
                for name, data in files.items():
                    (d / name).write_bytes(data)
                status, r, _ = self.cli("convert", d / case["in"], d / case["out"], *case.get("options", ()),
                                        answers=case.get("answers", ()))
                self.assertEqual((status, r["written"]), (case["status"], case["status"] == 0))
                self.assertMessages(r["messages"], case["messages"])
                files.update({name: EXPECTED[like] for name, like in case["writes"].items()})
                self.assertEqual({p.name: p.read_bytes() for p in d.iterdir()}, files)

    def test_exports(self):  # pictures are checked with Pillow, an independent decoder
        from PIL import Image
        two = [F(2, 2, bytes([i + 1] * 4)) for i in range(2)]
        (self.d / "a.fox").write_bytes(fox([S(two, script=[(1, 0, 0), (2, 100, 0), (1, 1, 0), (2, 200, 0)]),
                                            S(two), S([F(2, 2, b"\x01" * 4)])]))
        # The whole game palette unless --optimize asks for the smallest file: then only the colours shown
        # (index 0 and the frames' two), and every frame looks the same.
        for opts, durations, colours in ((["--max-steps", 4], [100, 200], 256), (["--direct", "--delay", 5], [50, 50], 256),
                                         (["--direct", "--delay", 5, "--optimize"], [50, 50], 4)):
            name = "small.gif" if "--optimize" in opts else "a.gif"
            status, r, _ = self.cli("export-gif", self.d / "a.fox", 0, self.d / name, *opts)
            self.assertEqual((status, r["written"], r["frames"], r["messages"]), (0, True, 2, []))
            with Image.open(self.d / name) as gif:
                table = len(gif.getpalette()) // 3
                frames = [(gif.seek(i), gif.info["duration"], gif.convert("RGB").getpixel((0, 0)))[1:] for i in range(gif.n_frames)]
                self.assertEqual((frames, gif.info.get("loop"), table),
                                 (list(zip(durations, [(128, 0, 0), (0, 128, 0)])), 0, colours))
        self.assertLess((self.d / "small.gif").stat().st_size, (self.d / "a.gif").stat().st_size)
        self.assertEqual(self.cli("export-gif", self.d / "a.fox", 3, self.d / "b.gif")[0], 2)
        status, r, _ = self.cli("export-bmp", self.d / "a.fox", 1, self.d / "x.bmp")
        self.assertEqual((status, r["files"]), (0, [str(self.d / "x-0.bmp"), str(self.d / "x-1.bmp")]))
        with Image.open(self.d / "x-1.bmp") as bmp:
            self.assertEqual((bmp.mode, bmp.size, bmp.getpixel((1, 1))), ("P", (2, 2), 2))
        for opts, corner in (([], (16, 32, 48)), (["--selected"], (0, 120, 215))):
            status, r, _ = self.cli("render", self.d / "a.fox", 0, self.d / "c.png", "--background", "102030", *opts)
            with Image.open(self.d / "c.png") as png:
                self.assertEqual((status, png.size, png.convert("RGB").getpixel((0, 0))), (0, (120, 120), corner))
        status, r, _ = self.cli("dedupe", self.d / "a.fox", self.d / "d.fox")
        self.assertEqual((status, r["before"], r["after"], r["removed"], r["written"]), (0, 3, 2, 1, True))
        self.assertEqual(r["messages"][0]["text"], "Before: 3\nAfter: 2\nRemoved 1 objects.")

    def test_palette_from_text(self):
        for i, case in enumerate(CASES["palette"]):
            with self.subTest(case["why"]):
                d = self.d / str(i)
                d.mkdir()
                if "text" in case:
                    (d / "in.txt").write_bytes(case["text"].encode())
                if "existing" in case:
                    (d / "out.pal").write_bytes(case["existing"].encode())
                before = {p.name: p.read_bytes() for p in d.iterdir()}
                status, r, _ = self.cli("palette-from-text", d / "in.txt", d / "out.pal")
                self.assertEqual((status, r["written"], r["entries"]), (case["status"], case["status"] == 0,
                                                                        case["entries"]))
                self.assertMessages(r["messages"], case["messages"])
                if "error" in case:  # the general error's text names the file and the line
                    self.assertEqual(r["messages"][0]["text"], str(d / case["error"]))
                if "writes" in case:
                    before["out.pal"] = bytes(case["writes"])
                self.assertEqual({p.name: p.read_bytes() for p in d.iterdir()}, before)

    def test_usage_errors(self):
        for args in CASES["usage_errors"]:
            status, r, _ = self.cli(*args)
            self.assertEqual((status, r["messages"], bool(r["error"])), (2, [], True), args)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit("usage: %s /path/to/quillmere-cli [unittest options]" % sys.argv[0])
    CLI = str(pathlib.Path(sys.argv[1]).resolve())
    unittest.main(argv=sys.argv[:1] + sys.argv[2:], verbosity=2)
