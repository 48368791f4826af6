// The module under Node.js against talvik-batch: a few hundred random size
// files, in groups that share the settings a page user picks (seed or seed
// range, plot and extra level, resamples, left-out sizes, the largest 1000),
// each group analysed by the module as the page's worker does and by one
// talvik-batch call with the same settings. The tables (CSV and JSON), the
// chart, every plotting file and every graph must be the same bytes. Then
// groups of comparisons, each against talvik-batch --compare: both tables and
// the difference chart, one group with a reference that cannot be read.
//
//   node web/page_module_test.mjs MODULE.wasm TALVIK-BATCH SCRATCH [FILES]
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { loadTalvik, Talvik } from "./talvik_module.js";

const [wasmPath, batch, scratch, fileCountText = "300"] = process.argv.slice(2);
const fileCount = Number(fileCountText);
const groupSize = 25;

// A small seeded generator, so that a failure can be run again.
let state = 20261209;
function random() {
  state = (state + 0x6d2b79f5) | 0;
  let t = Math.imul(state ^ (state >>> 15), 1 | state);
  t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
  return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}
const pick = (list) => list[Math.floor(random() * list.length)];
const normal = () => Math.sqrt(-2 * Math.log(1 - random())) * Math.cos(2 * Math.PI * random());

// One size as people write them, now and then a value without a logarithm.
function sizeText(sigma) {
  const odd = random();
  if (odd < 0.01) return pick(["0", "-3", "NaN", "0.0"]);
  const size = Math.exp(3 + sigma * normal());
  switch (pick(["whole", "decimal", "exponent", "padded"])) {
    case "whole": return String(Math.max(1, Math.round(size)));
    case "decimal": return size.toFixed(pick([1, 2, 3]));
    case "exponent": return size.toExponential(3);
    default: return "  " + size.toFixed(1) + " ";
  }
}

function sizeFile() {
  const count = random() < 0.05 ? 1000 + Math.floor(random() * 300) : 1 + Math.floor(random() ** 2 * 400);
  const sigma = 0.3 + random() * 1.5;
  const lines = [];
  for (let i = 0; i < count; i += 1) lines.push(sizeText(sigma));
  return lines.join(pick(["\n", "\r\n"])) + (random() < 0.8 ? "\n" : "");
}

function groupSettings(group) {
  const plotLevel = pick([90, 90, 95, 75, 50]);
  return {
    seeds: group % 6 === 5 ? `${1 + group}..${3 + group}` : String(pick([1234567, 7654321, 1000001, 2.5, 99])),
    plotLevel,
    extraLevel: random() < 0.5 ? pick([60, 85, 97, plotLevel]) : null,
    resamples: group % 4 === 3 ? 2000 : 1000,
    positiveOnly: random() < 0.5,
    largest: random() < 0.5,
    unit: random() < 0.3 ? "ha" : "",
  };
}

function batchArguments(settings) {
  const args = ["--seed", settings.seeds, "--level", String(settings.plotLevel)];
  if (settings.extraLevel !== null) args.push("--level", String(settings.extraLevel));
  if (settings.resamples !== 1000) args.push("--resamples", String(settings.resamples));
  if (settings.positiveOnly) args.push("--positive-only");
  if (settings.largest) args.push("--largest");
  if (settings.unit) args.push("--unit", settings.unit);
  return args;
}

let failures = 0;
let comparisons = 0;
function same(what, expected, found) {
  comparisons += 1;
  if (Buffer.compare(Buffer.from(expected), Buffer.from(found)) === 0) return;
  failures += 1;
  console.error(`differs: ${what}`);
}

function runBatch(folder, args) {
  try {
    execFileSync(batch, args, { cwd: folder, stdio: ["ignore", "ignore", "ignore"] });
  } catch (error) {
    if (error.status !== 1) throw error;  // 1: some analysis failed, as it may
  }
}

const talvik = await loadTalvik(fs.readFileSync(wasmPath));
let analyses = 0;
for (let group = 0; group * groupSize < fileCount; group += 1) {
  const folder = path.join(scratch, `group${group}`);
  fs.rmSync(folder, { recursive: true, force: true });
  fs.mkdirSync(folder, { recursive: true });
  const settings = groupSettings(group);
  const names = [];
  talvik.call({ command: "reset" });
  for (let i = 0; i < groupSize && group * groupSize + i < fileCount; i += 1) {
    const name = `f${group * groupSize + i}.txt`;
    const bytes = Buffer.from(sizeFile());
    fs.writeFileSync(path.join(folder, name), bytes);
    names.push(name);
    const read = talvik.call({ command: "read", name, csv: null, positiveOnly: settings.positiveOnly, largest: settings.largest }, bytes);
    if (read.json.error) throw new Error(`read ${name}: ${read.json.error}`);
  }
  const run = talvik.call({ command: "run", seeds: settings.seeds, plotLevel: settings.plotLevel, extraLevel: settings.extraLevel, resamples: settings.resamples, unit: settings.unit });
  if (run.json.error) throw new Error(`run: ${run.json.error}`);
  const plots = new Map();
  for (let index = 0; index < run.json.analyses; index += 1) {
    const answer = talvik.call({ command: "analyse", index });
    for (const member of answer.json.downloads) plots.set(member.name, Talvik.attachment(answer, member));
  }
  analyses += run.json.analyses;
  const finish = talvik.call({ command: "finish" });
  const downloads = new Map(finish.json.downloads.map((member) => [member.kind, Talvik.attachment(finish, member)]));

  const args = batchArguments(settings);
  runBatch(folder, [...args, "-o", "table.csv", "--plot", "plots", ...(downloads.has("chart") ? ["--chart", "chart.svg"] : []), ...names]);
  runBatch(folder, [...args, "-f", "json", "-o", "table.json", ...names]);
  same(`group ${group} table.csv`, fs.readFileSync(path.join(folder, "table.csv")), downloads.get("csv"));
  same(`group ${group} table.json`, fs.readFileSync(path.join(folder, "table.json")), downloads.get("json"));
  if (downloads.has("chart")) same(`group ${group} chart.svg`, fs.readFileSync(path.join(folder, "chart.svg")), downloads.get("chart"));
  for (const [name, bytes] of plots) {
    const stem = name.replace(/_(results\.txt|plot\.csv|graph\.svg)$/, "");
    if (name.endsWith("_plot.csv")) same(`${name}`, fs.readFileSync(path.join(folder, "plots", `${stem}.csv`)), bytes);
    if (name.endsWith("_graph.svg")) same(`${name}`, fs.readFileSync(path.join(folder, "plots", `${stem}.svg`)), bytes);
  }
}
// The comparisons of every file after the first with the first.
const compareGroups = 6;
let compared = 0;
for (let group = 0; group < compareGroups; group += 1) {
  const folder = path.join(scratch, `compare${group}`);
  fs.rmSync(folder, { recursive: true, force: true });
  fs.mkdirSync(folder, { recursive: true });
  const settings = { ...groupSettings(group), unit: "" };
  const names = [];
  talvik.call({ command: "reset" });
  for (let i = 0; i < 2 + (group % 4); i += 1) {
    const name = `c${i}.txt`;
    const unreadable = (group === 2 && i === 0) || (group === 4 && i === 2);
    const bytes = Buffer.from(unreadable ? "" : sizeFile());
    fs.writeFileSync(path.join(folder, name), bytes);
    names.push(name);
    talvik.call({ command: "read", name, csv: null, positiveOnly: settings.positiveOnly, largest: settings.largest }, bytes);
  }
  const run = talvik.call({ command: "run", compare: true, seeds: settings.seeds, plotLevel: settings.plotLevel, extraLevel: settings.extraLevel, resamples: settings.resamples, unit: "" });
  if (run.json.error) throw new Error(`compare run: ${run.json.error}`);
  for (let index = 0; index < run.json.analyses; index += 1) {
    const answer = talvik.call({ command: "analyse", index });
    if (answer.json.comparison !== true || answer.json.error === undefined) throw new Error(`compare ${index}: ${JSON.stringify(answer.json)}`);
  }
  compared += run.json.analyses;
  const finish = talvik.call({ command: "finish" });
  const downloads = new Map(finish.json.downloads.map((member) => [member.kind, Talvik.attachment(finish, member)]));
  const args = ["--compare", ...batchArguments(settings)];
  runBatch(folder, [...args, "-o", "comparison.csv", "--chart", "chart.svg", ...names]);
  runBatch(folder, [...args, "-f", "json", "-o", "comparison.json", ...names]);
  same(`compare ${group} comparison.csv`, fs.readFileSync(path.join(folder, "comparison.csv")), downloads.get("csv"));
  same(`compare ${group} comparison.json`, fs.readFileSync(path.join(folder, "comparison.json")), downloads.get("json"));
  same(`compare ${group} chart.svg`, fs.readFileSync(path.join(folder, "chart.svg")), downloads.get("chart"));
}
talvik.call({ command: "reset" });
talvik.call({ command: "read", name: "only.txt", csv: null }, Buffer.from("5\n4\n"));
const alone = talvik.call({ command: "run", compare: true, seeds: "1" }).json;
same("compare with one file refused", "true", String(alone.error !== undefined && alone.error.includes("two files")));

console.log(`${fileCount} files, ${analyses} analyses, ${compared} comparisons, ${comparisons} files compared: ${failures === 0 ? "all the same bytes" : `${failures} differ`}`);
process.exit(failures === 0 ? 0 : 1);
