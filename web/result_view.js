// The TALVIK page's results: each analysis or comparison, the run's tables and
// chart, and their downloads, all shown as text. assemble_site.py puts this
// script before page.js, which calls it.

"use strict";

const resultsArea = document.getElementById("results");

function el(tag, className, text) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  if (text !== undefined) node.textContent = text;
  return node;
}

let blobUrls = [];

function blobUrl(bytes, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  blobUrls.push(url);
  return url;
}

function clearResults() {
  for (const url of blobUrls) URL.revokeObjectURL(url);
  blobUrls = [];
  resultsArea.replaceChildren();
}

const downloadTitles = {
  results: "Results file",
  plotting: "Plotting file",
  graph: "Graph (SVG)",
  csv: "Table (CSV)",
  json: "Table (JSON)",
  chart: "Chart (SVG)",
  "summary-csv": "Seed summary (CSV)",
  "summary-json": "Seed summary (JSON)",
};

const downloadTypes = {
  graph: "image/svg+xml",
  chart: "image/svg+xml",
  json: "application/json",
  csv: "text/csv",
  "summary-csv": "text/csv",
  "summary-json": "application/json",
};

function downloadList(downloads) {
  const list = el("ul", "downloads");
  for (const item of downloads) {
    const link = el("a", "", `${downloadTitles[item.kind] ?? item.kind}: ${item.name}`);
    link.href = blobUrl(item.bytes, downloadTypes[item.kind] ?? "text/plain");
    link.download = item.name;
    link.dataset.kind = item.kind;
    const entry = el("li");
    entry.append(link);
    list.append(entry);
  }
  list.hidden = downloads.length === 0;
  return list;
}

function picture(item, className, alt) {
  const figure = el("figure", className);
  const image = el("img", className);
  image.src = blobUrl(item.bytes, "image/svg+xml");
  image.alt = alt;
  figure.append(image);
  return figure;
}

// A table of ranges: the leading cells ([heading, class, value]) span every
// level's row, then each level's bounds and width.
function rangesTable(caption, leading, ranges, title) {
  const table = el("table", "ranges");
  table.append(el("caption", "", caption));
  const head = el("tr");
  for (const name of [...leading.map(([heading]) => heading), "Level", "Lower bound", "Upper bound", "Width"]) {
    const cell = el("th", "", name);
    cell.scope = "col";
    head.append(cell);
  }
  table.append(el("thead"));
  table.tHead.append(head);
  const body = table.appendChild(el("tbody"));
  ranges.forEach((range, index) => {
    const row = el("tr");
    row.dataset.level = String(range.level);
    if (index === 0) {
      for (const [, className, value] of leading) {
        const cell = el("td", className, String(value));
        cell.rowSpan = ranges.length;
        row.append(cell);
      }
    }
    const level = el("th", "level", `${range.level} %`);
    level.scope = "row";
    row.append(level);
    for (const key of ["lower", "upper", "width"]) row.append(el("td", key, range[key] ?? "–"));
    body.append(row);
  });
  const scroller = el("div", "table-scroll");
  scroller.tabIndex = 0;
  scroller.setAttribute("role", "region");
  scroller.setAttribute("aria-label", `Table: ${title}`);
  scroller.append(table);
  return scroller;
}

function analysisTable(analysis, title) {
  return rangesTable(`A and its error ranges: ${title}`, [
    ["Settlements", "settlements", analysis.settlements],
    ["A", "a", analysis.A],
  ], analysis.ranges, title);
}

function differenceTable(comparison, title) {
  return rangesTable(`The difference in A and its error ranges: ${title}`, [
    ["Settlements", "settlements", comparison.settlements],
    ["Reference settlements", "reference-settlements", comparison.referenceSettlements],
    ["Difference in A", "difference", comparison.difference],
  ], comparison.ranges, title);
}

function showDifference(comparison) {
  const title = `${comparison.file} against ${comparison.reference}, seed ${comparison.seed}`;
  const section = el("section", "difference");
  section.dataset.comparisonIndex = String(comparison.index);
  section.dataset.file = comparison.file;
  section.dataset.fileIndex = String(comparison.fileIndex);
  section.dataset.reference = comparison.reference;
  section.dataset.seed = comparison.seed;
  section.dataset.failed = String(comparison.failed);
  section.append(el("h3", "", title));
  if (comparison.error) section.append(el("p", "error", comparison.error));
  if (comparison.ranges?.length) section.append(differenceTable(comparison, title));
  if (comparison.sentence) section.append(el("p", "sentence", comparison.sentence));
  resultsArea.append(section);
}

function showAnalysis(analysis) {
  const title = `${analysis.file}, seed ${analysis.seed}`;
  const section = el("section", "analysis");
  section.dataset.analysisIndex = String(analysis.index);
  section.dataset.file = analysis.file;
  section.dataset.fileIndex = String(analysis.fileIndex);
  section.dataset.seed = analysis.seed;
  section.dataset.failed = String(analysis.failed);
  section.append(el("h3", "", title));
  if (analysis.error) section.append(el("p", "error", analysis.error));
  if (analysis.ranges?.length) section.append(analysisTable(analysis, title));
  if (analysis.sentence) section.append(el("p", "sentence", analysis.sentence));
  if (analysis.note) section.append(el("p", "note", analysis.note));
  const graph = analysis.downloads.find((item) => item.kind === "graph");
  if (graph) section.append(picture(graph, "graph", `Rank-size graph of ${title}`));
  section.append(downloadList(analysis.downloads));
  resultsArea.append(section);
}

function showComparison(result) {
  const section = el("section", "comparison");
  section.id = "comparison";
  section.dataset.compare = String(result.compare);
  const what = result.compare ? "comparison" : "analysis";
  section.append(el("h3", "", result.analyses === 1 ? `Table of the ${what}` : `All ${result.analyses} ${result.compare ? "comparisons" : "analyses"}`));
  const chart = result.downloads.find((item) => item.kind === "chart");
  const alt = result.compare
    ? "The difference in A from the reference and its error ranges of every comparison, side by side"
    : "A and its error ranges of every analysis, side by side";
  if (chart) section.append(picture(chart, "chart", alt));
  section.append(downloadList(result.downloads));
  resultsArea.append(section);
}

function showRunError(text) {
  const message = el("p", "error run-error", text);
  resultsArea.append(message);
}
