#!/usr/bin/env python3
"""Turns the outputs bench/run_all.sh collects in WORK_DIR into bench/REPORT.md (on stdout)."""

import datetime
import json
import os
import platform
import sys

TO_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
MONTHS = (2050 - 1901 + 1) * 12


def load_json(path):
    """The JSON in `path`, or None when the file is absent (a skipped peer)."""
    if not os.path.exists(path):
        return None
    with open(path, encoding="utf-8") as f:
        text = f.read().strip()
    return json.loads(text) if text else None


def medians(bench_output):
    """Benchmark name -> its median aggregate (CPU time in ns, rates per second)."""
    result = {}
    for entry in bench_output["benchmarks"]:
        if entry.get("aggregate_name") == "median":
            entry = dict(entry, cpu_ns=entry["cpu_time"] * TO_NS[entry["time_unit"]])
            result[entry["run_name"]] = entry
    return result


def duration(ns):
    """A duration in the unit that keeps it readable."""
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("µs", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def ratio(value):
    return f"{value:,.0f}" if value >= 100 else f"{value:.2g}"


def machine():
    model = "unknown"
    with open("/proc/cpuinfo", encoding="utf-8") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    load = os.getloadavg()[0]
    return (f"{os.cpu_count()} CPUs ({model}), {platform.system()} {platform.release()}; "
            f"load average {load:.2f} at the end of the run")


def lunar_section(ours, icu, js):
    lines = [
        "## Lunar dates",
        "",
        "The peer columns give the peer's time and how many times ours it takes (peer ÷ Taliven).",
        "",
    ]
    header = "| work | Taliven |"
    rule = "|---|---|"
    peers = []
    if icu:
        icu_medians = medians(icu)
        peers.append((f"ICU {icu['context']['icu_version']} Chinese calendar",
                      icu_medians["BM_IcuLunarCode"]["cpu_ns"],
                      icu_medians["BM_IcuLunarCodeOfTheWholeRange"]["cpu_ns"]))
    if js and "skipped" not in js:
        peers.append((f"{js['peer']} (node)", js["per_date_ns"], js["walk_ms"] * 1e6))
    for name, _, _ in peers:
        header += f" {name} | × |"
        rule += "---|---|"
    lines += [header, rule]

    one = ours["BM_GetLunarCode"]["cpu_ns"]
    walk = ours["BM_GetLunarCodeOfTheWholeRange"]["cpu_ns"]
    days = (datetime.date(2050, 12, 31) - datetime.date(1901, 1, 1)).days + 1
    row_one = f"| lunar date of one date | {duration(one)} |"
    row_walk = f"| lunar dates of every date 1901..2050 ({days:,} days) | {duration(walk)} |"
    for _, peer_one, peer_walk in peers:
        row_one += f" {duration(peer_one)} | {ratio(peer_one / one)} |"
        row_walk += f" {duration(peer_walk)} | {ratio(peer_walk / walk)} |"
    blank = " — | |" * len(peers)
    lines += [
        row_one,
        row_walk,
        f"| every text of one date | {duration(ours['BM_AllTextsOfADay']['cpu_ns'])} |{blank}",
        f"| every text of every date 1901..2050 | "
        f"{duration(ours['BM_AllTextsOfTheWholeRange']['cpu_ns'])} |{blank}",
        f"| the almanac of one date | {duration(ours['BM_AlmanacOfADay']['cpu_ns'])} |{blank}",
        f"| the almanac of every date 1901..2050 | "
        f"{duration(ours['BM_AlmanacOfTheWholeRange']['cpu_ns'])} |{blank}",
        "",
    ]
    if icu:
        agreeing, total = int(icu["context"]["agreeing_days"]), int(icu["context"]["days"])
        months = icu["context"]["disagreeing_months"].replace(" ", ", ")
        lines.append(f"ICU gives the same lunar month, day and leap flag as `GetLunarCode` on "
                     f"{agreeing:,} of {total:,} days ({100 * agreeing / total:.1f} %). They differ in "
                     f"{months}: months whose new moon falls near midnight, or whose leap month the "
                     "astronomical rule places elsewhere than the published almanac does.")
        lines.append("")
    if js and "skipped" not in js:
        lines.append(f"{js['peer']} agrees with `GetLunarCode` on {js['spot_check']} check dates "
                     "(leap months, both ends of the range, the months where ICU differs); its one-date "
                     "figure is its walk divided by the days.")
        lines.append("")
    return lines


def pinyin_section(ours, js):
    floor = ours["BM_Memcpy"]["bytes_per_second"]
    rows = [
        ("memcpy of the same buffer (floor)", floor),
        ("Taliven initials", ours["BM_PinyinInitials"]["bytes_per_second"]),
        ("Taliven full syllables", ours["BM_PinyinFullSyllables"]["bytes_per_second"]),
    ]
    if js and "skipped" not in js:
        rows.append((f"{js['peer']} initials (node)", js["bytes"] / (js["ms"] / 1e3)))
    initials = rows[1][1]
    lines = [
        "## Pinyin",
        "",
        "8 MB of GB2312 text (random ideographs of both levels with an ASCII word now and then); "
        "MB = 10^6 bytes of GBK input.",
        "",
        "| work | MB/s | share of the floor | Taliven initials ÷ this |",
        "|---|---|---|---|",
    ]
    for name, rate in rows:
        lines.append(f"| {name} | {rate / 1e6:,.1f} | {100 * rate / floor:.3g} % | "
                     f"{ratio(initials / rate)} |")
    lines.append("")
    return lines


def window_section(ours):
    every = ours["BM_ShowEveryMonth"]["cpu_ns"]
    return [
        "## Calendar window",
        "",
        "| work | Taliven |",
        "|---|---|",
        f"| `ShowMonth`, one month | {duration(every / MONTHS)} |",
        f"| `ShowMonth` of every month 1901-01..2050-12 ({MONTHS:,} months, offscreen) | "
        f"{duration(every)} |",
        "",
    ]


def ics_section(ours):
    whole = ours["BM_IcsWholeRange"]
    return [
        "## Calendar as iCalendar (`taliven-cli ics`)",
        "",
        "| work | Taliven |",
        "|---|---|",
        f"| every festival and solar term 1901-01-01..2050-12-31 ({whole['bytes'] / 1e6:.2f} MB) | "
        f"{duration(whole['cpu_ns'])} |",
        f"| the same with three yearly lunar anniversaries | "
        f"{duration(ours['BM_IcsWholeRangeWithAnniversaries']['cpu_ns'])} |",
        "",
    ]


def startup_section(table):
    return [
        "## Start-up (whole process, Xvfb)",
        "",
        "Wall time from launch to the main window being mapped and the peak resident set size as "
        "GNU time reports it, medians of runs in which the programs take turns. The floors are a "
        "plain 800 x 600 Qt window: empty (`plain`), showing one line of Chinese text "
        "(`plain_text`), making Taliven's start-up fetches through its HTTP client first "
        "(`plain_fetch`), and doing both (`plain_text_fetch`), the two costs any program like "
        "Taliven pays: the fair floor, against which the goal is at most 1.10 in time and memory "
        "with the panes off. `taliven` finds its vendor server unreachable (the panes stay off). "
        "The other rows run the same program with its look-ups answered by the test resolver "
        "(`tests/support/test_resolver.cpp`): a vendor server that answers well, so both panes "
        "show and the window is readied for the web engine before it maps (`good_server`); one "
        "that never answers (`silent_server`); one whose every answer is complete only after 9.5 s "
        "(`slow_server`); and a name server that never answers (`dead_name_server`). Whatever the "
        "server does, the window is to map within 3 s of launch: the start-up fetches have 2.5 s of it.",
        "",
        table.strip(),
        "",
    ]


def hostile_section(figures):
    return [
        "## Hostile pages in the web panes (`hostile_pages`, real engine, Xvfb)",
        "",
        f"A page that spins in a loop for ever, and one that stores 512 MB in its database (medians of "
        f"{figures['runs']} runs); then, once, two pages that write to their console without end, "
        f"and a page as heavy to draw as an ad can make it "
        f"(`tests/e2e/pages/heavy.html`: 2,000 animated boxes with gradients, wide shadows and filters), "
        f"with the program's own CPU (a share of one core) and memory while it shows and once it is replaced.",
        "",
        "| what | figure |",
        "|---|---|",
        f"| nice value of the busy page's renderer (its highest-priority thread) | {figures['renderer_nice']} |",
        f"| the busy renderer's life after its tick replaced the page | {figures['busy_renderer_lifetime_ms']} ms |",
        f"| the program's resident memory with a plain page shown | {figures['rss_before_mb']:.0f} MB |",
        f"| the same while the storing page shows, 512 MB stored | {figures['rss_with_hoard_mb']:.0f} MB |",
        f"| the same 5 s after that page was replaced | {figures['rss_after_mb']:.0f} MB |",
        f"| the program's CPU while a page writes to its console without end (page, frame, uncaught "
        f"errors), over 5 s | {figures['console_cpu_percent']:.1f} % |",
        f"| the same from a worker of the page | {figures['worker_console_cpu_percent']:.1f} % |",
        f"| the program's CPU with a plain page shown, over 5 s | {figures['idle_cpu_percent']:.1f} % |",
        f"| the same while the heavy page shows, over 10 s | {figures['heavy_cpu_percent']:.1f} % |",
        f"| the same in the first second after it was replaced | "
        f"{figures['after_heavy_first_second_cpu_percent']:.1f} % |",
        f"| the same over the 9 s after that | {figures['after_heavy_cpu_percent']:.1f} % |",
        f"| the program's resident memory before the heavy page | {figures['rss_before_heavy_mb']:.0f} MB |",
        f"| the same after it showed for 12 s | {figures['rss_with_heavy_mb']:.0f} MB |",
        f"| the same 10 s after it was replaced | {figures['rss_after_heavy_mb']:.0f} MB |",
        "",
    ]


def main(work):
    calendar = medians(load_json(os.path.join(work, "calendar_bench.json")))
    pinyin = medians(load_json(os.path.join(work, "pinyin_bench.json")))
    window = medians(load_json(os.path.join(work, "calendar_window_bench.json")))
    ics = medians(load_json(os.path.join(work, "ics_bench.json")))
    icu = load_json(os.path.join(work, "icu_lunar_bench.json"))
    js_lunar = load_json(os.path.join(work, "node_lunar.json"))
    js_pinyin = load_json(os.path.join(work, "node_pinyin.json"))
    with open(os.path.join(work, "startup.md"), encoding="utf-8") as f:
        startup = f.read()
    with open(os.path.join(work, "notes"), encoding="utf-8") as f:
        notes = [line.strip() for line in f if line.strip()]
    notes += [f"{js['peer']} skipped: {js['skipped']}." for js in (js_lunar, js_pinyin)
              if js and "skipped" in js]

    lines = [
        "# Benchmark report",
        "",
        f"Written by `bench/run_all.sh` on {datetime.date.today().isoformat()}; {machine()}.",
        "",
        f"Google Benchmark figures are the median CPU time of {calendar['BM_GetLunarCode']['repetitions']} "
        "repetitions; the JavaScript peers "
        "are the median wall time (`process.hrtime.bigint()`) of several runs after a warm-up; "
        "start-up is wall time. Figures, not pass marks: compare them within one report.",
        "",
    ]
    if os.getloadavg()[0] > os.cpu_count():
        lines += ["The load average was above the CPU count at the end of the run: other work may "
                  "have shared the machine, so the figures may be noisier than usual.", ""]
    lines += lunar_section(calendar, icu, js_lunar)
    lines += pinyin_section(pinyin, js_pinyin)
    lines += window_section(window)
    lines += ics_section(ics)
    lines += startup_section(startup)
    lines += hostile_section(load_json(os.path.join(work, "hostile_pages.json")))
    if notes:
        lines += ["## Notes", ""] + [f"- {note}" for note in notes] + [""]
    sys.stdout.write("\n".join(lines))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: report.py WORK_DIR")
    main(sys.argv[1])
