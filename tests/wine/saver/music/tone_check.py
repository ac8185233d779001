"""Checks a recording of the sound server: one tone of a known frequency,
heard for at least a given time, then silence until the recording ends.
Exits non-zero with a reason when the recording does not show that."""
import argparse
import sys

import numpy as np

WINDOW_SECONDS = 0.02
# The tones are generated at half of full scale; silence on a null sink is
# digital zero. Anything between is neither.
TONE_RMS = 0.05


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("raw", help="signed 16-bit little-endian mono samples")
    parser.add_argument("--rate", type=int, required=True)
    parser.add_argument("--frequency", type=float, required=True)
    parser.add_argument("--min-tone", type=float, required=True, help="seconds of tone at least")
    parser.add_argument("--min-silence-after", type=float, required=True, help="seconds of silence at the end")
    args = parser.parse_args()

    samples = np.fromfile(args.raw, dtype="<i2").astype(np.float64) / 32768.0
    window = int(args.rate * WINDOW_SECONDS)
    count = len(samples) // window
    if count == 0:
        return fail("the recording is empty")
    rms = np.sqrt(np.mean(samples[: count * window].reshape(count, window) ** 2, axis=1))
    tone = rms > TONE_RMS
    tone_seconds = tone.sum() * WINDOW_SECONDS
    print(f"recording {count * WINDOW_SECONDS:.2f} s, tone {tone_seconds:.2f} s")
    if not tone.any():
        return fail("no tone was heard")

    # The frequency over every window that carries the tone.
    heard = samples[: count * window].reshape(count, window)[tone].ravel()
    spectrum = np.abs(np.fft.rfft(heard * np.hanning(len(heard))))
    peak = np.fft.rfftfreq(len(heard), 1.0 / args.rate)[np.argmax(spectrum)]
    print(f"tone frequency {peak:.1f} Hz, expected {args.frequency:.1f} Hz")
    if abs(peak - args.frequency) > 0.02 * args.frequency:
        return fail("the tone has the wrong frequency")

    if tone_seconds < args.min_tone:
        return fail(f"the tone lasted {tone_seconds:.2f} s, less than {args.min_tone:.2f} s")

    last = np.nonzero(tone)[0][-1]
    silence_after = (count - 1 - last) * WINDOW_SECONDS
    # The tone stops wherever the player stops it, not on a window boundary:
    # its last few samples may fall into the window after the last loud one,
    # which then reads between silence and tone. Silence is judged from the
    # window after that one; a sound of its own lasts longer than a window.
    quiet = rms[last + 2 :]
    loudest_after = float(quiet.max()) if len(quiet) else 0.0
    print(f"silence after the tone {silence_after:.2f} s (loudest window {loudest_after:.4f})")
    if silence_after < args.min_silence_after:
        return fail("the sound did not stop when it was stopped")
    if loudest_after > 0.01:
        return fail("something was heard after the tone")
    return 0


def fail(reason):
    print(f"tone_check: {reason}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
