#!/usr/bin/env python3
"""Turns the raw results of scripts/bench into figures.

  report.py table RAW [--write FILE]   the table (and, with --write, the whole
                                        BENCHMARKS.md) from the folder RAW
  report.py startup-run LAUNCH STAMPS TIMERLOG
                                        one start of yanra.exe: prints the
                                        nanoseconds from LAUNCH to the first
                                        key press that the hook took; exit
                                        status 1 when that moment cannot be
                                        told within 25 ms (see startup_run)
"""

import json
import os
import statistics
import sys

PACKET = "0xE7"  # the virtual key of a character sent by itself
ENGINE_GOAL_NS = 100
LATENCY_GOAL = 1.2
THROUGHPUT_GOAL = 0.5
SIZE_GOALS = {"zelbo.dll": 32 * 1024, "yanra.exe": 128 * 1024}


def read_lines(path):
    with open(path, encoding="utf-8") as f:
        return [line.split() for line in f if line.strip()]


def timer_log(path):
    return [(int(t), kind, vk) for t, kind, vk in read_lines(path)]


def stamps(path):
    return [(int(t), kind, name) for t, kind, name in read_lines(path)]


def percentile(values, p):
    """Linear between the closest ranks, as most tools compute it."""
    ordered = sorted(values)
    if not ordered:
        return float("nan")
    k = (len(ordered) - 1) * p / 100
    low = int(k)
    high = min(low + 1, len(ordered) - 1)
    return ordered[low] + (ordered[high] - ordered[low]) * (k - low)


# --- Start-up ---

STARTUP_UNCERTAINTY_NS = 25_000_000


def startup_run(launch, tap_stamps, log):
    """The press that the hook first took, after launch; None unless a press
    at most 25 ms before it arrived as typed: Wine may move the focus away for
    a moment as the program hides its window, and the taps sent meanwhile go
    nowhere, so the moment the hook began is known only between the last press
    seen as typed and the first one taken."""
    first = next((t for t, kind, vk in log if t > launch and vk == PACKET and kind == "down"), None)
    if first is None:
        return None
    presses = [t for t, kind, _ in tap_stamps if kind == "keydown" and t < first]
    if not presses:
        return None
    press = presses[-1]
    raw = [t for t, kind, vk in log if launch < t < first and vk == "0x4B" and kind == "down"]
    if not raw:
        return None
    seen = max((p for p in presses if p <= raw[-1]), default=None)
    if seen is None or press - seen > STARTUP_UNCERTAINTY_NS:
        return None
    return press - launch


def startup_figures(raw):
    folder = os.path.join(raw, "startup")
    if not os.path.isdir(folder):
        return None
    log = timer_log(os.path.join(folder, "timer.log"))
    values = []
    for name in sorted(os.listdir(folder)):
        if name.endswith(".launch"):
            run = name[: -len(".launch")]
            with open(os.path.join(folder, name)) as f:
                launch = int(f.read().split()[0])
            ns = startup_run(launch, stamps(os.path.join(folder, run + ".stamps")), log)
            if ns is not None:
                values.append(ns / 1e6)
    return values


# --- Latency ---

def press_latencies(actions, log):
    """For each key press of one typing run, the milliseconds from the press
    to the last key message that arrived before the next key event went out
    (None when none arrived), and how many messages arrived."""
    times = [t for t, _, _ in log]
    result = []
    for i, (t, kind, _) in enumerate(actions):
        if kind != "keydown":
            continue
        end = actions[i + 1][0] if i + 1 < len(actions) else t + 50_000_000
        arrived = [a for a in times if t <= a < end]
        result.append(((arrived[-1] - t) / 1e6 if arrived else None, len(arrived)))
    return result


def latency_figures(raw):
    folder = os.path.join(raw, "latency")
    if not os.path.isfile(os.path.join(folder, "timer.log")):
        return None
    log = timer_log(os.path.join(folder, "timer.log"))
    base, hook = [], []
    presses = nothing_by_design = base_missing = messages_base = messages_hook = 0
    gap_ms = None
    round_number = 1
    while os.path.isfile(os.path.join(folder, "round%d-base.stamps" % round_number)):
        b_actions = stamps(os.path.join(folder, "round%d-base.stamps" % round_number))
        h_actions = stamps(os.path.join(folder, "round%d-hook.stamps" % round_number))
        if gap_ms is None and len(b_actions) > 1:
            gap_ms = (b_actions[-1][0] - b_actions[0][0]) / (len(b_actions) - 1) / 1e6
        b = press_latencies(b_actions, log)
        h = press_latencies(h_actions, log)
        for (bl, bn), (hl, hn) in zip(b, h):
            presses += 1
            messages_base += bn
            messages_hook += hn
            if bl is None:
                base_missing += 1
            if hl is None:
                nothing_by_design += 1
            if bl is not None and hl is not None:
                base.append(bl)
                hook.append(hl)
        round_number += 1
    return {
        "base": base, "hook": hook, "presses": presses, "rounds": round_number - 1,
        "nothing": nothing_by_design, "base_missing": base_missing, "gap_ms": gap_ms,
        "messages_base": messages_base, "messages_hook": messages_hook,
    }


# --- Throughput ---

def throughput_figures(raw):
    path = os.path.join(raw, "throughput.txt")
    if not os.path.isfile(path):
        return None
    result = {}
    for config, nominal, achieved, whole, arrived, expected, lag, key_downs, seconds in read_lines(path):
        entry = result.setdefault(config, [])
        lag = int(lag)
        # The rate at which the text arrived: from the first key sent to the
        # whole text seen in the control.
        arrival = int(key_downs) / (float(seconds) + lag / 1000) if lag >= 0 else None
        entry.append((float(nominal), float(achieved), int(arrived), int(expected), lag, arrival))
    return result


def highest_arrival(rows):
    return max((row[5] for row in rows if row[5] is not None), default=None)


def highest_sent_whole(rows):
    return max((row[1] for row in rows if row[4] >= 0), default=None)


# --- The rest ---

def engine_figures(raw):
    path = os.path.join(raw, "engine.json")
    if not os.path.isfile(path):
        return None
    with open(path) as f:
        data = json.load(f)
    figures = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        per_key = b["cpu_time"] / b["key_downs"]
        wall = b["real_time"] / b["key_downs"]
        figures[b["run_name"]] = {"cpu": per_key, "wall": wall, "repetitions": b.get("repetitions")}
    return figures


def key_values(path):
    values = {}
    if os.path.isfile(path):
        with open(path, encoding="utf-8") as f:
            for line in f:
                if ":" in line:
                    key, value = line.split(":", 1)
                    values[key.strip()] = value.strip()
    return values


def instructions(raw):
    path = os.path.join(raw, "callgrind.txt")
    result = {}
    if os.path.isfile(path):
        for layout, ir, key_downs, passes in read_lines(path):
            result[layout] = int(ir) / (int(key_downs) * int(passes))
    return result


def memory_figures(raw):
    path = os.path.join(raw, "memory.txt")
    if not os.path.isfile(path):
        return None
    result = {}
    for fields in read_lines(path):
        if len(fields) == 4 and fields[3].isdigit():
            result[fields[0]] = (int(fields[2]), int(fields[3]))
    return result


def sizes(raw):
    result = {}
    path = os.path.join(raw, "sizes.txt")
    if os.path.isfile(path):
        for fields in read_lines(path):
            result[fields[0]] = (int(fields[1]), fields[2:])
    return result


def size_steps(raw):
    path = os.path.join(raw, "size-steps.txt")
    return read_lines(path) if os.path.isfile(path) else []


def kib(n):
    return "%.1f KiB" % (n / 1024)


def mib(n):
    return "%.1f MiB" % (n / 1024 / 1024)


def ratio(a, b):
    return "%.2f×" % (a / b) if a is not None and b else "—"


def stands(ok):
    return "**met**" if ok else "**not met**"


def table(raw):
    rows = []
    eng = engine_figures(raw)
    ins = instructions(raw)
    if eng:
        lookup = eng["BM_FloorTableLookup"]["cpu"]
        copy = eng["BM_FloorBufferCopy"]["cpu"]
        for name, label, layout in (("BM_EngineKeys", "keys", "tibetan"),
                                    ("BM_EngineCharacters", "characters (US layout, answers kept)", "us")):
            e = eng[name]
            ir = " (%.0f instructions)" % ins[layout] if layout in ins else ""
            rows.append((
                "Engine: one key-down, key-up included, output as %s; median, native" % label,
                "%.1f ns%s" % (e["cpu"], ir),
                "table lookup %.2f ns; 32-byte copy %.2f ns" % (lookup, copy),
                "%.0f×; %.0f×" % (e["cpu"] / lookup, e["cpu"] / copy),
                "≤ %d ns" % ENGINE_GOAL_NS,
                stands(e["cpu"] <= ENGINE_GOAL_NS)))
    lat = latency_figures(raw)
    if lat and lat["base"]:
        b50, h50 = percentile(lat["base"], 50), percentile(lat["hook"], 50)
        b95, h95 = percentile(lat["base"], 95), percentile(lat["hook"], 95)
        rows.append(("Wine: X key press to its last key message in the window, p50 (%d presses)" % len(lat["base"]),
                     "%.2f ms with the hook" % h50, "%.2f ms without" % b50, ratio(h50, b50),
                     "≤ %.1f×" % LATENCY_GOAL, stands(h50 / b50 <= LATENCY_GOAL)))
        rows.append(("Wine: the same, p95", "%.2f ms with the hook" % h95, "%.2f ms without" % b95,
                     ratio(h95, b95), "—", "—"))
    thr = throughput_figures(raw)
    if thr and "base" in thr and "hook" in thr:
        hb, hh = highest_arrival(thr["base"]), highest_arrival(thr["hook"])
        sb, sh = highest_sent_whole(thr["base"]), highest_sent_whole(thr["hook"])
        expected = thr["base"][0][3]
        ok = hb is not None and hh is not None and hh / hb >= THROUGHPUT_GOAL
        rows.append(("Wine: highest rate at which a burst of real text (%d characters) arrives whole in an EDIT "
                     "control, first key sent to whole text seen" % expected,
                     "%s keys/s with the hook (whole when sent at up to %s)" % (
                         "%.0f" % hh if hh else "none", "%.0f keys/s" % sh if sh else "no rate"),
                     "%s keys/s without (up to %s)" % (
                         "%.0f" % hb if hb else "none", "%.0f keys/s" % sb if sb else "no rate"),
                     ratio(hh, hb), "≥ %.1f×" % THROUGHPUT_GOAL, stands(ok)))
    start = startup_figures(raw)
    if start:
        rows.append(("Wine: start of yanra.exe to its hook taking keys, warm; median of %d" % len(start),
                     "%.0f ms (%.0f–%.0f)" % (statistics.median(start), min(start), max(start)), "—", "—", "—", "—"))
    sz = sizes(raw)
    for name in ("zelbo.dll", "yanra.exe"):
        if name in sz:
            size, imports = sz[name]
            rows.append(("Size of %s: release, stripped, static; imports %s" % (name, ", ".join(imports)),
                         "%s (%d bytes)" % (kib(size), size), "—", "—", "≤ %s" % kib(SIZE_GOALS[name]),
                         stands(size <= SIZE_GOALS[name])))
    mem = memory_figures(raw)
    if mem and "yanra.exe" in mem and "yanra-idle.exe" in mem:
        (yw, yp), (iw, ip) = mem["yanra.exe"], mem["yanra-idle.exe"]
        rows.append(("Wine: working set of yanra.exe, after typing", mib(yw),
                     "%s (a program that does nothing)" % mib(iw), "%s (+%s)" % (ratio(yw, iw), mib(yw - iw)),
                     "—", "—"))
        rows.append(("Wine: private bytes of yanra.exe", mib(yp), "%s (the same program)" % mib(ip),
                     "%s (+%s)" % (ratio(yp, ip), mib(yp - ip)), "—", "—"))
    lines = ["| Figure | Measured | Baseline or floor | Ratio | Goal | Where it stands |",
             "|---|---|---|---|---|---|"]
    lines += ["| " + " | ".join(row) + " |" for row in rows]
    return "\n".join(lines)


def machine_lines(raw):
    m = key_values(os.path.join(raw, "machine.txt"))
    wine = ""
    if os.path.isfile(os.path.join(raw, "wine.txt")):
        with open(os.path.join(raw, "wine.txt")) as f:
            wine = f.read().strip()
    out = []
    for key in ("date", "mode", "machine", "cpu", "cores", "kernel", "load before", "load after",
                "native compiler", "windows compiler", "windows build"):
        if key in m:
            out.append("- %s: %s" % (key, m[key]))
    if wine:
        out.append("- wine: %s" % wine)
    return "\n".join(out)


def details(raw):
    """The particulars behind the table, for BENCHMARKS.md."""
    out = []
    eng = engine_figures(raw)
    if eng:
        out.append("Engine, per key-down (median of %s repetitions; CPU time, with the wall-clock time beside it):"
                   % eng["BM_EngineKeys"]["repetitions"])
        for name, e in eng.items():
            out.append("- %s: %.2f ns CPU, %.2f ns wall" % (name, e["cpu"], e["wall"]))
    lat = latency_figures(raw)
    if lat:
        out.append("")
        out.append("Latency: %d rounds of %d key presses each way, one key event every %.1f ms; %d presses that the "
                   "engine answers with nothing on screen (a vowel a after a consonant, for one) are left out of both "
                   "columns; %d presses without the hook gave no message. Key messages per press: %.2f without the "
                   "hook, %.2f with it."
                   % (lat["rounds"], lat["presses"] // max(lat["rounds"], 1), lat["gap_ms"] or 0, lat["nothing"],
                      lat["base_missing"], lat["messages_base"] / max(lat["presses"], 1),
                      lat["messages_hook"] / max(lat["presses"], 1)))
        if lat["base"]:
            out.append("p50 / p95 / max: without %.2f / %.2f / %.2f ms; with the hook %.2f / %.2f / %.2f ms."
                       % (percentile(lat["base"], 50), percentile(lat["base"], 95), max(lat["base"]),
                          percentile(lat["hook"], 50), percentile(lat["hook"], 95), max(lat["hook"])))
    thr = throughput_figures(raw)
    if thr:
        out.append("")
        out.append("Bursts (nominal rate → rate sent: characters arrived of those expected, when the text was all "
                   "there after the last key went out, and the rate at which it arrived):")
        for config in ("base", "hook"):
            if config not in thr:
                continue
            text = "; ".join("%s → %.0f keys/s: %d/%d, %s" % (
                "max" if n == 0 else "%.0f" % n, a, got, want,
                "all there %d ms after, %.0f keys/s arrived" % (lag, arrival) if lag >= 0 else "never whole")
                for n, a, got, want, lag, arrival in thr[config])
            out.append("- %s: %s" % ("without the hook" if config == "base" else "with the hook", text))
    start = startup_figures(raw)
    if start:
        out.append("")
        out.append("Start-up, each kept start (ms): " + ", ".join("%.0f" % v for v in start))
    mem = memory_figures(raw)
    if mem:
        out.append("")
        out.append("Memory (bytes: working set, private): " +
                   "; ".join("%s %d, %d" % (k, w, p) for k, (w, p) in mem.items()))
    return "\n".join(out)


def size_table(raw):
    steps = size_steps(raw)
    if not steps:
        return ""
    lines = ["| Choices applied (cumulative) | zelbo.dll | yanra.exe |", "|---|---|---|"]
    for fields in steps:
        choices = fields[0] if fields[0] != "-" else "none (MinSizeRel: -Os, static runtime)"
        lines.append("| %s | %d (%s) | %d (%s) |" % (choices.replace(";", " + "), int(fields[1]), kib(int(fields[1])),
                                                     int(fields[2]), kib(int(fields[2]))))
    return "\n".join(lines)


def main(argv):
    if len(argv) >= 2 and argv[1] == "startup-run" and len(argv) == 5:
        ns = startup_run(int(argv[2]), stamps(argv[3]), timer_log(argv[4]))
        if ns is None:
            return 1
        print(ns)
        return 0
    if len(argv) >= 3 and argv[1] == "table":
        raw = argv[2]
        text = table(raw)
        if len(argv) == 5 and argv[3] == "--write":
            template_path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "BENCHMARKS.md.in")
            with open(template_path, encoding="utf-8") as f:
                template = f.read()
            document = (template.replace("@MACHINE@", machine_lines(raw))
                        .replace("@TABLE@", text)
                        .replace("@DETAILS@", details(raw))
                        .replace("@SIZE_STEPS@", size_table(raw)))
            with open(argv[4], "w", encoding="utf-8") as f:
                f.write(document)
        print(machine_lines(raw))
        print()
        print(text)
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
