// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The calls the page makes on the core module, and the Web Worker around them.
// Both functions are sent to the worker as their own source text (a Blob URL),
// because a page opened as a file may not start a worker from a file.

/* exported zevraHandlers, zevraWorkerMain */

// The operations on one module instance z; progress(done, total) reports
// the batch steps. Used in the worker and, where no worker can start, in the page.
function zevraHandlers(z, progress) {
  function parsed(v) {
    if (typeof v !== 'string') return v;
    const t = v.trim();
    if (t.startsWith('{') || t.startsWith('[')) {
      try { return JSON.parse(t); } catch (e) { return v; }
    }
    return v;
  }
  function mkdirs(path) {
    let at = '';
    for (const part of path.split('/').filter(Boolean)) {
      at += '/' + part;
      try { z.FS.mkdir(at); } catch (e) { /* exists */ }
    }
  }
  const withProgress = { batchLoad: 1, batchRun: 0, batchWrite: 2 };
  const ROW_LIMIT = 200;
  return {
    call(method, args) {
      if (typeof z[method] !== 'function') throw new Error('Modul nezná volání ' + method);
      const a = (args || []).map(x => (x !== null && typeof x === 'object') ? JSON.stringify(x) : x);
      if (method in withProgress) a[withProgress[method]] = progress;
      const result = parsed(z[method](...a));
      // the page shows at most this many rows; sending all of 100,000 would
      // only cost the page the time to take them over
      if (result && Array.isArray(result.radky) && result.radky.length > ROW_LIMIT) {
        result.radkyCelkem = result.radky.length;
        result.radky = result.radky.slice(0, ROW_LIMIT);
      }
      return result;
    },
    writeFile(path, bytes) {
      mkdirs(path.substring(0, path.lastIndexOf('/')));
      z.FS.writeFile(path, new Uint8Array(bytes));
      return true;
    },
    readFile(path) {
      // a file the core wrote may carry no read bits in the module's file system
      try { z.FS.chmod(path, 0o644); } catch (e) { /* reading names the fault */ }
      return z.FS.readFile(path);
    },
    // A written file as a Blob, made here so that a result of hundreds of
    // megabytes is neither copied nor taken over on the page's thread.
    readBlob(path, type) {
      try { z.FS.chmod(path, 0o644); } catch (e) { /* reading names the fault */ }
      const node = z.FS.lookupPath(path).node;
      const data = node.contents instanceof Uint8Array ? node.contents.subarray(0, node.usedBytes) : z.FS.readFile(path);
      const blob = new Blob([data], { type: type || 'application/octet-stream' });
      z.FS.unlink(path);
      return blob;
    },
    remove(path) { try { z.FS.unlink(path); } catch (e) { /* not there */ } return true; },
    clearFolder(path) {
      mkdirs(path);
      for (const n of z.FS.readdir(path)) if (n !== '.' && n !== '..') z.FS.unlink(path + '/' + n);
      return true;
    },
  };
}

// The worker's message loop: {id, op, args} in; {id, result} or {id, error}
// out, and {id, progress: [done, total]} now and then during a batch step.
function zevraWorkerMain(scope) {
  let handlers = null;
  let current = 0;
  let lastProgress = 0;
  const ready = createZevraModule().then(z => {
    handlers = zevraHandlers(z, (done, total) => {
      const now = Date.now();
      if (now - lastProgress < 50 && done < total) return;
      lastProgress = now;
      scope.postMessage({ id: current, progress: [Number(done), Number(total)] });
    });
    scope.postMessage({ id: 0, ready: true });
  }, err => scope.postMessage({ id: 0, error: 'Modul se nepodařilo spustit: ' + err }));
  scope.onmessage = async e => {
    const { id, op, args } = e.data;
    try {
      await ready;
      current = id;
      const result = handlers[op](...args);
      const transfer = result instanceof Uint8Array ? [result.buffer] : [];
      scope.postMessage({ id, result }, transfer);
    } catch (err) {
      scope.postMessage({ id, error: String(err && err.message ? err.message : err) });
    }
  };
}
