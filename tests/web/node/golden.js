#!/usr/bin/env node
// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// The WebAssembly module under node: every golden case of tests/data goes
// through the module's calls (src/web/API.md) as the page makes them, and
// must give the expected bytes of the native build; the shipped examples
// must give the bytes of the native zevra-cli (evaluate as JSON and RTF,
// batch as HTML and JSON). The workbook's topic is left out: the module has
// no workbook writer. Needs node only (no npm packages).
//
//   node tests/web/node/golden.js --module build-web/core/zevra-core.js
//        [--golden tests/data] [--examples examples] [--data src/data] [--cli build/bin/zevra-cli]
'use strict';

const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const os = require('os');

const root = path.resolve(__dirname, '..', '..', '..');
const args = { golden: path.join(root, 'tests', 'data'), examples: path.join(root, 'examples'),
               data: path.join(root, 'src', 'data'), module: path.join(root, 'build-web', 'core', 'zevra-core.js'),
               cli: '' };
for (let i = 2; i < process.argv.length; i += 2) {
  const key = process.argv[i].replace(/^--/, '');
  if (!(key in args) || i + 1 >= process.argv.length) {
    console.error(`golden.js: unknown or incomplete option ${process.argv[i]}`);
    process.exit(2);
  }
  args[key] = path.resolve(process.argv[i + 1]);
}

let failures = 0;
let passes = 0;
function check(name, actual, expected) {
  const a = Buffer.from(actual);
  const e = Buffer.from(expected);
  if (a.equals(e)) {
    passes++;
    console.log(`ok   ${name}`);
    return;
  }
  failures++;
  let at = 0;
  while (at < a.length && at < e.length && a[at] === e[at]) at++;
  console.log(`FAIL ${name}: ${a.length} bytes, expected ${e.length}; first difference at byte ${at}`);
  console.log(`     got:      ${JSON.stringify(a.subarray(Math.max(0, at - 40), at + 40).toString('latin1'))}`);
  console.log(`     expected: ${JSON.stringify(e.subarray(Math.max(0, at - 40), at + 40).toString('latin1'))}`);
}

// The module's file system: a native file under the same absolute path, so
// that a message naming the file names it alike.
function put(z, file) {
  z.FS.mkdirTree(path.dirname(file));
  z.FS.writeFile(file, fs.readFileSync(file));
  return file;
}
const parse = text => JSON.parse(text);
const kReferenceFiles = ['DecilDists.txt', 'MuniInfo.txt', 'Regions.txt', 'SampMuni.txt', 'OWeights.txt'];

// What each golden topic makes of a case's input, as the page would:
// the thrown text is compared with expected-error.txt.
class Refused extends Error {}
function ok(answer) {
  if (answer.ok === false) throw new Refused(answer.zprava);
  return answer;
}
function typedInput(z, file) {
  return JSON.stringify(ok(parse(z.readInputFile(put(z, file)))).vstup);
}
function scratch(z, name) {
  z.FS.mkdirTree('/tmp/out');
  return `/tmp/out/${name}`;
}
const topics = {
  'input-roundtrip': { input: 'input.txt', expected: 'expected.txt', make(z, file) {
    const out = scratch(z, 'saved.txt');
    ok(parse(z.writeInputFile(typedInput(z, file), out)));
    return z.FS.readFile(out);
  } },
  'report-markup': { input: 'input.txt', expected: 'expected.txt', make(z, file) {
    return ok(parse(z.evaluate(typedInput(z, file)))).sestava.markup.map(e => e + '\n').join('');
  } },
  'report-rtf': { input: 'input.txt', expected: 'expected.rtf', make(z, file) {
    const out = scratch(z, 'report.rtf');
    ok(parse(z.writeReportRtf(typedInput(z, file), out)));
    return z.FS.readFile(out);
  } },
  'report-text': { input: 'input.txt', expected: 'expected.txt', make(z, file) {
    return ok(parse(z.evaluate(typedInput(z, file)))).sestava.text;
  } },
  'batch-html': { input: 'input.csv', expected: 'expected.html', make(z, file) {
    const loaded = ok(parse(z.batchLoad(put(z, file))));
    if (loaded.problemy.length) throw new Refused(loaded.problemy.join('\n'));
    if (!loaded.platne) throw new Refused(loaded.souhrn);
    ok(parse(z.batchRun()));
    const out = scratch(z, 'batch.html');
    ok(parse(z.batchWrite('html', out)));
    return z.FS.readFile(out);
  } },
  'batch-json': { input: 'input.csv', expected: 'expected.json', make(z, file) {
    const loaded = ok(parse(z.batchLoad(put(z, file))));
    if (loaded.problemy.length) throw new Refused(loaded.problemy.join('\n'));
    if (!loaded.platne) throw new Refused(loaded.souhrn);
    ok(parse(z.batchRun()));
    const out = scratch(z, 'batch.json');
    ok(parse(z.batchWrite('json', out)));
    // The data folder differs from machine to machine: "{data}" stands for it.
    return Buffer.from(z.FS.readFile(out)).toString('utf8')
      .replace('"slozka":"/data"', '"slozka":"{data}"');
  } },
  'batch-problems': { input: 'input.csv', expected: 'expected.txt', make(z, file) {
    const loaded = ok(parse(z.batchLoad(put(z, file))));
    let text = 'Načtení:\n' + loaded.problemy.map(p => p + '\n').join('');
    text += `Kontrola: ${loaded.souhrn}\n`;
    const name = loaded.sloupce.findIndex(c => c.klic === 'OBEC');
    for (const row of loaded.radky) {
      text += `${row.stav === 'chyba' ? -1 : 1} ${row.hodnoty[name]}:\n`;
      text += row.zpravy.map(line => `  ${line}\n`).join('');
    }
    return text;
  } },
};

// Topics the module has no call for: the workbook (no workbook writer in
// the module). Any other topic must be run here.
const kNativeOnly = ['batch-xlsx'];

function goldenCases(z) {
  for (const topic of fs.readdirSync(args.golden).sort()) {
    if (topic in topics || kNativeOnly.includes(topic)) continue;
    failures++;
    console.log(`FAIL ${topic}: a golden topic that golden.js does not run through the module`);
  }
  for (const [topic, t] of Object.entries(topics)) {
    const folder = path.join(args.golden, topic);
    if (!fs.existsSync(folder)) continue;
    for (const name of fs.readdirSync(folder).sort()) {
      const dir = path.join(folder, name);
      if (!fs.statSync(dir).isDirectory()) continue;
      const input = path.join(dir, t.input);
      let actual;
      let expected = path.join(dir, t.expected);
      try {
        actual = t.make(z, input);
      } catch (e) {
        if (!(e instanceof Refused)) throw e;
        actual = e.message + '\n';
        expected = path.join(dir, 'expected-error.txt');
      }
      if (!fs.existsSync(expected)) {
        failures++;
        console.log(`FAIL ${topic}/${name}: no ${path.basename(expected)}; got ${JSON.stringify(String(actual).slice(0, 200))}`);
        continue;
      }
      check(`${topic}/${name}`, actual, fs.readFileSync(expected));
    }
  }
}

// The examples against the native zevra-cli, both on the same reference
// data folder (its path is in the JSON documents).
function examplesAgainstCli(z) {
  ok(parse(z.useReferenceData(args.data)));
  const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'zevra-web-'));
  const cli = (...cliArgs) => execFileSync(args.cli, ['--data', args.data, ...cliArgs], { stdio: ['ignore', 'pipe', 'ignore'] });
  try {
    for (const name of fs.readdirSync(args.examples).sort()) {
      const file = path.join(args.examples, name);
      if (name.endsWith('.txt')) {
        const input = typedInput(z, file);
        check(`examples/${name} evaluate json`, z.evaluateJson(input), cli('evaluate', file, '--format', 'json'));
        const rtf = scratch(z, 'report.rtf');
        ok(parse(z.writeReportRtf(input, rtf)));
        check(`examples/${name} evaluate rtf`, z.FS.readFile(rtf), cli('evaluate', file, '--format', 'rtf'));
      } else if (name.endsWith('.csv')) {
        const loaded = ok(parse(z.batchLoad(put(z, file))));
        if (loaded.problemy.length || !loaded.platne) continue;  // the check is the golden cases'
        ok(parse(z.batchRun()));
        for (const format of ['html', 'json']) {
          const out = scratch(z, `batch.${format}`);
          ok(parse(z.batchWrite(format, out)));
          const native = path.join(tmp, `batch.${format}`);
          try { cli('batch', file, native); } catch (e) { /* warnings give status 0, errors are skipped above */ }
          check(`examples/${name} batch ${format}`, z.FS.readFile(out), fs.readFileSync(native));
        }
      }
    }
  } finally {
    fs.rmSync(tmp, { recursive: true, force: true });
  }
  ok(parse(z.useReferenceData('/data')));
}

(async () => {
  const createZevraModule = require(args.module);
  const z = await createZevraModule();
  // The module's own data are the shipped ones.
  for (const name of kReferenceFiles)
    check(`embedded /data/${name}`, z.FS.readFile(`/data/${name}`), fs.readFileSync(path.join(args.data, name)));
  goldenCases(z);
  if (args.cli) {
    // The golden cases compare with the native build's expected bytes; the
    // same data in a folder of the native path make the JSON's folder alike.
    for (const name of kReferenceFiles) put(z, path.join(args.data, name));
    examplesAgainstCli(z);
  } else {
    console.log('skip examples against zevra-cli (no --cli)');
  }
  console.log(`${passes} passed, ${failures} failed`);
  process.exit(failures ? 1 : 0);
})().catch(e => {
  console.error(`golden.js: ${e && e.stack || e}`);
  process.exit(2);
});
