// Runs a WebAssembly test program under Node.js's WASI, with its arguments;
// its exit status is the program's.
//
//   node --no-warnings web/wasi_test_run.mjs PROGRAM.wasm [ARGUMENT...]
import fs from "node:fs";
import { WASI } from "node:wasi";

const [program, ...args] = process.argv.slice(2);
const wasi = new WASI({ version: "preview1", args: [program, ...args], env: {}, returnOnExit: true });
const module = await WebAssembly.compile(fs.readFileSync(program));
const instance = await WebAssembly.instantiate(module, wasi.getImportObject());
process.exitCode = wasi.start(instance);
