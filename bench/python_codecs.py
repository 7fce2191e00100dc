#!/usr/bin/env python3
"""CPython's codecs beside utf_convert (tools/bench.sh runs both).

  python_codecs.py generate FILE MEGABYTES
      writes mixed text (Latin, Greek, Cyrillic, CJK, symbols, markup-like
      ASCII; no surrogates) as UTF-16LE, MEGABYTES * 10^6 bytes.
  python_codecs.py to-utf8|to-utf7|from-utf8|from-utf7 IN OUT [--time REPEATS]
      converts as utf_convert does and, with --time, prints "cold S cold-cpu S"
      for the first conversion in this process and "warm S warm-cpu S" for
      the median of REPEATS more (to stderr): wall-clock and this thread's
      processor seconds of the conversion alone, from the text in memory to
      the result (freeing a result is not timed).
"""
import random
import sys
import time

LINES = [
    "The quick brown fox jumps over the lazy dog; 1 + 1 = 2 (usually).",
    "Setup.exe /s /v\"/qn INSTALLDIR=C:\\Program Files\\Demo\" ~ 50% done!",
    "<a href=\"setup.htm\">Install</a> & {read} [me] -- #42 @home $5 ^_^ |x|",
    "Gr\u00fc\u00dfe aus M\u00fcnchen: \u00c4pfel, \u00d6l und S\u00fc\u00dfes f\u00fcr 3,50 \u20ac.",
    "Cr\u00e8me br\u00fbl\u00e9e, na\u00efve fa\u00e7ade, \u00e0 la carte, d\u00e9j\u00e0 vu \u00ab oui \u00bb.",
    "\u0391\u03c5\u03c4\u03cc \u03b5\u03af\u03bd\u03b1\u03b9 \u03ad\u03bd\u03b1 \u03b4\u03bf\u03ba\u03b9\u03bc\u03b1\u03c3\u03c4\u03b9\u03ba\u03cc \u03ba\u03b5\u03af\u03bc\u03b5\u03bd\u03bf.",
    "\u042d\u0442\u043e \u043f\u0440\u043e\u0431\u043d\u044b\u0439 \u0442\u0435\u043a\u0441\u0442 \u0434\u043b\u044f \u043c\u0435\u043d\u044e \u043a\u043e\u043c\u043f\u0430\u043a\u0442-\u0434\u0438\u0441\u043a\u0430.",
    "\u8fd9\u662f\u4e00\u4e2a\u5149\u76d8\u81ea\u52a8\u8fd0\u884c\u83dc\u5355\u7684\u793a\u4f8b\u6587\u672c\u3002",
    "\u3053\u308c\u306f\u30c6\u30b9\u30c8\u7528\u306e\u30e1\u30cb\u30e5\u30fc\u3067\u3059\u3002\u30a4\u30f3\u30b9\u30c8\u30fc\u30eb\uff01",
    "\ud55c\uad6d\uc5b4 \uba54\ub274 \ud14c\uc2a4\ud2b8 \ubb38\uc7a5\uc785\ub2c8\ub2e4.",
    "Price: 10\u20ac \u2013 \u201cquoted\u201d \u2192 next \u2022 item \u2122 \u00a9 2026\t\u00bd",
    "Readme.txt\tLicense.rtf\tDrivers\\x64\\setup.inf\t\u00bfQu\u00e9 tal? \u00a1Hola!",
]


def generate(name, megabytes):
    rng = random.Random(20261209)
    units = megabytes * 1000000 // 2
    parts, count = [], 0
    while count < units:
        line = rng.choice(LINES) + "\r\n"
        parts.append(line)
        count += len(line)
    # Ends with a line end, so that no base64 run is open at the end.
    text = "".join(parts)[:units - 2] + "\r\n"
    with open(name, "wb") as f:
        f.write(text.encode("utf-16-le"))


def main():
    args = sys.argv[1:]
    if len(args) == 3 and args[0] == "generate":
        generate(args[1], int(args[2]))
        return 0
    if len(args) not in (3, 5) or (len(args) == 5 and args[3] != "--time"):
        print(__doc__, file=sys.stderr)
        return 2
    mode, source, target = args[:3]
    repeats = int(args[4]) if len(args) == 5 else 0
    with open(source, "rb") as f:
        data = f.read()
    if mode.startswith("to-"):
        data = data.decode("utf-16-le")
        codec = {"to-utf8": "utf-8", "to-utf7": "utf-7"}[mode]
        convert = lambda: data.encode(codec)
    else:
        codec = {"from-utf8": "utf-8", "from-utf7": "utf-7"}[mode]
        convert = lambda: data.decode(codec)
    cpu_start, start = time.thread_time(), time.perf_counter()
    first = convert()
    cold = time.perf_counter() - start, time.thread_time() - cpu_start
    warm, again = [], None
    for _ in range(repeats):
        again = None
        cpu_start, start = time.thread_time(), time.perf_counter()
        again = convert()
        warm.append((time.perf_counter() - start, time.thread_time() - cpu_start))
    del again
    if len(args) == 5:
        print("cold %.6f cold-cpu %.6f" % cold, file=sys.stderr)
        if warm:
            middle = len(warm) // 2
            print("warm %.6f warm-cpu %.6f" % (sorted(w for w, _ in warm)[middle],
                                                 sorted(c for _, c in warm)[middle]), file=sys.stderr)
    with open(target, "wb") as f:
        f.write(first.encode("utf-16-le") if mode.startswith("from-") else first)
    return 0


if __name__ == "__main__":
    sys.exit(main())
