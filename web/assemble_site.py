#!/usr/bin/env python3
"""Writes the TALVIK page as one self-contained file.

Usage: assemble_site.py SOURCE_DIR WASM_FILE EXAMPLES_DIR OUTPUT_DIR

OUTPUT_DIR/index.html holds the style, the page script (result_view.js, then
page.js, as one script), the worker's source and
the analysis module (base64) inline, under a Content-Security-Policy that lets
the page make no request beyond itself; the example size files are copied to
OUTPUT_DIR/examples/.
"""

import base64
import hashlib
import re
import shutil
import sys
from pathlib import Path

CHARSET = '<meta charset="utf-8">'
STYLE_LINK = '<link rel="stylesheet" href="page.css">'
VIEW_SCRIPT = '<script src="result_view.js"></script>\n'
PAGE_SCRIPT = '<script src="page.js"></script>'
MODULE_IMPORT = re.compile(r'^import \{[^}]*\} from "\./talvik_module\.js";\n', re.MULTILINE)
EXPORT = re.compile(r"^export (?=(async )?function |class |const )", re.MULTILINE)
EXAMPLE_SUFFIXES = {".txt", ".csv", ".tsv"}


def fail(message):
    sys.exit(f"assemble_site.py: {message}")


def read_text(path):
    try:
        return path.read_text(encoding="utf-8")
    except OSError as error:
        fail(f"cannot read {path}: {error.strerror}")


def replace_once(text, old, new, where):
    if text.count(old) != 1:
        fail(f"{where} must hold {old} exactly once")
    return text.replace(old, new)


def inline_safe(text, name):
    # Inside <script> or <style>, these would end the element or start a comment.
    if re.search(r"</(script|style)|<!--", text, re.IGNORECASE):
        fail(f"{name} holds text that cannot stand inside an HTML element")
    return text


def digest(text):
    return base64.b64encode(hashlib.sha256(text.encode("utf-8")).digest()).decode("ascii")


def worker_source(source_dir):
    """The worker as one classic script: the loader without its exports, then the
    worker without its import of the loader. Chromium runs no module worker from
    a blob: URL of a file:// page, and a blob worker can load nothing else."""
    worker, imports = MODULE_IMPORT.subn("", read_text(source_dir / "worker.js"))
    if imports != 1:
        fail("worker.js must import talvik_module.js exactly once")
    loader = EXPORT.sub("", read_text(source_dir / "talvik_module.js"))
    if re.search(r"^(export|import)\b", loader + worker, re.MULTILINE):
        fail("the worker's sources hold an import or export that a classic script cannot")
    return loader + "\n" + worker


def assemble(source_dir, wasm_file, examples_dir, output_dir):
    page = read_text(source_dir / "page.html")
    style = "\n" + inline_safe(read_text(source_dir / "page.css"), "page.css")
    script = ("\n" + inline_safe(read_text(source_dir / "result_view.js"), "result_view.js")
              + "\n" + inline_safe(read_text(source_dir / "page.js"), "page.js"))
    worker = "\n" + inline_safe(worker_source(source_dir), "the worker")
    try:
        wasm = base64.b64encode(wasm_file.read_bytes()).decode("ascii")
    except OSError as error:
        fail(f"cannot read {wasm_file}: {error.strerror}")

    policy = (
        "default-src 'none'; "
        f"script-src 'sha256-{digest(script)}' 'wasm-unsafe-eval'; "
        f"style-src 'sha256-{digest(style)}'; "
        "worker-src blob:; img-src blob: data:; "
        "base-uri 'none'; form-action 'none'"
    )
    # The policy comes first, before anything the page could load.
    meta = f'{CHARSET}\n<meta http-equiv="Content-Security-Policy" content="{policy}">'

    body = (
        f'<script type="text/plain" id="talvik-worker">{worker}</script>\n'
        f'<script type="text/plain" id="talvik-wasm">{wasm}</script>\n'
        f"<script>{script}</script>"
    )
    page = replace_once(page, CHARSET, meta, "page.html")
    page = replace_once(page, STYLE_LINK, f"<style>{style}</style>", "page.html")
    page = replace_once(page, VIEW_SCRIPT, "", "page.html")
    page = replace_once(page, PAGE_SCRIPT, body, "page.html")

    output_dir.mkdir(parents=True, exist_ok=True)
    (output_dir / "index.html").write_text(page, encoding="utf-8")
    examples_out = output_dir / "examples"
    examples_out.mkdir(exist_ok=True)
    copied = 0
    for example in sorted(examples_dir.iterdir()):
        if example.is_file() and example.suffix.lower() in EXAMPLE_SUFFIXES:
            shutil.copyfile(example, examples_out / example.name)
            copied += 1
    if copied == 0:
        fail(f"no example size files in {examples_dir}")


def main(arguments):
    if len(arguments) != 4:
        fail("usage: assemble_site.py SOURCE_DIR WASM_FILE EXAMPLES_DIR OUTPUT_DIR")
    assemble(*(Path(argument) for argument in arguments))


if __name__ == "__main__":
    main(sys.argv[1:])
