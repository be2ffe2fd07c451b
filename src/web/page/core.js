// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the core module in a Web Worker (so that a long batch never freezes
// the page) and offers its calls as promises. The worker is built from the
// source text of the module and of worker.js, so it starts from file:// too;
// where a worker cannot start, the module runs in the page itself.

/* global createZevraModule, zevraHandlers, zevraWorkerMain */
/* exported ZevraCore */

class ZevraCore {
  constructor() {
    this.worker = null;
    this.local = null;
    this.next = 1;
    this.pending = new Map();
  }

  static async start() {
    const core = new ZevraCore();
    if (typeof createZevraModule !== 'function') {
      throw new Error('Soubor zevra-core.js chybí vedle stránky nebo se nenačetl.');
    }
    try {
      await core.startWorker();
    } catch (e) {
      core.worker = null;
      const z = await createZevraModule();
      core.local = zevraHandlers(z, (done, total) => core.onLocalProgress(done, total));
    }
    return core;
  }

  startWorker() {
    // The module's factory keeps its own scope; its script-directory variable
    // does not matter, since the module carries its code inside.
    const source = 'var _scriptDir = undefined;\n' +
      'var createZevraModule = (' + createZevraModule.toString() + ');\n' +
      zevraHandlers.toString() + '\n(' + zevraWorkerMain.toString() + ')(self);\n';
    const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
    return new Promise((resolve, reject) => {
      const w = new Worker(url);
      const timer = setTimeout(() => reject(new Error('worker timeout')), 20000);
      w.onerror = ev => { clearTimeout(timer); ev.preventDefault(); reject(new Error(ev.message || 'worker')); };
      w.onmessage = ev => {
        const m = ev.data;
        if (m.id === 0) {
          clearTimeout(timer);
          if (m.ready) { this.worker = w; w.onmessage = e2 => this.onMessage(e2.data); resolve(); }
          else reject(new Error(m.error));
        }
      };
    });
  }

  onMessage(m) {
    const p = this.pending.get(m.id);
    if (!p) return;
    if (m.progress) { if (p.progress) p.progress(m.progress[0], m.progress[1]); return; }
    this.pending.delete(m.id);
    if ('error' in m) p.reject(new Error(m.error)); else p.resolve(m.result);
  }

  onLocalProgress(done, total) {
    if (this.localProgress) this.localProgress(done, total);
  }

  run(op, args, progress, transfer) {
    if (this.local) {
      this.localProgress = progress;
      try { return Promise.resolve(this.local[op](...args)); }
      catch (e) { return Promise.reject(e); }
    }
    const id = this.next++;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, progress });
      this.worker.postMessage({ id, op, args }, transfer || []);
    });
  }

  call(method, ...args) { return this.run('call', [method, args]); }
  callWithProgress(method, args, progress) { return this.run('call', [method, args], progress); }
  writeFile(path, bytes) {
    const copy = new Uint8Array(bytes).slice();
    return this.run('writeFile', [path, copy], null, [copy.buffer]);
  }
  readFile(path) { return this.run('readFile', [path]); }
  readBlob(path, type) { return this.run('readBlob', [path, type]); }
  remove(path) { return this.run('remove', [path]); }
  clearFolder(path) { return this.run('clearFolder', [path]); }
  get inWorker() { return this.worker !== null; }
}
