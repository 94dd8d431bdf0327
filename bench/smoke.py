#!/usr/bin/env python3
"""Short run of the benchmark program: every benchmark must report, and an update step must not allocate."""
import json
import subprocess
import sys


def main():
    bench = sys.argv[1]
    run = subprocess.run([bench, "--benchmark_min_time=0.01", "--benchmark_format=json"],
                         capture_output=True, text=True, timeout=110)
    if run.returncode != 0:
        sys.stderr.write(run.stderr)
        return f"zenthar_bench exited with {run.returncode}"
    # Names carry suffixes such as /iterations:5/manual_time.
    results = {b["name"].split("/")[0]: b for b in json.loads(run.stdout)["benchmarks"]}
    for name in ("BM_Startup", "BM_WorstCaseStep", "BM_WorstCaseFrame", "BM_Session"):
        if name not in results:
            return f"{name} did not report"
        if results[name].get("error_occurred"):
            return f"{name}: {results[name].get('error_message')}"
    step = results["BM_WorstCaseStep"]
    if step["allocs_per_step"] != 0:
        return f"an update step at the worst load allocates: allocs_per_step {step['allocs_per_step']}"
    if step["load_held"] != 1:
        return "the worst-case load did not hold through the steps"
    if not results["BM_WorstCaseFrame"]["draw_calls"] > 0:
        return "the frame issued no draw calls"
    if not results["BM_Session"]["peak_rss_kb"] > 0:
        return "the session reported no resident memory"
    for name, b in results.items():
        counters = {k: v for k, v in b.items() if k.endswith(("_ms", "_per_step", "_per_frame", "_kb", "draw_calls"))}
        print(name, counters)
    return None


if __name__ == "__main__":
    error = main()
    if error:
        print("bench_smoke:", error, file=sys.stderr)
        sys.exit(1)
