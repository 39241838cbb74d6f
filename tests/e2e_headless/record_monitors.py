"""Records the radio and tv monitors on one timeline until SIGINT/SIGTERM.

    record_monitors.py OUTDIR

Two separate recorders start and buffer differently, so their files cannot be
lined up afterwards. Here one process reads both streams and stamps every block
with the moment it arrived: a block's arrival minus the audio before its end is
the stream's start plus the delivery latency, and the smallest such value over a
recording is its start on this machine's monotonic clock. Writes radio.wav,
tv.wav and origins.json (each stream's start in seconds); keeps the number of
clicks heard on the tv so far in tv_clicks, so the caller can wait for them.
"""
import array
import json
import os
import selectors
import signal
import subprocess
import sys
import time
import wave

RATE = 44100
BYTES_PER_FRAME = 2  # 16-bit mono
# A click: a sample this loud, at least this long after the previous click.
CLICK_LEVEL = 8000
CLICK_GAP_SECONDS = 0.3
CLICK_GAP = int(CLICK_GAP_SECONDS * RATE)


class ClickCounter:
    """Counts clicks in a stream as it arrives (the same rule the measurement uses)."""

    def __init__(self):
        self.count, self.scanned, self.last = 0, 0, -CLICK_GAP - 1

    def scan(self, data):
        whole = len(data) // BYTES_PER_FRAME
        values = array.array("h", bytes(data[self.scanned * BYTES_PER_FRAME: whole * BYTES_PER_FRAME]))
        for i, v in enumerate(values, start=self.scanned):
            if abs(v) >= CLICK_LEVEL and i - self.last > CLICK_GAP:
                self.count += 1
                self.last = i
        self.scanned = whole


def main():
    out = sys.argv[1]
    stop = False

    def on_signal(*_):
        nonlocal stop
        stop = True

    signal.signal(signal.SIGINT, on_signal)
    signal.signal(signal.SIGTERM, on_signal)

    streams = {}
    selector = selectors.DefaultSelector()
    for name in ("radio", "tv"):
        proc = subprocess.Popen(
            ["parec", "--raw", "--latency-msec=10", f"--device={name}.monitor",
             "--format=s16le", f"--rate={RATE}", "--channels=1"],
            stdout=subprocess.PIPE, stdin=subprocess.DEVNULL)
        os.set_blocking(proc.stdout.fileno(), False)
        streams[name] = {"proc": proc, "data": bytearray(), "origin": None}
        selector.register(proc.stdout, selectors.EVENT_READ, name)

    # Ready once both streams deliver: the caller waits for this file.
    ready_path = os.path.join(out, "recording")
    tv_clicks = ClickCounter()
    reported = -1
    while not stop:
        for key, _ in selector.select(timeout=0.1):
            stream = streams[key.data]
            chunk = key.fileobj.read()
            arrived = time.monotonic()
            if not chunk:
                stop = True
                continue
            stream["data"] += chunk
            origin = arrived - (len(stream["data"]) // BYTES_PER_FRAME) / RATE
            if stream["origin"] is None or origin < stream["origin"]:
                stream["origin"] = origin
        tv_clicks.scan(streams["tv"]["data"])
        if tv_clicks.count != reported:
            reported = tv_clicks.count
            with open(os.path.join(out, "tv_clicks.tmp"), "w") as f:
                f.write(str(reported))
            os.replace(os.path.join(out, "tv_clicks.tmp"), os.path.join(out, "tv_clicks"))
        if not os.path.exists(ready_path) and all(s["data"] for s in streams.values()):
            open(ready_path, "w").close()

    for name, stream in streams.items():
        stream["proc"].terminate()
        stream["proc"].wait()
        data = stream["data"][: len(stream["data"]) // BYTES_PER_FRAME * BYTES_PER_FRAME]
        with wave.open(os.path.join(out, f"{name}.wav"), "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(BYTES_PER_FRAME)
            w.setframerate(RATE)
            w.writeframes(bytes(data))
    with open(os.path.join(out, "origins.json"), "w") as f:
        json.dump({name: s["origin"] for name, s in streams.items()}, f)


if __name__ == "__main__":
    main()
