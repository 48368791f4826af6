// Loads the TALVIK analysis compiled to WebAssembly (a WASI reactor module) and
// passes requests to it. No DOM: the same file runs in a Web Worker and under node.

const ERRNO_SUCCESS = 0;
const ERRNO_BADF = 8;
const ERRNO_NOSYS = 52;

// Thrown by proc_exit: the module asked to end, which a reactor never should.
export class WasiExit extends Error {
  constructor(code) {
    super(`the analysis module exited with status ${code}`);
    this.name = "WasiExit";
    this.code = code;
  }
}

// The few WASI calls the module may make; every other import answers ERRNO_NOSYS.
function wasiCalls(state) {
  const view = () => new DataView(state.memory.buffer);
  const zeroCounts = (countPtr, sizePtr) => {
    view().setUint32(countPtr, 0, true);
    view().setUint32(sizePtr, 0, true);
    return ERRNO_SUCCESS;
  };
  return {
    fd_write(fd, iovs, iovsLength, writtenPtr) {
      if (fd !== 1 && fd !== 2) return ERRNO_BADF;
      const memory = new Uint8Array(state.memory.buffer);
      const data = view();
      let written = 0;
      for (let i = 0; i < iovsLength; i += 1) {
        const base = data.getUint32(iovs + 8 * i, true);
        const length = data.getUint32(iovs + 8 * i + 4, true);
        state.output += state.decoder.decode(memory.subarray(base, base + length), { stream: true });
        written += length;
      }
      data.setUint32(writtenPtr, written, true);
      return ERRNO_SUCCESS;
    },
    proc_exit(code) {
      throw new WasiExit(code);
    },
    environ_sizes_get: zeroCounts,
    args_sizes_get: zeroCounts,
    environ_get: () => ERRNO_SUCCESS,
    args_get: () => ERRNO_SUCCESS,
  };
}

function wasiImports(module, state) {
  const calls = wasiCalls(state);
  const imports = {};
  for (const { module: from, name, kind } of WebAssembly.Module.imports(module)) {
    if (kind !== "function") {
      throw new Error(`the analysis module wants ${kind} ${from}.${name}, which this page does not give`);
    }
    imports[from] ??= {};
    imports[from][name] = from === "wasi_snapshot_preview1" && calls[name] ? calls[name] : () => ERRNO_NOSYS;
  }
  return imports;
}

export class Talvik {
  constructor(instance, state) {
    this.exports = instance.exports;
    this.state = state;
    this.encoder = new TextEncoder();
    this.decoder = new TextDecoder();
  }

  // Sends one request; answers { json, attachments } where attachments is a copy
  // of the response's bytes after its JSON text.
  call(request, payload = new Uint8Array(0)) {
    const json = this.encoder.encode(JSON.stringify(request));
    const e = this.exports;
    const at = e.talvik_request(json.length + payload.length) >>> 0;
    const memory = new Uint8Array(e.memory.buffer);
    memory.set(json, at);
    memory.set(payload, at + json.length);
    const total = e.talvik_handle(json.length) >>> 0;
    const start = e.talvik_response() >>> 0;
    const jsonLength = e.talvik_response_json() >>> 0;
    const response = new Uint8Array(e.memory.buffer).slice(start, start + total);
    return {
      json: JSON.parse(this.decoder.decode(response.subarray(0, jsonLength))),
      attachments: response.subarray(jsonLength),
    };
  }

  // The bytes of one attachment member ({offset, length}) of a response.
  static attachment(response, member) {
    return response.attachments.slice(member.offset, member.offset + member.length);
  }

  // What the module wrote to standard output and error since the last call.
  takeOutput() {
    const text = this.state.output + this.state.decoder.decode();
    this.state.output = "";
    return text;
  }
}

// Compiles (from bytes) or takes a compiled module, instantiates it and calls
// _initialize once.
export async function loadTalvik(wasm) {
  const module = wasm instanceof WebAssembly.Module ? wasm : await WebAssembly.compile(wasm);
  const state = { memory: null, output: "", decoder: new TextDecoder() };
  const instance = await WebAssembly.instantiate(module, wasiImports(module, state));
  state.memory = instance.exports.memory;
  instance.exports._initialize();
  return new Talvik(instance, state);
}
