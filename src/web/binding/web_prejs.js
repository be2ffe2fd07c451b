// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Runs inside the module before it starts (emscripten --pre-js).
//
// The in-memory file system grows a file by an eighth at a time beyond
// 1 MiB, so a batch output of tens of MB written piece by piece is copied
// dozens of times; doubling copies it about twice.
Module['preRun'] = [].concat(Module['preRun'] || [], function () {
  MEMFS.expandFileStorage = function (node, newCapacity) {
    var previous = node.contents ? node.contents.length : 0;
    if (previous >= newCapacity) return;
    newCapacity = Math.max(newCapacity, previous * 2, 256);
    var old = node.contents;
    node.contents = new Uint8Array(newCapacity);
    if (node.usedBytes > 0) node.contents.set(old.subarray(0, node.usedBytes), 0);
  };
});
