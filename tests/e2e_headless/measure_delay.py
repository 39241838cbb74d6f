"""Finds the clicks in the radio and tv recordings and checks the delay between them.

    measure_delay.py WORKDIR DELAY

WORKDIR holds radio.wav, tv.wav and origins.json from record_monitors.py, the
program's capture.wav and its output, program.out.
"""
import json
import os
import statistics
import struct
import sys
import wave

from record_monitors import CLICK_GAP_SECONDS, CLICK_LEVEL


def samples(path):
    with wave.open(path, "rb") as w:
        rate, channels, width = w.getframerate(), w.getnchannels(), w.getsampwidth()
        frames = w.readframes(w.getnframes())
    if width != 2:
        raise SystemExit(f"{path}: expected 16-bit samples, got {width * 8}")
    values = struct.unpack("<%dh" % (len(frames) // 2), frames)
    return rate, values[::channels]


def onsets(path, threshold=CLICK_LEVEL, gap=CLICK_GAP_SECONDS):
    rate, values = samples(path)
    found, last = [], -1e9
    for i, v in enumerate(values):
        t = i / rate
        if abs(v) >= threshold and t - last > gap:
            found.append(t)
            last = t
    return found


def main():
    work, delay = sys.argv[1], float(sys.argv[2])
    radio_path, tv_path = os.path.join(work, "radio.wav"), os.path.join(work, "tv.wav")
    capture_path = os.path.join(work, "capture.wav")
    with open(os.path.join(work, "origins.json")) as f:
        origins = json.load(f)
    radio, tv = onsets(radio_path), onsets(tv_path)
    print(f"clicks: radio {len(radio)}, tv {len(tv)}")
    ok = True
    if len(radio) != 10 or len(tv) != 10:
        print("FAIL: expected 10 clicks on each side, each heard once")
        ok = False
    elif any(b <= a for a, b in zip(tv, tv[1:])):
        print("FAIL: the tv clicks are out of order")
        ok = False
    # Both recordings' starts on the recorder's clock put them on one timeline.
    offset = origins["tv"] - origins["radio"]
    delays = [b + offset - a for a, b in zip(radio, tv)]
    if delays:
        mean = statistics.mean(delays)
        spread = max(delays) - min(delays)
        print(f"heard delay: mean {mean:.3f} s, spread {spread * 1000:.0f} ms "
              f"(min {min(delays):.3f}, max {max(delays):.3f}) for a delay of {delay:.2f} s")
        if not (delay <= min(delays) and max(delays) <= delay + 0.5):
            print(f"FAIL: the delay heard must lie in {delay:.2f} s .. {delay + 0.5:.2f} s")
            ok = False
    # Every over- or underrun at a sound card is a gap the listener hears.
    with open(os.path.join(work, "program.out")) as f:
        report = f.read()
    for clean in ("recording: 0 overruns at the sound card",
                  "playback: 0 underruns at the sound card, 0 bytes dropped at its input"):
        if clean not in report:
            print(f"FAIL: expected \"{clean}\" in the program's report")
            ok = False
    captured = onsets(capture_path)
    rate, values = samples(capture_path)
    if captured and radio:
        # Where the saved recording begins on the same timeline, from its first click.
        with open(os.path.join(work, "launched")) as f:
            launched = float(f.read())
        first_sample = origins["radio"] + radio[0] - captured[0]
        print(f"recording's first sample: {first_sample - launched:.3f} s after the launch")
    print(f"saved WAV: {len(values) / rate:.2f} s at {rate} Hz with {len(captured)} clicks")
    if len(captured) != 10:
        print("FAIL: the saved WAV must hold the 10 clicks")
        ok = False
    print("1 passed, 0 failed" if ok else "0 passed, 1 failed")
    sys.exit(0 if ok else 1)


main()
