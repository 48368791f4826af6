#!/usr/bin/python3
"""The page in headless Chromium, driven as a user would drive it.

Loads the site from file:// and from a static server on 127.0.0.1, gives it
size files through the file chooser, by drop and by pasting, runs the
analyses and clicks every download; each download must be the same bytes as
the native program's output for the same input and settings: the results
and plotting files as talvik writes them, the graphs as talvik-batch --plot
(and so talvik-plot) draws them, the tables and the chart as talvik-batch
writes them; a comparison run's tables and difference chart as talvik-batch
--compare writes them. Also: the warnings and errors shown for bad files, a file name
that is markup shown as text, a refused seed, no request beyond the page's
own files, and screenshots at 360 and 1280 pixels with the results there.

usage: page_browser_test.py SITE_DIR NATIVE_BUILD_DIR SCRATCH_DIR
"""

import functools
import http.server
import json
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select, WebDriverWait

SITE, NATIVE, SCRATCH = (Path(argument).resolve() for argument in sys.argv[1:4])
EXAMPLES = SITE / "examples"
failures = []


def check(holds, what):
    if not holds:
        failures.append(what)
        print(f"FAILED: {what}", file=sys.stderr)


def batch(folder, *arguments):
    """talvik-batch in `folder`; its standard error (status 1 is a failed file)."""
    done = subprocess.run([str(NATIVE / "batch" / "talvik-batch"), *arguments],
                          cwd=folder, capture_output=True)
    if done.returncode not in (0, 1):
        sys.exit(f"talvik-batch {arguments}: {done.stderr.decode()}")
    return done.stderr.decode()


def dialogue(size_file, seed, level):
    """The results and plotting files talvik writes for the file, seed and level."""
    folder = Path(tempfile.mkdtemp(dir=SCRATCH))
    shutil.copyfile(size_file, folder / "s.txt")
    answers = f"s.txt\nr.txt\n{seed}\nY\np.csv\n{level}\n\n"
    subprocess.run([str(NATIVE / "session" / "talvik")], cwd=folder,
                   input=answers.encode(), capture_output=True, check=True)
    return (folder / "r.txt").read_bytes(), (folder / "p.csv").read_bytes()


class StaticServer:
    """The site from a server on 127.0.0.1, as any static server would give it."""

    def __init__(self):
        handler = functools.partial(QuietHandler, directory=str(SITE))
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.origin = f"http://127.0.0.1:{self.server.server_address[1]}"


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *arguments):
        pass


def start_browser(downloads):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync",
                 "--disable-dev-shm-usage", "--window-size=1280,1000",
                 f"--user-data-dir={tempfile.mkdtemp(dir=SCRATCH)}"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"),
                              options=options)
    driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                           {"behavior": "allow", "downloadPath": str(downloads)})
    return driver


class Page:
    def __init__(self, driver, url, downloads):
        self.driver = driver
        self.downloads = downloads
        driver.get(url)
        self.wait_for(lambda d: d.execute_script(
            "return document.readyState === 'complete'"))

    def wait_for(self, condition, seconds=120):
        return WebDriverWait(self.driver, seconds).until(condition)

    def find(self, selector):
        return self.driver.find_element(By.CSS_SELECTOR, selector)

    def find_all(self, selector):
        return self.driver.find_elements(By.CSS_SELECTOR, selector)

    def field(self, name, text):
        element = self.find(f"#{name}")
        element.clear()
        element.send_keys(text)

    def tick(self, name, on):
        box = self.find(f"#{name}")
        if box.is_selected() != on:
            box.click()

    def choose(self, *paths):
        self.find("#file-input").send_keys("\n".join(str(path) for path in paths))
        self.files_settled()

    def drop(self, files):
        """Drops files of these names and bytes on the drop zone."""
        self.driver.execute_script("""
            const transfer = new DataTransfer();
            for (const [name, codes] of arguments[0]) {
              transfer.items.add(new File([new Uint8Array(codes)], name));
            }
            const zone = document.getElementById('drop-zone');
            for (const type of ['dragenter', 'dragover', 'drop']) {
              zone.dispatchEvent(new DragEvent(type, {dataTransfer: transfer,
                                                      bubbles: true, cancelable: true}));
            }""", [[name, list(data)] for name, data in files])
        self.files_settled()

    def files_settled(self):
        self.wait_for(lambda d: all(
            item.get_attribute("data-state") != "reading"
            for item in self.find_all("#files li.file")))

    def file_item(self, name):
        for item in self.find_all("#files li.file"):
            if item.get_attribute("data-file-name") == name:
                return item
        raise AssertionError(f"{name} is not listed")

    def as_csv(self, name, separator, decimal_comma, column):
        item = self.file_item(name)
        as_csv = item.find_element(By.CSS_SELECTOR, ".as-csv")
        if not as_csv.is_selected():
            as_csv.click()
        Select(item.find_element(By.CSS_SELECTOR, ".separator")).select_by_value(separator)
        box = item.find_element(By.CSS_SELECTOR, ".decimal-comma")
        if box.is_selected() != decimal_comma:
            box.click()
        self.wait_for(lambda d: column in [option.text for option in Select(
            self.file_item(name).find_element(By.CSS_SELECTOR, "select.column")).options])
        Select(self.file_item(name).find_element(By.CSS_SELECTOR, "select.column")) \
            .select_by_visible_text(column)
        self.files_settled()

    def run(self):
        for old in self.downloads.iterdir():
            old.unlink()
        self.find("#run").click()
        self.wait_for(lambda d: self.find("#status").get_attribute("data-state")
                      in ("done", "error", "fault"))
        return self.find("#status").get_attribute("data-state")

    def download_all(self):
        """Clicks every download link in turn; the bytes of each by the name
        the page gives it (the browser may save it under another: it replaces
        characters such as < and > in names)."""
        got = {}
        for link in self.find_all("#results a[download]"):
            before = set(self.downloads.iterdir())
            # A real click: downloads that no user asked for are soon blocked.
            link.click()
            deadline = time.time() + 30
            while time.time() < deadline:
                new = [path for path in set(self.downloads.iterdir()) - before
                       if not path.name.endswith(".crdownload")]
                if new and not list(self.downloads.glob("*.crdownload")):
                    got[link.get_attribute("download")] = new[0].read_bytes()
                    break
                time.sleep(0.05)
        return got

    def remove_all_files(self):
        for button in self.find_all("#files .remove"):
            button.click()


def compare_run(case, page, files, arguments, dialogue_seed=None, level=90):
    """Runs the page and compares every download with talvik-batch given the
    same files and `arguments`, and with the dialogue's files when the seed
    is the dialogue's."""
    check(page.run() == "done", f"{case}: the run is done")
    got = page.download_all()
    folder = Path(tempfile.mkdtemp(dir=SCRATCH))
    for path in files:
        shutil.copyfile(path, folder / path.name)
    names = [path.name for path in files]
    batch(folder, *arguments, "-o", "table.csv", "--plot", "plots",
          "--chart", "chart.svg", *names)
    batch(folder, *arguments, "-f", "json", "-o", "table.json", *names)
    expected = {"talvik-table.csv": folder / "table.csv",
                "talvik-table.json": folder / "table.json"}
    if len(names) > 1:
        expected["talvik-chart.svg"] = folder / "chart.svg"
    for plot in (folder / "plots").glob("*"):
        suffix = "_plot.csv" if plot.suffix == ".csv" else "_graph.svg"
        expected[plot.stem + suffix] = plot
    for name, path in expected.items():
        same = got.get(name) == path.read_bytes()
        check(same, f"{case}: {name} as the programs write it")
        if not same:
            # Both kept, to be compared by hand.
            kept = SCRATCH / "differs" / case.replace(" ", "_").replace("/", "_")
            kept.mkdir(parents=True, exist_ok=True)
            (kept / f"{len(failures)}.page").write_bytes(got.get(name, b""))
            shutil.copyfile(path, kept / f"{len(failures)}.programs")
    if dialogue_seed is not None:
        for path in files:
            results, plotting = dialogue(path, dialogue_seed, level)
            check(got.get(f"{path.stem}_results.txt") == results,
                  f"{case}: {path.stem}_results.txt as talvik writes it")
            check(got.get(f"{path.stem}_plot.csv") == plotting,
                  f"{case}: {path.stem}_plot.csv as talvik writes it")
    return got


def own_requests_only(driver, origin):
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"] != "Network.requestWillBeSent":
            continue
        # The browser's own pages (chrome://) are not the page's requests.
        if message["params"].get("documentURL", "").startswith("chrome"):
            continue
        url = message["params"]["request"]["url"]
        check(url.startswith((origin, "blob:", "data:")), f"a request beyond the page: {url}")


def examples_case(page, origin):
    page.choose(EXAMPLES / "sites37.txt", EXAMPLES / "valley.txt")
    check(page.file_item("sites37.txt").find_element(By.CSS_SELECTOR, ".file-count")
          .get_attribute("data-settlements") == "37", "sites37.txt: 37 sizes listed")
    compare_run(f"examples from {origin}", page,
                [EXAMPLES / "sites37.txt", EXAMPLES / "valley.txt"],
                ["--seed", "1234567", "--level", "90"], dialogue_seed=1234567)
    sentences = [element.text for element in page.find_all("#results .sentence")]
    check(any("convex at 90 % confidence, not at 95 %" in text for text in sentences),
          "the valley's sentence reads as the README's")
    graphs = page.find_all("#results img.graph") + page.find_all("#results img.chart")
    check(len(graphs) == 3 and all(page.driver.execute_script(
        "return arguments[0].complete && arguments[0].naturalWidth > 0", image)
        for image in graphs), "two graphs and the chart are drawn")


def screenshots(page):
    for width in (360, 1280):
        page.driver.set_window_size(width, 1000)
        height = page.driver.execute_script("return document.body.scrollHeight")
        page.driver.set_window_size(width, min(height + 100, 12000))
        page.driver.save_screenshot(str(SCRATCH / f"page-{width}.png"))
        overflow = page.driver.execute_script(
            "return document.documentElement.scrollWidth - window.innerWidth")
        check(overflow <= 0, f"nothing wider than the window at {width} px")
    page.driver.set_window_size(1280, 1000)


def real_data_case(page, work):
    zeros = work / "zeros.txt"
    zeros.write_text("1200\n0\n 450\nNaN\n80\n-3\n35\n12\n0.0\n7\n")
    gazetteer = work / "gazetteer.txt"
    gazetteer.write_text("".join(f"{(i * 7919) % 5000 + 1}\n" for i in range(1200)))
    page.drop([(path.name, path.read_bytes()) for path in (zeros, gazetteer)])
    page.field("seed", "7654321")
    page.field("plot-level", "75")
    page.field("extra-level", "85")
    page.field("resamples", "2000")
    page.field("unit", "ha")
    page.tick("positive-only", True)
    page.tick("largest", True)
    compare_run("zeros, NaN and 1200 places, dropped", page, [zeros, gazetteer],
                ["--seed", "7654321", "--level", "75", "--level", "85",
                 "--resamples", "2000", "--unit", "ha", "--positive-only", "--largest"])
    page.remove_all_files()
    for name, text in (("seed", "1234567"), ("plot-level", "90"), ("extra-level", ""),
                       ("resamples", "1000"), ("unit", "")):
        page.field(name, text)
    page.tick("positive-only", False)
    page.tick("largest", False)


def export_case(page, work):
    export = "Ort;Einwohner;Fläche\nAltdorf;12.345,5;3\nBerg;4.120;2\nDamm;NA;1\n" \
             "Eck;987,25;1\nFurt;1.361;2\nHain;640;1\n"
    hostile = work / "<img src=x onerror=alert(1)>.csv"
    plain = work / "gemeinden.csv"
    for path in (hostile, plain):
        path.write_text(export, encoding="utf-8")
    page.choose(plain, hostile)
    for path in (plain, hostile):
        page.as_csv(path.name, ";", True, "2: Einwohner")
    item = page.file_item(hostile.name)
    check(item.find_element(By.CSS_SELECTOR, ".file-name").text == hostile.name,
          "a file name that is markup is shown as its text")
    check(not page.find_all("#files img"), "no element made from a file name")
    messages = page.file_item(plain.name).find_element(By.CSS_SELECTOR, ".file-messages").text
    check("gemeinden.csv:4: warning:" in messages, "the missing value's warning names its line")
    compare_run("German exports with a hostile name", page, [plain, hostile],
                ["--column", "Einwohner", "--separator", ";", "--decimal-comma"])
    page.remove_all_files()


def bad_file_case(page, work):
    bad = work / "asterisks.txt"
    bad.write_text("1200\n*****\n 450\n80\n")
    page.choose(bad, EXAMPLES / "sites37.txt")
    item = page.file_item(bad.name)
    check(item.get_attribute("data-state") == "failed", "a file with asterisks fails")
    stderr = batch(work, bad.name)
    shown = item.find_element(By.CSS_SELECTOR, ".file-messages").text
    check(shown.strip() == stderr.replace("talvik-batch: ", "").strip(),
          "the failed file's messages are talvik-batch's")
    compare_run("a failed file beside a good one", page, [bad, EXAMPLES / "sites37.txt"], [])
    page.remove_all_files()


def comparison_case(page, work):
    """The examples compared, the first the reference, over two seeds: the
    table, the difference chart and their downloads as talvik-batch --compare
    writes them."""
    page.tick("compare", True)
    page.choose(EXAMPLES / "sites37.txt")
    check(page.run() == "error" and "second file" in page.find("#status").text,
          "a comparison of one file is refused with a reason")
    page.choose(EXAMPLES / "valley.txt", EXAMPLES / "lognorm.txt")
    page.field("seed-range", "1234567..1234568")
    page.field("extra-level", "85")
    check(page.run() == "done", "the comparison run is done")
    got = page.download_all()
    sections = page.find_all("#results section.difference")
    check(len(sections) == 4, "a section per file compared and seed")
    check(sections[0].get_attribute("data-reference") == "sites37.txt",
          "the first file is the reference")
    check(sections[0].find_element(By.CSS_SELECTOR, "td.difference").text == "0.269",
          "the valley's difference as the README's")
    check(all(section.find_element(By.CSS_SELECTOR, ".sentence").text.startswith("A(")
              for section in sections), "each comparison reads its difference")
    check(len(page.find_all("#results img.chart")) == 1, "the difference chart is drawn")
    page.driver.set_window_size(1280, min(page.driver.execute_script(
        "return document.body.scrollHeight") + 100, 12000))
    page.driver.save_screenshot(str(SCRATCH / "page-comparison.png"))
    page.driver.set_window_size(1280, 1000)
    folder = Path(tempfile.mkdtemp(dir=SCRATCH))
    names = ["sites37.txt", "valley.txt", "lognorm.txt"]
    for name in names:
        shutil.copyfile(EXAMPLES / name, folder / name)
    arguments = ["--compare", "--seed", "1234567..1234568", "--level", "90", "--level", "85"]
    batch(folder, *arguments, "-o", "comparison.csv", "--chart", "chart.svg", *names)
    batch(folder, *arguments, "-f", "json", "-o", "comparison.json", *names)
    for name, path in (("talvik-comparison.csv", "comparison.csv"),
                       ("talvik-comparison.json", "comparison.json"),
                       ("talvik-comparison-chart.svg", "chart.svg")):
        check(got.get(name) == (folder / path).read_bytes(),
              f"comparison: {name} as talvik-batch --compare writes it")
    page.remove_all_files()
    page.field("seed-range", "")
    page.field("extra-level", "")
    page.tick("compare", False)


def paste_and_seed_case(page, work):
    page.field("paste-text", (EXAMPLES / "valley.txt").read_text())
    page.find("#seed").click()
    page.field("seed", "12x")
    page.find("#plot-level").click()
    page.wait_for(lambda d: page.find("#seed").get_attribute("aria-invalid") == "true")
    check('seed "12x"' in page.find("#seed-reason").text, "a refused seed says why")
    page.field("seed", "1234567")
    page.field("seed-range", "1..3")
    pasted = work / "pasted.txt"
    shutil.copyfile(EXAMPLES / "valley.txt", pasted)
    got = compare_run("pasted sizes over a seed range", page, [pasted], ["--seed", "1..3"])
    folder = Path(tempfile.mkdtemp(dir=SCRATCH))
    shutil.copyfile(pasted, folder / "pasted.txt")
    batch(folder, "--seed", "1..3", "--summary", "-o", "summary.csv", "pasted.txt")
    check(got.get("talvik-summary.csv") == (folder / "summary.csv").read_bytes(),
          "the seed range's summary as talvik-batch --summary writes it")
    page.field("seed-range", "")
    page.field("paste-text", "")


def main():
    SCRATCH.mkdir(parents=True, exist_ok=True)
    downloads = SCRATCH / "downloads"
    downloads.mkdir(exist_ok=True)
    work = SCRATCH / "inputs"
    work.mkdir(exist_ok=True)
    server = StaticServer()
    driver = start_browser(downloads)
    try:
        page = Page(driver, (SITE / "index.html").as_uri(), downloads)
        examples_case(page, "file://")
        own_requests_only(driver, (SITE / "index.html").as_uri())

        page = Page(driver, server.origin + "/index.html", downloads)
        examples_case(page, server.origin)
        screenshots(page)
        page.remove_all_files()
        real_data_case(page, work)
        export_case(page, work)
        bad_file_case(page, work)
        paste_and_seed_case(page, work)
        comparison_case(page, work)
        own_requests_only(driver, server.origin + "/")
        severe = [entry["message"] for entry in driver.get_log("browser")
                  if entry["level"] == "SEVERE"]
        check(not severe, f"no errors in the console: {severe}")
    finally:
        driver.quit()
        server.server.shutdown()
    if failures:
        sys.exit(f"{len(failures)} checks failed")
    print("page_browser_test: every download is the programs' bytes")


if __name__ == "__main__":
    main()
