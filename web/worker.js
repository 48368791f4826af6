// The Web Worker: owns the analysis module, so that long runs leave the page
// responsive. Messages from the page: {id, op, ...}; answers: {id, result}, the
// module's JSON (which may be {error}); during a run also {id, progress} and
// {id, partial}. A trap or any other failure is answered {id, fault}, after which
// the page starts a fresh worker. assemble_site.py joins talvik_module.js and
// this file into one classic script, without the import below.
import { loadTalvik, Talvik } from "./talvik_module.js";

let talvik = null;

function answer(id, member, value, transfer = []) {
  self.postMessage({ id, [member]: value }, transfer);
}

// Every attachment of a response, as bytes that can be transferred to the page.
function downloads(response) {
  return (response.json.downloads ?? []).map((member) => ({
    kind: member.kind,
    name: member.name,
    bytes: Talvik.attachment(response, member),
  }));
}

function buffers(files) {
  return files.map((file) => file.bytes.buffer);
}

function readRequest(file, settings) {
  return {
    command: "read",
    name: file.name,
    csv: file.csv,
    positiveOnly: settings.positiveOnly,
    largest: settings.largest,
  };
}

// One file read alone, for the counts and messages shown beside it.
function preview({ file, settings }) {
  talvik.call({ command: "reset" });
  return talvik.call(readRequest(file, settings), file.bytes).json;
}

function run(id, { files, settings }) {
  talvik.call({ command: "reset" });
  for (const [index, file] of files.entries()) {
    answer(id, "progress", { stage: "read", index, count: files.length, name: file.name });
    const read = talvik.call(readRequest(file, settings), file.bytes).json;
    answer(id, "partial", { read: { index, ...read } });
  }
  const ran = talvik.call({
    command: "run",
    seeds: settings.seeds,
    plotLevel: settings.plotLevel,
    extraLevel: settings.extraLevel,
    resamples: settings.resamples,
    unit: settings.unit,
    compare: settings.compare,
  }).json;
  if (ran.error !== undefined) return ran;
  for (let index = 0; index < ran.analyses; index += 1) {
    answer(id, "progress", { stage: "analyse", index, count: ran.analyses });
    const response = talvik.call({ command: "analyse", index });
    const files = downloads(response);
    answer(id, "partial", { analysis: { index, ...response.json, downloads: files } }, buffers(files));
  }
  const finish = talvik.call({ command: "finish" });
  if (finish.json.error !== undefined) return finish.json;
  return { analyses: ran.analyses, compare: ran.compare === true, downloads: downloads(finish) };
}

const operations = {
  async load({ wasm }) {
    talvik = await loadTalvik(wasm);
    return {};
  },
  columns: ({ separator, bytes }) => talvik.call({ command: "columns", separator }, bytes).json,
  check: ({ option, text }) => talvik.call({ command: "check", option, text }).json,
  preview,
  run: (data) => run(data.id, data),
};

async function handle(data) {
  const { id, op } = data;
  try {
    const result = await operations[op](data);
    answer(id, "result", result, buffers(result.downloads ?? []));
  } catch (fault) {
    self.postMessage({ id, fault: `${fault.name}: ${fault.message}` });
  }
}

// Requests are handled one after another: none starts while the module loads.
let queue = Promise.resolve();
self.onmessage = ({ data }) => {
  queue = queue.then(() => handle(data));
};
