// The TALVIK page: inputs, settings, runs and the worker; result_view.js shows the
// results. Every number, record, picture and message about the data comes from the
// analysis module in the worker.
//
// Ids and hooks for tests:
//   #file-input      file chooser (multiple)         #drop-zone   drop zone (Enter opens the chooser)
//   #paste-text      pasted sizes, listed as the file "pasted.txt"
//   #seed #seed-range #plot-level #extra-level #resamples #unit      settings fields;
//     each has its reason beside it in #ID-reason, and aria-invalid="true" when refused
//   #positive-only #largest #compare                 checkboxes
//   #run #cancel     buttons      #progress  <progress>      #status  live status line
//   #files           list of files: li.file[data-file-id][data-file-name][data-state], where
//                    data-state is "reading", "read", "failed", "needs-column", "error"
//                    (the module refused the request) or "fault" (the worker failed on it);
//                    inside: .file-count[data-settlements][data-sizes-read], pre.file-messages,
//                    .as-csv, .separator, .decimal-comma, select.column, .remove
//   #results         one section.analysis[data-analysis-index][data-file][data-file-index]
//                    [data-seed][data-failed] per analysis: h3, table (tr[data-level]),
//                    .sentence, .note, .error, img.graph, ul.downloads a[data-kind][download];
//                    or, with #compare, one section.difference[data-comparison-index][data-file]
//                    [data-file-index][data-reference][data-seed][data-failed] per comparison:
//                    h3, table (tr[data-level]), .sentence, .error;
//                    then section#comparison[data-compare]: img.chart, ul.downloads a[data-kind][download]
//   body[data-busy="true"] while a run is under way; #status[data-state] is "ready",
//   "running", "done", "error", "cancelled" or "fault" (its text then starts
//   "Internal fault: ").
//   The assembled page holds the worker's source in script#talvik-worker and the
//   module in script#talvik-wasm (base64), both type="text/plain".

"use strict";

const byId = (id) => document.getElementById(id);

const ui = {
  fileInput: byId("file-input"),
  dropZone: byId("drop-zone"),
  pasteText: byId("paste-text"),
  files: byId("files"),
  noFiles: byId("no-files"),
  fileTemplate: byId("file-template"),
  unit: byId("unit"),
  positiveOnly: byId("positive-only"),
  largest: byId("largest"),
  compare: byId("compare"),
  run: byId("run"),
  cancel: byId("cancel"),
  progress: byId("progress"),
  status: byId("status"),
};

function setStatus(text, state) {
  ui.status.textContent = text;
  ui.status.dataset.state = state;
}

// ---- The worker ----------------------------------------------------------

// A request the worker was handling when it failed.
class Fault extends Error {}

// A request ended unanswered by Cancel ("cancelled") or by another request's fault.
class Interrupted extends Error {}

function embedded(id) {
  const node = byId(id);
  if (!node) throw new Fault(`this page lacks its analysis module (${id}); open the assembled index.html`);
  return node.textContent;
}

function decodeBase64(text) {
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; i += 1) bytes[i] = binary.charCodeAt(i);
  return bytes;
}

// Runs requests in a worker, one at a time in the order sent; a fault or Cancel
// ends the worker and starts a new one.
class Analyst {
  constructor(onRestart) {
    this.onRestart = onRestart;
    this.wasm = decodeBase64(embedded("talvik-wasm"));
    const source = new Blob([embedded("talvik-worker")], { type: "text/javascript" });
    this.url = URL.createObjectURL(source);
    this.nextId = 1;
    this.pending = new Map();
    this.start();
  }

  start() {
    this.worker = new Worker(this.url, { name: "talvik" });
    this.worker.onmessage = ({ data }) => this.received(data);
    // The worker handles one request at a time: the oldest one pending failed.
    const oldest = () => this.pending.keys().next().value;
    this.worker.onerror = (event) => {
      event.preventDefault();
      this.fault(event.message || "the worker stopped", oldest());
    };
    this.worker.onmessageerror = () => this.fault("a message from the worker could not be read", oldest());
    this.ready = false;
    this.loading = this.request("load", { wasm: this.wasm });
    this.loading.then(() => {
      this.ready = true;
    }, () => {});
  }

  request(op, data = {}, onUpdate = () => {}) {
    const id = this.nextId;
    this.nextId += 1;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, onUpdate });
      this.worker.postMessage({ id, op, ...data });
    });
  }

  received(message) {
    const job = this.pending.get(message.id);
    if (!job) return;
    if ("fault" in message) {
      this.fault(message.fault, message.id);
    } else if ("result" in message) {
      this.pending.delete(message.id);
      job.resolve(message.result);
    } else {
      job.onUpdate(message);
    }
  }

  stopAll(reason, culprit, text) {
    this.worker.terminate();
    const jobs = [...this.pending];
    this.pending.clear();
    for (const [id, job] of jobs) job.reject(id === culprit ? new Fault(text) : new Interrupted(reason));
  }

  // The requests' own handlers run first, so that the new worker is not asked
  // again what made the old one fail.
  restart() {
    this.start();
    setTimeout(this.onRestart, 0);
  }

  // A module that cannot even load would fault again at once: no new worker then.
  fault(text, culprit) {
    this.stopAll("fault", culprit, text);
    setStatus(`Internal fault: ${text}`, "fault");
    if (!this.ready) {
      ui.run.disabled = true;
      return;
    }
    this.restart();
  }

  cancel() {
    this.stopAll("cancelled");
    this.restart();
  }
}

// ---- Settings fields, checked by the module as the user types ----------------

const fields = [
  { id: "seed", option: "seed", optional: false },
  { id: "seed-range", option: "seed", optional: true },
  { id: "plot-level", option: "level", optional: false },
  { id: "extra-level", option: "level", optional: true },
  { id: "resamples", option: "resamples", optional: false },
].map((field) => ({ ...field, input: byId(field.id), reason: byId(`${field.id}-reason`), valid: true, checked: null }));

function showCheck(field, answer) {
  field.valid = answer.ok === true;
  field.reason.textContent = field.valid ? "" : answer.reason ?? answer.error ?? "";
  field.input.setAttribute("aria-invalid", String(!field.valid));
}

function checkField(field) {
  const text = field.input.value;
  field.checked = text.trim() === "" && field.optional
    ? Promise.resolve({ ok: true })
    : analyst.request("check", { option: field.option, text });
  const checked = field.checked;
  return checked.then((answer) => {
    if (field.checked === checked) showCheck(field, answer);
    return field.valid;
  });
}

function debounce(action, wait) {
  let timer = 0;
  return (...args) => {
    clearTimeout(timer);
    timer = setTimeout(() => action(...args), wait);
  };
}

for (const field of fields) {
  const later = debounce(() => checkField(field).catch(() => {}), 200);
  field.input.addEventListener("input", later);
}

// ---- Files ------------------------------------------------------------------

const files = [];
let nextFileId = 1;

function readSettings() {
  return { positiveOnly: ui.positiveOnly.checked, largest: ui.largest.checked };
}

// The column by its name when the header names it once, as a user of
// talvik-batch would give it (--column NAME), so that messages and tables
// match; else by its number.
function csvRequest(file) {
  if (!file.asCsv) return null;
  const name = file.column === null ? "" : file.columns[file.column - 1] ?? "";
  const unique = name !== "" && file.columns.filter((other) => other === name).length === 1;
  return {
    separator: file.separator,
    decimalComma: file.decimalComma,
    column: unique ? name : file.column,
  };
}

function showFileState(file, state, countText, messages) {
  file.element.dataset.state = state;
  file.parts.count.textContent = countText;
  file.parts.messages.textContent = messages;
  file.parts.messages.hidden = messages === "";
}

function showRead(file, read) {
  const count = file.parts.count;
  if (read.error !== undefined) {
    delete count.dataset.settlements;
    delete count.dataset.sizesRead;
    showFileState(file, "error", "Not read.", read.error);
    return;
  }
  count.dataset.settlements = read.settlements;
  count.dataset.sizesRead = read.sizesRead;
  const text = read.failed
    ? "Not read: see the messages below."
    : `Settlements to analyse: ${read.settlements} (sizes read: ${read.sizesRead}).`;
  showFileState(file, read.failed ? "failed" : "read", text, read.messages ?? "");
}

// Reads the file alone in the worker for its counts and messages. A newer
// preview of the same file makes an older answer stale.
async function preview(file) {
  file.generation += 1;
  const generation = file.generation;
  const current = () => generation === file.generation && files.includes(file);
  try {
    if (file.asCsv && file.columns === null) {
      showFileState(file, "reading", "Reading its columns…", "");
      const answer = await analyst.request("columns", { separator: file.separator, bytes: file.bytes });
      if (!current()) return;
      fillColumns(file, answer);
    }
    if (file.asCsv && file.columnsError !== "") {
      showFileState(file, "error", "Its columns could not be read.", file.columnsError);
      return;
    }
    if (file.asCsv && file.column === null) {
      showFileState(file, "needs-column", "Choose the column of sizes.", "");
      return;
    }
    showFileState(file, "reading", "Reading…", "");
    const read = await analyst.request("preview", {
      file: { name: file.name, bytes: file.bytes, csv: csvRequest(file) },
      settings: readSettings(),
    });
    if (current()) showRead(file, read);
  } catch (error) {
    if (error instanceof Fault) {
      showFileState(file, "fault", "Internal fault while reading this file.", error.message);
    } else if (!(error instanceof Interrupted)) {
      throw error;
    }
  }
}

function fillColumns(file, answer) {
  const select = file.parts.column;
  select.replaceChildren(el("option", "", "Choose the column"));
  select.firstChild.value = "";
  file.columns = answer.columns ?? [];
  file.columnsError = answer.error ?? "";
  file.columns.forEach((name, index) => {
    const option = el("option", "", `${index + 1}: ${name}`);
    option.value = String(index + 1);
    select.append(option);
  });
  if (file.column !== null && file.column > file.columns.length) file.column = null;
  select.value = file.column === null ? "" : String(file.column);
}

function isCsvName(name) {
  return /\.(csv|tsv)$/i.test(name);
}

function buildFileElement(file) {
  const element = ui.fileTemplate.content.firstElementChild.cloneNode(true);
  const child = (className) => element.querySelector(`.${className}`);
  const parts = {
    name: child("file-name"),
    count: child("file-count"),
    messages: child("file-messages"),
    asCsv: child("as-csv"),
    options: child("csv-options"),
    separator: child("separator"),
    decimalComma: child("decimal-comma"),
    column: child("column"),
    remove: child("remove"),
  };
  const prefix = `file-${file.id}`;
  const link = (control, labelClass, suffix) => {
    control.id = `${prefix}-${suffix}`;
    child(labelClass).htmlFor = control.id;
  };
  link(parts.asCsv, "as-csv-label", "csv");
  link(parts.separator, "separator-label", "separator");
  link(parts.decimalComma, "decimal-comma-label", "decimal-comma");
  link(parts.column, "column-label", "column");
  parts.name.id = `${prefix}-name`;
  parts.remove.setAttribute("aria-label", `Remove ${file.name}`);
  parts.remove.textContent = file.pasted ? "Remove (clears the pasted sizes)" : "Remove";
  element.dataset.fileId = String(file.id);
  element.dataset.fileName = file.name;
  element.setAttribute("aria-labelledby", parts.name.id);
  parts.name.textContent = file.pasted ? `${file.name} (pasted sizes)` : file.name;

  parts.asCsv.checked = file.asCsv;
  parts.options.hidden = !file.asCsv;
  parts.separator.value = file.separator;
  parts.asCsv.addEventListener("change", () => {
    file.asCsv = parts.asCsv.checked;
    parts.options.hidden = !file.asCsv;
    preview(file);
  });
  parts.separator.addEventListener("change", () => {
    file.separator = parts.separator.value;
    file.columns = null;
    preview(file);
  });
  parts.decimalComma.addEventListener("change", () => {
    file.decimalComma = parts.decimalComma.checked;
    preview(file);
  });
  parts.column.addEventListener("change", () => {
    file.column = parts.column.value === "" ? null : Number(parts.column.value);
    preview(file);
  });
  parts.remove.addEventListener("click", () => removeFile(file, true));
  file.element = element;
  file.parts = parts;
  return element;
}

function addFile(name, bytes, pasted = false) {
  const csv = isCsvName(name);
  const file = {
    id: nextFileId,
    name,
    bytes,
    pasted,
    asCsv: csv,
    separator: /\.tsv$/i.test(name) ? "\t" : ",",
    decimalComma: false,
    column: null,
    columns: null,
    columnsError: "",
    generation: 0,
  };
  nextFileId += 1;
  files.push(file);
  ui.files.append(buildFileElement(file));
  ui.noFiles.hidden = true;
  preview(file);
}

function removeFile(file, moveFocus) {
  const at = files.indexOf(file);
  if (at < 0) return;
  files.splice(at, 1);
  file.element.remove();
  ui.noFiles.hidden = files.length > 0;
  if (file.pasted) {
    ui.pasteText.value = "";
    pastedText = "";
  }
  if (moveFocus) (files[Math.min(at, files.length - 1)]?.parts.remove ?? ui.fileInput).focus();
}

// A dropped folder, or a file gone since it was chosen, cannot be read.
async function addChosenFiles(list) {
  for (const chosen of list) {
    try {
      addFile(chosen.name, new Uint8Array(await chosen.arrayBuffer()));
    } catch (error) {
      setStatus(`${chosen.name} could not be opened: ${error.message}`, "error");
    }
  }
}

ui.fileInput.addEventListener("change", () => {
  addChosenFiles([...ui.fileInput.files]).finally(() => {
    ui.fileInput.value = "";
  });
});

ui.dropZone.addEventListener("click", () => ui.fileInput.click());
ui.dropZone.addEventListener("keydown", (event) => {
  if (event.key === "Enter" || event.key === " ") {
    event.preventDefault();
    ui.fileInput.click();
  }
});
for (const type of ["dragenter", "dragover"]) {
  ui.dropZone.addEventListener(type, (event) => {
    event.preventDefault();
    event.dataTransfer.dropEffect = "copy";
    ui.dropZone.classList.add("dragging");
  });
}
ui.dropZone.addEventListener("dragleave", (event) => {
  if (!ui.dropZone.contains(event.relatedTarget)) ui.dropZone.classList.remove("dragging");
});
ui.dropZone.addEventListener("drop", (event) => {
  event.preventDefault();
  ui.dropZone.classList.remove("dragging");
  addChosenFiles([...event.dataTransfer.files]);
});
// A file dropped beside the zone would otherwise replace the page.
for (const type of ["dragover", "drop"]) {
  document.addEventListener(type, (event) => event.preventDefault());
}

const pastedName = "pasted.txt";

let pastedText = "";

function pastedChanged() {
  const text = ui.pasteText.value;
  if (text === pastedText) return;
  pastedText = text;
  const existing = files.find((file) => file.pasted);
  if (text.trim() === "") {
    if (existing) removeFile(existing, false);
    return;
  }
  const bytes = new TextEncoder().encode(text);
  if (existing) {
    existing.bytes = bytes;
    existing.columns = null;
    preview(existing);
  } else {
    addFile(pastedName, bytes, true);
  }
}
const pastedLater = debounce(pastedChanged, 300);
ui.pasteText.addEventListener("input", pastedLater);

for (const box of [ui.positiveOnly, ui.largest]) {
  box.addEventListener("change", () => files.forEach(preview));
}


// ---- Running ----------------------------------------------------------------

function setBusy(busy) {
  document.body.dataset.busy = String(busy);
  ui.run.disabled = busy;
  ui.cancel.disabled = !busy;
}

function firstProblem() {
  if (files.length === 0) return { text: "Add a size file first.", focus: ui.dropZone };
  const unread = files.find((file) => file.asCsv && file.column === null);
  if (unread) return { text: `Choose the column of sizes of ${unread.name}.`, focus: unread.parts.column };
  if (ui.compare.checked && files.length < 2) {
    return { text: "Add a second file: a comparison needs the reference (the first file) and a file to compare with it.", focus: ui.dropZone };
  }
  const invalid = fields.find((field) => !field.valid);
  if (invalid) return { text: `Correct the settings: ${invalid.reason.textContent}`, focus: invalid.input };
  return null;
}

function runSettings() {
  const value = (id) => byId(id).value.trim();
  return {
    ...readSettings(),
    seeds: value("seed-range") || value("seed"),
    plotLevel: Number(value("plot-level")),
    extraLevel: value("extra-level") === "" ? null : Number(value("extra-level")),
    resamples: Number(value("resamples")),
    unit: ui.unit.value,
    compare: ui.compare.checked,
  };
}

function runUpdate(snapshot, message) {
  if (message.progress) {
    const { stage, index, count, name } = message.progress;
    if (stage === "read") {
      setStatus(`Reading ${name} (file ${index + 1} of ${count})`, "running");
    } else {
      ui.progress.max = count;
      ui.progress.value = index;
      setStatus(`${ui.compare.checked ? "Comparison" : "Analysis"} ${index + 1} of ${count}`, "running");
    }
  } else if (message.partial.read) {
    const file = snapshot[message.partial.read.index];
    if (files.includes(file)) showRead(file, message.partial.read);
  } else if (message.partial.analysis.comparison) {
    showDifference(message.partial.analysis);
  } else {
    showAnalysis(message.partial.analysis);
  }
}

function showRunResult(result) {
  if (result.error !== undefined) {
    showRunError(result.error);
    setStatus(result.error, "error");
    return;
  }
  showComparison(result);
  ui.progress.max = Math.max(result.analyses, 1);
  ui.progress.value = ui.progress.max;
  const what = result.compare ? ["comparison", "comparisons"] : ["analysis", "analyses"];
  setStatus(result.analyses === 1 ? `Done: 1 ${what[0]}.` : `Done: ${result.analyses} ${what[1]}.`, "done");
}

async function run() {
  setBusy(true);
  setStatus("Checking the settings…", "running");
  try {
    pastedChanged();
    await Promise.all(fields.map(checkField));
    const problem = firstProblem();
    if (problem) {
      setStatus(problem.text, "error");
      problem.focus.focus();
      return;
    }
    clearResults();
    ui.progress.removeAttribute("value");
    setStatus("Starting…", "running");
    const snapshot = [...files];
    const request = {
      files: snapshot.map((file) => ({ name: file.name, bytes: file.bytes, csv: csvRequest(file) })),
      settings: runSettings(),
    };
    showRunResult(await analyst.request("run", request, (message) => runUpdate(snapshot, message)));
  } catch (error) {
    if (error instanceof Interrupted && error.message === "cancelled") {
      ui.progress.value = 0;
      setStatus("Cancelled.", "cancelled");
    } else if (!(error instanceof Fault) && !(error instanceof Interrupted)) {
      throw error;
    }
  } finally {
    setBusy(false);
  }
}

ui.run.addEventListener("click", () => {
  run();
});
ui.cancel.addEventListener("click", () => {
  analyst.cancel();
  ui.run.focus();
});

// A new worker has read nothing: every file and field is read and checked again,
// but for files whose reading made a worker fail.
function afterRestart() {
  files.filter((file) => file.element.dataset.state !== "fault").forEach(preview);
  fields.forEach((field) => checkField(field).catch(() => {}));
}

let analyst = null;
try {
  analyst = new Analyst(afterRestart);
  setBusy(false);
  analyst.loading.then(() => setStatus("Ready.", "ready"), () => {});
} catch (error) {
  setStatus(`Internal fault: ${error.message}`, "fault");
  ui.run.disabled = true;
}
