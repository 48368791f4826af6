#!/usr/bin/python3
"""How fast the web page analyses 1000 settlements, beside the native programs.

In headless Chromium, the page's own worker (its source and module taken from
the assembled index.html) runs one analysis of 1000 lognormal sizes as the
page does (read, bootstrap of 1000 resamples, results and plotting files, the
graph, the tables), timed with performance.now() around each run. Natively,
the same analysis by talvik-batch with --plot (a whole process, its start
included), and talvik_bench's fast bootstrap of 1000 settlements (the
bootstrap alone), beside the page's bootstrap alone: its run with 2000
resamples less its run with 1000. Prints the medians and the ratios.

usage: tools/web_bench.py SITE_DIR NATIVE_BUILD_DIR [RUNS]   (default 21)
"""

import json
import random
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

site, native = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
runs = int(sys.argv[3]) if len(sys.argv) > 3 else 21

generator = random.Random(1000)
sizes = "".join(f"{generator.lognormvariate(3, 1.2):.2f}\n" for _ in range(1000))
work = Path(tempfile.mkdtemp())
(work / "sizes.txt").write_text(sizes)

options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for flag in ("--headless=new", "--no-sandbox", "--disable-gpu",
             "--disable-background-networking", "--no-first-run",
             f"--user-data-dir={work / 'profile'}"):
    options.add_argument(flag)
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
driver.set_script_timeout(600)
try:
    driver.get((site / "index.html").as_uri())
    page_times = driver.execute_async_script("""
        const [sizes, runs, done] = arguments;
        const text = (id) => document.getElementById(id).textContent;
        const wasm = Uint8Array.from(atob(text('talvik-wasm').trim()), (c) => c.charCodeAt(0));
        const worker = new Worker(URL.createObjectURL(
            new Blob([text('talvik-worker')], {type: 'text/javascript'})));
        let next = 0;
        const call = (message) => new Promise((resolve) => {
          const id = ++next;
          worker.onmessage = ({data}) => {
            if (data.id === id && ('result' in data || 'fault' in data)) resolve(data);
          };
          worker.postMessage({id, ...message});
        });
        const bytes = new TextEncoder().encode(sizes);
        (async () => {
          await call({op: 'load', wasm});
          const times = {1000: [], 2000: []};
          for (let i = 0; i < 2 * runs; i += 1) {
            const resamples = i % 2 ? 2000 : 1000;
            const settings = {seeds: '1234567', plotLevel: 90, extraLevel: null,
                              resamples, unit: '', positiveOnly: false, largest: false};
            const files = [{name: 'sizes.txt', csv: null, bytes: bytes.slice()}];
            const start = performance.now();
            const answer = await call({op: 'run', files, settings});
            times[resamples].push(performance.now() - start);
            if ('fault' in answer) { done(String(answer.fault)); return; }
          }
          done(times);
        })();""", sizes, runs)
finally:
    driver.quit()
if not isinstance(page_times, dict):
    sys.exit(f"web_bench.py: the page failed: {page_times}")

batch_times = []
for _ in range(runs):
    start = time.perf_counter()
    subprocess.run([str(native / "batch" / "talvik-batch"), "--plot", "plots",
                    "-o", "table.csv", "sizes.txt"], cwd=work, check=True)
    batch_times.append((time.perf_counter() - start) * 1000)

bench = subprocess.run([str(native / "analysis" / "talvik_bench"),
                        "--benchmark_filter=^fastBootstrap/1000$",
                        "--benchmark_format=json"], capture_output=True, check=True)
bootstrap = json.loads(bench.stdout)["benchmarks"][0]
bootstrap_ms = bootstrap["real_time"] * {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[bootstrap["time_unit"]]

page_ms = statistics.median(page_times["1000"])
page_bootstrap_ms = statistics.median(page_times["2000"]) - page_ms
batch_ms = statistics.median(batch_times)
print(f"page, one analysis of 1000 settlements:  {page_ms:8.2f} ms (median of {runs})")
print(f"talvik-batch --plot, the same, a process: {batch_ms:8.2f} ms  page / native: {page_ms / batch_ms:.2f}")
print(f"talvik_bench fastBootstrap/1000:          {bootstrap_ms:8.2f} ms")
print(f"page, 1000 resamples more:                {page_bootstrap_ms:8.2f} ms  page / talvik_bench: {page_bootstrap_ms / bootstrap_ms:.2f}")
