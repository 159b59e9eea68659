"""Holds a velmorand-bench --realtime --json report (on stdin) to what a run
of at least `seconds` on a display of `refresh` Hz (0: none reported) must
show, and prints its figures. Exit status 1 with the reason otherwise."""
import json
import sys

seconds, refresh = float(sys.argv[1]), float(sys.argv[2])
text = sys.stdin.read()
try:
    r = json.loads(text)
except ValueError as e:
    sys.exit(f"FAIL: the report is not JSON ({e}):\n{text}")
i = r["intervals_ms"]
print(f"{i['count']} intervals, median {i['median']:.1f} ms, p99 {i['p99']:.1f} ms, worst {i['worst']:.1f} ms; "
      f"{r['refresh_hz']:.2f} Hz, missed {r['missed_refreshes']}; sections {[s['section'] for s in r['sections']]}")
print(f"NOTE: {r['caveat']}")
problems = []
if r["played_seconds"] < seconds * 0.95 or r["ended_early"]:
    problems.append(f"played {r['played_seconds']} s of {seconds}")
if not 0 < i["median"] <= i["p99"] <= i["worst"] or i["count"] < 1:
    problems.append("the interval statistics are not ordered or missing")
if abs(r["refresh_hz"] - refresh) > 1.5:
    problems.append(f"refresh rate {r['refresh_hz']}, the display's is {refresh}")
if refresh > 0:
    # Every interval longer than a period and a half missed at least one refresh.
    if r["missed_refreshes"] is None or (i["worst"] > 1500 / refresh and r["missed_refreshes"] < 1):
        problems.append(f"missed refreshes {r['missed_refreshes']} with a worst interval of {i['worst']} ms")
if not r["sections"] or any(s["frames"] < 1 or s["gpu_median_ms"] <= 0 for s in r["sections"]):
    problems.append("no GPU times per section")
if not r["caveat"]:
    problems.append("a stand-in's figures are not said to be one's")
if problems:
    sys.exit("FAIL: " + "; ".join(problems) + "\n" + text)
